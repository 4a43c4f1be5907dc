#pragma once

#include "editors/editor_dialog.h"

namespace trellic {

// PLACEHOLDER: being written. Edits context.tree.resume.
class CResumeSetupDlg : public CEditorDialog {
    Q_OBJECT

public:
    explicit CResumeSetupDlg(EditorContext& context, QWidget* parent = nullptr);
};

} // namespace trellic
