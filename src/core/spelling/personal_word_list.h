#pragma once

#include "engine/file_io.h"

#include <string>
#include <string_view>
#include <vector>

namespace trellic {

// The words the user added to the dictionary, accepted in every language: the user's own data,
// a UTF-8 file with one word a line.
class PersonalWordList {
public:
    explicit PersonalWordList(std::string path) : m_path(std::move(path)) {}

    const std::string& Path() const { return m_path; }
    const std::vector<std::string>& Words() const { return m_words; }

    // Reads the file; a file that does not exist yet is an empty list. On failure the words
    // read before stay.
    [[nodiscard]] FileResult Load();

    // Adds a word and writes the file, creating its missing folders for the user alone (mode
    // 0700). The file is read again first and only appended to, so that what another copy of
    // the program added, and lines this one does not understand, are kept. A file that cannot
    // be read is not replaced: the word stays out of it and the failure is returned.
    [[nodiscard]] FileResult Add(std::string_view word);

    // Larger files are refused rather than read: a word list is never this big.
    static constexpr std::size_t kMaxBytes = std::size_t{2} << 20;

private:
    std::string m_path;
    std::vector<std::string> m_words;
};

// Where the list lives: $XDG_DATA_HOME/trellic/personal-dictionary.txt, with XDG_DATA_HOME
// taken as ~/.local/share when it is unset or not absolute; empty when HOME is needed and
// unset too.
std::string PersonalWordListPath();

} // namespace trellic
