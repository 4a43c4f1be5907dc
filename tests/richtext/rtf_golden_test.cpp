#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "temp_dir.h"
#include "test_documents.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace trellic {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> GoldenCases() {
    std::vector<fs::path> cases;
    for (const auto& entry : fs::directory_iterator(fs::path(TRELLIC_TEST_DATA) / "rtf")) {
        if (fs::exists(entry.path() / "input.rtf") && fs::exists(entry.path() / "expected.txt")) {
            cases.push_back(entry.path());
        }
    }
    std::sort(cases.begin(), cases.end());
    return cases;
}

std::string TextLines(const RichDocument& document) {
    std::string text;
    for (const RichParagraph& paragraph : document.paragraphs) {
        text += testing::Utf8(paragraph.Text());
        text += '\n';
    }
    return text;
}

TEST(RtfGolden, RealWorldFilesGiveTheirExpectedText) {
    const auto cases = GoldenCases();
    ASSERT_GE(cases.size(), 40u);
    for (const fs::path& folder : cases) {
        SCOPED_TRACE(folder.filename().string());
        const std::string input = testing::ReadFileBytes((folder / "input.rtf").string());
        const RtfReadResult read = ReadRtf(input);
        ASSERT_TRUE(read.isRtf);
        EXPECT_EQ(TextLines(read.document),
                  testing::ReadFileBytes((folder / "expected.txt").string()));
    }
}

TEST(RtfGolden, WhatWasReadWritesAndReadsBackUnchanged) {
    for (const fs::path& folder : GoldenCases()) {
        SCOPED_TRACE(folder.filename().string());
        const RichDocument document =
            ReadRtf(testing::ReadFileBytes((folder / "input.rtf").string())).document;
        const RtfReadResult again = ReadRtf(WriteRtf(document));
        EXPECT_TRUE(again.complete);
        EXPECT_TRUE(again.document == testing::AsWritten(document));
    }
}

TEST(RtfGolden, DamagedSamplesReportTheirDamageAndKeepTheirText) {
    const fs::path root = fs::path(TRELLIC_TEST_DATA) / "rtf";
    const RtfReadResult truncated = ReadRtf(
        testing::ReadFileBytes((root / "rtfpipe__RtfParserTest_fail_3" / "input.rtf").string()));
    EXPECT_FALSE(truncated.complete);
    EXPECT_FALSE(truncated.problem.empty());
    EXPECT_EQ(testing::ParagraphTexts(truncated.document), "Hello world in {RTF}\u2026");

    // Text in front of the header and a surplus closing brace are forgiven.
    for (const char* name : {"rtfpipe__RtfParserTest_fail_0", "rtfpipe__RtfParserTest_fail_2"}) {
        const RtfReadResult read =
            ReadRtf(testing::ReadFileBytes((root / name / "input.rtf").string()));
        EXPECT_TRUE(read.complete) << name;
        EXPECT_EQ(testing::Utf8(read.document.paragraphs[0].Text()), "Hello world in {RTF}\u2026")
            << name;
    }
}

} // namespace
} // namespace trellic
