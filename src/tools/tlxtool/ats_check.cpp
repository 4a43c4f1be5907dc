#include "ats_check.h"

#include "engine/code_page.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>
#include <poppler/cpp/poppler-document.h>
#include <poppler/cpp/poppler-font.h>
#include <poppler/cpp/poppler-global.h>
#include <poppler/cpp/poppler-page.h>
#include <regex>
#include <set>

namespace trellic::tool {

namespace {

using Level = AtsFinding::Level;

std::string Utf8(const poppler::ustring& text) {
    const poppler::byte_array bytes = text.to_utf8();
    return std::string(bytes.begin(), bytes.end());
}

// Runs of blank space become one space; ends are trimmed.
std::string Squeezed(const std::string& text) {
    std::string out;
    bool space = false;
    for (unsigned char c : text) {
        if (std::isspace(c) != 0) {
            space = !out.empty();
            continue;
        }
        if (space) {
            out += ' ';
            space = false;
        }
        out += static_cast<char>(c);
    }
    return out;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    while (from <= text.size()) {
        const auto end = text.find_first_of("\n\f", from);
        const std::string line =
            Squeezed(text.substr(from, end == std::string::npos ? std::string::npos : end - from));
        if (!line.empty()) {
            lines.push_back(line);
        }
        if (end == std::string::npos) {
            break;
        }
        from = end + 1;
    }
    return lines;
}

// Headings that applicant-tracking systems file a resume's parts under.
bool IsSectionHeading(const std::string& line) {
    static const std::set<std::string> kHeadings = {"summary",
                                                    "profile",
                                                    "professional summary",
                                                    "objective",
                                                    "experience",
                                                    "work experience",
                                                    "professional experience",
                                                    "employment",
                                                    "employment history",
                                                    "career history",
                                                    "education",
                                                    "skills",
                                                    "technical skills",
                                                    "key skills",
                                                    "core skills",
                                                    "technical summary",
                                                    "projects",
                                                    "publications",
                                                    "research",
                                                    "teaching",
                                                    "awards",
                                                    "honours",
                                                    "honors",
                                                    "certifications",
                                                    "certificates",
                                                    "languages",
                                                    "interests",
                                                    "volunteering",
                                                    "volunteer work",
                                                    "references",
                                                    "achievements",
                                                    "leadership",
                                                    "board positions",
                                                    "selected achievements",
                                                    "highlights",
                                                    "grants",
                                                    "presentations",
                                                    "conferences",
                                                    "memberships",
                                                    "training",
                                                    "courses",
                                                    "portfolio",
                                                    "exhibitions",
                                                    "clients",
                                                    "tools",
                                                    "expertise",
                                                    "areas of expertise",
                                                    "career highlights"};
    std::string key = Lower(line);
    while (!key.empty() && (key.back() == ':' || key.back() == ' ')) {
        key.pop_back();
    }
    return kHeadings.count(key) > 0;
}

void Add(AtsReport& report, Level level, std::string message, int page = 0, std::string text = {}) {
    report.findings.push_back({level, std::move(message), page, std::move(text)});
}

void Quiet(const std::string&, void*) {}

// True when a line holds a row of characters that only draw a line (macrons, underscores,
// dashes, box rules): an ATS reads them as a word of garbage.
bool HasDrawingRun(const std::string& line) {
    int run = 0;
    for (std::size_t i = 0; i < line.size();) {
        const unsigned char c = static_cast<unsigned char>(line[i]);
        std::size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        const std::string glyph = line.substr(i, length);
        const bool drawing = glyph == "\xC2\xAF" || glyph == "_" || glyph == "-" || glyph == "=" ||
                             glyph == "\xE2\x80\x94" || glyph == "\xE2\x94\x80";
        run = drawing ? run + 1 : 0;
        if (run >= 8) {
            return true;
        }
        i += length;
    }
    return false;
}

} // namespace

bool AtsReport::Passed() const {
    return std::none_of(findings.begin(), findings.end(),
                        [](const AtsFinding& f) { return f.level == Level::Problem; });
}

AtsReport CheckPdfForAts(const std::string& pdf, const std::vector<std::string>& expected) {
    AtsReport report;
    poppler::set_debug_error_function(Quiet, nullptr);
    if (pdf.size() > static_cast<std::size_t>(INT32_MAX)) {
        Add(report, Level::Problem, "the file is too large to be a resume");
        return report;
    }
    std::unique_ptr<poppler::document> document(
        poppler::document::load_from_raw_data(pdf.data(), static_cast<int>(pdf.size())));
    if (!document) {
        Add(report, Level::Problem, "not a PDF that can be read");
        return report;
    }
    if (document->is_locked()) {
        Add(report, Level::Problem, "the PDF is protected by a password; no ATS can read it");
        return report;
    }
    report.pages = document->pages();

    // The text layer, page by page, in reading order.
    std::vector<std::vector<std::string>> pageLines;
    std::string all;
    std::vector<std::pair<std::size_t, int>> pageStarts; // offset in `all`, page
    int pagesWithText = 0;
    for (int index = 0; index < report.pages; ++index) {
        std::unique_ptr<poppler::page> page(document->create_page(index));
        const std::string text = page ? Utf8(page->text()) : std::string();
        pageLines.push_back(Lines(text));
        pageStarts.emplace_back(all.size(), index + 1);
        all += Squeezed(text) + ' ';
        if (pageLines.back().empty()) {
            Add(report, Level::Problem,
                "no text layer: the page is a picture (a scan?) that an ATS cannot read",
                index + 1);
            continue;
        }
        ++pagesWithText;
    }
    auto pageOf = [&pageStarts](std::size_t offset) {
        int page = 1;
        for (const auto& [start, number] : pageStarts) {
            if (start <= offset) {
                page = number;
            }
        }
        return page;
    };
    if (report.pages == 0) {
        Add(report, Level::Problem, "the PDF has no pages");
        return report;
    }
    if (pagesWithText == report.pages) {
        Add(report, Level::Passed, "a text layer on every page");
    }

    // A page's last lines printed again at the top of the next: a paragraph split badly.
    for (std::size_t page = 0; page + 1 < pageLines.size(); ++page) {
        const auto& before = pageLines[page];
        const auto& after = pageLines[page + 1];
        for (std::size_t i = before.size() > 3 ? before.size() - 3 : 0; i < before.size(); ++i) {
            for (std::size_t j = 0; j < after.size() && j < 3; ++j) {
                if (before[i].size() >= 8 && before[i] == after[j]) {
                    Add(report, Level::Problem,
                        "text extracted twice, at the foot of one page and the top of the next",
                        static_cast<int>(page + 2), before[i]);
                }
            }
        }
    }

    // Strings of characters that only draw a line read as garbage.
    for (std::size_t page = 0; page < pageLines.size(); ++page) {
        for (const std::string& line : pageLines[page]) {
            if (HasDrawingRun(line)) {
                Add(report, Level::Problem, "a line drawn with characters reads as text",
                    static_cast<int>(page + 1), std::string(Utf8Prefix(line, 40)));
                break;
            }
        }
    }

    // The resume's own texts, in order.
    if (!expected.empty()) {
        std::size_t from = 0;
        std::size_t found = 0;
        std::size_t checked = 0;
        for (const std::string& wanted : expected) {
            const std::string text = Squeezed(wanted);
            if (text.size() < 2 || HasDrawingRun(text)) {
                continue;
            }
            ++checked;
            const std::size_t at = all.find(text, from);
            if (at != std::string::npos) {
                from = at + text.size();
                ++found;
                continue;
            }
            const std::size_t anywhere = all.find(text);
            Add(report, Level::Problem,
                anywhere == std::string::npos
                    ? "a text of the resume is missing from the text layer"
                    : "a text of the resume is read out of order",
                anywhere == std::string::npos ? 0 : pageOf(anywhere), text);
        }
        if (found == checked) {
            Add(report, Level::Passed,
                "all " + std::to_string(checked) + " texts of the resume found in reading order");
        }
    }

    // Contact details.
    std::smatch match;
    static const std::regex email(
        R"([A-Za-z0-9._%+-]+@[A-Za-z0-9-]+(\.[A-Za-z0-9-]+)*\.[A-Za-z]{2,})");
    static const std::regex phone(R"((\+?\(?\d[\d ().-]{6,}\d))");
    static const std::regex link(R"((https?://|www\.)[^\s]+)", std::regex::icase);
    if (std::regex_search(all, match, email)) {
        Add(report, Level::Passed, "e-mail address found", pageOf(match.position(0)), match.str(0));
    } else {
        Add(report, Level::Problem, "no e-mail address found: an ATS files a candidate under it");
    }
    bool phoneFound = false;
    for (auto it = std::sregex_iterator(all.begin(), all.end(), phone);
         it != std::sregex_iterator(); ++it) {
        const std::string number = it->str(0);
        const auto digits = std::count_if(number.begin(), number.end(),
                                          [](unsigned char c) { return std::isdigit(c) != 0; });
        // Year ranges ("2016 - 2021") have eight digits too, but no more than one separator
        // between their two halves.
        static const std::regex years(R"(^(19|20)\d\d\s*[-–]\s*(19|20)\d\d$)");
        if (digits >= 7 && digits <= 15 && !std::regex_match(number, years)) {
            Add(report, Level::Passed, "telephone number found",
                pageOf(static_cast<std::size_t>(it->position(0))), number);
            phoneFound = true;
            break;
        }
    }
    if (!phoneFound) {
        Add(report, Level::Note, "no telephone number found");
    }
    int links = 0;
    for (auto it = std::sregex_iterator(all.begin(), all.end(), link); it != std::sregex_iterator();
         ++it) {
        Add(report, Level::Passed, "link found", pageOf(static_cast<std::size_t>(it->position(0))),
            it->str(0));
        ++links;
    }
    if (links == 0) {
        Add(report, Level::Note, "no web address found");
    }

    // Section headings.
    int headings = 0;
    for (std::size_t page = 0; page < pageLines.size(); ++page) {
        for (const std::string& line : pageLines[page]) {
            if (IsSectionHeading(line)) {
                Add(report, Level::Passed, "section heading found", static_cast<int>(page + 1),
                    line);
                ++headings;
            }
        }
    }
    if (headings == 0) {
        Add(report, Level::Note,
            "no usual section heading (Experience, Education, Skills...) found");
    }

    // Dates.
    static const std::regex date(
        R"(\b((Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Sept|Oct|Nov|Dec)[a-z]*\.? )?(19|20)\d\d\b|\b\d{1,2}/(19|20)\d\d\b)");
    int dates = 0;
    std::string firstDate;
    for (auto it = std::sregex_iterator(all.begin(), all.end(), date); it != std::sregex_iterator();
         ++it) {
        if (dates++ == 0) {
            firstDate = it->str(0);
        }
    }
    if (dates > 0) {
        Add(report, Level::Passed, std::to_string(dates) + " dates recognised", 0, firstDate);
    } else {
        Add(report, Level::Note, "no dates recognised (give years, e.g. 2021 - 2024)");
    }

    // Fonts.
    bool fontsEmbedded = true;
    for (const poppler::font_info& font : document->fonts()) {
        if (!font.is_embedded()) {
            Add(report, Level::Problem,
                "font not embedded: the resume may look different elsewhere", 0, font.name());
            fontsEmbedded = false;
        } else if (font.type() == poppler::font_info::type3) {
            Add(report, Level::Note, "a Type 3 font: some systems cannot extract its text", 0,
                font.name());
        }
    }
    if (fontsEmbedded) {
        Add(report, Level::Passed, "every font embedded");
    }

    Add(report, report.pages <= 2 ? Level::Passed : Level::Note,
        std::to_string(report.pages) + (report.pages == 1 ? " page" : " pages"));
    return report;
}

std::string FormatAtsReport(const AtsReport& report) {
    std::string out;
    for (const AtsFinding& finding : report.findings) {
        out += finding.level == Level::Passed ? "ok: "
               : finding.level == Level::Note ? "note: "
                                              : "problem: ";
        if (finding.page > 0) {
            out += "page " + std::to_string(finding.page) + ": ";
        }
        out += finding.message;
        if (!finding.text.empty()) {
            out += ": \"" + finding.text + "\"";
        }
        out += '\n';
    }
    out += report.Passed() ? "nothing keeps an ATS from reading this resume\n"
                           : "an ATS would misread this resume\n";
    return out;
}

} // namespace trellic::tool
