#pragma once

#include "model/node_tree.h"
#include "render/resume_view.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace trellic {

// Shows the resume in the view as the open dialogs would leave it, before anything is stored.
// Each open dialog adds a layer: a change that puts its pending values into a copy of the
// resume. Showing renders that copy with every layer applied, the first added first; the tree
// itself is never written. When the last layer goes, the view shows the tree again as it
// stands, so a cancelled dialog leaves no trace in the view.
class LivePreview {
public:
    // Changes a copy of the tree: its records, stacks and renderer.
    using Layer = std::function<void(NodeTree&)>;

    // The tree and the view outlive the preview.
    LivePreview(const NodeTree& tree, ResumeView& view) : m_tree(tree), m_view(view) {}
    LivePreview(const LivePreview&) = delete;
    LivePreview& operator=(const LivePreview&) = delete;

    // Adds a layer on top of the others; the number removes it again.
    int AddLayer(Layer layer);
    // Removes a layer. A preview on screen is shown again without it, or, when it was the last,
    // the tree as it stands is rendered.
    void RemoveLayer(int id);

    // Renders the tree's copy with every layer applied. Only for a resume of nodes: the Resume
    // View's text is the resume and has nothing to preview. False when nothing was rendered.
    bool Show();
    // Renders the tree itself when a preview is on screen; nothing otherwise.
    void Restore();
    // Whether the view shows a preview rather than the tree.
    bool Showing() const { return m_showing; }

private:
    const NodeTree& m_tree;
    ResumeView& m_view;
    std::vector<std::pair<int, Layer>> m_layers;
    int m_nextId = 1;
    bool m_showing = false;
};

} // namespace trellic
