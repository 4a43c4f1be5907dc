#include "model/node_tree.h"
#include "scripted_prompter.h"
#include "tree_factory.h"

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
    tree.dataSource = kDataSourceViewTxt;
    tree.renderer = kRendererTxt;
    tree.rnsEnabled = true;
    tree.headers.resize(3);
    tree.inactiveStack.push_back({0, kKindHeader});
    int loads = 0;
    ResetNodeTree(tree, [&](ResumeNode& r) {
        ++loads;
        r.name = "From the library";
        r.renderer = kRendererTxt;
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

// A stack laid out as a resume is: the resume, then headers each with the nodes under them.
// Field i is {i, kKindSLField}; header i is {i, kKindHeader}.
constexpr StackEntry H(int32_t index) {
    return {index, kKindHeader};
}
constexpr StackEntry F(int32_t index) {
    return {index, kKindSLField};
}

TEST(HeaderBlockAt, AHeaderHeadsEverythingUpToTheNext) {
    NodeTree tree = TreeWithHeaders({});
    tree.activeStack = {kResumeEntry, F(0), H(0), F(1), F(2), H(1), H(2), F(3)};
    struct Row {
        std::size_t position;
        std::optional<StackRange> block;
    };
    const Row rows[] = {
        {0, std::nullopt},     // the resume heads nothing and is under nothing
        {1, std::nullopt},     // above the first header
        {2, StackRange{2, 5}}, // the header itself
        {4, StackRange{2, 5}}, // a node under it
        {5, StackRange{5, 6}}, // a header with nothing under it
        {7, StackRange{6, 8}}, // the last block runs to the end
        {8, std::nullopt},     // past the end
    };
    for (const Row& row : rows) {
        EXPECT_EQ(HeaderBlockAt(tree, StackId::Active, row.position), row.block) << row.position;
    }
    tree.inactiveStack = {H(0), F(0)};
    EXPECT_EQ(HeaderBlockAt(tree, StackId::Inactive, 1), (StackRange{0, 2}));
}

TEST(MoveHeaderBlock, CarriesTheNodesUnderTheHeaderPastTheNextBlock) {
    NodeTree tree = TreeWithHeaders({});
    const Stack start{kResumeEntry, H(0), F(0), F(1), H(1), F(2), H(2)};
    tree.activeStack = start;

    // Down from a node under the first header: the whole block goes below the second.
    EXPECT_EQ(MoveHeaderBlock(tree, StackId::Active, 3, MoveDirection::Down), 5U);
    EXPECT_EQ(tree.activeStack, (Stack{kResumeEntry, H(1), F(2), H(0), F(0), F(1), H(2)}));
    // And back up: the same block, the same entry followed.
    EXPECT_EQ(MoveHeaderBlock(tree, StackId::Active, 5, MoveDirection::Up), 3U);
    EXPECT_EQ(tree.activeStack, start);

    // The first block stays below the resume; the last cannot go further down.
    EXPECT_EQ(MoveHeaderBlock(tree, StackId::Active, 1, MoveDirection::Up), 1U);
    EXPECT_EQ(MoveHeaderBlock(tree, StackId::Active, 6, MoveDirection::Down), 6U);
    EXPECT_EQ(tree.activeStack, start);

    // The last block up past a block of two.
    EXPECT_EQ(MoveHeaderBlock(tree, StackId::Active, 6, MoveDirection::Up), 4U);
    EXPECT_EQ(tree.activeStack, (Stack{kResumeEntry, H(0), F(0), F(1), H(2), H(1), F(2)}));
}

TEST(MoveHeaderBlock, NodesUnderNoHeaderStayOrArePassedAsOne) {
    NodeTree tree = TreeWithHeaders({});
    tree.activeStack = {kResumeEntry, F(0), F(1), H(0), F(2)};
    // The loose nodes at the top belong to no block and do not move.
    EXPECT_EQ(MoveHeaderBlock(tree, StackId::Active, 2, MoveDirection::Down), 2U);
    EXPECT_EQ(tree.activeStack, (Stack{kResumeEntry, F(0), F(1), H(0), F(2)}));
    // A block moved up goes above them all at once, and never above the resume.
    EXPECT_EQ(MoveHeaderBlock(tree, StackId::Active, 4, MoveDirection::Up), 2U);
    EXPECT_EQ(tree.activeStack, (Stack{kResumeEntry, H(0), F(2), F(0), F(1)}));

    // The inactive stack has no resume: its first place is free.
    tree.inactiveStack = {F(3), H(1), F(4)};
    EXPECT_EQ(MoveHeaderBlock(tree, StackId::Inactive, 1, MoveDirection::Up), 0U);
    EXPECT_EQ(tree.inactiveStack, (Stack{H(1), F(4), F(3)}));
}

TEST(MoveHeaderBlock, AResumeEntryOutOfPlaceIsNeverCarried) {
    NodeTree tree = TreeWithHeaders({});
    // A damaged file: the resume's entry under a header.
    tree.activeStack = {kResumeEntry, H(0), kResumeEntry, H(1)};
    const Stack before = tree.activeStack;
    EXPECT_EQ(MoveHeaderBlock(tree, StackId::Active, 3, MoveDirection::Up), 3U);
    EXPECT_EQ(MoveHeaderBlock(tree, StackId::Active, 1, MoveDirection::Down), 1U);
    EXPECT_EQ(tree.activeStack, before);
}

TEST(MoveStackEntryTo, DropsWithinAndBetweenStacks) {
    NodeTree tree = TreeWithHeaders({});
    tree.activeStack = {kResumeEntry, F(0), F(1), F(2)};
    tree.inactiveStack = {F(3)};

    // Down within a stack: the drop place counts the entry that leaves it.
    EXPECT_EQ(MoveStackEntryTo(tree, StackId::Active, 1, StackId::Active, 3), 2U);
    EXPECT_EQ(tree.activeStack, (Stack{kResumeEntry, F(1), F(0), F(2)}));
    // Dropped on its own place: nothing moves.
    EXPECT_EQ(MoveStackEntryTo(tree, StackId::Active, 2, StackId::Active, 2), std::nullopt);
    EXPECT_EQ(MoveStackEntryTo(tree, StackId::Active, 2, StackId::Active, 3), std::nullopt);
    // Up to the top lands below the resume, never above it.
    EXPECT_EQ(MoveStackEntryTo(tree, StackId::Active, 3, StackId::Active, 0), 1U);
    EXPECT_EQ(tree.activeStack, (Stack{kResumeEntry, F(2), F(1), F(0)}));

    // To the other stack, at a place or past its end.
    EXPECT_EQ(MoveStackEntryTo(tree, StackId::Active, 2, StackId::Inactive, 0), 0U);
    EXPECT_EQ(MoveStackEntryTo(tree, StackId::Inactive, 1, StackId::Active, 99), 3U);
    EXPECT_EQ(tree.activeStack, (Stack{kResumeEntry, F(2), F(0), F(3)}));
    EXPECT_EQ(tree.inactiveStack, (Stack{F(1)}));

    // The resume's entry stays, and a position outside the stack moves nothing.
    EXPECT_EQ(MoveStackEntryTo(tree, StackId::Active, 0, StackId::Inactive, 0), std::nullopt);
    EXPECT_EQ(MoveStackEntryTo(tree, StackId::Inactive, 5, StackId::Active, 1), std::nullopt);
    EXPECT_EQ(tree.activeStack, (Stack{kResumeEntry, F(2), F(0), F(3)}));
    EXPECT_EQ(tree.inactiveStack, (Stack{F(1)}));
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
    EXPECT_EQ(NodeDisplayName(tree, {0, NodeKind{5}}), "");
    EXPECT_EQ(NodeDisplayName(tree, {1, kKindResume}), "");
}

TEST(NodeDisplayName, RenamingReachesTheFieldThatNamesEachKind) {
    NodeTree tree("/nowhere");
    ResetNodeTree(tree, {});
    tree.headers.resize(1);
    tree.resumeSections.resize(1);
    tree.slFields.resize(1);
    tree.mlFields.resize(1);
    tree.rtfOutputs.resize(1);
    tree.txtOutputs.resize(1);
    for (const NodeKind kind : {kKindResume, kKindHeader, kKindResumeSection, kKindSLField,
                                kKindMLField, kKindRTFOutput, kKindTXTOutput}) {
        EXPECT_TRUE(SetNodeDisplayName(tree, {0, kind}, std::string("n") + KindName(kind)));
    }
    EXPECT_EQ(tree.resume->name, "nResume");
    EXPECT_EQ(tree.headers[0].header, "nHeader");
    EXPECT_EQ(tree.resumeSections[0].title, "nResume Section");
    EXPECT_EQ(tree.slFields[0].fieldName, "nSingle Line Field");
    EXPECT_EQ(tree.mlFields[0].fieldName, "nMultiple Line Field");
    EXPECT_EQ(tree.rtfOutputs[0].name, "nRich Text File Output");
    EXPECT_EQ(tree.txtOutputs[0].name, "nText File Output");
    EXPECT_FALSE(SetNodeDisplayName(tree, {1, kKindHeader}, "outside"));
    EXPECT_FALSE(SetNodeDisplayName(tree, {0, NodeKind{5}}, "unknown"));
}

// Each row names its kind's table by member, not through the tree's own kind-to-table mapping,
// so a mapping that reaches the wrong table fails here.
struct KindRow {
    NodeKind kind;
    std::size_t (*size)(const NodeTables&);
    void (*erase)(NodeTables&, std::size_t);
    void (*duplicate)(NodeTables&, std::size_t);
};

template <auto Member> KindRow Row(NodeKind kind) {
    return {kind, [](const NodeTables& t) { return (t.*Member).size(); },
            [](NodeTables& t, std::size_t i) {
                auto& table = t.*Member;
                table.erase(table.begin() + static_cast<std::ptrdiff_t>(i));
            },
            [](NodeTables& t, std::size_t i) {
                auto& table = t.*Member;
                auto copy = table[i];
                table.push_back(copy);
            }};
}

const KindRow kKindRows[] = {
    Row<&NodeTables::headers>(kKindHeader),
    Row<&NodeTables::resumeSections>(kKindResumeSection),
    Row<&NodeTables::slFields>(kKindSLField),
    Row<&NodeTables::mlFields>(kKindMLField),
    Row<&NodeTables::rtfOutputs>(kKindRTFOutput),
    Row<&NodeTables::txtOutputs>(kKindTXTOutput),
};

// Tables of different sizes and records that differ, so a size or a record taken from the wrong
// table shows.
NodeTree TreeOfEveryKind() {
    testing::TreeFactory factory(7);
    NodeTree tree = factory.RandomTree(3);
    tree.headers.resize(4);
    tree.resumeSections.resize(5);
    tree.slFields.resize(6);
    tree.mlFields.resize(7);
    tree.rtfOutputs.resize(8);
    tree.txtOutputs.resize(9);
    return tree;
}

TEST(NodeTables, EveryKindReachesItsOwnTable) {
    NodeTree tree = TreeOfEveryKind();
    for (const KindRow& row : kKindRows) {
        SCOPED_TRACE(KindName(row.kind));
        EXPECT_EQ(tree.TableSize(row.kind), row.size(tree));
        const StackEntry last{static_cast<int32_t>(row.size(tree)) - 1, row.kind};
        EXPECT_TRUE(tree.RefersToRecord(last));
        EXPECT_FALSE(tree.RefersToRecord({last.index + 1, row.kind}));
        EXPECT_FALSE(
            VisitRecord(tree, {last.index + 1, row.kind}, [](const auto&) { return true; }));
    }
    EXPECT_EQ(tree.TableSize(kKindResume), 1U);
    EXPECT_EQ(tree.TableSize(NodeKind{5}), 0U);
}

TEST(DeleteNode, EveryKindDeletesFromItsOwnTable) {
    for (const KindRow& row : kKindRows) {
        SCOPED_TRACE(KindName(row.kind));
        NodeTree tree = TreeOfEveryKind();
        const NodeKind other = row.kind == kKindHeader ? kKindTXTOutput : kKindHeader;
        tree.activeStack = {kResumeEntry, {1, row.kind}, {2, other}};
        tree.inactiveStack = {{2, row.kind}};
        NodeTables expected = tree;
        row.erase(expected, 1);
        expected.activeStack = {kResumeEntry, {2, other}};
        expected.inactiveStack = {{1, row.kind}};

        DeleteNode(tree, {1, row.kind}, StackId::Active, 1);
        EXPECT_TRUE(static_cast<const NodeTables&>(tree) == expected);
    }
}

TEST(DuplicateStackEntry, EveryKindCopiesWithinItsOwnTable) {
    for (const KindRow& row : kKindRows) {
        SCOPED_TRACE(KindName(row.kind));
        NodeTree tree = TreeOfEveryKind();
        tree.activeStack = {kResumeEntry, {0, row.kind}, {1, row.kind}};
        tree.inactiveStack.clear();
        NodeTables expected = tree;
        row.duplicate(expected, 0);
        const StackEntry copy{static_cast<int32_t>(row.size(expected)) - 1, row.kind};
        expected.activeStack = {kResumeEntry, {0, row.kind}, copy, {1, row.kind}};

        EXPECT_EQ(DuplicateStackEntry(tree, StackId::Active, 1), copy);
        EXPECT_TRUE(static_cast<const NodeTables&>(tree) == expected);
    }
}

TEST(NodeTables, ACopyHoldsItsOwnResumeAndPutsTheTreeBack) {
    NodeTree tree = TreeOfEveryKind();
    const NodeTables saved = tree;
    ASSERT_NE(saved.resume.get(), tree.resume.get());
    const std::string name = tree.resume->name;

    ResetNodeTree(tree, [](ResumeNode& r) {
        r.name = "Replaced";
        return true;
    });
    EXPECT_EQ(saved.resume->name, name);
    EXPECT_FALSE(static_cast<const NodeTables&>(tree) == saved);

    static_cast<NodeTables&>(tree) = saved;
    EXPECT_TRUE(static_cast<const NodeTables&>(tree) == saved);
    EXPECT_EQ(tree.resume->name, name);
}

TEST(ProgramFolder, CutBeforeTheLastSeparator) {
    EXPECT_EQ(ProgramFolderOf("/opt/trellic/bin/trellic"), "/opt/trellic/bin");
    EXPECT_EQ(ProgramFolderOf("trellic"), "");
    EXPECT_FALSE(RunningProgramFolder().empty());
}

} // namespace
} // namespace trellic
