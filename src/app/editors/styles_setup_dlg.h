#pragma once

#include "editors/editor_dialog.h"

namespace trellic {

// PLACEHOLDER: being written. Edits the resume's StyleNode.
class CStylesSetupDlg : public CEditorDialog {
    Q_OBJECT

public:
    CStylesSetupDlg(EditorContext& context, StyleNode& style, QWidget* parent = nullptr);

private:
    StyleNode& m_style;
};

} // namespace trellic
