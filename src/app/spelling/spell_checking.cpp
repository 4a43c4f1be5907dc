#include "spelling/spell_checking.h"

#include "spelling/spell_highlighter.h"
#include "spelling/spelling_menus.h"
#include "spelling/spelling_session.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

namespace trellic {

namespace {

// The misspelt word of a text that a position (in UTF-16 units) touches, with its start.
std::optional<std::pair<MisspeltRange, QString>> WordAt(const SpellingSession& session,
                                                        const QString& text, int position) {
    for (const MisspeltRange& range : session.Misspellings(text)) {
        if (range.start <= position && position <= range.End()) {
            return std::make_pair(range, text.mid(range.start, range.length));
        }
    }
    return std::nullopt;
}

void ShowMenu(QMenu* menu, QPoint globalPosition) {
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPosition);
}

// The spelling of a multi-line text box: its highlighter, and its context menu taken over.
template <typename Edit> class TextEditSpelling : public QObject {
public:
    TextEditSpelling(Edit* edit, SpellingSession& session)
        : QObject(edit), m_edit(edit), m_session(&session) {
        new SpellHighlighter(edit->document(), session);
        // The menu key reaches the box, a click its viewport.
        edit->installEventFilter(this);
        edit->viewport()->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ContextMenu || !m_session) {
            return false;
        }
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        const QPoint inViewport = watched == m_edit
                                      ? m_edit->viewport()->mapFrom(m_edit, menuEvent->pos())
                                      : menuEvent->pos();
        // A click asks about the word under the mouse, the menu key about the one at the
        // insertion point.
        const QTextCursor at = menuEvent->reason() == QContextMenuEvent::Mouse
                                   ? m_edit->cursorForPosition(inViewport)
                                   : m_edit->textCursor();
        QMenu* menu = StandardMenu(inViewport);
        AddSpellingEntries(*menu, *m_session, Word(at));
        ShowMenu(menu, menuEvent->globalPos());
        return true;
    }

private:
    QMenu* StandardMenu(QPoint inViewport) {
        if constexpr (std::is_same_v<Edit, QTextEdit>) {
            // Rich text may hold links, which the menu offers to copy; it wants the position in
            // the document.
            return m_edit->createStandardContextMenu(inViewport +
                                                     QPoint(m_edit->horizontalScrollBar()->value(),
                                                            m_edit->verticalScrollBar()->value()));
        } else {
            (void)inViewport;
            return m_edit->createStandardContextMenu();
        }
    }

    std::optional<MisspeltWord> Word(const QTextCursor& at) const {
        const QTextBlock block = at.block();
        const auto found = WordAt(*m_session, block.text(), at.positionInBlock());
        if (!found) {
            return std::nullopt;
        }
        MisspeltWord word{found->second, {}};
        if (!m_edit->isReadOnly()) {
            const int start = block.position() + found->first.start;
            word.replace = [edit = QPointer<Edit>(m_edit), start,
                            original = found->second](const QString& replacement) {
                if (!edit) {
                    return;
                }
                QTextCursor cursor(edit->document());
                cursor.setPosition(start);
                cursor.setPosition(start + static_cast<int>(original.size()),
                                   QTextCursor::KeepAnchor);
                // The text may have moved on while the menu was open.
                if (cursor.selectedText() != original) {
                    return;
                }
                cursor.beginEditBlock();
                cursor.insertText(replacement);
                cursor.endEditBlock();
                edit->setTextCursor(cursor);
            };
        }
        return word;
    }

    Edit* m_edit;
    QPointer<SpellingSession> m_session;
};

// The spelling of a one-line text box. The box draws the formats an input method hands it
// over its text, which is how it is given the underline; they are handed over again after each
// change of the text or of the accepted words.
class LineEditSpelling : public QObject {
public:
    LineEditSpelling(QLineEdit* edit, SpellingSession& session)
        : QObject(edit), m_edit(edit), m_session(&session),
          m_format(SpellHighlighter::MisspeltFormat()) {
        // After the change is done with, never inside the box's own handling of it.
        m_update.setSingleShot(true);
        m_update.setInterval(0);
        connect(&m_update, &QTimer::timeout, this, [this] { Underline(); });
        connect(edit, &QLineEdit::textChanged, &m_update, qOverload<>(&QTimer::start));
        connect(&session, &SpellingSession::changed, &m_update, qOverload<>(&QTimer::start));
        edit->installEventFilter(this);
        m_update.start();
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::InputMethod && !m_sending) {
            // While the user composes a character the input method's own formats stand.
            m_composing = !static_cast<QInputMethodEvent*>(event)->preeditString().isEmpty();
            if (!m_composing) {
                m_update.start();
            }
            return false;
        }
        if (event->type() != QEvent::ContextMenu || !m_session) {
            return false;
        }
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        const int position = menuEvent->reason() == QContextMenuEvent::Mouse
                                 ? m_edit->cursorPositionAt(menuEvent->pos())
                                 : m_edit->cursorPosition();
        QMenu* menu = m_edit->createStandardContextMenu();
        AddSpellingEntries(*menu, *m_session, Word(position));
        ShowMenu(menu, menuEvent->globalPos());
        return true;
    }

private:
    void Underline() {
        if (!m_session || m_composing || m_edit->isReadOnly()) {
            return;
        }
        QList<QInputMethodEvent::Attribute> formats;
        // Input method formats are placed relative to the insertion point.
        const int cursor = m_edit->cursorPosition();
        for (const MisspeltRange& range : m_session->Misspellings(m_edit->text())) {
            formats << QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat,
                                                    range.start - cursor, range.length, m_format);
        }
        QInputMethodEvent event(QString(), formats);
        m_sending = true;
        QCoreApplication::sendEvent(m_edit, &event);
        m_sending = false;
    }

    std::optional<MisspeltWord> Word(int position) const {
        const auto found = WordAt(*m_session, m_edit->text(), position);
        if (!found) {
            return std::nullopt;
        }
        MisspeltWord word{found->second, {}};
        if (!m_edit->isReadOnly()) {
            word.replace = [edit = QPointer<QLineEdit>(m_edit), range = found->first,
                            original = found->second](const QString& replacement) {
                if (!edit || edit->text().mid(range.start, range.length) != original) {
                    return;
                }
                edit->setSelection(range.start, range.length);
                edit->insert(replacement);
            };
        }
        return word;
    }

    QLineEdit* m_edit;
    QPointer<SpellingSession> m_session;
    QTextCharFormat m_format;
    QTimer m_update;
    bool m_composing = false;
    bool m_sending = false;
};

} // namespace

void EnableSpellChecking(QTextEdit* edit) {
    if (SpellingSession* session = SpellingSession::Current()) {
        new TextEditSpelling<QTextEdit>(edit, *session);
    }
}

void EnableSpellChecking(QPlainTextEdit* edit) {
    if (SpellingSession* session = SpellingSession::Current()) {
        new TextEditSpelling<QPlainTextEdit>(edit, *session);
    }
}

void EnableSpellChecking(QLineEdit* edit) {
    if (SpellingSession* session = SpellingSession::Current()) {
        new LineEditSpelling(edit, *session);
    }
}

} // namespace trellic
