#include "tlx_check.h"

#include <set>
#include <utility>

namespace trellic::tool {

namespace {

std::string Describe(const char* stack, std::size_t position, const StackEntry& entry) {
    return std::string(stack) + " stack position " + std::to_string(position) + " (index " +
           std::to_string(entry.index) + ", kind " + std::to_string(entry.kind) + ")";
}

} // namespace

std::vector<Finding> CheckTree(const NodeTree& tree, int32_t storedActiveCount,
                               std::size_t trailingBytes) {
    std::vector<Finding> findings;
    auto problem = [&](std::string message) { findings.push_back({true, std::move(message)}); };
    auto note = [&](std::string message) { findings.push_back({false, std::move(message)}); };

    if (tree.renderer != kRendererRtf && tree.renderer != kRendererTxt) {
        problem("renderer " + std::to_string(tree.renderer) + " is neither 0 (RTF) nor 1 (TXT)");
    }
    if (storedActiveCount < 1) {
        problem("the active count is " + std::to_string(storedActiveCount) +
                ", which leaves out the resume entry it must include");
    }
    if (tree.activeStack.empty() || tree.activeStack.front() != kResumeEntry) {
        problem("the active stack does not begin with the resume entry");
    }

    std::set<std::pair<int32_t, int32_t>> referenced;
    const std::pair<const char*, const std::vector<StackEntry>*> stacks[] = {
        {"active", &tree.activeStack}, {"inactive", &tree.inactiveStack}};
    for (const auto& [name, entries] : stacks) {
        for (std::size_t i = 0; i < entries->size(); ++i) {
            const StackEntry& e = (*entries)[i];
            const bool isResumePlace = entries == &tree.activeStack && i == 0;
            if (!IsKnownKind(e.kind)) {
                problem(Describe(name, i, e) + ": unknown kind code");
            } else if (e.kind == kKindResume && !isResumePlace) {
                problem(Describe(name, i, e) + ": the resume entry belongs only at the top of "
                                               "the active stack");
            } else if (!tree.RefersToRecord(e)) {
                problem(Describe(name, i, e) + ": no such record (the " + KindName(e.kind) +
                        " table holds " + std::to_string(tree.TableSize(e.kind)) + ")");
            } else {
                referenced.insert({e.kind, e.index});
            }
        }
    }

    const NodeKind kinds[] = {kKindHeader,  kKindResumeSection, kKindSLField,
                              kKindMLField, kKindRTFOutput,     kKindTXTOutput};
    for (const NodeKind kind : kinds) {
        for (std::size_t i = 0; i < tree.TableSize(kind); ++i) {
            if (!referenced.count({kind, static_cast<int32_t>(i)})) {
                note(std::string(KindName(kind)) + " " + std::to_string(i) + " \"" +
                     NodeDisplayName(tree, {static_cast<int32_t>(i), kind}) +
                     "\" is on neither stack and is never shown");
            }
        }
    }
    if (tree.resume && tree.resume->renderer != tree.renderer) {
        note("the resume record's renderer (" + std::to_string(tree.resume->renderer) +
             ") differs from the file's (" + std::to_string(tree.renderer) +
             "); opening the file makes them equal");
    }
    if (trailingBytes > 0) {
        note(std::to_string(trailingBytes) + " bytes after the last record are ignored");
    }
    return findings;
}

} // namespace trellic::tool
