#include "print/page_layout.h"

#include "print/rich_text_bridge.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>
#include <algorithm>
#include <limits>

namespace trellic {

namespace {

constexpr qreal kLayoutDpi = 96.0;
constexpr qreal kMarkerGap = 6.0;

QImage LayoutDevice() {
    QImage device(1, 1, QImage::Format_RGB32);
    const int dotsPerMeter = qRound(kLayoutDpi / 0.0254);
    device.setDotsPerMeterX(dotsPerMeter);
    device.setDotsPerMeterY(dotsPerMeter);
    return device;
}

QTextCharFormat FirstCharFormat(const QTextBlock& block) {
    return block.begin().atEnd() ? block.charFormat() : block.begin().fragment().charFormat();
}

QColor ForegroundOf(const QTextCharFormat& format, const QColor& automatic = Qt::black) {
    const bool colored = format.hasProperty(QTextFormat::ForegroundBrush) &&
                         format.foreground().style() != Qt::NoBrush;
    return colored ? format.foreground().color() : automatic;
}

// A bullet as the renderers write it: one symbol, then blank space before the text.
int BulletEnd(const QString& text, int from) {
    if (from + 1 >= text.size()) {
        return from;
    }
    const QChar symbol = text[from];
    if (symbol.isLetterOrNumber() || symbol.isSpace() || symbol == u'(' || symbol == u'"' ||
        symbol == u'\'') {
        return from;
    }
    int end = from + 1;
    while (end < text.size() && text[end] == u' ') {
        ++end;
    }
    return end > from + 1 && end < text.size() ? end : from;
}

bool AllBold(const QTextBlock& block) {
    bool any = false;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        // A bullet in front of a title, often in a symbol font, is not part of it.
        const QString text = fragment.text();
        if (std::none_of(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber(); })) {
            continue;
        }
        if (fragment.charFormat().fontWeight() < QFont::DemiBold) {
            return false;
        }
        any = true;
    }
    return any;
}

} // namespace

bool IsRuleText(const QString& text) {
    return IsRuleText(std::u32string_view(text.toStdU32String()));
}

std::vector<LinkSpan> FindLinks(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral(
            R"((?<![\w.@/-])(?:(https?://|www\.)[^\s<>"]+|[A-Za-z0-9._%+-]+@[A-Za-z0-9-]+(?:\.[A-Za-z0-9-]+)*\.[A-Za-z]{2,}))"),
        QRegularExpression::CaseInsensitiveOption);
    std::vector<LinkSpan> links;
    for (auto it = pattern.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        QString found = match.captured(0);
        // Sentence punctuation after an address is not part of it.
        while (!found.isEmpty() && QStringLiteral(".,;:!?)]'").contains(found.back())) {
            found.chop(1);
        }
        if (found.isEmpty()) {
            continue;
        }
        LinkSpan span;
        span.start = static_cast<int>(match.capturedStart(0));
        span.length = static_cast<int>(found.size());
        const QString scheme = match.captured(1).toLower();
        if (scheme.isEmpty()) {
            span.target = QStringLiteral("mailto:") + found;
        } else if (scheme == QStringLiteral("www.")) {
            span.target = QStringLiteral("https://") + found;
        } else {
            span.target = found;
        }
        links.push_back(span);
    }
    return links;
}

QRectF RuleLineRect(const QTextLine& line, const QPointF& origin, qreal right) {
    const qreal y = origin.y() + line.y() + line.ascent() * 0.22;
    const qreal thickness = qMax<qreal>(1.0, line.height() * 0.06);
    const qreal left = origin.x() + line.cursorToX(line.textStart());
    return {left, y, right - left, thickness};
}

QColor RuleColor(const QTextBlock& block, const QColor& automatic) {
    return ForegroundOf(FirstCharFormat(block), automatic);
}

std::optional<HangingIndent> MeasureHangingIndent(const QTextBlock& block, qreal firstLineX,
                                                  qreal wrapMargin) {
    return HangingIndentMeasure()(block, firstLineX, wrapMargin);
}

std::optional<HangingIndent> HangingIndentMeasure::operator()(const QTextBlock& block,
                                                              qreal firstLineX, qreal wrapMargin) {
    const QString text = block.text();
    const QTextBlockFormat format = block.blockFormat();
    const Qt::Alignment align = format.alignment() & Qt::AlignHorizontal_Mask;
    if (block.textDirection() == Qt::RightToLeft ||
        (align != Qt::AlignLeft && align != Qt::AlignJustify && align != Qt::AlignLeading &&
         align != 0)) {
        return std::nullopt;
    }
    int tabs = 0;
    while (tabs < text.size() && text[tabs] == u'\t') {
        ++tabs;
    }
    const int body = BulletEnd(text, tabs);
    if (tabs == text.size() || (tabs == 0 && body == 0)) {
        return std::nullopt;
    }
    // Only the start of the first line is measured, on a layout of its own: laying the whole
    // paragraph out (let alone the document up to it) would cost a large file dearly.
    // The character after the bullet's blank comes along: a blank that ends a line is measured
    // as the end of a line, not as the space before a word.
    const int measured = std::min(body + 1, static_cast<int>(text.size()));
    Start start;
    start.text = text.left(measured);
    start.tabs = format.tabPositions();
    start.firstLineX = firstLineX;
    std::vector<QTextFragment> fragments;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int from = fragment.position() - block.position();
        if (from >= measured) {
            break;
        }
        start.formats.emplace_back(from, fragment.charFormatIndex());
        fragments.push_back(fragment);
    }
    const auto known = std::find_if(m_starts.begin(), m_starts.end(), [&](const Start& other) {
        return other.text == start.text && other.formats == start.formats &&
               other.tabs == start.tabs && other.firstLineX == start.firstLineX;
    });
    if (known != m_starts.end()) {
        start.textX = known->textX;
        start.bodyX = known->bodyX;
    } else {
        const QTextDocument* document = block.document();
        QTextLayout prefix(start.text, document->defaultFont(),
                           document->documentLayout()->paintDevice());
        QTextOption option = document->defaultTextOption();
        if (!start.tabs.isEmpty()) {
            option.setTabs(start.tabs);
        }
        prefix.setTextOption(option);
        QList<QTextLayout::FormatRange> ranges;
        for (const QTextFragment& fragment : fragments) {
            const int from = fragment.position() - block.position();
            ranges.append(
                {from, std::min(fragment.length(), measured - from), fragment.charFormat()});
        }
        prefix.setFormats(ranges);
        prefix.beginLayout();
        QTextLine line = prefix.createLine();
        // Tab stops count from the line's own position, so the line stands where the
        // paragraph's first line stands.
        line.setPosition(QPointF(firstLineX, 0));
        line.setLineWidth(std::numeric_limits<int>::max() / 4.0);
        prefix.endLayout();
        start.textX = line.cursorToX(tabs);
        start.bodyX = line.cursorToX(body);
        // A few dozen starts cover a resume; a text of many more gets no faster by searching.
        constexpr size_t kMostStarts = 64;
        if (m_starts.size() < kMostStarts) {
            m_starts.push_back(start);
        }
    }
    if (start.bodyX <= wrapMargin) {
        return std::nullopt;
    }
    return HangingIndent{tabs, start.textX, start.bodyX};
}

PrintLayout::PrintLayout(const RichDocument& document, QSizeF textArea)
    : m_device(LayoutDevice()), m_area(textArea) {
    m_document.documentLayout()->setPaintDevice(&m_device);
    DocumentToQt(document, m_document);
    m_document.setUndoRedoEnabled(false);
    m_document.setDocumentMargin(0);
    m_document.setTextWidth(m_area.width());
    FitTabStops(m_document, m_area.width());
    m_markers = NumberingMarkers(m_document);
    PrepareDocument();
    Paginate();
}

PrintLayout::~PrintLayout() = default;

QTextBlock PrintLayout::Block(int number) const {
    return m_document.findBlockByNumber(number);
}

void PrintLayout::PrepareDocument() {
    // Each batch of changes goes in one edit. After an edit Qt lays the text out again only
    // part of the way and keeps one place to go on from later; edits made one by one moved
    // that place past paragraphs still waiting, which then had no lines and were missing from
    // the pages (headings from the third page of a long resume on). Each of those layouts
    // also went over the whole text: 30 s for a 500 KB resume.
    QTextCursor batch(&m_document);
    batch.beginEditBlock();
    // Addresses become links; the PDF writer turns anchored text into link annotations.
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        for (const LinkSpan& link : FindLinks(block.text())) {
            QTextCursor cursor(block);
            cursor.setPosition(block.position() + link.start);
            cursor.setPosition(block.position() + link.start + link.length,
                               QTextCursor::KeepAnchor);
            QTextCharFormat anchor;
            anchor.setAnchor(true);
            anchor.setAnchorHref(link.target);
            cursor.mergeCharFormat(anchor);
        }
    }
    batch.endEditBlock();

    // The tabs of a hanging paragraph give way to the paragraph's own indentation on paper.
    // Measured first, changed after, so that every measurement sees the layout as the view has
    // it.
    struct Indent {
        int block;
        int tabs;
        qreal left;
        qreal firstLine;
    };
    std::vector<Indent> indents;
    m_document.size(); // lays the whole document out
    HangingIndentMeasure measure;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        const auto hanging =
            measure(block, format.leftMargin() + format.textIndent(), format.leftMargin());
        if (hanging) {
            indents.push_back({block.blockNumber(), hanging->tabs, hanging->bodyX,
                               hanging->textX - hanging->bodyX});
        }
    }
    batch.beginEditBlock();
    for (const Indent& indent : indents) {
        const QTextBlock block = Block(indent.block);
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + indent.tabs, QTextCursor::KeepAnchor);
        if (indent.tabs > 0) {
            cursor.removeSelectedText();
        }
        QTextBlockFormat format = block.blockFormat();
        format.setLeftMargin(indent.left);
        format.setTextIndent(indent.firstLine);
        cursor.mergeBlockFormat(format);
    }
    // A rule wider than the page would wrap into a second rule; it is drawn across the text
    // width whatever its length, so it keeps to one line.
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        if (IsRuleText(block.text())) {
            QTextBlockFormat format;
            format.setNonBreakableLines(true);
            QTextCursor(block).mergeBlockFormat(format);
        }
    }
    batch.endEditBlock();
    m_document.size();
    // A paragraph that Qt still left without lines would be missing from the pages: should
    // that ever happen, the whole text is laid out afresh.
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        if (block.isVisible() && block.layout()->lineCount() == 0) {
            m_document.markContentsDirty(0, m_document.characterCount());
            m_document.size();
            break;
        }
    }

    m_kinds.clear();
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        if (text.trimmed().isEmpty()) {
            m_kinds.push_back(BlockKind::Empty);
        } else if (IsRuleText(text)) {
            m_kinds.push_back(BlockKind::Rule);
        } else {
            m_kinds.push_back(BlockKind::Text);
        }
    }
    // A heading is a paragraph with a rule under it, or a one-line title set wholly in bold
    // (a section or field title); either belongs with what follows.
    int number = 0;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next(), ++number) {
        if (m_kinds[number] != BlockKind::Text) {
            continue;
        }
        const bool ruled =
            number + 1 < static_cast<int>(m_kinds.size()) && m_kinds[number + 1] == BlockKind::Rule;
        const bool title = block.layout()->lineCount() == 1 && AllBold(block);
        if (ruled || title) {
            m_kinds[number] = BlockKind::Heading;
        }
    }
}

bool PrintLayout::MayBreakBefore(int lineIndex) const {
    if (lineIndex <= 0) {
        return false;
    }
    const Line& line = m_lines[lineIndex];
    if (line.line > 0) {
        // Neither the first nor the last line of a paragraph stands alone on a page.
        const int count = Block(line.block).layout()->lineCount();
        return line.line >= 2 && count - line.line >= 2;
    }
    // Lines of data are paragraphs of their own, one per line; a run of them without an empty
    // line between reads as one paragraph and keeps the same rule.
    const int blocks = static_cast<int>(m_kinds.size());
    if (line.block > 0 && m_kinds[line.block] == BlockKind::Text &&
        m_kinds[line.block - 1] == BlockKind::Text) {
        int above = 0;
        for (int b = line.block - 1; b >= 0 && m_kinds[b] == BlockKind::Text && above < 2; --b) {
            above += Block(b).layout()->lineCount();
        }
        int below = 0;
        for (int b = line.block; b < blocks && m_kinds[b] == BlockKind::Text && below < 2; ++b) {
            below += Block(b).layout()->lineCount();
        }
        if (above < 2 || below < 2) {
            return false;
        }
    }
    int before = line.block - 1;
    while (before >= 0 && m_kinds[before] == BlockKind::Empty) {
        --before;
    }
    return before < 0 ||
           (m_kinds[before] != BlockKind::Heading && m_kinds[before] != BlockKind::Rule);
}

void PrintLayout::Paginate() {
    m_lines.clear();
    m_pages.clear();
    int number = 0;
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next(), ++number) {
        const QTextLayout* layout = block.layout();
        const qreal y = layout->position().y();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            m_lines.push_back({number, i, y + line.y(), y + line.y() + line.height()});
        }
    }
    const int count = static_cast<int>(m_lines.size());
    const qreal height = m_area.height() + 0.01;
    int start = 0;
    while (start < count) {
        Page page;
        page.top = m_lines[start].top;
        int next = count;
        for (int i = start; i < count; ++i) {
            if (i == start || m_lines[i].bottom - page.top <= height) {
                continue;
            }
            int cut = i;
            while (cut > start && !MayBreakBefore(cut)) {
                --cut;
            }
            next = cut > start ? cut : i;
            break;
        }
        for (int i = start; i < next; ++i) {
            page.lines.push_back(i);
        }
        m_pages.push_back(std::move(page));
        start = next;
        // Empty lines carried over a page break would only push the page's text down.
        while (start < count && m_kinds[m_lines[start].block] == BlockKind::Empty) {
            ++start;
        }
    }
    if (m_pages.empty()) {
        m_pages.push_back(Page{});
    }
}

void PrintLayout::PaintPage(QPainter& painter, int pageIndex) const {
    if (pageIndex < 0 || pageIndex >= PageCount()) {
        return;
    }
    const Page& page = m_pages[pageIndex];
    for (int index : page.lines) {
        const Line& line = m_lines[index];
        const QTextBlock block = Block(line.block);
        const QTextLayout* layout = block.layout();
        const QPointF origin = layout->position() - QPointF(0, page.top);
        const QTextLine textLine = layout->lineAt(line.line);
        const QTextCharFormat first = FirstCharFormat(block);

        if (line.line == 0 && line.block < m_markers.size() && !m_markers[line.block].isEmpty()) {
            // Painted before the paragraph's text, so readers take "1)" with its title.
            QFont font = first.font().resolve(m_document.defaultFont());
            // The painter is scaled from layout pixels to the device; a font in points would
            // be scaled twice, so it goes in layout pixels too.
            if (font.pointSizeF() > 0) {
                font.setPixelSize(qMax(1, qRound(font.pointSizeF() * kLayoutDpi / 72.0)));
            }
            font.setUnderline(false);
            font.setStrikeOut(false);
            const QString family = NumberingMarkerFamily(block.blockFormat());
            if (!family.isEmpty()) {
                font.setFamilies({family});
            }
            painter.setFont(font);
            painter.setPen(ForegroundOf(first));
            const QString& marker = m_markers[line.block];
            const qreal width = QFontMetricsF(font, &m_device).horizontalAdvance(marker);
            const qreal baseline = origin.y() + textLine.y() + textLine.ascent();
            painter.drawText(
                QPointF(origin.x() + textLine.cursorToX(0) - kMarkerGap - width, baseline), marker);
        }

        if (m_kinds[line.block] == BlockKind::Rule) {
            const qreal right = m_area.width() - block.blockFormat().rightMargin();
            painter.fillRect(RuleLineRect(textLine, origin, right), RuleColor(block, Qt::black));
            continue;
        }
        painter.setPen(Qt::black);
        textLine.draw(&painter, origin);
        DrawTabLeaders(painter, block, textLine, origin, Qt::black);
    }
}

QStringList PrintLayout::PageLines(int pageIndex) const {
    QStringList lines;
    if (pageIndex < 0 || pageIndex >= PageCount()) {
        return lines;
    }
    for (int index : m_pages[pageIndex].lines) {
        const Line& line = m_lines[index];
        const QTextBlock block = Block(line.block);
        const QTextLine textLine = block.layout()->lineAt(line.line);
        QString text = block.text().mid(textLine.textStart(), textLine.textLength());
        if (m_kinds[line.block] == BlockKind::Rule) {
            text = QStringLiteral("<rule>");
        }
        lines.append(text);
    }
    return lines;
}

} // namespace trellic
