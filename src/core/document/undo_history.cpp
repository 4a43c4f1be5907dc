#include "document/undo_history.h"

#include "document/tlx_doc.h"
#include "render/render_driver.h"
#include "render/resume_view.h"

namespace trellic {

TreeState CaptureTree(const NodeTree& tree) {
    TreeState state;
    state.tables = tree;
    state.dataSource = tree.dataSource;
    state.renderer = tree.renderer;
    state.filePath = tree.filePath;
    return state;
}

void ApplyTree(const TreeState& state, NodeTree& tree) {
    NodeTables tables = state.tables;
    // The resume record keeps its address: an open dialog may hold a reference into it.
    if (tree.resume && tables.resume) {
        *tree.resume = std::move(*tables.resume);
        tables.resume = std::move(tree.resume);
    }
    static_cast<NodeTables&>(tree) = std::move(tables);
    tree.dataSource = state.dataSource;
    tree.renderer = state.renderer;
    tree.filePath = state.filePath;
}

UndoHistory::UndoHistory(NodeTree& tree, ResumeView& view, CTLXDoc& doc, std::size_t depth)
    : m_tree(tree), m_view(view), m_doc(doc), m_depth(depth < 1 ? 1 : depth),
      m_resetCount(tree.resetCount) {}

ResumeState UndoHistory::Capture() const {
    ResumeState state;
    state.tree = CaptureTree(m_tree);
    if (m_tree.dataSource == kDataSourceViewRtf) {
        state.viewText = m_view.ExportRtf();
    } else if (m_tree.dataSource != kDataSourceNodes) {
        state.viewText = m_view.ExportText();
    }
    state.viewDefault = m_view.DefaultCharFormat();
    return state;
}

void UndoHistory::Push(std::string name, ResumeState before, ResumeState after) {
    m_resetCount = m_tree.resetCount;
    if (before.SameContent(after)) {
        return;
    }
    m_redo.clear();
    m_undo.push_back({std::move(name), std::move(before), std::move(after)});
    while (m_undo.size() > m_depth) {
        m_undo.pop_front();
    }
    Notify();
}

bool UndoHistory::IsCurrent() const {
    return m_resetCount == m_tree.resetCount;
}

void UndoHistory::ForgetIfStale() {
    if (!IsCurrent()) {
        m_resetCount = m_tree.resetCount;
        Clear();
    }
}

bool UndoHistory::CanUndo() const {
    return IsCurrent() && !m_undo.empty();
}

bool UndoHistory::CanRedo() const {
    return IsCurrent() && !m_redo.empty();
}

std::string UndoHistory::UndoName() const {
    return CanUndo() ? m_undo.back().name : std::string();
}

std::string UndoHistory::RedoName() const {
    return CanRedo() ? m_redo.back().name : std::string();
}

bool UndoHistory::Undo() {
    ForgetIfStale();
    if (m_undo.empty() || m_openScopes > 0) {
        return false;
    }
    Step step = std::move(m_undo.back());
    m_undo.pop_back();
    Restore(step.before, step.after);
    m_redo.push_back(std::move(step));
    Notify();
    return true;
}

bool UndoHistory::Redo() {
    ForgetIfStale();
    if (m_redo.empty() || m_openScopes > 0) {
        return false;
    }
    Step step = std::move(m_redo.back());
    m_redo.pop_back();
    Restore(step.after, step.before);
    m_undo.push_back(std::move(step));
    Notify();
    return true;
}

void UndoHistory::Clear() {
    const bool had = !m_undo.empty() || !m_redo.empty();
    m_undo.clear();
    m_redo.clear();
    if (had) {
        Notify();
    }
}

void UndoHistory::ClearRedo() {
    if (!m_redo.empty()) {
        m_redo.clear();
        Notify();
    }
}

void UndoHistory::Restore(const ResumeState& target, const ResumeState& from) {
    TreeState tree = target.tree;
    // The step changed the path (a switch of format forgets it); a later Save As chose a new
    // one, which undoing must not take away, or the next Save would write another file.
    if (m_tree.filePath != from.tree.filePath) {
        tree.filePath = m_tree.filePath;
    }
    ApplyTree(tree, m_tree);

    // A command in a dialog may leave the resume's renderer ahead of the tree's, which the
    // designer then follows; the marks move with whatever is now in force.
    Renderer renderer = m_tree.renderer;
    if (m_tree.dataSource == kDataSourceNodes && m_tree.resume) {
        renderer = m_tree.resume->renderer;
    }
    if (renderer != m_tree.renderer || m_doc.Marks().renderer != renderer) {
        m_doc.SetRenderer(renderer, false);
    }
    if (m_doc.Marks().dataSource != m_tree.dataSource) {
        m_doc.SetDataSource(m_tree.dataSource == kDataSourceNodes ? CTLXDoc::kSetNodes
                                                                  : CTLXDoc::kSetResumeView);
    }

    if (m_tree.dataSource == kDataSourceNodes) {
        m_view.SetDefaultCharFormat(target.viewDefault);
        RenderResume(m_tree, m_view);
        return;
    }
    // The same steps as rendering the Resume View: plain formatting, then the text back in.
    const TextRange selection = m_view.Selection();
    ResetViewFormatting(m_view);
    if (m_tree.dataSource == kDataSourceViewRtf) {
        m_view.ImportRtf(target.viewText);
    } else {
        m_view.ImportText(target.viewText);
    }
    m_view.SetSelection(selection);
}

void UndoHistory::Notify() {
    if (m_listener) {
        m_listener();
    }
}

UndoScope::UndoScope(UndoHistory* history, std::string name)
    : m_history(history), m_name(std::move(name)) {
    if (m_history == nullptr) {
        return;
    }
    m_outermost = m_history->m_openScopes++ == 0;
    if (m_outermost) {
        m_history->ForgetIfStale();
        m_before = m_history->Capture();
    }
}

UndoScope::~UndoScope() {
    Commit();
    if (m_history != nullptr) {
        --m_history->m_openScopes;
    }
}

void UndoScope::Commit() {
    if (m_history == nullptr || !m_outermost || m_committed) {
        return;
    }
    m_committed = true;
    m_history->Push(std::move(m_name), std::move(m_before), m_history->Capture());
}

} // namespace trellic
