#include "document/tlx_doc.h"

#include "engine/engine_log.h"
#include "engine/file_io.h"
#include "engine/prompter.h"
#include "model/tlx_file.h"
#include "presets/node_presets.h"
#include "render/render_driver.h"
#include "render/resume_view.h"

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

// What an open puts back when it does not go ahead.
struct CTLXDoc::Snapshot {
    bool rnsEnabled = false;
    std::string filePath;
    int32_t dataSource = 0;
    int32_t renderer = 0;
    std::unique_ptr<ResumeNode> resume;
    std::vector<HeaderNode> headers;
    std::vector<ResumeSectionNode> resumeSections;
    std::vector<SLFieldNode> slFields;
    std::vector<MLFieldNode> mlFields;
    std::vector<RTFOutputNode> rtfOutputs;
    std::vector<TXTOutputNode> txtOutputs;
    std::vector<StackEntry> activeStack;
    std::vector<StackEntry> inactiveStack;
    MenuMarks marks;
    std::string pathName;
};

CTLXDoc::CTLXDoc(NodeTree& tree, ResumeView& view, EngineLog& log, Prompter& prompter)
    : m_tree(tree), m_view(view), m_log(log), m_prompter(prompter) {}

std::string CTLXDoc::Title() const {
    return m_pathName.empty() ? std::string("Untitled") : FileNameOf(m_pathName);
}

void CTLXDoc::ResetTree() {
    ResetNodeTree(m_tree, m_log, m_prompter);
    // The reset lets go of a protected file without a word; the mark must not claim otherwise.
    m_marks.rnsEnabled = false;
}

void CTLXDoc::EmptyView() {
    m_view.ReplaceContent(RichDocument{}, TextRange{});
}

void CTLXDoc::OnNewDocument() {
    EmptyView();
    m_pathName.clear();
    ResetTree();
    if (m_tree.resetCount > 1) {
        m_marks.renderer = kRendererRtf;
        m_marks.dataSource = kDataSourceNodes;
        ResetViewFormatting(m_view);
    }
}

bool CTLXDoc::FileNew() {
    if (!SaveModified()) {
        return false;
    }
    OnNewDocument();
    return true;
}

bool CTLXDoc::SaveModified() {
    return m_prompter.AskYesNo(kCloseQuestion);
}

CTLXDoc::Snapshot CTLXDoc::TakeSnapshot() const {
    Snapshot s;
    s.rnsEnabled = m_tree.rnsEnabled;
    s.filePath = m_tree.filePath;
    s.dataSource = m_tree.dataSource;
    s.renderer = m_tree.renderer;
    if (m_tree.resume) {
        s.resume = std::make_unique<ResumeNode>(*m_tree.resume);
    }
    s.headers = m_tree.headers;
    s.resumeSections = m_tree.resumeSections;
    s.slFields = m_tree.slFields;
    s.mlFields = m_tree.mlFields;
    s.rtfOutputs = m_tree.rtfOutputs;
    s.txtOutputs = m_tree.txtOutputs;
    s.activeStack = m_tree.activeStack;
    s.inactiveStack = m_tree.inactiveStack;
    s.marks = m_marks;
    s.pathName = m_pathName;
    return s;
}

void CTLXDoc::Restore(Snapshot& s) {
    m_tree.filePath = std::move(s.filePath);
    m_tree.dataSource = s.dataSource;
    m_tree.renderer = s.renderer;
    m_tree.resume = std::move(s.resume);
    m_tree.headers = std::move(s.headers);
    m_tree.resumeSections = std::move(s.resumeSections);
    m_tree.slFields = std::move(s.slFields);
    m_tree.mlFields = std::move(s.mlFields);
    m_tree.rtfOutputs = std::move(s.rtfOutputs);
    m_tree.txtOutputs = std::move(s.txtOutputs);
    m_tree.activeStack = std::move(s.activeStack);
    m_tree.inactiveStack = std::move(s.inactiveStack);
    m_marks = s.marks;
    m_pathName = std::move(s.pathName);
    // The reset let go of a protected file; take it again, quietly, as nothing was meant to
    // change.
    m_tree.rnsEnabled = s.rnsEnabled && m_tree.rnsFile.Open(m_tree.filePath);
    m_marks.rnsEnabled = m_tree.rnsEnabled;
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

    m_log.AppendLog("EXEC: Trellic 'Open' command has started.\r\n\r\n");
    Snapshot previous = TakeSnapshot();
    ResetTree();
    m_tree.filePath = *chosen;

    const std::string loaded = "MEM: Loaded file: " + m_tree.filePath + "\r\n\r\n";
    const std::string ext = FileExtension(m_tree.filePath);
    if (ext == "tlx") {
        m_log.AppendLog("INFO: Loading TLX file.\r\n\r\n");
        m_tree.dataSource = kDataSourceNodes;
    } else if (ext == "rtf") {
        m_log.AppendLog("INFO: Loading RTF file.\r\n\r\n");
        m_tree.dataSource = kDataSourceViewRtf;
    } else {
        if (ext != "txt") {
            m_log.AppendLog(std::string("INFO: Loading unknown file.\r\n\r\n") +
                            kUnknownFileWarning);
        }
        m_log.AppendLog("INFO: Loading TXT file.\r\n\r\n");
        m_tree.dataSource = kDataSourceViewTxt;
    }
    m_log.AppendLog(loaded);

    // The probe: a file another program holds, or one that is gone, is not opened.
    if (!StartRNS()) {
        Restore(previous);
        return false;
    }
    StopRNS();
    if (!SaveModified()) {
        Restore(previous);
        return false;
    }
    EmptyView();
    return LoadFile();
}

bool CTLXDoc::LoadFile() {
    const std::string path = m_tree.filePath;
    std::string bytes;
    const FileResult read = ReadWholeFile(path, bytes, kMaxResumeFileBytes);
    bool ok = read.ok;
    if (!ok) {
        m_prompter.ShowMessage("The resume could not be read from " + read.message + ".",
                               MessageIcon::Exclamation);
    } else if (m_tree.dataSource == kDataSourceNodes) {
        m_marks.dataSource = kDataSourceNodes;
        Archive ar = Archive::ForLoading(bytes);
        const auto status = ReadTLX(ar, m_tree, m_prompter,
                                    [this](NodeTree& tree) { SetRenderer(tree.renderer, true); });
        if (status == TlxReadStatus::UnexpectedEnd) {
            m_prompter.ShowMessage("Unexpected file format.", MessageIcon::Exclamation);
            ok = false;
        } else if (status == TlxReadStatus::InvalidMagic) {
            // The file is no resume: keep the empty one, but never save it over that file.
            m_tree.filePath.clear();
            m_pathName.clear();
            return false;
        }
    } else if (m_tree.dataSource == kDataSourceViewRtf) {
        SetDataSource(kSetResumeView);
        SetRenderer(kRendererRtf, false);
        m_view.ImportRtf(bytes);
    } else {
        SetDataSource(kSetResumeView);
        SetRenderer(kRendererTxt, false);
        ResetViewFormatting(m_view);
        m_view.ImportText(bytes);
    }
    if (!ok) {
        // The old resume is already closed; what was read of the new one must not be taken
        // for it, so the document starts afresh, as File New would.
        OnNewDocument();
        return false;
    }
    m_pathName = path;
    return true;
}

bool CTLXDoc::NewFromTemplate() {
    const bool opened = OpenResume(m_tree.programFolder + "/templates");
    // The template itself is never saved over: the next Save asks for a name.
    m_tree.filePath.clear();
    if (m_tree.dataSource == kDataSourceNodes) {
        const bool design = m_prompter.AskYesNo("Would you like to alter the resume's design?");
        m_prompter.OpenNodeEditor(design ? NodeEditor::Designer : NodeEditor::Explorer);
    }
    return opened;
}

bool CTLXDoc::StoreFile() {
    std::string bytes;
    if (m_tree.dataSource == kDataSourceNodes) {
        bytes = WriteTLX(m_tree);
    } else if (m_tree.dataSource == kDataSourceViewRtf) {
        bytes = m_view.ExportRtf();
    } else {
        bytes = m_view.ExportText();
    }
    const FileResult written = WriteFileAtomically(m_tree.filePath, bytes);
    if (!written.ok) {
        m_prompter.ShowMessage("The resume could not be saved to " + written.message +
                                   ". The file on disk has not been changed.",
                               MessageIcon::Exclamation);
        return false;
    }
    m_prompter.ShowMessage("The resume has been saved.", MessageIcon::Information);
    m_pathName = m_tree.filePath;
    return true;
}

bool CTLXDoc::SaveResume(bool askName) {
    m_log.AppendLog("EXEC: Trellic 'Save' command has started.\r\n\r\n");
    if (!askName && m_tree.filePath.empty()) {
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
        const bool wasProtected = m_tree.rnsEnabled;
        if (wasProtected) {
            StopRNS(); // the lock would keep the new file from taking the old one's place
        }
        const bool saved = StoreFile();
        if (wasProtected) {
            StartRNS();
        }
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
    if (m_tree.rnsEnabled) {
        StopRNS();
    }
    const bool saved = StoreFile();
    if (saved) {
        m_log.AppendLog("MEM: Saved file: " + m_tree.filePath + "\r\n\r\n");
    }
    return saved;
}

} // namespace trellic
