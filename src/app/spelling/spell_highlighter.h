#pragma once

#include <QPointer>
#include <QSyntaxHighlighter>
#include <QTextCharFormat>

namespace trellic {

class SpellingSession;

// Underlines the misspelt words of a document with a red wavy line. The line is part of the
// layout only: the text, its formats, its undo history and its modified flag never see it, so it
// is neither saved nor printed. A block is checked again when it changes, and every block when
// the session's language or accepted words change (re-marking only those whose marks differ).
class SpellHighlighter : public QSyntaxHighlighter {
    Q_OBJECT

public:
    SpellHighlighter(QTextDocument* document, SpellingSession& session);

    // The format a misspelt word is shown in.
    static QTextCharFormat MisspeltFormat();

protected:
    void highlightBlock(const QString& text) override;

private:
    void RecheckAll();

    QPointer<SpellingSession> m_session;
    QTextCharFormat m_misspelt;
};

} // namespace trellic
