#include "richtext/plain_text_codec.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "test_documents.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::RandomDocument;

// Points at the first difference, which a bare "documents differ" would leave to guesswork.
::testing::AssertionResult SameDocument(const RichDocument& expected, const RichDocument& actual) {
    if (expected.paragraphs.size() != actual.paragraphs.size()) {
        return ::testing::AssertionFailure() << "paragraph count " << expected.paragraphs.size()
                                             << " became " << actual.paragraphs.size();
    }
    for (size_t i = 0; i < expected.paragraphs.size(); ++i) {
        const RichParagraph& a = expected.paragraphs[i];
        const RichParagraph& b = actual.paragraphs[i];
        if (!(a.format == b.format)) {
            return ::testing::AssertionFailure() << "paragraph " << i << ": paragraph format";
        }
        if (!(a.markFormat == b.markFormat)) {
            return ::testing::AssertionFailure() << "paragraph " << i << ": mark format";
        }
        if (a.runs.size() != b.runs.size()) {
            return ::testing::AssertionFailure() << "paragraph " << i << ": run count";
        }
        for (size_t r = 0; r < a.runs.size(); ++r) {
            if (a.runs[r].text != b.runs[r].text) {
                return ::testing::AssertionFailure()
                       << "paragraph " << i << " run " << r << ": text '"
                       << testing::Utf8(a.runs[r].text) << "' became '"
                       << testing::Utf8(b.runs[r].text) << "'";
            }
            if (!(a.runs[r].format == b.runs[r].format)) {
                return ::testing::AssertionFailure()
                       << "paragraph " << i << " run " << r << ": format of '"
                       << testing::Utf8(a.runs[r].text) << "'";
            }
        }
    }
    return ::testing::AssertionSuccess();
}

TEST(RtfRoundTrip, RandomDocumentsReadBackUnchanged) {
    for (uint32_t seed = 1; seed <= 400; ++seed) {
        const RichDocument document = RandomDocument(seed);
        const std::string rtf = WriteRtf(document);
        const RtfReadResult read = ReadRtf(rtf);
        ASSERT_TRUE(read.isRtf);
        ASSERT_TRUE(read.complete) << read.problem;
        ASSERT_TRUE(SameDocument(testing::AsWritten(document), read.document))
            << "seed " << seed << "\n"
            << rtf;
    }
}

TEST(RtfRoundTrip, WrittenRtfIsPlainAscii) {
    for (uint32_t seed = 1; seed <= 50; ++seed) {
        for (char c : WriteRtf(RandomDocument(seed))) {
            ASSERT_TRUE(static_cast<unsigned char>(c) < 0x80) << "seed " << seed;
        }
    }
}

TEST(RtfRoundTrip, WritingIsStableAfterOneTrip) {
    for (uint32_t seed = 1; seed <= 50; ++seed) {
        const std::string once = WriteRtf(RandomDocument(seed));
        EXPECT_EQ(WriteRtf(ReadRtf(once).document), once) << "seed " << seed;
    }
}

TEST(RtfRoundTrip, EmptyDocumentAndEmptyParagraphsSurvive) {
    RichDocument empty;
    empty.paragraphs[0].format = PlainParaFormat();
    empty.paragraphs[0].markFormat = testing::Font("Arial");
    EXPECT_TRUE(SameDocument(empty, ReadRtf(WriteRtf(empty)).document));

    RichDocument trailing = empty;
    trailing.paragraphs[0].runs.push_back({U"text", testing::Font("Arial")});
    trailing.paragraphs.push_back(empty.paragraphs[0]);
    trailing.paragraphs.push_back(empty.paragraphs[0]);
    EXPECT_TRUE(SameDocument(trailing, ReadRtf(WriteRtf(trailing)).document));
}

TEST(PlainTextRoundTrip, RandomDocumentsKeepTheirWindows1252Text) {
    for (uint32_t seed = 1; seed <= 100; ++seed) {
        const RichDocument document = RandomDocument(seed);
        const std::string text = WritePlainText(document);
        const RichDocument read = ReadPlainText(text, PlainCharFormat(), PlainParaFormat());
        EXPECT_EQ(WritePlainText(read), text) << "seed " << seed;
    }
}

} // namespace
} // namespace trellic
