#pragma once

#include "editors/editor_dialog.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace trellic {

class CParagraphFormatSetupDlg;
class CPreviewLayer;

// Edits the component information of the resume's styles and opens one dialog per kind of node
// that inherits them. OK writes the information; the sub-dialogs and the presets write the style
// at once, so Cancel keeps what they did.
class CStylesSetupDlg : public CEditorDialog {
    Q_OBJECT

public:
    CStylesSetupDlg(EditorContext& context, StyleNode& style, QWidget* parent = nullptr);

    QLineEdit* AuthorEdit() const { return m_author; }
    QLineEdit* VersionEdit() const { return m_version; }
    QLineEdit* ReleaseDateEdit() const { return m_releaseDate; }
    QLineEdit* RenderCapabilitiesEdit() const { return m_capabilities; }
    QPlainTextEdit* DescriptionEdit() const { return m_description; }

protected:
    void OnOK() override;

private:
    void LoadControls();

    StyleNode& m_style;
    QLineEdit* m_author = nullptr;
    QLineEdit* m_version = nullptr;
    QLineEdit* m_releaseDate = nullptr;
    QLineEdit* m_capabilities = nullptr;
    QPlainTextEdit* m_description = nullptr;
};

// What the four style sub-dialogs share: a text style whose character and paragraph formats are
// edited at once, and Refresh Render, which stores the dialog's own option and renders. The
// subclass adds its option above these rows and says how it is stored.
class CStyleKindSetupDlg : public CEditorDialog {
    Q_OBJECT

protected:
    // Edits style.*textStyle and an option of style.
    CStyleKindSetupDlg(EditorContext& context, const QString& caption, StyleNode& style,
                       TextStyle StyleNode::*textStyle, QWidget* parent);

    // Adds the "Input Nodes:" and "Commands:" rows below the subclass's own row.
    void AddStyleRows();
    // Writes the dialog's option (underline or bullet) into the style.
    virtual void StoreOption() = 0;
    // Writes the option as the controls show it into a copy of the style, for the preview.
    virtual void PreviewOption(StyleNode& copy) const = 0;
    void OnOK() override;

    StyleNode& m_style;
    TextStyle& m_textStyle;

private:
    void RefreshRender();
    void PreviewInto(NodeTree& copy) const;

    TextStyle StyleNode::*m_textStyleMember;
    // While open, its pending values are part of this dialog's.
    CParagraphFormatSetupDlg* m_paragraphDialog = nullptr;
    CPreviewLayer* m_preview = nullptr;
};

// Header Styles: the header text style and whether headers are underlined.
class CHeaderStylesSetupDlg : public CStyleKindSetupDlg {
    Q_OBJECT

public:
    CHeaderStylesSetupDlg(EditorContext& context, StyleNode& style, QWidget* parent = nullptr);

    QCheckBox* Underline() const { return m_underline; }

protected:
    void StoreOption() override;
    void PreviewOption(StyleNode& copy) const override;

private:
    void LoadControls();

    bool& m_headerUnderline;
    QCheckBox* m_underline = nullptr;
};

// The three kinds of node that carry a bullet beside their text style.
enum class BulletStyleKind { ResumeSection, SLField, MLField };

// Resume Section Styles, Single Line Field Styles and Multiple Line Field Styles: one text style
// and one bullet each, alike apart from caption, fields and preset folder.
class CBulletStylesSetupDlg : public CStyleKindSetupDlg {
    Q_OBJECT

public:
    CBulletStylesSetupDlg(EditorContext& context, StyleNode& style, BulletStyleKind kind,
                          QWidget* parent = nullptr);

    QComboBox* BulletStyle() const { return m_bulletBox; }

protected:
    void StoreOption() override;
    void PreviewOption(StyleNode& copy) const override;

private:
    void LoadControls();

    BulletStyleKind m_kind;
    PresetCategory m_category;
    int32_t& m_bullet;
    QComboBox* m_bulletBox = nullptr;
};

// The controls the node and style dialogs lay out alike: a push button of the classic 100 dialog
// units, and a description box in which Enter starts a new line and Tab moves on.
QPushButton* NewCommandButton(const QString& text, const char* objectName);
QPlainTextEdit* NewDescriptionEdit();

} // namespace trellic
