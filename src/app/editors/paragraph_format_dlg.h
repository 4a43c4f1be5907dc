#pragma once

#include "editors/editor_dialog.h"

class QComboBox;
class QLineEdit;
class QSlider;

namespace trellic {

// Edits one ParaFormat: alignment, list numbering, line spacing and indentation, with the
// "paragraph_format" presets. OK writes the controls into the record; the preset commands write
// it at once.
class CParagraphFormatSetupDlg : public CEditorDialog {
    Q_OBJECT

public:
    CParagraphFormatSetupDlg(EditorContext& context, ParaFormat& format, QWidget* parent = nullptr);

    QComboBox* Alignment() const { return m_alignment; }
    QComboBox* BulletStyle() const { return m_bullet; }
    QComboBox* LineSpacing() const { return m_lineSpacing; }
    QLineEdit* Indentation() const { return m_indent; }
    QSlider* IndentSlider() const { return m_slider; }

    // Writes what OK would store into target, leaving the controls and the edited record as
    // they are: the live preview of an open dialog.
    void ApplyPending(ParaFormat& target) const;

    // The list position of an alignment code (1 left, 2 right, 3 centred, 4 justified), -1 for
    // any other; and the code of a position.
    static int AlignmentPosition(int16_t alignment);
    static int16_t AlignmentCode(int position);

protected:
    void OnOK() override;

private:
    void LoadControls();

    ParaFormat& m_format;
    QComboBox* m_alignment = nullptr;
    QComboBox* m_bullet = nullptr;
    QComboBox* m_lineSpacing = nullptr;
    QLineEdit* m_indent = nullptr;
    QSlider* m_slider = nullptr;
};

} // namespace trellic
