#include "shell/status_indicators.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>

#ifdef TRELLIC_HAVE_XKB
#include <QGuiApplication>
#include <X11/XKBlib.h>
#endif

namespace trellic {

namespace {

// How often the lock key panes look at the keyboard: often enough to follow a key, rarely
// enough to cost nothing.
constexpr int kLockKeyRefreshMs = 250;

// Lock key states as the X server's keyboard indicators show them. Other platforms (and the
// offscreen one of the tests) cannot be asked, and their panes stay empty, as an unlit lock's
// pane does.
struct LockKeys {
    bool caps = false;
    bool num = false;
    bool scroll = false;
};

LockKeys QueryLockKeys() {
    LockKeys keys;
#ifdef TRELLIC_HAVE_XKB
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) {
        return keys;
    }
    auto lit = [display](const char* name) {
        Bool on = False;
        const Atom atom = XInternAtom(display, name, True);
        return atom != None &&
               XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr) && on;
    };
    keys.caps = lit("Caps Lock");
    keys.num = lit("Num Lock");
    keys.scroll = lit("Scroll Lock");
#endif
    return keys;
}

} // namespace

CStatusIndicators::CStatusIndicators(QStatusBar& bar, const QString& idleText) : QObject(&bar) {
    // The idle text is the bar's normal content: status prompts cover it while they are shown
    // and it comes back when they are cleared.
    m_idle = new QLabel(idleText, &bar);
    bar.addWidget(m_idle, 1);
    // Each indicator is as wide as its longest text, so the panes do not jump as they change.
    const char* widest[PaneCount] = {"RTF", "CAP", "NUM", "SCRL", "RNS"};
    const char* names[PaneCount] = {"rendererPane", "capsPane", "numPane", "scrollPane",
                                    "protectionPane"};
    for (int i = 0; i < PaneCount; ++i) {
        auto* pane = new QLabel(&bar);
        pane->setObjectName(QString::fromLatin1(names[i]));
        pane->setAlignment(Qt::AlignCenter);
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        const QFontMetrics metrics(pane->font());
        int width = metrics.horizontalAdvance(QString::fromLatin1(widest[i]));
        if (i == RendererPane) {
            width = std::max(width, metrics.horizontalAdvance(QStringLiteral("TXT")));
        }
        pane->setFixedWidth(width + 12);
        bar.addPermanentWidget(pane);
        m_panes[i] = pane;
    }
    m_lockKeyTimer = new QTimer(this);
    m_lockKeyTimer->setInterval(kLockKeyRefreshMs);
    connect(m_lockKeyTimer, &QTimer::timeout, this, [this] { ShowLockKeys(); });
    m_lockKeyTimer->start();
}

void CStatusIndicators::Show(bool rtfRenderer, bool protectedNow) {
    SetText(m_panes[RendererPane], rtfRenderer ? QStringLiteral("RTF") : QStringLiteral("TXT"));
    SetText(m_panes[ProtectionPane], protectedNow ? QStringLiteral("RNS") : QString());
    ShowLockKeys();
}

void CStatusIndicators::ShowLockKeys() {
    const LockKeys locks = QueryLockKeys();
    SetText(m_panes[CapsPane], locks.caps ? QStringLiteral("CAP") : QString());
    SetText(m_panes[NumPane], locks.num ? QStringLiteral("NUM") : QString());
    SetText(m_panes[ScrollPane], locks.scroll ? QStringLiteral("SCRL") : QString());
}

void CStatusIndicators::SetText(QLabel* pane, const QString& text) {
    if (pane->text() != text) {
        pane->setText(text);
    }
}

} // namespace trellic
