#include "editors/resume_designer.h"

#include "document/tlx_doc.h"
#include "document/undo_history.h"
#include "editors/editor_text.h"
#include "editors/node_dialogs.h"
#include "editors/resume_setup_dlg.h"
#include "engine/prompter.h"
#include "presets/node_description.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace trellic {

namespace {

constexpr const char* kDeleteQuestion =
    "Are you sure you want to delete the selected node? This operation cannot be undone.";

QLineEdit* NewReadOnlyField(const char* name) {
    auto* field = new QLineEdit;
    field->setObjectName(QLatin1String(name));
    field->setReadOnly(true);
    return field;
}

} // namespace

CResumeDesignerDlg::CResumeDesignerDlg(EditorContext& context, QWidget* parent)
    : QDialog(parent), m_context(context) {
    setWindowTitle(tr("Resume Designer"));
    setObjectName(QStringLiteral("resumeDesigner"));

    auto* menuBar = new QMenuBar(this);
    QMenu* create = menuBar->addMenu(tr("&Create"));
    const struct {
        const char* text;
        Qt::Key key;
        const char* name;
        NodeKind kind;
    } kCreateCommands[] = {
        {QT_TR_NOOP("&Header..."), Qt::Key_H, "createHeader", kKindHeader},
        {QT_TR_NOOP("Resume &Section..."), Qt::Key_S, "createSection", kKindResumeSection},
        {QT_TR_NOOP("Single Line &Field..."), Qt::Key_F, "createSLField", kKindSLField},
        {QT_TR_NOOP("&Multiple Line Field..."), Qt::Key_M, "createMLField", kKindMLField},
        {QT_TR_NOOP("&Rich Text File Output..."), Qt::Key_R, "createRTFOutput", kKindRTFOutput},
        {QT_TR_NOOP("&Text File Output..."), Qt::Key_T, "createTXTOutput", kKindTXTOutput},
    };
    for (const auto& command : kCreateCommands) {
        const NodeKind kind = command.kind;
        QAction* action = AddCommand(create, tr(command.text), command.key, command.name,
                                     [this, kind] { CreateNode(kind); });
        m_characterKeys.emplace_back(QChar(command.key).toLower(), action);
    }

    QMenu* edit = menuBar->addMenu(tr("&Edit"));
    m_inspect = AddCommand(edit, tr("&Inspect Node..."), Qt::Key_Enter, "inspectNode",
                           [this] { InspectNode(); });
    m_delete = AddCommand(edit, tr("&Delete Node"), Qt::Key_Delete, "deleteNode",
                          [this] { DeleteSelectedNode(); });
    QAction* down = AddCommand(edit, tr("&Move Node Down"), Qt::Key_Plus, "moveNodeDown",
                               [this] { MoveNode(MoveDirection::Down); });
    QAction* up = AddCommand(edit, tr("Move Node &Up"), Qt::Key_Minus, "moveNodeUp",
                             [this] { MoveNode(MoveDirection::Up); });
    QAction* active = AddCommand(edit, tr("Make Node &Active"), Qt::Key_A, "makeNodeActive",
                                 [this] { MakeNodeActive(); });
    QAction* inactive = AddCommand(edit, tr("Make Node I&nactive"), Qt::Key_I, "makeNodeInactive",
                                   [this] { MakeNodeInactive(); });
    QAction* duplicate = AddCommand(edit, tr("Du&plicate Node"), Qt::Key_D, "duplicateNode",
                                    [this] { DuplicateNode(); });
    edit->addSeparator();
    m_headerUp = AddCommand(edit, tr("Move &Header and Its Nodes Up"),
                            QKeySequence(Qt::ControlModifier | Qt::Key_Up), "moveHeaderUp",
                            [this] { MoveHeaderWithNodes(MoveDirection::Up); });
    m_headerDown = AddCommand(edit, tr("Move Header and Its Nodes Do&wn"),
                              QKeySequence(Qt::ControlModifier | Qt::Key_Down), "moveHeaderDown",
                              [this] { MoveHeaderWithNodes(MoveDirection::Down); });
    m_characterKeys.emplace_back(QLatin1Char('+'), down);
    m_characterKeys.emplace_back(QLatin1Char('-'), up);
    m_characterKeys.emplace_back(QLatin1Char('a'), active);
    m_characterKeys.emplace_back(QLatin1Char('i'), inactive);
    m_characterKeys.emplace_back(QLatin1Char('d'), duplicate);

    m_stackChooser = new QComboBox;
    m_stackChooser->setObjectName(QStringLiteral("stackChooser"));
    m_stackChooser->addItems({tr("Active Nodes"), tr("Inactive Nodes")});
    m_stackChooser->setCurrentIndex(0);
    // Dragging a line over the chooser shows the other stack, to drop the line there.
    m_stackChooser->setAcceptDrops(true);
    m_list = new CNodeStackList;
    m_list->setObjectName(QStringLiteral("nodeList"));
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    m_nodeType = NewReadOnlyField("nodeType");
    m_stackType = NewReadOnlyField("stackType");
    m_nodeLocation = NewReadOnlyField("nodeLocation");
    m_stackLocation = NewReadOnlyField("stackLocation");
    m_description = new QPlainTextEdit;
    m_description->setObjectName(QStringLiteral("description"));
    m_description->setReadOnly(true);
    m_description->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto* left = new QVBoxLayout;
    left->addWidget(m_stackChooser);
    left->addWidget(m_list, 1);
    auto* right = new QGridLayout;
    const std::pair<const char*, QLineEdit*> fields[] = {
        {QT_TR_NOOP("Node Type:"), m_nodeType},
        {QT_TR_NOOP("Stack Type:"), m_stackType},
        {QT_TR_NOOP("Node Location:"), m_nodeLocation},
        {QT_TR_NOOP("Stack Location:"), m_stackLocation}};
    int row = 0;
    for (const auto& [label, field] : fields) {
        right->addWidget(new QLabel(tr(label)), row, 0);
        right->addWidget(field, row, 1);
        ++row;
    }
    right->addWidget(m_description, row, 0, 1, 2);
    right->setRowStretch(row, 1);
    right->setColumnStretch(1, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setMenuBar(menuBar);
    // The list takes about a third of the width, the facts the rest.
    layout->addLayout(left, 113);
    layout->addLayout(right, 205);

    QWidget::setTabOrder(m_stackChooser, m_list);
    QWidget::setTabOrder(m_list, m_nodeType);
    QWidget::setTabOrder(m_nodeType, m_stackType);
    QWidget::setTabOrder(m_stackType, m_nodeLocation);
    QWidget::setTabOrder(m_nodeLocation, m_stackLocation);
    QWidget::setTabOrder(m_stackLocation, m_description);

    // Only the user's choices arrive here: the commands select lines with the signals blocked.
    connect(m_stackChooser, &QComboBox::currentIndexChanged, this, [this] { ShowStack(); });
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] { RefreshFields(); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { m_inspect->trigger(); });
    connect(m_list, &CNodeStackList::EntryDropped, this,
            [this](StackId from, int line, StackId to, int target) {
                DropEntry(from, line, to, target);
            });

    FillList();
    // The first line is selected, so that Enter inspects it straight away.
    SelectLine(0);
    RefreshFields();
    m_list->setFocus();

    const QFontMetrics metrics = fontMetrics();
    resize(333 * metrics.averageCharWidth() / 4, 246 * metrics.height() / 8);

    // The keys must be seen before whichever control has the focus; one filter on the
    // application sees every control of the window, including ones a control makes later.
    qApp->installEventFilter(this);
}

CResumeDesignerDlg::~CResumeDesignerDlg() {
    qApp->removeEventFilter(this);
}

QAction* CResumeDesignerDlg::AddCommand(QMenu* menu, const QString& text, const QKeySequence& key,
                                        const char* name, std::function<void()> run) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QLatin1String(name));
    // A widget shortcut of a menu item is never live (the menu bar does not take the focus), so
    // the menu shows the key while the key filter alone acts on it.
    action->setShortcut(key);
    action->setShortcutContext(Qt::WidgetShortcut);
    connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
    return action;
}

bool CResumeDesignerDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_stackChooser && ChooserDragEvent(event)) {
        return true;
    }
    // The menu bar, once the user reaches it with Alt, takes its letters for its own menus.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == this &&
        qobject_cast<QMenuBar*>(watched) == nullptr) {
        return RunKeyCommand(*static_cast<QKeyEvent*>(event));
    }
    return QDialog::eventFilter(watched, event);
}

bool CResumeDesignerDlg::RunKeyCommand(const QKeyEvent& key) {
    if (key.modifiers() == Qt::ControlModifier &&
        (key.key() == Qt::Key_Up || key.key() == Qt::Key_Down)) {
        (key.key() == Qt::Key_Up ? m_headerUp : m_headerDown)->trigger();
        return true;
    }
    // Other Control and Alt combinations belong to the controls and the menu bar's mnemonics.
    if (key.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return false;
    }
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) {
        m_inspect->trigger();
        return true;
    }
    if (key.key() == Qt::Key_Delete) {
        m_delete->trigger();
        return true;
    }
    const QString typed = key.text();
    if (typed.size() != 1) {
        return false;
    }
    const QChar character = typed.front().toLower();
    for (const auto& [bound, action] : m_characterKeys) {
        if (bound == character) {
            action->trigger();
            return true;
        }
    }
    return false;
}

StackId CResumeDesignerDlg::ChosenStack() {
    if (m_stackChooser->currentIndex() < 0) {
        const QSignalBlocker blocker(m_stackChooser);
        m_stackChooser->setCurrentIndex(0);
    }
    return m_stackChooser->currentIndex() == 1 ? StackId::Inactive : StackId::Active;
}

int CResumeDesignerDlg::Selection() const {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.front());
}

void CResumeDesignerDlg::FillList() {
    const QSignalBlocker blocker(m_list);
    m_list->clear();
    const StackId stack = ChosenStack();
    m_list->SetStack(stack);
    for (const StackEntry& entry : m_context.tree.Stack(stack)) {
        auto* item = new QListWidgetItem(FromEngineText(NodeDisplayName(m_context.tree, entry)));
        // However narrow the window, the whole name is a hover away.
        item->setToolTip(item->text());
        if (entry.kind == kKindResume) {
            item->setFlags(item->flags() & ~Qt::ItemIsDragEnabled); // it keeps its place
        }
        m_list->addItem(item);
    }
    FitListToNames();
}

void CResumeDesignerDlg::FitListToNames() {
    const QFontMetrics metrics = m_list->fontMetrics();
    int widest = 0;
    for (const StackId stack : {StackId::Active, StackId::Inactive}) {
        for (const StackEntry& entry : m_context.tree.Stack(stack)) {
            const QString name = FromEngineText(NodeDisplayName(m_context.tree, entry));
            widest = std::max(widest, metrics.horizontalAdvance(name));
        }
    }
    const int chrome = 2 * m_list->frameWidth() + m_list->verticalScrollBar()->sizeHint().width() +
                       2 * m_list->spacing() + metrics.averageCharWidth() * 2;
    // A name longer than half the screen scrolls sideways rather than push the window off it.
    const QScreen* screen = this->screen();
    const int most = screen ? screen->availableGeometry().width() / 2 : 800;
    m_list->setMinimumWidth(std::min(widest + chrome, most));
}

void CResumeDesignerDlg::SelectLine(int line) {
    if (m_list->count() == 0) {
        return;
    }
    const QSignalBlocker blocker(m_list);
    m_list->setCurrentRow(std::min(line, m_list->count() - 1));
}

void CResumeDesignerDlg::RefreshFields() {
    const int line = Selection();
    const StackId stack = ChosenStack();
    const std::vector<StackEntry>& entries = m_context.tree.Stack(stack);
    if (line < 0 || static_cast<std::size_t>(line) >= entries.size()) {
        return;
    }
    const StackEntry& entry = entries[static_cast<std::size_t>(line)];
    m_stackType->setText(stack == StackId::Active ? tr("Active") : tr("Inactive"));
    // An unknown kind (a damaged file) leaves the field as it was.
    if (const char* kind = KindName(entry.kind); *kind != '\0') {
        m_nodeType->setText(tr(kind));
    }
    m_nodeLocation->setText(QString::number(entry.index));
    m_stackLocation->setText(QString::number(line));
    m_description->setPlainText(FromNodeText(DescribeNode(entry, m_context.tree)));
}

void CResumeDesignerDlg::RefreshFacts() {
    if (Selection() >= 0) {
        RefreshFields();
        return;
    }
    // Facts of a line that is gone would describe a node the list no longer shows.
    for (QLineEdit* field : {m_nodeType, m_stackType, m_nodeLocation, m_stackLocation}) {
        field->clear();
    }
    m_description->clear();
}

void CResumeDesignerDlg::ShowStack() {
    FillList();
    RefreshFields();
}

void CResumeDesignerDlg::CreateNode(NodeKind kind) {
    UndoScope step(m_context.history, std::string("Create ") + KindName(kind));
    const std::optional<StackEntry> entry = CreateNodeRecord(m_context, kind, this, ChosenStack());
    if (!entry) {
        return;
    }
    m_context.tree.Stack(ChosenStack()).push_back(*entry);
    FillList();
    SelectLine(m_list->count() - 1);
    RefreshFacts();
    RenderNow(m_context);
}

void CResumeDesignerDlg::InspectNode() {
    const int line = Selection();
    if (line < 0) {
        m_context.prompter.ShowMessage("Please select a node to inspect.",
                                       MessageIcon::Information);
        return;
    }
    const std::vector<StackEntry>& entries = m_context.tree.Stack(ChosenStack());
    if (static_cast<std::size_t>(line) >= entries.size()) {
        return;
    }
    const StackEntry entry = entries[static_cast<std::size_t>(line)];
    if (entry.kind == kKindResume) {
        InspectResume(line);
        return;
    }
    UndoScope step(m_context.history, std::string("Edit ") + KindName(entry.kind));
    if (!InspectNodeRecord(m_context, entry, this)) {
        return;
    }
    FillList();
    SelectLine(line);
    RefreshFacts();
    RenderNow(m_context);
}

void CResumeDesignerDlg::InspectResume(int line) {
    ResumeNode* resume = m_context.tree.resume.get();
    if (resume == nullptr) {
        return;
    }
    const int32_t renderer = resume->renderer;
    {
        CResumeSetupDlg dialog(m_context, this);
        dialog.exec();
    }
    // The dialog's style and character format editors store at once, so a cancelled dialog
    // may still have changed the resume: refresh and render whatever it returned.
    if (resume->renderer != renderer) {
        m_context.doc.SetRenderer(resume->renderer, false);
    }
    FillList();
    SelectLine(line);
    RefreshFacts();
    RenderNow(m_context);
}

void CResumeDesignerDlg::DeleteSelectedNode() {
    const int line = Selection();
    if (line < 0) {
        m_context.prompter.ShowMessage("Please select a node to delete.", MessageIcon::Information);
        return;
    }
    if (!m_context.prompter.AskYesNo(kDeleteQuestion)) {
        return;
    }
    const StackId stack = ChosenStack();
    const std::vector<StackEntry>& entries = m_context.tree.Stack(stack);
    if (static_cast<std::size_t>(line) >= entries.size()) {
        return;
    }
    const StackEntry entry = entries[static_cast<std::size_t>(line)];
    UndoScope step(m_context.history, "Delete Node");
    if (entry.kind == kKindResume) {
        m_context.prompter.ShowMessage("The resume node cannot be deleted.",
                                       MessageIcon::Information);
    } else {
        DeleteNode(m_context.tree, entry, stack, static_cast<std::size_t>(line));
    }
    FillList();
    SelectLine(line);
    RefreshFacts();
    RenderNow(m_context);
}

void CResumeDesignerDlg::MoveNode(MoveDirection direction) {
    const int line = Selection();
    if (line < 0) {
        m_context.prompter.ShowMessage("Please select a node to move.", MessageIcon::Information);
        return;
    }
    UndoScope step(m_context.history,
                   direction == MoveDirection::Up ? "Move Node Up" : "Move Node Down");
    MoveStackEntry(m_context.tree, m_context.prompter, static_cast<std::size_t>(line),
                   ChosenStack(), direction);
    FillList();
    // The selection follows the move, and takes the step even when the stack refused it.
    const int target = direction == MoveDirection::Up ? line - 1 : line + 1;
    SelectLine(target >= 0 && target < m_list->count() ? target : line);
    RefreshFacts();
    RenderNow(m_context);
}

void CResumeDesignerDlg::MakeNodeActive() {
    const int line = Selection();
    if (line < 0) {
        m_context.prompter.ShowMessage("Please select a node to make active.",
                                       MessageIcon::Information);
        return;
    }
    if (ChosenStack() == StackId::Active ||
        static_cast<std::size_t>(line) >= m_context.tree.inactiveStack.size()) {
        return;
    }
    UndoScope step(m_context.history, "Make Node Active");
    ActivateStackEntry(m_context.tree, static_cast<std::size_t>(line));
    FillList();
    SelectLine(line);
    RefreshFacts();
    RenderNow(m_context);
}

void CResumeDesignerDlg::MakeNodeInactive() {
    const int line = Selection();
    if (line < 0) {
        m_context.prompter.ShowMessage("Please select a node to make inactive.",
                                       MessageIcon::Information);
        return;
    }
    const std::vector<StackEntry>& active = m_context.tree.activeStack;
    if (ChosenStack() == StackId::Inactive || static_cast<std::size_t>(line) >= active.size() ||
        active[static_cast<std::size_t>(line)].kind == kKindResume) {
        return;
    }
    UndoScope step(m_context.history, "Make Node Inactive");
    DeactivateStackEntry(m_context.tree, static_cast<std::size_t>(line));
    FillList();
    SelectLine(line);
    RefreshFacts();
    RenderNow(m_context);
}

void CResumeDesignerDlg::DuplicateNode() {
    const int line = Selection();
    if (line < 0) {
        m_context.prompter.ShowMessage("Please select a node to duplicate.",
                                       MessageIcon::Information);
        return;
    }
    const StackId stack = ChosenStack();
    const std::vector<StackEntry>& entries = m_context.tree.Stack(stack);
    if (static_cast<std::size_t>(line) >= entries.size()) {
        return;
    }
    if (entries[static_cast<std::size_t>(line)].kind == kKindResume) {
        m_context.prompter.ShowMessage("The resume node cannot be duplicated.",
                                       MessageIcon::Information);
        return;
    }
    UndoScope step(m_context.history, "Duplicate Node");
    // An entry that points at no record (a damaged file) has nothing to copy.
    if (!DuplicateStackEntry(m_context.tree, stack, static_cast<std::size_t>(line))) {
        return;
    }
    FillList();
    SelectLine(line + 1);
    RefreshFacts();
    RenderNow(m_context);
}

} // namespace trellic

namespace trellic {

void CResumeDesignerDlg::MoveHeaderWithNodes(MoveDirection direction) {
    const int line = Selection();
    if (line < 0) {
        m_context.prompter.ShowMessage("Please select a node to move.", MessageIcon::Information);
        return;
    }
    const StackId stack = ChosenStack();
    if (!HeaderBlockAt(m_context.tree, stack, static_cast<std::size_t>(line))) {
        m_context.prompter.ShowMessage("Please select a header, or a node under one, to move the "
                                       "header with its nodes.",
                                       MessageIcon::Information);
        return;
    }
    UndoScope step(m_context.history, direction == MoveDirection::Up
                                          ? "Move Header and Its Nodes Up"
                                          : "Move Header and Its Nodes Down");
    const std::size_t moved =
        MoveHeaderBlock(m_context.tree, stack, static_cast<std::size_t>(line), direction);
    if (moved == static_cast<std::size_t>(line)) {
        return; // already first or last: nothing to render
    }
    FillList();
    SelectLine(static_cast<int>(moved));
    RefreshFacts();
    RenderNow(m_context);
}

void CResumeDesignerDlg::DropEntry(StackId from, int line, StackId to, int target) {
    const std::vector<StackEntry>& entries = m_context.tree.Stack(from);
    if (line < 0 || static_cast<std::size_t>(line) >= entries.size()) {
        return;
    }
    if (entries[static_cast<std::size_t>(line)].kind == kKindResume) {
        m_context.prompter.ShowMessage("The resume node cannot be moved.",
                                       MessageIcon::Information);
        return;
    }
    UndoScope step(m_context.history, "Move Node");
    const std::optional<std::size_t> placed =
        MoveStackEntryTo(m_context.tree, from, static_cast<std::size_t>(line), to,
                         target < 0 ? 0 : static_cast<std::size_t>(target));
    if (!placed) {
        return; // dropped where it was
    }
    if (ChosenStack() != to) {
        const QSignalBlocker blocker(m_stackChooser);
        m_stackChooser->setCurrentIndex(to == StackId::Active ? 0 : 1);
    }
    FillList();
    SelectLine(static_cast<int>(*placed));
    RefreshFacts();
    RenderNow(m_context);
}

bool CResumeDesignerDlg::ChooserDragEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto* enter = static_cast<QDragEnterEvent*>(event);
        if (!m_list->DraggedEntry(enter->mimeData())) {
            return false;
        }
        enter->acceptProposedAction();
        // Entering the chooser turns it to the other stack, whose list the drag can go on to.
        m_stackChooser->setCurrentIndex(ChosenStack() == StackId::Active ? 1 : 0);
        return true;
    }
    case QEvent::DragMove: {
        auto* move = static_cast<QDragMoveEvent*>(event);
        if (!m_list->DraggedEntry(move->mimeData())) {
            return false;
        }
        move->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const auto dragged = m_list->DraggedEntry(drop->mimeData());
        if (!dragged) {
            return false;
        }
        drop->acceptProposedAction();
        // Dropped on the chooser: at the end of the stack it shows, as Make Node Active does.
        const StackId to = ChosenStack();
        DropEntry(dragged->first, dragged->second, to,
                  static_cast<int>(m_context.tree.Stack(to).size()));
        return true;
    }
    default:
        return false;
    }
}

} // namespace trellic
