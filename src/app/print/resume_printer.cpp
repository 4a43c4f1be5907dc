#include "print/resume_printer.h"

#include "engine/file_io.h"
#include "engine/version.h"
#include "formats/document_properties.h"
#include "model/node_tree.h"
#include "print/page_layout.h"
#include "print/paper_size.h"
#include "richtext/rtf_writer.h"

#include <QBuffer>
#include <QDateTime>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>

namespace trellic {

namespace {

constexpr qreal kLayoutDpi = 96.0;

// A PDF string literal: only printable ASCII stays as it is, so everything else goes as
// UTF-16 with its byte-order mark, which every reader takes.
std::string PdfString(const QString& text) {
    bool ascii = true;
    for (QChar c : text) {
        ascii = ascii && c.unicode() >= 0x20 && c.unicode() < 0x7F;
    }
    std::string out = "(";
    auto put = [&out](unsigned char byte) {
        if (byte == '(' || byte == ')' || byte == '\\') {
            out += '\\';
            out += static_cast<char>(byte);
        } else if (byte < 0x20 || byte >= 0x7F) {
            char octal[5];
            std::snprintf(octal, sizeof octal, "\\%03o", byte);
            out += octal;
        } else {
            out += static_cast<char>(byte);
        }
    };
    if (ascii) {
        for (QChar c : text) {
            put(static_cast<unsigned char>(c.unicode()));
        }
    } else {
        put(0xFE);
        put(0xFF);
        for (QChar c : text) {
            put(static_cast<unsigned char>(c.unicode() >> 8));
            put(static_cast<unsigned char>(c.unicode() & 0xFF));
        }
    }
    return out + ")";
}

QString XmlEscaped(const QString& text) {
    return text.toHtmlEscaped();
}

struct PdfEdit {
    qsizetype at = 0;
    qsizetype length = 0;
    QByteArray text;
};

// Qt's writer knows no author or subject, and names its font subsets without their tag where
// text readers look for it (the font's base name). Both are mended in the finished file: the
// edits are applied and the cross-reference table is written anew for the moved objects.
bool MendPdf(QByteArray& pdf, const QByteArray& information) {
    const qsizetype startxrefAt = pdf.lastIndexOf("startxref");
    if (startxrefAt < 0) {
        return false;
    }
    bool ok = false;
    const qsizetype xrefAt = QByteArray(pdf.mid(startxrefAt + 9).trimmed())
                                 .split('\n')
                                 .value(0)
                                 .trimmed()
                                 .toLongLong(&ok);
    if (!ok || xrefAt <= 0 || xrefAt >= startxrefAt || !pdf.mid(xrefAt).startsWith("xref")) {
        return false;
    }
    const qsizetype trailerAt = pdf.indexOf("trailer", xrefAt);
    if (trailerAt < 0) {
        return false;
    }
    struct Entry {
        int number;
        qsizetype offset;
        QByteArray rest; // generation and type
    };
    std::vector<Entry> entries;
    const QList<QByteArray> lines = pdf.mid(xrefAt, trailerAt - xrefAt).split('\n');
    int number = 0;
    for (int i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> fields = lines[i].trimmed().split(' ');
        if (fields.size() == 2) {
            number = fields[0].toInt();
        } else if (fields.size() == 3) {
            entries.push_back({number++, fields[0].toLongLong(), fields[1] + ' ' + fields[2]});
        }
    }
    const QByteArray trailer = pdf.mid(trailerAt, startxrefAt - trailerAt);
    static const QRegularExpression infoPattern(QStringLiteral("/Info\\s+(\\d+)\\s+\\d+\\s+R"));
    const auto info = infoPattern.match(QString::fromLatin1(trailer));
    if (!info.hasMatch()) {
        return false;
    }

    std::vector<PdfEdit> edits;
    const int infoNumber = info.captured(1).toInt();
    for (const Entry& entry : entries) {
        if (entry.number != infoNumber) {
            continue;
        }
        const qsizetype body = pdf.indexOf("obj", entry.offset);
        const qsizetype end = body < 0 ? -1 : pdf.indexOf("endobj", body);
        if (end < 0) {
            return false;
        }
        edits.push_back({body + 3, end - body - 3, "\n" + information + "\n"});
    }
    if (edits.empty()) {
        return false;
    }
    // Font descriptors carry the tagged subset name ("ABCDEF+Name"); the fonts get it too.
    static const QRegularExpression tagged(
        QStringLiteral("/FontName /([A-Z]{6})\\+([^\\s/<>\\[\\]()]+)"));
    const QString text = QString::fromLatin1(pdf.left(xrefAt));
    for (auto it = tagged.globalMatch(text); it.hasNext();) {
        const auto match = it.next();
        const QByteArray plain = "/BaseFont /" + match.captured(2).toLatin1();
        const QByteArray withTag =
            "/BaseFont /" + match.captured(1).toLatin1() + '+' + match.captured(2).toLatin1();
        for (qsizetype at = pdf.indexOf(plain); at >= 0 && at < xrefAt;
             at = pdf.indexOf(plain, at + 1)) {
            const char after = at + plain.size() < pdf.size() ? pdf[at + plain.size()] : '\n';
            if (after == '\n' || after == ' ' || after == '\r' || after == '/') {
                edits.push_back({at, plain.size(), withTag});
            }
        }
    }
    std::sort(edits.begin(), edits.end(),
              [](const PdfEdit& a, const PdfEdit& b) { return a.at < b.at; });
    auto shifted = [&edits](qsizetype offset) {
        qsizetype result = offset;
        for (const PdfEdit& edit : edits) {
            if (edit.at < offset) {
                result += edit.text.size() - edit.length;
            }
        }
        return result;
    };

    QByteArray out;
    out.reserve(pdf.size() + 1024);
    qsizetype from = 0;
    for (const PdfEdit& edit : edits) {
        if (edit.at < from) {
            return false; // overlapping edits: leave the file alone rather than damage it
        }
        out.append(pdf.mid(from, edit.at - from));
        out.append(edit.text);
        from = edit.at + edit.length;
    }
    out.append(pdf.mid(from, xrefAt - from));
    const qsizetype newXref = out.size();
    out.append("xref\n0 " + QByteArray::number(static_cast<qlonglong>(entries.size())) + "\n");
    for (const Entry& entry : entries) {
        char line[24];
        const bool used = entry.rest.endsWith('n');
        std::snprintf(line, sizeof line, "%010lld %s \n",
                      static_cast<long long>(used ? shifted(entry.offset) : entry.offset),
                      entry.rest.constData());
        out.append(line);
    }
    out.append(trailer);
    out.append("startxref\n" + QByteArray::number(static_cast<qlonglong>(newXref)) + "\n%%EOF\n");
    pdf = out;
    return true;
}

QByteArray InformationDictionary(const PdfProperties& properties, const QString& date) {
    std::string dictionary = "<<\n/Title " + PdfString(properties.title);
    if (!properties.author.isEmpty()) {
        dictionary += "\n/Author " + PdfString(properties.author);
    }
    if (!properties.subject.isEmpty()) {
        dictionary += "\n/Subject " + PdfString(properties.subject);
    }
    dictionary += "\n/Creator " + PdfString(QStringLiteral("Trellic " TRELLIC_VERSION));
    dictionary +=
        "\n/Producer " + PdfString(QStringLiteral("Qt ") + QString::fromLatin1(qVersion()));
    dictionary += "\n/CreationDate " + PdfString(date) + "\n>>";
    return QByteArray::fromStdString(dictionary);
}

// The metadata stream a PDF/A file must carry, agreeing with its information dictionary.
QByteArray XmpMetadata(const PdfProperties& properties, const QDateTime& created) {
    QString xmp = QStringLiteral(
        "<?xpacket begin='\uFEFF' id='W5M0MpCehiHzreSzNTczkc9d'?>\n"
        "<x:xmpmeta xmlns:x='adobe:ns:meta/'>\n"
        "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>\n"
        "<rdf:Description rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/'>\n"
        "<dc:title><rdf:Alt><rdf:li xml:lang='x-default'>%1</rdf:li></rdf:Alt></dc:title>\n");
    xmp = xmp.arg(XmlEscaped(properties.title));
    if (!properties.author.isEmpty()) {
        xmp += QStringLiteral("<dc:creator><rdf:Seq><rdf:li>%1</rdf:li></rdf:Seq></dc:creator>\n")
                   .arg(XmlEscaped(properties.author));
    }
    if (!properties.subject.isEmpty()) {
        xmp += QStringLiteral("<dc:description><rdf:Alt><rdf:li xml:lang='x-default'>%1</rdf:li>"
                              "</rdf:Alt></dc:description>\n")
                   .arg(XmlEscaped(properties.subject));
    }
    xmp +=
        QStringLiteral("</rdf:Description>\n"
                       "<rdf:Description rdf:about='' xmlns:xmp='http://ns.adobe.com/xap/1.0/'>\n"
                       "<xmp:CreatorTool>Trellic 5.0</xmp:CreatorTool>\n"
                       "<xmp:CreateDate>") +
        created.toString(Qt::ISODate) +
        QStringLiteral("</xmp:CreateDate>\n"
                       "</rdf:Description>\n"
                       "<rdf:Description rdf:about='' xmlns:pdf='http://ns.adobe.com/pdf/1.3/'>\n"
                       "<pdf:Producer>Qt ") +
        QString::fromLatin1(qVersion()) +
        QStringLiteral(
            "</pdf:Producer>\n"
            "</rdf:Description>\n"
            "<rdf:Description rdf:about='' xmlns:pdfaid='http://www.aiim.org/pdfa/ns/id/'>\n"
            "<pdfaid:part>1</pdfaid:part>\n<pdfaid:conformance>B</pdfaid:conformance>\n"
            "</rdf:Description>\n"
            "</rdf:RDF>\n</x:xmpmeta>\n<?xpacket end='w'?>");
    return xmp.toUtf8();
}

} // namespace

PageSetup::PageSetup() : paper(DefaultPaper()) {}

PdfProperties PropertiesOf(const NodeTree* tree, const RichDocument& document) {
    const DocumentProperties resume = ResumeProperties(tree, document);
    PdfProperties properties;
    properties.title = QString::fromStdString(resume.title);
    properties.author = QString::fromStdString(resume.author);
    properties.subject = QString::fromStdString(resume.subject);
    return properties;
}

int PaperWidthTwips(const QPageSize& paper) {
    return qRound(paper.size(QPageSize::Millimeter).width() * 1440.0 / 25.4);
}

PageSetup SetupOf(const QPageLayout& layout) {
    PageSetup setup(QPageSize::A4);
    setup.paper = layout.pageSize();
    setup.marginsInches = layout.margins(QPageLayout::Inch);
    return setup;
}

void UsePageSetup(const PageSetup& setup) {
    // Millimetres, not points: whole points would put A4 a few twips off.
    const QSizeF millimetres = setup.paper.size(QPageSize::Millimeter);
    RtfPage page;
    page.width = qRound(millimetres.width() * 1440.0 / 25.4);
    page.height = qRound(millimetres.height() * 1440.0 / 25.4);
    page.left = qRound(setup.marginsInches.left() * 1440.0);
    page.right = qRound(setup.marginsInches.right() * 1440.0);
    page.top = qRound(setup.marginsInches.top() * 1440.0);
    page.bottom = qRound(setup.marginsInches.bottom() * 1440.0);
    SetRtfPage(page);
}

int PrintResume(const RichDocument& document, QPagedPaintDevice& device) {
    const QRectF paintInches = device.pageLayout().paintRect(QPageLayout::Inch);
    const QSizeF page(paintInches.width() * kLayoutDpi, paintInches.height() * kLayoutDpi);
    if (page.width() <= 0 || page.height() <= 0) {
        return 0;
    }
    const PrintLayout layout(document, page);
    QPainter painter;
    if (!painter.begin(&device)) {
        return 0;
    }
    const qreal scaleX = device.logicalDpiX() / kLayoutDpi;
    const qreal scaleY = device.logicalDpiY() / kLayoutDpi;
    for (int index = 0; index < layout.PageCount(); ++index) {
        if (index > 0 && !device.newPage()) {
            painter.end();
            return index;
        }
        painter.save();
        painter.scale(scaleX, scaleY);
        layout.PaintPage(painter, index);
        painter.restore();
    }
    painter.end();
    return layout.PageCount();
}

std::string RenderPdf(const RichDocument& document, const PageSetup& setup,
                      const PdfProperties& properties, std::string& error) {
    QByteArray bytes;
    int pages = 0;
    // One moment for the information dictionary and the metadata, which must agree.
    QDateTime stamp = QDateTime::currentDateTimeUtc();
    stamp.setTime(QTime(stamp.time().hour(), stamp.time().minute(), stamp.time().second()));
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Trellic " TRELLIC_VERSION));
        writer.setTitle(properties.title);
        if (properties.archival) {
            writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
            writer.setDocumentXmpMetadata(XmpMetadata(properties, stamp));
        }
        writer.setPageSize(setup.paper);
        writer.setPageMargins(setup.marginsInches, QPageLayout::Inch);
        pages = PrintResume(document, writer);
    }
    if (pages == 0 || bytes.isEmpty()) {
        error = "The pages could not be laid out.";
        return {};
    }
    const QString date = QStringLiteral("D:") + stamp.toString(QStringLiteral("yyyyMMddHHmmss")) +
                         QStringLiteral("Z");
    if (!MendPdf(bytes, InformationDictionary(properties, date))) {
        error = "The document properties could not be written.";
        return {};
    }
    return bytes.toStdString();
}

bool ExportPdf(const RichDocument& document, const std::string& path, const PageSetup& setup,
               std::string& error, const PdfProperties& properties) {
    const std::string bytes = RenderPdf(document, setup, properties, error);
    if (bytes.empty()) {
        return false;
    }
    const FileResult written = WriteFileAtomically(path, bytes);
    if (!written.ok) {
        error = written.message;
        return false;
    }
    return true;
}

} // namespace trellic
