#include "spelling/spell_highlighter.h"

#include "spelling/spelling_session.h"

#include <QTextBlock>
#include <QTextLayout>

namespace trellic {

SpellHighlighter::SpellHighlighter(QTextDocument* document, SpellingSession& session)
    : QSyntaxHighlighter(document), m_session(&session), m_misspelt(MisspeltFormat()) {
    connect(&session, &SpellingSession::changed, this, &SpellHighlighter::RecheckAll);
}

QTextCharFormat SpellHighlighter::MisspeltFormat() {
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    format.setUnderlineColor(Qt::red);
    return format;
}

void SpellHighlighter::RecheckAll() {
    if (!m_session || document() == nullptr) {
        return;
    }
    // Marking block by block would make the document lay itself out anew from each block to
    // its end, seconds over a long document; the changed blocks are given their marks first and
    // laid out once, from the first to the last.
    int from = -1;
    int to = -1;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        QTextLayout* layout = block.layout();
        QList<QTextLayout::FormatRange> marked = layout->formats();
        QList<QTextLayout::FormatRange> wanted;
        for (const MisspeltRange& range : m_session->Misspellings(block.text())) {
            wanted.append({range.start, range.length, m_misspelt});
        }
        if (marked == wanted) {
            continue;
        }
        if (!layout->preeditAreaText().isEmpty()) {
            // What the user is composing keeps the input method's own formats.
            rehighlightBlock(block);
            continue;
        }
        layout->setFormats(wanted);
        from = from < 0 ? block.position() : from;
        to = block.position() + block.length();
    }
    if (from >= 0) {
        document()->markContentsDirty(from, to - from);
    }
}

void SpellHighlighter::highlightBlock(const QString& text) {
    if (!m_session) {
        return;
    }
    for (const MisspeltRange& range : m_session->Misspellings(text)) {
        setFormat(range.start, range.length, m_misspelt);
    }
}

} // namespace trellic
