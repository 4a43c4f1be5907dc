#pragma once

#include "editors/editor_dialog.h"
#include "model/node_tree.h"
#include "render/live_preview.h"

#include <QString>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QTabWidget;

namespace trellic {

class CParagraphFormatSetupDlg;
class CPreviewLayer;

// Runs the dialog of the entry's kind on its record (any kind but the resume, which has the
// Resume dialog). True when the user pressed OK and the record was stored; Cancel leaves the
// record as it was. Nothing is rendered here.
bool InspectNodeRecord(EditorContext& context, const StackEntry& entry, QWidget* parent);

// Runs the dialog of a kind (not the resume) on a fresh record. On OK the record is appended to
// its kind's table and its entry (not yet in any stack) returned; on Cancel nothing is created.
// While the dialog is open, the preview shows the node at the end of stack.
std::optional<StackEntry> CreateNodeRecord(EditorContext& context, NodeKind kind, QWidget* parent,
                                           StackId stack = StackId::Active);

// The frame of every node dialog: pages for the node's texts, its style, its help and its
// component information, over a working copy of the record that the subclass owns. The
// character format editor, the Paragraph Format dialog and the presets act on that copy at
// once; OK fills it from the controls, and only the caller copies it back into the tree.
class CNodeSetupDlg : public CEditorDialog {
    Q_OBJECT

public:
    QTabWidget* Pages() const { return m_pages; }
    // Shows the dialog's pending values in the view as they change; layer puts them into the
    // resume's copy.
    void AttachPreview(LivePreview::Layer layer);

protected:
    // What a kind's dialog edits: pointers into the working copy, null for what the kind lacks,
    // and the texts that name them.
    struct Parts {
        std::string* displayText = nullptr;
        QString displayLabel;            // "Header:"
        const char* missingWhat = "";    // "a header", for the refusal of an empty display text
        std::string* lineData = nullptr; // a single line field's data
        NodeText* nodeText = nullptr;
        QString nodeTextLabel; // "Section Data:"
        bool* useFormatting = nullptr;
        QString useFormattingNote;
        bool* inheritStyle = nullptr;
        QString inheritedStyle; // what the resume gives in its place: "header style and underline"
        TextStyle* style = nullptr;       // edited through the character format editor
        ParaFormat* paraFormat = nullptr; // edited through the Paragraph Format dialog
        bool* underline = nullptr;
        int32_t* bullet = nullptr;
        std::optional<PresetCategory> presetCategory;
        NodeHelp* help = nullptr;
        NodeInfo* info = nullptr;
    };

    CNodeSetupDlg(EditorContext& context, const QString& caption, QWidget* parent);
    // Builds the pages over parts; subclasses call it once their working copy exists.
    void Build(const Parts& parts);
    void OnOK() override;
    // The working copy as OK would leave it, with an open Paragraph Format dialog's values; the
    // working copy itself stays as it is.
    template <typename Record> Record Pending(Record& workingCopy) {
        const Record kept = workingCopy;
        WriteControls();
        Record pending = workingCopy;
        workingCopy = kept;
        return pending;
    }

private:
    QWidget* BuildNodePage();
    QWidget* BuildStylePage();
    QWidget* BuildHelpPage();
    QWidget* BuildInformationPage();
    void LoadControls();
    // Writes the controls into the working copy as OK does, without checking them or changing
    // what they show.
    void WriteControls();
    // The style controls hold the underline and the bullet; the presets need them in the copy.
    void LoadStyleControls();
    void StoreStyleControls();
    void ShowStyleState();
    void EditCharacterFormat();
    void EditParagraphFormat();
    PresetParts CurrentPresetParts();

    Parts m_parts;
    std::vector<QWidget*> m_tabChain;
    QTabWidget* m_pages = nullptr;
    QLineEdit* m_displayText = nullptr;
    QLineEdit* m_lineData = nullptr;
    QPlainTextEdit* m_nodeText = nullptr;
    QSpinBox* m_spacing = nullptr;
    QCheckBox* m_useFormatting = nullptr;
    QCheckBox* m_inheritStyle = nullptr;
    QGroupBox* m_ownStyle = nullptr;
    QCheckBox* m_underline = nullptr;
    QComboBox* m_bullet = nullptr;
    QLabel* m_styleSummary = nullptr;
    QPlainTextEdit* m_helpText = nullptr;
    QLineEdit* m_helpAddress = nullptr;
    QLineEdit* m_author = nullptr;
    QLineEdit* m_version = nullptr;
    QLineEdit* m_releaseDate = nullptr;
    QLineEdit* m_renderCapabilities = nullptr;
    QPlainTextEdit* m_infoDescription = nullptr;
    // While open, its pending values are part of this dialog's.
    CParagraphFormatSetupDlg* m_paragraphDialog = nullptr;
    CPreviewLayer* m_preview = nullptr;
};

class CHeaderSetupDlg : public CNodeSetupDlg {
    Q_OBJECT

public:
    CHeaderSetupDlg(EditorContext& context, const HeaderNode& record, QWidget* parent = nullptr);
    const HeaderNode& Record() const { return m_record; }
    HeaderNode PendingRecord() { return Pending(m_record); }

private:
    HeaderNode m_record;
};

class CResumeSectionSetupDlg : public CNodeSetupDlg {
    Q_OBJECT

public:
    CResumeSectionSetupDlg(EditorContext& context, const ResumeSectionNode& record,
                           QWidget* parent = nullptr);
    const ResumeSectionNode& Record() const { return m_record; }
    ResumeSectionNode PendingRecord() { return Pending(m_record); }

private:
    ResumeSectionNode m_record;
};

class CSLFieldSetupDlg : public CNodeSetupDlg {
    Q_OBJECT

public:
    CSLFieldSetupDlg(EditorContext& context, const SLFieldNode& record, QWidget* parent = nullptr);
    const SLFieldNode& Record() const { return m_record; }
    SLFieldNode PendingRecord() { return Pending(m_record); }

private:
    SLFieldNode m_record;
};

class CMLFieldSetupDlg : public CNodeSetupDlg {
    Q_OBJECT

public:
    CMLFieldSetupDlg(EditorContext& context, const MLFieldNode& record, QWidget* parent = nullptr);
    const MLFieldNode& Record() const { return m_record; }
    MLFieldNode PendingRecord() { return Pending(m_record); }

private:
    MLFieldNode m_record;
};

class CRTFOutputSetupDlg : public CNodeSetupDlg {
    Q_OBJECT

public:
    CRTFOutputSetupDlg(EditorContext& context, const RTFOutputNode& record,
                       QWidget* parent = nullptr);
    const RTFOutputNode& Record() const { return m_record; }
    RTFOutputNode PendingRecord() { return Pending(m_record); }

private:
    RTFOutputNode m_record;
};

class CTXTOutputSetupDlg : public CNodeSetupDlg {
    Q_OBJECT

public:
    CTXTOutputSetupDlg(EditorContext& context, const TXTOutputNode& record,
                       QWidget* parent = nullptr);
    const TXTOutputNode& Record() const { return m_record; }
    TXTOutputNode PendingRecord() { return Pending(m_record); }

private:
    TXTOutputNode m_record;
};

} // namespace trellic
