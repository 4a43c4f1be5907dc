#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace trellic {

// A stretch of a text, counted in characters (code points) from the text's start.
struct TextSpan {
    std::size_t start = 0;
    std::size_t length = 0;

    std::size_t End() const { return start + length; }
    bool operator==(const TextSpan&) const = default;
};

// The words of a text that are worth a spell check: letters with their combining marks, joined
// by apostrophes and hyphens that stand between them ("don't", "well-known"). Left out: e-mail
// and web addresses, anything holding a digit or an underscore ("3rd", "COVID-19", "B2B",
// "snake_case"), and dotted names ("e.g.", "Node.js", "example.com"), which no dictionary
// knows and a resume is full of.
std::vector<TextSpan> SplitWords(std::u32string_view text);

// The parts of a word between its hyphens, relative to the word; one part when it has none.
std::vector<TextSpan> HyphenatedParts(std::u32string_view word);

} // namespace trellic
