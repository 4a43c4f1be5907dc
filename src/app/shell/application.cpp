#include "shell/application.h"

#include "document/tlx_doc.h"
#include "engine/engine_log.h"
#include "engine/version.h"
#include "model/node_tree.h"
#include "render/render_driver.h"
#include "shell/engine_window.h"
#include "shell/main_frame.h"
#include "shell/qt_prompter.h"
#include "shell/tlx_view.h"
#include "spelling/spelling_session.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QScreen>
#include <QTranslator>
#include <cstdio>

namespace trellic {

QStringList WithoutQtOptions(const QStringList& arguments) {
    // The options QGuiApplication, QApplication and the X11 platform take for themselves. Qt
    // reads them with one dash or two, and a few also as -name=value.
    static const QStringList withValue = {
        QStringLiteral("platform"),        QStringLiteral("platformpluginpath"),
        QStringLiteral("platformtheme"),   QStringLiteral("plugin"),
        QStringLiteral("qwindowgeometry"), QStringLiteral("geometry"),
        QStringLiteral("qwindowtitle"),    QStringLiteral("title"),
        QStringLiteral("qwindowicon"),     QStringLiteral("icon"),
        QStringLiteral("display"),         QStringLiteral("name"),
        QStringLiteral("session"),         QStringLiteral("style"),
        QStringLiteral("stylesheet"),      QStringLiteral("qmljsdebugger")};
    static const QStringList alone = {QStringLiteral("reverse"),     QStringLiteral("testability"),
                                      QStringLiteral("widgetcount"), QStringLiteral("nograb"),
                                      QStringLiteral("dograb"),      QStringLiteral("sync")};
    QStringList kept;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (i == 0 || !argument.startsWith(u'-') || argument == QLatin1String("--")) {
            kept.append(argument);
            // After "--" everything is a file name, even what looks like an option.
            if (argument == QLatin1String("--")) {
                kept.append(arguments.mid(i + 1));
                break;
            }
            continue;
        }
        const QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
        const qsizetype equals = name.indexOf(u'=');
        if (equals > 0 && withValue.contains(name.left(equals))) {
            continue;
        }
        if (withValue.contains(name)) {
            ++i; // and its value
            continue;
        }
        if (!alone.contains(name)) {
            kept.append(argument);
        }
    }
    return kept;
}

bool LoadQtTranslations(QTranslator& translator, const QLocale& locale) {
    // Qt's own texts (dialog buttons, the file and print dialogs) in the user's language; the
    // program's own texts are English whatever the locale.
    return translator.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

CommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Trellic, a desktop resume writer."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"),
                                 QStringLiteral("A resume (.tlx, .rtf or .txt) to open."),
                                 QStringLiteral("[file]"));
    CommandLine result;
    const bool parsed = parser.parse(WithoutQtOptions(arguments));
    // --help-all is the parser's own, listing Qt's options too; it ends the run like --help.
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        result.output = parser.helpText();
    } else if (parser.isSet(version)) {
        result.output = QStringLiteral("Trellic " TRELLIC_VERSION "\n");
    } else if (!parsed) {
        result.output = parser.errorText() + QStringLiteral("\nTry '") +
                        QFileInfo(arguments.value(0, QStringLiteral("trellic"))).fileName() +
                        QStringLiteral(" --help' for more information.\n");
        result.exitCode = 1;
    }
    return result;
}

CTLXApp::CTLXApp(const StartUpOptions& options) : m_options(options) {
    if (m_options.programFolder.empty()) {
        m_options.programFolder =
            QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    }
    // The log starts with its banner; the engine window is the first window there is, so that
    // everything after it can be read there.
    m_log = std::make_unique<EngineLog>();
    if (m_options.prompter) {
        m_prompter = m_options.prompter;
    } else {
        m_qtPrompter = std::make_unique<QtPrompter>(m_options.programFolder);
        m_prompter = m_qtPrompter.get();
    }
    m_engineWindow = std::make_unique<CEngineDlg>(*m_log, *m_prompter);
    if (m_qtPrompter) {
        m_qtPrompter->SetEngineWindow(m_engineWindow.get());
    }
    m_engineWindow->showMinimized();
    m_tree = std::make_unique<NodeTree>(m_options.programFolder);
}

CTLXApp::~CTLXApp() {
    // The main window and its document go before the tree they point into; the engine window
    // is the last window to go.
    if (m_qtPrompter) {
        m_qtPrompter->SetNodeEditorOpener({});
    }
    m_frame.reset();
    m_spelling.reset();
    m_tree.reset();
    if (m_qtPrompter) {
        m_qtPrompter->SetEngineWindow(nullptr);
    }
    m_engineWindow.reset();
}

namespace {

// The file named on the command line, as a file manager passes a document to open; empty when
// there is none.
std::string NamedFile(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"), {});
    if (!parser.parse(arguments) || parser.positionalArguments().isEmpty()) {
        return {};
    }
    const QString path = QFileInfo(parser.positionalArguments().constFirst()).absoluteFilePath();
    return QFile::encodeName(path).toStdString();
}

} // namespace

bool CTLXApp::InitInstance(const QStringList& arguments) {
    if (const CommandLine commandLine = ParseCommandLine(arguments); commandLine.output) {
        std::fputs(commandLine.output->toLocal8Bit().constData(), stderr);
        return false;
    }

    // Before the windows, whose text boxes check with it from the start.
    if (m_options.checkSpelling) {
        m_spelling = std::make_unique<SpellingSession>(*m_log, *m_prompter);
    }
    m_frame = std::make_unique<CMainFrame>(*m_tree, *m_log, *m_prompter);
    // Once the user has agreed to close the main window the application quits, closing every
    // window first; the engine window must not refuse, or the quit is taken back.
    QObject::connect(m_frame.get(), &CMainFrame::closing, m_engineWindow.get(),
                     &CEngineDlg::AllowClose);
    if (m_qtPrompter) {
        m_qtPrompter->SetNodeEditorOpener(
            [frame = m_frame.get()](NodeEditor editor) { frame->OpenNodeEditor(editor); });
    }
    m_frame->Doc().OnNewDocument();
    ResetViewFormatting(*m_frame->View());
    m_frame->AfterCommand();

    // The welcome window belongs over a main window the user can already see. The normal size
    // is what un-maximising gives, and all there is where nothing maximises windows.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect normal = screen->availableGeometry();
        normal.setSize(normal.size() * 4 / 5);
        normal.moveCenter(screen->availableGeometry().center());
        m_frame->setGeometry(normal);
    }
    m_frame->showMaximized();
    m_frame->repaint();
    QCoreApplication::processEvents();

    // A restored resume is the user's work: the welcome window's New would throw it away.
    const bool restored = m_frame->OfferRecovery();
    // A file handed over by the desktop is opened as File > Open would open it; the new
    // resume it replaces holds nothing yet unless a recovery copy was just restored.
    if (const std::string file = NamedFile(arguments); !file.empty()) {
        m_frame->Doc().OpenResumeFile(file, restored);
        m_frame->AfterCommand();
    } else if (m_options.showWelcome && !restored) {
        m_frame->ShowWelcomeWindow();
    }
    return true;
}

} // namespace trellic
