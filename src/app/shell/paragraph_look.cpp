#include "shell/paragraph_look.h"

#include "print/page_layout.h"
#include "print/rich_text_bridge.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <utility>

namespace trellic {

namespace {

constexpr QChar kMacron(0x00AF);
// Closer than this, two margins are the same margin.
constexpr qreal kSameMargin = 0.01;
// Marks a paragraph shown hanging, so that the many that never hang are passed over quickly.
constexpr int kShownHangingProperty = QTextFormat::UserProperty + 200;

// The macrons of a rule block, without the blank space around them, in document positions.
std::pair<int, int> MacronsOf(const QTextBlock& block) {
    const QString text = block.text();
    const auto first = text.indexOf(kMacron);
    const auto last = text.lastIndexOf(kMacron);
    return {block.position() + static_cast<int>(first),
            block.position() + static_cast<int>(last) + 1};
}

} // namespace

ParagraphLook::ParagraphLook(QTextEdit& view) : QObject(&view), m_view(view) {
    QTextDocument* document = m_view.document();
    // contentsChange comes before the layout has seen the change, contentsChanged after it:
    // the one says where, the other when the new lines can be measured.
    connect(document, &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { NoteChange(position, added); });
    connect(document, &QTextDocument::contentsChanged, this, [this] { Restyle(); });
    // A click or a drag that lands inside a rule takes the nearer end of it.
    connect(&m_view, &QTextEdit::cursorPositionChanged, this, [this] {
        if (QGuiApplication::mouseButtons() != Qt::NoButton) {
            KeepCursorOutOfRules(0);
        }
    });
    NoteChange(0, document->characterCount());
    Restyle();
}

void ParagraphLook::NoteChange(int position, int added) {
    if (m_restyling || std::exchange(m_restyledAhead, false)) {
        return;
    }
    const int end = position + std::max(added, 0);
    m_dirtyFrom = m_dirtyFrom < 0 ? position : std::min(m_dirtyFrom, position);
    m_dirtyTo = std::max(m_dirtyTo, end);
}

void ParagraphLook::RestyleAll() {
    NoteChange(0, m_view.document()->characterCount());
    Restyle();
    m_restyledAhead = true;
}

void ParagraphLook::ForgetRules() {
    if (!m_rules.isEmpty()) {
        m_rules.clear();
        m_view.setExtraSelections(m_rules);
    }
}

void ParagraphLook::Restyle() {
    QTextDocument* document = m_view.document();
    // An emptied document holds nothing to show differently. Clearing also announces the
    // empty document while it has set the cursors aside: one of ours let go then would be
    // freed behind Qt's back, so stale rules wait for the next text.
    if (m_restyling || m_dirtyFrom < 0 || document->isEmpty()) {
        return;
    }
    m_restyling = true;
    const int last = std::max(0, document->characterCount() - 1);
    const QTextBlock firstBlock = document->findBlock(std::min(m_dirtyFrom, last));
    const QTextBlock lastBlock = document->findBlock(std::min(m_dirtyTo, last));
    m_dirtyFrom = m_dirtyTo = -1;
    const int from = firstBlock.position();
    const int to = lastBlock.position() + lastBlock.length();

    // Rules in the changed paragraphs are found anew; so is any rule whose macrons were
    // deleted or merged into other text.
    const auto before = m_rules.size();
    bool changed = false;
    m_rules.removeIf([&](const QTextEdit::ExtraSelection& rule) {
        const int start = rule.cursor.selectionStart();
        const bool stale = !rule.cursor.hasSelection() || (start >= from && start < to);
        changed = changed || stale;
        return stale;
    });
    HangingIndentMeasure measure;
    for (QTextBlock block = firstBlock; block.isValid(); block = block.next()) {
        const QString text = block.text();
        if (IsRuleText(text)) {
            const auto [start, end] = MacronsOf(block);
            QTextEdit::ExtraSelection rule;
            rule.cursor = QTextCursor(document);
            rule.cursor.setPosition(start);
            rule.cursor.setPosition(end, QTextCursor::KeepAnchor);
            // The macrons stay in the text but only the line drawn over them shows.
            rule.format.setForeground(QColor(Qt::transparent));
            m_rules.append(rule);
            changed = true;
        }
        RestyleBlock(block, text, measure);
        if (block == lastBlock) {
            break;
        }
    }
    if (changed || m_rules.size() != before) {
        std::sort(m_rules.begin(), m_rules.end(), [](const auto& a, const auto& b) {
            return a.cursor.selectionStart() < b.cursor.selectionStart();
        });
        m_view.setExtraSelections(m_rules);
    }
    m_dirtyFrom = m_dirtyTo = -1;
    m_restyling = false;
}

void ParagraphLook::RestyleBlock(const QTextBlock& block, const QString& text,
                                 HangingIndentMeasure& measure) {
    QTextDocument* document = m_view.document();
    const QTextBlockFormat current = block.blockFormat();
    const bool mayHang =
        !text.isEmpty() && (text.front() == u'\t' || !text.front().isLetterOrNumber());
    if (!mayHang && !current.hasProperty(kShownHangingProperty)) {
        return;
    }
    // The paragraph's own margins, as its format holds them; what is shown may hang further.
    const QTextBlockFormat own = ToQtBlockFormat(FromQtBlockFormat(current));
    const qreal firstLineX = own.leftMargin() + own.textIndent();
    qreal left = own.leftMargin();
    if (mayHang) {
        if (const auto hanging = measure(block, firstLineX, own.leftMargin())) {
            left = hanging->bodyX;
        }
    }
    const qreal indent = firstLineX - left;
    if (std::abs(current.leftMargin() - left) < kSameMargin &&
        std::abs(current.textIndent() - indent) < kSameMargin) {
        return;
    }
    // Right after an undo or redo the margins came back with the text they were measured for.
    if (document->isUndoRedoEnabled() && document->isRedoAvailable()) {
        return;
    }
    const bool modified = document->isModified();
    QTextCursor edit(block);
    // Joined to the edit that called for it, so that one undo takes back both.
    if (document->isUndoRedoEnabled() && document->isUndoAvailable()) {
        edit.joinPreviousEditBlock();
    } else {
        edit.beginEditBlock();
    }
    QTextBlockFormat shown = current;
    shown.setLeftMargin(left);
    shown.setTextIndent(indent);
    if (std::abs(left - own.leftMargin()) < kSameMargin) {
        shown.clearProperty(kShownHangingProperty);
    } else {
        shown.setProperty(kShownHangingProperty, true);
    }
    edit.setBlockFormat(shown);
    edit.endEditBlock();
    if (!modified) {
        document->setModified(false);
    }
}

void ParagraphLook::PaintRules(QPainter& painter, const QRect& area, qreal right) const {
    const QPointF scroll(-m_view.horizontalScrollBar()->value(),
                         -m_view.verticalScrollBar()->value());
    for (const QTextEdit::ExtraSelection& rule : m_rules) {
        const QTextBlock block = rule.cursor.block();
        const QTextLayout* layout = block.layout();
        if (!rule.cursor.hasSelection()) {
            continue;
        }
        if (!block.isVisible() || layout == nullptr || layout->lineCount() == 0) {
            continue;
        }
        const QPointF origin = layout->position() + scroll;
        const QRectF bounds = layout->boundingRect().translated(origin);
        if (bounds.bottom() < area.top() || bounds.top() > area.bottom()) {
            continue;
        }
        const QRectF line = RuleLineRect(layout->lineAt(0), origin,
                                         right + scroll.x() - block.blockFormat().rightMargin());
        painter.fillRect(line, RuleColor(block, m_view.palette().color(QPalette::Text)));
    }
}

bool ParagraphLook::RuleAt(int position, int& start, int& end) const {
    for (const QTextEdit::ExtraSelection& rule : m_rules) {
        if (rule.cursor.selectionStart() <= position && position <= rule.cursor.selectionEnd()) {
            start = rule.cursor.selectionStart();
            end = rule.cursor.selectionEnd();
            return true;
        }
    }
    return false;
}

void ParagraphLook::KeepCursorOutOfRules(int direction) {
    QTextCursor cursor = m_view.textCursor();
    int start = 0;
    int end = 0;
    const int position = cursor.position();
    if (!RuleAt(position, start, end) || position == start || position == end) {
        return;
    }
    int target = direction > 0 ? end : start;
    if (direction == 0) {
        target = position - start <= end - position ? start : end;
    }
    const int anchor = cursor.anchor();
    cursor.setPosition(anchor);
    cursor.setPosition(target, QTextCursor::KeepAnchor);
    if (anchor == position) {
        cursor.setPosition(target);
    }
    m_view.setTextCursor(cursor);
}

bool ParagraphLook::DeleteRule(bool backward) {
    QTextCursor cursor = m_view.textCursor();
    int start = 0;
    int end = 0;
    if (cursor.hasSelection() || !RuleAt(cursor.position(), start, end) ||
        cursor.position() != (backward ? end : start)) {
        return false;
    }
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    m_view.setTextCursor(cursor);
    return true;
}

bool ParagraphLook::CaretInParagraphStart() const {
    const QTextCursor cursor = m_view.textCursor();
    if (cursor.hasSelection()) {
        return false; // replacing a selection is one edit block already
    }
    const QString text = cursor.block().text();
    int start = 0;
    while (start < text.size() && !text[start].isLetterOrNumber()) {
        ++start;
    }
    return cursor.positionInBlock() <= start + 1;
}

std::vector<std::pair<int, int>> ParagraphLook::RuleRanges() const {
    std::vector<std::pair<int, int>> ranges;
    for (const QTextEdit::ExtraSelection& rule : m_rules) {
        ranges.emplace_back(rule.cursor.selectionStart(), rule.cursor.selectionEnd());
    }
    return ranges;
}

} // namespace trellic
