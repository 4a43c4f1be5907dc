#include "spelling/word_splitter.h"

#include <unicode/uchar.h>

namespace trellic {

namespace {

bool IsLetter(char32_t c) {
    return u_isUAlphabetic(static_cast<UChar32>(c)) != 0;
}

bool IsMark(char32_t c) {
    return (U_GET_GC_MASK(static_cast<UChar32>(c)) & U_GC_M_MASK) != 0;
}

// Digits of any script, and numbers like superscripts and fractions.
bool IsNumeric(char32_t c) {
    return u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_NUMERIC_TYPE) != U_NT_NONE;
}

// What a word is made of; digits and underscores are taken in so that the whole token can be
// left out rather than checked in pieces.
bool IsWordCharacter(char32_t c) {
    return IsLetter(c) || IsMark(c) || IsNumeric(c) || c == U'_';
}

bool IsApostrophe(char32_t c) {
    return c == U'\'' || c == U'\u2019';
}

bool IsHyphen(char32_t c) {
    return c == U'-' || c == U'\u2010' || c == U'\u2011';
}

bool IsSpace(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n' || c == U'\v' || c == U'\f' ||
           u_isUWhiteSpace(static_cast<UChar32>(c)) != 0;
}

char32_t Lower(char32_t c) {
    return c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c;
}

bool StartsWithWww(std::u32string_view text) {
    return text.size() > 4 && Lower(text[0]) == U'w' && Lower(text[1]) == U'w' &&
           Lower(text[2]) == U'w' && text[3] == U'.';
}

// A run of text between white space that is an address as a whole: its letters are no words.
bool IsAddress(std::u32string_view chunk) {
    if (chunk.find(U'@') != std::u32string_view::npos ||
        chunk.find(U"://") != std::u32string_view::npos) {
        return true;
    }
    std::size_t first = 0;
    while (first < chunk.size() && !IsWordCharacter(chunk[first])) {
        ++first;
    }
    if (StartsWithWww(chunk.substr(first))) {
        return true;
    }
    // "github.com/ann": a dotted name with a path.
    if (chunk.find(U'/') == std::u32string_view::npos) {
        return false;
    }
    for (std::size_t i = 1; i + 1 < chunk.size(); ++i) {
        if (chunk[i] == U'.' && IsWordCharacter(chunk[i - 1]) && IsWordCharacter(chunk[i + 1])) {
            return true;
        }
    }
    return false;
}

// Adds the words of one run of text between white space.
void SplitChunk(std::u32string_view text, std::size_t begin, std::size_t end,
                std::vector<TextSpan>& words) {
    std::size_t i = begin;
    while (i < end) {
        if (!IsWordCharacter(text[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        bool skip = false;
        for (;;) {
            while (i < end && IsWordCharacter(text[i])) {
                skip = skip || IsNumeric(text[i]) || text[i] == U'_';
                ++i;
            }
            // A joiner counts only between two word characters: quotes and dashes around a
            // word are not part of it.
            if (i + 1 < end && IsWordCharacter(text[i + 1]) &&
                (IsApostrophe(text[i]) || IsHyphen(text[i]) || text[i] == U'.')) {
                skip = skip || text[i] == U'.';
                ++i;
                continue;
            }
            break;
        }
        if (!skip && IsLetter(text[start])) {
            words.push_back({start, i - start});
        }
    }
}

} // namespace

std::vector<TextSpan> SplitWords(std::u32string_view text) {
    std::vector<TextSpan> words;
    std::size_t i = 0;
    while (i < text.size()) {
        if (IsSpace(text[i])) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !IsSpace(text[end])) {
            ++end;
        }
        if (!IsAddress(text.substr(i, end - i))) {
            SplitChunk(text, i, end, words);
        }
        i = end;
    }
    return words;
}

std::vector<TextSpan> HyphenatedParts(std::u32string_view word) {
    std::vector<TextSpan> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= word.size(); ++i) {
        if (i == word.size() || IsHyphen(word[i])) {
            if (i > start) {
                parts.push_back({start, i - start});
            }
            start = i + 1;
        }
    }
    return parts;
}

} // namespace trellic
