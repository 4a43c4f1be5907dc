#include "shell/engine_window.h"

#include "editors/editor_text.h"
#include "engine/engine_log.h"
#include "engine/prompter.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace trellic {

CEngineDlg::CEngineDlg(EngineLog& log, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_log(log), m_prompter(prompter) {
    setWindowTitle(QStringLiteral("TLX Engine"));
    setObjectName(QStringLiteral("engineWindow"));
    // A top-level window of its own with a minimise box; a dialog's frame would hide it.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    // The window stays for the whole run, minimised; it must not keep the program alive once the
    // main window has closed.
    setAttribute(Qt::WA_QuitOnClose, false);

    m_text = new QPlainTextEdit(this);
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    m_help = new QPushButton(tr("&Help"), this);
    m_save = new QPushButton(tr("&Save"), this);
    m_clear = new QPushButton(tr("&Clear"), this);
    for (QPushButton* button : {m_help, m_save}) {
        button->setAutoDefault(false);
    }
    m_clear->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* button : {m_help, m_save, m_clear}) {
        button->setMinimumWidth(150);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text, 1);
    layout->addLayout(buttons);
    resize(600, 360);

    connect(m_help, &QPushButton::clicked, this,
            [this] { m_prompter.OpenAddress(kTroubleshootingAddress); });
    connect(m_save, &QPushButton::clicked, this,
            [this] { (void)SaveEngineLog(m_log, m_prompter); });
    connect(m_clear, &QPushButton::clicked, this, [this] { m_log.Clear(); });

    m_log.SetChangedHandler([this] { ShowLog(); });
    ShowLog();
}

CEngineDlg::~CEngineDlg() {
    // The log may outlive the window; it must not call into a destroyed one.
    m_log.SetChangedHandler({});
}

void CEngineDlg::ShowLog() {
    // The log keeps CR LF; the text box wants one break per line.
    QString text = FromEngineText(m_log.Text());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Newly set text shows from the top, as the log always has.
    m_text->setPlainText(text);
}

void CEngineDlg::ShowNormal() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    showNormal();
    raise();
    activateWindow();
}

void CEngineDlg::reject() {
    showMinimized();
}

void CEngineDlg::closeEvent(QCloseEvent* event) {
    if (m_closable) {
        // Refusing here would make the application take back its quit. (The dialog's own close
        // handling would only reject, which minimises.)
        event->accept();
        return;
    }
    event->ignore();
    showMinimized();
}

} // namespace trellic
