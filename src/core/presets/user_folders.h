#pragma once

#include "presets/node_presets.h"

#include <string>
#include <vector>

namespace trellic {

// The user's own data folder: $XDG_DATA_HOME/trellic, or ~/.local/share/trellic when
// XDG_DATA_HOME is not set, empty or not an absolute path. Empty when there is no home either.
// The user's templates and presets live here, beside the program's, which an installation keeps
// read-only. This is the user's data, not configuration: the program reads it, and writes only
// what the user saves.
std::string UserDataFolder();
// Below it: "templates", and "node_library/<category>". Empty when UserDataFolder is.
std::string UserTemplatesFolder();
std::string UserNodeLibraryFolder(PresetCategory category);

// The folders New from Template offers templates from: the program's, then the user's when it
// exists.
std::vector<std::string> TemplateFolders(const std::string& programFolder);

// The resume files in folders that a template gallery offers (.tlx, .rtf and .txt, as Open reads
// them), sorted by name within each folder, folder after folder. Sub-folders are not searched.
std::vector<std::string> TemplateFiles(const std::vector<std::string>& folders);

// Where Load Preset... starts: the user's folder of the category once it holds a preset, else
// the program's.
std::string PresetLoadFolder(const std::string& programFolder, PresetCategory category);
// Where Save Preset As... starts: nowhere in particular (empty) while the program's folder of
// the category can be written, as in a build tree; otherwise (an installed program) the user's
// folder of the category, made when missing. Empty too when that cannot be made.
std::string PresetSaveFolder(const std::string& programFolder, PresetCategory category);
// The folders a preset chooser lists beside its own: the program's and the user's of the
// category, each only when it exists.
std::vector<std::string> PresetPlaces(const std::string& programFolder, PresetCategory category);

} // namespace trellic
