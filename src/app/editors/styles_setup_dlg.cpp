#include "editors/styles_setup_dlg.h"

namespace trellic {

CStylesSetupDlg::CStylesSetupDlg(EditorContext& context, StyleNode& style, QWidget* parent)
    : CEditorDialog(context, tr("Style"), parent), m_style(style) {}

} // namespace trellic
