#include "richtext/font_charsets.h"

#include "engine/code_page.h"
#include "richtext/code_pages.h"

#include <span>

namespace trellic {

namespace {

constexpr uint8_t kEastEurope = 238;
constexpr uint8_t kCyrillic = 204;
constexpr uint8_t kGreek = 161;
constexpr uint8_t kTurkish = 162;
constexpr uint8_t kVietnamese = 163;
constexpr uint8_t kHebrew = 177;
constexpr uint8_t kArabic = 178;
constexpr uint8_t kBaltic = 186;
constexpr uint8_t kGb2312 = 134;
constexpr uint8_t kBig5 = 136;
constexpr uint8_t kShiftJis = 128;
constexpr uint8_t kHangul = 129;
constexpr uint8_t kThai = 222;

// Letters only Vietnamese writes: those with a hook, a dot below or a horn.
bool IsVietnamese(char32_t c) {
    return (c >= 0x1EA0 && c <= 0x1EF9) || c == 0x01A0 || c == 0x01A1 || c == 0x01AF || c == 0x01B0;
}

bool IsHan(char32_t c) {
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0x3000 && c <= 0x303F) ||
           (c >= 0xFF00 && c <= 0xFFEF);
}

// The character sets that may show a character Windows-1252 does not hold, best first; empty
// when none does.
std::span<const uint8_t> Candidates(char32_t c) {
    static constexpr uint8_t kLatin[] = {kEastEurope, kTurkish, kBaltic, kVietnamese};
    static constexpr uint8_t kChinese[] = {kGb2312, kBig5};
    static constexpr uint8_t kSingle[] = {kVietnamese, kGreek, kCyrillic, kHebrew,
                                          kArabic,     kThai,  kShiftJis, kHangul};
    auto one = [](size_t index) { return std::span<const uint8_t>(kSingle + index, 1); };
    if (IsVietnamese(c)) {
        return one(0);
    }
    if ((c >= 0x0100 && c <= 0x024F) || (c >= 0x1E00 && c <= 0x1EFF)) {
        return kLatin;
    }
    if ((c >= 0x0370 && c <= 0x03FF) || (c >= 0x1F00 && c <= 0x1FFF)) {
        return one(1);
    }
    if (c >= 0x0400 && c <= 0x052F) {
        return one(2);
    }
    if ((c >= 0x0590 && c <= 0x05FF) || (c >= 0xFB1D && c <= 0xFB4F)) {
        return one(3);
    }
    if ((c >= 0x0600 && c <= 0x06FF) || (c >= 0x0750 && c <= 0x077F) ||
        (c >= 0xFB50 && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF)) {
        return one(4);
    }
    if (c >= 0x0E00 && c <= 0x0E7F) {
        return one(5);
    }
    if ((c >= 0x3040 && c <= 0x30FF) || (c >= 0x31F0 && c <= 0x31FF)) {
        return one(6);
    }
    if ((c >= 0xAC00 && c <= 0xD7AF) || (c >= 0x1100 && c <= 0x11FF) ||
        (c >= 0x3130 && c <= 0x318F)) {
        return one(7);
    }
    if (IsHan(c)) {
        return kChinese;
    }
    return {};
}

bool Holds(uint8_t charSet, char32_t c) {
    if (charSet == kVietnamese && IsVietnamese(c)) {
        return true; // the code page writes them as a letter and a combining accent
    }
    if (charSet == kGb2312) {
        return CodePageHolds(20936, c);
    }
    const int codePage = CodePageOfScriptCharSet(charSet);
    return codePage != 0 && CodePageHolds(codePage, c);
}

bool IsWordCharacter(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
           (c >= 0xC0 && c != 0xD7 && c != 0xF7 && !(c >= 0x2000 && c <= 0x206F));
}

bool NeedsOtherCharSet(char32_t c) {
    return c >= 0x80 && !UnicodeToCp1252(c);
}

} // namespace

int CodePageOfScriptCharSet(uint8_t charSet) {
    switch (charSet) {
    case kEastEurope:
        return 1250;
    case kCyrillic:
        return 1251;
    case kGreek:
        return 1253;
    case kTurkish:
        return 1254;
    case kHebrew:
        return 1255;
    case kArabic:
        return 1256;
    case kBaltic:
        return 1257;
    case kVietnamese:
        return 1258;
    case kThai:
        return 874;
    case kShiftJis:
        return 932;
    case kGb2312:
        return 936;
    case kHangul:
        return 949;
    case kBig5:
        return 950;
    default:
        return 0;
    }
}

std::vector<CharSetPiece> SplitByCharSet(std::u32string_view text, uint8_t charSet) {
    size_t first = 0;
    while (first < text.size() && !NeedsOtherCharSet(text[first])) {
        ++first;
    }
    if (first == text.size()) {
        return {{0, text.size(), charSet}}; // the common case: nothing to split
    }
    std::vector<CharSetPiece> pieces;
    CharSetPiece current{0, 0, charSet};
    auto close = [&](size_t at, uint8_t next) {
        current.end = at;
        if (current.end > current.begin) {
            pieces.push_back(current);
        }
        current = {at, at, next};
    };
    for (size_t i = first; i < text.size(); ++i) {
        const char32_t c = text[i];
        if (current.charSet != charSet && Holds(current.charSet, c)) {
            continue;
        }
        const auto candidates = Candidates(c);
        if (!NeedsOtherCharSet(c) || candidates.empty()) {
            if (current.charSet != charSet) {
                close(i, charSet);
            }
            continue;
        }
        // The character set that holds the longest stretch from here on.
        uint8_t best = candidates.front();
        size_t bestReach = 0;
        for (const uint8_t candidate : candidates) {
            size_t reach = i;
            while (reach < text.size() && Holds(candidate, text[reach])) {
                ++reach;
            }
            if (reach > bestReach) {
                best = candidate;
                bestReach = reach;
            }
        }
        // The start of the word goes along, so a word is written in one font where it can be.
        size_t start = i;
        if (current.charSet == charSet) {
            while (start > current.begin && IsWordCharacter(text[start - 1]) &&
                   Holds(best, text[start - 1])) {
                --start;
            }
        }
        close(start, best);
    }
    close(text.size(), charSet);
    return pieces;
}

} // namespace trellic
