#pragma once

#include <QStringList>
#include <memory>
#include <optional>
#include <string>

class QLocale;
class QTranslator;

namespace trellic {

class CEngineDlg;
class CMainFrame;
class EngineLog;
class Prompter;
class QtPrompter;
class SpellingSession;
struct NodeTree;

// How the program starts. Tests leave out the modal welcome window and bring their own user.
struct StartUpOptions {
    // Where node_library/, templates/, media/ and docs/ lie; empty: the executable's folder.
    std::string programFolder;
    // Message boxes, file dialogs and the browser; null: real dialogs.
    Prompter* prompter = nullptr;
    bool showWelcome = true;
    // Underline misspelt words. Tests that do not look at spelling leave it out: loading a
    // dictionary takes a noticeable part of a second.
    bool checkSpelling = true;
};

// What the command line asks for besides starting.
struct CommandLine {
    // Set when the program should print this and end instead of starting.
    std::optional<QString> output;
    int exitCode = 0;
};

// Loads Qt's translation of its own texts for the locale into the translator; false when the
// system has none for that language (English stays).
bool LoadQtTranslations(QTranslator& translator, const QLocale& locale);

// The command line less the options Qt takes for itself (-platform NAME, -style NAME, ...), so
// that it can be judged before Qt has seen it, without a display.
QStringList WithoutQtOptions(const QStringList& arguments);

// The command line: --help and --version answer and end; an unknown option or a second file
// name is a usage error (exit code 1). Qt's own options are let through.
CommandLine ParseCommandLine(const QStringList& arguments);

// The application: the engine window and its log, the node tree, the main window with its
// view and document, and the order in which they come to life.
class CTLXApp {
public:
    // The first objects of the run: the log with its banner in the (minimised) engine window,
    // then the node tree. Nothing else exists yet.
    explicit CTLXApp(const StartUpOptions& options = {});
    ~CTLXApp();

    CTLXApp(const CTLXApp&) = delete;
    CTLXApp& operator=(const CTLXApp&) = delete;

    // Creates the main window with the first new document, formats the view, shows the window
    // maximised and drawn, then the welcome window. False when start-up failed; the process
    // should end.
    bool InitInstance(const QStringList& arguments);

    EngineLog& Log() { return *m_log; }
    CEngineDlg& EngineWindow() { return *m_engineWindow; }
    NodeTree& Tree() { return *m_tree; }
    Prompter& UserPrompter() { return *m_prompter; }
    // Null until InitInstance has created it.
    CMainFrame* MainFrame() { return m_frame.get(); }

private:
    StartUpOptions m_options;
    std::unique_ptr<EngineLog> m_log;
    std::unique_ptr<QtPrompter> m_qtPrompter;
    Prompter* m_prompter = nullptr;
    std::unique_ptr<CEngineDlg> m_engineWindow;
    std::unique_ptr<NodeTree> m_tree;
    std::unique_ptr<SpellingSession> m_spelling;
    std::unique_ptr<CMainFrame> m_frame;
};

} // namespace trellic
