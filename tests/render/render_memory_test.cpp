#include "exhausted_view.h"
#include "render/render_driver.h"

#include <gtest/gtest.h>
#include <new>

namespace trellic {
namespace {

TEST(RenderResume, RunningOutOfMemoryKeepsTheViewAndReportsIt) {
    NodeTree tree{std::string()};
    ResetNodeTree(tree, {});
    tree.headers.emplace_back().header = "Shown";
    tree.activeStack.push_back({0, kKindHeader});
    tree.renderer = kRendererTxt;
    ExhaustedView view;
    ASSERT_TRUE(RenderResume(tree, view));
    const std::string shown = view.ExportText();
    ASSERT_NE(shown.find("Shown"), std::string::npos);

    tree.headers[0].header = "Next";
    view.failuresLeft = 1;
    EXPECT_FALSE(RenderResume(tree, view));
    EXPECT_EQ(view.ExportText(), shown);
    EXPECT_EQ(tree.headers[0].header, "Next");

    EXPECT_TRUE(RenderResume(tree, view));
    EXPECT_NE(view.ExportText().find("Next"), std::string::npos);
}

} // namespace
} // namespace trellic
