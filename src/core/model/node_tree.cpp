#include "model/node_tree.h"

#include "engine/prompter.h"

#include <algorithm>
#include <unistd.h>

namespace trellic {

const char* KindName(int32_t kind) {
    switch (kind) {
    case kKindHeader:
        return "Header";
    case kKindMLField:
        return "Multiple Line Field";
    case kKindResume:
        return "Resume";
    case kKindResumeSection:
        return "Resume Section";
    case kKindRTFOutput:
        return "Rich Text File Output";
    case kKindSLField:
        return "Single Line Field";
    case kKindTXTOutput:
        return "Text File Output";
    default:
        return "";
    }
}

bool IsKnownKind(int32_t kind) {
    return *KindName(kind) != '\0';
}

NodeTree::NodeTree() : NodeTree(RunningProgramFolder()) {}

NodeTree::NodeTree(std::string folder) : programFolder(std::move(folder)) {}

std::size_t NodeTree::TableSize(int32_t kind) const {
    switch (kind) {
    case kKindHeader:
        return headers.size();
    case kKindMLField:
        return mlFields.size();
    case kKindResume:
        return resume ? 1 : 0;
    case kKindResumeSection:
        return resumeSections.size();
    case kKindRTFOutput:
        return rtfOutputs.size();
    case kKindSLField:
        return slFields.size();
    case kKindTXTOutput:
        return txtOutputs.size();
    default:
        return 0;
    }
}

bool NodeTree::RefersToRecord(const StackEntry& entry) const {
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

    tree.headers.clear();
    tree.resumeSections.clear();
    tree.slFields.clear();
    tree.mlFields.clear();
    tree.rtfOutputs.clear();
    tree.txtOutputs.clear();
    tree.inactiveStack.clear();
    tree.activeStack.assign(1, kResumeEntry);
}

namespace {

template <typename Table> void EraseRecord(Table& table, int32_t index) {
    if (index >= 0 && static_cast<std::size_t>(index) < table.size()) {
        table.erase(table.begin() + index);
    }
}

void EraseRecord(NodeTree& tree, StackEntry entry) {
    switch (entry.kind) {
    case kKindHeader:
        EraseRecord(tree.headers, entry.index);
        break;
    case kKindMLField:
        EraseRecord(tree.mlFields, entry.index);
        break;
    case kKindResumeSection:
        EraseRecord(tree.resumeSections, entry.index);
        break;
    case kKindRTFOutput:
        EraseRecord(tree.rtfOutputs, entry.index);
        break;
    case kKindSLField:
        EraseRecord(tree.slFields, entry.index);
        break;
    case kKindTXTOutput:
        EraseRecord(tree.txtOutputs, entry.index);
        break;
    default:
        // The resume record is never deleted, and an unknown kind has no table.
        break;
    }
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

namespace {

template <typename Record> int32_t AppendCopy(std::vector<Record>& table, std::size_t index) {
    // Copied before the push: the table may move its records while it grows.
    Record copy = table[index];
    table.push_back(std::move(copy));
    return static_cast<int32_t>(table.size() - 1);
}

} // namespace

std::optional<StackEntry> DuplicateStackEntry(NodeTree& tree, StackId stack, std::size_t position) {
    std::vector<StackEntry>& entries = tree.Stack(stack);
    if (position >= entries.size() || !tree.RefersToRecord(entries[position])) {
        return std::nullopt;
    }
    StackEntry copy = entries[position];
    const auto i = static_cast<std::size_t>(copy.index);
    switch (copy.kind) {
    case kKindHeader:
        copy.index = AppendCopy(tree.headers, i);
        break;
    case kKindResumeSection:
        copy.index = AppendCopy(tree.resumeSections, i);
        break;
    case kKindSLField:
        copy.index = AppendCopy(tree.slFields, i);
        break;
    case kKindMLField:
        copy.index = AppendCopy(tree.mlFields, i);
        break;
    case kKindRTFOutput:
        copy.index = AppendCopy(tree.rtfOutputs, i);
        break;
    case kKindTXTOutput:
        copy.index = AppendCopy(tree.txtOutputs, i);
        break;
    default: // the resume is one of a kind
        return std::nullopt;
    }
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(position) + 1, copy);
    return copy;
}

std::string NodeDisplayName(const NodeTree& tree, const StackEntry& entry) {
    if (!tree.RefersToRecord(entry)) {
        return {};
    }
    const auto i = static_cast<std::size_t>(entry.index);
    switch (entry.kind) {
    case kKindResume:
        return tree.resume->name;
    case kKindHeader:
        return tree.headers[i].header;
    case kKindResumeSection:
        return tree.resumeSections[i].title;
    case kKindSLField:
        return tree.slFields[i].fieldName;
    case kKindMLField:
        return tree.mlFields[i].fieldName;
    case kKindRTFOutput:
        return tree.rtfOutputs[i].name;
    case kKindTXTOutput:
        return tree.txtOutputs[i].name;
    default:
        return {};
    }
}

} // namespace trellic
