#include "shell/json_resume_commands.h"

#include "document/tlx_doc.h"
#include "engine/engine_log.h"
#include "engine/file_io.h"
#include "engine/prompter.h"
#include "exchange/json_resume.h"

namespace trellic {

namespace {

constexpr const char* kJsonResumeFilter = "JSON Resume Files (*.json)|*.json|All Files (*.*)|*.*||";

} // namespace

bool RunJsonResumeImport(CTLXDoc& doc, const std::string& programFolder, Prompter& prompter,
                         EngineLog& log) {
    FileDialogOptions options;
    options.defaultExtension = "json";
    options.filter = kJsonResumeFilter;
    options.initialFolder = doc.Folders().OpenFolder();
    options.hideReadOnly = true;
    options.pathMustExist = true;
    options.fileMustExist = true;
    const std::optional<std::string> path = prompter.ChooseOpenFile(options);
    if (!path) {
        return false;
    }
    doc.Folders().Used(*path);
    // Everything is read and built before the open resume is asked about: a file that cannot
    // be imported leaves it as it was.
    auto refuse = [&](const std::string& why) {
        log.AppendLog("WARNING: The JSON Resume could not be imported: " + *path + ": " + why +
                      "\r\n\r\n");
        prompter.ShowMessage("The JSON Resume could not be imported:\n\n" + *path + "\n\n" + why,
                             MessageIcon::Exclamation);
        return false;
    };
    std::string text;
    if (const FileResult read = ReadWholeFile(*path, text, kMaxJsonResumeBytes); !read.ok) {
        return refuse(read.reason);
    }
    const TemplateLoad load = LoadResumeTemplate(programFolder, kDefaultImportTemplate);
    if (!load.ok) {
        return refuse(load.error);
    }
    JsonResumeImport imported = ImportJsonResume(text, load.resumeTemplate);
    if (!imported.ok) {
        return refuse(imported.error);
    }
    log.AppendLog("EXEC: Trellic 'Import' command has started.\r\n\r\n");
    if (!doc.AdoptImportedResume(std::move(imported.tables), imported.renderer)) {
        log.AppendLog("EXEC: Trellic 'Import' command has been aborted.\r\n\r\n");
        return false;
    }
    log.AppendLog(ImportLogEntry(imported, *path));
    return true;
}

bool RunJsonResumeExport(const NodeTree& tree, CTLXDoc& doc, FileDialogOptions suggestion,
                         Prompter& prompter, EngineLog& log) {
    FileDialogOptions& options = suggestion;
    options.defaultExtension = "json";
    options.filter = "JSON Resume Files (*.json)|*.json||";
    options.overwritePrompt = true;
    options.hideReadOnly = true;
    const std::optional<std::string> path = prompter.ChooseSaveFile(options);
    if (!path) {
        return false;
    }
    doc.Folders().Used(*path);
    const JsonResumeExport exported = ExportJsonResume(tree);
    FileResult written;
    if (exported.ok) {
        written = WriteFileAtomically(*path, exported.json);
    } else {
        written.reason = exported.error;
    }
    if (!written.ok) {
        log.AppendLog("WARNING: The JSON Resume could not be written: " + *path + ": " +
                      written.reason + "\r\n\r\n");
        prompter.ShowMessage("The JSON Resume could not be written:\n\n" + *path + "\n\n" +
                                 written.reason,
                             MessageIcon::Exclamation);
        return false;
    }
    log.AppendLog(ExportLogEntry(exported, *path));
    return true;
}

} // namespace trellic
