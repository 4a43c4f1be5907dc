#pragma once

#include <QBrush>
#include <QDialog>
#include <string>

namespace trellic {

class EngineLog;
class Prompter;

// The About window: nothing but the program's picture.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    // Loads the picture at once; every opening records its own load in the log.
    CAboutDlg(const std::string& programFolder, EngineLog& log, Prompter& prompter,
              QWidget* parent = nullptr);

    bool HasPicture() const { return m_brush.style() != Qt::NoBrush; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QBrush m_brush;
};

} // namespace trellic
