#include "engine/version.h"
#include "shell/application.h"

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication::setApplicationName(QStringLiteral("Trellic"));
    QApplication::setApplicationVersion(QStringLiteral(TRELLIC_VERSION));
    // --help and --version answer without a display, so they are read before the window
    // system is. Anything else waits until Qt has taken its own options (-platform, -style).
    {
        QCoreApplication console(argc, argv);
        const trellic::CommandLine commandLine =
            trellic::ParseCommandLine(QCoreApplication::arguments());
        if (commandLine.output && commandLine.exitCode == 0) {
            std::fputs(commandLine.output->toLocal8Bit().constData(),
                       commandLine.exitCode == 0 ? stdout : stderr);
            return commandLine.exitCode;
        }
    }

    QApplication qtApp(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quelmar"));
    QApplication::setDesktopFileName(QStringLiteral("trellic"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/trellic.png")));
    // Toolbar pictures come from the desktop's icon theme; without a desktop, from the theme
    // that nearly every system carries.
    if (QIcon::fallbackThemeName().isEmpty() ||
        QIcon::fallbackThemeName() == QLatin1String("hicolor")) {
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    }

    trellic::CTLXApp app;
    if (!app.InitInstance(QApplication::arguments())) {
        return 1;
    }
    return QApplication::exec();
}
