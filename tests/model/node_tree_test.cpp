#include "model/node_tree.h"
#include "scripted_prompter.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::ScriptedPrompter;
using Stack = std::vector<StackEntry>;

NodeTree TreeWithHeaders(std::initializer_list<const char*> names) {
    NodeTree tree("/nowhere");
    ResetNodeTree(tree, {});
    for (const char* name : names) {
        HeaderNode header;
        header.header = name;
        tree.headers.push_back(header);
    }
    return tree;
}

std::vector<std::string> HeaderNames(const NodeTree& tree) {
    std::vector<std::string> names;
    for (const auto& h : tree.headers) {
        names.push_back(h.header);
    }
    return names;
}

TEST(ResetNodeTree, LeavesOnlyTheResumeAndCountsResets) {
    NodeTree tree("/nowhere");
    tree.filePath = "/tmp/old.tlx";
    tree.dataSource = 2;
    tree.renderer = 1;
    tree.rnsEnabled = true;
    tree.headers.resize(3);
    tree.inactiveStack.push_back({0, kKindHeader});
    int loads = 0;
    ResetNodeTree(tree, [&](ResumeNode& r) {
        ++loads;
        r.name = "From the library";
        r.renderer = 1;
        return true;
    });
    ResetNodeTree(tree, [&](ResumeNode& r) {
        ++loads;
        r.name = "Again";
        return true;
    });
    EXPECT_EQ(loads, 2);
    EXPECT_EQ(tree.resetCount, 2);
    EXPECT_EQ(tree.activeStack, Stack{kResumeEntry});
    EXPECT_TRUE(tree.inactiveStack.empty());
    EXPECT_TRUE(tree.headers.empty());
    EXPECT_TRUE(tree.filePath.empty());
    EXPECT_EQ(tree.dataSource, 0);
    EXPECT_EQ(tree.renderer, 0);
    EXPECT_FALSE(tree.rnsEnabled);
    EXPECT_EQ(tree.resume->name, "Again");
    EXPECT_EQ(tree.resume->renderer, 0);
}

TEST(ResetNodeTree, FailedDefaultsLeaveAFreshRecord) {
    NodeTree tree("/nowhere");
    ResetNodeTree(tree, [](ResumeNode&) { return false; });
    EXPECT_EQ(*tree.resume, ResumeNode{});
}

TEST(DeleteNode, LastReferenceRemovesTheRecordAndRenumbers) {
    NodeTree tree = TreeWithHeaders({"h0", "h1", "h2"});
    tree.activeStack = {kResumeEntry, {1, kKindHeader}, {2, kKindHeader}};
    tree.inactiveStack = {{2, kKindHeader}, {0, kKindHeader}};
    // (2,4) is referenced twice, so delete (1,4) which has one reference.
    DeleteNode(tree, {1, kKindHeader}, StackId::Active, 1);
    EXPECT_EQ(HeaderNames(tree), (std::vector<std::string>{"h0", "h2"}));
    EXPECT_EQ(tree.activeStack, (Stack{kResumeEntry, {1, kKindHeader}}));
    EXPECT_EQ(tree.inactiveStack, (Stack{{1, kKindHeader}, {0, kKindHeader}}));
}

TEST(DeleteNode, SharedRecordLosesOnlyTheChosenEntry) {
    NodeTree tree("/nowhere");
    ResetNodeTree(tree, {});
    tree.resumeSections.resize(1);
    tree.activeStack = {kResumeEntry, {0, kKindResumeSection}, {0, kKindResumeSection}};
    DeleteNode(tree, {0, kKindResumeSection}, StackId::Active, 2);
    EXPECT_EQ(tree.resumeSections.size(), 1U);
    EXPECT_EQ(tree.activeStack, (Stack{kResumeEntry, {0, kKindResumeSection}}));
}

TEST(DeleteNode, OtherKindsAreNotRenumbered) {
    NodeTree tree = TreeWithHeaders({"h0", "h1"});
    tree.slFields.resize(3);
    tree.activeStack = {kResumeEntry, {0, kKindHeader}, {2, kKindSLField}};
    tree.inactiveStack = {{1, kKindHeader}};
    DeleteNode(tree, {0, kKindHeader}, StackId::Active, 1);
    EXPECT_EQ(tree.activeStack, (Stack{kResumeEntry, {2, kKindSLField}}));
    EXPECT_EQ(tree.inactiveStack, (Stack{{0, kKindHeader}}));
    EXPECT_EQ(HeaderNames(tree), std::vector<std::string>{"h1"});
}

TEST(DeleteNode, InactiveSingleReference) {
    NodeTree tree = TreeWithHeaders({"h0"});
    tree.inactiveStack = {{0, kKindHeader}};
    DeleteNode(tree, {0, kKindHeader}, StackId::Inactive, 0);
    EXPECT_TRUE(tree.headers.empty());
    EXPECT_TRUE(tree.inactiveStack.empty());
}

TEST(MoveStackEntry, ResumeStaysFirst) {
    NodeTree tree = TreeWithHeaders({"a", "b"});
    tree.activeStack = {kResumeEntry, {0, kKindHeader}, {1, kKindHeader}};
    const Stack before = tree.activeStack;
    ScriptedPrompter prompter;
    MoveStackEntry(tree, prompter, 1, StackId::Active, MoveDirection::Up);
    MoveStackEntry(tree, prompter, 0, StackId::Active, MoveDirection::Down);
    EXPECT_EQ(tree.activeStack, before);
    ASSERT_EQ(prompter.events.size(), 2U);
    for (const auto& event : prompter.events) {
        EXPECT_EQ(event.text, "The resume node cannot be moved.");
        EXPECT_EQ(event.icon, MessageIcon::Information);
    }

    MoveStackEntry(tree, prompter, 2, StackId::Active, MoveDirection::Down); // the last one
    EXPECT_EQ(tree.activeStack, before);
    EXPECT_EQ(prompter.events.size(), 2U);

    MoveStackEntry(tree, prompter, 2, StackId::Active, MoveDirection::Up);
    EXPECT_EQ(tree.activeStack, (Stack{kResumeEntry, {1, kKindHeader}, {0, kKindHeader}}));
    MoveStackEntry(tree, prompter, 1, StackId::Active, MoveDirection::Down);
    EXPECT_EQ(tree.activeStack, before);
}

TEST(MoveStackEntry, InactiveStackMovesFreelyWithinItsEnds) {
    NodeTree tree = TreeWithHeaders({"a", "b"});
    tree.inactiveStack = {{0, kKindHeader}, {1, kKindHeader}};
    ScriptedPrompter prompter;
    MoveStackEntry(tree, prompter, 0, StackId::Inactive, MoveDirection::Up);
    MoveStackEntry(tree, prompter, 1, StackId::Inactive, MoveDirection::Down);
    EXPECT_EQ(tree.inactiveStack, (Stack{{0, kKindHeader}, {1, kKindHeader}}));
    MoveStackEntry(tree, prompter, 0, StackId::Inactive, MoveDirection::Down);
    EXPECT_EQ(tree.inactiveStack, (Stack{{1, kKindHeader}, {0, kKindHeader}}));
    EXPECT_TRUE(prompter.events.empty());
}

TEST(StackActivation, EntriesGoToTheEndOfTheOtherStack) {
    NodeTree tree = TreeWithHeaders({"a", "b", "c"});
    tree.activeStack = {kResumeEntry, {0, kKindHeader}, {1, kKindHeader}};
    tree.inactiveStack = {{2, kKindHeader}};

    DeactivateStackEntry(tree, 0); // the resume stays
    EXPECT_EQ(tree.activeStack.size(), 3U);

    DeactivateStackEntry(tree, 1);
    EXPECT_EQ(tree.activeStack, (Stack{kResumeEntry, {1, kKindHeader}}));
    EXPECT_EQ(tree.inactiveStack, (Stack{{2, kKindHeader}, {0, kKindHeader}}));

    ActivateStackEntry(tree, 1);
    EXPECT_EQ(tree.activeStack, (Stack{kResumeEntry, {1, kKindHeader}, {0, kKindHeader}}));
    EXPECT_EQ(tree.inactiveStack, (Stack{{2, kKindHeader}}));
}

TEST(DuplicateStackEntry, CopyFollowsTheOriginalAndLeavesItAlone) {
    NodeTree tree = TreeWithHeaders({"Work", "Skills"});
    tree.activeStack = {kResumeEntry, {0, kKindHeader}, {1, kKindHeader}};
    const auto copy = DuplicateStackEntry(tree, StackId::Active, 1);
    ASSERT_TRUE(copy.has_value());
    EXPECT_EQ(*copy, (StackEntry{2, kKindHeader}));
    EXPECT_EQ(tree.activeStack,
              (Stack{kResumeEntry, {0, kKindHeader}, {2, kKindHeader}, {1, kKindHeader}}));
    EXPECT_EQ(HeaderNames(tree), (std::vector<std::string>{"Work", "Skills", "Work"}));
    // The copy is a record of its own: changing it leaves the original as it was.
    tree.headers[2].header = "Work 2";
    EXPECT_EQ(tree.headers[0].header, "Work");

    tree.inactiveStack = {{1, kKindHeader}};
    ASSERT_TRUE(DuplicateStackEntry(tree, StackId::Inactive, 0).has_value());
    EXPECT_EQ(tree.inactiveStack, (Stack{{1, kKindHeader}, {3, kKindHeader}}));
}

TEST(DuplicateStackEntry, RefusesTheResumeAndDanglingEntries) {
    NodeTree tree = TreeWithHeaders({"Work"});
    tree.activeStack = {kResumeEntry, {5, kKindHeader}};
    EXPECT_FALSE(DuplicateStackEntry(tree, StackId::Active, 0).has_value());
    EXPECT_FALSE(DuplicateStackEntry(tree, StackId::Active, 1).has_value());
    EXPECT_FALSE(DuplicateStackEntry(tree, StackId::Active, 2).has_value());
    EXPECT_EQ(tree.activeStack.size(), 2U);
    EXPECT_EQ(tree.headers.size(), 1U);
}

TEST(NodeDisplayName, NamesEveryKindAndNothingOutsideTheTables) {
    NodeTree tree("/nowhere");
    ResetNodeTree(tree, {});
    tree.resume->name = "My CV";
    tree.headers.push_back({});
    tree.headers[0].header = "Experience";
    tree.resumeSections.push_back({});
    tree.resumeSections[0].title = "Summary";
    tree.slFields.push_back({});
    tree.slFields[0].fieldName = "Email";
    tree.mlFields.push_back({});
    tree.mlFields[0].fieldName = "Address";
    tree.rtfOutputs.push_back({});
    tree.rtfOutputs[0].name = "Logo";
    tree.txtOutputs.push_back({});
    tree.txtOutputs[0].name = "Footer";
    EXPECT_EQ(NodeDisplayName(tree, kResumeEntry), "My CV");
    EXPECT_EQ(NodeDisplayName(tree, {0, kKindHeader}), "Experience");
    EXPECT_EQ(NodeDisplayName(tree, {0, kKindResumeSection}), "Summary");
    EXPECT_EQ(NodeDisplayName(tree, {0, kKindSLField}), "Email");
    EXPECT_EQ(NodeDisplayName(tree, {0, kKindMLField}), "Address");
    EXPECT_EQ(NodeDisplayName(tree, {0, kKindRTFOutput}), "Logo");
    EXPECT_EQ(NodeDisplayName(tree, {0, kKindTXTOutput}), "Footer");
    EXPECT_EQ(NodeDisplayName(tree, {1, kKindHeader}), "");
    EXPECT_EQ(NodeDisplayName(tree, {-1, kKindHeader}), "");
    EXPECT_EQ(NodeDisplayName(tree, {0, 5}), "");
    EXPECT_EQ(NodeDisplayName(tree, {1, kKindResume}), "");
}

TEST(ProgramFolder, CutBeforeTheLastSeparator) {
    EXPECT_EQ(ProgramFolderOf("/opt/trellic/bin/trellic"), "/opt/trellic/bin");
    EXPECT_EQ(ProgramFolderOf("trellic"), "");
    EXPECT_FALSE(RunningProgramFolder().empty());
}

} // namespace
} // namespace trellic
