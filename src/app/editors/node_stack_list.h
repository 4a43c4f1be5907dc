#pragma once

#include "model/node_tree.h"

#include <QListWidget>
#include <optional>

class QMimeData;

namespace trellic {

// The designer's list of one stack's nodes, whose lines the user can drag to another place of
// the list, or onto the stack chooser to reach the other stack. It only reports the drop: the
// designer moves the entry and fills the list again.
class CNodeStackList : public QListWidget {
    Q_OBJECT

public:
    // The type under which a dragged line travels, with its stack and line.
    static constexpr const char* kMimeType = "application/x-trellic-stack-entry";

    explicit CNodeStackList(QWidget* parent = nullptr);

    // The stack whose entries the lines are.
    void SetStack(StackId stack) { m_stack = stack; }
    StackId Stack() const { return m_stack; }

    // What a drag of a line carries: its stack and line, and which list of which process it
    // comes from, so that only this list's own lines are taken.
    QMimeData* EntryData(StackId stack, int line) const;
    // The stack and line of this list's own drag; nothing for anything else.
    std::optional<std::pair<StackId, int>> DraggedEntry(const QMimeData* data) const;
    // The line a drop at pos (viewport coordinates) puts an entry before: below the middle of a
    // line means after it, below the last line means at the end.
    int DropLine(const QPoint& pos) const;

signals:
    // A line of stack `from` was dropped before line `target` of this list's stack.
    void EntryDropped(StackId from, int line, StackId to, int target);

protected:
    QStringList mimeTypes() const override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    StackId m_stack = StackId::Active;
};

} // namespace trellic
