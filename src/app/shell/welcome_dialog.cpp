#include "shell/welcome_dialog.h"

#include "engine/prompter.h"
#include "shell/interface_images.h"

#include <QPushButton>

namespace trellic {

CWelcomeDlg::CWelcomeDlg(const std::string& programFolder, EngineLog& log, Prompter& prompter,
                         QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_prompter(prompter) {
    setObjectName(QStringLiteral("welcomeWindow"));
    setWindowTitle(QStringLiteral("Welcome"));
    setFixedSize(DialogUnitsX(333), DialogUnitsY(184));

    m_new = new QPushButton(tr("&New Resume"), this);
    m_open = new QPushButton(tr("&Open Resume"), this);
    m_help = new QPushButton(tr("&Help"), this);
    const int y = DialogUnitsY(159);
    const int x[] = {11, 116, 221};
    QPushButton* buttons[] = {m_new, m_open, m_help};
    for (int i = 0; i < 3; ++i) {
        buttons[i]->setGeometry(DialogUnitsX(x[i]), y, DialogUnitsX(100), DialogUnitsY(20));
        buttons[i]->setAutoDefault(false);
    }
    m_new->setDefault(true);
    m_new->setFocus();

    connect(m_new, &QPushButton::clicked, this, [this] { done(NewResume); });
    connect(m_open, &QPushButton::clicked, this, [this] { done(OpenResume); });
    connect(m_help, &QPushButton::clicked, this,
            [this] { m_prompter.OpenAddress(kDocumentationAddress); });

    m_brush = BackgroundBrush(LoadInterfaceImage(programFolder, "welcome.jpg", log, prompter));
}

void CWelcomeDlg::paintEvent(QPaintEvent* event) {
    PaintBackground(*this, m_brush);
    QDialog::paintEvent(event);
}

} // namespace trellic
