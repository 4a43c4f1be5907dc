#include "richtext/rich_text_buffer.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "rtf_round_trip.h"
#include "temp_dir.h"
#include "test_documents.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>

namespace trellic {
namespace {

namespace fs = std::filesystem;
using testing::U;

// Whatever the reader made of hostile input must itself be writable and readable.
void ExpectUsable(const RtfReadResult& read) {
    const std::string rtf = WriteRtf(read.document);
    const RtfReadResult again = ReadRtf(rtf);
    EXPECT_TRUE(again.complete);
    EXPECT_EQ(again.document.Text(), read.document.Text());
    if (read.isRtf) {
        EXPECT_TRUE(testing::AsReadersSeeIt(again.document) ==
                    testing::AsReadersSeeIt(read.document));
    }
}

TEST(RtfHostile, UnbalancedBraces) {
    const RtfReadResult open = ReadRtf("{\\rtf1 {\\b {{{ kept");
    EXPECT_FALSE(open.complete);
    EXPECT_EQ(open.document.Text(), U" kept");
    const RtfReadResult surplus = ReadRtf("{\\rtf1 a}}}}} ignored {\\b x}");
    EXPECT_TRUE(surplus.complete);
    EXPECT_EQ(surplus.document.Text(), U"a");
    ExpectUsable(open);
}

TEST(RtfHostile, TruncatedAtEveryByte) {
    const std::string full = WriteRtf(testing::RandomDocument(11));
    const std::string fullText = testing::Utf8(ReadRtf(full).document.Text());
    const size_t lastBrace = full.rfind('}');
    for (size_t cut = 5; cut < full.size(); ++cut) {
        const RtfReadResult read = ReadRtf(std::string_view(full).substr(0, cut));
        ASSERT_TRUE(read.isRtf);
        if (cut <= lastBrace) {
            EXPECT_FALSE(read.complete) << cut;
        }
        EXPECT_LE(read.document.Text().size(), fullText.size() + 1) << cut;
    }
}

TEST(RtfHostile, DeepNestingKeepsTheTextWithinBoundedState) {
    const size_t depth = 200000;
    std::string rtf = "{\\rtf1 ";
    rtf += std::string(depth, '{') + "\\b deep" + std::string(depth, '}') + " after";
    rtf += std::string(depth, '{') + "{\\*\\skipme gone}still" + std::string(depth, '}') + "}";
    const RtfReadResult read = ReadRtf(rtf);
    EXPECT_TRUE(read.complete);
    EXPECT_FALSE(read.problem.empty());
    EXPECT_EQ(read.document.Text(), U"deep afterstill");

    // Within the limit, formatting stays inside its group.
    std::string shallow = "{\\rtf1 " + std::string(kRtfMaxGroupDepth - 2, '{') + "\\b x" +
                          std::string(kRtfMaxGroupDepth - 2, '}') + "y}";
    const RtfReadResult exact = ReadRtf(shallow);
    EXPECT_TRUE(exact.problem.empty());
    ASSERT_EQ(exact.document.paragraphs[0].runs.size(), 2u);
    EXPECT_FALSE(exact.document.paragraphs[0].runs[1].format.Has(kCfeBold));
}

TEST(RtfHostile, AbsurdNumbersSaturate) {
    const RtfReadResult read =
        ReadRtf("{\\rtf1{\\fonttbl{\\f99999999999999999999 Big;}}{\\colortbl;\\red99999999999;}"
                "\\f99999999999999999999\\fs99999999999999999999\\cf-99999999999\\li-99999999999"
                "\\fi99999999999\\sl-99999999999\\sb99999999999\\tx99999999999\\uc99999999999"
                "\\ls99999999999\\ilvl-5 a\\u99999999999 b\\u-99999999999 c\\par"
                "{\\*\\pn\\pnlvlbody\\pnstart99999999999}d}");
    EXPECT_TRUE(read.complete);
    const std::u32string text = read.document.Text();
    EXPECT_NE(text.find(U'a'), std::u32string::npos);
    EXPECT_NE(text.find(U'd'), std::u32string::npos);
    ExpectUsable(read);
}

TEST(RtfHostile, BinaryLongerThanTheFile) {
    const RtfReadResult read = ReadRtf("{\\rtf1 before{\\pict\\bin999999999999 abc");
    EXPECT_EQ(read.document.Text(), U"before");
    EXPECT_FALSE(read.complete);
    EXPECT_EQ(ReadRtf("{\\rtf1 a\\bin-5 b}").document.Text(), U"ab");
}

TEST(RtfHostile, OversizedWordsTablesAndDefinitions) {
    std::string rtf = "{\\rtf1\\" + std::string(100000, 'x') + " text";
    rtf += "{\\fonttbl";
    for (int i = 0; i < 20000; ++i) {
        rtf += "{\\f" + std::to_string(i) + " F" + std::string(300, 'n') + ";}";
    }
    rtf += "}{\\colortbl" + std::string(20000, ';') + "}";
    rtf += "{\\*\\listtable" + std::string(5000, '{') + "\\list\\listlevel" +
           std::string(5000, '}') + "}\\f19999 end}";
    const RtfReadResult read = ReadRtf(rtf);
    EXPECT_EQ(read.document.Text(), U"textend");
    EXPECT_LE(read.document.paragraphs[0].runs.back().format.faceName.size(), 31u);
}

TEST(RtfHostile, RandomMutationsOfRealFiles) {
    const std::string seedFile = testing::ReadFileBytes(
        (fs::path(TRELLIC_TEST_DATA) / "rtf" / "rtfpipe__List" / "input.rtf").string());
    std::mt19937 random(1234);
    const std::string alphabet = "{}\\'*0123456789-abuclnpsfx; \r\n\xB7\x80";
    for (int round = 0; round < 1500; ++round) {
        std::string input = seedFile;
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits && !input.empty(); ++e) {
            const size_t at = random() % input.size();
            switch (random() % 3) {
            case 0:
                input[at] = alphabet[random() % alphabet.size()];
                break;
            case 1:
                input.erase(at, 1 + random() % 16);
                break;
            default:
                input.insert(at, 1 + random() % 4, alphabet[random() % alphabet.size()]);
            }
        }
        ExpectUsable(ReadRtf(input));
        RichTextBuffer buffer;
        buffer.InsertText("x");
        buffer.InsertRtf(input);
    }
}

TEST(RtfHostile, PictureHeadersAndSizesFromAFileAreNotTrusted) {
    const std::string png = "89504e470d0a1a0a0000000d49484452";
    const struct {
        const char* name;
        std::string group;
        bool showable;
    } rows[] = {
        {"PNG of 100000 by 100000 pixels", "\\pngblip " + png + "000186a0000186a008060000", false},
        {"PNG cut inside its header", "\\pngblip " + png + "0000", false},
        {"PNG of no pixels", "\\pngblip " + png + "0000000000000001", false},
        {"JPEG segment longer than the data", "\\jpegblip ffd8ffe0ffff0000", false},
        {"JPEG without a frame", "\\jpegblip ffd8ffd9", false},
        {"JPEG with a zero-length segment", "\\jpegblip ffd8ffe00000ffc0", false},
        {"JPEG of 2 by 3 pixels", "\\jpegblip ffd8ffc0000b080003000201110000", true},
        {"absurd goal size", "\\picwgoal2147483647\\pichgoal-5\\picscalex-9\\emfblip 01", false},
        {"absurd scale", "\\picwgoal100\\pichgoal100\\picscalex2147483647\\emfblip 01", false},
    };
    for (const auto& row : rows) {
        const RtfReadResult read = ReadRtf("{\\rtf1{\\pict" + row.group + "}}");
        ASSERT_EQ(read.document.paragraphs[0].runs.size(), 1u) << row.name;
        const RichPicture& picture = *read.document.paragraphs[0].runs[0].format.picture;
        EXPECT_EQ(IsShowablePicture(picture), row.showable) << row.name;
        const PictureSize size = ShownPictureSize(picture);
        EXPECT_GE(size.width, 1) << row.name;
        EXPECT_LE(size.width, kMaxPictureTwips) << row.name;
        EXPECT_GE(size.height, 1) << row.name;
        EXPECT_LE(size.height, kMaxPictureTwips) << row.name;
        ExpectUsable(read);
    }
}

TEST(RtfHostile, FuzzerFindingsAndSeedsStayFixed) {
    for (const char* name : {"fuzz-regressions", "fuzz-corpus"}) {
        const fs::path folder = fs::path(TRELLIC_TEST_DATA) / "rtf" / name;
        ASSERT_TRUE(fs::exists(folder));
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path().extension() == ".md") {
                continue;
            }
            SCOPED_TRACE(entry.path().filename().string());
            const std::string input = testing::ReadFileBytes(entry.path().string());
            ExpectUsable(ReadRtf(input));
            ExpectUsable(ReadRtf(input, RtfSource::Utf8));
            ExpectUsable(ReadRtfFragment(input));
        }
    }
}

} // namespace
} // namespace trellic
