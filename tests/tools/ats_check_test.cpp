// The ATS check on PDFs made to show one fault each, and on every shipped template as the
// program prints it.

#include "ats_check.h"
#include "temp_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <sys/wait.h>

namespace trellic::tool {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::TempDir;

// A small, valid PDF: one content stream per page, text in Helvetica.
std::string MakePdf(const std::vector<std::string>& pageContents) {
    std::vector<std::string> objects;
    const int pages = static_cast<int>(pageContents.size());
    objects.push_back("<< /Type /Catalog /Pages 2 0 R >>");
    std::string kids;
    for (int i = 0; i < pages; ++i) {
        kids += std::to_string(4 + 2 * i) + " 0 R ";
    }
    objects.push_back("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages) +
                      " >>");
    objects.push_back("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica "
                      "/Encoding /WinAnsiEncoding >>");
    for (int i = 0; i < pages; ++i) {
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] "
                          "/Resources << /Font << /F1 3 0 R >> >> /Contents " +
                          std::to_string(5 + 2 * i) + " 0 R >>");
        objects.push_back("<< /Length " + std::to_string(pageContents[i].size()) + " >>\nstream\n" +
                          pageContents[i] + "\nendstream");
    }
    std::string pdf = "%PDF-1.4\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (size_t offset : offsets) {
        char line[24];
        std::snprintf(line, sizeof line, "%010zu 00000 n \n", offset);
        pdf += line;
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

std::string Text(int x, int y, const std::string& text) {
    return "BT /F1 11 Tf " + std::to_string(x) + " " + std::to_string(y) + " Td (" + text +
           ") Tj ET\n";
}

const std::string kContact = Text(72, 720, "Your Name") +
                             Text(72, 700, "E-mail: your.name@example.org") +
                             Text(72, 680, "Phone: +1 555 0100 200") + Text(72, 640, "Experience") +
                             Text(72, 620, "Engineer, Employer (2016 - 2021)");

bool HasProblem(const AtsReport& report, const std::string& message, int page = -1) {
    for (const AtsFinding& finding : report.findings) {
        if (finding.level == AtsFinding::Level::Problem &&
            finding.message.find(message) != std::string::npos &&
            (page < 0 || finding.page == page)) {
            return true;
        }
    }
    return false;
}

TEST(AtsCheck, EachFaultThatMisleadsAnAtsIsAProblemWithItsPage) {
    // A scanned page: a picture and no text.
    const AtsReport scanned = CheckPdfForAts(MakePdf({"0 0 0 rg 72 72 400 600 re f\n"}));
    EXPECT_FALSE(scanned.Passed());
    EXPECT_TRUE(HasProblem(scanned, "no text layer", 1));

    // A second page without text among pages with it.
    const AtsReport mixed = CheckPdfForAts(MakePdf({kContact, "72 72 400 600 re f\n"}));
    EXPECT_TRUE(HasProblem(mixed, "no text layer", 2));
    EXPECT_FALSE(HasProblem(mixed, "no text layer", 1));

    // A page's last line again at the top of the next.
    const AtsReport split = CheckPdfForAts(
        MakePdf({kContact + Text(72, 100, "Interest one, interest two"),
                 Text(72, 720, "Interest one, interest two") + Text(72, 700, "more")}));
    EXPECT_TRUE(HasProblem(split, "extracted twice", 2));

    // A rule typed as macrons (0xAF in the font's encoding).
    const AtsReport rule =
        CheckPdfForAts(MakePdf({kContact + Text(72, 660, std::string(30, '\xAF'))}));
    EXPECT_TRUE(HasProblem(rule, "drawn with characters"));

    // No way to reach the candidate, and fonts a reader must guess.
    const AtsReport anonymous = CheckPdfForAts(MakePdf({Text(72, 700, "Experience")}));
    EXPECT_TRUE(HasProblem(anonymous, "no e-mail address"));
    EXPECT_TRUE(HasProblem(anonymous, "font not embedded"));

    const AtsReport broken = CheckPdfForAts("%PDF-1.4\nnot really");
    EXPECT_FALSE(broken.Passed());
}

TEST(AtsCheck, ExpectedTextsMustComeBackInOrder) {
    const std::string pdf = MakePdf({kContact});
    const AtsReport inOrder = CheckPdfForAts(pdf, {"Your Name", "Experience", "Engineer,"});
    EXPECT_FALSE(HasProblem(inOrder, "texts of the resume") ||
                 HasProblem(inOrder, "text of the resume"));
    const AtsReport swapped = CheckPdfForAts(pdf, {"Experience", "Your Name"});
    EXPECT_TRUE(HasProblem(swapped, "out of order", 1));
    const AtsReport missing = CheckPdfForAts(pdf, {"Your Name", "Publications"});
    EXPECT_TRUE(HasProblem(missing, "missing"));
    // Contact details and headings are reported with their text.
    const std::string report = FormatAtsReport(inOrder);
    EXPECT_NE(report.find("e-mail address found: \"your.name@example.org\""), std::string::npos)
        << report;
    EXPECT_NE(report.find("telephone number found: \"+1 555 0100 200\""), std::string::npos);
    EXPECT_NE(report.find("page 1: section heading found: \"Experience\""), std::string::npos);
    EXPECT_EQ(report.find("telephone number found: \"2016 - 2021\""), std::string::npos);
}

struct ShellRun {
    int status = -1;
    std::string out;
};

ShellRun Shell(const std::string& command) {
    ShellRun run;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    size_t read = 0;
    while (pipe != nullptr && (read = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.out.append(buffer, read);
    }
    const int raw = pipe != nullptr ? pclose(pipe) : -1;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

int Pages(const std::string& pdf) {
    const std::string info = Shell("pdfinfo '" + pdf + "' 2>&1").out;
    const auto at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

TEST(AtsCheck, EveryShippedTemplatePassesOnA4AndLetterOnItsPages) {
    TempDir dir;
    const std::string tool = std::string(TRELLIC_BIN_DIR) + "/tlxtool";
    int templates = 0;
    for (const auto& entry : fs::directory_iterator(std::string(TRELLIC_BIN_DIR) + "/templates")) {
        const std::string name = entry.path().stem().string();
        ++templates;
        for (const char* paper : {"a4", "letter"}) {
            SCOPED_TRACE(name + " on " + paper);
            const std::string pdf = dir.File(name + "-" + paper + ".pdf");
            const ShellRun convert = Shell(tool + " convert --paper " + paper + " '" +
                                           entry.path().string() + "' '" + pdf + "' 2>&1");
            ASSERT_EQ(convert.status, 0) << convert.out;
            const ShellRun check = Shell(tool + " check --ats '" + pdf + "' 2>&1");
            EXPECT_EQ(check.status, 0) << check.out;
            EXPECT_EQ(check.out.find("problem:"), std::string::npos) << check.out;
            EXPECT_EQ(Pages(pdf), name == "senior" ? 2 : 1);
            if (name == "senior") {
                // Two full pages: the second one's text reaches the bottom fifth of the page.
                const std::string words = Shell("pdftotext -f 2 -l 2 -bbox '" + pdf + "' -").out;
                const std::regex height("<page width=\"[0-9.]+\" height=\"([0-9.]+)\"");
                const std::regex bottom("yMax=\"([0-9.]+)\"");
                std::smatch page;
                ASSERT_TRUE(std::regex_search(words, page, height));
                double lowest = 0;
                for (auto it = std::sregex_iterator(words.begin(), words.end(), bottom);
                     it != std::sregex_iterator(); ++it) {
                    lowest = std::max(lowest, std::stod((*it)[1]));
                }
                EXPECT_GT(lowest, 0.8 * std::stod(page[1])) << "page 2 is not full";
            }
            const std::string text = Shell("pdftotext '" + pdf + "' - 2>/dev/null").out;
            EXPECT_EQ(text.find("\xC2\xAF\xC2\xAF"), std::string::npos);
        }
    }
    EXPECT_GE(templates, 10);

    // The command line: a scanned page fails with status 1.
    const std::string scanned = dir.File("scan.pdf");
    testing::WriteFileBytes(scanned, MakePdf({"72 72 400 600 re f\n"}));
    const ShellRun check = Shell(tool + " check --ats '" + scanned + "' 2>&1");
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.out.find("problem: page 1: no text layer"), std::string::npos) << check.out;
}

} // namespace
} // namespace trellic::tool
