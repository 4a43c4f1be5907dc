#pragma once

#include "model/node_tree.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace trellic {

class EngineLog;

// JSON Resume (the open resume schema, jsonresume.org) in and out of the node tree.

// Inputs beyond these are refused before anything is built: a resume is a few hundred values.
inline constexpr std::size_t kMaxJsonResumeBytes = std::size_t{4} << 20;
inline constexpr std::size_t kMaxJsonResumeValues = 10000;
inline constexpr std::size_t kMaxJsonResumeDepth = 64;

// The shipped template whose styles an import takes when none is named.
inline constexpr const char* kDefaultImportTemplate = "chronological";
// Where the imported nodes' help sends the user.
inline constexpr const char* kJsonResumeHelpAddress = "docs/json-resume.html";

// A shipped template: the styles and the kinds of node a resume is built from.
struct ResumeTemplate {
    std::string name;
    NodeTables tables;
    Renderer renderer = kRendererRtf;
};

struct TemplateLoad {
    bool ok = false;
    std::string error; // says which templates there are when the name is none of them
    ResumeTemplate resumeTemplate;
};

// Reads templates/NAME.tlx below the program folder.
[[nodiscard]] TemplateLoad LoadResumeTemplate(const std::string& programFolder,
                                              const std::string& name);
// The names of the shipped templates, sorted.
std::vector<std::string> ResumeTemplateNames(const std::string& programFolder);

struct JsonResumeImport {
    bool ok = false;
    // What is wrong and where, as a JSON pointer: "/work/2/startDate must be a text, not a
    // number".
    std::string error;
    NodeTables tables; // the resume, its active nodes and the inactive ones
    Renderer renderer = kRendererRtf;
    // The values that have no place in the rendered resume and wait in inactive nodes, by
    // their JSON pointers ("/meta", "/basics/image").
    std::vector<std::string> unplaced;
    std::size_t nodeCount = 0;
};

// Builds a resume from JSON Resume text (UTF-8) in the template's styles: basics first, then the
// sections in the order the document gives them, each a header over one node per entry.
// Nothing of the input is dropped: what the resume cannot show, or could not give back exactly
// on export, goes into inactive nodes named by its JSON pointer. Fails without building
// anything on text that is not JSON, not an object, too large, or holds a schema key with a
// value of the wrong type.
[[nodiscard]] JsonResumeImport ImportJsonResume(std::string_view json,
                                                const ResumeTemplate& resumeTemplate);

struct JsonResumeExport {
    bool ok = false;
    std::string error;
    std::string json; // UTF-8, indented by two spaces, ending in a line break
    // The nodes and values that had no place in the schema and went into "meta".
    std::vector<std::string> unmapped;
};

// The tree as a JSON Resume: the nodes before the first section header give basics (the first
// header the name, fields the contacts and profiles); each header that names a section (by the
// import's headings and the usual others, "Experience", "Certifications") opens it, and every
// node below it becomes one of its entries. Inactive nodes the import made go back where they
// came from. Whatever else there is, and values the schema would refuse (a date it cannot read,
// an address without a scheme), go into meta.trellic with a note, so the output always
// validates against the schema.
[[nodiscard]] JsonResumeExport ExportJsonResume(const NodeTables& tables);

// The engine log's account of an import or an export: what it made and what went where.
std::string ImportLogEntry(const JsonResumeImport& result, const std::string& source);
std::string ExportLogEntry(const JsonResumeExport& result, const std::string& target);

} // namespace trellic
