#include "render/live_preview.h"

#include "render/render_driver.h"

#include <algorithm>

namespace trellic {

int LivePreview::AddLayer(Layer layer) {
    const int id = m_nextId++;
    m_layers.emplace_back(id, std::move(layer));
    return id;
}

void LivePreview::RemoveLayer(int id) {
    std::erase_if(m_layers, [id](const auto& layer) { return layer.first == id; });
    if (!m_showing) {
        return;
    }
    if (m_layers.empty()) {
        Restore();
    } else {
        Show();
    }
}

bool LivePreview::Show() {
    if (m_tree.dataSource != kDataSourceNodes) {
        return false;
    }
    // A copy without the open file's lock: only the records and what decides the rendering.
    NodeTree copy(m_tree.programFolder);
    static_cast<NodeTables&>(copy) = m_tree;
    copy.dataSource = m_tree.dataSource;
    copy.renderer = m_tree.renderer;
    for (const auto& [id, layer] : m_layers) {
        layer(copy);
    }
    // A text rendering makes plain text the view's default format; a preview must not leave
    // that behind for the renderings after it, which start from the view's default.
    const RichCharFormat viewDefault = m_view.DefaultCharFormat();
    const bool rendered = RenderResume(copy, m_view);
    m_view.SetDefaultCharFormat(viewDefault);
    m_showing = m_showing || rendered;
    return rendered;
}

void LivePreview::Restore() {
    if (!m_showing) {
        return;
    }
    m_showing = false;
    RenderResume(m_tree, m_view);
}

} // namespace trellic
