#include "model/serialize.h"
#include "tree_factory.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

template <typename Record, typename Fn> std::string Store(Record record, Fn serialize) {
    Archive ar = Archive::ForStoring();
    serialize(ar, record);
    return ar.TakeStored();
}

template <typename Record, typename Fn> Record Load(const std::string& bytes, Fn serialize) {
    Archive ar = Archive::ForLoading(bytes);
    Record record{};
    serialize(ar, record);
    EXPECT_FALSE(ar.Failed());
    EXPECT_EQ(ar.Remaining(), 0U);
    return record;
}

TEST(SerializeBytes, CharFormatForBoldBlackTwelvePointArial) {
    CharFormat f;
    f.bold = true;
    f.height = 240;
    f.faceName = "Arial";
    EXPECT_EQ(Store(f, SerializeCharFormat), std::string("\x01\x00\x00\x00\x00\x00"
                                                         "\x00\x00\x00\x00"
                                                         "\xF0\x00\x00\x00"
                                                         "\x05"
                                                         "Arial",
                                                         20));
}

TEST(SerializeBytes, ParaFormats) {
    ParaFormat centredBullet{1, 3, 0, 2};
    EXPECT_EQ(Store(centredBullet, SerializeParaFormat),
              std::string("\x00\x02\x00\x00\x00\x03\x00\x01\x00", 9));
    ParaFormat plainLeft{0, 1, 0, 0};
    EXPECT_EQ(Store(plainLeft, SerializeParaFormat),
              std::string("\x00\x00\x00\x00\x00\x01\x00\x00\x00", 9));
}

TEST(SerializeBytes, VersionIsAnIeeeFloat) {
    NodeInfo info;
    info.version = 1.5F;
    EXPECT_EQ(Store(info, SerializeNodeInfo).substr(0, 4), std::string("\x00\x00\xC0\x3F", 4));
}

TEST(SerializeBytes, FieldOrderDiffersBetweenLikeRecords) {
    // A section writes its help before its data; a multiple line field its data first.
    ResumeSectionNode section;
    section.help.helpText = "H";
    section.data.text = "D";
    const std::string s = Store(section, SerializeResumeSection);
    EXPECT_LT(s.find("\x01H"), s.find("\x01"
                                      "D"));

    MLFieldNode field;
    field.help.helpText = "H";
    field.fieldData.text = "D";
    const std::string m = Store(field, SerializeMLField);
    EXPECT_GT(m.find("\x01H"), m.find("\x01"
                                      "D"));

    SLFieldNode line;
    line.fieldData = "D";
    line.fieldName = "N";
    const std::string l = Store(line, SerializeSLField);
    EXPECT_EQ(l.substr(l.size() - 4), "\x01"
                                      "D\x01N");
}

TEST(SerializeRoundTrip, EveryRecordComesBackEqual) {
    testing::TreeFactory make(7);
    for (int round = 0; round < 20; ++round) {
        const NodeTree tree = make.RandomTree(2);
        const auto resume = *tree.resume;
        EXPECT_EQ(Load<ResumeNode>(Store(resume, SerializeResume), SerializeResume), resume);
        EXPECT_EQ(Load<StyleNode>(Store(resume.style, SerializeStyle), SerializeStyle),
                  resume.style);
        for (const auto& r : tree.headers) {
            EXPECT_EQ(Load<HeaderNode>(Store(r, SerializeHeader), SerializeHeader), r);
        }
        for (const auto& r : tree.resumeSections) {
            EXPECT_EQ(
                Load<ResumeSectionNode>(Store(r, SerializeResumeSection), SerializeResumeSection),
                r);
        }
        for (const auto& r : tree.slFields) {
            EXPECT_EQ(Load<SLFieldNode>(Store(r, SerializeSLField), SerializeSLField), r);
        }
        for (const auto& r : tree.mlFields) {
            EXPECT_EQ(Load<MLFieldNode>(Store(r, SerializeMLField), SerializeMLField), r);
        }
        for (const auto& r : tree.rtfOutputs) {
            EXPECT_EQ(Load<RTFOutputNode>(Store(r, SerializeRTFOutput), SerializeRTFOutput), r);
        }
        for (const auto& r : tree.txtOutputs) {
            EXPECT_EQ(Load<TXTOutputNode>(Store(r, SerializeTXTOutput), SerializeTXTOutput), r);
        }
    }
}

TEST(SerializeRoundTrip, NonZeroBoolBytesReadAsTrueAndWriteAsOne) {
    std::string bytes = Store(CharFormat{}, SerializeCharFormat);
    bytes[0] = '\x02'; // bold
    bytes[5] = '\x7F'; // underline
    const auto f = Load<CharFormat>(bytes, SerializeCharFormat);
    EXPECT_TRUE(f.bold);
    EXPECT_TRUE(f.underline);
    const std::string again = Store(f, SerializeCharFormat);
    EXPECT_EQ(again[0], '\x01');
    EXPECT_EQ(again[5], '\x01');
}

TEST(SerializeSizes, MinimumSizesMatchEmptyRecords) {
    EXPECT_EQ(MinEncodedSize<HeaderNode>(), 40U);
    EXPECT_EQ(MinEncodedSize<ResumeSectionNode>(), 48U);
    EXPECT_EQ(MinEncodedSize<SLFieldNode>(), 44U);
    EXPECT_EQ(MinEncodedSize<MLFieldNode>(), 48U);
    EXPECT_EQ(MinEncodedSize<RTFOutputNode>(), 44U);
    EXPECT_EQ(MinEncodedSize<TXTOutputNode>(), 29U);
}

} // namespace
} // namespace trellic
