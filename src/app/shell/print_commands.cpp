#include "shell/print_commands.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QWidget>
#include <algorithm>

namespace trellic {

PrintCommands::PrintCommands(QWidget& window) : QObject(&window), m_window(window) {}

PrintCommands::~PrintCommands() = default;

QPrinter& PrintCommands::Printer() {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        const PageSetup setup;
        m_printer->setPageSize(setup.paper);
        m_printer->setPageMargins(setup.marginsInches, QPageLayout::Inch);
    }
    return *m_printer;
}

PageSetup PrintCommands::CurrentSetup() {
    return SetupOf(Printer().pageLayout());
}

void PrintCommands::SetPrintDialogHandler(std::function<bool(QPrinter&)> handler) {
    m_printDialog = std::move(handler);
}

void PrintCommands::Print(const RichDocument& document) {
    QPrinter& printer = Printer();
    bool accepted = false;
    if (m_printDialog) {
        accepted = m_printDialog(printer);
    } else {
        QPrintDialog dialog(&printer, &m_window);
        accepted = dialog.exec() == QDialog::Accepted;
    }
    if (accepted) {
        PrintResume(document, printer);
    }
}

void PrintCommands::PrintPreview(const std::function<RichDocument()>& content) {
    QPrintPreviewDialog preview(&Printer(), &m_window);
    // Full pages want room; without a window manager a maximised state alone gives none.
    preview.resize(std::max(900, m_window.width() * 9 / 10),
                   std::max(700, m_window.height() * 9 / 10));
    preview.setWindowState(Qt::WindowMaximized);
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [&content](QPrinter* printer) { PrintResume(content(), *printer); });
    preview.exec();
}

bool PrintCommands::PrintSetup() {
    QPageSetupDialog dialog(&Printer(), &m_window);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace trellic
