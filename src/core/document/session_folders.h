#pragma once

#include <string>
#include <utility>
#include <vector>

namespace trellic {

// Where the file choosers of one run start. The user's documents folder at first, then the
// folder the user last opened from or saved to; nothing is kept between runs. The program's own
// folders (read-only once installed) and its data folders are never offered for the user's
// files, even when a file was opened from there.
class SessionFolders {
public:
    // The user's documents folder; empty (the chooser's own choice) until the desktop names one.
    void SetDocumentsFolder(std::string folder) { m_documents = std::move(folder); }
    // A folder, with everything below it, that holds the program's files rather than the user's.
    void AddProgramFolder(std::string folder);

    // Open: the last folder used in this run, else the documents folder.
    std::string OpenFolder() const;
    // Save As and exports: beside the resume's file when it has one of the user's, else as Open.
    std::string SaveFolder(const std::string& filePath) const;
    // The name an export suggests (without folder or extension): the resume's own file name
    // when the file is the user's, else fallback.
    std::string ExportName(const std::string& resumePath, const std::string& fallback) const;
    // Remembers the folder of a file the user chose, unless it is one of the program's.
    void Used(const std::string& path);

    bool IsProgramPath(const std::string& path) const;

private:
    std::string m_documents;
    std::string m_lastUsed;
    std::vector<std::string> m_programFolders;
};

// The folder part of a path (without the separator), or empty when it has none.
std::string FolderOf(const std::string& path);
// A path's file name without its folder and its last extension: "/cv/Jan Kowalski.tlx" gives
// "Jan Kowalski".
std::string BaseNameOf(const std::string& path);

} // namespace trellic
