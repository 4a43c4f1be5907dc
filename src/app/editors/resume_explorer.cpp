#include "editors/resume_explorer.h"

namespace trellic {

CResumeExplorerDlg::CResumeExplorerDlg(EditorContext& context, QWidget* parent) : QDialog(parent), m_context(context) {
    setWindowTitle(tr("Resume Explorer"));
}

} // namespace trellic
