#pragma once

#include "print/rich_text_bridge.h"

#include <QString>
#include <QTextDocument>
#include <vector>

namespace trellic {

// The list markers of a document's blocks, kept up to date as the document changes rather than
// counted anew for every paint: a change renumbers from its first paragraph only until the
// numbers below it come out as they were.
class ListMarkers {
public:
    // The document as it is now after a change that put `added` characters at `position`
    // (QTextDocument::contentsChange). True when a marker may show differently: one changed,
    // or a changed paragraph has or had one.
    bool Update(const QTextDocument& document, int position, int added);
    // The marker of block `number`, empty where the block is not numbered. Counts all markers
    // anew when the document's blocks are not those last seen.
    const QString& Marker(const QTextDocument& document, int number);

private:
    // True when a marker was counted in the changed blocks or changed below them.
    bool Recount(const QTextDocument& document, int first, int changedTo);

    std::vector<ListMarker> m_markers;
};

} // namespace trellic
