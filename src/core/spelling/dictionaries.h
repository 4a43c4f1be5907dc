#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trellic {

// A dictionary on this system: its language ("en_US") and its affix file, with the word file
// beside it.
struct InstalledDictionary {
    std::string language;
    std::string affixPath;

    bool operator==(const InstalledDictionary&) const = default;
};

// The folders the spell checker library looks in, in its order: $DICPATH, the user's and the
// system's hunspell and myspell folders.
std::vector<std::string> DictionaryFolders();

// The dictionaries in the folders, sorted by language; a language found twice is taken from the
// first folder that holds it.
std::vector<InstalledDictionary> FindDictionaries(const std::vector<std::string>& folders);

// The language part of a locale name as the environment gives it: "en_GB" for "en_GB.UTF-8" or
// "en_GB.utf8@euro"; empty for "C", "POSIX" or nothing.
std::string LocaleLanguage(std::string_view locale);

// The user's language by the environment: LC_ALL, then LC_MESSAGES, then LANG, the first that
// is set and not empty.
std::string EnvironmentLanguage();

// The dictionary to start with: the one of the wanted language; else one of the same language
// in another country (the language's own country first, "de_DE" for "de_AT"); else en_US; else
// the first installed. Null when none is installed.
const InstalledDictionary* ChooseDictionary(const std::vector<InstalledDictionary>& installed,
                                            std::string_view wanted);

// The dictionary of exactly that language, or null.
const InstalledDictionary* FindLanguage(const std::vector<InstalledDictionary>& installed,
                                        std::string_view language);

} // namespace trellic
