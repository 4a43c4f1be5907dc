#include "model/node_tree.h"

#include "engine/prompter.h"

#include <algorithm>
#include <unistd.h>

namespace trellic {

const char* KindName(NodeKind kind) {
    const char* name =
        VisitKind(kind, [](auto tag) { return RecordKind<typename decltype(tag)::type>::name; });
    return name != nullptr ? name : "";
}

bool IsKnownKind(NodeKind kind) {
    return *KindName(kind) != '\0';
}

NodeTree::NodeTree() : NodeTree(RunningProgramFolder()) {}

NodeTree::NodeTree(std::string folder) : programFolder(std::move(folder)) {}

std::size_t NodeTables::TableSize(NodeKind kind) const {
    return VisitKind(kind, [this](auto tag) -> std::size_t {
        using Record = typename decltype(tag)::type;
        if constexpr (std::is_same_v<Record, ResumeNode>) {
            return resume ? 1 : 0;
        } else {
            return Table<Record>().size();
        }
    });
}

bool NodeTables::RefersToRecord(const StackEntry& entry) const {
    return entry.index >= 0 && static_cast<std::size_t>(entry.index) < TableSize(entry.kind);
}

std::string ProgramFolderOf(const std::string& executablePath) {
    const auto slash = executablePath.find_last_of('/');
    return slash == std::string::npos ? std::string() : executablePath.substr(0, slash);
}

std::string RunningProgramFolder() {
    std::string path(4096, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size()) {
        return {};
    }
    path.resize(static_cast<std::size_t>(length));
    return ProgramFolderOf(path);
}

void ResetNodeTree(NodeTree& tree, const ResumeDefaultsLoader& loadDefaults) {
    tree.rnsFile.Close();
    ++tree.resetCount;
    tree.dataSource = kDataSourceNodes;
    tree.renderer = kRendererRtf;
    tree.rnsEnabled = false;
    tree.filePath.clear();

    tree.resume = std::make_unique<ResumeNode>();
    if (loadDefaults) {
        // A failed load has already been reported; the resume then starts from the fresh record.
        loadDefaults(*tree.resume);
    }
    tree.resume->renderer = kRendererRtf;

    // Assigned whole, so a table added to NodeTables is emptied with the rest.
    NodeTables fresh;
    fresh.resume = std::move(tree.resume);
    fresh.activeStack.assign(1, kResumeEntry);
    static_cast<NodeTables&>(tree) = std::move(fresh);
}

namespace {

// The resume record is never deleted, and an unknown kind or an index outside the table names
// nothing to delete.
void EraseRecord(NodeTree& tree, StackEntry entry) {
    VisitRecord(tree, entry, [&](auto& record) {
        using Record = std::remove_cvref_t<decltype(record)>;
        if constexpr (!std::is_same_v<Record, ResumeNode>) {
            auto& table = tree.Table<Record>();
            table.erase(table.begin() + entry.index);
        }
    });
}

bool EraseFirst(std::vector<StackEntry>& stack, StackEntry entry) {
    const auto found = std::find(stack.begin(), stack.end(), entry);
    if (found == stack.end()) {
        return false;
    }
    stack.erase(found);
    return true;
}

} // namespace

void DeleteNode(NodeTree& tree, StackEntry entry, StackId stack, std::size_t position) {
    if (entry.kind == kKindResume) {
        return; // callers refuse this with their own message
    }
    auto references = std::count(tree.activeStack.begin(), tree.activeStack.end(), entry) +
                      std::count(tree.inactiveStack.begin(), tree.inactiveStack.end(), entry);
    if (references >= 2) {
        auto& entries = tree.Stack(stack);
        if (position < entries.size()) {
            entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(position));
        }
        return;
    }

    EraseRecord(tree, entry);
    // The first equal entry is the one to go: with a single reference it is the given one.
    if (!EraseFirst(tree.activeStack, entry)) {
        EraseFirst(tree.inactiveStack, entry);
    }
    for (auto* entries : {&tree.activeStack, &tree.inactiveStack}) {
        for (auto& other : *entries) {
            if (other.kind == entry.kind && other.index > entry.index) {
                --other.index;
            }
        }
    }
}

void MoveStackEntry(NodeTree& tree, Prompter& prompter, std::size_t position, StackId stack,
                    MoveDirection direction) {
    auto& entries = tree.Stack(stack);
    if (stack == StackId::Active &&
        (position == 0 || (position == 1 && direction == MoveDirection::Up))) {
        prompter.ShowMessage("The resume node cannot be moved.", MessageIcon::Information);
        return;
    }
    if (position >= entries.size()) {
        return;
    }
    if (direction == MoveDirection::Up) {
        if (position > 0) {
            std::swap(entries[position], entries[position - 1]);
        }
    } else if (position + 1 < entries.size()) {
        std::swap(entries[position], entries[position + 1]);
    }
}

void ActivateStackEntry(NodeTree& tree, std::size_t position) {
    if (position >= tree.inactiveStack.size()) {
        return;
    }
    const StackEntry entry = tree.inactiveStack[position];
    tree.inactiveStack.erase(tree.inactiveStack.begin() + static_cast<std::ptrdiff_t>(position));
    tree.activeStack.push_back(entry);
}

void DeactivateStackEntry(NodeTree& tree, std::size_t position) {
    if (position >= tree.activeStack.size() || tree.activeStack[position].kind == kKindResume) {
        return;
    }
    const StackEntry entry = tree.activeStack[position];
    tree.activeStack.erase(tree.activeStack.begin() + static_cast<std::ptrdiff_t>(position));
    tree.inactiveStack.push_back(entry);
}

std::optional<StackEntry> DuplicateStackEntry(NodeTree& tree, StackId stack, std::size_t position) {
    std::vector<StackEntry>& entries = tree.Stack(stack);
    if (position >= entries.size()) {
        return std::nullopt;
    }
    const StackEntry entry = entries[position];
    const auto copy = VisitRecord(tree, entry, [&](auto& record) -> std::optional<StackEntry> {
        using Record = std::remove_cvref_t<decltype(record)>;
        if constexpr (std::is_same_v<Record, ResumeNode>) {
            return std::nullopt; // the resume is one of a kind
        } else {
            // Copied before the push: the table may move its records while it grows.
            Record duplicate = record;
            auto& table = tree.Table<Record>();
            table.push_back(std::move(duplicate));
            return StackEntry{static_cast<int32_t>(table.size() - 1), entry.kind};
        }
    });
    if (copy) {
        entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(position) + 1, *copy);
    }
    return copy;
}

namespace {

// The first place of a stack that entries may take: the active stack's first belongs to the
// resume.
std::size_t FirstMovablePlace(const NodeTables& tables, StackId stack) {
    const auto& entries = tables.Stack(stack);
    return stack == StackId::Active && !entries.empty() && entries.front().kind == kKindResume ? 1
                                                                                               : 0;
}

bool HoldsResume(const std::vector<StackEntry>& entries, std::size_t first, std::size_t end) {
    return std::any_of(entries.begin() + static_cast<std::ptrdiff_t>(first),
                       entries.begin() + static_cast<std::ptrdiff_t>(end),
                       [](const StackEntry& entry) { return entry.kind == kKindResume; });
}

// The first header at or after from, or the end of the stack.
std::size_t NextHeader(const std::vector<StackEntry>& entries, std::size_t from) {
    while (from < entries.size() && entries[from].kind != kKindHeader) {
        ++from;
    }
    return from;
}

} // namespace

std::optional<StackRange> HeaderBlockAt(const NodeTables& tables, StackId stack,
                                        std::size_t position) {
    const auto& entries = tables.Stack(stack);
    const std::size_t floor = FirstMovablePlace(tables, stack);
    if (position >= entries.size() || position < floor) {
        return std::nullopt;
    }
    std::size_t header = position;
    while (entries[header].kind != kKindHeader) {
        if (header == floor) {
            return std::nullopt;
        }
        --header;
    }
    return StackRange{header, NextHeader(entries, header + 1)};
}

std::size_t MoveHeaderBlock(NodeTables& tables, StackId stack, std::size_t position,
                            MoveDirection direction) {
    const std::optional<StackRange> block = HeaderBlockAt(tables, stack, position);
    if (!block) {
        return position;
    }
    auto& entries = tables.Stack(stack);
    const auto at = [&entries](std::size_t place) {
        return entries.begin() + static_cast<std::ptrdiff_t>(place);
    };
    if (direction == MoveDirection::Up) {
        const std::size_t floor = FirstMovablePlace(tables, stack);
        if (block->first == floor) {
            return position;
        }
        // The run above is the block of the previous header, or the entries under no header.
        std::size_t previous = block->first - 1;
        while (previous > floor && entries[previous].kind != kKindHeader) {
            --previous;
        }
        // A resume entry out of its place (a damaged file) is not carried along.
        if (HoldsResume(entries, previous, block->end)) {
            return position;
        }
        std::rotate(at(previous), at(block->first), at(block->end));
        return position - (block->first - previous);
    }
    if (block->end >= entries.size()) {
        return position;
    }
    const std::size_t nextEnd = NextHeader(entries, block->end + 1);
    if (HoldsResume(entries, block->first, nextEnd)) {
        return position;
    }
    std::rotate(at(block->first), at(block->end), at(nextEnd));
    return position + (nextEnd - block->end);
}

std::optional<std::size_t> MoveStackEntryTo(NodeTables& tables, StackId from, std::size_t position,
                                            StackId to, std::size_t target) {
    auto& source = tables.Stack(from);
    if (position >= source.size() || source[position].kind == kKindResume) {
        return std::nullopt;
    }
    const StackEntry entry = source[position];
    if (from == to && target > position) {
        --target; // the places behind the entry close up when it leaves
    }
    source.erase(source.begin() + static_cast<std::ptrdiff_t>(position));
    auto& destination = tables.Stack(to);
    target = std::clamp(target, FirstMovablePlace(tables, to), destination.size());
    destination.insert(destination.begin() + static_cast<std::ptrdiff_t>(target), entry);
    if (from == to && target == position) {
        return std::nullopt;
    }
    return target;
}

namespace {

// The field that names a record, const or not as the record is.
template <typename Node> auto& DisplayNameOf(Node& node) {
    using Record = std::remove_const_t<Node>;
    if constexpr (std::is_same_v<Record, HeaderNode>) {
        return node.header;
    } else if constexpr (std::is_same_v<Record, ResumeSectionNode>) {
        return node.title;
    } else if constexpr (std::is_same_v<Record, SLFieldNode> ||
                         std::is_same_v<Record, MLFieldNode>) {
        return node.fieldName;
    } else {
        return node.name; // the resume and the outputs
    }
}

} // namespace

std::string NodeDisplayName(const NodeTree& tree, const StackEntry& entry) {
    return VisitRecord(tree, entry, [](const auto& record) { return DisplayNameOf(record); });
}

bool SetNodeDisplayName(NodeTree& tree, const StackEntry& entry, const std::string& name) {
    return VisitRecord(tree, entry, [&](auto& record) {
        DisplayNameOf(record) = name;
        return true;
    });
}

} // namespace trellic
