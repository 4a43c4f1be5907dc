#pragma once

#include "document/document_observer.h"
#include "engine/version.h"
#include "shell/status_indicators.h"

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
class QToolBar;

namespace trellic {

enum class NodeEditor;
struct FileDialogOptions;

class CProgressDlg;
class CStatusIndicators;
class CTLXDoc;
class CTLXView;
class EngineLog;
class FileFormat;
class FormatRegistry;
class PrintCommands;
class Prompter;
class RecoveryKeeper;
class UndoHistory;
class UndoRouter;
struct NodeTree;

// The main window: menus, toolbar and status bar around the resume view, and the commands of
// the File, View and Help menus. It owns the view and the document; the node tree, the log and
// the prompter outlive it.
class CMainFrame : public QMainWindow, private DocumentObserver {
    Q_OBJECT

public:
    // The status bar's indicator panes, left to right after the message pane.
    using Pane = StatusPane;
    using enum StatusPane;

    CMainFrame(NodeTree& tree, EngineLog& log, Prompter& prompter, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CTLXView* View() const { return m_view; }
    CTLXDoc& Doc() const { return *m_doc; }
    // The window that shows a long open's progress and lets the user cancel it.
    CProgressDlg& Progress() const { return *m_progress; }
    // Edit > Undo and Redo of the commands that changed the resume.
    UndoHistory& History() const;
    // The recovery copy of the open resume while it has unsaved changes.
    RecoveryKeeper& Recovery() const { return *m_recovery; }
    // At start-up: offers what an earlier run left unsaved; true when a resume was restored.
    bool OfferRecovery();
    // A command's action by its object name ("fileNew", "viewDesigner", ...); null if none.
    QAction* Action(const QString& name) const;
    // Every action bound to a command, menu items and the keys that have no menu item.
    QList<QAction*> Actions() const;
    QToolBar* ToolBar() const { return m_toolBar; }
    QLabel* IndicatorPane(Pane pane) const;
    QLabel* MessagePane() const;

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

    // Print, Print Preview and File > Export > PDF all lay the view's content out with the same
    // page printer; Print Setup changes the paper and margins they share.
    void OnFilePrint();
    void OnFilePrintPreview();
    void OnFilePrintSetup();
    // File > Import and File > Export: another program's file, in one of the formats offered.
    void OnFileImport(const FileFormat& format);
    void OnFileExport(const FileFormat& format);
    QPrinter& Printer();
    // Replaces the print dialog (tests answer it); it returns whether to print.
    void SetPrintDialogHandler(std::function<bool(QPrinter&)> handler);

    // What the status bar says when the user tries to type into a rendering of nodes.
    static constexpr const char* kNodesReadOnlyHint =
        "The text of a TLX Nodes resume comes from its nodes: change it in the Resume Explorer "
        "(F12) or in a node's dialog in the Resume Designer (F11), or convert the resume with "
        "File > Set Data Source > Resume View.";

    // The window title's fixed part after the document's title.
    static constexpr const char* kWindowTitle = "Quelmar | Trellic " TRELLIC_VERSION;
    static constexpr const char* kIdleText = "TLX Engine Idle";
    static constexpr const char* kNodeLibraryAddress = "docs/node-library.html";
    static constexpr const char* kMakerAddress = "https://quelmar.example/";

signals:
    // The user agreed to close the main window: the run is over.
    void closing();

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
    // Where an export's chooser starts and the name it offers, with its default extension.
    void SuggestExportFile(FileDialogOptions& options) const;
    // DocumentObserver: the window follows the document as it announces its changes.
    void OnTreeChanged() override;
    void OnSettingsChanged() override;
    void OnModifiedChanged(bool modified) override;
    void OnFileNameChanged() override;
    void OnProtectionChanged(bool protectedNow) override;

    void SyncMarks();
    void UpdateTitle();
    // A rendering of nodes is only read: what is typed there would be lost at the next render.
    void SyncEditing();
    // Runs a command that needs the node tree, or refuses it in the Resume View.
    void RunNodeCommand(const std::function<void()>& run);
    void ShowAbout();

    NodeTree& m_tree;
    EngineLog& m_log;
    Prompter& m_prompter;
    CTLXView* m_view = nullptr;
    // The file formats the program offers: the core's and the printed page's.
    std::unique_ptr<FormatRegistry> m_formats;
    std::unique_ptr<CTLXDoc> m_doc;
    std::unique_ptr<CProgressDlg> m_progress;
    UndoRouter* m_undoRouter = nullptr;
    RecoveryKeeper* m_recovery = nullptr;
    std::map<QString, QAction*> m_actions;
    // The commands that change the view's text, offered only in the Resume View.
    QList<QAction*> m_textEditing;
    QActionGroup* m_rendererGroup = nullptr;
    QActionGroup* m_rnsGroup = nullptr;
    QActionGroup* m_dataSourceGroup = nullptr;
    QToolBar* m_toolBar = nullptr;
    CStatusIndicators* m_status = nullptr;
    PrintCommands* m_printing = nullptr;
};

} // namespace trellic
