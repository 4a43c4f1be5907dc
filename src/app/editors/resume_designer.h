#pragma once

#include "editors/editor_context.h"
#include "editors/node_stack_list.h"
#include "model/node_tree.h"

#include <QChar>
#include <QDialog>
#include <functional>
#include <utility>
#include <vector>

class QAction;
class QComboBox;
class QKeyEvent;
class QKeySequence;
class QLineEdit;
class QMenu;
class QPlainTextEdit;

namespace trellic {

// The window in which the user arranges the node tree: one stack listed at a time, facts about
// the selected node, and the commands that create, inspect, delete, reorder, activate,
// deactivate and duplicate nodes, move a header with the nodes under it, and drop a dragged
// line anywhere in either stack. Every command works on the tree at once and re-renders the
// resume, so the window has no OK or Cancel of its own.
class CResumeDesignerDlg : public QDialog {
    Q_OBJECT

public:
    explicit CResumeDesignerDlg(EditorContext& context, QWidget* parent = nullptr);
    ~CResumeDesignerDlg() override;

    QComboBox* StackChooser() const { return m_stackChooser; }
    CNodeStackList* NodeList() const { return m_list; }
    QLineEdit* NodeTypeField() const { return m_nodeType; }
    QLineEdit* StackTypeField() const { return m_stackType; }
    QLineEdit* NodeLocationField() const { return m_nodeLocation; }
    QLineEdit* StackLocationField() const { return m_stackLocation; }
    QPlainTextEdit* DescriptionField() const { return m_description; }

protected:
    // The command keys reach the designer before any of its controls, whichever has the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A menu item whose key is shown beside it but handled by the key filter, not by a shortcut
    // that would compete with it.
    QAction* AddCommand(QMenu* menu, const QString& text, const QKeySequence& key, const char* name,
                        std::function<void()> run);
    bool RunKeyCommand(const QKeyEvent& key);

    StackId ChosenStack();
    // The selected line, or -1.
    int Selection() const;
    void FillList();
    // Selects the line, or the last one when the list is shorter; nothing in an empty list.
    // Programmatic selections do not refresh the fields: each command decides that itself.
    void SelectLine(int line);
    void RefreshFields();
    // After a command: the facts of the selected line, or none when nothing is selected.
    void RefreshFacts();
    void ShowStack();
    // The list wide enough for the longest name of either stack.
    void FitListToNames();
    // A drag over the stack chooser shows the other stack; a drop on it goes to that stack's end.
    bool ChooserDragEvent(QEvent* event);

    void CreateNode(NodeKind kind);
    void InspectNode();
    // The resume's line stays selected, with its facts as the dialog left them.
    void InspectResume(int line);
    void DeleteSelectedNode();
    void MoveNode(MoveDirection direction);
    void MakeNodeActive();
    void MakeNodeInactive();
    void DuplicateNode();
    void MoveHeaderWithNodes(MoveDirection direction);
    void DropEntry(StackId from, int line, StackId to, int target);

    EditorContext& m_context;
    QComboBox* m_stackChooser = nullptr;
    CNodeStackList* m_list = nullptr;
    QLineEdit* m_nodeType = nullptr;
    QLineEdit* m_stackType = nullptr;
    QLineEdit* m_nodeLocation = nullptr;
    QLineEdit* m_stackLocation = nullptr;
    QPlainTextEdit* m_description = nullptr;

    QAction* m_inspect = nullptr;
    QAction* m_delete = nullptr;
    QAction* m_headerUp = nullptr;
    QAction* m_headerDown = nullptr;
    // Typed characters (lower case) and the commands they run.
    std::vector<std::pair<QChar, QAction*>> m_characterKeys;
};

} // namespace trellic
