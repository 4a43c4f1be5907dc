#pragma once

#include <QMainWindow>
#include <QString>
#include <functional>
#include <map>
#include <memory>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QPrinter;
class QTimer;
class QToolBar;

namespace trellic {

enum class NodeEditor;

class CTLXDoc;
class CTLXView;
class EngineLog;
class Prompter;
struct NodeTree;

// The main window: menus, toolbar and status bar around the resume view, and the commands of
// the File, View and Help menus. It owns the view and the document; the node tree, the log and
// the prompter outlive it.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    // The status bar's indicator panes, left to right after the message pane.
    enum Pane { RendererPane, CapsPane, NumPane, ScrollPane, ProtectionPane, PaneCount };

    CMainFrame(NodeTree& tree, EngineLog& log, Prompter& prompter, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CTLXView* View() const { return m_view; }
    CTLXDoc& Doc() const { return *m_doc; }
    // A command's action by its object name ("fileNew", "viewDesigner", ...); null if none.
    QAction* Action(const QString& name) const;
    // Every action bound to a command, menu items and the keys that have no menu item.
    QList<QAction*> Actions() const;
    QToolBar* ToolBar() const { return m_toolBar; }
    QLabel* IndicatorPane(Pane pane) const { return m_panes[pane]; }
    QLabel* MessagePane() const { return m_idle; }

    // Runs the Resume Designer or the Resume Explorer modally on the open resume.
    void OpenNodeEditor(NodeEditor editor);

    // The welcome window, modal, then what the user chose in it.
    void ShowWelcomeWindow();
    // What a closed welcome window asks for (a CWelcomeDlg result code).
    void CarryOutWelcomeChoice(int choice);

    // Puts the radio marks, the title and the indicators in step with the document; every
    // command ends with it.
    void AfterCommand();
    void UpdateIndicators();

    // Print, Print Preview and Export as PDF all lay the view's content out with the same
    // page printer; Print Setup changes the paper and margins they share.
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnFilePrintSetup();
    void OnFileExportPdf(bool archival = false);
    QPrinter& Printer();
    // Replaces the print dialog (tests answer it); it returns whether to print.
    void SetPrintDialogHandler(std::function<bool(QPrinter&)> handler);

    // The window title's fixed part after the document's title.
    static constexpr const char* kWindowTitle = "Quelmar | Trellic 5.0";
    static constexpr const char* kIdleText = "TLX Engine Idle";
    static constexpr const char* kNodeLibraryAddress = "docs/node-library.html";
    static constexpr const char* kMakerAddress = "https://quelmar.example/";

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Command {
        const char* name;
        QString text;
        QString prompt;
        QString tip;
        QList<QKeySequence> keys;
        std::function<void()> run;
    };
    QAction* AddCommand(QMenu* menu, const Command& command);
    void CreateMenus();
    void CreateFileMenu();
    void CreateEditMenu();
    void CreateViewMenu();
    void CreateFormatMenu();
    void CreateHelpMenu();
    void CreateToolBar();
    void CreateStatusBar();
    void SyncMarks();
    void UpdateTitle();
    // Runs a command that needs the node tree, or refuses it in the Resume View.
    void RunNodeCommand(const std::function<void()>& run);
    void ShowAbout();

    NodeTree& m_tree;
    EngineLog& m_log;
    Prompter& m_prompter;
    CTLXView* m_view = nullptr;
    std::unique_ptr<CTLXDoc> m_doc;
    std::map<QString, QAction*> m_actions;
    QActionGroup* m_rendererGroup = nullptr;
    QActionGroup* m_rnsGroup = nullptr;
    QActionGroup* m_dataSourceGroup = nullptr;
    QToolBar* m_toolBar = nullptr;
    QLabel* m_idle = nullptr;
    QLabel* m_panes[PaneCount] = {};
    QTimer* m_idleTimer = nullptr;
    std::unique_ptr<QPrinter> m_printer;
    std::function<bool(QPrinter&)> m_printDialog;
};

} // namespace trellic
