#pragma once

#include <QObject>
#include <memory>

class QAction;
class QTextEdit;

namespace trellic {

class UndoHistory;

// Edit > Undo and Redo over the resume's two histories. The view keeps its own: the typing and
// formatting since the last rendering, which every rendering forgets. The resume's history holds
// the commands that changed the tree, each of which renders. So whatever the view can undo is
// newer than every command, and Undo takes the view's steps first, then the commands; Redo the
// same way. An edit in the view is a change of its own, after which the commands' redo no longer
// applies.
class UndoRouter : public QObject {
    Q_OBJECT

public:
    // The router keeps the history, so that it lives as long as the view's signals reach it.
    UndoRouter(std::unique_ptr<UndoHistory> history, QTextEdit& view, QAction& undo, QAction& redo,
               QObject* parent = nullptr);
    ~UndoRouter() override;

    UndoHistory& History() const { return *m_history; }

    void Undo();
    void Redo();
    // The items' texts name the command they would take back ("&Undo Delete Node"); they are
    // offered only when there is something to do.
    void Refresh();

protected:
    // The text control takes Ctrl+Z and the other history keys for its own history; they must
    // reach the Edit menu's items, which know both.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<UndoHistory> m_history;
    QTextEdit& m_view;
    QAction& m_undo;
    QAction& m_redo;
};

} // namespace trellic
