#pragma once

#include "editors/editor_context.h"
#include "model/node_tree.h"

#include <QDialog>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace trellic {

// A guided walk through the active nodes: the selected node's text in an editable pane, with
// its name above it where the name is not the text itself, beside its help (or a short advice
// for a node without). What the user types reaches the node, and the resume is re-rendered,
// when another node is selected, when the resume is saved from here and when the window closes.
class CResumeExplorerDlg : public QDialog {
    Q_OBJECT

public:
    explicit CResumeExplorerDlg(EditorContext& context, QWidget* parent = nullptr);
    ~CResumeExplorerDlg() override;

    QListWidget* NodeList() const { return m_list; }
    QPlainTextEdit* ContentPane() const { return m_content; }
    // The node's name, for the kinds whose name is not what the content pane edits.
    QLineEdit* TitleEdit() const { return m_title; }
    QLabel* ContentLabel() const { return m_contentLabel; }
    QLabel* TitleLabel() const { return m_titleLabel; }
    QPlainTextEdit* HelpPane() const { return m_help; }
    QPushButton* MoreHelpButton() const { return m_moreHelp; }
    QPushButton* SaveResumeButton() const { return m_save; }

    // Every way out (Esc, the close box, a save that leaves the nodes) ends here.
    void done(int result) override;

protected:
    // Tab leaves the content pane as in any other field; Ctrl+Tab types a tab there.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildList();
    // The selected line, or -1.
    int Selection() const;
    // Selects a line without the effects of the user's selecting it.
    void SelectLine(int line);
    void ShowNode(int line);
    void StoreBack();
    // Stores the pending edit and, when it changed the node, renders it.
    void StorePending();
    void OnSelectionChanged();
    void OnMoreHelp();
    void OnSaveResume();

    EditorContext& m_context;
    // One entry per list line, in line order.
    std::vector<StackEntry> m_nodes;
    // The line whose node the panes show; -1 before any is shown.
    int m_shown = -1;
    bool m_changed = false;

    QListWidget* m_list = nullptr;
    QLabel* m_titleLabel = nullptr;
    QLineEdit* m_title = nullptr;
    QLabel* m_contentLabel = nullptr;
    QPlainTextEdit* m_content = nullptr;
    QPlainTextEdit* m_help = nullptr;
    QPushButton* m_moreHelp = nullptr;
    QPushButton* m_save = nullptr;
};

} // namespace trellic
