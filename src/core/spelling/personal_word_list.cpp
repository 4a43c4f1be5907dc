#include "spelling/personal_word_list.h"

#include "engine/code_page.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>

namespace trellic {

namespace fs = std::filesystem;

namespace {

// The words of the file's lines, without the carriage returns another editor may have left and
// without blank lines.
std::vector<std::string> ParseWords(std::string_view bytes) {
    std::vector<std::string> words;
    while (!bytes.empty()) {
        const std::size_t end = std::min(bytes.find('\n'), bytes.size());
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(std::min(end + 1, bytes.size()));
        while (!line.empty() &&
               (line.back() == '\r' || line.back() == ' ' || line.back() == '\t')) {
            line.remove_suffix(1);
        }
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
            line.remove_prefix(1);
        }
        if (!line.empty()) {
            words.emplace_back(line);
        }
    }
    return words;
}

bool IsMissing(const FileResult& result) {
    return result.failedAt == FileResult::Stage::Open && result.reason == std::strerror(ENOENT);
}

FileResult Refused(const std::string& path, const std::string& why) {
    FileResult result;
    result.failedAt = FileResult::Stage::Open;
    result.reason = why;
    result.message = path + " (" + why + ")";
    return result;
}

// Creates the folders of path that do not exist yet, each readable by the user alone.
FileResult CreateFolders(const fs::path& folder) {
    // Outermost first.
    std::vector<fs::path> missing;
    std::error_code error;
    for (fs::path p = folder; !p.empty() && !fs::exists(p, error); p = p.parent_path()) {
        missing.insert(missing.begin(), p);
        if (p == p.parent_path()) {
            break;
        }
    }
    for (const fs::path& p : missing) {
        if (::mkdir(p.c_str(), 0700) != 0 && errno != EEXIST) {
            return Refused(p.string(), std::strerror(errno));
        }
    }
    FileResult result;
    result.ok = true;
    return result;
}

} // namespace

FileResult PersonalWordList::Load() {
    if (m_path.empty()) {
        return Refused("the personal dictionary", "neither XDG_DATA_HOME nor HOME is set");
    }
    std::string bytes;
    FileResult result = ReadWholeFile(m_path, bytes, kMaxBytes);
    if (IsMissing(result)) {
        m_words.clear();
        result = {};
        result.ok = true;
        return result;
    }
    if (result.ok) {
        m_words = ParseWords(bytes);
    }
    return result;
}

FileResult PersonalWordList::Add(std::string_view word) {
    if (m_path.empty()) {
        return Refused("the personal dictionary", "neither XDG_DATA_HOME nor HOME is set");
    }
    // Malformed UTF-8 decodes to U+FFFD, which no word holds.
    if (word.empty() || word.find_first_of("\r\n") != std::string_view::npos ||
        DecodeUtf8(word).find(U'\uFFFD') != std::u32string::npos) {
        return Refused(m_path, "not a word");
    }
    std::string bytes;
    FileResult result = ReadWholeFile(m_path, bytes, kMaxBytes);
    if (!result.ok && !IsMissing(result)) {
        return result;
    }
    std::vector<std::string> words = ParseWords(bytes);
    if (std::find(words.begin(), words.end(), word) == words.end()) {
        if (!bytes.empty() && bytes.back() != '\n') {
            bytes += '\n';
        }
        bytes.append(word);
        bytes += '\n';
        result = CreateFolders(fs::path(m_path).parent_path());
        if (!result.ok) {
            return result;
        }
        result = WriteFileAtomically(m_path, bytes);
        if (!result.ok) {
            return result;
        }
        words.emplace_back(word);
    }
    m_words = std::move(words);
    result = {};
    result.ok = true;
    return result;
}

std::string PersonalWordListPath() {
    const char* data = std::getenv("XDG_DATA_HOME");
    std::string folder;
    if (data != nullptr && data[0] == '/') {
        folder = data;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] != '/') {
            return {};
        }
        folder = std::string(home) + "/.local/share";
    }
    return folder + "/trellic/personal-dictionary.txt";
}

} // namespace trellic
