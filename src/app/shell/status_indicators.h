#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QStatusBar;
class QTimer;

namespace trellic {

// The status bar's indicator panes, left to right after the message pane.
enum StatusPane { RendererPane, CapsPane, NumPane, ScrollPane, ProtectionPane, PaneCount };

// The status bar's idle text and indicator panes: the renderer in force and file protection,
// as the window shows them, and the lock keys. The lock keys have no signal of their own, so
// their panes look at the keyboard every so often.
class CStatusIndicators : public QObject {
    Q_OBJECT

public:
    CStatusIndicators(QStatusBar& bar, const QString& idleText);

    QLabel* Pane(StatusPane pane) const { return m_panes[pane]; }
    QLabel* MessagePane() const { return m_idle; }

    // Shows the renderer and the protection, and the lock keys as they are now.
    void Show(bool rtfRenderer, bool protectedNow);

private:
    void ShowLockKeys();
    static void SetText(QLabel* pane, const QString& text);

    QLabel* m_idle = nullptr;
    QLabel* m_panes[PaneCount] = {};
    QTimer* m_lockKeyTimer = nullptr;
};

} // namespace trellic
