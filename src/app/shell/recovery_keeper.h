#pragma once

#include "document/recovery.h"

#include <QObject>
#include <functional>
#include <string>

class QTimer;

namespace trellic {

class CTLXDoc;
class EngineLog;
class Prompter;
class ResumeView;
struct NodeTree;

// Keeps a recovery copy of the open resume while it has unsaved changes, so that a crash loses
// at most about a minute of work, and offers the copies of ended runs at start-up. What counts
// as unsaved and what the copy holds are the caller's to say.
class RecoveryKeeper : public QObject {
    Q_OBJECT

public:
    static constexpr int kIntervalMs = 60 * 1000;

    RecoveryKeeper(RecoveryStore store, NodeTree& tree, ResumeView& view, CTLXDoc& doc,
                   EngineLog& log, Prompter& prompter, std::function<bool()> isModified,
                   std::function<std::string()> currentBytes, QObject* parent = nullptr);

    QTimer* Timer() const { return m_timer; }
    const RecoveryStore& Store() const { return m_store; }

    // The timer's work: writes the copy when the resume has unsaved changes (and they changed
    // since the last copy), removes it when there are none.
    void Tick();
    // After every command: a resume just saved or replaced needs no copy any more.
    void AfterCommand();
    // The program ends normally: nothing is left to recover.
    void Discard();
    // At start-up: offers the copies of runs that ended without saving, newest first, until one
    // is restored (true) or none is left. A copy the user turns down is deleted.
    bool OfferRestore();

private:
    // Writes the copy now; false when it could not be written.
    bool WriteCopy();

    RecoveryStore m_store;
    NodeTree& m_tree;
    ResumeView& m_view;
    CTLXDoc& m_doc;
    EngineLog& m_log;
    Prompter& m_prompter;
    std::function<bool()> m_isModified;
    std::function<std::string()> m_currentBytes;
    QTimer* m_timer = nullptr;
    bool m_haveCopy = false;
    std::string m_lastBytes;
    int32_t m_lastDataSource = -1;
    std::string m_lastPath;
    // A failing disk is worth one line in the log, not one a minute.
    bool m_failureLogged = false;
};

} // namespace trellic
