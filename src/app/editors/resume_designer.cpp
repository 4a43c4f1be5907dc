#include "editors/resume_designer.h"

namespace trellic {

CResumeDesignerDlg::CResumeDesignerDlg(EditorContext& context, QWidget* parent) : QDialog(parent), m_context(context) {
    setWindowTitle(tr("Resume Designer"));
}

} // namespace trellic
