#include "shell/resume_printer.h"

#include "engine/version.h"
#include "shell/rich_text_bridge.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace trellic {

namespace {

// The bridge speaks the view's 96-per-inch pixels; laying the document out against a device of
// that resolution keeps indents, tabs and fonts in proportion, whatever the printer's own.
constexpr qreal kLayoutDpi = 96.0;
constexpr qreal kMarkerGap = 6.0;

QImage LayoutDevice() {
    QImage device(1, 1, QImage::Format_RGB32);
    const int dotsPerMeter = qRound(kLayoutDpi / 0.0254);
    device.setDotsPerMeterX(dotsPerMeter);
    device.setDotsPerMeterY(dotsPerMeter);
    return device;
}

// Numbering markers are painted, not stored, in the view; on paper they are painted the same
// way, as real text, so a PDF reader finds them before their paragraphs.
void PaintMarkers(QPainter& painter, const QTextDocument& document, QPaintDevice& layoutDevice,
                  const QRectF& page) {
    const QStringList markers = NumberingMarkers(document);
    int index = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next(), ++index) {
        if (index >= markers.size() || markers[index].isEmpty()) {
            continue;
        }
        const QTextLayout* layout = block.layout();
        if (layout == nullptr || layout->lineCount() == 0) {
            continue;
        }
        const QTextLine line = layout->lineAt(0);
        const QPointF origin = layout->position();
        const qreal baseline = origin.y() + line.y() + line.ascent();
        if (baseline < page.top() || baseline > page.bottom()) {
            continue;
        }
        const QTextCharFormat format =
            block.begin().atEnd() ? block.charFormat() : block.begin().fragment().charFormat();
        QFont font = format.font().resolve(document.defaultFont());
        // The painter is scaled from layout pixels to the device; a font in points would be
        // scaled twice, so it goes in layout pixels too.
        if (font.pointSizeF() > 0) {
            font.setPixelSize(qMax(1, qRound(font.pointSizeF() * kLayoutDpi / 72.0)));
        }
        font.setUnderline(false);
        font.setStrikeOut(false);
        painter.setFont(font);
        const bool colored = format.hasProperty(QTextFormat::ForegroundBrush) &&
                             format.foreground().style() != Qt::NoBrush;
        painter.setPen(colored ? format.foreground().color() : QColor(Qt::black));
        const qreal width = QFontMetricsF(font, &layoutDevice).horizontalAdvance(markers[index]);
        const qreal textX = origin.x() + line.cursorToX(0);
        painter.drawText(QPointF(textX - kMarkerGap - width, baseline), markers[index]);
    }
}

} // namespace

void ApplyPageSetup(QPrinter& printer, const PageSetup& setup) {
    printer.setPageSize(setup.paper);
    printer.setPageMargins(setup.marginsInches, QPageLayout::Inch);
}

int PrintResume(const RichDocument& document, QPagedPaintDevice& device) {
    QImage layoutDevice = LayoutDevice();
    QTextDocument qt;
    qt.documentLayout()->setPaintDevice(&layoutDevice);
    DocumentToQt(document, qt);
    qt.setUndoRedoEnabled(false);
    qt.setDocumentMargin(0);

    const QRectF paintInches = device.pageLayout().paintRect(QPageLayout::Inch);
    const QSizeF page(paintInches.width() * kLayoutDpi, paintInches.height() * kLayoutDpi);
    if (page.width() <= 0 || page.height() <= 0) {
        return 0;
    }
    qt.setPageSize(page);
    const int pages = qt.pageCount();

    QPainter painter;
    if (!painter.begin(&device)) {
        return 0;
    }
    const qreal scaleX = device.logicalDpiX() / kLayoutDpi;
    const qreal scaleY = device.logicalDpiY() / kLayoutDpi;
    for (int index = 0; index < pages; ++index) {
        if (index > 0 && !device.newPage()) {
            painter.end();
            return index;
        }
        const QRectF area(0, index * page.height(), page.width(), page.height());
        painter.save();
        painter.scale(scaleX, scaleY);
        painter.translate(0, -area.top());
        painter.setClipRect(area);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = area;
        context.palette.setColor(QPalette::Text, Qt::black);
        qt.documentLayout()->draw(&painter, context);
        PaintMarkers(painter, qt, layoutDevice, area);
        painter.restore();
    }
    painter.end();
    return pages;
}

bool ExportPdf(const RichDocument& document, const std::string& path, const PageSetup& setup,
               std::string& error) {
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString().toStdString();
        return false;
    }
    int pages = 0;
    {
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Trellic " TRELLIC_VERSION));
        writer.setPageSize(setup.paper);
        writer.setPageMargins(setup.marginsInches, QPageLayout::Inch);
        pages = PrintResume(document, writer);
    }
    if (pages == 0) {
        file.cancelWriting();
        error = "The pages could not be laid out.";
        return false;
    }
    if (!file.commit()) {
        error = file.errorString().toStdString();
        return false;
    }
    return true;
}

} // namespace trellic
