#pragma once

#include "model/node_records.h"
#include "model/protected_file.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace trellic {

class Prompter;

// One line of a stack: which record of which kind's table.
struct StackEntry {
    int32_t index = 0; // position in the kind's table; 0 for the resume
    int32_t kind = 0;  // a NodeKind code

    bool operator==(const StackEntry&) const = default;
};

inline constexpr StackEntry kResumeEntry{0, kKindResume};

enum class StackId { Active, Inactive };
enum class MoveDirection { Up, Down };

// The data sources: where the resume lives.
enum DataSource : int32_t { kDataSourceNodes = 0, kDataSourceViewRtf = 1, kDataSourceViewTxt = 2 };
enum Renderer : int32_t { kRendererRtf = 0, kRendererTxt = 1 };

// The resume held as data, with the settings of the open document. Exactly one exists for the
// whole run of the program; it owns every record by value.
struct NodeTree {
    // The folder of the running executable (the node library and templates lie beside it).
    NodeTree();
    // A tree that finds its node library below the given folder (for tests and tools).
    explicit NodeTree(std::string programFolder);

    bool rnsEnabled = false;
    std::string programFolder; // without a trailing separator
    std::string filePath;
    ProtectedFile rnsFile;
    int32_t dataSource = kDataSourceNodes;
    int32_t renderer = kRendererRtf;
    int32_t resetCount = 0;
    std::unique_ptr<ResumeNode> resume;
    std::vector<HeaderNode> headers;
    std::vector<ResumeSectionNode> resumeSections;
    std::vector<SLFieldNode> slFields;
    std::vector<MLFieldNode> mlFields;
    std::vector<RTFOutputNode> rtfOutputs;
    std::vector<TXTOutputNode> txtOutputs;
    std::vector<StackEntry> activeStack;
    std::vector<StackEntry> inactiveStack;

    std::vector<StackEntry>& Stack(StackId id) {
        return id == StackId::Active ? activeStack : inactiveStack;
    }
    const std::vector<StackEntry>& Stack(StackId id) const {
        return id == StackId::Active ? activeStack : inactiveStack;
    }
    // Number of records in the table of a kind: 1 for the resume, 0 for an unknown code.
    std::size_t TableSize(int32_t kind) const;
    // True when the entry names a known kind and a record that exists.
    bool RefersToRecord(const StackEntry& entry) const;
};

// The folder part of an executable's path, cut before its last separator; empty if none.
std::string ProgramFolderOf(const std::string& executablePath);
// The folder of the running executable.
std::string RunningProgramFolder();

// Loads the resume defaults into a fresh record; returns false (after reporting) on failure.
using ResumeDefaultsLoader = std::function<bool(ResumeNode&)>;

// Empties the tree and its settings, then fills a fresh resume record from loadDefaults (the
// node library's "resume" preset in the program) and sets its renderer to RTF.
void ResetNodeTree(NodeTree& tree, const ResumeDefaultsLoader& loadDefaults);

// Removes the entry at position of stack and, when that was its record's last reference, the
// record itself, renumbering the entries behind it. Never given the resume entry.
void DeleteNode(NodeTree& tree, StackEntry entry, StackId stack, std::size_t position);

// Swaps the entry with its neighbour. The resume keeps the first active place: trying to move
// it, or the entry just below it up, tells the user so and changes nothing.
void MoveStackEntry(NodeTree& tree, Prompter& prompter, std::size_t position, StackId stack,
                    MoveDirection direction);

// Moves an inactive entry to the end of the active stack.
void ActivateStackEntry(NodeTree& tree, std::size_t position);
// Moves an active entry to the end of the inactive stack; the resume entry stays.
void DeactivateStackEntry(NodeTree& tree, std::size_t position);

// Appends a copy of the entry's record to its kind's table and puts an entry for the copy right
// after position in the stack. Nothing for the resume or an entry that refers to no record.
std::optional<StackEntry> DuplicateStackEntry(NodeTree& tree, StackId stack, std::size_t position);

// The text that names an entry's node in lists; empty when the entry refers to no record.
std::string NodeDisplayName(const NodeTree& tree, const StackEntry& entry);

} // namespace trellic
