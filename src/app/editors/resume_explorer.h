#pragma once

#include "editors/editor_context.h"

#include <QDialog>

namespace trellic {

// PLACEHOLDER: being written.
class CResumeExplorerDlg : public QDialog {
    Q_OBJECT

public:
    explicit CResumeExplorerDlg(EditorContext& context, QWidget* parent = nullptr);

private:
    EditorContext& m_context;
};

} // namespace trellic
