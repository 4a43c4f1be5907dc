#pragma once

#include "richtext/rich_format.h"

#include <cstddef>
#include <optional>

namespace trellic {

// The rules by which a selection [min, max) meets the formats of the text, in the control's
// counting (one position per character and per paragraph break). The engine's buffer and the
// view on screen walk their own text and ask these.

// The last position whose paragraph a selection touches: a selection that ends just behind a
// paragraph break stops there and does not reach into the next paragraph. An insertion point
// touches its own.
inline std::size_t LastTouchedPosition(std::size_t min, std::size_t max) {
    return max > min ? max - 1 : min;
}

// Whether the selection holds the paragraph break at position `breakAt`, and with it the
// paragraph's mark, which then takes the selection's character formats too.
inline bool HoldsBreak(std::size_t breakAt, std::size_t min, std::size_t max) {
    return breakAt >= min && breakAt < max;
}

// The character format a selection reports, gathered over the selected runs in order: the
// first run's format, with mask bits only for the attributes every run shares. A selection of
// paragraph breaks alone reports the first selected paragraph's mark.
class CharFormatOfSelection {
public:
    void Add(const RichCharFormat& run);
    RichCharFormat Reported(const RichCharFormat& firstMark) const;

private:
    std::optional<RichCharFormat> m_first;
    uint32_t m_mask = kCfmAll;
};

// The paragraph format a selection reports, gathered over the paragraphs it touches in order:
// the first one's format, with mask bits only for the attributes every one shares.
class ParaFormatOfSelection {
public:
    void Add(const RichParaFormat& paragraph);
    RichParaFormat Reported() const;

private:
    std::optional<RichParaFormat> m_first;
    uint32_t m_mask = kPfmAll;
};

} // namespace trellic
