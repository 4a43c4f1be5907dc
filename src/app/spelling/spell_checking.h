#pragma once

class QLineEdit;
class QPlainTextEdit;
class QTextEdit;

namespace trellic {

// Checks the spelling of a text box with the current session as the user types: misspelt words
// get a red wavy underline that only the screen shows (the text, its undo history and its
// modified flag stay as they are), and the context menu offers suggestions, Ignore All, Add to
// Dictionary and the spelling language above its usual entries. Does nothing when no session
// exists. A text box of one line cannot underline words itself; it is given the underline
// through the formats an input method would use.
void EnableSpellChecking(QTextEdit* edit);
void EnableSpellChecking(QPlainTextEdit* edit);
void EnableSpellChecking(QLineEdit* edit);

} // namespace trellic
