#include "spelling/dictionaries.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <nuspell/finder.hxx>
#include <set>

namespace trellic {

namespace fs = std::filesystem;

namespace {

std::string_view LanguageCode(std::string_view language) {
    return language.substr(0, language.find('_'));
}

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return upper;
}

} // namespace

std::vector<std::string> DictionaryFolders() {
    std::vector<fs::path> paths;
    nuspell::append_default_dir_paths(paths);
    std::vector<std::string> folders;
    folders.reserve(paths.size());
    for (const fs::path& path : paths) {
        folders.push_back(path.string());
    }
    return folders;
}

std::vector<InstalledDictionary> FindDictionaries(const std::vector<std::string>& folders) {
    std::vector<fs::path> paths(folders.begin(), folders.end());
    std::vector<fs::path> affixFiles;
    try {
        nuspell::search_dirs_for_dicts(paths, affixFiles);
    } catch (const std::exception&) {
        // A folder that cannot be read holds no dictionaries; what was found before it stays.
    }
    std::vector<InstalledDictionary> found;
    std::set<std::string> languages;
    for (const fs::path& path : affixFiles) {
        const std::string language = path.stem().string();
        // Hyphenation patterns may share the folders but check no spelling.
        if (language.rfind("hyph_", 0) == 0 || !languages.insert(language).second) {
            continue;
        }
        found.push_back({language, path.string()});
    }
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.language < b.language; });
    return found;
}

std::string LocaleLanguage(std::string_view locale) {
    const std::string_view language = locale.substr(0, locale.find_first_of(".@"));
    if (language.empty() || language == "C" || language == "POSIX") {
        return {};
    }
    return std::string(language);
}

std::string EnvironmentLanguage() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && value[0] != '\0') {
            return LocaleLanguage(value);
        }
    }
    return {};
}

const InstalledDictionary* FindLanguage(const std::vector<InstalledDictionary>& installed,
                                        std::string_view language) {
    const auto it = std::find_if(installed.begin(), installed.end(),
                                 [&](const auto& d) { return d.language == language; });
    return it == installed.end() ? nullptr : &*it;
}

const InstalledDictionary* ChooseDictionary(const std::vector<InstalledDictionary>& installed,
                                            std::string_view wanted) {
    if (installed.empty()) {
        return nullptr;
    }
    if (const InstalledDictionary* exact = FindLanguage(installed, wanted)) {
        return exact;
    }
    const std::string_view code = LanguageCode(wanted);
    if (!code.empty()) {
        const std::string own = std::string(code) + "_" + Upper(code);
        if (const InstalledDictionary* home = FindLanguage(installed, own)) {
            return home;
        }
        for (const InstalledDictionary& dictionary : installed) {
            if (LanguageCode(dictionary.language) == code) {
                return &dictionary;
            }
        }
    }
    if (const InstalledDictionary* american = FindLanguage(installed, "en_US")) {
        return american;
    }
    return &installed.front();
}

} // namespace trellic
