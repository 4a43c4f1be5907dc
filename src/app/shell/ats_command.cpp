#include "shell/ats_command.h"

#include "ats_check.h"
#include "engine/engine_log.h"
#include "engine/prompter.h"
#include "print/page_layout.h"
#include "print/rich_text_bridge.h"

#include <QTextBlock>
#include <QTextDocument>

namespace trellic {

bool RunAtsCheck(const RichDocument& document, const PageSetup& setup,
                 const PdfProperties& properties, Prompter& prompter, EngineLog& log) {
    std::string error;
    const std::string pdf = RenderPdf(document, setup, properties, error);
    if (pdf.empty()) {
        prompter.ShowMessage("The PDF for the check could not be made:\n\n" + error,
                             MessageIcon::Exclamation);
        return false;
    }
    // The texts as the page shows them (symbol bytes as their look-alikes), so that they can
    // be found in what the PDF gives back.
    QTextDocument shown;
    DocumentToQt(document, shown);
    std::vector<std::string> expected;
    for (QTextBlock block = shown.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text().trimmed();
        if (!text.isEmpty() && !IsRuleText(text)) {
            expected.push_back(text.toStdString());
        }
    }
    const tool::AtsReport report = tool::CheckPdfForAts(pdf, expected);
    log.AppendLog(std::string("INFO: ATS check: ") +
                  (report.Passed() ? "nothing blocks an ATS" : "an ATS would misread the resume") +
                  ".\r\n\r\n");
    prompter.ShowMessage(tool::FormatAtsReport(report),
                         report.Passed() ? MessageIcon::Information : MessageIcon::Exclamation);
    return report.Passed();
}

} // namespace trellic
