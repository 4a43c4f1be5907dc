#include "shell/list_markers.h"

#include <QTextBlock>
#include <algorithm>

namespace trellic {

namespace {

QTextBlock BlockAt(const QTextDocument& document, int position) {
    const QTextBlock block = document.findBlock(std::max(position, 0));
    return block.isValid() ? block : document.lastBlock();
}

} // namespace

bool ListMarkers::Update(const QTextDocument& document, int position, int added) {
    const int count = document.blockCount();
    const int first = BlockAt(document, position).blockNumber();
    const int lastNew = BlockAt(document, position + std::max(added, 0)).blockNumber();
    // The blocks [first, lastNew] now stand where [first, lastOld] stood.
    const int lastOld = lastNew - (count - static_cast<int>(m_markers.size()));
    if (m_markers.empty() || first < 0 || lastOld < first - 1 ||
        lastOld >= static_cast<int>(m_markers.size())) {
        m_markers.assign(static_cast<size_t>(count), ListMarker{});
        Recount(document, 0, count - 1);
        return true;
    }
    const auto removedFrom = m_markers.begin() + first;
    const auto removedTo = m_markers.begin() + lastOld + 1;
    const bool hadMarker = std::any_of(removedFrom, removedTo,
                                       [](const ListMarker& kept) { return !kept.text.isEmpty(); });
    const int changed = lastNew - first + 1;
    m_markers.erase(removedFrom, removedTo);
    m_markers.insert(m_markers.begin() + first, static_cast<size_t>(changed), ListMarker{});
    return Recount(document, first, lastNew) || hadMarker;
}

bool ListMarkers::Recount(const QTextDocument& document, int first, int changedTo) {
    QTextBlock block = document.findBlockByNumber(first);
    QTextBlockFormat previous;
    int value = 0;
    if (first > 0) {
        previous = block.previous().blockFormat();
        value = m_markers[static_cast<size_t>(first - 1)].value;
    }
    bool shown = false;
    for (int number = first; block.isValid(); block = block.next(), ++number) {
        const QTextBlockFormat format = block.blockFormat();
        ListMarker marker = NextListMarker(previous, value, format);
        ListMarker& kept = m_markers[static_cast<size_t>(number)];
        // Below the change every block is as it was: once one numbers as before, so do all
        // that follow it.
        if (number > changedTo && marker == kept) {
            return shown;
        }
        shown = shown || number > changedTo || !marker.text.isEmpty();
        value = marker.value;
        kept = std::move(marker);
        previous = format;
    }
    return shown;
}

const QString& ListMarkers::Marker(const QTextDocument& document, int number) {
    if (m_markers.size() != static_cast<size_t>(document.blockCount())) {
        m_markers.clear();
        (void)Update(document, 0, document.characterCount());
    }
    static const QString kNone;
    return number >= 0 && static_cast<size_t>(number) < m_markers.size()
               ? m_markers[static_cast<size_t>(number)].text
               : kNone;
}

} // namespace trellic
