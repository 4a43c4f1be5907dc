#include "shell/recovery_keeper.h"

#include "engine/engine_log.h"
#include "engine/prompter.h"
#include "model/node_tree.h"

#include <QTimer>

namespace trellic {

namespace {

std::string FileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string RestoreQuestion(const RecoveryCopy& copy) {
    const std::string what = copy.originalPath.empty()
                                 ? std::string("an untitled resume")
                                 : "the resume \"" + FileNameOf(copy.originalPath) + "\"";
    return "Trellic ended without saving " + what +
           ", and a recovery copy of it was kept. Would you like to restore it? If not, the "
           "copy will be deleted.";
}

} // namespace

RecoveryKeeper::RecoveryKeeper(RecoveryStore store, NodeTree& tree, ResumeView& view, CTLXDoc& doc,
                               EngineLog& log, Prompter& prompter, std::function<bool()> isModified,
                               std::function<std::string()> currentBytes, QObject* parent)
    : QObject(parent), m_store(std::move(store)), m_tree(tree), m_view(view), m_doc(doc),
      m_log(log), m_prompter(prompter), m_isModified(std::move(isModified)),
      m_currentBytes(std::move(currentBytes)) {
    m_timer = new QTimer(this);
    m_timer->setInterval(kIntervalMs);
    connect(m_timer, &QTimer::timeout, this, &RecoveryKeeper::Tick);
    m_timer->start();
}

void RecoveryKeeper::Tick() {
    if (!m_isModified()) {
        Discard();
        return;
    }
    WriteCopy();
}

void RecoveryKeeper::AfterCommand() {
    if (m_haveCopy && !m_isModified()) {
        Discard();
    }
}

void RecoveryKeeper::Discard() {
    m_store.Remove();
    m_haveCopy = false;
    m_lastBytes.clear();
    m_lastDataSource = -1;
}

bool RecoveryKeeper::WriteCopy() {
    std::string bytes = m_currentBytes();
    if (m_haveCopy && bytes == m_lastBytes && m_tree.dataSource == m_lastDataSource &&
        m_tree.filePath == m_lastPath) {
        return true;
    }
    const FileResult written = m_store.Write(bytes, m_tree.dataSource, m_tree.filePath);
    if (!written.ok) {
        if (!m_failureLogged) {
            m_log.AppendLog("WARNING: The recovery copy could not be written to " +
                            written.message + ".\r\n\r\n");
            m_failureLogged = true;
        }
        return false;
    }
    m_failureLogged = false;
    m_haveCopy = true;
    m_lastBytes = std::move(bytes);
    m_lastDataSource = m_tree.dataSource;
    m_lastPath = m_tree.filePath;
    return true;
}

bool RecoveryKeeper::OfferRestore() {
    for (const RecoveryCopy& copy : m_store.FindAbandoned()) {
        if (!m_prompter.AskYesNo(RestoreQuestion(copy))) {
            DiscardRecoveryCopy(copy);
            continue;
        }
        if (!RestoreRecoveryCopy(copy, m_tree, m_view, m_doc, m_log, m_prompter)) {
            continue; // the user was told; the copy stays for a later try
        }
        // The old copy goes only once this run keeps one of its own.
        if (WriteCopy()) {
            DiscardRecoveryCopy(copy);
        }
        return true;
    }
    return false;
}

} // namespace trellic
