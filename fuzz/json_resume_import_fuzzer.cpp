// Feeds arbitrary bytes to the JSON Resume import. Whatever it accepts must export to a document
// the schema takes, with every text of the input somewhere in it; an input the schema takes as
// it is must come back exactly.

#include "exchange/json_resume.h"
#include "exchange/json_resume_mapping.h"

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string_view>

namespace {

using trellic::jsonresume::Json;

// A template of every kind of node the import copies, with styles of its own.
const trellic::ResumeTemplate& FuzzTemplate() {
    static const trellic::ResumeTemplate kTemplate = [] {
        using namespace trellic;
        ResumeTemplate t;
        t.name = "fuzz";
        NodeTables& tables = t.tables;
        tables.resume = std::make_unique<ResumeNode>();
        tables.resume->style.headerStyle.charFormat.faceName = "Arial";
        tables.activeStack.push_back(kResumeEntry);
        tables.headers.resize(2);
        tables.headers[1].inheritStyle = true;
        tables.resumeSections.resize(1);
        tables.slFields.resize(1);
        tables.mlFields.resize(1);
        tables.activeStack.push_back({0, kKindHeader});
        tables.activeStack.push_back({0, kKindSLField});
        tables.activeStack.push_back({1, kKindHeader});
        tables.activeStack.push_back({0, kKindResumeSection});
        tables.activeStack.push_back({0, kKindMLField});
        return t;
    }();
    return kTemplate;
}

void Texts(const Json& value, std::multiset<std::string>& out) {
    if (value.is_string()) {
        out.insert(value.get<std::string>());
    } else if (value.is_structured()) {
        for (const auto& item : value) {
            Texts(item, out);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace trellic;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const JsonResumeImport imported = ImportJsonResume(text, FuzzTemplate());
    if (!imported.ok) {
        if (imported.error.empty() || imported.tables.resume) {
            std::abort();
        }
        return 0;
    }
    const JsonResumeExport exported = ExportJsonResume(imported.tables);
    if (!exported.ok) {
        std::abort();
    }
    const Json input = Json::parse(text);
    const Json output = Json::parse(exported.json);
    if (!jsonresume::FindSchemaProblems(output, true).empty()) {
        std::abort();
    }
    if (jsonresume::FindSchemaProblems(input, true).empty()) {
        if (nlohmann::json::parse(text) != nlohmann::json::parse(exported.json)) {
            std::abort();
        }
        return 0;
    }
    // What the schema refuses may move into meta, but nothing is lost.
    std::multiset<std::string> given;
    std::multiset<std::string> back;
    Texts(input, given);
    Texts(output, back);
    for (const std::string& t : given) {
        if (!back.count(t)) {
            std::abort();
        }
    }
    return 0;
}
