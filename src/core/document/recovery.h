#pragma once

#include "engine/file_io.h"
#include "model/node_tree.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trellic {

class CTLXDoc;
class EngineLog;
class Prompter;
class ResumeView;
struct NodeTree;

// Where recovery copies live: $XDG_STATE_HOME/trellic, or ~/.local/state/trellic when it is not
// set (or not absolute). Empty when there is no home either. This is the user's data, never the
// program's configuration, and never beside the user's own file.
std::string RecoveryFolder();

// A copy left behind, with what is needed to put it back.
struct RecoveryCopy {
    long pid = 0;
    std::string dataPath;     // the copy itself: <pid>.tlx, <pid>.rtf or <pid>.txt
    std::string infoPath;     // <pid>.info: who wrote it and what it is
    std::string originalPath; // the resume's own file; empty for one never saved
    DataSource dataSource = kDataSourceNodes;
};

// The recovery copy of one process: written while the resume has unsaved changes, removed when
// they are saved or the program ends normally. Each process has its own pair of files, named by
// its id, so that two running programs never touch each other's copy.
class RecoveryStore {
public:
    // A store for this process.
    explicit RecoveryStore(std::string folder);
    // A store for another process id (the tests play other processes).
    RecoveryStore(std::string folder, long pid);

    const std::string& Folder() const { return m_folder; }

    // Writes the copy, then its information file, each replacing the last one whole; a failed
    // write leaves the previous copy as it stood.
    FileResult Write(std::string_view bytes, DataSource dataSource,
                     const std::string& originalPath);
    // Removes this process's copy, whatever its format.
    void Remove();

    // Copies whose process no longer runs, newest first. A process id that has since been
    // given to another program counts as gone: its start time no longer matches.
    std::vector<RecoveryCopy> FindAbandoned() const;

private:
    std::string m_folder;
    long m_pid;
};

// Reads a copy; false (with a message fit for the user) when it cannot be read.
FileResult ReadRecoveryCopy(const RecoveryCopy& copy, std::string& bytes);
// Removes a copy's files.
void DiscardRecoveryCopy(const RecoveryCopy& copy);

// What a recovery copy of the open resume holds: the .tlx bytes for TLX Nodes, the view's RTF
// or plain text for the Resume View.
std::string RecoveryBytes(const NodeTree& tree, const ResumeView& view);

// Replaces the open resume with a copy: it opens as a resume with unsaved changes under its
// original file's path, so Save writes it back there. False (the user told, and the fresh
// resume left) when the copy cannot be read or is damaged.
bool RestoreRecoveryCopy(const RecoveryCopy& copy, NodeTree& tree, ResumeView& view, CTLXDoc& doc,
                         EngineLog& log, Prompter& prompter);

// The start time of a running process in clock ticks since boot, from /proc; 0 when unknown.
unsigned long long ProcessStartTime(long pid);

} // namespace trellic
