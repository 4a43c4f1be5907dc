#pragma once

#include "richtext/rich_document.h"

#include <QMarginsF>
#include <QPageSize>
#include <string>

class QPagedPaintDevice;
class QPrinter;

namespace trellic {

// The printed page: paper and margins. The margins are the view's (1.5 inches left and right,
// 1 inch top and bottom), so the printer breaks lines where the view does.
struct PageSetup {
    QPageSize paper{QPageSize::Letter};
    QMarginsF marginsInches{1.5, 1.0, 1.5, 1.0};
};

// Gives a printer (or a print preview's printer) the page setup.
void ApplyPageSetup(QPrinter& printer, const PageSetup& setup);

// Lays the resume out on the device's pages and paints them: the one path behind Print,
// Print Preview and PDF export. Numbering markers are painted as text beside their paragraphs.
// Returns the number of pages painted; 0 when the device could not be painted on.
int PrintResume(const RichDocument& document, QPagedPaintDevice& device);

// Writes what Print would print to a PDF file. The file appears only when it is complete; on
// failure `error` says why and an existing file of that name is left as it was.
bool ExportPdf(const RichDocument& document, const std::string& path, const PageSetup& setup,
               std::string& error);

} // namespace trellic
