#include "formats/json_resume_format.h"

#include "exchange/json_resume.h"

#include <utility>

namespace trellic {

JsonResumeFormat::JsonResumeFormat()
    : FileFormat({.id = "JsonResume",
                  .name = "JSON Resume",
                  .title = "JSON Resume",
                  .filterName = "JSON Resume Files",
                  .extensions = {"json"},
                  .holds = FormatHolds::NodeTree,
                  .role = FormatRole::Exchange,
                  .reads = true,
                  .writes = true,
                  .menuTitle = "JSON Resume (.json)",
                  .exportTip = "Save the resume's nodes as a JSON Resume file",
                  .fileKind = "JSON Resume"}) {}

FormatResult JsonResumeFormat::Read(std::string_view bytes, FormatReading& into) const {
    const auto refuse = [&](const std::string& why) {
        return FormatResult::Failure("The JSON Resume could not be imported:\n\n" + into.path +
                                     "\n\n" + why);
    };
    if (into.tree == nullptr) {
        return refuse("there is no node tree to build it in");
    }
    if (bytes.size() > kMaxJsonResumeBytes) {
        return refuse("the file is larger than a resume can be");
    }
    const TemplateLoad load = LoadResumeTemplate(into.tree->programFolder, kDefaultImportTemplate);
    if (!load.ok) {
        return refuse(load.error);
    }
    JsonResumeImport imported = ImportJsonResume(bytes, load.resumeTemplate);
    if (!imported.ok) {
        return refuse(imported.error);
    }
    into.logEntry = ImportLogEntry(imported, into.path);
    static_cast<NodeTables&>(*into.tree) = std::move(imported.tables);
    into.tree->renderer = imported.renderer;
    return FormatResult::Success();
}

FormatResult JsonResumeFormat::Write(const FormatSource& from, std::string& bytes) const {
    // The schema describes a resume's data, which only the nodes hold.
    if (from.tree.dataSource != kDataSourceNodes) {
        return FormatResult::Failure("only a resume in TLX Nodes can be written as a JSON Resume");
    }
    JsonResumeExport exported = ExportJsonResume(from.tree);
    if (!exported.ok) {
        return FormatResult::Failure(std::move(exported.error));
    }
    bytes = std::move(exported.json);
    return FormatResult::Success();
}

} // namespace trellic
