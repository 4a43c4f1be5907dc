#pragma once

#include "model/archive.h"
#include "model/node_records.h"

#include <string>

namespace trellic {

class EngineLog;
class Prompter;
struct NodeTree;

// The seven kinds of settings a preset file can carry, one node library folder each.
enum class PresetCategory {
    Resume,
    Style,
    HeaderStyles,
    ResumeSectionStyles,
    SLFieldStyles,
    MLFieldStyles,
    ParagraphFormat,
};

inline constexpr PresetCategory kAllPresetCategories[] = {
    PresetCategory::Resume,          PresetCategory::Style,
    PresetCategory::HeaderStyles,    PresetCategory::ResumeSectionStyles,
    PresetCategory::SLFieldStyles,   PresetCategory::MLFieldStyles,
    PresetCategory::ParagraphFormat,
};

// The category's folder name below node_library ("resume", "header_styles", ...).
const char* PresetFolderName(PresetCategory category);
// The category of a folder name, or false when the name is none of the seven.
bool PresetCategoryFromName(const std::string& name, PresetCategory& category);

// The record parts a preset reads into or writes from, owned by the caller. Loading overwrites
// them in place, and only when the whole preset was read.
struct PresetParts {
    PresetCategory category = PresetCategory::Resume;
    ResumeNode* resume = nullptr;
    StyleNode* style = nullptr;
    bool* underline = nullptr;
    int32_t* bullet = nullptr;
    TextStyle* textStyle = nullptr;
    ParaFormat* paraFormat = nullptr;

    static PresetParts ForResume(ResumeNode& resume);
    static PresetParts ForStyle(StyleNode& style);
    static PresetParts ForHeaderStyles(bool& underline, TextStyle& style);
    // The three bullet categories share one layout and differ only in their folder.
    static PresetParts ForBulletStyles(PresetCategory category, int32_t& bullet, TextStyle& style);
    static PresetParts ForParagraphFormat(ParaFormat& format);
};

// Reads or writes the parts in the category's file layout.
void SerializePreset(Archive& ar, const PresetParts& parts);

// The node library folder of a category, and its default preset, below programFolder.
std::string NodeLibraryFolder(const std::string& programFolder, PresetCategory category);
std::string DefaultPresetPath(const std::string& programFolder, PresetCategory category);

enum class PresetReadResult {
    Read,
    NotOpened, // missing, locked or unreadable: nothing reported
    PastEnd,   // shorter than the category's records: reported; the parts keep their values
};

// Reads the preset at path into parts. Bytes after the last record are ignored, and a file of
// another category is read as if it were of this one.
PresetReadResult ReadPreset(const PresetParts& parts, const std::string& path, Prompter& prompter);

// Reads the category's default preset: the user's own (in the user's data folder) when there is
// one that reads, else the program's. A program's default that cannot be opened is reported with
// the node library error block; returns true only when the parts were loaded.
bool LoadDefaultPreset(const std::string& programFolder, const PresetParts& parts, EngineLog& log,
                       Prompter& prompter);

// Asks for a file name, in a chooser that starts in initialFolder (empty: the chooser's own
// choice), and writes the parts there, replacing the file only once the preset is complete.
// False when the user cancelled or the file could not be written (not reported).
bool SavePresetAs(const PresetParts& parts, Prompter& prompter,
                  const std::string& initialFolder = {});

// Empties the tree and starts the resume from the node library's "resume" default.
void ResetNodeTree(NodeTree& tree, EngineLog& log, Prompter& prompter);

} // namespace trellic
