#include "presets/node_presets.h"

#include "engine/engine_log.h"
#include "engine/file_io.h"
#include "engine/prompter.h"
#include "model/node_tree.h"
#include "model/serialize.h"
#include "presets/user_folders.h"

#include <cstring>

namespace trellic {

namespace {

constexpr const char* kFolderNames[] = {
    "resume",          "style",           "header_styles",    "resume_section_styles",
    "sl_field_styles", "ml_field_styles", "paragraph_format",
};

const std::string kNodeLibraryErrorBlock = ErrorBlock(
    "NODE LIBRARY", "Trellic was unable to load a node preset from the Node Library.",
    "The node preset has been deleted or modified such that it cannot be opened.",
    "Use Trellic's 'Automatic Software Repair' feature. You can find information on how to do "
    "this in the Trellic Documentation under 'Troubleshooting'.",
    "The node preset is not loaded. All other program operations remain unaffected.");

// Copies of the parts a preset touches, so that a read that runs short changes nothing.
struct PartsCopy {
    explicit PartsCopy(const PresetParts& parts) : target(parts), scratch(parts) {
        if (parts.resume) {
            resume = *parts.resume;
            scratch.resume = &resume;
        }
        if (parts.style) {
            style = *parts.style;
            scratch.style = &style;
        }
        if (parts.underline) {
            underline = *parts.underline;
            scratch.underline = &underline;
        }
        if (parts.bullet) {
            bullet = *parts.bullet;
            scratch.bullet = &bullet;
        }
        if (parts.textStyle) {
            textStyle = *parts.textStyle;
            scratch.textStyle = &textStyle;
        }
        if (parts.paraFormat) {
            paraFormat = *parts.paraFormat;
            scratch.paraFormat = &paraFormat;
        }
    }

    void Commit() const {
        if (target.resume) {
            *target.resume = resume;
        }
        if (target.style) {
            *target.style = style;
        }
        if (target.underline) {
            *target.underline = underline;
        }
        if (target.bullet) {
            *target.bullet = bullet;
        }
        if (target.textStyle) {
            *target.textStyle = textStyle;
        }
        if (target.paraFormat) {
            *target.paraFormat = paraFormat;
        }
    }

    PresetParts target;
    PresetParts scratch;
    ResumeNode resume;
    StyleNode style;
    bool underline = false;
    int32_t bullet = 0;
    TextStyle textStyle;
    ParaFormat paraFormat;
};

} // namespace

const char* PresetFolderName(PresetCategory category) {
    return kFolderNames[static_cast<int>(category)];
}

bool PresetCategoryFromName(const std::string& name, PresetCategory& category) {
    for (const auto candidate : kAllPresetCategories) {
        if (name == PresetFolderName(candidate)) {
            category = candidate;
            return true;
        }
    }
    return false;
}

PresetParts PresetParts::ForResume(ResumeNode& resume) {
    PresetParts parts;
    parts.category = PresetCategory::Resume;
    parts.resume = &resume;
    return parts;
}

PresetParts PresetParts::ForStyle(StyleNode& style) {
    PresetParts parts;
    parts.category = PresetCategory::Style;
    parts.style = &style;
    return parts;
}

PresetParts PresetParts::ForHeaderStyles(bool& underline, TextStyle& style) {
    PresetParts parts;
    parts.category = PresetCategory::HeaderStyles;
    parts.underline = &underline;
    parts.textStyle = &style;
    return parts;
}

PresetParts PresetParts::ForBulletStyles(PresetCategory category, int32_t& bullet,
                                         TextStyle& style) {
    PresetParts parts;
    parts.category = category;
    parts.bullet = &bullet;
    parts.textStyle = &style;
    return parts;
}

PresetParts PresetParts::ForParagraphFormat(ParaFormat& format) {
    PresetParts parts;
    parts.category = PresetCategory::ParagraphFormat;
    parts.paraFormat = &format;
    return parts;
}

void SerializePreset(Archive& ar, const PresetParts& parts) {
    switch (parts.category) {
    case PresetCategory::Resume:
        SerializeResume(ar, *parts.resume);
        break;
    case PresetCategory::Style:
        SerializeStyle(ar, *parts.style);
        break;
    case PresetCategory::HeaderStyles:
        SerializeFlag(ar, *parts.underline);
        SerializeTextStyle(ar, *parts.textStyle);
        break;
    case PresetCategory::ResumeSectionStyles:
    case PresetCategory::SLFieldStyles:
    case PresetCategory::MLFieldStyles:
        SerializeValue(ar, *parts.bullet);
        SerializeTextStyle(ar, *parts.textStyle);
        break;
    case PresetCategory::ParagraphFormat:
        SerializeParaFormat(ar, *parts.paraFormat);
        break;
    }
}

std::string NodeLibraryFolder(const std::string& programFolder, PresetCategory category) {
    return programFolder + "/node_library/" + PresetFolderName(category);
}

std::string DefaultPresetPath(const std::string& programFolder, PresetCategory category) {
    return NodeLibraryFolder(programFolder, category) + "/default.nod";
}

PresetReadResult ReadPreset(const PresetParts& parts, const std::string& path, Prompter& prompter) {
    std::string bytes;
    // A preset is a few hundred bytes; anything near this size is not one.
    constexpr std::size_t kMaxPresetBytes = std::size_t{64} << 20;
    if (!ReadWholeFile(path, bytes, kMaxPresetBytes).ok) {
        return PresetReadResult::NotOpened;
    }
    PartsCopy copy(parts);
    Archive ar = Archive::ForLoading(bytes);
    SerializePreset(ar, copy.scratch);
    if (ar.Failed()) {
        prompter.ShowMessage("An attempt was made to access " + path + " past its end.",
                             MessageIcon::Exclamation);
        return PresetReadResult::PastEnd;
    }
    copy.Commit();
    return PresetReadResult::Read;
}

bool LoadDefaultPreset(const std::string& programFolder, const PresetParts& parts, EngineLog& log,
                       Prompter& prompter) {
    // The user's own default takes the place of the shipped one. A damaged one has been
    // reported by the read, and the program's own default still serves.
    if (const std::string user = UserNodeLibraryFolder(parts.category); !user.empty()) {
        if (ReadPreset(parts, user + "/default.nod", prompter) == PresetReadResult::Read) {
            return true;
        }
    }
    const auto result =
        ReadPreset(parts, DefaultPresetPath(programFolder, parts.category), prompter);
    if (result == PresetReadResult::NotOpened) {
        ReportEngineError(log, prompter, kNodeLibraryErrorBlock);
    }
    return result == PresetReadResult::Read;
}

bool SavePresetAs(const PresetParts& parts, Prompter& prompter, const std::string& initialFolder) {
    FileDialogOptions options;
    options.initialFolder = initialFolder;
    options.defaultExtension = "nod";
    options.filter = "Node Presets (*.nod)|*.nod||";
    options.overwritePrompt = true;
    options.hideReadOnly = true;
    options.pathMustExist = true;
    const auto path = prompter.ChooseSaveFile(options);
    if (!path) {
        return false;
    }
    Archive ar = Archive::ForStoring();
    SerializePreset(ar, parts);
    return WriteFileAtomically(*path, ar.Stored()).ok;
}

void ResetNodeTree(NodeTree& tree, EngineLog& log, Prompter& prompter) {
    ResetNodeTree(tree, [&](ResumeNode& resume) {
        return LoadDefaultPreset(tree.programFolder, PresetParts::ForResume(resume), log, prompter);
    });
}

} // namespace trellic
