#pragma once

#include "engine/prompter.h"

#include <QString>
#include <QUrl>
#include <functional>
#include <string>

class QWidget;

namespace trellic {

class CEngineDlg;

// The prompter of the desktop: message boxes, file dialogs, the browser and the engine window.
// Engine texts are UTF-8; paths are the file system's own bytes.
class QtPrompter : public Prompter {
public:
    explicit QtPrompter(std::string programFolder);

    // The window that error reports bring up; null until it exists.
    void SetEngineWindow(CEngineDlg* window) { m_engineWindow = window; }
    // What hands an address to the desktop's browser; false when none could be started.
    // QDesktopServices::openUrl unless the tests give another.
    void SetUrlOpener(std::function<bool(const QUrl&)> opener) { m_openUrl = std::move(opener); }
    // Who opens the designer and the explorer: the main window, once it exists.
    void SetNodeEditorOpener(std::function<void(NodeEditor)> opener) {
        m_openNodeEditor = std::move(opener);
    }

    void ShowMessage(const std::string& text, MessageIcon icon) override;
    bool AskYesNo(const std::string& text) override;
    SaveChoice AskSaveDiscardCancel(const std::string& text) override;
    std::optional<std::string> ChooseOpenFile(const FileDialogOptions& options) override;
    std::optional<std::string> ChooseSaveFile(const FileDialogOptions& options) override;
    // The template gallery, which can give way to the file chooser.
    std::optional<std::string> ChooseTemplate(const std::vector<std::string>& folders,
                                              const FileDialogOptions& chooser) override;
    // When no browser can be started, says so and names the page, so the user can open it.
    void OpenAddress(const std::string& address) override;
    void ShowEngineWindow() override;
    void OpenNodeEditor(NodeEditor editor) override;

    // "Name (*.a;*.b)|*.a;*.b|...||" as a QFileDialog name filter list ("Name (*.a *.b);;...").
    static QString TranslateFilter(const std::string& classic);
    // An address with a scheme as it stands; anything else is a file below the program folder,
    // keeping a "#fragment".
    static QUrl ResolveAddress(const std::string& address, const std::string& programFolder);

private:
    std::optional<std::string> ChooseFile(const FileDialogOptions& options, bool save);
    // A message as the screen shows it; a selectable one lets the user copy what it names.
    void ShowText(const QString& text, MessageIcon icon, bool selectable = false);

    std::string m_programFolder;
    CEngineDlg* m_engineWindow = nullptr;
    std::function<void(NodeEditor)> m_openNodeEditor;
    std::function<bool(const QUrl&)> m_openUrl;
};

} // namespace trellic
