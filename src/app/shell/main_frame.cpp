#include "shell/main_frame.h"

#include "document/recovery.h"
#include "document/tlx_doc.h"
#include "document/undo_history.h"
#include "editors/resume_designer.h"
#include "editors/resume_explorer.h"
#include "engine/engine_log.h"
#include "engine/prompter.h"
#include "formats/format_registry.h"
#include "model/node_tree.h"
#include "presets/user_folders.h"
#include "print/pdf_format.h"
#include "print/resume_printer.h"
#include "render/live_preview.h"
#include "render/render_driver.h"
#include "shell/about_dialog.h"
#include "shell/ats_command.h"
#include "shell/json_resume_commands.h"
#include "shell/print_commands.h"
#include "shell/progress_window.h"
#include "shell/recovery_keeper.h"
#include "shell/tlx_view.h"
#include "shell/undo_router.h"
#include "shell/welcome_dialog.h"
#include "spelling/spell_checking.h"
#include "spelling/spelling_menus.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QPrinter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTextDocument>
#include <QToolBar>
#include <algorithm>

namespace trellic {

namespace {

QList<QKeySequence> Keys(std::initializer_list<const char*> keys) {
    QList<QKeySequence> sequences;
    for (const char* key : keys) {
        sequences << QKeySequence(QString::fromLatin1(key));
    }
    return sequences;
}

// The paper and margins of Print, the PDF and RTF files, and the page the view shows.
void UsePage(CTLXView& view, const PageSetup& setup) {
    view.SetPaperWidth(PaperWidthTwips(setup.paper));
    UsePageSetup(setup);
}

QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback = QStyle::SP_CustomBase) {
    const QString themeName = QString::fromLatin1(name);
    if (QIcon::hasThemeIcon(themeName) || fallback == QStyle::SP_CustomBase) {
        return QIcon::fromTheme(themeName);
    }
    return QApplication::style()->standardIcon(fallback);
}

// The user's documents folder as the desktop names it, or the home folder when there is none.
std::string DocumentsFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) {
        folder = QDir::homePath();
    }
    return {QFile::encodeName(folder).constData()};
}

} // namespace

CMainFrame::CMainFrame(NodeTree& tree, EngineLog& log, Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), m_tree(tree), m_log(log), m_prompter(prompter) {
    setObjectName(QStringLiteral("mainFrame"));
    m_view = new CTLXView(this);
    m_view->SetPrompter(&m_prompter);
    UsePage(*m_view, PageSetup{});
    setCentralWidget(m_view);
    EnableSpellChecking(m_view);
    m_printing = new PrintCommands(*this);
    m_formats = std::make_unique<FormatRegistry>(CoreFormats());
    // The PDFs are what Print would print: the same paper and margins.
    const auto printedPage = [this] { return m_printing->CurrentSetup(); };
    m_formats->Add(std::make_unique<PdfFormat>(PdfFormat::Profile::Standard, printedPage));
    m_formats->Add(std::make_unique<PdfFormat>(PdfFormat::Profile::Archival, printedPage));
    AddOfficeFormats(*m_formats);
    m_doc = std::make_unique<CTLXDoc>(m_tree, *m_view, m_log, m_prompter, *m_formats);
    // The user's files go to the user's folders; the program's and its data folder are not
    // where they belong, and an installed program's cannot take them.
    m_doc->Folders().SetDocumentsFolder(DocumentsFolder());
    m_doc->Folders().AddProgramFolder(m_tree.programFolder);
    m_doc->Folders().AddProgramFolder(UserDataFolder());
    m_progress = std::make_unique<CProgressDlg>(this, tr("Opening the resume..."));
    m_doc->SetProgressPort(m_progress.get());

    CreateMenus();
    CreateToolBar();
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    m_status = new CStatusIndicators(*statusBar(), tr(kIdleText));

    m_recovery = new RecoveryKeeper(
        RecoveryStore(RecoveryFolder()), m_tree, *m_view, *m_doc, m_log, m_prompter,
        [this] { return m_doc->IsModified(); }, [this] { return RecoveryBytes(m_tree, *m_view); },
        this);

    // Everything the panes show but the lock keys is announced by the document.
    m_doc->AddObserver(*this);
    // Typing in the Resume View changes the resume without a document operation.
    connect(m_view->document(), &QTextDocument::modificationChanged, this,
            &CMainFrame::UpdateTitle);
    connect(m_view, &CTLXView::EditRefused, this,
            [this] { statusBar()->showMessage(tr(kNodesReadOnlyHint)); });

    AfterCommand();
}

CMainFrame::~CMainFrame() {
    m_doc->RemoveObserver(*this);
}

void CMainFrame::OnTreeChanged() {
    UpdateTitle();
}

void CMainFrame::OnSettingsChanged() {
    SyncMarks();
    SyncEditing();
    UpdateIndicators();
}

void CMainFrame::OnModifiedChanged(bool) {
    UpdateTitle();
}

void CMainFrame::OnFileNameChanged() {
    UpdateTitle();
}

void CMainFrame::OnProtectionChanged(bool) {
    SyncMarks();
    UpdateIndicators();
}

UndoHistory& CMainFrame::History() const {
    return m_undoRouter->History();
}

bool CMainFrame::OfferRecovery() {
    const bool restored = m_recovery->OfferRestore();
    AfterCommand();
    return restored;
}

QAction* CMainFrame::Action(const QString& name) const {
    const auto it = m_actions.find(name);
    return it == m_actions.end() ? nullptr : it->second;
}

QList<QAction*> CMainFrame::Actions() const {
    QList<QAction*> actions;
    for (const auto& [name, action] : m_actions) {
        actions << action;
    }
    return actions;
}

QAction* CMainFrame::AddCommand(QMenu* menu, const Command& command) {
    auto* action = new QAction(command.text, this);
    action->setObjectName(QString::fromLatin1(command.name));
    action->setStatusTip(command.prompt);
    if (!command.tip.isEmpty()) {
        action->setToolTip(command.tip);
    }
    action->setShortcuts(command.keys);
    // The menu shows the keys; the window holds them so they work wherever the focus is.
    addAction(action);
    if (menu) {
        menu->addAction(action);
    }
    if (command.run) {
        connect(action, &QAction::triggered, this, [this, run = command.run] {
            run();
            AfterCommand();
        });
    }
    m_actions[action->objectName()] = action;
    return action;
}

void CMainFrame::CreateMenus() {
    CreateFileMenu();
    CreateEditMenu();
    CreateViewMenu();
    CreateFormatMenu();
    CreateHelpMenu();
    for (const auto& [name, action] : m_actions) {
        if (name.startsWith(QLatin1String("format"))) {
            m_textEditing << action;
        }
    }
    for (const char* name : {"editPaste", "editPasteSpecial", "editReplace"}) {
        m_textEditing << Action(QString::fromLatin1(name));
    }

    // Keys of the accelerator table without a menu item of their own. There is one pane and no
    // in-place object editing, so moving between panes lands in the view and Esc has nothing to
    // cancel.
    AddCommand(nullptr, {"nextPane", tr("Next Pane"), tr("Switch to the next window pane"),
                         tr("Next Pane"), Keys({"F6"}), [this] { m_view->setFocus(); }});
    AddCommand(nullptr,
               {"previousPane", tr("Previous Pane"), tr("Switch back to the previous window pane"),
                tr("Previous Pane"), Keys({"Shift+F6"}), [this] { m_view->setFocus(); }});
    AddCommand(
        nullptr,
        {"cancelInPlace", tr("Cancel"), tr("Cancel in-place editing"), {}, Keys({"Esc"}), [] {}});
}

void CMainFrame::CreateFileMenu() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    AddCommand(file, {"fileNew", tr("&New"), tr("Create a new resume"), tr("New"), Keys({"Ctrl+N"}),
                      [this] { m_doc->FileNew(); }});
    AddCommand(file, {"fileNewFromTemplate",
                      tr("New from &Template..."),
                      tr("Create a new resume based on a template"),
                      {},
                      Keys({"Ctrl+T"}),
                      [this] { m_doc->NewFromTemplate(); }});
    AddCommand(file, {"fileOpen", tr("&Open..."), tr("Open an existing resume"), tr("Open"),
                      Keys({"Ctrl+O"}), [this] { m_doc->OpenResume(); }});
    AddCommand(file, {"fileSave", tr("&Save"), tr("Save the active resume"), tr("Save"),
                      Keys({"Ctrl+S"}), [this] { m_doc->SaveResume(false); }});
    AddCommand(file, {"fileSaveAs",
                      tr("Save &As..."),
                      tr("Save the active resume with a new name"),
                      tr("Save As"),
                      {},
                      [this] { m_doc->SaveResume(true); }});
    // One item per format of other programs; a menu with none is not shown.
    QMenu* import = file->addMenu(tr("&Import"));
    QMenu* exportMenu = file->addMenu(tr("&Export"));
    for (const FileFormat* format : m_formats->Formats(FormatRole::Exchange)) {
        const FormatInfo& info = format->Info();
        const QString title = QString::fromStdString(info.title);
        const QString item =
            QStringLiteral("&") + QString::fromStdString(info.MenuTitle()) + QStringLiteral("...");
        if (info.reads) {
            const std::string name = "fileImport" + info.id;
            AddCommand(import, {name.c_str(),
                                item,
                                tr("Make a resume of a %1 file").arg(title),
                                tr("Import %1").arg(title),
                                {},
                                [this, format] { OnFileImport(*format); }});
        }
        if (info.writes) {
            const std::string name = "fileExport" + info.id;
            AddCommand(exportMenu,
                       {name.c_str(),
                        item,
                        info.exportTip.empty()
                            ? tr("Save a copy of the active resume as a %1 file").arg(title)
                            : QString::fromStdString(info.exportTip),
                        tr("Export as %1").arg(title),
                        {},
                        [this, format] { OnFileExport(*format); }});
        }
    }
    // JSON Resume builds and reads a node tree rather than a file the view holds, so it has
    // commands of its own: the import asks the close question, the export needs the nodes.
    AddCommand(import,
               {"fileImportJsonResume",
                tr("&JSON Resume..."),
                tr("Build a resume from a JSON Resume file"),
                tr("Import JSON Resume"),
                {},
                [this] { RunJsonResumeImport(*m_doc, m_tree.programFolder, m_prompter, m_log); }});
    AddCommand(exportMenu, {"fileExportJsonResume",
                            tr("&JSON Resume (.json)..."),
                            tr("Save the resume's nodes as a JSON Resume file"),
                            tr("Export as JSON Resume"),
                            {},
                            [this] {
                                RunNodeCommand([this] {
                                    FileDialogOptions suggestion;
                                    suggestion.defaultExtension = "json";
                                    SuggestExportFile(suggestion);
                                    RunJsonResumeExport(m_tree, *m_doc, suggestion, m_prompter,
                                                        m_log);
                                });
                            }});
    import->menuAction()->setVisible(!import->isEmpty());
    exportMenu->menuAction()->setVisible(!exportMenu->isEmpty());
    file->addSeparator();

    // The radio marks follow the document's own record of the state (AfterCommand), never a
    // click alone: a refused or cancelled switch must leave the mark where it was.
    auto radioGroup = [this](QMenu* menu, std::initializer_list<Command> commands) {
        auto* group = new QActionGroup(this);
        group->setExclusive(true);
        for (const Command& command : commands) {
            QAction* action = AddCommand(menu, command);
            action->setCheckable(true);
            group->addAction(action);
        }
        return group;
    };
    QMenu* dataSource = file->addMenu(tr("Set &Data Source"));
    m_dataSourceGroup =
        radioGroup(dataSource, {{"dataSourceNodes",
                                 tr("TLX &Nodes"),
                                 tr("Set the data source to TLX Nodes"),
                                 {},
                                 {},
                                 [this] {
                                     UndoScope step(&History(), "Set Data Source");
                                     m_doc->SetDataSource(CTLXDoc::kSetNodes);
                                 }},
                                {"dataSourceView",
                                 tr("Resume &View"),
                                 tr("Set the data source to Resume View"),
                                 {},
                                 {},
                                 [this] {
                                     UndoScope step(&History(), "Convert to Resume View");
                                     m_doc->SetDataSource(CTLXDoc::kSetResumeView);
                                 }}});
    QMenu* renderer = file->addMenu(tr("Se&t Renderer"));
    m_rendererGroup = radioGroup(
        renderer,
        {{"rendererRtf",
          tr("&Rich Text File (RTF)"),
          tr("Activate the RTF renderer"),
          {},
          {},
          [this] {
              UndoScope step(&History(), "Set Renderer");
              m_doc->SetRenderer(kRendererRtf, true);
          }},
         {"rendererTxt", tr("&Text File (TXT)"), tr("Activate the TXT renderer"), {}, {}, [this] {
              UndoScope step(&History(), "Set Renderer");
              m_doc->SetRenderer(kRendererTxt, true);
          }}});
    QMenu* rns = file->addMenu(tr("R&esume Network Security"));
    m_rnsGroup = radioGroup(
        rns,
        {{"rnsEnabled",
          tr("&Enabled"),
          tr("Enable Resume Network Security"),
          {},
          {},
          [this] { m_doc->StartRNS(); }},
         {"rnsDisabled", tr("&Disabled"), tr("Disable Resume Network Security"), {}, {}, [this] {
              m_doc->StopRNS();
          }}});
    file->addSeparator();

    AddCommand(file, {"filePrint", tr("&Print..."), tr("Print the active resume"), tr("Print"),
                      Keys({"Ctrl+P"}), [this] { OnFilePrint(); }});
    AddCommand(file, {"filePrintPreview",
                      tr("Print Pre&view..."),
                      tr("Display full pages"),
                      tr("Print Preview"),
                      {},
                      [this] { OnFilePrintPreview(); }});
    AddCommand(file, {"fileAtsCheck",
                      tr("Check for A&TS..."),
                      tr("Read the resume's PDF back as an applicant-tracking system does"),
                      tr("ATS Check"),
                      {},
                      [this] {
                          RunAtsCheck(m_view->Document(), m_printing->CurrentSetup(),
                                      PropertiesOf(&m_tree, m_view->Document()), m_prompter, m_log);
                          AfterCommand();
                      }});
    AddCommand(file, {"filePrintSetup",
                      tr("P&rint Setup..."),
                      tr("Change the printer and printing options"),
                      tr("Print Setup"),
                      {},
                      [this] { OnFilePrintSetup(); }});
    file->addSeparator();
    AddCommand(file,
               {"fileExit", tr("E&xit"), tr("Exit Trellic"), tr("Exit"), {}, [this] { close(); }});
}

void CMainFrame::CreateEditMenu() {
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    QAction* undo =
        AddCommand(edit, {"editUndo", tr("&Undo"), tr("Undo the last action"), tr("Undo"),
                          Keys({"Ctrl+Z", "Alt+Backspace"}), [this] { m_undoRouter->Undo(); }});
    QAction* redo =
        AddCommand(edit, {"editRedo", tr("&Redo"), tr("Redo the previously undone action"),
                          tr("Redo"), Keys({"Ctrl+Y"}), [this] { m_undoRouter->Redo(); }});
    edit->addSeparator();
    QAction* cut = AddCommand(edit, {"editCut", tr("Cu&t"),
                                     tr("Cut the selection and put it on the Clipboard"), tr("Cut"),
                                     Keys({"Ctrl+X", "Shift+Del"}), [this] { m_view->cut(); }});
    QAction* copy = AddCommand(
        edit, {"editCopy", tr("&Copy"), tr("Copy the selection and put it on the Clipboard"),
               tr("Copy"), Keys({"Ctrl+C", "Ctrl+Ins"}), [this] { m_view->copy(); }});
    AddCommand(edit, {"editPaste", tr("&Paste"), tr("Insert Clipboard contents"), tr("Paste"),
                      Keys({"Ctrl+V", "Shift+Ins"}), [this] { m_view->paste(); }});
    AddCommand(edit, {"editPasteSpecial",
                      tr("Paste &Special..."),
                      tr("Insert Clipboard contents with options"),
                      tr("Paste Special"),
                      {},
                      [this] { m_view->PasteSpecial(); }});
    edit->addSeparator();
    AddCommand(edit, {"editSelectAll", tr("Select A&ll"), tr("Select the entire document"),
                      tr("Select All"), Keys({"Ctrl+A"}), [this] { m_view->selectAll(); }});
    edit->addSeparator();
    AddCommand(edit, {"editFind", tr("&Find..."), tr("Find the specified text"), tr("Find"),
                      Keys({"Ctrl+F"}), [this] { m_view->Find(); }});
    AddCommand(edit, {"editFindNext", tr("F&ind Next"), tr("Repeat the last action"), tr("Repeat"),
                      Keys({"F3"}), [this] { m_view->FindNext(); }});
    AddCommand(edit,
               {"editReplace", tr("R&eplace..."), tr("Replace specific text with different text"),
                tr("Replace"), Keys({"Ctrl+H"}), [this] { m_view->Replace(); }});
    edit->addSeparator();
    // Embedded objects do not exist on this platform; the items stay so the menu reads as
    // documented, but they can never be chosen.
    AddCommand(edit, {"editInsertObject",
                      tr("Insert &New Object..."),
                      tr("Insert new embedded object"),
                      tr("New Object"),
                      {},
                      {}})
        ->setEnabled(false);
    AddCommand(edit,
               {"editLinks", tr("Lin&ks..."), tr("Edit linked objects"), tr("Edit Links"), {}, {}})
        ->setEnabled(false);
    AddCommand(
        edit,
        {"editObjectVerb", tr("&Object"), tr("Activate embedded or linked object"), {}, {}, {}})
        ->setEnabled(false);
    edit->addSeparator();
    edit->addMenu(new SpellLanguageMenu(edit));

    // Like the framework's update handlers, the history and clipboard items are only offered
    // when they would do something.
    m_undoRouter = new UndoRouter(std::make_unique<UndoHistory>(m_tree, *m_view, *m_doc), *m_view,
                                  *undo, *redo, this);
    cut->setEnabled(false);
    copy->setEnabled(false);
    // A read-only rendering has nothing to cut; its node commands still undo through the router.
    connect(m_view, &QTextEdit::copyAvailable, cut,
            [this, cut](bool on) { cut->setEnabled(on && !m_view->isReadOnly()); });
    connect(m_view, &QTextEdit::copyAvailable, copy, &QAction::setEnabled);
}

void CMainFrame::CreateViewMenu() {
    QMenu* view = menuBar()->addMenu(tr("&View"));
    QAction* toolBar = AddCommand(view, {"viewToolbar",
                                         tr("&Toolbar"),
                                         tr("Show or hide the toolbar"),
                                         tr("Toggle ToolBar"),
                                         {},
                                         {}});
    QAction* statusBarAction = AddCommand(view, {"viewStatusBar",
                                                 tr("&Status Bar"),
                                                 tr("Show or hide the status bar"),
                                                 tr("Toggle StatusBar"),
                                                 {},
                                                 {}});
    for (QAction* action : {toolBar, statusBarAction}) {
        action->setCheckable(true);
        action->setChecked(true);
    }
    connect(toolBar, &QAction::triggered, this, [this](bool on) { m_toolBar->setVisible(on); });
    connect(statusBarAction, &QAction::triggered, this,
            [this](bool on) { statusBar()->setVisible(on); });
    view->addSeparator();
    AddCommand(view, {"viewWelcome",
                      tr("&Welcome Window..."),
                      tr("Display the Welcome window"),
                      {},
                      Keys({"F10"}),
                      [this] { ShowWelcomeWindow(); }});
    AddCommand(view,
               {"viewDesigner", tr("Resume &Designer..."), tr("Display the Resume Designer window"),
                tr("Resume Designer"), Keys({"F11"}), [this] {
                    RunNodeCommand([this] { m_prompter.OpenNodeEditor(NodeEditor::Designer); });
                }});
    AddCommand(view,
               {"viewExplorer", tr("&Resume Explorer..."), tr("Display the Resume Explorer window"),
                tr("Resume Explorer"), Keys({"F12"}), [this] {
                    RunNodeCommand([this] { m_prompter.OpenNodeEditor(NodeEditor::Explorer); });
                }});
    AddCommand(view, {"viewRefreshRender", tr("Refres&h Render"), tr("Render the resume"),
                      tr("Refresh Render"), Keys({"F5"}),
                      [this] { RunNodeCommand([this] { RenderResume(m_tree, *m_view); }); }});
}

void CMainFrame::CreateFormatMenu() {
    QMenu* format = menuBar()->addMenu(tr("F&ormat"));
    AddCommand(format, {"formatFont",
                        tr("&Font..."),
                        tr("Select font for current selection"),
                        tr("Format Font"),
                        {},
                        [this] { m_view->ChooseFont(); }});
    format->addSeparator();
    AddCommand(format, {"formatBold", tr("&Bold"), tr("Toggle the bold effect"), tr("Bold"),
                        Keys({"Ctrl+B"}), [this] { m_view->Bold(); }});
    AddCommand(format, {"formatItalic", tr("&Italic"), tr("Toggle the italic effect"), tr("Italic"),
                        Keys({"Ctrl+I"}), [this] { m_view->Italic(); }});
    QMenu* underline = format->addMenu(tr("&Underline"));
    AddCommand(underline, {"formatUnderlineNone",
                           tr("&None"),
                           tr("Turn off the underline effect"),
                           tr("No Underline"),
                           {},
                           [this] { m_view->UnderlineNone(); }});
    AddCommand(underline,
               {"formatUnderlineSolid", tr("&Solid"), tr("Toggle the solid underline effect"),
                tr("Solid Underline"), Keys({"Ctrl+U"}), [this] { m_view->UnderlineSolid(); }});
    AddCommand(underline, {"formatUnderlineDotted",
                           tr("&Dotted"),
                           tr("Toggle the dotted underline effect"),
                           tr("Dotted Underline"),
                           {},
                           [this] { m_view->UnderlineDotted(); }});
    AddCommand(format, {"formatStrikeout",
                        tr("Stri&keout"),
                        tr("Toggle the strikeout effect"),
                        tr("Strikeout"),
                        {},
                        [this] { m_view->Strikeout(); }});
    // The text control has no keys of its own for these formats, so the window binds the keys
    // the menu shows.
    AddCommand(format, {"formatSubscript", tr("Subs&cript"), tr("Toggle the subscript effect"),
                        tr("Subscript"), Keys({"Ctrl+="}), [this] { m_view->Subscript(); }});
    AddCommand(format,
               {"formatSuperscript", tr("Su&perscript"), tr("Toggle the superscript effect"),
                tr("Superscript"), Keys({"Ctrl++"}), [this] { m_view->Superscript(); }});
    format->addSeparator();

    QMenu* bullets = format->addMenu(tr("Bull&ets"));
    AddCommand(bullets, {"formatBulletNone",
                         tr("&None"),
                         tr("Turn off the bullets effect"),
                         tr("No Bullet"),
                         {},
                         [this] { m_view->BulletNone(); }});
    AddCommand(
        bullets,
        {"formatBullet", tr("&Bullet"), tr("Toggle the bullet effect"), tr("Bullet"), {}, [this] {
             m_view->Bullet();
         }});
    struct Numbered {
        const char* name;
        const char* text;
        const char* prompt;
        const char* tip;
        int style;
    };
    const Numbered numbered[] = {
        {"formatNumberArabic", "&Arabic Numbers", "Toggle the arabic numbers bullet effect",
         "Arabic Numbers Bullet", 2},
        {"formatNumberLowerLetters", "&Lowercase Letters",
         "Toggle the lowercase letters bullet effect", "Lowercase Letters Bullet", 3},
        {"formatNumberUpperLetters", "&Uppercase Letters",
         "Toggle the uppercase letters bullet effect", "Uppercase Letters Bullet", 4},
        {"formatNumberLowerRoman", "L&owercase Roman Numerals",
         "Toggle the lowercase roman numerals bullet effect", "Lowercase Roman Numerals Bullet", 5},
        {"formatNumberUpperRoman", "U&ppercase Roman Numerals",
         "Toggle the uppercase roman numerals bullet effect", "Uppercase Roman Numerals Bullet", 6},
    };
    for (const Numbered& n : numbered) {
        AddCommand(bullets,
                   {n.name, tr(n.text), tr(n.prompt), tr(n.tip), {}, [this, style = n.style] {
                        m_view->Numbering(style);
                    }});
    }

    struct Paragraph {
        const char* name;
        const char* text;
        const char* prompt;
        const char* tip;
        const char* key;
        int value;
    };
    QMenu* alignment = format->addMenu(tr("&Alignment"));
    const Paragraph alignments[] = {
        {"formatAlignLeft", "&Left", "Activate left allignment", "Left Alignment", "Ctrl+L", 1},
        {"formatAlignCentre", "&Centred", "Activate centred alignment", "Centre Alignment",
         "Ctrl+E", 3},
        {"formatAlignRight", "&Right", "Activate right alignment", "Right Alignment", "Ctrl+R", 2},
        {"formatAlignJustify", "&Justified", "Activate justified alignment", "Justify Alignment",
         "Ctrl+J", 4},
    };
    for (const Paragraph& a : alignments) {
        AddCommand(alignment, {a.name, tr(a.text), tr(a.prompt), tr(a.tip), Keys({a.key}),
                               [this, value = a.value] { m_view->Align(value); }});
    }
    QMenu* spacing = format->addMenu(tr("&Line Spacing"));
    const Paragraph spacings[] = {
        {"formatSpacingSingle", "&Single", "Activate single line spacing", "Single Line", "Ctrl+1",
         0},
        {"formatSpacingOneHalf", "1.5 &Lines", "Activate 1.5 line spacing", "1.5 Lines", "Ctrl+5",
         1},
        {"formatSpacingDouble", "&Double", "Activate double line spacing", "Double Lines", "Ctrl+2",
         2},
    };
    for (const Paragraph& s : spacings) {
        AddCommand(spacing, {s.name, tr(s.text), tr(s.prompt), tr(s.tip), Keys({s.key}),
                             [this, value = s.value] { m_view->LineSpacing(value); }});
    }
}

void CMainFrame::CreateHelpMenu() {
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    AddCommand(help, {"helpDocumentation",
                      tr("&Documentation..."),
                      tr("Display the Trellic Documentation"),
                      {},
                      {},
                      [this] { m_prompter.OpenAddress(CWelcomeDlg::kDocumentationAddress); }});
    AddCommand(
        help,
        {"helpNodeLibrary", tr("&Node Library..."), tr("Display the Node Library"), {}, {}, [this] {
             m_prompter.OpenAddress(kNodeLibraryAddress);
         }});
    AddCommand(help, {"helpQuelnet",
                      tr("&Quelnet..."),
                      tr("Display the Quelmar website - Quelnet"),
                      {},
                      {},
                      [this] { m_prompter.OpenAddress(kMakerAddress); }});
    help->addSeparator();
    AddCommand(help, {"helpAbout",
                      tr("&About Trellic..."),
                      tr("Display program information, version number and copyright"),
                      tr("About"),
                      {},
                      [this] { ShowAbout(); }});
}

void CMainFrame::CreateToolBar() {
    m_toolBar = addToolBar(tr("Standard"));
    m_toolBar->setObjectName(QStringLiteral("standardToolBar"));
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    struct Button {
        const char* action;
        const char* icon;
        QStyle::StandardPixmap fallback;
    };
    const Button groups[][4] = {
        {{"fileNew", "document-new", QStyle::SP_FileIcon},
         {"fileOpen", "document-open", QStyle::SP_DialogOpenButton},
         {"fileSave", "document-save", QStyle::SP_DialogSaveButton},
         {"filePrint", "document-print", QStyle::SP_CustomBase}},
        {{"editCut", "edit-cut", QStyle::SP_CustomBase},
         {"editCopy", "edit-copy", QStyle::SP_CustomBase},
         {"editPaste", "edit-paste", QStyle::SP_CustomBase},
         {}},
        {{"viewDesigner", "document-properties", QStyle::SP_FileDialogDetailedView},
         {"viewExplorer", "system-search", QStyle::SP_FileDialogContentsView},
         {"viewRefreshRender", "view-refresh", QStyle::SP_BrowserReload},
         {}},
        {{"helpAbout", "help-about", QStyle::SP_MessageBoxInformation}, {}, {}, {}},
    };
    bool first = true;
    for (const auto& group : groups) {
        if (!first) {
            m_toolBar->addSeparator();
        }
        first = false;
        for (const Button& button : group) {
            if (!button.action) {
                continue;
            }
            QAction* action = Action(QString::fromLatin1(button.action));
            // Without a picture the button shows its text, which is still better than a blank.
            action->setIcon(ThemeIcon(button.icon, button.fallback));
            m_toolBar->addAction(action);
        }
    }
    // Hiding the bar by its own means (its context menu, closing it while floating) must move
    // the View menu's check too.
    connect(m_toolBar, &QToolBar::visibilityChanged, this, [this](bool visible) {
        if (!isHidden()) {
            Action(QStringLiteral("viewToolbar"))->setChecked(visible);
        }
    });
}

QLabel* CMainFrame::IndicatorPane(Pane pane) const {
    return m_status->Pane(pane);
}

QLabel* CMainFrame::MessagePane() const {
    return m_status->MessagePane();
}

void CMainFrame::SyncMarks() {
    const MenuMarks marks = m_doc->Marks();
    Action(marks.renderer == kRendererRtf ? QStringLiteral("rendererRtf")
                                          : QStringLiteral("rendererTxt"))
        ->setChecked(true);
    Action(marks.dataSource == kDataSourceNodes ? QStringLiteral("dataSourceNodes")
                                                : QStringLiteral("dataSourceView"))
        ->setChecked(true);
    Action(marks.rnsEnabled ? QStringLiteral("rnsEnabled") : QStringLiteral("rnsDisabled"))
        ->setChecked(true);
}

void CMainFrame::UpdateTitle() {
    const std::string title = m_doc->Title();
    const bool modified = m_doc->IsModified();
    // Unsaved changes are marked the desktop's way, before the document's name.
    const QString text = (modified ? QStringLiteral("*") : QString()) +
                         QFile::decodeName(title.c_str()) + QStringLiteral(" - ") +
                         QString::fromLatin1(kWindowTitle);
    if (windowTitle() != text) {
        setWindowTitle(text);
    }
}

void CMainFrame::SyncEditing() {
    const bool nodes = m_tree.dataSource == kDataSourceNodes;
    m_view->SetReadOnlyRendering(nodes);
    for (QAction* action : m_textEditing) {
        action->setEnabled(!nodes);
    }
    // Node commands stay undoable in a read-only rendering; the router knows both histories.
    // Cut otherwise follows the view's signal, which a switch does not send.
    m_undoRouter->Refresh();
    Action(QStringLiteral("editCut"))->setEnabled(!nodes && m_view->textCursor().hasSelection());
    if (!nodes && statusBar()->currentMessage() == tr(kNodesReadOnlyHint)) {
        statusBar()->clearMessage();
    }
}

void CMainFrame::UpdateIndicators() {
    m_status->Show(m_tree.renderer == kRendererRtf, m_doc->IsProtected());
}

void CMainFrame::AfterCommand() {
    m_undoRouter->Refresh(); // a new or opened resume has left its history behind
    m_recovery->AfterCommand();
    SyncMarks();
    SyncEditing();
    UpdateTitle();
    UpdateIndicators();
}

void CMainFrame::RunNodeCommand(const std::function<void()>& run) {
    if (m_doc->RequireNodeDataSource()) {
        run();
    }
}

void CMainFrame::OpenNodeEditor(NodeEditor editor) {
    LivePreview preview(m_tree, *m_view);
    EditorContext context{m_tree, *m_doc, *m_view, m_log, m_prompter, &History(), &preview};
    if (editor == NodeEditor::Designer) {
        CResumeDesignerDlg designer(context, this);
        designer.exec();
    } else {
        CResumeExplorerDlg explorer(context, this);
        explorer.exec();
    }
    // The editors change the records in place; the document tells everyone what changed.
    m_doc->TreeChanged();
    // The designer may have switched the renderer, the explorer saved the resume.
    AfterCommand();
}

void CMainFrame::ShowWelcomeWindow() {
    int choice = QDialog::Rejected;
    {
        CWelcomeDlg welcome(m_tree.programFolder, m_log, m_prompter, this);
        choice = welcome.exec();
    }
    CarryOutWelcomeChoice(choice);
}

void CMainFrame::CarryOutWelcomeChoice(int choice) {
    if (choice == CWelcomeDlg::NewResume) {
        // As File > New: the open resume may hold work, so it is closed only when the user
        // agrees.
        if (!m_doc->FileNew()) {
            AfterCommand();
            return;
        }
        if (m_prompter.AskYesNo("Would you like to base the resume on a template?")) {
            m_doc->NewFromTemplate();
        } else {
            m_prompter.OpenNodeEditor(NodeEditor::Designer);
        }
    } else if (choice == CWelcomeDlg::OpenResume) {
        m_doc->OpenResume();
    }
    AfterCommand();
}

void CMainFrame::ShowAbout() {
    CAboutDlg about(m_tree.programFolder, m_log, m_prompter, this);
    about.exec();
}

QPrinter& CMainFrame::Printer() {
    return m_printing->Printer();
}

void CMainFrame::SetPrintDialogHandler(std::function<bool(QPrinter&)> handler) {
    m_printing->SetPrintDialogHandler(std::move(handler));
}

void CMainFrame::OnFilePrint() {
    m_printing->Print(m_view->Document());
    AfterCommand();
}

void CMainFrame::OnFilePrintPreview() {
    m_printing->PrintPreview([this] { return m_view->Document(); });
    AfterCommand();
}

void CMainFrame::OnFilePrintSetup() {
    if (m_printing->PrintSetup()) {
        UsePage(*m_view, m_printing->CurrentSetup());
    }
    AfterCommand();
}

void CMainFrame::SuggestExportFile(FileDialogOptions& options) const {
    // Beside the resume's file and named as it is; a resume without a file of the user's takes
    // its own name, in the folder Save As would offer.
    const std::string& file = m_tree.filePath.empty() ? m_doc->PathName() : m_tree.filePath;
    std::string fallback = "My Resume";
    if (m_tree.dataSource == kDataSourceNodes && m_tree.resume && !m_tree.resume->name.empty()) {
        fallback = m_tree.resume->name;
        std::replace(fallback.begin(), fallback.end(), '/', '-');
    }
    options.initialFolder = m_doc->Folders().SaveFolder(file);
    options.initialName =
        m_doc->Folders().ExportName(file, fallback) + "." + options.defaultExtension;
}

void CMainFrame::OnFileImport(const FileFormat& format) {
    FileDialogOptions options;
    options.defaultExtension = format.Info().extensions.front();
    options.filter = DialogFilterFor(format);
    options.hideReadOnly = true;
    options.pathMustExist = true;
    options.fileMustExist = true;
    options.initialFolder = m_doc->Folders().OpenFolder();
    if (const std::optional<std::string> path = m_prompter.ChooseOpenFile(options)) {
        m_doc->Folders().Used(*path);
        m_doc->ImportResumeFile(format, *path);
    }
    AfterCommand();
}

void CMainFrame::OnFileExport(const FileFormat& format) {
    const FormatInfo& info = format.Info();
    FileDialogOptions options;
    options.defaultExtension = info.extensions.front();
    options.filter = DialogFilterFor(format);
    options.overwritePrompt = true;
    options.hideReadOnly = true;
    SuggestExportFile(options);
    if (const std::optional<std::string> path = m_prompter.ChooseSaveFile(options)) {
        m_doc->Folders().Used(*path);
        const FormatResult exported = m_doc->ExportResume(format, *path);
        if (!exported.ok) {
            const std::string notWritten = "The " + info.FileKind() + " could not be written:";
            m_log.AppendLog("WARNING: " + notWritten + " " + *path + ": " + exported.message +
                            "\r\n\r\n");
            m_prompter.ShowMessage(notWritten + "\n\n" + *path + "\n\n" + exported.message,
                                   MessageIcon::Exclamation);
        }
    }
    AfterCommand();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!m_doc->SaveModified()) {
        event->ignore();
        AfterCommand(); // the offered save may have changed the file and its name
        return;
    }
    m_recovery->Discard();
    emit closing();
    QMainWindow::closeEvent(event);
}

} // namespace trellic
