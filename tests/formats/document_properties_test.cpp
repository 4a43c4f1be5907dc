#include "formats/document_properties.h"

#include <gtest/gtest.h>

namespace trellic {
namespace {

NodeTree Resume(const char* name, std::initializer_list<NodeKind> active) {
    NodeTree tree{std::string()};
    ResetNodeTree(tree, {});
    tree.resume->name = name;
    tree.headers.emplace_back().header = " Jane Doe\xC2\xA0"; // a no-break space
    tree.slFields.emplace_back().fieldName = "Phone";
    for (NodeKind kind : active) {
        tree.activeStack.push_back({0, kind});
    }
    return tree;
}

TEST(ResumeProperties, TitleAndAuthorComeFromTheNodesWithoutTheBlanksAroundThem) {
    const RichDocument text = MakeDocument(U"Shown text", PlainCharFormat(), PlainParaFormat());
    DocumentProperties p = ResumeProperties(nullptr, text);
    EXPECT_EQ(p.title, "Shown text");
    EXPECT_EQ(p.author, "");
    EXPECT_EQ(p.subject, "Resume");

    NodeTree named = Resume("  Senior CV ", {kKindHeader, kKindSLField});
    p = ResumeProperties(&named, text);
    EXPECT_EQ(p.title, "Senior CV");
    EXPECT_EQ(p.author, "Jane Doe");

    // Unnamed: the first header names it; a resume that does not open with one has no author.
    NodeTree unnamed = Resume("", {kKindSLField, kKindHeader});
    p = ResumeProperties(&unnamed, text);
    EXPECT_EQ(p.title, "Jane Doe");
    EXPECT_EQ(p.author, "");

    // In the Resume View the nodes are gone: the first line that is not blank.
    named.dataSource = kDataSourceViewRtf;
    RichDocument lines = MakeDocument(U"\u3000 \r\n\u2003Jane Doe\u00A0\r\nPhone",
                                      PlainCharFormat(), PlainParaFormat());
    EXPECT_EQ(ResumeProperties(&named, lines).title, "Jane Doe");
}

} // namespace
} // namespace trellic
