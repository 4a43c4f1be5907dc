#include "editors/resume_explorer.h"

#include "document/tlx_doc.h"
#include "document/undo_history.h"
#include "editors/editor_text.h"
#include "engine/prompter.h"
#include "model/node_content.h"
#include "presets/node_description.h"
#include "spelling/spell_checking.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

namespace trellic {

namespace {

constexpr const char* kNoMoreHelp = "There is no additional help available.";

// What the two fields of a kind edit, so that the help above them is read against the right one.
struct PaneLabels {
    const char* title; // null: the name is the content itself
    const char* content;
};

PaneLabels LabelsOf(int32_t kind) {
    switch (kind) {
    case kKindHeader:
        return {nullptr, QT_TRANSLATE_NOOP("CResumeExplorerDlg", "&Header:")};
    case kKindResumeSection:
        return {QT_TRANSLATE_NOOP("CResumeExplorerDlg", "Section &Title:"),
                QT_TRANSLATE_NOOP("CResumeExplorerDlg", "Section &Data:")};
    case kKindSLField:
    case kKindMLField:
        return {QT_TRANSLATE_NOOP("CResumeExplorerDlg", "Field &Name:"),
                QT_TRANSLATE_NOOP("CResumeExplorerDlg", "Field &Data:")};
    default:
        return {QT_TRANSLATE_NOOP("CResumeExplorerDlg", "&Name:"),
                QT_TRANSLATE_NOOP("CResumeExplorerDlg", "&Output:")};
    }
}

} // namespace

CResumeExplorerDlg::CResumeExplorerDlg(EditorContext& context, QWidget* parent)
    : QDialog(parent), m_context(context) {
    setWindowTitle(tr("Resume Explorer"));
    setObjectName(QStringLiteral("resumeExplorer"));

    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("nodeList"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_title = new QLineEdit;
    m_title->setObjectName(QStringLiteral("titleEdit"));
    EnableSpellChecking(m_title);
    m_titleLabel = new QLabel;
    m_titleLabel->setObjectName(QStringLiteral("titleLabel"));
    m_titleLabel->setBuddy(m_title);
    m_content = new QPlainTextEdit;
    m_content->setObjectName(QStringLiteral("contentPane"));
    m_content->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_content->setTabChangesFocus(true);
    m_content->installEventFilter(this);
    EnableSpellChecking(m_content);
    m_contentLabel = new QLabel(tr("&Text:"));
    m_contentLabel->setObjectName(QStringLiteral("contentLabel"));
    m_contentLabel->setBuddy(m_content);
    m_help = new QPlainTextEdit;
    m_help->setObjectName(QStringLiteral("helpPane"));
    m_help->setReadOnly(true);
    m_help->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* helpLabel = new QLabel(tr("He&lp:"));
    helpLabel->setObjectName(QStringLiteral("helpLabel"));
    helpLabel->setBuddy(m_help);
    m_moreHelp = new QPushButton(tr("More Help..."));
    m_moreHelp->setObjectName(QStringLiteral("moreHelp"));
    m_save = new QPushButton(tr("Save Resume"));
    m_save->setObjectName(QStringLiteral("saveResume"));
    m_save->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_moreHelp, 1);
    buttons->addWidget(m_save, 1);
    auto* title = new QHBoxLayout;
    title->addWidget(m_titleLabel);
    title->addWidget(m_title, 1);
    auto* right = new QVBoxLayout;
    right->addLayout(title);
    right->addWidget(m_contentLabel);
    // The content pane keeps about two fifths of the height as the window grows.
    right->addWidget(m_content, 85);
    right->addWidget(helpLabel);
    right->addWidget(m_help, 121);
    right->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 113);
    layout->addLayout(right, 205);

    QWidget::setTabOrder(m_list, m_title);
    QWidget::setTabOrder(m_title, m_content);
    QWidget::setTabOrder(m_content, m_help);
    QWidget::setTabOrder(m_help, m_moreHelp);
    QWidget::setTabOrder(m_moreHelp, m_save);

    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] { OnSelectionChanged(); });
    connect(m_moreHelp, &QPushButton::clicked, this, [this] { OnMoreHelp(); });
    connect(m_save, &QPushButton::clicked, this, [this] { OnSaveResume(); });

    BuildList();
    if (!m_nodes.empty()) {
        SelectLine(0);
        ShowNode(0);
    } else {
        m_titleLabel->hide();
        m_title->hide();
    }

    const QFontMetrics metrics = fontMetrics();
    resize(333 * metrics.averageCharWidth() / 4, 246 * metrics.height() / 8);
}

CResumeExplorerDlg::~CResumeExplorerDlg() {
    // Tearing the list down must not pass for the user's choosing another line: the pending
    // edit was stored when the window closed, and the tree may have moved on since.
    disconnect(m_list, nullptr, this, nullptr);
}

void CResumeExplorerDlg::BuildList() {
    const QSignalBlocker blocker(m_list);
    m_nodes.clear();
    m_list->clear();
    for (const StackEntry& entry : m_context.tree.activeStack) {
        // A node without help of its own is listed too: the pane is still the easiest way to
        // fill it in, and a short advice stands in for its help.
        if (NodeHelpOf(m_context.tree, entry) == nullptr) {
            continue;
        }
        m_nodes.push_back(entry);
        auto* item = new QListWidgetItem(FromEngineText(NodeDisplayName(m_context.tree, entry)));
        item->setToolTip(item->text());
        m_list->addItem(item);
    }
    // Wide enough for the longest name, short of pushing the window off a small screen.
    int widest = 0;
    for (int line = 0; line < m_list->count(); ++line) {
        widest =
            std::max(widest, m_list->fontMetrics().horizontalAdvance(m_list->item(line)->text()));
    }
    const int chrome = 2 * m_list->frameWidth() + m_list->verticalScrollBar()->sizeHint().width() +
                       m_list->fontMetrics().averageCharWidth() * 2;
    const QScreen* screen = this->screen();
    const int most = screen ? screen->availableGeometry().width() / 3 : 600;
    m_list->setMinimumWidth(std::min(widest + chrome, most));
}

int CResumeExplorerDlg::Selection() const {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.front());
}

void CResumeExplorerDlg::SelectLine(int line) {
    const QSignalBlocker blocker(m_list);
    m_list->setCurrentRow(line);
}

void CResumeExplorerDlg::ShowNode(int line) {
    m_shown = line;
    const StackEntry& entry = m_nodes[static_cast<std::size_t>(line)];
    const NodeHelp* help = NodeHelpOf(m_context.tree, entry);
    const PaneLabels labels = LabelsOf(entry.kind);
    m_titleLabel->setVisible(labels.title != nullptr);
    m_title->setVisible(labels.title != nullptr);
    if (labels.title != nullptr) {
        m_titleLabel->setText(tr(labels.title));
        m_title->setText(FromEngineText(NodeDisplayName(m_context.tree, entry)));
    }
    m_contentLabel->setText(tr(labels.content));
    m_content->setPlainText(FromNodeText(NodeContent(m_context.tree, entry)));
    m_content->document()->setModified(false);
    if (help != nullptr && !help->helpText.empty()) {
        m_help->setPlainText(FromNodeText(help->helpText));
    } else {
        m_help->setPlainText(FromNodeText(GenericNodeAdvice(entry.kind)));
    }
}

void CResumeExplorerDlg::StoreBack() {
    const bool content = m_content->document()->isModified();
    const bool title = !m_title->isHidden() && m_title->isModified();
    if (m_shown < 0 || static_cast<std::size_t>(m_shown) >= m_nodes.size() ||
        (!content && !title)) {
        return;
    }
    const StackEntry& entry = m_nodes[static_cast<std::size_t>(m_shown)];
    UndoScope step(m_context.history, std::string("Edit ") + KindName(entry.kind));
    const QString text = m_content->toPlainText();
    const TypedContent typed{ToNodeText(text),
                             ToEngineText(text.section(QLatin1Char('\n'), 0, 0).trimmed())};
    if (content && StoreNodeContent(m_context.tree, entry, typed)) {
        m_changed = true;
    }
    // A node cannot do without its name: an emptied one is kept as it was, as a header's is.
    const QString name = m_title->text().trimmed();
    if (title && !name.isEmpty() && SetNodeDisplayName(m_context.tree, entry, ToEngineText(name))) {
        m_changed = true;
    }
}

bool CResumeExplorerDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_content && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier) {
            m_content->insertPlainText(QStringLiteral("\t"));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CResumeExplorerDlg::OnSelectionChanged() {
    const int line = Selection();
    if (line < 0) {
        // A click beside the lines must not leave the panes without their node: the list keeps
        // the shown line selected, as a list box does.
        if (m_shown >= 0 && m_shown < m_list->count()) {
            SelectLine(m_shown);
        }
        return;
    }
    m_changed = false;
    StoreBack();
    ShowNode(line);
    if (m_changed) {
        // The stored text may be the line's own name (a header's), so the lines are rebuilt.
        BuildList();
        SelectLine(line);
        RenderNow(m_context);
    }
}

void CResumeExplorerDlg::OnMoreHelp() {
    const int line = Selection();
    if (line < 0) {
        if (m_list->count() > 0) {
            m_list->setCurrentRow(0);
        } else {
            m_context.prompter.ShowMessage(kNoMoreHelp, MessageIcon::Information);
        }
        return;
    }
    const NodeHelp* help = NodeHelpOf(m_context.tree, m_nodes[static_cast<std::size_t>(line)]);
    if (help == nullptr || help->helpURL.empty()) {
        m_context.prompter.ShowMessage(kNoMoreHelp, MessageIcon::Information);
        return;
    }
    m_context.prompter.OpenAddress(help->helpURL);
}

void CResumeExplorerDlg::StorePending() {
    // Saved as rich or plain text, the resume no longer has the nodes the pane belongs to.
    if (m_context.tree.dataSource != kDataSourceNodes) {
        return;
    }
    m_changed = false;
    StoreBack();
    if (m_changed) {
        m_content->document()->setModified(false);
        m_title->setModified(false);
        const int line = m_shown;
        BuildList();
        SelectLine(line);
        RenderNow(m_context);
    }
}

void CResumeExplorerDlg::done(int result) {
    StorePending();
    QDialog::done(result);
}

void CResumeExplorerDlg::OnSaveResume() {
    // What is in the pane is part of what the user asks to save.
    StorePending();
    m_context.doc.SaveResume(false);
    // Saved as rich or plain text, the resume has left the nodes this window works on.
    if (m_context.tree.dataSource != kDataSourceNodes) {
        reject();
    }
}

} // namespace trellic
