#pragma once

#include "document/tlx_doc.h"
#include "document/undo_history.h"
#include "editors/editor_context.h"
#include "engine/engine_log.h"
#include "model/node_tree.h"
#include "presets/node_presets.h"
#include "render/live_preview.h"
#include "render/render_driver.h"
#include "render/resume_view.h"
#include "scripted_prompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace trellic::testing {

// A fresh resume over the built program folder (its node library beside the test programs),
// a headless view to render into and a scripted user: what every editor works on.
struct EditorBench {
    EditorBench() {
        ResetNodeTree(tree, log, prompter);
        ResetViewFormatting(view);
    }

    // The rendered resume as plain text.
    std::string ViewText() const { return view.ExportText(); }

    StackEntry AddHeader(const std::string& text, bool active = true) {
        HeaderNode& node = tree.headers.emplace_back();
        node.header = text;
        node.inheritStyle = true;
        return Push({static_cast<int32_t>(tree.headers.size() - 1), kKindHeader}, active);
    }
    StackEntry Push(StackEntry entry, bool active) {
        (active ? tree.activeStack : tree.inactiveStack).push_back(entry);
        return entry;
    }

    NodeTree tree{TRELLIC_BIN_DIR};
    EngineLog log;
    ScriptedPrompter prompter;
    HeadlessResumeView view;
    CTLXDoc doc{tree, view, log, prompter};
    UndoHistory history{tree, view, doc};
    LivePreview preview{tree, view};
    EditorContext context{tree, doc, view, log, prompter, &history, &preview};
};

// Runs act on the modal window that the next call opens, once its event loop is running.
// Chained calls reach windows opened from inside act.
inline void OnNextModal(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            act(modal);
        }
    });
}

// The child of a window by object name; fails the test when there is none.
template <typename Widget> Widget* Child(QWidget* window, const char* name) {
    auto* child = window->findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << "no " << name;
    return child;
}

} // namespace trellic::testing
