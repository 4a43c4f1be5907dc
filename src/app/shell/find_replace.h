#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTextDocument>

class QDialog;
class QTextEdit;

namespace trellic {

class Prompter;

// Edit > Find, Find Next and Replace over a text editor: the two modeless dialogs, the search
// that goes round the end once, and the last search for Find Next.
class CFindReplace : public QObject {
    Q_OBJECT

public:
    // The dialogs belong to the editor's window; the editor outlives this object.
    explicit CFindReplace(QTextEdit& editor);

    // Misses are told through the prompter, when there is one.
    void SetPrompter(Prompter* prompter) { m_prompter = prompter; }

    // The Find and Replace dialogs (one at a time), and Find Next, which repeats the last search
    // or opens Find when there was none.
    void Find();
    void FindNext();
    void Replace();
    // A read-only editor cannot take replacements: the Replace dialog goes.
    void HideReplace();

    // Selects the next match after the selection (or before it, searching up), going round the
    // end once; tells the user when there is none.
    bool FindText(const QString& what, QTextDocument::FindFlags flags);
    // Replaces the selection when it is a match, then finds the next one.
    bool ReplaceText(const QString& what, const QString& with, QTextDocument::FindFlags flags);
    // Replaces every match in one undo step; the count of replacements.
    int ReplaceAllText(const QString& what, const QString& with, QTextDocument::FindFlags flags);

private:
    QDialog* MakeDialog(bool withReplace);
    void TellNotFound(const QString& what);

    QTextEdit& m_editor;
    Prompter* m_prompter = nullptr;
    QString m_findWhat;
    QTextDocument::FindFlags m_findFlags;
    QPointer<QDialog> m_findDialog;
    QPointer<QDialog> m_replaceDialog;
};

} // namespace trellic
