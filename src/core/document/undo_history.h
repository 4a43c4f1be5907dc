#pragma once

#include "model/node_tree.h"
#include "richtext/rich_format.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace trellic {

class CTLXDoc;
class ResumeView;

// The resume's content as an undo step keeps it: every record, both stacks and the settings that
// decide what is rendered and where it is saved. The open file's protection and the reset count
// are not content: undoing never takes a lock back or pretends a reset did not happen.
struct TreeState {
    NodeTables tables;
    DataSource dataSource = kDataSourceNodes;
    Renderer renderer = kRendererRtf;
    std::string filePath;

    bool operator==(const TreeState&) const = default;
};

// The tree's records go whole; only the settings beside them are named here.
TreeState CaptureTree(const NodeTree& tree);
void ApplyTree(const TreeState& state, NodeTree& tree);

// One side of an undo step. In the Resume View the view's text is the resume, so it is kept
// too; in TLX Nodes the text follows from the tree and only the view's default format, which a
// rendering starts from, is kept.
struct ResumeState {
    TreeState tree;
    std::string viewText; // RTF, or UTF-8 for plain text; empty in TLX Nodes
    RichCharFormat viewDefault;

    // The default format alone is no change the user made: a TXT rendering resets it.
    bool SameContent(const ResumeState& other) const {
        return tree == other.tree && viewText == other.viewText;
    }
};

// Edit > Undo and Redo for the resume: one step per command that changed it, each holding the
// resume before and after. Undoing or redoing puts that state back, moves the File menu's marks
// with it and renders. A new command forgets what could be redone; the oldest steps go beyond a
// fixed depth. A resume that was replaced (New, Open, a template) takes its history with it:
// the history notices the tree's reset and forgets.
class UndoHistory {
public:
    static constexpr std::size_t kDefaultDepth = 100;

    UndoHistory(NodeTree& tree, ResumeView& view, CTLXDoc& doc, std::size_t depth = kDefaultDepth);
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    ResumeState Capture() const;
    // Records a finished command; nothing when it changed nothing.
    void Push(std::string name, ResumeState before, ResumeState after);

    bool CanUndo() const;
    bool CanRedo() const;
    // The command the next Undo or Redo takes back or repeats ("Delete Node"); empty if none.
    std::string UndoName() const;
    std::string RedoName() const;
    bool Undo();
    bool Redo();
    void Clear();
    // A change made outside the history (typing in the view) is newer than anything undone.
    void ClearRedo();

    // Runs after every change of what can be undone or redone, so a menu can follow.
    void SetChangeListener(std::function<void()> listener) { m_listener = std::move(listener); }

private:
    friend class UndoScope;

    struct Step {
        std::string name;
        ResumeState before;
        ResumeState after;
    };

    // False once the tree was reset since the history last looked at it.
    bool IsCurrent() const;
    void ForgetIfStale();
    // Puts target back; from is the state the step left, which tells whether the file path is
    // still the step's own to change.
    void Restore(const ResumeState& target, const ResumeState& from);
    void Notify();

    NodeTree& m_tree;
    ResumeView& m_view;
    CTLXDoc& m_doc;
    std::size_t m_depth;
    std::deque<Step> m_undo;
    std::vector<Step> m_redo;
    int32_t m_resetCount;
    int m_openScopes = 0;
    std::function<void()> m_listener;
};

// One command's step: the resume is taken as it is when the scope opens and recorded, if it
// changed, when the scope commits or ends. A scope opened inside another belongs to the outer
// one's step, so a command that runs others still makes one step. A null history records
// nothing.
class UndoScope {
public:
    UndoScope(UndoHistory* history, std::string name);
    ~UndoScope();
    UndoScope(const UndoScope&) = delete;
    UndoScope& operator=(const UndoScope&) = delete;

    void Commit();

private:
    UndoHistory* m_history;
    std::string m_name;
    ResumeState m_before;
    bool m_outermost = false;
    bool m_committed = false;
};

} // namespace trellic
