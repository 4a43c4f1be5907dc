#include "document/tlx_doc.h"

#include "engine/engine_log.h"
#include "engine/file_io.h"
#include "engine/prompter.h"
#include "formats/file_content.h"
#include "model/tlx_file.h"
#include "presets/node_presets.h"
#include "render/render_driver.h"
#include "render/resume_view.h"

#include <utility>

namespace trellic {

namespace {

constexpr const char* kCloseQuestion = "The active resume is about to be closed. Are you sure you "
                                       "want to continue? This operation cannot be undone.";
constexpr const char* kUnknownFileWarning =
    "WARNING: Trellic will use TXT rendering for this file.\r\n\r\n";

// Resume files larger than this are not resumes; refusing them keeps a mistaken choice from
// exhausting memory.
constexpr std::size_t kMaxResumeFileBytes = std::size_t{256} << 20;

std::string FileNameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::string FileExtension(const std::string& path) {
    const std::string name = FileNameOf(path);
    const auto dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

bool IsResumeExtension(const std::string& extension) {
    return extension == "tlx" || extension == "rtf" || extension == "txt";
}

// A chosen file, read and checked, waiting for the close question.
struct CTLXDoc::Candidate {
    std::unique_ptr<NodeTree> tree; // TLX Nodes
    std::string bytes;              // Resume View text
};

CTLXDoc::CTLXDoc(NodeTree& tree, ResumeView& view, EngineLog& log, Prompter& prompter)
    : m_tree(tree), m_view(view), m_log(log), m_prompter(prompter) {}

void CTLXDoc::AddObserver(DocumentObserver& observer) {
    if (m_observers.empty()) {
        m_announced = CurrentState();
    }
    m_observers.push_back(&observer);
}

void CTLXDoc::RemoveObserver(DocumentObserver& observer) {
    std::erase(m_observers, &observer);
}

void CTLXDoc::TreeChanged() {
    Announcement announce(*this);
}

void CTLXDoc::AdoptRecoveredPath(const std::string& path) {
    Announcement announce(*this);
    m_tree.filePath = path;
    m_pathName = path;
}

CTLXDoc::AnnouncedState CTLXDoc::CurrentState() const {
    AnnouncedState state;
    state.tree = WriteTLX(m_tree);
    state.marks = m_marks; // the protection mark is announced as protection
    state.marks.rnsEnabled = false;
    state.renderer = m_tree.renderer;
    state.dataSource = m_tree.dataSource;
    state.filePath = m_tree.filePath;
    state.pathName = m_pathName;
    state.modified = IsModified();
    state.protectedNow = IsProtected();
    return state;
}

void CTLXDoc::Announce() {
    if (m_observers.empty()) {
        return;
    }
    AnnouncedState now = CurrentState();
    const AnnouncedState before = std::exchange(m_announced, now);
    const bool tree = now.tree != before.tree;
    const bool settings = now.marks != before.marks || now.renderer != before.renderer ||
                          now.dataSource != before.dataSource;
    const bool fileName = now.filePath != before.filePath || now.pathName != before.pathName;
    // A handler may unsubscribe; the list it leaves behind must not be walked.
    const std::vector<DocumentObserver*> observers = m_observers;
    for (DocumentObserver* observer : observers) {
        if (tree) {
            observer->OnTreeChanged();
        }
        if (settings) {
            observer->OnSettingsChanged();
        }
        if (fileName) {
            observer->OnFileNameChanged();
        }
        if (now.protectedNow != before.protectedNow) {
            observer->OnProtectionChanged(now.protectedNow);
        }
        if (now.modified != before.modified) {
            observer->OnModifiedChanged(now.modified);
        }
    }
}

std::string CTLXDoc::Title() const {
    return m_pathName.empty() ? std::string("Untitled") : FileNameOf(m_pathName);
}

MenuMarks CTLXDoc::Marks() const {
    MenuMarks marks = m_marks;
    marks.rnsEnabled = IsProtected();
    return marks;
}

void CTLXDoc::SyncProtectionFlag() {
    m_tree.rnsEnabled = IsProtected();
}

std::string CTLXDoc::Fingerprint() const {
    // The tree's own bytes hold every record, style and the renderer; the data source and the
    // file name complete the settings. A renderer switch in the Resume View re-renders the text
    // and empties the file name, so it counts even though the view's flag is cleared.
    std::string print = WriteTLX(m_tree);
    print += static_cast<char>('0' + m_tree.dataSource);
    print += m_tree.filePath;
    return print;
}

void CTLXDoc::MarkSaved() {
    m_savedFingerprint = Fingerprint();
    m_view.SetModified(false);
}

bool CTLXDoc::IsModified() const {
    if (m_tree.dataSource != kDataSourceNodes && m_view.IsModified()) {
        return true;
    }
    return Fingerprint() != m_savedFingerprint;
}

void CTLXDoc::ResetTree() {
    ResetNodeTree(m_tree, m_log, m_prompter);
    SyncProtectionFlag();
}

void CTLXDoc::EmptyView() {
    m_view.ReplaceContent(RichDocument{}, TextRange{});
}

void CTLXDoc::OnNewDocument() {
    Announcement announce(*this);
    EmptyView();
    m_pathName.clear();
    ResetTree();
    if (m_tree.resetCount > 1) {
        m_marks.renderer = kRendererRtf;
        m_marks.dataSource = kDataSourceNodes;
        ResetViewFormatting(m_view);
    }
    MarkSaved();
}

bool CTLXDoc::FileNew() {
    Announcement announce(*this);
    if (!SaveModified()) {
        return false;
    }
    OnNewDocument();
    return true;
}

bool CTLXDoc::SaveModified() {
    Announcement announce(*this);
    if (!IsModified()) {
        return m_prompter.AskYesNo(kCloseQuestion);
    }
    switch (m_prompter.AskSaveDiscardCancel(kCloseQuestion)) {
    case SaveChoice::Save:
        // A save that was cancelled or failed keeps the resume open: its changes exist nowhere
        // else.
        return SaveResume(false);
    case SaveChoice::Discard:
        return true;
    case SaveChoice::Cancel:
        break;
    }
    return false;
}

bool CTLXDoc::OpenResume(const std::string& initialFolder) {
    FileDialogOptions options;
    options.defaultExtension = "tlx";
    options.filter = kTrellicFileFilter;
    options.initialFolder = initialFolder;
    options.hideReadOnly = true;
    options.pathMustExist = true;
    options.fileMustExist = true;
    const auto chosen = m_prompter.ChooseOpenFile(options);
    if (!chosen) {
        return false;
    }
    return OpenResumeFile(*chosen);
}

bool CTLXDoc::OpenResumeFile(const std::string& path, bool askToClose) {
    Announcement announce(*this);
    m_log.AppendLog("EXEC: Trellic 'Open' command has started.\r\n\r\n");
    const std::string ext = FileExtension(path);
    int32_t dataSource = kDataSourceViewTxt;
    if (ext == "tlx") {
        m_log.AppendLog("INFO: Loading TLX file.\r\n\r\n");
        dataSource = kDataSourceNodes;
    } else if (ext == "rtf") {
        m_log.AppendLog("INFO: Loading RTF file.\r\n\r\n");
        dataSource = kDataSourceViewRtf;
    } else {
        if (ext != "txt") {
            m_log.AppendLog(std::string("INFO: Loading unknown file.\r\n\r\n") +
                            kUnknownFileWarning);
        }
        m_log.AppendLog("INFO: Loading TXT file.\r\n\r\n");
    }
    m_log.AppendLog("MEM: Loaded file: " + path + "\r\n\r\n");

    // Nothing of the open resume changes until the new file has proved good and the user has
    // agreed to close the old one.
    Candidate candidate;
    if (!ProbeFile(path) || !ReadCandidate(path, dataSource, candidate) ||
        (askToClose && !SaveModified())) {
        RestateProtection();
        return false;
    }
    Adopt(path, dataSource, candidate);
    return true;
}

bool CTLXDoc::ReadCandidate(const std::string& path, int32_t dataSource, Candidate& candidate) {
    const FileResult read = ReadWholeFile(path, candidate.bytes, kMaxResumeFileBytes);
    if (!read.ok) {
        m_prompter.ShowMessage("The resume could not be read from " + read.message + ".",
                               MessageIcon::Exclamation);
        return false;
    }
    if (dataSource == kDataSourceNodes) {
        candidate.tree = std::make_unique<NodeTree>(m_tree.programFolder);
        ResetNodeTree(*candidate.tree, {});
        Archive ar = Archive::ForLoading(candidate.bytes);
        const auto status = ReadTLX(ar, *candidate.tree, m_prompter);
        candidate.bytes.clear();
        if (status == TlxReadStatus::UnexpectedEnd) {
            m_prompter.ShowMessage("Unexpected file format.", MessageIcon::Exclamation);
        }
        // A file with the wrong magic has had its warning from the reader.
        return status == TlxReadStatus::Loaded;
    }
    // Taken as text, a binary file would be shown as noise and then saved over itself.
    if (!LooksLikeText(candidate.bytes)) {
        m_prompter.ShowMessage("The file holds binary data, not text, and cannot be opened as a "
                               "resume:\n\n" +
                                   path,
                               MessageIcon::Exclamation);
        return false;
    }
    if (dataSource == kDataSourceViewRtf && !LooksLikeRtf(candidate.bytes)) {
        m_prompter.ShowMessage("The file is not a rich text file and cannot be opened as one:\n\n" +
                                   path,
                               MessageIcon::Exclamation);
        return false;
    }
    return true;
}

void CTLXDoc::Adopt(const std::string& path, int32_t dataSource, Candidate& candidate) {
    EmptyView();
    ResetTree();
    m_tree.filePath = path;
    m_tree.dataSource = dataSource;
    if (dataSource == kDataSourceNodes) {
        NodeTree& read = *candidate.tree;
        m_tree.renderer = read.renderer;
        m_tree.resume = std::move(read.resume);
        m_tree.headers = std::move(read.headers);
        m_tree.resumeSections = std::move(read.resumeSections);
        m_tree.slFields = std::move(read.slFields);
        m_tree.mlFields = std::move(read.mlFields);
        m_tree.rtfOutputs = std::move(read.rtfOutputs);
        m_tree.txtOutputs = std::move(read.txtOutputs);
        m_tree.activeStack = std::move(read.activeStack);
        m_tree.inactiveStack = std::move(read.inactiveStack);
        m_marks.dataSource = kDataSourceNodes;
        SetRenderer(m_tree.renderer, true);
    } else if (dataSource == kDataSourceViewRtf) {
        SetDataSource(kSetResumeView);
        SetRenderer(kRendererRtf, false);
        m_view.ImportRtf(candidate.bytes);
    } else {
        SetDataSource(kSetResumeView);
        SetRenderer(kRendererTxt, false);
        ResetViewFormatting(m_view);
        m_view.ImportText(candidate.bytes);
    }
    m_pathName = path;
    MarkSaved();
}

bool CTLXDoc::NewFromTemplate() {
    Announcement announce(*this);
    const bool unchanged = !IsModified();
    const bool opened = OpenResume(m_tree.programFolder + "/templates");
    // The template itself is never saved over: the next Save asks for a name. Losing the name
    // alone loses no work, so a resume that had nothing unsaved still has nothing unsaved.
    m_tree.filePath.clear();
    if (opened || unchanged) {
        MarkSaved();
    }
    if (m_tree.dataSource == kDataSourceNodes) {
        const bool design = m_prompter.AskYesNo("Would you like to alter the resume's design?");
        m_prompter.OpenNodeEditor(design ? NodeEditor::Designer : NodeEditor::Explorer);
    }
    return opened;
}

std::string CTLXDoc::ContentBytes() const {
    if (m_tree.dataSource == kDataSourceNodes) {
        return WriteTLX(m_tree);
    }
    if (m_tree.dataSource == kDataSourceViewRtf) {
        return m_view.ExportRtf();
    }
    return m_view.ExportText();
}

bool CTLXDoc::StoreFile(bool protectAgain) {
    // Everything is ready before the lock goes, so the file is unguarded only while written.
    const std::string bytes = ContentBytes();
    const bool wasProtected = IsProtected();
    if (wasProtected) {
        StopRNS(); // the lock would keep the new file from taking the old one's place
    }
    const FileResult written = WriteFileAtomically(m_tree.filePath, bytes);
    const bool lockReported = wasProtected && protectAgain && !StartRNS();
    if (!written.ok) {
        ReportStoreFailure(written, lockReported);
        return false;
    }
    m_prompter.ShowMessage("The resume has been saved.", MessageIcon::Information);
    m_pathName = m_tree.filePath;
    MarkSaved();
    return true;
}

void CTLXDoc::ReportStoreFailure(const FileResult& written, bool lockReported) {
    if (written.failedAt == FileResult::Stage::Locked) {
        // Another program holds the file: the same report as an open that meets it.
        if (!lockReported) {
            ReportEngineError(m_log, m_prompter, RnsErrorBlock());
        }
        return;
    }
    m_prompter.ShowMessage("The resume could not be saved to " + written.message +
                               ". The file on disk has not been changed.",
                           MessageIcon::Exclamation);
}

bool CTLXDoc::SaveResume(bool askName) {
    Announcement announce(*this);
    m_log.AppendLog("EXEC: Trellic 'Save' command has started.\r\n\r\n");
    // A file of another program's kind (a .docx opened as text) is not written over without
    // the user naming it again.
    if (!askName &&
        (m_tree.filePath.empty() || !IsResumeExtension(FileExtension(m_tree.filePath)))) {
        askName = true;
    }
    if (!askName) {
        if (m_tree.dataSource == kDataSourceNodes) {
            m_log.AppendLog("INFO: Saving TLX file.\r\n\r\n");
        } else if (m_tree.dataSource == kDataSourceViewRtf) {
            m_log.AppendLog("INFO: Saving RTF file.\r\n\r\n");
        } else {
            m_log.AppendLog("INFO: Saving TXT file.\r\n\r\n");
        }
        const bool saved = StoreFile(true);
        if (saved) {
            m_log.AppendLog("MEM: Saved file: " + m_tree.filePath + "\r\n\r\n");
        }
        return saved;
    }

    FileDialogOptions options;
    options.defaultExtension = "tlx";
    options.filter = kTrellicFileFilter;
    options.initialName = "My Resume";
    options.overwritePrompt = true;
    options.hideReadOnly = true;
    options.pathMustExist = true;
    const auto chosen = m_prompter.ChooseSaveFile(options);
    if (!chosen) {
        return false;
    }
    const std::string ext = FileExtension(*chosen);
    bool saving = true;
    if (ext == "tlx") {
        if (m_tree.dataSource != kDataSourceNodes) {
            m_prompter.ShowMessage(kUnsupportedConversion, MessageIcon::Information);
            m_log.AppendLog("EXEC: Trellic 'Save' command has been aborted.\r\n\r\n");
            saving = false;
        }
    } else {
        const bool rtf = ext == "rtf";
        const int32_t wanted = rtf ? kDataSourceViewRtf : kDataSourceViewTxt;
        if (m_tree.dataSource != wanted) {
            SetDataSource(kSetResumeView);
            SetRenderer(rtf ? kRendererRtf : kRendererTxt, true);
            if (m_tree.dataSource == kDataSourceNodes) {
                saving = false; // the conversion was declined
            }
        }
    }
    if (!saving) {
        m_prompter.ShowMessage("The resume has not been saved.", MessageIcon::Information);
        return false;
    }

    if (ext == "tlx") {
        m_log.AppendLog("INFO: Saving TLX file.\r\n\r\n");
        m_tree.dataSource = kDataSourceNodes;
    } else if (ext == "rtf") {
        m_log.AppendLog("INFO: Saving RTF file.\r\n\r\n");
        m_tree.dataSource = kDataSourceViewRtf;
    } else {
        if (ext != "txt") {
            m_log.AppendLog(std::string("INFO: Saving unknown file.\r\n\r\n") +
                            kUnknownFileWarning);
        }
        m_log.AppendLog("INFO: Saving TXT file.\r\n\r\n");
        m_tree.dataSource = kDataSourceViewTxt;
    }
    m_tree.filePath = *chosen;
    // Save As lets go of the old file and does not protect the new one.
    const bool saved = StoreFile(false);
    if (saved) {
        m_log.AppendLog("MEM: Saved file: " + m_tree.filePath + "\r\n\r\n");
    }
    return saved;
}

} // namespace trellic
