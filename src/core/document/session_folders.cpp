#include "document/session_folders.h"

#include <filesystem>

namespace trellic {

namespace fs = std::filesystem;

namespace {

// Compared as written once "." and ".." are resolved; links are not followed, which would
// touch the disk for what is only a suggestion.
fs::path Normal(const std::string& path) {
    fs::path normal = fs::path(path).lexically_normal();
    if (!normal.empty() && !normal.has_filename()) {
        normal = normal.parent_path(); // "/a/b/" is "/a/b"
    }
    return normal;
}

bool IsBelow(const fs::path& path, const fs::path& folder) {
    auto p = path.begin();
    for (auto f = folder.begin(); f != folder.end(); ++f, ++p) {
        if (p == path.end() || *p != *f) {
            return false;
        }
    }
    return true;
}

} // namespace

void SessionFolders::AddProgramFolder(std::string folder) {
    if (!folder.empty()) {
        m_programFolders.push_back(std::move(folder));
    }
}

std::string SessionFolders::OpenFolder() const {
    return m_lastUsed.empty() ? m_documents : m_lastUsed;
}

std::string SessionFolders::SaveFolder(const std::string& filePath) const {
    std::string folder = FolderOf(filePath);
    if (!folder.empty() && !IsProgramPath(folder)) {
        return folder;
    }
    return OpenFolder();
}

std::string SessionFolders::ExportName(const std::string& resumePath,
                                       const std::string& fallback) const {
    if (resumePath.empty() || IsProgramPath(resumePath)) {
        return fallback;
    }
    return BaseNameOf(resumePath);
}

void SessionFolders::Used(const std::string& path) {
    const std::string folder = FolderOf(path);
    if (!folder.empty() && !IsProgramPath(folder)) {
        m_lastUsed = folder;
    }
}

bool SessionFolders::IsProgramPath(const std::string& path) const {
    const fs::path normal = Normal(path);
    for (const std::string& folder : m_programFolders) {
        if (IsBelow(normal, Normal(folder))) {
            return true;
        }
    }
    return false;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {};
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    std::string name = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
    if (const std::size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0) {
        name.erase(dot);
    }
    return name;
}

} // namespace trellic
