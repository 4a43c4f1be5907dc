#pragma once

#include "richtext/rich_format.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace trellic {

// Paragraph numbering as the control shows it, for every side that draws or writes its labels:
// the RTF writer, the view and the printed page.

// Whether a numbering value (kPfn*) makes a list: bullets and the five numbered styles.
bool IsListNumbering(uint16_t numbering);

// Neighbouring numbered paragraphs whose formats agree on these form one list, counted from its
// first paragraph's start.
bool SameList(const RichParaFormat& a, const RichParaFormat& b);

// The text around an item's number for a numbering style (kPfns*): "(" and ")", "" and ".",
// nothing, or "" and ")" for any other style.
struct ListPunctuation {
    std::string_view before;
    std::string_view after;
};
ListPunctuation PunctuationOf(uint16_t numberingStyle);

// The label of item `number` of a numbered list ("12.", "ab)", "(iv)"). Numbers that letters
// or roman numerals cannot write (0 and below; roman numerals above 3999) are written in digits.
// Bullets have a symbol, not a label.
std::string ListItemLabel(uint16_t numbering, uint16_t numberingStyle, long number);

} // namespace trellic
