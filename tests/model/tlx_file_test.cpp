#include "model/serialize.h"
#include "model/tlx_file.h"
#include "scripted_prompter.h"
#include "tree_compare.h"
#include "tree_factory.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::ScriptedPrompter;

// What ResetNodeTree leaves, without a node library.
NodeTree EmptiedTree() {
    NodeTree tree("/nowhere");
    ResetNodeTree(tree, {});
    return tree;
}

TlxReadStatus Read(const std::string& bytes, NodeTree& tree, ScriptedPrompter& prompter) {
    Archive ar = Archive::ForLoading(bytes);
    return ReadTLX(ar, tree, prompter);
}

TEST(TlxWrite, FreshTreeLayout) {
    const NodeTree tree = EmptiedTree();
    const std::string bytes = WriteTLX(tree);
    const std::string head("\x06TLX4QV"
                           "\x00\x00\x00\x00"
                           "\x01\x00\x00\x00"
                           "\x00\x00\x00\x00",
                           19);
    EXPECT_EQ(bytes.substr(0, head.size()), head);
    EXPECT_EQ(bytes.substr(bytes.size() - 24), std::string(24, '\0'));
}

TEST(TlxWrite, TableCountsFollowFileOrderNotStackOrder) {
    NodeTree tree = EmptiedTree();
    tree.resume->defaultCharFormat.faceName = "X";
    tree.headers.resize(1);
    tree.resumeSections.resize(2);
    tree.mlFields.resize(3);
    tree.slFields.resize(4);
    tree.txtOutputs.resize(5);
    tree.rtfOutputs.resize(6);
    const std::string bytes = WriteTLX(tree);

    Archive ar = Archive::ForLoading(bytes);
    ScriptedPrompter prompter;
    NodeTree back = EmptiedTree();
    ASSERT_EQ(ReadTLX(ar, back, prompter), TlxReadStatus::Loaded);
    EXPECT_EQ(back.resumeSections.size(), 2U);
    EXPECT_EQ(back.headers.size(), 1U);
    EXPECT_EQ(back.mlFields.size(), 3U);
    EXPECT_EQ(back.slFields.size(), 4U);
    EXPECT_EQ(back.txtOutputs.size(), 5U);
    EXPECT_EQ(back.rtfOutputs.size(), 6U);

    // Sections come first: their count directly follows the resume record.
    Archive resumeOnly = Archive::ForStoring();
    SerializeResume(resumeOnly, *tree.resume);
    const std::size_t afterResume = 19 + resumeOnly.Stored().size();
    EXPECT_EQ(bytes.substr(afterResume, 4), std::string("\x02\x00\x00\x00", 4));
}

TEST(TlxRoundTrip, RandomTreesComeBackEqual) {
    testing::TreeFactory make(2024);
    for (int round = 0; round < 50; ++round) {
        const NodeTree tree = make.RandomTree(static_cast<std::size_t>(round % 6));
        ScriptedPrompter prompter;
        NodeTree back = EmptiedTree();
        ASSERT_EQ(Read(WriteTLX(tree), back, prompter), TlxReadStatus::Loaded);
        testing::ExpectSameResume(tree, back);
        EXPECT_TRUE(prompter.events.empty());
    }
}

TEST(TlxRoundTrip, ActiveCountOfOneLoadsABareResume) {
    ScriptedPrompter prompter;
    NodeTree back = EmptiedTree();
    ASSERT_EQ(Read(WriteTLX(EmptiedTree()), back, prompter), TlxReadStatus::Loaded);
    EXPECT_EQ(back.activeStack, std::vector<StackEntry>{kResumeEntry});
    EXPECT_TRUE(back.inactiveStack.empty());
    EXPECT_TRUE(back.headers.empty());
}

TEST(TlxRead, StoredRendererIsReadAndACutFileIsNotLoaded) {
    NodeTree tree = EmptiedTree();
    tree.renderer = kRendererTxt;
    const std::string bytes = WriteTLX(tree);
    ScriptedPrompter prompter;
    NodeTree back = EmptiedTree();
    Archive ar = Archive::ForLoading(bytes);
    ASSERT_EQ(ReadTLX(ar, back, prompter), TlxReadStatus::Loaded);
    EXPECT_EQ(back.renderer, 1);

    Archive cut = Archive::ForLoading(std::string_view(bytes).substr(0, bytes.size() - 1));
    NodeTree partial = EmptiedTree();
    EXPECT_EQ(ReadTLX(cut, partial, prompter), TlxReadStatus::UnexpectedEnd);
}

TEST(TlxRead, WrongMagicIsRefusedWithTheWarningAndReadsNothingFurther) {
    NodeTree source = EmptiedTree();
    source.renderer = kRendererTxt;
    const std::string good = WriteTLX(source);
    std::string lastLetter = good;
    lastLetter[6] = 'W';
    std::string lowerCase = good;
    lowerCase.replace(1, 3, "tlx");
    std::string shorter = good.substr(1);
    shorter[0] = '\x05';

    for (const auto& bytes : {lastLetter, lowerCase, shorter}) {
        ScriptedPrompter prompter;
        NodeTree tree = EmptiedTree();
        EXPECT_EQ(Read(bytes, tree, prompter), TlxReadStatus::InvalidMagic);
        ASSERT_EQ(prompter.events.size(), 1U);
        EXPECT_EQ(prompter.events[0].text, kInvalidTlxMessage);
        EXPECT_EQ(prompter.events[0].icon, MessageIcon::Warning);
        EXPECT_EQ(tree.renderer, 0); // the renderer that follows the magic was not read
        EXPECT_EQ(tree.activeStack, std::vector<StackEntry>{kResumeEntry});
    }
}

TEST(TlxRead, TruncatedAtEveryByteFailsCleanly) {
    testing::TreeFactory make(99);
    const std::string bytes = WriteTLX(make.RandomTree(2));
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        ScriptedPrompter prompter;
        NodeTree tree = EmptiedTree();
        const auto status = Read(bytes.substr(0, length), tree, prompter);
        // Cut inside the magic, the length prefix still claims more than is there.
        ASSERT_EQ(status, TlxReadStatus::UnexpectedEnd) << "length " << length;
        EXPECT_TRUE(prompter.events.empty());
    }
}

TEST(TlxRead, AbsurdCountsFailFastWithoutAllocating) {
    const std::string head("\x06TLX4QV\x00\x00\x00\x00", 11);
    const std::string twoBillion("\x00\x00\x00\x78", 4);
    std::string filler(85, '\0');

    // The active count, the inactive count and a table count each claiming two billion.
    const std::string activeAbsurd = head + twoBillion + filler;
    const std::string inactiveAbsurd =
        head + std::string("\x01\x00\x00\x00", 4) + twoBillion + filler;
    const std::string resume = WriteTLX(EmptiedTree()).substr(19, std::string::npos);
    std::string tableAbsurd = head + std::string("\x01\x00\x00\x00\x00\x00\x00\x00", 8) +
                              resume.substr(0, resume.size() - 24) + twoBillion + filler;

    for (const auto& bytes : {activeAbsurd, inactiveAbsurd, tableAbsurd}) {
        ScriptedPrompter prompter;
        NodeTree tree = EmptiedTree();
        EXPECT_EQ(Read(bytes, tree, prompter), TlxReadStatus::UnexpectedEnd);
        EXPECT_LE(tree.activeStack.capacity() + tree.inactiveStack.capacity() +
                      tree.resumeSections.capacity(),
                  16U);
    }
}

TEST(TlxRead, StacksAndTablesBeyondAnyResumeAreRefused) {
    // Every entry points to the one header, as a file made to stall the renderer would.
    NodeTree full = EmptiedTree();
    full.headers.emplace_back().header = "Again";
    full.activeStack.resize(kMaxTlxEntries, StackEntry{0, kKindHeader});
    full.inactiveStack.resize(kMaxTlxEntries, StackEntry{0, kKindHeader});
    full.slFields.resize(kMaxTlxEntries);
    ScriptedPrompter prompter;
    {
        NodeTree back = EmptiedTree();
        ASSERT_EQ(Read(WriteTLX(full), back, prompter), TlxReadStatus::Loaded);
        EXPECT_EQ(back.activeStack.size(), static_cast<std::size_t>(kMaxTlxEntries));
    }

    NodeTree longActive = EmptiedTree();
    longActive.activeStack = full.activeStack;
    longActive.activeStack.push_back({0, kKindHeader});
    NodeTree longInactive = EmptiedTree();
    longInactive.inactiveStack = full.inactiveStack;
    longInactive.inactiveStack.push_back({0, kKindHeader});
    NodeTree bigTable = EmptiedTree();
    bigTable.slFields.resize(kMaxTlxEntries + 1);
    for (const NodeTree* tree : {&longActive, &longInactive, &bigTable}) {
        NodeTree back = EmptiedTree();
        const std::string bytes = WriteTLX(*tree);
        Archive ar = Archive::ForLoading(bytes);
        EXPECT_EQ(ReadTLX(ar, back, prompter), TlxReadStatus::UnexpectedEnd);
    }
}

TEST(TlxRead, NegativeCountsReadNoRecords) {
    NodeTree tree = EmptiedTree();
    std::string bytes = WriteTLX(tree);
    bytes.replace(11, 4, std::string("\xF6\xFF\xFF\xFF", 4)); // active count -10
    bytes.replace(15, 4, std::string("\xFF\xFF\xFF\xFF", 4)); // inactive count -1
    bytes.replace(bytes.size() - 4, 4, std::string("\x00\x00\x00\x80", 4));
    ScriptedPrompter prompter;
    NodeTree back = EmptiedTree();
    EXPECT_EQ(Read(bytes, back, prompter), TlxReadStatus::Loaded);
    EXPECT_EQ(back.activeStack.size(), 1U);
    EXPECT_TRUE(back.inactiveStack.empty());
    EXPECT_TRUE(back.rtfOutputs.empty());
}

TEST(TlxRead, StackEntriesAreTakenAsTheyAre) {
    NodeTree tree = EmptiedTree();
    tree.activeStack.push_back({7, NodeKind{99}});
    tree.inactiveStack.push_back({-3, kKindResume});
    ScriptedPrompter prompter;
    NodeTree back = EmptiedTree();
    ASSERT_EQ(Read(WriteTLX(tree), back, prompter), TlxReadStatus::Loaded);
    EXPECT_EQ(back.activeStack, tree.activeStack);
    EXPECT_EQ(back.inactiveStack, tree.inactiveStack);
    EXPECT_EQ(NodeDisplayName(back, back.activeStack[1]), "");
}

} // namespace
} // namespace trellic
