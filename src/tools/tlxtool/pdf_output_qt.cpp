#include "pdf_output.h"
#include "shell/resume_printer.h"

#include <QGuiApplication>
#include <cstdio>

namespace trellic::tool {

bool WritePdf(const RichDocument& document, const std::string& path, std::string& error) {
    // Fonts and text layout need an application object; a tool has no screen, so it asks for
    // none unless the caller chose a platform.
    if (QCoreApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        // A command-line tool's output is its own: Qt's notes about the session (no runtime
        // folder, no screen) would only be noise there.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtCriticalMsg || type == QtFatalMsg) {
                std::fprintf(stderr, "tlxtool: %s\n", qPrintable(text));
            }
        });
        static int argc = 1;
        static char name[] = "tlxtool";
        static char* argv[] = {name, nullptr};
        static QGuiApplication application(argc, argv);
    }
    return ExportPdf(document, path, PageSetup{}, error);
}

} // namespace trellic::tool
