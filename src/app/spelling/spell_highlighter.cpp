#include "spelling/spell_highlighter.h"

#include "spelling/spelling_session.h"

namespace trellic {

SpellHighlighter::SpellHighlighter(QTextDocument* document, SpellingSession& session)
    : QSyntaxHighlighter(document), m_session(&session), m_misspelt(MisspeltFormat()) {
    connect(&session, &SpellingSession::changed, this, &SpellHighlighter::rehighlight);
}

QTextCharFormat SpellHighlighter::MisspeltFormat() {
    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    format.setUnderlineColor(Qt::red);
    return format;
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
