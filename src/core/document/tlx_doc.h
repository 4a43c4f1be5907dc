#pragma once

#include "model/node_tree.h"

#include <optional>
#include <string>

namespace trellic {

class EngineLog;
class Prompter;
class ResumeView;

// The check marks of the File menu's three radio groups. Only the document's operations move
// them, so after a reset they can disagree with the tree until the caller puts them back.
struct MenuMarks {
    int32_t renderer = kRendererRtf;
    int32_t dataSource = kDataSourceNodes; // 0 TLX Nodes, otherwise Resume View
    bool rnsEnabled = false;

    bool operator==(const MenuMarks&) const = default;
};

inline constexpr const char* kTrellicFileFilter =
    "Trellic Files (*.tlx)|*.tlx|Rich Text Files (*.rtf)|*.rtf|Text Files (*.txt)|*.txt|"
    "All Files (*.*)|*.*||";
inline constexpr const char* kNodeCommandRefusal =
    "This function uses the TLX Nodes data source and consequently cannot execute.";
inline constexpr const char* kUnsupportedConversion =
    "Conversion from the Resume View data source to the TLX Nodes data source is unsupported.";

// The open resume as a document: new, open, save and templates, file protection, the renderer
// and the data source. It owns none of its parts; the node tree, the view, the log and the
// prompter outlive it. Everything the user must know goes through the prompter.
class CTLXDoc {
public:
    CTLXDoc(NodeTree& tree, ResumeView& view, EngineLog& log, Prompter& prompter);

    // The new-document step: the tree is reset; from the second reset on, the menu marks and
    // the view's formatting are put back too. Nothing is rendered.
    void OnNewDocument();
    // File > New: the close question, then an emptied view and OnNewDocument.
    bool FileNew();
    // The close question, asked every time a resume is about to be replaced or closed.
    bool SaveModified();

    // File > Open (and the start of New from Template): asks for a file and opens it. True when
    // a resume was loaded. An open that does not go ahead leaves the previous resume as it was.
    bool OpenResume(const std::string& initialFolder = {});
    // File > New from Template: opens a resume from the templates folder without its path, then
    // offers the designer or the explorer for a node tree.
    bool NewFromTemplate();
    // File > Save (askName false: asks only when the resume has no file yet) and File > Save
    // As (askName true). True when the file was written completely.
    bool SaveResume(bool askName);

    // Protection of the open file against other programs.
    bool StartRNS();
    void StopRNS();
    // Activates a renderer (any value but 0 is TXT) and renders at once when asked.
    void SetRenderer(int32_t renderer, bool renderNow);
    // Switches to TLX Nodes (kSetNodes; refused from the Resume View) or converts to the Resume
    // View (kSetResumeView).
    static constexpr int32_t kSetNodes = 0;
    static constexpr int32_t kSetResumeView = 1;
    void SetDataSource(int32_t dataSource);
    // The guard of the commands that work on nodes: refuses with a message in the Resume View.
    bool RequireNodeDataSource();

    const MenuMarks& Marks() const { return m_marks; }
    // The framework's path of the document: the file last opened or saved, empty for a new one.
    const std::string& PathName() const { return m_pathName; }
    // The window title's document part: the file's name, or "Untitled".
    std::string Title() const;

private:
    struct Snapshot;

    // Loads filePath by the data source; false (after telling the user) when it could not be
    // read.
    bool LoadFile();
    // Writes the resume to filePath by the data source; tells the user either way.
    bool StoreFile();
    Snapshot TakeSnapshot() const;
    void Restore(Snapshot& snapshot);
    void ResetTree();
    void EmptyView();

    NodeTree& m_tree;
    ResumeView& m_view;
    EngineLog& m_log;
    Prompter& m_prompter;
    MenuMarks m_marks;
    std::string m_pathName;
};

// The extension of a path's file name without the dot, as written; empty when it has none.
std::string FileExtension(const std::string& path);

} // namespace trellic
