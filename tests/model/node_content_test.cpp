#include "model/new_records.h"
#include "model/node_content.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

// One record of every kind, each holding "old" as its content.
NodeTree TreeWithOldContent() {
    NodeTree tree{std::string()};
    ResetNodeTree(tree, {});
    tree.headers.emplace_back().header = "old";
    tree.resumeSections.emplace_back().data.text = "old";
    tree.slFields.emplace_back().fieldData = "old";
    tree.mlFields.emplace_back().fieldData.text = "old";
    tree.rtfOutputs.emplace_back().output.text = "old";
    tree.txtOutputs.emplace_back().output.text = "old";
    return tree;
}

TEST(NodeContent, EachKindTakesTypedTextByItsOwnRule) {
    struct Row {
        NodeKind kind;
        const char* afterLines;  // what "  First  \r\nSecond" leaves
        const char* afterBlanks; // what text without a first line leaves
    };
    const Row rows[] = {
        {kKindHeader, "First", "old"},
        {kKindSLField, "First", "old"},
        {kKindResumeSection, "  First  \r\nSecond", "old"},
        {kKindMLField, "  First  \r\nSecond", "\r\nSecond"},
        {kKindRTFOutput, "  First  \r\nSecond", "\r\nSecond"},
        {kKindTXTOutput, "  First  \r\nSecond", "\r\nSecond"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(KindName(row.kind));
        NodeTree tree = TreeWithOldContent();
        const StackEntry entry{0, row.kind};
        EXPECT_EQ(NodeContent(tree, entry), "old");
        EXPECT_TRUE(StoreNodeContent(tree, entry, {"  First  \r\nSecond", "First"}));
        EXPECT_EQ(NodeContent(tree, entry), row.afterLines);
        const bool kept = std::string(row.afterBlanks) == "old";
        tree = TreeWithOldContent();
        EXPECT_EQ(StoreNodeContent(tree, entry, {"\r\nSecond", ""}), !kept);
        EXPECT_EQ(NodeContent(tree, entry), row.afterBlanks);
        EXPECT_NE(NodeHelpOf(tree, entry), nullptr);
    }
    NodeTree tree = TreeWithOldContent();
    EXPECT_FALSE(StoreNodeContent(tree, kResumeEntry, {"x", "x"}));
    EXPECT_FALSE(StoreNodeContent(tree, {1, kKindHeader}, {"x", "x"}));
    EXPECT_EQ(NodeHelpOf(tree, kResumeEntry), nullptr);
    EXPECT_EQ(NodeContent(tree, {0, NodeKind{99}}), "");
}

TEST(NewRecords, NodesStartFromTheResumeStyleAndOutputsLeftAligned) {
    NodeTree tree = TreeWithOldContent();
    tree.resume->style.slFieldStyle.charFormat.faceName = "Georgia";
    tree.resume->style.slFieldBullet = 7;
    tree.resume->defaultCharFormat.faceName = "Verdana";
    const SLFieldNode field = NewRecord<SLFieldNode>(tree);
    EXPECT_TRUE(field.inheritStyle);
    EXPECT_EQ(field.style.charFormat.faceName, "Georgia");
    EXPECT_EQ(field.bullet, 7);
    EXPECT_EQ(field.info.version, 1.0F);
    EXPECT_EQ(field.info.renderCapabilities, kEveryRendering);
    const RTFOutputNode output = NewRecord<RTFOutputNode>(tree);
    EXPECT_TRUE(output.useFormatting);
    EXPECT_EQ(output.style.charFormat.faceName, "Verdana");
    EXPECT_EQ(output.style.paraFormat.alignment, kAlignLeft);
    EXPECT_EQ(NewRecord<TXTOutputNode>(tree).paraFormat.alignment, kAlignLeft);
}

} // namespace
} // namespace trellic
