#include "richtext/list_labels.h"

#include <utility>

namespace trellic {

namespace {

std::string Letters(long n, char base) {
    std::string text;
    while (n > 0) {
        --n;
        text.insert(text.begin(), static_cast<char>(base + n % 26));
        n /= 26;
    }
    return text;
}

std::string Roman(long n, bool upper) {
    static const std::pair<long, const char*> kParts[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    std::string text;
    for (const auto& [value, letters] : kParts) {
        while (n >= value) {
            text += letters;
            n -= value;
        }
    }
    if (upper) {
        for (char& c : text) {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

std::string Digits(uint16_t numbering, long number) {
    if (number <= 0) {
        return std::to_string(number);
    }
    switch (numbering) {
    case kPfnLowerLetter:
        return Letters(number, 'a');
    case kPfnUpperLetter:
        return Letters(number, 'A');
    case kPfnLowerRoman:
    case kPfnUpperRoman:
        return number > 3999 ? std::to_string(number) : Roman(number, numbering == kPfnUpperRoman);
    default:
        return std::to_string(number);
    }
}

} // namespace

bool IsListNumbering(uint16_t numbering) {
    return numbering >= kPfnBullet && numbering <= kPfnUpperRoman;
}

bool SameList(const RichParaFormat& a, const RichParaFormat& b) {
    return a.numbering == b.numbering && a.numberingStyle == b.numberingStyle &&
           a.numberingStart == b.numberingStart && a.bulletSymbol == b.bulletSymbol &&
           a.bulletFace == b.bulletFace && a.bulletCharSet == b.bulletCharSet;
}

ListPunctuation PunctuationOf(uint16_t numberingStyle) {
    switch (numberingStyle & 0xFF00) {
    case kPfnsParens:
        return {"(", ")"};
    case kPfnsPeriod:
        return {"", "."};
    case kPfnsPlain:
        return {"", ""};
    default:
        return {"", ")"};
    }
}

std::string ListItemLabel(uint16_t numbering, uint16_t numberingStyle, long number) {
    const ListPunctuation punctuation = PunctuationOf(numberingStyle);
    return std::string(punctuation.before) + Digits(numbering, number) +
           std::string(punctuation.after);
}

} // namespace trellic
