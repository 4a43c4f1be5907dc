#pragma once

#include "print/resume_printer.h"
#include "richtext/rich_document.h"

#include <QObject>
#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace trellic {

// File > Print, Print Preview and Print Setup, over one printer for the session, so that the
// choices of Print Setup hold for later jobs and for the PDFs laid out on the same page.
class PrintCommands : public QObject {
    Q_OBJECT

public:
    // The dialogs belong to the window, which outlives this object.
    explicit PrintCommands(QWidget& window);
    ~PrintCommands() override;

    QPrinter& Printer();
    // The paper and margins the printer holds now.
    PageSetup CurrentSetup();
    // Replaces the print dialog (tests answer it); it returns whether to print.
    void SetPrintDialogHandler(std::function<bool(QPrinter&)> handler);

    // Prints the document when the user confirms the print dialog.
    void Print(const RichDocument& document);
    // Shows the pages of the document that `content` gives each time the preview repaints.
    void PrintPreview(const std::function<RichDocument()>& content);
    // The page set-up dialog; true when the user changed the page.
    bool PrintSetup();

private:
    QWidget& m_window;
    std::unique_ptr<QPrinter> m_printer;
    std::function<bool(QPrinter&)> m_printDialog;
};

} // namespace trellic
