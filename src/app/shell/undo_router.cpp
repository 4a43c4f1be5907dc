#include "shell/undo_router.h"

#include "document/undo_history.h"

#include <QAction>
#include <QKeyEvent>
#include <QTextDocument>
#include <QTextEdit>

namespace trellic {

UndoRouter::UndoRouter(std::unique_ptr<UndoHistory> history, QTextEdit& view, QAction& undo,
                       QAction& redo, QObject* parent)
    : QObject(parent), m_history(std::move(history)), m_view(view), m_undo(undo), m_redo(redo) {
    m_history->SetChangeListener([this] { Refresh(); });
    connect(&m_view, &QTextEdit::undoAvailable, this, [this] { Refresh(); });
    connect(&m_view, &QTextEdit::redoAvailable, this, [this] { Refresh(); });
    // Undoing and redoing in the view add no command; only a fresh edit does.
    connect(m_view.document(), &QTextDocument::undoCommandAdded, this,
            [this] { m_history->ClearRedo(); });
    m_view.installEventFilter(this);
    Refresh();
}

UndoRouter::~UndoRouter() = default;

bool UndoRouter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_view && event->type() == QEvent::ShortcutOverride) {
        const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
        for (const QAction* action : {&m_undo, &m_redo}) {
            if (action->shortcuts().contains(pressed)) {
                // Not taken by the view: the window's shortcut runs instead.
                event->ignore();
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void UndoRouter::Undo() {
    if (m_view.document()->isUndoAvailable()) {
        m_view.undo();
    } else {
        m_history->Undo();
    }
    Refresh();
}

void UndoRouter::Redo() {
    if (m_view.document()->isRedoAvailable()) {
        m_view.redo();
    } else {
        m_history->Redo();
    }
    Refresh();
}

void UndoRouter::Refresh() {
    const bool viewUndo = m_view.document()->isUndoAvailable();
    const bool viewRedo = m_view.document()->isRedoAvailable();
    const QString undoName = viewUndo ? QString() : QString::fromStdString(m_history->UndoName());
    const QString redoName = viewRedo ? QString() : QString::fromStdString(m_history->RedoName());
    m_undo.setText(undoName.isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(undoName));
    m_redo.setText(redoName.isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(redoName));
    m_undo.setEnabled(viewUndo || m_history->CanUndo());
    m_redo.setEnabled(viewRedo || m_history->CanRedo());
}

} // namespace trellic
