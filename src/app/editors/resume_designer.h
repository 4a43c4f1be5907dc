#pragma once

#include "editors/editor_context.h"

#include <QDialog>

namespace trellic {

// PLACEHOLDER: being written.
class CResumeDesignerDlg : public QDialog {
    Q_OBJECT

public:
    explicit CResumeDesignerDlg(EditorContext& context, QWidget* parent = nullptr);

private:
    EditorContext& m_context;
};

} // namespace trellic
