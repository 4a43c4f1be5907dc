#pragma once

#include "richtext/rich_document.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QString>
#include <string>

class QPagedPaintDevice;

namespace trellic {

struct NodeTree;

// The printed page: paper and margins. The side margins are the view's (1.5 inches), so the
// printer breaks lines where the view does; three quarters of an inch above and below keep a
// one-page resume on one page of Letter too. The paper is the
// locale's until Print Setup or the caller chooses another.
struct PageSetup {
    PageSetup();
    explicit PageSetup(QPageSize::PageSizeId id) : paper(id) {}
    QPageSize paper;
    QMarginsF marginsInches{1.5, 0.75, 1.5, 0.75};
};

// What a PDF says about itself, besides its pages.
struct PdfProperties {
    QString title;
    QString author;
    QString subject;
    // PDF/A-1b, the archival profile some application portals ask for.
    bool archival = false;
};

// The resume's title, author and subject (ResumeProperties) for a PDF.
PdfProperties PropertiesOf(const NodeTree* tree, const RichDocument& document);

// The paper's width in twips, as the view takes it.
int PaperWidthTwips(const QPageSize& paper);

// The page setup a printer holds.
PageSetup SetupOf(const QPageLayout& layout);

// Makes a page setup the one that RTF files carry. The view's page follows it through
// PaperWidthTwips.
void UsePageSetup(const PageSetup& setup);

// Lays the resume out on the device's pages and paints them: the one path behind Print,
// Print Preview and PDF export. Returns the number of pages painted; 0 when the device could
// not be painted on.
int PrintResume(const RichDocument& document, QPagedPaintDevice& device);

// The PDF that Print would print, as bytes; empty with `error` set on failure.
std::string RenderPdf(const RichDocument& document, const PageSetup& setup,
                      const PdfProperties& properties, std::string& error);

// Writes what Print would print to a PDF file. The file appears only when it is complete; on
// failure `error` says why and an existing file of that name is left as it was. The path's
// bytes are used as they are, whatever their encoding.
bool ExportPdf(const RichDocument& document, const std::string& path, const PageSetup& setup,
               std::string& error, const PdfProperties& properties = {});

} // namespace trellic
