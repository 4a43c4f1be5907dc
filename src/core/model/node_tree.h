#pragma once

#include "model/node_records.h"
#include "model/protected_file.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace trellic {

class Prompter;

// One line of a stack: which record of which kind's table.
struct StackEntry {
    int32_t index = 0; // position in the kind's table; 0 for the resume
    NodeKind kind{};   // a code a file may hold, known or not

    bool operator==(const StackEntry&) const = default;
};

inline constexpr StackEntry kResumeEntry{0, kKindResume};

enum class StackId { Active, Inactive };
enum class MoveDirection { Up, Down };

// The data sources: where the resume lives.
enum DataSource : int32_t { kDataSourceNodes = 0, kDataSourceViewRtf = 1, kDataSourceViewTxt = 2 };

// An owning pointer that copies what it points to, so a record held by pointer still copies with
// the value that holds it. Const reaches through: a const holder gives a const record.
template <typename T> class ValuePtr {
public:
    ValuePtr() = default;
    // Implicit, so a tree takes a freshly made record as it took a std::unique_ptr.
    ValuePtr(std::unique_ptr<T> owned) : m_owned(owned.release()) {}
    ValuePtr(const ValuePtr& other) : m_owned(other.m_owned ? new T(*other.m_owned) : nullptr) {}
    ValuePtr(ValuePtr&& other) noexcept : m_owned(std::exchange(other.m_owned, nullptr)) {}
    ValuePtr& operator=(ValuePtr other) noexcept {
        std::swap(m_owned, other.m_owned);
        return *this;
    }
    ~ValuePtr() { delete m_owned; }

    T* get() { return m_owned; }
    const T* get() const { return m_owned; }
    T& operator*() { return *m_owned; }
    const T& operator*() const { return *m_owned; }
    T* operator->() { return m_owned; }
    const T* operator->() const { return m_owned; }
    explicit operator bool() const { return m_owned != nullptr; }

    // Equal when both are empty or both hold equal values.
    friend bool operator==(const ValuePtr& a, const ValuePtr& b) {
        return a.m_owned == nullptr || b.m_owned == nullptr ? a.m_owned == b.m_owned
                                                            : *a.m_owned == *b.m_owned;
    }

private:
    // A plain pointer: the static analyser follows its null checks, which it does not through a
    // wrapped std::unique_ptr.
    T* m_owned = nullptr;
};

// The kind code of each record type, and its name as lists show it.
template <typename Record> struct RecordKind;
template <> struct RecordKind<ResumeNode> {
    static constexpr NodeKind kind = kKindResume;
    static constexpr const char* name = "Resume";
};
template <> struct RecordKind<HeaderNode> {
    static constexpr NodeKind kind = kKindHeader;
    static constexpr const char* name = "Header";
};
template <> struct RecordKind<ResumeSectionNode> {
    static constexpr NodeKind kind = kKindResumeSection;
    static constexpr const char* name = "Resume Section";
};
template <> struct RecordKind<SLFieldNode> {
    static constexpr NodeKind kind = kKindSLField;
    static constexpr const char* name = "Single Line Field";
};
template <> struct RecordKind<MLFieldNode> {
    static constexpr NodeKind kind = kKindMLField;
    static constexpr const char* name = "Multiple Line Field";
};
template <> struct RecordKind<RTFOutputNode> {
    static constexpr NodeKind kind = kKindRTFOutput;
    static constexpr const char* name = "Rich Text File Output";
};
template <> struct RecordKind<TXTOutputNode> {
    static constexpr NodeKind kind = kKindTXTOutput;
    static constexpr const char* name = "Text File Output";
};

// Calls fn with a std::type_identity<Record> for the record type of a kind code and returns its
// result; a code that is none of the seven gives a value-initialised result without calling fn.
// This is the one place that maps codes to record types: per-kind code goes through it.
template <typename Fn> auto VisitKind(NodeKind kind, Fn&& fn) {
    using Result = std::invoke_result_t<Fn&, std::type_identity<HeaderNode>>;
    switch (kind) { // NOLINT(bugprone-branch-clone): the branches differ in the type they pass
    case kKindResume:
        return static_cast<Result>(fn(std::type_identity<ResumeNode>{}));
    case kKindHeader:
        return static_cast<Result>(fn(std::type_identity<HeaderNode>{}));
    case kKindResumeSection:
        return static_cast<Result>(fn(std::type_identity<ResumeSectionNode>{}));
    case kKindSLField:
        return static_cast<Result>(fn(std::type_identity<SLFieldNode>{}));
    case kKindMLField:
        return static_cast<Result>(fn(std::type_identity<MLFieldNode>{}));
    case kKindRTFOutput:
        return static_cast<Result>(fn(std::type_identity<RTFOutputNode>{}));
    case kKindTXTOutput:
        return static_cast<Result>(fn(std::type_identity<TXTOutputNode>{}));
    default:
        return Result();
    }
}

// The records of a resume and the two stacks that order them: everything a .tlx file holds
// besides the renderer, as one value. Copying it copies the resume whole, which is what a caller
// that must put a resume back after a failed open needs; a table added here is copied with it.
struct NodeTables {
    ValuePtr<ResumeNode> resume;
    std::vector<HeaderNode> headers;
    std::vector<ResumeSectionNode> resumeSections;
    std::vector<SLFieldNode> slFields;
    std::vector<MLFieldNode> mlFields;
    std::vector<RTFOutputNode> rtfOutputs;
    std::vector<TXTOutputNode> txtOutputs;
    std::vector<StackEntry> activeStack;
    std::vector<StackEntry> inactiveStack;

    bool operator==(const NodeTables&) const = default;

    // The table of a record type; the resume is one record, not a table.
    template <typename Record> std::vector<Record>& Table() { return TableIn<Record>(*this); }
    template <typename Record> const std::vector<Record>& Table() const {
        return TableIn<Record>(*this);
    }

    std::vector<StackEntry>& Stack(StackId id) {
        return id == StackId::Active ? activeStack : inactiveStack;
    }
    const std::vector<StackEntry>& Stack(StackId id) const {
        return id == StackId::Active ? activeStack : inactiveStack;
    }
    // Number of records in the table of a kind: 1 for the resume, 0 for an unknown code.
    std::size_t TableSize(NodeKind kind) const;
    // True when the entry names a known kind and a record that exists.
    bool RefersToRecord(const StackEntry& entry) const;

private:
    template <typename Record, typename Self> static auto& TableIn(Self& self) {
        if constexpr (std::is_same_v<Record, HeaderNode>) {
            return self.headers;
        } else if constexpr (std::is_same_v<Record, ResumeSectionNode>) {
            return self.resumeSections;
        } else if constexpr (std::is_same_v<Record, SLFieldNode>) {
            return self.slFields;
        } else if constexpr (std::is_same_v<Record, MLFieldNode>) {
            return self.mlFields;
        } else if constexpr (std::is_same_v<Record, RTFOutputNode>) {
            return self.rtfOutputs;
        } else {
            static_assert(std::is_same_v<Record, TXTOutputNode>, "not a record with a table");
            return self.txtOutputs;
        }
    }
};

// Calls fn with the record an entry names (ResumeNode&, HeaderNode&, ..., const when the tables
// are) and returns its result. An entry of an unknown kind, or one that points outside its table,
// gives a value-initialised result without calling fn, so nothing is ever read outside a table.
template <typename Tables, typename Fn>
auto VisitRecord(Tables& tables, const StackEntry& entry, Fn&& fn) {
    using Header = std::conditional_t<std::is_const_v<Tables>, const HeaderNode, HeaderNode>;
    using Result = std::invoke_result_t<Fn&, Header&>;
    return VisitKind(entry.kind, [&](auto tag) -> Result {
        using Record = typename decltype(tag)::type;
        if (!tables.RefersToRecord(entry)) {
            return Result();
        }
        if constexpr (std::is_same_v<Record, ResumeNode>) {
            return fn(*tables.resume);
        } else {
            return fn(tables.template Table<Record>()[static_cast<std::size_t>(entry.index)]);
        }
    });
}

// The resume held as data, with the settings of the open document. Exactly one exists for the
// whole run of the program; it owns every record by value. Its records and stacks are the
// NodeTables it is made of, so `NodeTables copy = tree;` takes them all at once.
struct NodeTree : NodeTables {
    // The folder of the running executable (the node library and templates lie beside it).
    NodeTree();
    // A tree that finds its node library below the given folder (for tests and tools).
    explicit NodeTree(std::string programFolder);

    bool rnsEnabled = false;
    std::string programFolder; // without a trailing separator
    std::string filePath;
    ProtectedFile rnsFile;
    DataSource dataSource = kDataSourceNodes;
    Renderer renderer = kRendererRtf;
    int32_t resetCount = 0;
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

// A run of entries of one stack: [first, end).
struct StackRange {
    std::size_t first = 0;
    std::size_t end = 0;

    bool operator==(const StackRange&) const = default;
};

// The header an entry stands under (the entry itself when it is a header) together with every
// entry up to the next header or the end of the stack. Nothing for an entry above the first
// header, for the resume's entry and for a position outside the stack.
std::optional<StackRange> HeaderBlockAt(const NodeTables& tables, StackId stack,
                                        std::size_t position);

// Moves the header block that holds position past the run of entries before it (up: the block
// above, or the entries under no header) or the block after it (down), in one piece. The resume
// keeps the first active place. Returns where the entry at position went: position itself when
// nothing moved (no header above it, or the block already first or last).
std::size_t MoveHeaderBlock(NodeTables& tables, StackId stack, std::size_t position,
                            MoveDirection direction);

// Takes the entry at position out of its stack and puts it at target of the stack `to` (which may
// be the same), target counted as the stack stood before the entry left, as a list counts the
// place where a line is dropped; past the end means at the end. The resume's entry never moves
// and nothing goes before it. Returns the entry's new position, or nothing when it did not move.
std::optional<std::size_t> MoveStackEntryTo(NodeTables& tables, StackId from, std::size_t position,
                                            StackId to, std::size_t target);

// The text that names an entry's node in lists; empty when the entry refers to no record.
std::string NodeDisplayName(const NodeTree& tree, const StackEntry& entry);
// Renames the entry's node (a header's text, a section's title, a field's or an output's name);
// false when the entry refers to no record.
bool SetNodeDisplayName(NodeTree& tree, const StackEntry& entry, const std::string& name);

} // namespace trellic
