#pragma once

#include "exchange/entry_layout.h"
#include "model/node_tree.h"

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

// What the JSON Resume import and export share: the names basics takes in the tree, the
// headings, and the export that the import checks its own work with.
namespace trellic::jsonresume {

using Json = nlohmann::ordered_json;

// A field of basics (or of its location) shown as a single line field.
struct BasicsField {
    const char* key;
    const char* name;                    // the field name the import writes
    std::vector<std::string_view> names; // what names it on export (lower case)
};

const std::vector<BasicsField>& ContactFields();
const std::vector<BasicsField>& LocationFields();

// Whether a single line field of that name is a contact or a part of the location, and whether
// a block of that title is the address or the summary, rather than a profile.
bool NamesBasicsField(std::string_view name);
bool NamesBasicsBlock(std::string_view title);

// The header over basics.summary, and the headers that name it on export (lower case).
inline constexpr const char* kSummaryHeading = "Summary";
bool NamesSummary(std::string_view heading);
// The section a header names, or null.
const SectionLayout* SectionNamedBy(std::string_view heading);

// "/work/0/startDate": a JSON pointer token escaped as RFC 6901 asks.
std::string PointerTo(const std::string& base, const std::string& token);
std::vector<std::string> PointerTokens(std::string_view pointer);

// A value of the document that is in the wrong place or has the wrong type or form for the
// schema.
struct SchemaProblem {
    std::string pointer;
    std::string problem; // "must be a text, not a number"
};

// Every value the schema would refuse, in document order. Types only, or also the forms the
// official validator checks (dates, e-mail addresses, URIs) with forms.
std::vector<SchemaProblem> FindSchemaProblems(const Json& document, bool forms);

// The tree as a JSON Resume document; what has no place is described in unmapped, and in meta.
Json ExportTree(const NodeTables& tables, std::vector<std::string>& unmapped);

// How Json names a value's type in messages: "a text", "a list", ...
std::string TypeName(const Json& value);

// A JSON text of value that never throws: malformed UTF-8 is replaced.
std::string Dump(const Json& value, int indent);

// The entry a node shows, as the export reads it: title and lines, and the exact dates its help
// keeps.
EntryText EntryTextOf(const ResumeSectionNode& node);
EntryText EntryTextOf(const SLFieldNode& node);
EntryText EntryTextOf(const MLFieldNode& node);

// What an imported node's help says: where it came from and the exact dates.
std::string ImportedHelpText(const std::string& pointer, const std::string& exactDates);

} // namespace trellic::jsonresume
