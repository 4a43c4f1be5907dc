#pragma once

#include "engine/prompter.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace trellic::testing {

// A prompter that answers from queues the test fills and records everything it was asked, in
// order, so tests can check both the texts and their sequence.
class ScriptedPrompter : public Prompter {
public:
    struct Event {
        // "message", "question", "save question", "open", "save", "address", "engine window",
        // "designer", "explorer"
        std::string kind;
        std::string text;
        MessageIcon icon = MessageIcon::Information;
        FileDialogOptions options;
    };

    void ShowMessage(const std::string& text, MessageIcon icon) override;
    bool AskYesNo(const std::string& text) override;
    SaveChoice AskSaveDiscardCancel(const std::string& text) override;
    std::optional<std::string> ChooseOpenFile(const FileDialogOptions& options) override;
    std::optional<std::string> ChooseSaveFile(const FileDialogOptions& options) override;
    void OpenAddress(const std::string& address) override;
    void ShowEngineWindow() override;
    void OpenNodeEditor(NodeEditor editor) override;

    // Answers, taken from the front; an empty queue answers No or Cancel.
    std::deque<bool> answers;
    std::deque<std::optional<std::string>> files;
    // Answers to the save question; an empty queue answers Cancel.
    std::deque<SaveChoice> saveChoices;

    std::vector<Event> events;
    // The texts of the message boxes shown, in order.
    std::vector<std::string> Messages() const;
};

} // namespace trellic::testing
