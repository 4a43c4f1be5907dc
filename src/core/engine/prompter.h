#pragma once

#include <optional>
#include <string>
#include <vector>

namespace trellic {

// Caption of every message box the engine raises.
inline constexpr const char* kMessageCaption = "TLX Engine";

enum class MessageIcon { Information, Exclamation, Warning, Question };

// The answers to the question asked before a resume with unsaved changes is closed.
enum class SaveChoice { Save, Discard, Cancel };

// The node editors a document command may ask the application to open.
enum class NodeEditor { Designer, Explorer };

// What a file chooser is asked to show. The filter uses the classic "Name (*.ext)|*.ext||"
// form; the application translates it for its own dialogs.
struct FileDialogOptions {
    std::string defaultExtension; // without the dot; appended when the user types none
    std::string initialName;
    std::string filter;
    std::string initialFolder; // empty: the chooser's own choice
    bool overwritePrompt = false;
    bool hideReadOnly = false;
    bool pathMustExist = false;
    bool fileMustExist = false;
    bool noReadOnlyReturn = false;
    // Folders the chooser lists beside its usual places, to reach in one click.
    std::vector<std::string> places;
};

// The engine's only way to talk to the user: message boxes, file choosers, the browser and the
// engine window. The desktop application implements it with real dialogs; tests script it.
class Prompter {
public:
    virtual ~Prompter() = default;

    // A modal message with an OK button, captioned kMessageCaption.
    virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;
    // A modal Yes/No question; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    // A modal question with Save, Discard and Cancel buttons, asked when closing a resume would
    // lose changes.
    virtual SaveChoice AskSaveDiscardCancel(const std::string& text) = 0;
    // The chosen full path, or nothing when the user cancels.
    virtual std::optional<std::string> ChooseOpenFile(const FileDialogOptions& options) = 0;
    virtual std::optional<std::string> ChooseSaveFile(const FileDialogOptions& options) = 0;
    // Asks which template a new resume starts from, among the resume files of folders; the
    // chooser's options are those of the file chooser that picks any other file instead. The
    // chosen full path, or nothing when the user cancels. Without a gallery to show, the file
    // chooser alone asks.
    virtual std::optional<std::string> ChooseTemplate(const std::vector<std::string>& folders,
                                                      const FileDialogOptions& chooser) {
        (void)folders;
        return ChooseOpenFile(chooser);
    }
    // Hands an address to the desktop's browser; failures are the browser's business.
    virtual void OpenAddress(const std::string& address) = 0;
    // Brings the engine window up in its normal state and activates it.
    virtual void ShowEngineWindow() = 0;
    // Opens a node editor as a modal window; returns when it is closed. Without a desktop
    // there is no editor to open.
    virtual void OpenNodeEditor(NodeEditor) {}
};

// Answers nothing and shows nothing: for tools that run without a user.
class SilentPrompter : public Prompter {
public:
    void ShowMessage(const std::string&, MessageIcon) override {}
    bool AskYesNo(const std::string&) override { return false; }
    // Nobody is there to choose, so nothing is thrown away.
    SaveChoice AskSaveDiscardCancel(const std::string&) override { return SaveChoice::Cancel; }
    std::optional<std::string> ChooseOpenFile(const FileDialogOptions&) override { return {}; }
    std::optional<std::string> ChooseSaveFile(const FileDialogOptions&) override { return {}; }
    void OpenAddress(const std::string&) override {}
    void ShowEngineWindow() override {}
};

// Writes messages to standard error so a command-line tool still tells what went wrong.
class StderrPrompter : public SilentPrompter {
public:
    void ShowMessage(const std::string& text, MessageIcon icon) override;
};

} // namespace trellic
