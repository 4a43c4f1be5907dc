#pragma once

#include "editors/editor_context.h"
#include "render/live_preview.h"

#include <QObject>

class QDialog;
class QTimer;

namespace trellic {

// One dialog's share of the live preview: its pending values as a layer over the resume,
// shown a moment after the user stops changing them so that typing stays smooth, and gone with
// the dialog, which puts the view back as the tree renders (a cancelled dialog leaves the view
// as it found it). A context without a preview previews nothing.
class CPreviewLayer : public QObject {
    Q_OBJECT

public:
    // How long the preview waits for the next change before it renders.
    static constexpr int kDelayMs = 200;

    // Owned by the dialog, whose controls the layer reads.
    CPreviewLayer(EditorContext& context, QDialog* dialog, LivePreview::Layer layer);
    ~CPreviewLayer() override;

    // Asks for a rendering once the values have settled.
    void Changed();
    // Whether a rendering is waiting for the values to settle.
    bool IsPending() const;
    // Renders at once, without waiting.
    void ShowNow();
    // Renders again at once when the view shows a preview: after a nested dialog closed, whose
    // values were part of it.
    void Refresh();

private:
    LivePreview* m_preview;
    int m_layer = 0;
    QTimer* m_timer = nullptr;
};

} // namespace trellic
