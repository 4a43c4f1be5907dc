#include "presets/node_description.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

NodeTree SampleTree() {
    NodeTree tree("/nowhere");
    ResetNodeTree(tree, {});
    tree.resume->name = "My CV";
    return tree;
}

TEST(DescribeNode, ResumeShowsItsOwnRenderer) {
    NodeTree tree = SampleTree();
    EXPECT_EQ(DescribeNode(kResumeEntry, tree),
              "Name: My CV\r\nRenderer: Rich Text File (RTF)\r\n");
    tree.resume->renderer = Renderer{7}; // anything but RTF reads as TXT
    EXPECT_EQ(DescribeNode(kResumeEntry, tree), "Name: My CV\r\nRenderer: Text File (TXT)\r\n");
}

TEST(DescribeNode, EveryKind) {
    NodeTree tree = SampleTree();
    tree.headers.push_back({});
    tree.resumeSections.push_back({});
    tree.resumeSections[0].title = "Summary";
    tree.resumeSections[0].inheritStyle = true;
    tree.resumeSections[0].data.text = "not shown";
    tree.slFields.push_back({});
    tree.slFields[0].fieldName = "Email";
    tree.slFields[0].fieldData = "ann@example.org";
    tree.mlFields.push_back({});
    tree.mlFields[0].fieldName = "Address";
    tree.mlFields[0].fieldData.text = "1 Main St\r\nSpringfield\r\nUSA";
    tree.rtfOutputs.push_back({});
    tree.rtfOutputs[0].name = "Logo";
    tree.rtfOutputs[0].useFormatting = true;
    tree.txtOutputs.push_back({});
    tree.txtOutputs[0].name = "Footer";

    EXPECT_EQ(DescribeNode({0, kKindHeader}, tree), "Header: \r\nInherit Style: No\r\n");
    EXPECT_EQ(DescribeNode({0, kKindResumeSection}, tree),
              "Resume Section: Summary\r\nInherit Style: Yes\r\n");
    EXPECT_EQ(DescribeNode({0, kKindSLField}, tree),
              "Field Name: Email\r\nField Data: ann@example.org\r\nInherit Style: No\r\n");
    EXPECT_EQ(DescribeNode({0, kKindMLField}, tree),
              "Field Name: Address\r\nField Data:\r\n1 Main St\r\nSpringfield\r\nUSA\r\n"
              "Inherit Style: No\r\n");
    EXPECT_EQ(DescribeNode({0, kKindRTFOutput}, tree), "Name: Logo\r\nUse Formatting: Yes\r\n");
    EXPECT_EQ(DescribeNode({0, kKindTXTOutput}, tree), "Name: Footer\r\nUse Formatting: No\r\n");
}

TEST(DescribeNode, NothingForEntriesOutsideTheTables) {
    const NodeTree tree = SampleTree();
    EXPECT_EQ(DescribeNode({0, kKindHeader}, tree), "");
    EXPECT_EQ(DescribeNode({0, NodeKind{3}}, tree), "");
    EXPECT_EQ(DescribeNode({-1, kKindSLField}, tree), "");
}

} // namespace
} // namespace trellic
