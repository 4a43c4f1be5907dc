// File protection, the renderer and the data source of the open resume.

#include "document/tlx_doc.h"
#include "engine/engine_log.h"
#include "engine/file_io.h"
#include "engine/prompter.h"
#include "presets/node_presets.h"
#include "render/render_driver.h"

namespace trellic {

namespace {

const std::string kRnsErrorBlock = ErrorBlock(
    "RNS", "Resume Network Security could not be enabled.",
    "Trellic was either unable to open the file because it is already in use or that the file "
    "doesn't exist (i.e. there is no file to protect).",
    "Check to see that you have read and write access to the file/directory, and that the file "
    "isn't already open. If this is a new resume, make sure you have saved the file before "
    "enabling RNS. Finally, if all else fails, try copying the file to a floppy disk (or other "
    "removable media) and then opening it from the disk.",
    "Resume Network Security will remain disabled. If the file is in use, it will not be "
    "opened. All other program operations remain unaffected.");

constexpr const char* kModuleStarted =
    "INFO: Resume Network Security (RNS) module has started.\r\n\r\n";
constexpr const char* kUnprotected = "RNS: File appears to be unprotected.\r\n\r\n";
constexpr const char* kProtected = "RNS: File appears to be protected.\r\n\r\n";
constexpr const char* kEnabled = "INFO: Resume Network Security (RNS) is enabled. External file "
                                 "access will be denied.\r\n\r\n";
constexpr const char* kDisabled = "INFO: Resume Network Security (RNS) is disabled. External "
                                  "file access will be granted.\r\n\r\n";
constexpr const char* kModuleStopped =
    "INFO: Resume Network Security (RNS) module has stopped.\r\n\r\n";

} // namespace

const std::string& CTLXDoc::RnsErrorBlock() {
    return kRnsErrorBlock;
}

bool CTLXDoc::StartRNS() {
    Announcement announce(*this);
    m_log.AppendLog(kModuleStarted);
    m_tree.rnsFile.Close();
    const bool held = !m_tree.filePath.empty() && m_tree.rnsFile.Open(m_tree.filePath);
    SyncProtectionFlag();
    if (held) {
        m_log.AppendLog(kUnprotected);
        m_log.AppendLog(kEnabled);
        return true;
    }
    m_log.AppendLog(kProtected);
    StopRNS();
    ReportEngineError(m_log, m_prompter, kRnsErrorBlock);
    return false;
}

void CTLXDoc::StopRNS() {
    Announcement announce(*this);
    m_log.AppendLog(kDisabled);
    m_log.AppendLog(kModuleStopped);
    m_tree.rnsFile.Close();
    SyncProtectionFlag();
}

bool CTLXDoc::ProbeFile(const std::string& path) {
    m_log.AppendLog(kModuleStarted);
    // The file this program holds is free as far as others go; a second lock of our own on it
    // would only fail.
    bool free = IsProtected() && path == m_tree.filePath;
    if (!free) {
        ProtectedFile probe;
        free = !path.empty() && probe.Open(path);
    }
    if (free) {
        m_log.AppendLog(kUnprotected);
        m_log.AppendLog(kEnabled);
        m_log.AppendLog(kDisabled);
        m_log.AppendLog(kModuleStopped);
        return true;
    }
    m_log.AppendLog(kProtected);
    m_log.AppendLog(kDisabled);
    m_log.AppendLog(kModuleStopped);
    ReportEngineError(m_log, m_prompter, kRnsErrorBlock);
    return false;
}

void CTLXDoc::RestateProtection() {
    if (IsProtected()) {
        m_log.AppendLog(kEnabled);
    }
}

void CTLXDoc::SetRenderer(Renderer renderer, bool renderNow) {
    Announcement announce(*this);
    // A damaged file may name a renderer that does not exist; all but RTF render as text.
    const Renderer r = renderer == kRendererRtf ? kRendererRtf : kRendererTxt;
    m_marks.renderer = r;
    m_tree.renderer = r;
    if (m_tree.dataSource == kDataSourceNodes) {
        if (m_tree.resume) {
            m_tree.resume->renderer = r;
        }
    } else if (m_tree.dataSource == kDataSourceViewRtf && r == kRendererTxt) {
        // The file's format changes with the renderer: the next Save asks for a name.
        m_tree.dataSource = kDataSourceViewTxt;
        m_tree.filePath.clear();
    } else if (m_tree.dataSource == kDataSourceViewTxt && r == kRendererRtf) {
        m_tree.dataSource = kDataSourceViewRtf;
        m_tree.filePath.clear();
    }
    m_log.AppendLog(r == kRendererRtf ? "EXEC: RTF Renderer activated.\r\n\r\n"
                                      : "EXEC: TXT Renderer activated.\r\n\r\n");
    if (renderNow && !RenderResume(m_tree, m_view)) {
        // The view still shows what it showed; the user must know it is not this resume.
        ReportEngineError(
            m_log, m_prompter,
            ErrorBlock("RENDER", "The resume could not be rendered.",
                       "There was not enough memory to render every node of the resume.",
                       "Remove nodes from the active stack, or close other programs, and "
                       "render again.",
                       "The view does not show the resume's nodes as they stand."));
    }
}

void CTLXDoc::SetDataSource(DataSourceSwitch target) {
    Announcement announce(*this);
    if (target == DataSourceSwitch::Nodes) {
        if (m_tree.dataSource != kDataSourceNodes) {
            m_prompter.ShowMessage(kUnsupportedConversion, MessageIcon::Information);
            return;
        }
        m_marks.dataSource = kDataSourceNodes;
        return;
    }
    if (m_tree.dataSource != kDataSourceNodes) {
        m_marks.dataSource = m_tree.dataSource;
        return;
    }
    if (!m_prompter.AskYesNo("Are you sure you want to convert to the Resume View data source? "
                             "This operation cannot be undone.")) {
        return;
    }
    const Renderer renderer = m_tree.renderer;
    ResetTree();
    m_tree.dataSource = renderer == kRendererTxt ? kDataSourceViewTxt : kDataSourceViewRtf;
    m_marks.dataSource = m_tree.dataSource;
    // The view still shows the last rendering of the nodes: that text is the resume now.
    SetRenderer(renderer, true);
}

bool CTLXDoc::RequireNodeDataSource() {
    if (m_tree.dataSource != kDataSourceNodes) {
        m_prompter.ShowMessage(kNodeCommandRefusal, MessageIcon::Information);
        return false;
    }
    return true;
}

} // namespace trellic
