#pragma once

#include "richtext/rich_document.h"

#include <QImage>
#include <QSizeF>
#include <QStringList>
#include <QTextDocument>
#include <memory>
#include <vector>

class QPainter;
class QTextBlock;

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

// The addresses in a text that a reader would want to click: e-mail addresses (as mailto:)
// and web addresses (http, https, or starting with "www."). Each as [start, length, target].
struct LinkSpan {
    int start = 0;
    int length = 0;
    QString target;
};
std::vector<LinkSpan> FindLinks(const QString& text);

} // namespace trellic
