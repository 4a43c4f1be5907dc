#include "shell/find_replace.h"

#include "engine/prompter.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

namespace trellic {

CFindReplace::CFindReplace(QTextEdit& editor) : QObject(&editor), m_editor(editor) {}

void CFindReplace::TellNotFound(const QString& what) {
    if (m_prompter != nullptr) {
        m_prompter->ShowMessage(QStringLiteral("Cannot find \"%1\".").arg(what).toStdString(),
                                MessageIcon::Information);
    }
}

bool CFindReplace::FindText(const QString& what, QTextDocument::FindFlags flags) {
    m_findWhat = what;
    m_findFlags = flags;
    if (what.isEmpty()) {
        return false;
    }
    QTextCursor found = m_editor.document()->find(what, m_editor.textCursor(), flags);
    if (found.isNull()) {
        QTextCursor from(m_editor.document());
        if (flags & QTextDocument::FindBackward) {
            from.movePosition(QTextCursor::End);
        }
        found = m_editor.document()->find(what, from, flags);
    }
    if (found.isNull()) {
        TellNotFound(what);
        return false;
    }
    m_editor.setTextCursor(found);
    return true;
}

bool CFindReplace::ReplaceText(const QString& what, const QString& with,
                               QTextDocument::FindFlags flags) {
    QTextCursor cursor = m_editor.textCursor();
    const Qt::CaseSensitivity sensitivity =
        flags & QTextDocument::FindCaseSensitively ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (cursor.hasSelection() && cursor.selectedText().compare(what, sensitivity) == 0) {
        cursor.insertText(with);
        m_editor.setTextCursor(cursor);
    }
    return FindText(what, flags);
}

int CFindReplace::ReplaceAllText(const QString& what, const QString& with,
                                 QTextDocument::FindFlags flags) {
    m_findWhat = what;
    m_findFlags = flags;
    if (what.isEmpty()) {
        return 0;
    }
    flags &= ~QTextDocument::FindBackward;
    int count = 0;
    QTextCursor edit(m_editor.document());
    edit.beginEditBlock();
    QTextCursor found = m_editor.document()->find(what, 0, flags);
    while (!found.isNull()) {
        found.insertText(with);
        ++count;
        found = m_editor.document()->find(what, found, flags);
    }
    edit.endEditBlock();
    if (count == 0) {
        TellNotFound(what);
    }
    return count;
}

QDialog* CFindReplace::MakeDialog(bool withReplace) {
    auto* dialog = new QDialog(&m_editor);
    dialog->setWindowTitle(withReplace ? QStringLiteral("Replace") : QStringLiteral("Find"));
    dialog->setModal(false);
    auto* form = new QFormLayout;
    auto* what = new QLineEdit(m_findWhat, dialog);
    form->addRow(QStringLiteral("Fi&nd what:"), what);
    QLineEdit* with = nullptr;
    if (withReplace) {
        with = new QLineEdit(dialog);
        form->addRow(QStringLiteral("Re&place with:"), with);
    }
    auto* wholeWord = new QCheckBox(QStringLiteral("Match &whole word only"), dialog);
    auto* matchCase = new QCheckBox(QStringLiteral("Match &case"), dialog);
    wholeWord->setChecked(m_findFlags & QTextDocument::FindWholeWords);
    matchCase->setChecked(m_findFlags & QTextDocument::FindCaseSensitively);
    QRadioButton* up = nullptr;
    auto* options = new QVBoxLayout;
    options->addWidget(wholeWord);
    options->addWidget(matchCase);
    if (!withReplace) {
        up = new QRadioButton(QStringLiteral("&Up"), dialog);
        auto* down = new QRadioButton(QStringLiteral("&Down"), dialog);
        down->setChecked(true);
        auto* direction = new QHBoxLayout;
        direction->addWidget(up);
        direction->addWidget(down);
        options->addLayout(direction);
    }
    form->addRow(options);

    auto* buttons = new QDialogButtonBox(Qt::Vertical, dialog);
    auto* findNext = buttons->addButton(QStringLiteral("&Find Next"), QDialogButtonBox::ActionRole);
    findNext->setDefault(true);
    auto flagsOf = [wholeWord, matchCase, up] {
        QTextDocument::FindFlags flags;
        if (wholeWord->isChecked()) {
            flags |= QTextDocument::FindWholeWords;
        }
        if (matchCase->isChecked()) {
            flags |= QTextDocument::FindCaseSensitively;
        }
        if (up != nullptr && up->isChecked()) {
            flags |= QTextDocument::FindBackward;
        }
        return flags;
    };
    connect(findNext, &QPushButton::clicked, this,
            [this, what, flagsOf] { FindText(what->text(), flagsOf()); });
    if (withReplace) {
        auto* replace =
            buttons->addButton(QStringLiteral("&Replace"), QDialogButtonBox::ActionRole);
        auto* replaceAll =
            buttons->addButton(QStringLiteral("Replace &All"), QDialogButtonBox::ActionRole);
        connect(replace, &QPushButton::clicked, this, [this, what, with, flagsOf] {
            ReplaceText(what->text(), with->text(), flagsOf());
        });
        connect(replaceAll, &QPushButton::clicked, this, [this, what, with, flagsOf] {
            ReplaceAllText(what->text(), with->text(), flagsOf());
        });
    }
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::hide);

    auto* layout = new QHBoxLayout(dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    return dialog;
}

void CFindReplace::Find() {
    if (m_replaceDialog) {
        m_replaceDialog->hide();
    }
    if (!m_findDialog) {
        m_findDialog = MakeDialog(false);
    }
    m_findDialog->show();
    m_findDialog->raise();
    m_findDialog->activateWindow();
}

void CFindReplace::FindNext() {
    if (m_findWhat.isEmpty()) {
        Find();
        return;
    }
    FindText(m_findWhat, m_findFlags);
}

void CFindReplace::Replace() {
    if (m_findDialog) {
        m_findDialog->hide();
    }
    if (!m_replaceDialog) {
        m_replaceDialog = MakeDialog(true);
    }
    m_replaceDialog->show();
    m_replaceDialog->raise();
    m_replaceDialog->activateWindow();
}

void CFindReplace::HideReplace() {
    if (m_replaceDialog) {
        m_replaceDialog->hide();
    }
}

} // namespace trellic
