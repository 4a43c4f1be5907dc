#include "shell/progress_window.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <utility>

namespace trellic {

namespace {

// QProgressDialog counts in int; the units of a step go in this many parts.
constexpr int kSteps = 1000;

} // namespace

CProgressDlg::CProgressDlg(QWidget* parent, QString label)
    : m_parent(parent), m_label(std::move(label)) {}

CProgressDlg::~CProgressDlg() = default;

bool CProgressDlg::Report(uint64_t done, uint64_t total) {
    if (!m_window) {
        m_window =
            std::make_unique<QProgressDialog>(m_label, QObject::tr("Cancel"), 0, kSteps, m_parent);
        m_window->setWindowTitle(QCoreApplication::applicationName());
        m_window->setWindowModality(Qt::WindowModal);
        m_window->setMinimumDuration(kDelayMilliseconds);
        m_window->setAutoReset(false);
        m_window->setAutoClose(false);
        m_window->setValue(0);
    }
    const int value = total == 0 ? kSteps : static_cast<int>(done * kSteps / total);
    // Each step of an operation (reading, then rendering) runs the bar anew.
    if (value < m_window->value()) {
        m_window->setValue(0);
    }
    m_window->setValue(value);
    // The Cancel button, and the window itself, need their events while the work goes on.
    QCoreApplication::processEvents();
    return !m_window->wasCanceled();
}

void CProgressDlg::Finished() {
    m_window.reset();
}

} // namespace trellic
