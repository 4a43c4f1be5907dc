#include "editors/resume_setup_dlg.h"

namespace trellic {

CResumeSetupDlg::CResumeSetupDlg(EditorContext& context, QWidget* parent)
    : CEditorDialog(context, tr("Resume"), parent) {}

} // namespace trellic
