#include "presets/user_folders.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace trellic {

namespace fs = std::filesystem;

namespace {

bool IsFolder(const std::string& path) {
    std::error_code error;
    return !path.empty() && fs::is_directory(path, error);
}

bool HoldsPreset(const std::string& folder) {
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        if (it->path().extension() == ".nod" && it->is_regular_file(error)) {
            return true;
        }
    }
    return false;
}

} // namespace

std::string UserDataFolder() {
    // The desktop's rules: a relative path in the variable is to be ignored, not resolved.
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && data[0] == '/') {
        return std::string(data) + "/trellic";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.local/share/trellic";
    }
    return {};
}

std::string UserTemplatesFolder() {
    const std::string user = UserDataFolder();
    return user.empty() ? user : user + "/templates";
}

std::string UserNodeLibraryFolder(PresetCategory category) {
    const std::string user = UserDataFolder();
    return user.empty() ? user : user + "/node_library/" + PresetFolderName(category);
}

std::vector<std::string> TemplateFolders(const std::string& programFolder) {
    std::vector<std::string> folders{programFolder + "/templates"};
    if (const std::string user = UserTemplatesFolder(); IsFolder(user)) {
        folders.push_back(user);
    }
    return folders;
}

std::vector<std::string> TemplateFiles(const std::vector<std::string>& folders) {
    std::vector<std::string> files;
    for (const std::string& folder : folders) {
        std::vector<std::string> found;
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            const std::string extension = it->path().extension().string();
            if ((extension == ".tlx" || extension == ".rtf" || extension == ".txt") &&
                it->is_regular_file(error)) {
                found.push_back(it->path().string());
            }
        }
        std::sort(found.begin(), found.end());
        files.insert(files.end(), found.begin(), found.end());
    }
    return files;
}

std::string PresetLoadFolder(const std::string& programFolder, PresetCategory category) {
    const std::string user = UserNodeLibraryFolder(category);
    return IsFolder(user) && HoldsPreset(user) ? user : NodeLibraryFolder(programFolder, category);
}

std::string PresetSaveFolder(const std::string& programFolder, PresetCategory category) {
    const std::string own = NodeLibraryFolder(programFolder, category);
    if (IsFolder(own) && ::access(own.c_str(), W_OK) == 0) {
        return {};
    }
    std::string user = UserNodeLibraryFolder(category);
    std::error_code error;
    if (user.empty() || (!fs::create_directories(user, error) && error)) {
        return {};
    }
    return user;
}

std::vector<std::string> PresetPlaces(const std::string& programFolder, PresetCategory category) {
    std::vector<std::string> places;
    for (const std::string& folder :
         {NodeLibraryFolder(programFolder, category), UserNodeLibraryFolder(category)}) {
        if (IsFolder(folder)) {
            places.push_back(folder);
        }
    }
    return places;
}

} // namespace trellic
