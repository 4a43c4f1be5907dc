#include "pdf_output.h"
#include "print/paper_size.h"
#include "print/pdf_format.h"
#include "print/resume_printer.h"

#include <QGuiApplication>
#include <cstdio>

namespace trellic::tool {

namespace {

void EnsureApplication() {
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
}

} // namespace

namespace {

PageSetup SetupFor(const PdfOptions& options) {
    PageSetup setup;
    QPageSize::PageSizeId paper = QPageSize::A4;
    if (!options.paper.empty() && PaperFromName(options.paper, paper)) {
        setup.paper = QPageSize(paper);
    }
    return setup;
}

// The page printer lays text out with Qt, which needs an application object; a tool makes one
// only when it writes a PDF.
class ToolPdfFormat : public PdfFormat {
public:
    explicit ToolPdfFormat(const PdfOptions& options)
        : PdfFormat(options.archival ? Profile::Archival : Profile::Standard,
                    [options] { return SetupFor(options); }) {}

    FormatResult Write(const FormatSource& from, std::string& bytes) const override {
        EnsureApplication();
        return PdfFormat::Write(from, bytes);
    }
};

} // namespace

void AddPdfFormat(FormatRegistry& formats, const PdfOptions& options) {
    formats.Add(std::make_unique<ToolPdfFormat>(options));
}

} // namespace trellic::tool
