#include "editors/resume_explorer.h"

#include "document/tlx_doc.h"
#include "document/undo_history.h"
#include "editors/editor_text.h"
#include "engine/prompter.h"
#include "model/node_content.h"
#include "spelling/spell_checking.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace trellic {

namespace {

constexpr const char* kNoMoreHelp = "There is no additional help available.";

} // namespace

CResumeExplorerDlg::CResumeExplorerDlg(EditorContext& context, QWidget* parent)
    : QDialog(parent), m_context(context) {
    setWindowTitle(tr("Resume Explorer"));
    setObjectName(QStringLiteral("resumeExplorer"));

    m_list = new QListWidget;
    m_list->setObjectName(QStringLiteral("nodeList"));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_content = new QPlainTextEdit;
    m_content->setObjectName(QStringLiteral("contentPane"));
    m_content->setLineWrapMode(QPlainTextEdit::NoWrap);
    EnableSpellChecking(m_content);
    m_help = new QPlainTextEdit;
    m_help->setObjectName(QStringLiteral("helpPane"));
    m_help->setReadOnly(true);
    m_help->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_moreHelp = new QPushButton(tr("More Help..."));
    m_moreHelp->setObjectName(QStringLiteral("moreHelp"));
    m_save = new QPushButton(tr("Save Resume"));
    m_save->setObjectName(QStringLiteral("saveResume"));
    m_save->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_moreHelp, 1);
    buttons->addWidget(m_save, 1);
    auto* right = new QVBoxLayout;
    // The content pane keeps about two fifths of the height as the window grows.
    right->addWidget(m_content, 85);
    right->addWidget(m_help, 121);
    right->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 113);
    layout->addLayout(right, 205);

    QWidget::setTabOrder(m_list, m_content);
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
        const NodeHelp* help = NodeHelpOf(m_context.tree, entry);
        if (help == nullptr || help->helpText.empty()) {
            continue;
        }
        m_nodes.push_back(entry);
        m_list->addItem(FromEngineText(NodeDisplayName(m_context.tree, entry)));
    }
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
    m_content->setPlainText(FromNodeText(NodeContent(m_context.tree, entry)));
    m_content->document()->setModified(false);
    m_help->setPlainText(help != nullptr ? FromNodeText(help->helpText) : QString());
}

void CResumeExplorerDlg::StoreBack() {
    if (m_shown < 0 || static_cast<std::size_t>(m_shown) >= m_nodes.size() ||
        !m_content->document()->isModified()) {
        return;
    }
    const StackEntry& entry = m_nodes[static_cast<std::size_t>(m_shown)];
    UndoScope step(m_context.history, std::string("Edit ") + KindName(entry.kind));
    const QString text = m_content->toPlainText();
    const TypedContent typed{ToNodeText(text),
                             ToEngineText(text.section(QLatin1Char('\n'), 0, 0).trimmed())};
    if (StoreNodeContent(m_context.tree, entry, typed)) {
        m_changed = true;
    }
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
