#pragma once

#include "engine/progress.h"

#include <QString>
#include <memory>

class QProgressDialog;
class QWidget;

namespace trellic {

// The progress of a long operation (opening a large file) in a window with a Cancel button.
// The window appears only when the operation goes on for more than a moment, and keeps the
// program answering while it is shown.
class CProgressDlg : public ProgressPort {
public:
    CProgressDlg(QWidget* parent, QString label);
    ~CProgressDlg() override;
    CProgressDlg(const CProgressDlg&) = delete;
    CProgressDlg& operator=(const CProgressDlg&) = delete;

    bool Report(uint64_t done, uint64_t total) override;
    // Closes the window; the next report starts a new operation.
    void Finished() override;

    // The window, for tests; null until the first report.
    QProgressDialog* Window() const { return m_window.get(); }
    // How long an operation runs before the window appears.
    static constexpr int kDelayMilliseconds = 700;

private:
    QWidget* m_parent;
    QString m_label;
    std::unique_ptr<QProgressDialog> m_window;
};

} // namespace trellic
