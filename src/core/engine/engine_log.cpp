#include "engine/engine_log.h"

#include "engine/file_io.h"
#include "engine/prompter.h"
#include "engine/text_file.h"
#include "engine/version.h"

namespace trellic {

namespace {

constexpr const char* kErrorNotice =
    "An error occurred. Details will be posted to the TLX Engine window.";

} // namespace

EngineLog::EngineLog() : m_text(Banner()) {}

std::string EngineLog::Banner() {
    std::string banner =
        "Trellic " TRELLIC_VERSION "\r\nCopyright (C) 2026 Quelmar. All rights reserved.\r\n";
    banner += "\r\nINFO: Compiled on ";
    banner += __DATE__;
    banner += " at ";
    banner += __TIME__;
    banner += ".\r\n\r\nEXEC: System ready.\r\n\r\n";
    return banner;
}

int EngineLog::LineCount() const {
    int lines = 1;
    for (std::size_t pos = m_text.find("\r\n"); pos != std::string::npos;
         pos = m_text.find("\r\n", pos + 2)) {
        ++lines;
    }
    return lines;
}

void EngineLog::AppendLog(std::string entry) {
    // The bound is tested before the entry goes in, so a long entry is never cut short: the
    // log may briefly hold 100 lines plus the lines of one entry.
    if (LineCount() > kMaxLines) {
        m_text.clear();
    }
    m_text += entry;
    Changed();
}

void EngineLog::Clear() {
    m_text.clear();
    Changed();
}

void EngineLog::Changed() const {
    if (m_changed) {
        m_changed();
    }
}

void ReportEngineError(EngineLog& log, Prompter& prompter, std::string_view errorBlock) {
    log.AppendLog(std::string(errorBlock));
    prompter.ShowMessage(kErrorNotice, MessageIcon::Exclamation);
    // Only after the user has dismissed the box, so the window does not come up behind it.
    prompter.ShowEngineWindow();
}

bool SaveEngineLog(const EngineLog& log, Prompter& prompter) {
    FileDialogOptions options;
    options.defaultExtension = "txt";
    options.filter = "Text Files (*.txt)|*.txt||";
    options.overwritePrompt = true;
    options.hideReadOnly = true;
    options.pathMustExist = true;
    options.noReadOnlyReturn = true;
    const auto path = prompter.ChooseSaveFile(options);
    if (!path) {
        return false;
    }
    return WriteFileAtomically(*path, EncodeTextFile(log.Text())).ok;
}

std::string ErrorBlock(std::string_view area, std::string_view error, std::string_view cause,
                       std::string_view solution, std::string_view impact) {
    std::string block = "**";
    block += area;
    block += " ERROR**\r\nERROR: ";
    block += error;
    block += "\r\nCAUSE: ";
    block += cause;
    block += "\r\nSOLUTION: ";
    block += solution;
    block += "\r\nIMPACT: ";
    block += impact;
    block += "\r\n\r\n";
    return block;
}

} // namespace trellic
