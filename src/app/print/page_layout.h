#pragma once

#include "richtext/rich_document.h"

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QStringList>
#include <QTextDocument>
#include <QTextOption>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QPainter;
class QTextBlock;
class QTextLine;

namespace trellic {

// The resume laid out once for paper and cut into pages between lines, so that every line is
// painted on exactly one page. Text readers (applicant-tracking systems among them) take the
// PDF's text layer as it is painted, so the page painter also decides what they read:
// numbering markers come right before their paragraph's text, header rules are drawn as lines
// rather than as strings of macrons, and addresses become links.
//
// Coordinates are the view's 96-per-inch pixels.
class PrintLayout {
public:
    PrintLayout(const RichDocument& document, QSizeF textArea);
    ~PrintLayout();
    PrintLayout(const PrintLayout&) = delete;
    PrintLayout& operator=(const PrintLayout&) = delete;

    int PageCount() const { return static_cast<int>(m_pages.size()); }
    // Paints one page; the painter's origin is the top left corner of the page's text area and
    // its unit the layout pixel.
    void PaintPage(QPainter& painter, int page) const;

    // The text of the lines on a page, one entry per line (empty lines included), as laid
    // out: what the page shows, for tests and for the page count of the ATS check.
    QStringList PageLines(int page) const;

private:
    struct Line {
        int block = 0;
        int line = 0;
        qreal top = 0;
        qreal bottom = 0;
    };
    struct Page {
        qreal top = 0;
        std::vector<int> lines; // indexes into m_lines
    };
    enum class BlockKind { Text, Empty, Rule, Heading };

    void PrepareDocument();
    void Paginate();
    bool MayBreakBefore(int lineIndex) const;
    QTextBlock Block(int number) const;

    QImage m_device;
    QTextDocument m_document;
    QSizeF m_area;
    QStringList m_markers;
    std::vector<BlockKind> m_kinds;
    std::vector<Line> m_lines;
    std::vector<Page> m_pages;
};

// True for a paragraph that is nothing but a row of macrons: the header rule as the
// renderers write it.
bool IsRuleText(const QString& text);

// Where the line of a header rule goes: high in the rule's first line, as a macron sits just
// under the text above, from the paragraph's start to `right`; `origin` is the position of the
// line's layout.
QRectF RuleLineRect(const QTextLine& line, const QPointF& origin, qreal right);
// The colour of a rule: its text's, else `automatic`.
QColor RuleColor(const QTextBlock& block, const QColor& automatic);

// Where an indented paragraph's wrapped lines belong. The renderers indent with tabs (and put a
// bullet after them), which hold only for a paragraph's first line; wrapped lines belong under
// the text, past the tabs and any bullet. Positions are x coordinates of the block's layout.
struct HangingIndent {
    int tabs = 0;    // leading tab characters
    qreal textX = 0; // where the first line's text starts after the tabs
    qreal bodyX = 0; // where it starts past any bullet: the place of the wrapped lines
};
// Measured on the paragraph's first line, which starts at `firstLineX`; `wrapMargin` is where its
// wrapped lines start without hanging. Nothing for a paragraph that does not hang there: not
// indented, centred or right-aligned, right-to-left, or already hanging at least that far.
std::optional<HangingIndent> MeasureHangingIndent(const QTextBlock& block, qreal firstLineX,
                                                  qreal wrapMargin);

// The same for many paragraphs of one document in a row, while its formats and fonts stay as
// they are. A long resume has hundreds of paragraphs that start alike (the same tabs, bullet and
// first letter in the same formats under the same tab stops) and so hang alike; each such start
// is laid out once.
class HangingIndentMeasure {
public:
    std::optional<HangingIndent> operator()(const QTextBlock& block, qreal firstLineX,
                                            qreal wrapMargin);

private:
    struct Start {
        QString text;
        // Where each format of the measured text begins, and the document's number for it.
        std::vector<std::pair<int, int>> formats;
        QList<QTextOption::Tab> tabs;
        qreal firstLineX = 0;
        qreal textX = 0;
        qreal bodyX = 0;
    };
    std::vector<Start> m_starts;
};

// The addresses in a text that a reader would want to click: e-mail addresses (as mailto:)
// and web addresses (http, https, or starting with "www."). Each as [start, length, target].
struct LinkSpan {
    int start = 0;
    int length = 0;
    QString target;
};
std::vector<LinkSpan> FindLinks(const QString& text);

} // namespace trellic
