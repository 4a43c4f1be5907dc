#include "document/tlx_doc.h"

#include "engine/engine_log.h"
#include "engine/file_io.h"
#include "engine/progress.h"
#include "engine/prompter.h"
#include "model/tlx_file.h"
#include "presets/node_presets.h"
#include "presets/user_folders.h"
#include "render/render_driver.h"
#include "render/resume_view.h"
#include "richtext/rtf_reader.h"

#include <optional>
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

// A chosen file, read and checked, waiting for the close question. What takes long with a
// large file (reading its RTF, rendering its nodes) is done here, where cancelling it leaves
// the open resume untouched.
struct CTLXDoc::Candidate {
    std::unique_ptr<NodeTree> tree; // for the formats that hold nodes
    FormatReading reading;
    // The nodes rendered, or the RTF read; empty when the view must do it itself.
    std::optional<RichDocument> document;
    std::vector<std::string> warnings; // the RTF reader's, for the log
};

CTLXDoc::CTLXDoc(NodeTree& tree, ResumeView& view, EngineLog& log, Prompter& prompter,
                 const FormatRegistry& formats)
    : m_tree(tree), m_view(view), m_log(log), m_prompter(prompter), m_formats(formats) {}

const FileFormat& CTLXDoc::ResumeFormat(FormatHolds holds) const {
    const FileFormat* format = m_formats.ResumeFormat(holds);
    return format != nullptr ? *format : *CoreFormatRegistry().ResumeFormat(holds);
}

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
    // The tree's bytes are written once for both questions: a long resume takes a while.
    state.modified = IsModifiedWith(state.tree);
    state.protectedNow = IsProtected();
    return state;
}

void CTLXDoc::Announce() {
    if (m_observers.empty()) {
        return;
    }
    const AnnouncedState before = std::exchange(m_announced, CurrentState());
    const AnnouncedState& now = m_announced;
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
    return IsModifiedWith(WriteTLX(m_tree));
}

bool CTLXDoc::IsModifiedWith(std::string_view treeBytes) const {
    if (m_tree.dataSource != kDataSourceNodes && m_view.IsModified()) {
        return true;
    }
    // Compared piece by piece with the saved fingerprint, rather than building another.
    const std::string_view saved = m_savedFingerprint;
    const std::string_view path = m_tree.filePath;
    return saved.size() != treeBytes.size() + 1 + path.size() ||
           saved.substr(0, treeBytes.size()) != treeBytes ||
           saved[treeBytes.size()] != static_cast<char>('0' + m_tree.dataSource) ||
           saved.substr(treeBytes.size() + 1) != path;
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

namespace {

FileDialogOptions OpenDialogOptions(const FormatRegistry& formats,
                                    const std::string& initialFolder) {
    FileDialogOptions options;
    options.defaultExtension = formats.DefaultResumeExtension();
    options.filter = formats.ResumeDialogFilter();
    options.initialFolder = initialFolder;
    options.hideReadOnly = true;
    options.pathMustExist = true;
    options.fileMustExist = true;
    return options;
}

} // namespace

bool CTLXDoc::OpenResume(const std::string& initialFolder) {
    const auto chosen = m_prompter.ChooseOpenFile(OpenDialogOptions(
        m_formats, initialFolder.empty() ? m_folders.OpenFolder() : initialFolder));
    if (!chosen) {
        return false;
    }
    m_folders.Used(*chosen);
    return OpenResumeFile(*chosen);
}

bool CTLXDoc::OpenResumeFile(const std::string& path, bool askToClose) {
    Announcement announce(*this);
    m_log.AppendLog("EXEC: Trellic 'Open' command has started.\r\n\r\n");
    const FileFormat* format = m_formats.ForExtension(FileExtension(path), FormatRole::Resume);
    if (format == nullptr || !format->Info().reads) {
        m_log.AppendLog(std::string("INFO: Loading unknown file.\r\n\r\n") + kUnknownFileWarning);
        format = &ResumeFormat(FormatHolds::PlainText);
    }
    m_log.AppendLog("INFO: Loading " + format->Info().name + " file.\r\n\r\n");
    m_log.AppendLog("MEM: Loaded file: " + path + "\r\n\r\n");

    // Nothing of the open resume changes until the new file has proved good and the user has
    // agreed to close the old one.
    Candidate candidate;
    const bool read = ProbeFile(path) && ReadCandidate(path, *format, candidate);
    if (m_progress != nullptr) {
        m_progress->Finished();
    }
    if (!read || (askToClose && !SaveModified())) {
        RestateProtection();
        return false;
    }
    Adopt(path, *format, candidate);
    return true;
}

bool CTLXDoc::ReadCandidate(const std::string& path, const FileFormat& format,
                            Candidate& candidate) {
    std::string bytes;
    const FileResult read = ReadWholeFile(path, bytes, kMaxResumeFileBytes);
    if (!read.ok) {
        m_prompter.ShowMessage("The resume could not be read from " + read.message + ".",
                               MessageIcon::Exclamation);
        return false;
    }
    candidate.reading.path = path;
    if (format.Info().holds == FormatHolds::NodeTree) {
        candidate.tree = std::make_unique<NodeTree>(m_tree.programFolder);
        ResetNodeTree(*candidate.tree, {});
        candidate.reading.tree = candidate.tree.get();
    }
    const FormatResult result = format.Read(bytes, candidate.reading);
    if (!result.ok) {
        m_prompter.ShowMessage(result.message, result.icon);
        return false;
    }
    switch (format.Info().holds) {
    case FormatHolds::NodeTree: {
        // Rendered as it would be into the emptied view; short of memory, the view tries
        // again itself and reports it.
        RichDocument rendering;
        RichParaFormat emptied = RichDocument{}.paragraphs.back().format;
        emptied.mask = kPfmAll;
        const RenderResult rendered = RenderNodes(*candidate.tree, m_view.DefaultCharFormat(),
                                                  emptied, rendering, m_progress);
        if (rendered == RenderResult::Cancelled) {
            return Cancelled();
        }
        if (rendered == RenderResult::Rendered) {
            candidate.document = std::move(rendering);
        }
        break;
    }
    case FormatHolds::RichText:
        if (m_progress != nullptr) {
            RtfReadResult rtf = ReadRtf(candidate.reading.viewText, RtfSource::Bytes, m_progress);
            if (rtf.cancelled) {
                return Cancelled();
            }
            if (rtf.isRtf) {
                candidate.document = std::move(rtf.document);
                candidate.warnings = std::move(rtf.warnings);
                candidate.reading.viewText.clear();
            }
        }
        break;
    case FormatHolds::PlainText:
        break;
    }
    return true;
}

bool CTLXDoc::Cancelled() {
    m_log.AppendLog("EXEC: Trellic 'Open' command has been aborted.\r\n\r\n");
    return false;
}

void CTLXDoc::Adopt(const std::string& path, const FileFormat& format, Candidate& candidate) {
    const FormatHolds holds = format.Info().holds;
    EmptyView();
    ResetTree();
    m_tree.filePath = path;
    m_tree.dataSource = DataSourceFor(holds);
    switch (holds) {
    case FormatHolds::NodeTree:
        m_tree.renderer = candidate.tree->renderer;
        static_cast<NodeTables&>(m_tree) = std::move(static_cast<NodeTables&>(*candidate.tree));
        m_marks.dataSource = kDataSourceNodes;
        SetRenderer(m_tree.renderer, !candidate.document);
        if (candidate.document) {
            if (m_tree.renderer == kRendererTxt) {
                m_view.SetDefaultCharFormat(PlainViewCharFormat());
            }
            m_view.ReplaceContent(std::move(*candidate.document), TextRange{});
        }
        break;
    case FormatHolds::RichText: {
        SetDataSource(kSetResumeView);
        SetRenderer(kRendererRtf, false);
        std::vector<std::string> warnings;
        if (candidate.document) {
            m_view.ReplaceContent(std::move(*candidate.document), TextRange{});
            warnings = std::move(candidate.warnings);
            for (std::string& warning : m_view.UnshownPictures()) {
                warnings.push_back(std::move(warning));
            }
        } else {
            warnings = m_view.ImportRtf(candidate.reading.viewText);
        }
        for (const std::string& warning : warnings) {
            m_log.AppendLog("WARNING: " + warning + "\r\n\r\n");
        }
        break;
    }
    case FormatHolds::PlainText:
        SetDataSource(kSetResumeView);
        SetRenderer(kRendererTxt, false);
        ResetViewFormatting(m_view);
        m_view.ImportText(candidate.reading.viewText);
        break;
    }
    m_pathName = path;
    MarkSaved();
}

bool CTLXDoc::ImportResumeFile(const FileFormat& format, const std::string& path) {
    Announcement announce(*this);
    m_log.AppendLog("EXEC: Trellic 'Import' command has started.\r\n\r\n");
    m_log.AppendLog("INFO: Importing " + format.Info().name + " file.\r\n\r\n");
    Candidate candidate;
    const bool read = format.Info().reads && ReadCandidate(path, format, candidate);
    if (m_progress != nullptr) {
        m_progress->Finished();
    }
    if (!read || !SaveModified()) {
        return false;
    }
    Adopt(path, format, candidate);
    // The resume is a new one, not the other program's file: Save asks where it goes. It was
    // just read, so closing it loses nothing.
    m_tree.filePath.clear();
    m_pathName.clear();
    MarkSaved();
    m_log.AppendLog(candidate.reading.logEntry.empty() ? "MEM: Imported file: " + path + "\r\n\r\n"
                                                       : candidate.reading.logEntry);
    return true;
}

FormatResult CTLXDoc::ExportResume(const FileFormat& format, const std::string& path) {
    std::string bytes;
    FormatResult result = format.Write(FormatSource{m_tree, m_view}, bytes);
    if (!result.ok) {
        return result;
    }
    const FileResult written = WriteFileAtomically(path, bytes);
    if (!written.ok) {
        return FormatResult::Failure(written.reason);
    }
    m_log.AppendLog("MEM: Exported " + format.Info().name + ": " + path + "\r\n\r\n");
    return result;
}

bool CTLXDoc::NewFromTemplate() {
    Announcement announce(*this);
    const bool unchanged = !IsModified();
    const std::string folder = m_tree.programFolder + "/templates";
    const auto chosen = m_prompter.ChooseTemplate(TemplateFolders(m_tree.programFolder),
                                                  OpenDialogOptions(m_formats, folder));
    const bool opened = chosen && OpenResumeFile(*chosen);
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

bool CTLXDoc::AdoptImportedResume(NodeTables tables, Renderer renderer) {
    Announcement announce(*this);
    if (!SaveModified()) {
        return false;
    }
    EmptyView();
    ResetTree();
    static_cast<NodeTables&>(m_tree) = std::move(tables);
    m_tree.filePath.clear();
    m_tree.dataSource = kDataSourceNodes;
    m_marks.dataSource = kDataSourceNodes;
    m_pathName.clear();
    // Not marked saved: the imported resume exists in no file of its own yet.
    SetRenderer(renderer, true);
    return true;
}

bool CTLXDoc::StoreFile(bool protectAgain) {
    // Everything is ready before the lock goes, so the file is unguarded only while written.
    std::string bytes;
    const FormatResult content =
        ResumeFormat(HoldsFor(m_tree.dataSource)).Write(FormatSource{m_tree, m_view}, bytes);
    if (!content.ok) {
        m_prompter.ShowMessage(content.message, content.icon);
        return false;
    }
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
        (m_tree.filePath.empty() ||
         m_formats.ForExtension(FileExtension(m_tree.filePath), FormatRole::Resume) == nullptr)) {
        askName = true;
    }
    if (!askName) {
        m_log.AppendLog("INFO: Saving " + ResumeFormat(HoldsFor(m_tree.dataSource)).Info().name +
                        " file.\r\n\r\n");
        const bool saved = StoreFile(true);
        if (saved) {
            m_log.AppendLog("MEM: Saved file: " + m_tree.filePath + "\r\n\r\n");
        }
        return saved;
    }

    FileDialogOptions options;
    options.defaultExtension = m_formats.DefaultResumeExtension();
    options.filter = m_formats.ResumeDialogFilter();
    options.initialName = "My Resume";
    // Never the templates' folder a resume came from: installed, it is read-only.
    options.initialFolder = m_folders.SaveFolder(m_tree.filePath);
    options.overwritePrompt = true;
    options.hideReadOnly = true;
    options.pathMustExist = true;
    const auto chosen = m_prompter.ChooseSaveFile(options);
    if (!chosen) {
        return false;
    }
    m_folders.Used(*chosen);
    // The name's extension decides the format; a name of any other extension is written as
    // plain text.
    const FileFormat* format = m_formats.ForExtension(FileExtension(*chosen), FormatRole::Resume);
    const bool known = format != nullptr && format->Info().writes;
    if (!known) {
        format = &ResumeFormat(FormatHolds::PlainText);
    }
    const FormatHolds holds = format->Info().holds;
    bool saving = true;
    if (holds == FormatHolds::NodeTree) {
        if (m_tree.dataSource != kDataSourceNodes) {
            m_prompter.ShowMessage(kUnsupportedConversion, MessageIcon::Information);
            m_log.AppendLog("EXEC: Trellic 'Save' command has been aborted.\r\n\r\n");
            saving = false;
        }
    } else if (m_tree.dataSource != DataSourceFor(holds)) {
        SetDataSource(kSetResumeView);
        SetRenderer(holds == FormatHolds::RichText ? kRendererRtf : kRendererTxt, true);
        if (m_tree.dataSource == kDataSourceNodes) {
            saving = false; // the conversion was declined
        }
    }
    if (!saving) {
        m_prompter.ShowMessage("The resume has not been saved.", MessageIcon::Information);
        return false;
    }

    if (!known) {
        m_log.AppendLog(std::string("INFO: Saving unknown file.\r\n\r\n") + kUnknownFileWarning);
    }
    m_log.AppendLog("INFO: Saving " + format->Info().name + " file.\r\n\r\n");
    m_tree.dataSource = DataSourceFor(holds);
    m_tree.filePath = *chosen;
    // Save As lets go of the old file and does not protect the new one.
    const bool saved = StoreFile(false);
    if (saved) {
        m_log.AppendLog("MEM: Saved file: " + m_tree.filePath + "\r\n\r\n");
    }
    return saved;
}

} // namespace trellic
