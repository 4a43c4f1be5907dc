#pragma once

#include "document/tlx_doc.h"
#include "engine/engine_log.h"
#include "model/tlx_file.h"
#include "render/resume_view.h"
#include "scripted_prompter.h"
#include "temp_dir.h"

#include <gtest/gtest.h>
#include <string>

namespace trellic::testing {

inline const std::string kStarted =
    "INFO: Resume Network Security (RNS) module has started.\r\n\r\n";
inline const std::string kUnprotected = "RNS: File appears to be unprotected.\r\n\r\n";
inline const std::string kProtected = "RNS: File appears to be protected.\r\n\r\n";
inline const std::string kEnabled = "INFO: Resume Network Security (RNS) is enabled. External "
                                    "file access will be denied.\r\n\r\n";
inline const std::string kStopped = "INFO: Resume Network Security (RNS) is disabled. External "
                                    "file access will be granted.\r\n\r\n"
                                    "INFO: Resume Network Security (RNS) module has stopped."
                                    "\r\n\r\n";
// What a successful probe of a file logs.
inline const std::string kProbe = kStarted + kUnprotected + kEnabled + kStopped;

// A document over the shipped node library, with a scripted user and files in a temporary
// folder.
struct DocumentFixture {
    DocumentFixture() {
        doc.OnNewDocument();
        log.Clear();
    }

    // A small resume of nodes written to a .tlx file.
    std::string WriteSampleTlx(const std::string& name, Renderer renderer = kRendererRtf) {
        NodeTree sample{std::string()};
        ResetNodeTree(sample, {});
        sample.renderer = renderer;
        sample.resume->name = "Sample";
        HeaderNode& h = sample.headers.emplace_back();
        h.header = "Experience";
        h.style.charFormat.faceName = "Arial";
        h.style.charFormat.height = 280;
        sample.activeStack.push_back({0, kKindHeader});
        const std::string path = dir.File(name);
        WriteFileBytes(path, WriteTLX(sample));
        return path;
    }

    // Opens a file, answering Yes to the close question.
    bool Open(const std::string& path) {
        prompter.files.push_back(path);
        prompter.answers.push_back(true);
        return doc.OpenResume();
    }

    std::vector<std::string> EventKinds() const {
        std::vector<std::string> kinds;
        for (const auto& event : prompter.events) {
            kinds.push_back(event.kind);
        }
        return kinds;
    }

    NodeTree tree{TRELLIC_BIN_DIR};
    HeadlessResumeView view;
    EngineLog log;
    ScriptedPrompter prompter;
    CTLXDoc doc{tree, view, log, prompter};
    TempDir dir;
};

} // namespace trellic::testing
