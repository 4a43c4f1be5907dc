#include "shell/about_dialog.h"

#include "shell/interface_images.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

namespace trellic {

CAboutDlg::CAboutDlg(const std::string& programFolder, EngineLog& log, Prompter& prompter,
                     QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("aboutWindow"));
    setWindowTitle(tr("About Trellic"));
    setFixedSize(DialogUnitsX(333), DialogUnitsY(246));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    m_brush = BackgroundBrush(LoadInterfaceImage(programFolder, "about.gif", log, prompter));
}

void CAboutDlg::paintEvent(QPaintEvent* event) {
    PaintBackground(*this, m_brush);
    QDialog::paintEvent(event);
}

void CAboutDlg::keyPressEvent(QKeyEvent* event) {
    // With no buttons there is no default button to take Enter; it closes the window as OK.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace trellic
