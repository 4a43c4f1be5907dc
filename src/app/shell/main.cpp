#include "engine/version.h"
#include "shell/application.h"

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QLocale>
#include <QTranslator>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication::setApplicationName(QStringLiteral("Trellic"));
    QApplication::setApplicationVersion(QStringLiteral(TRELLIC_VERSION));
    // --help, --version and a wrong option are answered before the window system is reached:
    // they need no display, and a mistyped option must not end in Qt's platform abort.
    {
        QCoreApplication console(argc, argv);
        const trellic::CommandLine commandLine =
            trellic::ParseCommandLine(QCoreApplication::arguments());
        if (commandLine.output) {
            std::fputs(commandLine.output->toLocal8Bit().constData(),
                       commandLine.exitCode == 0 ? stdout : stderr);
            return commandLine.exitCode;
        }
    }

    QApplication qtApp(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Quelmar"));
    QApplication::setDesktopFileName(QStringLiteral("trellic"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/trellic.png")));
    QTranslator qtTranslations;
    if (trellic::LoadQtTranslations(qtTranslations, QLocale())) {
        QCoreApplication::installTranslator(&qtTranslations);
    }
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
