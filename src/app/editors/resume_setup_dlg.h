#pragma once

#include "editors/editor_dialog.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace trellic {

class CPreviewLayer;

// Edits the resume record itself: its name, description and renderer, its default character
// format and, through the Style dialog, its styles. OK writes the name, description and renderer;
// the character format editor, the Style dialog and the presets write the record at once, so
// Cancel keeps what they did.
class CResumeSetupDlg : public CEditorDialog {
    Q_OBJECT

public:
    explicit CResumeSetupDlg(EditorContext& context, QWidget* parent = nullptr);

    QLineEdit* NameEdit() const { return m_name; }
    QPlainTextEdit* DescriptionEdit() const { return m_description; }
    QRadioButton* RtfButton() const { return m_rtf; }
    QRadioButton* TxtButton() const { return m_txt; }

protected:
    void OnOK() override;

private:
    // The record lives in the tree, which owns it; the dialog keeps no copy.
    ResumeNode& Resume() const;
    void LoadControls();
    void EditDefaultCharFormat();
    void EditStyle();

    QLineEdit* m_name = nullptr;
    QPlainTextEdit* m_description = nullptr;
    QRadioButton* m_rtf = nullptr;
    QRadioButton* m_txt = nullptr;
    QPushButton* m_defaultCharFormat = nullptr;
    QPushButton* m_style = nullptr;
    CPreviewLayer* m_preview = nullptr;
};

} // namespace trellic
