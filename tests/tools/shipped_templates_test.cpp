// The templates the program ships are read by New from Template on every user's machine: each
// must load cleanly, render under both renderers, and point its help at pages that exist.

#include "engine/engine_log.h"
#include "engine/file_io.h"
#include "engine/prompter.h"
#include "model/tlx_file.h"
#include "presets/node_presets.h"
#include "render/render_driver.h"
#include "render/resume_view.h"
#include "tlx_check.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace trellic {
namespace {

namespace fs = std::filesystem;

const fs::path kBin = TRELLIC_BIN_DIR;

std::vector<fs::path> ShippedTemplates() {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(kBin / "templates")) {
        if (entry.path().extension() == ".tlx") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

NodeTree LoadTemplate(const fs::path& path) {
    NodeTree tree{kBin.string()};
    SilentPrompter prompter;
    EngineLog log;
    ResetNodeTree(tree, log, prompter);
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(path.string(), bytes).ok) << path;
    Archive ar = Archive::ForLoading(std::string_view(bytes));
    EXPECT_EQ(ReadTLX(ar, tree, prompter), TlxReadStatus::Loaded) << path;
    return tree;
}

TEST(ShippedTemplates, EnoughToChooseFrom) {
    EXPECT_GE(ShippedTemplates().size(), 5u);
}

TEST(ShippedTemplates, LoadWithoutFindingsAndRenderUnderBothRenderers) {
    for (const fs::path& path : ShippedTemplates()) {
        SCOPED_TRACE(path.filename().string());
        NodeTree tree = LoadTemplate(path);
        EXPECT_TRUE(
            tool::CheckTree(tree, static_cast<int32_t>(tree.activeStack.size()), 0).empty());
        for (Renderer renderer : {kRendererRtf, kRendererTxt}) {
            tree.renderer = renderer;
            HeadlessResumeView view;
            RenderResume(tree, view);
            const std::string text = view.ExportText();
            for (const HeaderNode& header : tree.headers) {
                EXPECT_NE(text.find(header.header), std::string::npos) << header.header;
            }
            // A field without a name renders a lone colon: templates name every field.
            EXPECT_EQ(text.find("\r\n:"), std::string::npos);
            EXPECT_FALSE(view.IsModified());
        }
    }
}

// Help addresses without a scheme are opened relative to the program folder.
TEST(ShippedTemplates, HelpAddressesReachShippedPages) {
    auto check = [](const NodeHelp& help) {
        if (help.helpURL.empty() || help.helpURL.find("://") != std::string::npos) {
            return;
        }
        const auto hash = help.helpURL.find('#');
        const fs::path page = kBin / help.helpURL.substr(0, hash);
        ASSERT_TRUE(fs::exists(page)) << help.helpURL;
        if (hash != std::string::npos) {
            const std::string anchor = "id=\"" + help.helpURL.substr(hash + 1) + "\"";
            EXPECT_NE(ReadText(page).find(anchor), std::string::npos) << help.helpURL;
        }
    };
    for (const fs::path& path : ShippedTemplates()) {
        SCOPED_TRACE(path.filename().string());
        const NodeTree tree = LoadTemplate(path);
        for (const auto& node : tree.headers)
            check(node.help);
        for (const auto& node : tree.resumeSections)
            check(node.help);
        for (const auto& node : tree.slFields)
            check(node.help);
        for (const auto& node : tree.mlFields)
            check(node.help);
        for (const auto& node : tree.rtfOutputs)
            check(node.help);
        for (const auto& node : tree.txtOutputs)
            check(node.help);
    }
}

} // namespace
} // namespace trellic
