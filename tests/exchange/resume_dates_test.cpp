#include "exchange/resume_dates.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

TEST(ResumeDates, SchemaDatesReadAsMonthsAndBack) {
    struct Row {
        const char* iso;
        const char* shown;
        const char* readBack; // what the shown text reads as
    };
    const Row rows[] = {
        {"2013-12-01", "Dec 2013", "2013-12"},
        {"2013-12", "Dec 2013", "2013-12"},
        {"2013", "2013", "2013"},
        {"2014-01-31", "Jan 2014", "2014-01"},
        // The pattern lets month 00 and 19 through: they are shown as written, and read so.
        {"2013-00", "2013-00", "2013-00"},
        {"2013-19-01", "2013-19-01", "2013-19-01"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FormatResumeDate(row.iso), row.shown) << row.iso;
        EXPECT_EQ(ReadResumeDate(row.shown), std::optional<std::string>(row.readBack)) << row.iso;
    }
    // What people type.
    EXPECT_EQ(ReadResumeDate("December 2013"), "2013-12");
    EXPECT_EQ(ReadResumeDate("sept. 2020"), "2020-09");
    EXPECT_EQ(ReadResumeDate(" Mar 1999 "), "1999-03");
    for (const char* text : {"Summer 2014", "Ma 2014", "Dec 13", "3000", "2014-1", "", "today"}) {
        EXPECT_FALSE(ReadResumeDate(text)) << text;
    }
    EXPECT_EQ(FormatResumeDate("Summer 2014"), "Summer 2014");
}

TEST(ResumeDates, SpansUseAnEnDashAndTodayForAnOpenEnd) {
    using Range = DateRange;
    struct Row {
        Range range;
        const char* shown;
    };
    const Row rows[] = {
        {{"2013-12-01", "2014-12-01"}, "Dec 2013 \u2013 Dec 2014"},
        {{"2020-02-01", std::nullopt}, "Feb 2020 \u2013 today"},
        {{std::nullopt, "2014"}, "until 2014"},
        {{"2016-08-24", "2016-08-24"}, "Aug 2016"},
        {{std::nullopt, std::nullopt}, ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(FormatDateRange(row.range), row.shown);
        if (*row.shown != '\0') {
            const auto back = ReadDateRange(row.shown, true);
            ASSERT_TRUE(back) << row.shown;
            EXPECT_EQ(back->start.has_value(), row.range.start.has_value()) << row.shown;
            EXPECT_EQ(back->end.has_value(), row.range.end.has_value()) << row.shown;
        }
    }
    EXPECT_EQ(ReadDateRange("2018 - 2022", true), (Range{"2018", "2022"}));
    EXPECT_EQ(ReadDateRange("Jan 2020 - Present", true), (Range{"2020-01", std::nullopt}));
    EXPECT_EQ(ReadDateRange("2019-03\u20132020-04", true), (Range{"2019-03", "2020-04"}));
    // Strict reading is for the bracket after a title, which may hold anything.
    EXPECT_FALSE(ReadDateRange("Contract", true));
    EXPECT_FALSE(ReadDateRange("part time - remote", true));
    EXPECT_FALSE(ReadDateRange("today", true));
    EXPECT_EQ(ReadDateRange("Summer 2014 \u2013 today", false),
              (Range{"Summer 2014", std::nullopt}));
}

} // namespace
} // namespace trellic
