#pragma once

#include "render/render_driver.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace trellic::testing {

// A tree with a known resume style and a headless view to render it into.
struct RenderFixture {
    RenderFixture() {
        ResetNodeTree(tree, {});
        ResumeNode& r = *tree.resume;
        r.defaultCharFormat = Format("Times New Roman", 200);
        r.style.headerStyle = {Format("Georgia", 320, true), {0, 1, 0, 0}};
        r.style.sectionStyle = {Format("Verdana", 240), {0, 1, 0, 0}};
        r.style.slFieldStyle = {Format("Tahoma", 220), {0, 1, 0, 0}};
        r.style.mlFieldStyle = {Format("Calibri", 210), {0, 1, 0, 0}};
    }

    static CharFormat Format(const char* face, int32_t height, bool bold = false) {
        CharFormat f;
        f.faceName = face;
        f.height = height;
        f.bold = bold;
        return f;
    }

    StackEntry AddHeader(const std::string& text, bool inherit = true) {
        HeaderNode& h = tree.headers.emplace_back();
        h.header = text;
        h.inheritStyle = inherit;
        h.style = {Format("Own Header", 300), {0, 1, 0, 0}};
        return Push({static_cast<int32_t>(tree.headers.size() - 1), kKindHeader});
    }
    StackEntry AddSection(const std::string& title, const std::string& data, bool inherit = true) {
        ResumeSectionNode& s = tree.resumeSections.emplace_back();
        s.title = title;
        s.data.text = data;
        s.inheritStyle = inherit;
        s.style = {Format("Own Section", 260), {0, 1, 0, 0}};
        return Push({static_cast<int32_t>(tree.resumeSections.size() - 1), kKindResumeSection});
    }
    StackEntry AddSLField(const std::string& name, const std::string& data, bool inherit = true) {
        SLFieldNode& f = tree.slFields.emplace_back();
        f.fieldName = name;
        f.fieldData = data;
        f.inheritStyle = inherit;
        f.style = {Format("Own Line", 250), {0, 1, 0, 0}};
        return Push({static_cast<int32_t>(tree.slFields.size() - 1), kKindSLField});
    }
    StackEntry AddMLField(const std::string& name, const std::string& data, bool inherit = true) {
        MLFieldNode& f = tree.mlFields.emplace_back();
        f.fieldName = name;
        f.fieldData.text = data;
        f.inheritStyle = inherit;
        f.style = {Format("Own Lines", 230), {0, 1, 0, 0}};
        return Push({static_cast<int32_t>(tree.mlFields.size() - 1), kKindMLField});
    }
    StackEntry AddRTFOutput(const std::string& text, bool useFormatting, int32_t spacing = 0) {
        RTFOutputNode& o = tree.rtfOutputs.emplace_back();
        o.output = {spacing, text};
        o.useFormatting = useFormatting;
        o.style = {Format("Courier New", 200), {0, 1, 0, 0}};
        return Push({static_cast<int32_t>(tree.rtfOutputs.size() - 1), kKindRTFOutput});
    }
    StackEntry AddTXTOutput(const std::string& text, bool useFormatting, int32_t spacing = 0) {
        TXTOutputNode& o = tree.txtOutputs.emplace_back();
        o.output = {spacing, text};
        o.useFormatting = useFormatting;
        return Push({static_cast<int32_t>(tree.txtOutputs.size() - 1), kKindTXTOutput});
    }
    StackEntry Push(StackEntry entry) {
        tree.activeStack.push_back(entry);
        return entry;
    }

    std::string RenderText(Renderer renderer) {
        tree.renderer = renderer;
        RenderResume(tree, view);
        return view.ExportText();
    }
    const RichDocument& RenderRich() {
        tree.renderer = kRendererRtf;
        RenderResume(tree, view);
        return view.Buffer().Document();
    }

    NodeTree tree{std::string()};
    HeadlessResumeView view;
};

// One run with the paragraph it stands in, for checking a rendering piece by piece.
struct FlatRun {
    std::u32string text;
    RichCharFormat format;
    RichParaFormat paragraph;
};

inline std::vector<FlatRun> Runs(const RichDocument& document) {
    std::vector<FlatRun> runs;
    for (const auto& p : document.paragraphs) {
        for (const auto& r : p.runs) {
            runs.push_back({r.text, r.format, p.format});
        }
    }
    return runs;
}

// The first run whose text contains the given text.
inline FlatRun RunWith(const RichDocument& document, const std::u32string& text) {
    for (const auto& run : Runs(document)) {
        if (run.text.find(text) != std::u32string::npos) {
            return run;
        }
    }
    ADD_FAILURE() << "no run holds the text";
    return {};
}

inline std::u32string U32(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

} // namespace trellic::testing
