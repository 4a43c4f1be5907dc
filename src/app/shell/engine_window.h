#pragma once

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace trellic {

class EngineLog;
class Prompter;

// The engine window: the engine log on screen, with its Help, Save and Clear buttons. It lives
// as long as the process and is minimised, not closed, when the user dismisses it while the
// program runs.
class CEngineDlg : public QDialog {
    Q_OBJECT

public:
    // Shows the log's text from now on; the log and the prompter must outlive the window.
    CEngineDlg(EngineLog& log, Prompter& prompter, QWidget* parent = nullptr);
    ~CEngineDlg() override;

    // Brings the window up in its normal state and activates it (after an error report).
    void ShowNormal();
    // The run is ending: from now on the window closes like any other, so that it does not
    // hold the program open.
    void AllowClose() { m_closable = true; }

    QPlainTextEdit* TextBox() const { return m_text; }
    QPushButton* HelpButton() const { return m_help; }
    QPushButton* SaveButton() const { return m_save; }
    QPushButton* ClearButton() const { return m_clear; }

    // The troubleshooting page, relative to the program folder.
    static constexpr const char* kTroubleshootingAddress = "docs/troubleshooting.html";

public slots:
    // Esc and the close box land here: the window only goes out of the way.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowLog();

    EngineLog& m_log;
    Prompter& m_prompter;
    QPlainTextEdit* m_text = nullptr;
    QPushButton* m_help = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_clear = nullptr;
    bool m_closable = false;
};

} // namespace trellic
