#include "editors/preview_layer.h"

#include <QDialog>
#include <QTimer>

namespace trellic {

CPreviewLayer::CPreviewLayer(EditorContext& context, QDialog* dialog, LivePreview::Layer layer)
    : QObject(dialog), m_preview(context.preview) {
    setObjectName(QStringLiteral("previewLayer"));
    if (m_preview == nullptr) {
        return;
    }
    m_layer = m_preview->AddLayer(std::move(layer));
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setInterval(kDelayMs);
    connect(m_timer, &QTimer::timeout, this, [this] { m_preview->Show(); });
    // A closed dialog's values are stored or dropped; a late rendering would show neither.
    connect(dialog, &QDialog::finished, m_timer, &QTimer::stop);
}

CPreviewLayer::~CPreviewLayer() {
    if (m_preview != nullptr) {
        m_preview->RemoveLayer(m_layer);
    }
}

void CPreviewLayer::Changed() {
    if (m_timer != nullptr) {
        m_timer->start(); // a change while waiting starts the wait again
    }
}

bool CPreviewLayer::IsPending() const {
    return m_timer != nullptr && m_timer->isActive();
}

void CPreviewLayer::ShowNow() {
    if (m_preview != nullptr) {
        m_timer->stop();
        m_preview->Show();
    }
}

void CPreviewLayer::Refresh() {
    if (m_preview != nullptr && m_preview->Showing()) {
        ShowNow();
    }
}

} // namespace trellic
