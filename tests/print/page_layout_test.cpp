// The page printer as readers of its PDFs meet it: what each page holds, what a text extractor
// reads back, where lines and rules land, and what the file says about itself.

#include "engine/file_io.h"
#include "formats/paper.h"
#include "print/page_layout.h"
#include "print/paper_size.h"
#include "print/resume_printer.h"
#include "richtext/rtf_reader.h"
#include "run_command.h"
#include "temp_dir.h"

#include <QImage>
#include <QRegularExpression>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <set>
#include <sys/wait.h>

namespace trellic {
namespace {

namespace fs = std::filesystem;
using testing::RunCommand;
using testing::TempDir;

size_t Count(const std::string& text, const std::string& needle) {
    size_t count = 0;
    for (size_t at = text.find(needle); at != std::string::npos;
         at = text.find(needle, at + needle.size())) {
        ++count;
    }
    return count;
}

RichCharFormat Format(int heightTwips, bool bold = false) {
    RichCharFormat format = PlainCharFormat();
    format.height = heightTwips;
    format.Set(kCfeBold, bold);
    return format;
}

void Add(RichDocument& document, const std::string& text, const RichCharFormat& format) {
    RichParagraph paragraph;
    paragraph.format = PlainParaFormat();
    paragraph.markFormat = format;
    if (!text.empty()) {
        paragraph.runs.push_back({std::u32string(text.begin(), text.end()), format});
    }
    document.paragraphs.push_back(paragraph);
}

std::string Words(int from, int to) {
    std::string text;
    for (int i = from; i < to; ++i) {
        text += (text.empty() ? "" : " ") + std::string("w") + std::to_string(i) + "x";
    }
    return text;
}

const QSizeF kArea(528, 864); // 5.5 by 9 inches: Letter inside the view's margins

// Which page holds a line that contains `needle`; -1 when none does, -2 when two do.
int PageOf(const PrintLayout& layout, const QString& needle) {
    int found = -1;
    for (int page = 0; page < layout.PageCount(); ++page) {
        for (const QString& line : layout.PageLines(page)) {
            if (line.contains(needle)) {
                if (found >= 0) {
                    return -2;
                }
                found = page;
            }
        }
    }
    return found;
}

TEST(PageLayout, AParagraphAcrossAPageBreakHasEachLineOnOnePageAndNoLoneLines) {
    RichDocument document;
    document.paragraphs.clear();
    // Filler lines leave room for part of the long paragraph on the first page.
    for (int i = 0; i < 40; ++i) {
        Add(document, "filler " + std::to_string(i), Format(240));
    }
    Add(document, Words(0, 400), Format(240));
    const PrintLayout layout(document, kArea);
    ASSERT_GE(layout.PageCount(), 2);
    for (int i = 0; i < 400; ++i) {
        const QString word = QStringLiteral("w%1x").arg(i);
        EXPECT_GE(PageOf(layout, word), 0) << i << " missing or on two pages";
    }
    // Neither the paragraph's first lines at the foot of a page nor its last at the top
    // stand alone.
    for (int page = 0; page < layout.PageCount(); ++page) {
        int lines = 0;
        for (const QString& line : layout.PageLines(page)) {
            lines += line.contains(QStringLiteral("x "));
        }
        EXPECT_TRUE(lines == 0 || lines >= 2) << "page " << page << " has " << lines;
    }
}

TEST(PageLayout, ARunOfOneLineParagraphsLeavesNoLoneLineAtAPageBreak) {
    // Data lines are paragraphs of one line each; wherever the break falls among them, at
    // least two stand on each side of it.
    for (int fillers = 40; fillers < 56; ++fillers) {
        RichDocument document;
        document.paragraphs.clear();
        for (int i = 0; i < fillers; ++i) {
            Add(document, i % 3 == 2 ? "" : "filler " + std::to_string(i), Format(240));
        }
        Add(document, "", Format(240));
        for (int i = 0; i < 5; ++i) {
            Add(document, "data line " + std::to_string(i), Format(240));
        }
        const PrintLayout layout(document, kArea);
        SCOPED_TRACE(fillers);
        for (int page = 0; page < layout.PageCount(); ++page) {
            int lines = 0;
            for (const QString& line : layout.PageLines(page)) {
                lines += line.startsWith(QStringLiteral("data line"));
            }
            EXPECT_NE(lines, 1) << "page " << page;
        }
    }
}

TEST(PageLayout, AHeadingAndItsRuleGoOverTheBreakWithWhatFollows) {
    // Find how many filler lines put a heading exactly at the foot of the first page.
    for (int fillers = 40; fillers < 60; ++fillers) {
        RichDocument document;
        document.paragraphs.clear();
        for (int i = 0; i < fillers; ++i) {
            Add(document, "filler " + std::to_string(i), Format(240));
        }
        Add(document, "Experience", Format(280, true));
        Add(document, std::string(44, '\0'), Format(320, true));
        document.paragraphs.back().runs[0].text = std::u32string(44, U'\u00AF');
        Add(document, "", Format(240));
        Add(document, "Senior Engineer at a company", Format(240));
        Add(document, "Designed things", Format(240));
        const PrintLayout layout(document, kArea);
        SCOPED_TRACE(fillers);
        const int heading = PageOf(layout, QStringLiteral("Experience"));
        const int body = PageOf(layout, QStringLiteral("Senior Engineer"));
        ASSERT_GE(heading, 0);
        EXPECT_EQ(heading, body);
        EXPECT_EQ(PageOf(layout, QStringLiteral("<rule>")), heading);
        // A page never starts with the empty lines carried over the break.
        for (int page = 1; page < layout.PageCount(); ++page) {
            EXPECT_FALSE(layout.PageLines(page).front().trimmed().isEmpty());
        }
    }
}

TEST(PageLayout, EveryLineOfALongResumeIsOnItsPages) {
    // A resume of several pages as the renderers write one: headings over rules, addresses
    // that become links, tabbed lines that hang. Preparing it changes many paragraphs; none
    // may come out of that without its lines.
    RichDocument document;
    document.paragraphs.clear();
    const std::string rule(44, '\0');
    auto addRule = [&] {
        Add(document, rule, Format(320, true));
        document.paragraphs.back().runs[0].text = std::u32string(44, U'\u00AF');
    };
    constexpr int kCopies = 8;
    for (int copy = 0; copy < kCopies; ++copy) {
        const std::string n = std::to_string(copy);
        Add(document, "Name " + n, Format(440, true));
        addRule();
        Add(document, "Phone: +1 555 0100 " + n, Format(220));
        Add(document, "E-mail: name" + n + "@example.org", Format(220));
        Add(document, "", Format(220));
        Add(document, "Profile " + n, Format(280, true));
        addRule();
        Add(document, "In short " + n, Format(220, true));
        Add(document, "\tTwo or three sentences on who you are and what you do best " + n,
            Format(220));
        Add(document, "Experience " + n, Format(280, true));
        addRule();
        for (int job = 0; job < 3; ++job) {
            const std::string at = n + "." + std::to_string(job);
            Add(document, "Job Title " + at + "\t2020", Format(220, true));
            // A stop past the page's edge, as a wider page left it: fitted to this one.
            document.paragraphs.back().format.tabCount = 1;
            document.paragraphs.back().format.tabs[0] = 20000;
            Add(document, "\t- Led the team that built it " + at, Format(220));
            Add(document, "\t- Improved it by half " + at, Format(220));
            Add(document, "", Format(220));
        }
    }
    const PrintLayout layout(document, kArea);
    ASSERT_GT(layout.PageCount(), 2);
    for (int copy = 0; copy < kCopies; ++copy) {
        const QString n = QString::number(copy);
        SCOPED_TRACE(copy);
        for (const QString& line :
             {QStringLiteral("Name ") + n, QStringLiteral("Phone: +1 555 0100 ") + n,
              QStringLiteral("name") + n + QStringLiteral("@example.org"),
              QStringLiteral("Profile ") + n, QStringLiteral("In short ") + n,
              QStringLiteral("you do best ") + n, QStringLiteral("Experience ") + n,
              QStringLiteral("Job Title ") + n + QStringLiteral(".2"),
              QStringLiteral("Improved it by half ") + n + QStringLiteral(".2")}) {
            EXPECT_GE(PageOf(layout, line), 0) << line.toStdString();
        }
    }
}

TEST(PageLayout, RulesAreRowsOfMacronsAndAddressesAreLinks) {
    EXPECT_TRUE(IsRuleText(QString(44, QChar(0x00AF))));
    EXPECT_TRUE(IsRuleText(QStringLiteral("\t") + QString(10, QChar(0x00AF))));
    EXPECT_FALSE(IsRuleText(QString(3, QChar(0x00AF))));
    EXPECT_FALSE(IsRuleText(QString(20, QChar(0x00AF)) + QStringLiteral("x")));

    const auto links =
        FindLinks(QStringLiteral("Mail your.name@example.org, see www.example.org/cv. Or "
                                 "https://example.org/a?b=1). Not a@b or ex@mple"));
    ASSERT_EQ(links.size(), 3u);
    EXPECT_EQ(links[0].target, QStringLiteral("mailto:your.name@example.org"));
    EXPECT_EQ(links[0].start, 5);
    EXPECT_EQ(links[1].target, QStringLiteral("https://www.example.org/cv"));
    EXPECT_EQ(links[2].target, QStringLiteral("https://example.org/a?b=1"));
}

TEST(PageLayout, PaperFollowsTheLocaleThenTheSystemsPaperFile) {
    EXPECT_EQ(PaperForLocale("en_US.UTF-8", ""), QPageSize::Letter);
    EXPECT_EQ(PaperForLocale("es_MX.UTF-8", "a4"), QPageSize::Letter);
    EXPECT_EQ(PaperForLocale("fil_PH", ""), QPageSize::Letter);
    EXPECT_EQ(PaperForLocale("en_GB.UTF-8", "letter"), QPageSize::A4);
    EXPECT_EQ(PaperForLocale("de_DE@euro", ""), QPageSize::A4);
    EXPECT_EQ(PaperForLocale("C.UTF-8", "# the system's paper\nletter\n"), QPageSize::Letter);
    EXPECT_EQ(PaperForLocale("", "a4\n"), QPageSize::A4);
    EXPECT_EQ(PaperForLocale("POSIX", "tabloid"), QPageSize::A4);
    EXPECT_EQ(PaperForLocale("", ""), QPageSize::A4);
}

// tlxtool writes RTF, DOCX and ODT without Qt: its pages must be the ones the printer's page
// setup gives those files.
TEST(PageLayout, PagesWithoutQtMatchThePrintersPageSetup) {
    const RtfPage before = CurrentRtfPage();
    for (const auto& [paper, id] :
         {std::pair{Paper::A4, QPageSize::A4}, std::pair{Paper::Letter, QPageSize::Letter}}) {
        SCOPED_TRACE(static_cast<int>(id));
        UsePageSetup(PageSetup(id));
        const RtfPage printer = CurrentRtfPage();
        const RtfPage core = PageOnPaper(paper);
        EXPECT_EQ(core.width, printer.width);
        EXPECT_EQ(core.height, printer.height);
        EXPECT_EQ(core.left, printer.left);
        EXPECT_EQ(core.right, printer.right);
        EXPECT_EQ(core.top, printer.top);
        EXPECT_EQ(core.bottom, printer.bottom);
    }
    SetRtfPage(before);
}

class Pdf : public ::testing::Test {
protected:
    std::string Export(const RichDocument& document, QPageSize::PageSizeId paper,
                       const PdfProperties& properties = {}) {
        const std::string path = m_dir.File("out" + std::to_string(++m_count) + ".pdf");
        std::string error;
        EXPECT_TRUE(ExportPdf(document, path, PageSetup(paper), error, properties)) << error;
        return path;
    }
    TempDir m_dir;
    int m_count = 0;
};

TEST_F(Pdf, ExtractionReadsEveryWordOnceAndWrappedIndentedLinesStayUnderTheirText) {
    RichDocument document;
    document.paragraphs.clear();
    for (int i = 0; i < 44; ++i) {
        Add(document, "filler " + std::to_string(i), Format(220));
    }
    Add(document, "\t\t" + Words(0, 300), Format(220));
    const std::string pdf = Export(document, QPageSize::Letter);
    const std::string text = RunCommand("pdftotext '" + pdf + "' - 2>/dev/null");
    for (int i = 0; i < 300; ++i) {
        const std::string word = "w" + std::to_string(i) + "x";
        EXPECT_EQ(Count(text, word + " ") + Count(text, word + "\n"), 1u) << word;
    }
    // The first word of every line of the indented paragraph starts at the same x.
    const std::string box = RunCommand("pdftotext -bbox '" + pdf + "' - 2>/dev/null");
    static const std::regex word(R"re(<word xMin="([0-9.]+)"[^>]*>w(\d+)x</word>)re");
    std::set<long> starts;
    double previousX = 1e9;
    for (auto it = std::sregex_iterator(box.begin(), box.end(), word); it != std::sregex_iterator();
         ++it) {
        const double x = std::stod((*it)[1]);
        if (x < previousX) { // a new line
            starts.insert(std::lround(x));
        }
        previousX = x;
    }
    ASSERT_GE(starts.size(), 1u);
    EXPECT_LE(*starts.rbegin() - *starts.begin(), 1) << "wrapped lines start elsewhere";
    EXPECT_GT(*starts.begin(), 108 + 60); // two tabs in from the margin
}

TEST_F(Pdf, AWordProcessorsResumeKeepsItsPhotoDatesAndLeadersAndHidesItsHiddenText) {
    std::string rtf;
    ASSERT_TRUE(ReadWholeFile(std::string(TRELLIC_TEST_DATA) + "/rtf/libreoffice__resume/input.rtf",
                              rtf, 1 << 20)
                    .ok);
    const std::string pdf = Export(ReadRtf(rtf).document, QPageSize::A4);
    const std::string images = RunCommand("pdfimages -list '" + pdf + "' 2>/dev/null");
    EXPECT_EQ(Count(images, "\n   1 "), 2u) << "the PNG and the JPEG photo\n" << images;
    const std::string text = RunCommand("pdftotext -layout '" + pdf + "' - 2>/dev/null");
    EXPECT_EQ(text.find("keywords"), std::string::npos) << "hidden text is not printed";
    EXPECT_EQ(text.find(".."), std::string::npos) << "leaders are drawn, not written";
    static const std::regex dated(
        "Senior Analyst, Acme Corporation +Jan 2020 \xE2\x80\x93 Present");
    EXPECT_TRUE(std::regex_search(text, dated)) << "the date on its title's line\n" << text;
    // The dots of the leader: ink on the title's line between the title and the date.
    const std::string box = RunCommand("pdftotext -bbox '" + pdf + "' - 2>/dev/null");
    static const std::regex corporation(
        R"re(<word xMin="[0-9.]+" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">Corporation</word>\s*<word xMin="([0-9.]+)")re");
    std::smatch where;
    ASSERT_TRUE(std::regex_search(box, where, corporation)) << box;
    RunCommand("pdftoppm -r 72 -png -singlefile '" + pdf + "' '" + m_dir.File("page") + "'");
    QImage page(QString::fromStdString(m_dir.File("page.png")));
    ASSERT_FALSE(page.isNull());
    int ink = 0;
    for (int y = int(std::stod(where[1])); y <= int(std::stod(where[3])); ++y) {
        for (int x = int(std::stod(where[2])) + 4; x < int(std::stod(where[4])) - 4; ++x) {
            ink += qGray(page.pixel(x, y)) < 160 ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 10);
}

TEST_F(Pdf, RulesAreLinesNotTextAndHaveTheStylesColour) {
    RichDocument document;
    document.paragraphs.clear();
    Add(document, "Experience", Format(280, true));
    RichCharFormat rule = Format(320, true);
    rule.color = 0x00FF0000; // blue, as 0x00BBGGRR
    rule.effects &= ~kCfeAutoColor;
    Add(document, "", rule);
    document.paragraphs.back().runs.push_back({std::u32string(44, U'\u00AF'), rule});
    Add(document, "after", Format(220));
    const std::string pdf = Export(document, QPageSize::A4);
    const std::string text = RunCommand("pdftotext '" + pdf + "' - 2>/dev/null");
    EXPECT_EQ(text.find("\xC2\xAF"), std::string::npos) << text;
    EXPECT_NE(text.find("Experience"), std::string::npos);

    // One blue line across the text width (1.5 inches in from each side of the page).
    RunCommand("pdftoppm -r 72 -png -singlefile '" + pdf + "' '" + m_dir.File("page") + "'");
    QImage page(QString::fromStdString(m_dir.File("page.png")));
    ASSERT_FALSE(page.isNull());
    int blueRows = 0;
    for (int y = 0; y < page.height() / 3; ++y) {
        int blue = 0;
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            blue += c.blue() > 150 && c.red() < 120 && c.green() < 120;
        }
        if (blue > 0) {
            ++blueRows;
            EXPECT_NEAR(blue, page.width() - 2 * 108, 6) << "row " << y;
        }
    }
    EXPECT_GE(blueRows, 1);
    EXPECT_LE(blueRows, 3);
}

TEST_F(Pdf, PropertiesLinksFontsAndPaperAreThereForReaders) {
    RichDocument document;
    document.paragraphs.clear();
    Add(document, "Your Name", Format(280, true));
    Add(document, "E-mail: your.name@example.org", Format(220));
    Add(document, "Web: https://example.org/work", Format(220));
    PdfProperties properties;
    properties.title = QStringLiteral("Résumé");
    properties.author = QStringLiteral("Your (Name)");
    properties.subject = QStringLiteral("Resume");
    for (bool archival : {false, true}) {
        SCOPED_TRACE(archival);
        properties.archival = archival;
        const std::string pdf = Export(document, QPageSize::A4, properties);
        const std::string info = RunCommand("pdfinfo '" + pdf + "' 2>&1");
        EXPECT_NE(info.find("Title:           R\xC3\xA9sum\xC3\xA9\n"), std::string::npos) << info;
        EXPECT_NE(info.find("Author:          Your (Name)\n"), std::string::npos) << info;
        EXPECT_NE(info.find("Subject:         Resume\n"), std::string::npos);
        EXPECT_NE(info.find("Creator:         Trellic 5.0\n"), std::string::npos);
        EXPECT_NE(info.find("595 x 842 pts (A4)"), std::string::npos);
        EXPECT_EQ(info.find("Syntax"), std::string::npos) << info; // no damage to the file
        EXPECT_EQ(info.find("Metadata Stream: yes") != std::string::npos, archival) << info;

        const std::string bytes = testing::ReadFileBytes(pdf);
        EXPECT_NE(bytes.find("/URI (mailto:your.name@example.org)"), std::string::npos);
        EXPECT_NE(bytes.find("/URI (https://example.org/work)"), std::string::npos);

        const std::string fonts = RunCommand("pdffonts '" + pdf + "' 2>&1");
        const QStringList rows = QString::fromStdString(fonts).split('\n', Qt::SkipEmptyParts);
        ASSERT_GE(rows.size(), 3) << fonts;
        for (int i = 2; i < rows.size(); ++i) {
            EXPECT_TRUE(rows[i].contains(
                QRegularExpression(QStringLiteral("^[A-Z]{6}\\+\\S+\\s.*\\byes\\s+yes\\s+yes\\b"))))
                << rows[i].toStdString();
        }
    }
    EXPECT_NE(RunCommand("pdfinfo '" + Export(document, QPageSize::Letter) + "'").find("612 x 792"),
              std::string::npos);
}

// No independent PDF/A validator is packaged for Debian; what PDF/A-1b asks that can be read
// from the file with qpdf and poppler is checked here.
TEST_F(Pdf, ArchivalFilesHoldWhatPdfA1bAsksThatCanBeCheckedHere) {
    RichDocument document;
    document.paragraphs.clear();
    Add(document, "Your Name", Format(280, true));
    Add(document, std::string(44, '\xAF'), Format(320, true)); // a rule, drawn as a line
    Add(document, "E-mail: your.name@example.org", Format(220));
    PdfProperties properties;
    properties.title = QStringLiteral("Your Name");
    properties.archival = true;
    const std::string pdf = Export(document, QPageSize::A4, properties);

    const std::string check = RunCommand("qpdf --check '" + pdf + "' 2>&1");
    EXPECT_NE(check.find("No syntax or stream encoding errors found"), std::string::npos) << check;
    const std::string flat = m_dir.File("flat.pdf");
    RunCommand("qpdf --qdf --object-streams=disable '" + pdf + "' '" + flat + "' 2>&1");
    const std::string bytes = testing::ReadFileBytes(flat);
    ASSERT_FALSE(bytes.empty());
    EXPECT_EQ(testing::ReadFileBytes(pdf).rfind("%PDF-1.4", 0), 0U) << "PDF/A-1 is PDF 1.4";
    // The identification in the XMP metadata, in either of its two spellings.
    EXPECT_TRUE(std::regex_search(bytes, std::regex(R"re(pdfaid:part(>|=")1)re")));
    EXPECT_TRUE(std::regex_search(bytes, std::regex(R"re(pdfaid:conformance(>|=")B)re")));
    // An output intent with its colour profile, and a file identifier.
    EXPECT_NE(bytes.find("/OutputIntents"), std::string::npos);
    EXPECT_NE(bytes.find("/S /GTS_PDFA1"), std::string::npos);
    EXPECT_NE(bytes.find("/DestOutputProfile"), std::string::npos);
    EXPECT_NE(bytes.find("/ID ["), std::string::npos);
    EXPECT_EQ(bytes.find("/Encrypt"), std::string::npos);
    // No transparency: no soft masks, transparency groups or constant alpha below 1.
    EXPECT_FALSE(std::regex_search(bytes, std::regex(R"(/SMask\s*[0-9])")));
    EXPECT_EQ(bytes.find("/S /Transparency"), std::string::npos);
    EXPECT_FALSE(std::regex_search(bytes, std::regex(R"(/(CA|ca)\s+0?\.[0-9]*[1-9])")));
    // Links are printable annotations, as PDF/A wants every annotation.
    EXPECT_NE(bytes.find("/Subtype /Link"), std::string::npos);
    EXPECT_TRUE(std::regex_search(bytes, std::regex(R"(/F 4\s)")));
    // Every font embedded.
    const std::string fonts = RunCommand("pdffonts '" + pdf + "' 2>&1");
    const QStringList rows = QString::fromStdString(fonts).split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(rows.size(), 3) << fonts;
    for (int i = 2; i < rows.size(); ++i) {
        EXPECT_TRUE(rows[i].contains(QRegularExpression(QStringLiteral("\\byes\\s+yes\\s+yes\\b"))))
            << rows[i].toStdString();
    }
}

TEST_F(Pdf, AFileNameThatIsNotUtf8KeepsItsBytes) {
    RichDocument document;
    Add(document, "text", Format(220));
    const std::string path = m_dir.File("pdf\xe9.pdf");
    std::string error;
    ASSERT_TRUE(ExportPdf(document, path, PageSetup(QPageSize::A4), error)) << error;
    EXPECT_TRUE(fs::exists(fs::path(path)));
    EXPECT_FALSE(fs::exists(fs::path(m_dir.File("pdf\xef\xbf\xbd.pdf"))));
}

} // namespace
} // namespace trellic
