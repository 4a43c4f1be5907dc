#include "exchange/resume_dates.h"

#include <array>
#include <cctype>

namespace trellic {

namespace {

constexpr std::array<std::string_view, 12> kMonths = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// The open end of a span, as people write it.
constexpr std::array<std::string_view, 6> kOpenEnds = {"today",   "present", "now",
                                                       "current", "ongoing", "date"};

bool Digits(std::string_view text) {
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

bool SameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// 1 to 12 for a month's name or its abbreviation of three letters or more ("Sep", "Sept.").
int MonthNumber(std::string_view word) {
    if (!word.empty() && word.back() == '.') {
        word.remove_suffix(1);
    }
    if (!word.empty() && word.back() == ',') {
        word.remove_suffix(1);
    }
    if (word.size() < 3) {
        return 0;
    }
    for (std::size_t m = 0; m < kMonths.size(); ++m) {
        if (word.size() <= kMonths[m].size() &&
            SameLetters(word, kMonths[m].substr(0, word.size()))) {
            return static_cast<int>(m) + 1;
        }
    }
    return 0;
}

bool IsOpenEnd(std::string_view text) {
    for (const std::string_view word : kOpenEnds) {
        if (SameLetters(text, word)) {
            return true;
        }
    }
    return false;
}

// An end of a span: the date it names, the text itself when not strict, nothing otherwise.
std::optional<std::string> ReadEnd(std::string_view text, bool strict) {
    if (auto date = ReadResumeDate(text)) {
        return date;
    }
    if (strict) {
        return std::nullopt;
    }
    return std::string(text);
}

} // namespace

bool IsSchemaDate(std::string_view text) {
    auto year = [](std::string_view y) {
        return y.size() == 4 && Digits(y) && (y[0] == '1' || y[0] == '2');
    };
    auto part = [](std::string_view p, char firstMax) {
        return p.size() == 2 && Digits(p) && p[0] <= firstMax;
    };
    switch (text.size()) {
    case 4:
        return year(text);
    case 7:
        return year(text.substr(0, 4)) && text[4] == '-' && part(text.substr(5), '1');
    case 10:
        return year(text.substr(0, 4)) && text[4] == '-' && part(text.substr(5, 2), '1') &&
               text[7] == '-' && part(text.substr(8), '3');
    default:
        return false;
    }
}

std::string FormatResumeDate(std::string_view iso) {
    if (!IsSchemaDate(iso)) {
        return std::string(iso);
    }
    if (iso.size() == 4) {
        return std::string(iso);
    }
    const int month = (iso[5] - '0') * 10 + (iso[6] - '0');
    if (month < 1 || month > 12) {
        return std::string(iso);
    }
    return std::string(kMonths[static_cast<std::size_t>(month - 1)].substr(0, 3)) + " " +
           std::string(iso.substr(0, 4));
}

std::optional<std::string> ReadResumeDate(std::string_view text) {
    text = Trimmed(text);
    if (IsSchemaDate(text)) {
        return std::string(text);
    }
    const auto space = text.find(' ');
    if (space == std::string_view::npos) {
        return std::nullopt;
    }
    const int month = MonthNumber(text.substr(0, space));
    const std::string_view year = Trimmed(text.substr(space + 1));
    if (month == 0 || year.size() != 4 || !Digits(year)) {
        return std::nullopt;
    }
    return std::string(year) + (month < 10 ? "-0" : "-") + std::to_string(month);
}

std::string FormatDateRange(const DateRange& range) {
    if (range.start && range.end) {
        if (*range.start == *range.end) {
            return FormatResumeDate(*range.start);
        }
        return FormatResumeDate(*range.start) + " \u2013 " + FormatResumeDate(*range.end);
    }
    if (range.start) {
        return FormatResumeDate(*range.start) + " \u2013 today";
    }
    if (range.end) {
        return "until " + FormatResumeDate(*range.end);
    }
    return {};
}

std::optional<DateRange> ReadDateRange(std::string_view text, bool strict) {
    text = Trimmed(text);
    if (text.empty()) {
        return std::nullopt;
    }
    DateRange range;
    constexpr std::string_view kUntil = "until ";
    if (text.size() > kUntil.size() && SameLetters(text.substr(0, kUntil.size()), kUntil)) {
        range.end = ReadEnd(Trimmed(text.substr(kUntil.size())), strict);
        return range.end ? std::optional(range) : std::nullopt;
    }
    // Spaced separators first: a bare hyphen is part of a date written the schema's way.
    for (const std::string_view separator :
         {" \u2013 ", " \u2014 ", " - ", " to ", "\u2013", "\u2014"}) {
        const auto at = text.find(separator);
        if (at == std::string_view::npos) {
            continue;
        }
        const std::string_view left = Trimmed(text.substr(0, at));
        const std::string_view right = Trimmed(text.substr(at + separator.size()));
        if (!left.empty()) {
            range.start = ReadEnd(left, strict);
            if (!range.start) {
                return std::nullopt;
            }
        }
        if (!IsOpenEnd(right)) {
            range.end = ReadEnd(right, strict);
            if (!range.end) {
                return std::nullopt;
            }
        } else if (!range.start) {
            return std::nullopt;
        }
        return range;
    }
    if (IsOpenEnd(text)) {
        return std::nullopt;
    }
    range.start = ReadEnd(text, strict);
    if (!range.start) {
        return std::nullopt;
    }
    range.end = range.start;
    return range;
}

} // namespace trellic
