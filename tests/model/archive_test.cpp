#include "model/archive.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

std::string Stored(std::string text) {
    Archive ar = Archive::ForStoring();
    ar.IoText(text);
    return ar.TakeStored();
}

std::string Loaded(const std::string& bytes, bool* failed = nullptr) {
    Archive ar = Archive::ForLoading(bytes);
    std::string text = "untouched";
    ar.IoText(text);
    if (failed) {
        *failed = ar.Failed();
    }
    return text;
}

TEST(ArchiveText, LengthPrefixesAtEveryBoundary) {
    struct Row {
        std::size_t length;
        std::string prefix;
    };
    const Row rows[] = {
        {0, std::string("\x00", 1)},
        {254, "\xFE"},
        {255, std::string("\xFF\xFF\x00", 3)},
        {65533, std::string("\xFF\xFD\xFF", 3)},
        {65534, std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7)},
        {70000, std::string("\xFF\xFF\xFF\x70\x11\x01\x00", 7)},
    };
    for (const auto& row : rows) {
        const std::string text(row.length, 'x');
        const std::string bytes = Stored(text);
        EXPECT_EQ(bytes.substr(0, row.prefix.size()), row.prefix) << row.length;
        EXPECT_EQ(bytes.size(), row.prefix.size() + row.length) << row.length;
        EXPECT_EQ(Loaded(bytes), text) << row.length;
    }
}

TEST(ArchiveText, WideFormIsConvertedToTheCodePage) {
    // FF FE FF, then 4 UTF-16 characters: "A", e acute, the euro sign and a CJK character.
    const std::string bytes("\xFF\xFE\xFF\x04"
                            "A\x00\xE9\x00\xAC\x20\x2D\x4E",
                            12);
    bool failed = true;
    EXPECT_EQ(Loaded(bytes, &failed), "A\xE9\x80?");
    EXPECT_FALSE(failed);
}

TEST(ArchiveText, WideFormWithLongPrefix) {
    std::string bytes("\xFF\xFE\xFF\xFF\x00\x01", 6); // 256 wide characters
    for (int i = 0; i < 256; ++i) {
        bytes += std::string("b\x00", 2);
    }
    EXPECT_EQ(Loaded(bytes), std::string(256, 'b'));
}

TEST(ArchiveText, LengthsPastTheEndFailWithoutTouchingTheField) {
    const std::string cases[] = {
        "", // no prefix at all
        "\x05"
        "abc",                                          // short text
        "\xFF\x01",                                     // 16-bit prefix cut
        std::string("\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 7), // two gigabytes claimed
        std::string("\xFF\xFE\xFF\x03\x41\x00", 6),     // wide text cut
        std::string("\xFF\xFE\xFF\xFE\xFF\x05", 6),     // wide marker twice
    };
    for (const auto& bytes : cases) {
        bool failed = false;
        EXPECT_EQ(Loaded(bytes, &failed), "untouched");
        EXPECT_TRUE(failed);
    }
}

TEST(ArchiveScalars, LittleEndianAndSticky) {
    Archive out = Archive::ForStoring();
    int32_t i = -2;
    int16_t s = 0x0102;
    float f = 1.5F;
    bool b = true;
    uint8_t u = 0xAB;
    out.Io(i);
    out.Io(s);
    out.Io(f);
    out.Io(b);
    out.Io(u);
    EXPECT_EQ(out.Stored(), std::string("\xFE\xFF\xFF\xFF\x02\x01\x00\x00\xC0\x3F\x01\xAB", 12));

    const std::string bytes("\x07\x00\x00\x00\x02", 5);
    Archive in = Archive::ForLoading(bytes);
    int32_t a = 0;
    bool flag = false;
    int32_t b32 = 99;
    in.Io(a);
    in.Io(flag);
    in.Io(b32);
    EXPECT_EQ(a, 7);
    EXPECT_TRUE(flag); // any non-zero byte is true
    EXPECT_EQ(b32, 99);
    EXPECT_TRUE(in.Failed());
}

TEST(ArchiveCounts, AbsurdCountsFailBeforeAnythingIsRead) {
    const std::string absurd("\xFF\xFF\xFF\x7F"
                             "0123456789",
                             14);
    Archive in = Archive::ForLoading(absurd);
    int32_t count = 0;
    in.IoCount(count, 8);
    EXPECT_TRUE(in.Failed());

    const std::string two("\x02\x00\x00\x00"
                          "0123456789",
                          14);
    Archive fits = Archive::ForLoading(two);
    fits.IoCount(count, 5);
    EXPECT_FALSE(fits.Failed());
    EXPECT_EQ(count, 2);

    const std::string minusOne("\xFF\xFF\xFF\xFF", 4);
    Archive negative = Archive::ForLoading(minusOne);
    negative.IoCount(count, 100);
    EXPECT_FALSE(negative.Failed());
    EXPECT_EQ(count, -1);
}

} // namespace
} // namespace trellic
