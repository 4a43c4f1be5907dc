#pragma once

#include "scripted_prompter.h"
#include "shell/application.h"
#include "shell/main_frame.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>

namespace trellic::testing {

// The whole application started over the built program folder (node library and media beside
// the test executables), without the modal welcome window and with a scripted user.
struct StartedApp {
    explicit StartedApp(QStringList arguments = {QStringLiteral("trellic")})
        : app(StartUpOptions{TRELLIC_BIN_DIR, &prompter, false, false}) {
        started = app.InitInstance(arguments);
    }

    CMainFrame& Frame() { return *app.MainFrame(); }
    void Trigger(const char* action) { Frame().Action(QString::fromLatin1(action))->trigger(); }
    std::vector<std::string> EventKinds() const {
        std::vector<std::string> kinds;
        for (const auto& event : prompter.events) {
            kinds.push_back(event.kind);
        }
        return kinds;
    }

    ScriptedPrompter prompter;
    CTLXApp app;
    bool started = false;
};

// Runs act on the modal window that the next call opens, once its event loop is running.
inline void WhenModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal) {
            act(modal);
        }
    });
}

} // namespace trellic::testing
