#pragma once

#include "document/document_observer.h"
#include "document/session_folders.h"
#include "formats/format_registry.h"
#include "model/node_tree.h"

#include <optional>
#include <string>
#include <string_view>

namespace trellic {

class EngineLog;
class ProgressPort;
class Prompter;
class ResumeView;
struct FileResult;

// The check marks of the File menu's three radio groups. Only the document's operations move
// the renderer and data source marks, so after a reset they can disagree with the tree until
// the caller puts them back. The protection mark is the lock itself: it cannot disagree.
struct MenuMarks {
    Renderer renderer = kRendererRtf;
    DataSource dataSource = kDataSourceNodes; // TLX Nodes, otherwise Resume View
    bool rnsEnabled = false;

    bool operator==(const MenuMarks&) const = default;
};

// The filter the resume formats give the file dialogs of Open, New from Template and Save As.
inline constexpr const char* kTrellicFileFilter =
    "Trellic Files (*.tlx)|*.tlx|Rich Text Files (*.rtf)|*.rtf|Text Files (*.txt)|*.txt|"
    "All Files (*.*)|*.*||";
inline constexpr const char* kNodeCommandRefusal =
    "This function uses the TLX Nodes data source and consequently cannot execute.";
inline constexpr const char* kUnsupportedConversion =
    "Conversion from the Resume View data source to the TLX Nodes data source is unsupported.";

// The open resume as a document: new, open, save and templates, file protection, the renderer
// and the data source. It owns none of its parts; the node tree, the view, the log and the
// prompter outlive it. Everything the user must know goes through the prompter. Files are read
// and written by the formats of a registry, which outlives the document too.
class CTLXDoc {
public:
    CTLXDoc(NodeTree& tree, ResumeView& view, EngineLog& log, Prompter& prompter,
            const FormatRegistry& formats = CoreFormatRegistry());

    // The new-document step: the tree is reset; from the second reset on, the menu marks and
    // the view's formatting are put back too. Nothing is rendered.
    void OnNewDocument();
    // File > New: the close question, then an emptied view and OnNewDocument.
    bool FileNew();
    // The close question, asked every time a resume is about to be replaced or closed. With
    // unsaved changes it offers to save them first; false when the resume must stay open.
    bool SaveModified();
    // Whether the resume differs from what was last opened, saved or newly created: its tree,
    // its settings and file name, and in the Resume View the view's text.
    bool IsModified() const;

    // File > Open (and the start of New from Template): asks for a file and opens it. True when
    // a resume was loaded. An open that does not go ahead leaves the previous resume as it was.
    bool OpenResume(const std::string& initialFolder = {});
    // Open without the file dialog (a file named when the program starts). The chosen file is
    // read and checked completely before the open resume is closed; askToClose false skips the
    // close question, for when there is nothing the user could lose.
    bool OpenResumeFile(const std::string& path, bool askToClose = true);
    // File > New from Template: opens a resume from the templates (the program's and the
    // user's) without its path, then offers the designer or the explorer for a node tree.
    bool NewFromTemplate();
    // File > Import: after the close question, the imported tables replace the open resume as a
    // new, unsaved document in TLX Nodes, rendered with the given renderer. False (the open
    // resume untouched) when the user keeps the open resume.
    bool AdoptImportedResume(NodeTables tables, Renderer renderer);
    // File > Save (askName false: asks only when the resume has no file yet) and File > Save
    // As (askName true). True when the file was written completely.
    bool SaveResume(bool askName);

    // File > Import: replaces the resume by one read from another program's file, as an open
    // does but without a file name, so that the next Save asks for one. True when it was read.
    bool ImportResumeFile(const FileFormat& format, const std::string& path);
    // File > Export: writes the resume in another program's format; the resume stays as it is.
    // A failure says why, for the caller to word.
    FormatResult ExportResume(const FileFormat& format, const std::string& path);

    const FormatRegistry& Formats() const { return m_formats; }

    // Protection of the open file against other programs.
    bool StartRNS();
    void StopRNS();
    // Whether the file is held now; the menu mark, the status pane and the tree's flag follow.
    bool IsProtected() const { return m_tree.rnsFile.IsOpen(); }
    // Activates a renderer (any value but RTF is TXT) and renders at once when asked.
    void SetRenderer(Renderer renderer, bool renderNow);
    // The File menu's data source commands: switch to TLX Nodes (refused from the Resume View)
    // or convert to the Resume View.
    enum class DataSourceSwitch { Nodes, ResumeView };
    static constexpr DataSourceSwitch kSetNodes = DataSourceSwitch::Nodes;
    static constexpr DataSourceSwitch kSetResumeView = DataSourceSwitch::ResumeView;
    void SetDataSource(DataSourceSwitch target);
    // The guard of the commands that work on nodes: refuses with a message in the Resume View.
    bool RequireNodeDataSource();

    MenuMarks Marks() const;
    // The framework's path of the document: the file last opened or saved, empty for a new one.
    const std::string& PathName() const { return m_pathName; }
    // A recovered resume takes its original file's name, unsaved: the next Save writes there.
    void AdoptRecoveredPath(const std::string& path);
    // The window title's document part: the file's name, or "Untitled".
    std::string Title() const;
    // Where this run's file choosers start.
    SessionFolders& Folders() { return m_folders; }

    // Opening a large file reports its progress here and can be cancelled there; null (the
    // default) for none. The port must outlive its use.
    void SetProgressPort(ProgressPort* progress) { m_progress = progress; }

    // Observers are told of changes until they are removed; they must outlive their
    // subscription.
    void AddObserver(DocumentObserver& observer);
    void RemoveObserver(DocumentObserver& observer);
    // For those who change the tree's records directly (the node editors): announces what
    // changed.
    void TreeChanged();

private:
    struct Candidate;
    // Marks one document operation; when the outermost ends, observers hear what it changed.
    class Announcement {
    public:
        explicit Announcement(CTLXDoc& doc) : m_doc(doc) { ++m_doc.m_operationDepth; }
        ~Announcement() {
            if (--m_doc.m_operationDepth == 0) {
                m_doc.Announce();
            }
        }
        Announcement(const Announcement&) = delete;
        Announcement& operator=(const Announcement&) = delete;

    private:
        CTLXDoc& m_doc;
    };
    // What observers were last told, to announce only differences.
    struct AnnouncedState {
        std::string tree;
        MenuMarks marks;
        Renderer renderer = kRendererRtf;
        DataSource dataSource = kDataSourceNodes;
        std::string filePath;
        std::string pathName;
        bool modified = false;
        bool protectedNow = false;
    };
    AnnouncedState CurrentState() const;
    void Announce();

    // The protection probe of Open: logs the module's lines and reports a file that another
    // program holds or that is gone, without touching the lock of the open resume.
    bool ProbeFile(const std::string& path);
    // After an open that did not go ahead, the log's last word on protection must be the state
    // the open resume is still in.
    void RestateProtection();
    // The resume format whose files hold this: the registry's, else the core's.
    const FileFormat& ResumeFormat(FormatHolds holds) const;
    // Reads and checks a chosen file without touching the open resume; false after telling the
    // user why it cannot be opened.
    bool ReadCandidate(const std::string& path, const FileFormat& format, Candidate& candidate);
    // Logs that the user cancelled the open; false.
    bool Cancelled();
    // Replaces the open resume by a checked candidate.
    void Adopt(const std::string& path, const FileFormat& format, Candidate& candidate);
    // Writes the resume to filePath by the data source; tells the user either way. A held lock
    // is let go only for the write itself and, when protectAgain, taken back before anything
    // is said.
    bool StoreFile(bool protectAgain);
    // Reports a save that failed; lockReported when the retaken lock has already said why.
    void ReportStoreFailure(const FileResult& written, bool lockReported);
    void SyncProtectionFlag();
    static const std::string& RnsErrorBlock();
    std::string Fingerprint() const;
    // IsModified for the tree that writes as these bytes, which the caller has at hand.
    bool IsModifiedWith(std::string_view treeBytes) const;
    void MarkSaved();
    void ResetTree();
    void EmptyView();

    NodeTree& m_tree;
    ResumeView& m_view;
    EngineLog& m_log;
    Prompter& m_prompter;
    const FormatRegistry& m_formats;
    ProgressPort* m_progress = nullptr;
    MenuMarks m_marks;
    std::string m_pathName;
    SessionFolders m_folders;
    // The resume as last opened, saved or created, to tell whether closing it loses anything.
    std::string m_savedFingerprint;
    std::vector<DocumentObserver*> m_observers;
    AnnouncedState m_announced;
    // Operations run inside each other (Open asks to close, which may save); only the outermost
    // announces.
    int m_operationDepth = 0;
};

} // namespace trellic
