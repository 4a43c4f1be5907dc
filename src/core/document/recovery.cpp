#include "document/recovery.h"

#include "document/tlx_doc.h"
#include "document/undo_history.h"
#include "engine/engine_log.h"
#include "engine/prompter.h"
#include "engine/text_file.h"
#include "formats/format_registry.h"
#include "model/tlx_file.h"
#include "render/render_driver.h"
#include "render/resume_view.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <unistd.h>

namespace trellic {

namespace {

namespace fs = std::filesystem;

constexpr const char* kInfoHeading = "Trellic recovery copy\n";
// A recovery copy is a resume; anything far larger is not one of ours.
constexpr std::size_t kMaxCopyBytes = std::size_t{256} << 20;
constexpr std::size_t kMaxInfoBytes = 64 * 1024;

// A copy is a resume file of its data source's format, named for it.
const FileFormat& FormatFor(DataSource dataSource) {
    return *CoreFormatRegistry().ResumeFormat(HoldsFor(dataSource));
}

std::string ExtensionFor(DataSource dataSource) {
    return FormatFor(dataSource).Info().extensions.front();
}

std::string PathIn(const std::string& folder, long pid, const std::string& extension) {
    return folder + "/" + std::to_string(pid) + "." + extension;
}

// A whole non-negative decimal number, or nothing.
bool ParseNumber(const std::string& text, unsigned long long& value) {
    if (text.empty() || text.size() > 20 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    value = std::strtoull(text.c_str(), &end, 10);
    return errno == 0 && end != nullptr && *end == '\0';
}

struct Info {
    long pid = 0;
    unsigned long long startTime = 0;
    DataSource dataSource = kDataSourceNodes;
    std::string originalPath;
};

std::string InfoText(const Info& info) {
    // The path goes last and runs to the end of the file, so any byte a path may hold (a line
    // feed included) comes back as it was.
    return std::string(kInfoHeading) + "pid=" + std::to_string(info.pid) + "\n" +
           "start=" + std::to_string(info.startTime) + "\n" +
           "dataSource=" + std::to_string(info.dataSource) + "\n" + "path=" + info.originalPath;
}

bool ParseInfo(const std::string& text, Info& info) {
    const std::string heading = kInfoHeading;
    if (text.compare(0, heading.size(), heading) != 0) {
        return false;
    }
    std::size_t at = heading.size();
    unsigned long long values[3] = {};
    const char* keys[3] = {"pid=", "start=", "dataSource="};
    for (int i = 0; i < 3; ++i) {
        const std::size_t end = text.find('\n', at);
        const std::string key = keys[i];
        if (end == std::string::npos || text.compare(at, key.size(), key) != 0 ||
            !ParseNumber(text.substr(at + key.size(), end - at - key.size()), values[i])) {
            return false;
        }
        at = end + 1;
    }
    if (text.compare(at, 5, "path=") != 0 || values[0] == 0 || values[0] > 0x7fffffff ||
        values[2] > kDataSourceViewTxt) {
        return false;
    }
    info.pid = static_cast<long>(values[0]);
    info.startTime = values[1];
    info.dataSource = static_cast<DataSource>(values[2]);
    info.originalPath = text.substr(at + 5);
    return true;
}

// Whether the process that wrote a copy is still at work on it.
bool StillRunning(long pid, unsigned long long startTime) {
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
        return false;
    }
    // Something runs under that id. Unless it started when the writer did, the id was handed
    // on and the writer is gone. Without the start time the copy is left alone: taking a
    // running program's copy would be worse than offering it one start later.
    const unsigned long long now = ProcessStartTime(pid);
    return now == 0 || startTime == 0 || now == startTime;
}

} // namespace

std::string RecoveryFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state != nullptr && state[0] == '/') {
        return std::string(state) + "/trellic";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.local/state/trellic";
    }
    return {};
}

unsigned long long ProcessStartTime(long pid) {
    std::string stat;
    if (!ReadWholeFile("/proc/" + std::to_string(pid) + "/stat", stat, 4096).ok) {
        return 0;
    }
    // The command name in parentheses may hold anything, spaces and parentheses included; the
    // fields after its last closing parenthesis start with the third, and the start time is
    // the twenty-second.
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) {
        return 0;
    }
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    for (int index = 3; index <= 22; ++index) {
        if (!(fields >> field)) {
            return 0;
        }
    }
    unsigned long long start = 0;
    return ParseNumber(field, start) ? start : 0;
}

RecoveryStore::RecoveryStore(std::string folder)
    : RecoveryStore(std::move(folder), static_cast<long>(::getpid())) {}

RecoveryStore::RecoveryStore(std::string folder, long pid)
    : m_folder(std::move(folder)), m_pid(pid) {}

FileResult RecoveryStore::Write(std::string_view bytes, DataSource dataSource,
                                const std::string& originalPath) {
    FileResult result;
    if (m_folder.empty()) {
        result.failedAt = FileResult::Stage::Open;
        result.message = "no folder for recovery copies (neither XDG_STATE_HOME nor HOME is set)";
        return result;
    }
    std::error_code error;
    fs::create_directories(m_folder, error);
    if (error) {
        result.failedAt = FileResult::Stage::Open;
        result.message = m_folder + " (" + error.message() + ")";
        return result;
    }
    // The copies are the user's unsaved work: for the user's eyes only.
    fs::permissions(m_folder, fs::perms::owner_all, fs::perm_options::replace, error);

    const std::string extension = ExtensionFor(dataSource);
    result = WriteFileAtomically(PathIn(m_folder, m_pid, extension), bytes);
    if (!result.ok) {
        return result;
    }
    const Info info{m_pid, ProcessStartTime(m_pid), dataSource, originalPath};
    result = WriteFileAtomically(PathIn(m_folder, m_pid, "info"), InfoText(info));
    if (!result.ok) {
        return result;
    }
    // A switch of data source leaves the copy of the other format behind.
    for (const FileFormat* format : CoreFormatRegistry().Formats(FormatRole::Resume)) {
        const std::string& other = format->Info().extensions.front();
        if (other != extension) {
            fs::remove(PathIn(m_folder, m_pid, other), error);
        }
    }
    return result;
}

void RecoveryStore::Remove() {
    if (m_folder.empty()) {
        return;
    }
    std::error_code error;
    // The information file goes first: without it, what is left is never offered.
    fs::remove(PathIn(m_folder, m_pid, "info"), error);
    for (const FileFormat* format : CoreFormatRegistry().Formats(FormatRole::Resume)) {
        fs::remove(PathIn(m_folder, m_pid, format->Info().extensions.front()), error);
    }
}

std::vector<RecoveryCopy> RecoveryStore::FindAbandoned() const {
    struct Found {
        RecoveryCopy copy;
        fs::file_time_type written;
    };
    std::vector<Found> found;
    std::error_code error;
    if (m_folder.empty() || !fs::is_directory(m_folder, error)) {
        return {};
    }
    for (fs::directory_iterator it(m_folder, error), end; !error && it != end;
         it.increment(error)) {
        const fs::path& path = it->path();
        if (path.extension() != ".info" || !it->is_regular_file(error)) {
            continue;
        }
        std::string text;
        Info info;
        if (!ReadWholeFile(path.string(), text, kMaxInfoBytes).ok || !ParseInfo(text, info) ||
            path.stem().string() != std::to_string(info.pid) || info.pid == m_pid ||
            StillRunning(info.pid, info.startTime)) {
            continue;
        }
        RecoveryCopy copy;
        copy.pid = info.pid;
        copy.infoPath = path.string();
        copy.dataPath = PathIn(m_folder, info.pid, ExtensionFor(info.dataSource));
        copy.originalPath = info.originalPath;
        copy.dataSource = info.dataSource;
        if (!fs::is_regular_file(copy.dataPath, error)) {
            continue;
        }
        const fs::file_time_type written = fs::last_write_time(path, error);
        found.push_back({std::move(copy), error ? fs::file_time_type{} : written});
    }
    std::sort(found.begin(), found.end(),
              [](const Found& a, const Found& b) { return a.written > b.written; });
    std::vector<RecoveryCopy> copies;
    for (Found& f : found) {
        copies.push_back(std::move(f.copy));
    }
    return copies;
}

FileResult ReadRecoveryCopy(const RecoveryCopy& copy, std::string& bytes) {
    return ReadWholeFile(copy.dataPath, bytes, kMaxCopyBytes);
}

void DiscardRecoveryCopy(const RecoveryCopy& copy) {
    std::error_code error;
    fs::remove(copy.infoPath, error);
    fs::remove(copy.dataPath, error);
}

std::string RecoveryBytes(const NodeTree& tree, const ResumeView& view) {
    std::string bytes;
    // The core's resume formats write from memory and cannot fail.
    (void)FormatFor(tree.dataSource).Write(FormatSource{tree, view}, bytes);
    return bytes;
}

bool RestoreRecoveryCopy(const RecoveryCopy& copy, NodeTree& tree, ResumeView& view, CTLXDoc& doc,
                         EngineLog& log, Prompter& prompter) {
    std::string bytes;
    const FileResult read = ReadRecoveryCopy(copy, bytes);
    if (!read.ok) {
        prompter.ShowMessage("The recovery copy could not be read from " + read.message + ".",
                             MessageIcon::Exclamation);
        return false;
    }
    doc.OnNewDocument();
    if (copy.dataSource == kDataSourceNodes) {
        // Read aside, so a damaged copy never shows half a resume.
        NodeTree spare{tree.programFolder};
        ResetNodeTree(spare, {});
        Archive ar = Archive::ForLoading(bytes);
        const TlxReadStatus status = ReadTLX(ar, spare, prompter);
        if (status != TlxReadStatus::Loaded) {
            if (status == TlxReadStatus::UnexpectedEnd) {
                prompter.ShowMessage("The recovery copy is damaged and cannot be restored.",
                                     MessageIcon::Exclamation);
            }
            return false;
        }
        spare.filePath = copy.originalPath;
        ApplyTree(CaptureTree(spare), tree);
        doc.SetRenderer(tree.renderer, true);
    } else {
        tree.dataSource = copy.dataSource;
        tree.filePath = copy.originalPath;
        doc.SetDataSource(CTLXDoc::kSetResumeView); // moves the mark; the tree is switched
        const bool rtf = copy.dataSource == kDataSourceViewRtf;
        doc.SetRenderer(rtf ? kRendererRtf : kRendererTxt, false);
        ResetViewFormatting(view);
        if (rtf) {
            view.ImportRtf(bytes);
        } else {
            view.ImportText(DecodeTextFile(bytes));
        }
    }
    doc.AdoptRecoveredPath(copy.originalPath);
    // Nothing of it is saved yet.
    view.SetModified(true);
    log.AppendLog("MEM: Restored recovery copy: " + copy.dataPath + "\r\n\r\n");
    return true;
}

} // namespace trellic
