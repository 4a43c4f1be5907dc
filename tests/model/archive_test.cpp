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

TEST(ArchiveText, WideFormReadsAsUnicode) {
    // FF FE FF, then 4 UTF-16 characters: "A", e acute, the euro sign and a CJK character.
    const std::string bytes("\xFF\xFE\xFF\x04"
                            "A\x00\xE9\x00\xAC\x20\x2D\x4E",
                            12);
    bool failed = true;
    EXPECT_EQ(Loaded(bytes, &failed), "A\xC3\xA9\xE2\x82\xAC\xE4\xB8\xAD");
    EXPECT_FALSE(failed);
    // A pair is one character; halves alone become U+FFFD rather than failing the file.
    EXPECT_EQ(Loaded(std::string("\xFF\xFE\xFF\x02\x3D\xD8\x00\xDE", 8)), "\xF0\x9F\x98\x80");
    EXPECT_EQ(Loaded(std::string("\xFF\xFE\xFF\x02\x00\xDEx\x00", 8)), "\xEF\xBF\xBDx");
}

TEST(ArchiveText, NarrowBytesReadAsWindows1252AndAreWrittenBackAsTheyWere) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const std::string bytes = std::string("\xFF\x00\x01", 3) + all; // 256 narrow bytes
    const std::string text = Loaded(bytes);
    EXPECT_EQ(text.substr(0x80, 3), "\xE2\x82\xAC"); // 0x80 is the euro sign
    EXPECT_EQ(Stored(text), bytes);
}

TEST(ArchiveText, TextsTheCodePageCannotHoldAreWrittenWide) {
    struct Row {
        const char* what;
        std::string text;
        std::string bytes;
    };
    const Row rows[] = {
        {"code page text stays narrow", "Caf\xC3\xA9",
         "\x04"
         "Caf\xE9"},
        {"Cyrillic", "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD",
         std::string("\xFF\xFE\xFF\x04\x18\x04\x32\x04\x30\x04\x3D\x04", 12)},
        {"Polish beside code page letters", "Zo\xC3\xAB \xC5\x81",
         std::string("\xFF\xFE\xFF\x05Z\0o\0\xEB\0 \0\x41\x01", 14)},
        {"outside the basic plane", "\xF0\x9F\x98\x80",
         std::string("\xFF\xFE\xFF\x02\x3D\xD8\x00\xDE", 8)},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(Stored(row.text), row.bytes) << row.what;
        EXPECT_EQ(Loaded(row.bytes), row.text) << row.what;
    }
    // The wide prefix climbs like the narrow one: 300 units take FF and a uint16.
    std::string long300;
    for (int i = 0; i < 300; ++i) {
        long300 += "\xE4\xB8\xAD";
    }
    const std::string bytes = Stored(long300);
    EXPECT_EQ(bytes.substr(0, 6), std::string("\xFF\xFE\xFF\xFF\x2C\x01", 6));
    EXPECT_EQ(bytes.size(), 6U + 600U);
    EXPECT_EQ(Loaded(bytes), long300);
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
