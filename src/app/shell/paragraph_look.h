#pragma once

#include <QList>
#include <QObject>
#include <QTextEdit>
#include <utility>
#include <vector>

class QPainter;
class QRect;

namespace trellic {

class HangingIndentMeasure;

// How the view shows paragraphs beyond their formats, as the printed page shows them: a header
// rule is a line across the text width rather than a row of macrons, and an indented
// paragraph's wrapped lines hang under its text. Only the look changes: the rule's macrons stay
// in the document (hidden), and the hanging margins are never read back as the paragraph's
// format, so saving, copying and the engine see the text as it is.
class ParagraphLook : public QObject {
public:
    // `view` must outlive this object; its document may be replaced only by installing content.
    explicit ParagraphLook(QTextEdit& view);

    // Restyles the whole document at once. Called inside the edit block that installs a new
    // text, the changes join that edit, and Qt can still lay a long text out bit by bit; the
    // end of that edit block then needs no restyling of its own.
    void RestyleAll();

    // Paints the rule lines that cross the viewport's `area`; `right` is the right edge of the
    // text area in document coordinates.
    void PaintRules(QPainter& painter, const QRect& area, qreal right) const;

    // A rule is passed in one step: a caret that a key or the mouse left inside one goes to its
    // end when it moved forward, to its start when it moved back, to the nearer end otherwise.
    void KeepCursorOutOfRules(int direction);
    // Backspace just behind a rule or Delete just before it takes the whole rule, one undo step;
    // false when the caret is not there.
    bool DeleteRule(bool backward);

    // Whether an edit at the caret can change where its paragraph hangs: it is among the tabs
    // and bullet the paragraph starts with. Such an edit goes in an edit block of its own, so
    // that the margin it calls for joins it as one undo step.
    bool CaretInParagraphStart() const;

    // Lets go of every rule before the whole text is replaced. Each rule holds a cursor, which
    // the document moves on every insertion: kept while a long text goes in, the rules of the
    // text before made the replacement take time growing with the square of its length.
    void ForgetRules();

    // The document ranges [start, end) of the rules shown as lines, for tests.
    std::vector<std::pair<int, int>> RuleRanges() const;

private:
    void NoteChange(int position, int added);
    void Restyle();
    void RestyleBlock(const QTextBlock& block, const QString& text, HangingIndentMeasure& measure);
    // The rule whose macrons [start, end) hold `position`, if any.
    bool RuleAt(int position, int& start, int& end) const;

    QTextEdit& m_view;
    QList<QTextEdit::ExtraSelection> m_rules;
    // The document range changed since the last restyling; -1 when none.
    int m_dirtyFrom = -1;
    int m_dirtyTo = -1;
    bool m_restyling = false;
    bool m_restyledAhead = false;
};

} // namespace trellic
