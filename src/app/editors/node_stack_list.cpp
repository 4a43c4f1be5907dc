#include "editors/node_stack_list.h"

#include <QCoreApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

namespace trellic {

CNodeStackList::CNodeStackList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
}

namespace {

QByteArray OwnerToken(const CNodeStackList* list) {
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
           QByteArray::number(reinterpret_cast<quintptr>(list));
}

} // namespace

QMimeData* CNodeStackList::EntryData(StackId stack, int line) const {
    auto* data = new QMimeData;
    data->setData(QLatin1String(kMimeType),
                  OwnerToken(this) + (stack == StackId::Active ? " active " : " inactive ") +
                      QByteArray::number(line));
    return data;
}

std::optional<std::pair<StackId, int>> CNodeStackList::DraggedEntry(const QMimeData* data) const {
    if (data == nullptr || !data->hasFormat(QLatin1String(kMimeType))) {
        return std::nullopt;
    }
    const QList<QByteArray> parts = data->data(QLatin1String(kMimeType)).split(' ');
    bool ok = false;
    const int line = parts.size() == 3 ? parts[2].toInt(&ok) : -1;
    if (!ok || line < 0 || parts[0] != OwnerToken(this) ||
        (parts[1] != "active" && parts[1] != "inactive")) {
        return std::nullopt;
    }
    return std::make_pair(parts[1] == "active" ? StackId::Active : StackId::Inactive, line);
}

int CNodeStackList::DropLine(const QPoint& pos) const {
    const QModelIndex index = indexAt(pos);
    if (!index.isValid()) {
        return count();
    }
    return index.row() + (pos.y() > visualRect(index).center().y() ? 1 : 0);
}

QStringList CNodeStackList::mimeTypes() const {
    return {QLatin1String(kMimeType)};
}

void CNodeStackList::startDrag(Qt::DropActions) {
    const QListWidgetItem* item = currentItem();
    if (item == nullptr || !(item->flags() & Qt::ItemIsDragEnabled)) {
        return;
    }
    // The list's own drag would take the line out of the model after a move; here only the
    // designer moves entries, and it fills the list again.
    auto* drag = new QDrag(this);
    drag->setMimeData(EntryData(m_stack, row(item)));
    drag->exec(Qt::MoveAction);
}

void CNodeStackList::dragEnterEvent(QDragEnterEvent* event) {
    // Lines come only from this list, never from another window or program.
    if (DraggedEntry(event->mimeData())) {
        QListWidget::dragEnterEvent(event);
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void CNodeStackList::dragMoveEvent(QDragMoveEvent* event) {
    if (DraggedEntry(event->mimeData())) {
        QListWidget::dragMoveEvent(event); // draws the drop indicator
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void CNodeStackList::dropEvent(QDropEvent* event) {
    const auto dragged = DraggedEntry(event->mimeData());
    if (!dragged) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    setState(NoState); // the drop indicator goes before the list is filled again
    viewport()->update();
    emit EntryDropped(dragged->first, dragged->second, m_stack,
                      DropLine(event->position().toPoint()));
}

} // namespace trellic
