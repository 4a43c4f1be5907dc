#include "tlx_check.h"

#include <gtest/gtest.h>

namespace trellic::tool {
namespace {

NodeTree SmallTree() {
    NodeTree tree{std::string()};
    ResetNodeTree(tree, {});
    tree.headers.resize(2);
    tree.headers[1].header = "Spare";
    tree.activeStack.push_back({0, kKindHeader});
    return tree;
}

TEST(CheckTree, ACleanTreeOnlyNotesUnusedRecords) {
    const auto findings = CheckTree(SmallTree(), 2, 0);
    ASSERT_EQ(findings.size(), 1U);
    EXPECT_FALSE(findings[0].misbehaves);
    EXPECT_EQ(findings[0].message, "Header 1 \"Spare\" is on neither stack and is never shown");
}

TEST(CheckTree, EntriesThatWouldMisbehave) {
    NodeTree tree = SmallTree();
    tree.headers.resize(1);
    tree.activeStack.push_back({3, kKindHeader});
    tree.activeStack.push_back({0, NodeKind{5}});
    tree.inactiveStack.push_back(kResumeEntry);
    tree.renderer = Renderer{2};
    const auto findings = CheckTree(tree, 0, 3);
    std::vector<std::string> problems;
    std::vector<std::string> notes;
    for (const auto& f : findings) {
        (f.misbehaves ? problems : notes).push_back(f.message);
    }
    EXPECT_EQ(problems, (std::vector<std::string>{
                            "renderer 2 is neither 0 (RTF) nor 1 (TXT)",
                            "the active count is 0, which leaves out the resume entry it must "
                            "include",
                            "active stack position 2 (index 3, kind 4): no such record (the "
                            "Header table holds 1)",
                            "active stack position 3 (index 0, kind 5): unknown kind code",
                            "inactive stack position 0 (index 0, kind 11): the resume entry "
                            "belongs only at the top of the active stack",
                        }));
    EXPECT_EQ(notes.back(), "3 bytes after the last record are ignored");
}

} // namespace
} // namespace trellic::tool
