#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace trellic {

// A span of time as a resume states it: either end may be missing.
struct DateRange {
    std::optional<std::string> start;
    std::optional<std::string> end;

    bool operator==(const DateRange&) const = default;
};

// A JSON Resume date ("2013-12-01", "2013-12", "2013") for reading: "Dec 2013", "2013". A text
// that is no such date is shown as it stands.
std::string FormatResumeDate(std::string_view iso);

// The date a reader wrote ("Dec 2013", "December 2013", "2013", "2013-12-01") as the schema
// writes it ("2013-12", "2013", "2013-12-01"); nothing when it is no date.
std::optional<std::string> ReadResumeDate(std::string_view text);

// "Dec 2013 – Dec 2014", "Dec 2013 – today" for an open end, "until Dec 2014" without a start,
// one date when both ends are the same; empty when neither end is given.
std::string FormatDateRange(const DateRange& range);

// Reads what FormatDateRange writes, and what people type ("2018 - 2022", "Jan 2020 - present").
// With strict, every end must be a date (the bracket after a title may be anything else);
// otherwise an end that is no date is kept as it was written.
std::optional<DateRange> ReadDateRange(std::string_view text, bool strict);

// Whether a text matches the schema's date pattern (year, year-month or year-month-day).
bool IsSchemaDate(std::string_view text);

} // namespace trellic
