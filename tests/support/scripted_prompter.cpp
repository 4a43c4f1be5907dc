#include "scripted_prompter.h"

namespace trellic::testing {

void ScriptedPrompter::ShowMessage(const std::string& text, MessageIcon icon) {
    events.push_back({"message", text, icon, {}});
}

bool ScriptedPrompter::AskYesNo(const std::string& text) {
    events.push_back({"question", text, MessageIcon::Question, {}});
    if (answers.empty()) {
        return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedPrompter::ChooseOpenFile(const FileDialogOptions& options) {
    events.push_back({"open", {}, MessageIcon::Information, options});
    if (files.empty()) {
        return std::nullopt;
    }
    auto file = files.front();
    files.pop_front();
    return file;
}

std::optional<std::string> ScriptedPrompter::ChooseSaveFile(const FileDialogOptions& options) {
    events.push_back({"save", {}, MessageIcon::Information, options});
    if (files.empty()) {
        return std::nullopt;
    }
    auto file = files.front();
    files.pop_front();
    return file;
}

void ScriptedPrompter::OpenAddress(const std::string& address) {
    events.push_back({"address", address, MessageIcon::Information, {}});
}

void ScriptedPrompter::ShowEngineWindow() {
    events.push_back({"engine window", {}, MessageIcon::Information, {}});
}

void ScriptedPrompter::OpenNodeEditor(NodeEditor editor) {
    events.push_back({editor == NodeEditor::Designer ? "designer" : "explorer",
                      {},
                      MessageIcon::Information,
                      {}});
}

std::vector<std::string> ScriptedPrompter::Messages() const {
    std::vector<std::string> texts;
    for (const auto& event : events) {
        if (event.kind == "message") {
            texts.push_back(event.text);
        }
    }
    return texts;
}

} // namespace trellic::testing
