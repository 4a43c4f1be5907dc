#pragma once

#include <QBrush>
#include <QDialog>
#include <string>

class QPushButton;

namespace trellic {

class EngineLog;
class Prompter;

// The welcome window: a picture with three ways in. It only reports the user's choice; whoever
// showed it carries the choice out once the window has closed.
class CWelcomeDlg : public QDialog {
    Q_OBJECT

public:
    // The dialog's result codes besides Rejected (Esc).
    enum Choice { NewResume = 2, OpenResume = 3 };

    // Loads the picture at once, so a missing one is reported before the window shows.
    CWelcomeDlg(const std::string& programFolder, EngineLog& log, Prompter& prompter,
                QWidget* parent = nullptr);

    bool HasPicture() const { return m_brush.style() != Qt::NoBrush; }
    QPushButton* NewButton() const { return m_new; }
    QPushButton* OpenButton() const { return m_open; }
    QPushButton* HelpButton() const { return m_help; }

    // The community documentation page, relative to the program folder.
    static constexpr const char* kDocumentationAddress = "docs/index.html";

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Prompter& m_prompter;
    QBrush m_brush;
    QPushButton* m_new = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_help = nullptr;
};

} // namespace trellic
