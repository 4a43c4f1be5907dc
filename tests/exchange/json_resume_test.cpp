#include "engine/prompter.h"
#include "exchange/json_resume.h"
#include "exchange/resume_dates.h"
#include "json_resume_checks.h"
#include "model/tlx_file.h"
#include "render/render_driver.h"
#include "temp_dir.h"
#include "world_texts.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace trellic {
namespace {

using Json = nlohmann::json; // compares objects whatever their keys' order
using testing::JsonResumeFile;
using testing::JsonResumePackageMissing;
using testing::JsonResumeSamples;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::ValidateJsonResumes;
using testing::WriteFileBytes;

ResumeTemplate Template(const std::string& name = kDefaultImportTemplate) {
    TemplateLoad load = LoadResumeTemplate(TRELLIC_BIN_DIR, name);
    EXPECT_TRUE(load.ok) << load.error;
    return load.resumeTemplate;
}

JsonResumeImport Import(const std::string& json, const std::string& templateName = {}) {
    return ImportJsonResume(json,
                            Template(templateName.empty() ? kDefaultImportTemplate : templateName));
}

std::string Rendered(const NodeTables& tables, Renderer renderer) {
    NodeTree tree{std::string()};
    static_cast<NodeTables&>(tree) = tables;
    tree.renderer = renderer;
    HeadlessResumeView view;
    EXPECT_TRUE(RenderResume(tree, view));
    return view.ExportText();
}

Json Exported(const NodeTables& tables) {
    const JsonResumeExport result = ExportJsonResume(tables);
    EXPECT_TRUE(result.ok) << result.error;
    return Json::parse(result.json);
}

// The names and texts of the inactive fields.
std::map<std::string, std::string> InactiveFields(const NodeTables& tables) {
    std::map<std::string, std::string> fields;
    for (const StackEntry& entry : tables.inactiveStack) {
        if (entry.kind == kKindSLField) {
            const auto& f = tables.slFields[static_cast<std::size_t>(entry.index)];
            fields[f.fieldName] = f.fieldData;
        } else if (entry.kind == kKindMLField) {
            const auto& f = tables.mlFields[static_cast<std::size_t>(entry.index)];
            fields[f.fieldName] = f.fieldData.text;
        }
    }
    return fields;
}

bool IsDateKey(const std::string& key) {
    return key == "startDate" || key == "endDate" || key == "date" || key == "releaseDate";
}

// Every scalar of a document with its pointer, dates as a reader sees them.
void Scalars(const Json& value, const std::string& at, const std::string& key,
             std::vector<std::pair<std::string, std::string>>& out) {
    if (value.is_object()) {
        for (const auto& [k, v] : value.items()) {
            Scalars(v, at + "/" + k, k, out);
        }
    } else if (value.is_array()) {
        for (std::size_t i = 0; i < value.size(); ++i) {
            Scalars(value[i], at + "/" + std::to_string(i), key, out);
        }
    } else if (value.is_string()) {
        const auto& text = value.get_ref<const std::string&>();
        out.emplace_back(at, IsDateKey(key) ? FormatResumeDate(text) : text);
    } else {
        out.emplace_back(at, value.dump());
    }
}

bool KeptAside(const JsonResumeImport& result, const std::string& at) {
    for (const std::string& kept : result.unplaced) {
        if (at == kept || at.rfind(kept + "/", 0) == 0) {
            return true;
        }
    }
    return false;
}

class SampleResumes : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string missing = JsonResumePackageMissing();
        ASSERT_TRUE(missing.empty()) << missing;
    }
};

TEST_F(SampleResumes, EveryValueIsShownOrKeptInAnInactiveNode) {
    for (const std::string& name : JsonResumeSamples()) {
        const std::string text = ReadFileBytes(JsonResumeFile(name));
        const JsonResumeImport result = Import(text);
        ASSERT_TRUE(result.ok) << name << ": " << result.error;
        // Only what describes the file rather than the person has no place in the resume.
        EXPECT_EQ(result.unplaced, (std::vector<std::string>{"/basics/image", "/$schema", "/meta"}))
            << name;
        const std::string shown = Rendered(result.tables, kRendererRtf);
        const std::string plain = Rendered(result.tables, kRendererTxt);
        const auto inactive = InactiveFields(result.tables);
        std::vector<std::pair<std::string, std::string>> scalars;
        Scalars(Json::parse(text), "", "", scalars);
        int checked = 0;
        int kept = 0;
        for (const auto& [at, value] : scalars) {
            if (KeptAside(result, at)) {
                ++kept;
                continue;
            }
            ++checked;
            EXPECT_NE(shown.find(value), std::string::npos) << name << at << ": " << value;
            EXPECT_NE(plain.find(value), std::string::npos) << name << at << ": " << value;
        }
        for (const std::string& at : result.unplaced) {
            EXPECT_TRUE(inactive.count(at)) << name << ": no inactive node " << at;
        }
        RecordProperty(name + " values shown", checked);
        std::cout << name << ": " << checked << " values found in the rendered text, " << kept
                  << " kept in inactive nodes\n";
        EXPECT_GT(checked, 80) << name;
    }
}

TEST_F(SampleResumes, DatesReadAsMonthsWithAnEnDash) {
    const JsonResumeImport sample = Import(ReadFileBytes(JsonResumeFile("sample.resume.json")));
    const std::string shown = Rendered(sample.tables, kRendererRtf);
    EXPECT_NE(shown.find("CEO/President, Pied Piper (Dec 2013 \u2013 Dec 2014)"),
              std::string::npos);
    EXPECT_NE(shown.find("Miss Direction, Smoogle (Aug 2016)"), std::string::npos);
    const JsonResumeImport senior =
        Import(ReadFileBytes(JsonResumeFile("examples/senior-engineer.resume.json")));
    EXPECT_NE(Rendered(senior.tables, kRendererRtf)
                  .find("Staff Software Engineer, Confluent (Feb 2020 \u2013 today)"),
              std::string::npos);
}

TEST_F(SampleResumes, ExportBackValidAndWholeInEveryTemplate) {
    TempDir dir;
    std::vector<std::string> written;
    const std::vector<std::string> templates = ResumeTemplateNames(TRELLIC_BIN_DIR);
    ASSERT_GE(templates.size(), 10U);
    for (const std::string& name : JsonResumeSamples()) {
        const std::string text = ReadFileBytes(JsonResumeFile(name));
        for (const std::string& templateName : templates) {
            const JsonResumeImport imported = Import(text, templateName);
            ASSERT_TRUE(imported.ok) << imported.error;
            // Through the file format too: the .tlx must carry everything the export reads.
            NodeTree tree{std::string()};
            static_cast<NodeTables&>(tree) = imported.tables;
            NodeTree reread{std::string()};
            ResetNodeTree(reread, {});
            const std::string bytes = WriteTLX(tree);
            Archive ar = Archive::ForLoading(bytes);
            SilentPrompter prompter;
            ASSERT_EQ(ReadTLX(ar, reread, prompter), TlxReadStatus::Loaded);
            const JsonResumeExport result = ExportJsonResume(reread);
            ASSERT_TRUE(result.ok) << result.error;
            EXPECT_TRUE(result.unmapped.empty()) << name << " in " << templateName;
            EXPECT_EQ(Json::parse(result.json), Json::parse(text))
                << name << " in " << templateName;
            const std::string path =
                dir.File(templateName + "-" + std::to_string(written.size()) + ".json");
            WriteFileBytes(path, result.json);
            written.push_back(path);
        }
    }
    std::string output;
    EXPECT_TRUE(ValidateJsonResumes(written, output)) << output;
    std::cout << written.size() << " exports validated against schema.json\n";
    // The validator must see a fault: a date the schema does not take.
    WriteFileBytes(dir.File("bad.json"), R"({"work": [{"startDate": "Dec 2013"}]})");
    EXPECT_FALSE(ValidateJsonResumes({dir.File("bad.json")}, output));
}

TEST(JsonResume, NamesInEveryScriptSurviveBothWays) {
    for (const auto& world : testing::WorldTexts()) {
        Json input = {{"basics", {{"name", world.name}, {"label", world.sentence}}},
                      {"work", {{{"name", world.name}, {"summary", world.sentence}}}},
                      {"skills", {{{"name", world.sentence}, {"keywords", {world.name}}}}}};
        if (std::string(world.language) == "Polish") {
            input["references"] = {
                {{"name", "Zofia \u0141ukasiewicz"}, {"reference", "\u738B\u5C0F\u660E"}}};
        }
        const JsonResumeImport result = Import(input.dump());
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_TRUE(result.unplaced.empty()) << world.language;
        const std::string shown = Rendered(result.tables, kRendererRtf);
        EXPECT_NE(shown.find(world.name), std::string::npos) << world.language;
        EXPECT_NE(shown.find(world.sentence), std::string::npos) << world.language;
        NodeTree tree{std::string()};
        static_cast<NodeTables&>(tree) = result.tables;
        NodeTree reread{std::string()};
        ResetNodeTree(reread, {});
        const std::string bytes = WriteTLX(tree);
        Archive ar = Archive::ForLoading(bytes);
        SilentPrompter prompter;
        ASSERT_EQ(ReadTLX(ar, reread, prompter), TlxReadStatus::Loaded);
        EXPECT_EQ(Exported(reread), input) << world.language;
    }
}

std::string Repeated(const std::string& text, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

TEST(JsonResume, BadInputIsRefusedWithItsPlace) {
    struct Row {
        const char* name;
        std::string json;
        const char* error;
    };
    const std::vector<Row> rows = {
        {"not JSON", "{\"basics\": ", "not JSON: parse error at line 1, column 12"},
        {"trailing text", "{} and more", "not JSON: parse error"},
        {"malformed UTF-8", "{\"basics\": {\"name\": \"Caf\xC3\"}}", "not JSON: parse error"},
        {"a list", "[]", "the document must be a JSON object, not a list"},
        {"a text", "\"resume\"", "the document must be a JSON object, not a text"},
        {"basics a list", R"({"basics": []})", "/basics must be an object, not a list"},
        {"a name a number", R"({"basics": {"name": 5}})",
         "/basics/name must be a text, not a number"},
        {"a city null", R"({"basics": {"location": {"city": null}}})",
         "/basics/location/city must be a text, not null"},
        {"a profile a text", R"({"basics": {"profiles": ["x"]}})",
         "/basics/profiles/0 must be an object, not a text"},
        {"work an object", R"({"work": {}})", "/work must be a list of entries, not an object"},
        {"an entry a number", R"({"work": [1]})", "/work/0 must be an object, not a number"},
        {"a date a number", R"({"work": [{}, {}, {"startDate": 2014}]})",
         "/work/2/startDate must be a text, not a number"},
        {"a highlight a number", R"({"volunteer": [{"highlights": ["a", 3]}]})",
         "/volunteer/0/highlights/1 must be a text, not a number"},
        {"keywords a text", R"({"skills": [{"keywords": "C++"}]})",
         "/skills/0/keywords must be a list of texts, not a text"},
        {"a key twice", R"({"work": [], "work": []})", "the document holds the key \"work\" twice"},
        {"a key twice inside", R"({"projects": [{"name": "a"}, {"name": "b", "name": "c"}]})",
         "/projects/1 holds the key \"name\" twice"},
        {"too many values", "[" + Repeated("0,", kMaxJsonResumeValues) + "0]",
         "more than 10000 values"},
        {"too deep", std::string(65, '[') + std::string(65, ']'), "more than 64 deep"},
        {"a number beyond a double", R"({"x-n": 1e999})", "not JSON: number overflow"},
        {"a whole number beyond 64 bits", R"({"x-n": [18446744073709551616]})",
         "the number 18446744073709551616 is too large"},
        {"too large", "{}" + std::string(kMaxJsonResumeBytes, ' '), "larger than 4 MB"},
    };
    for (const Row& row : rows) {
        const JsonResumeImport result = Import(row.json);
        EXPECT_FALSE(result.ok) << row.name;
        EXPECT_NE(result.error.find(row.error), std::string::npos)
            << row.name << ": " << result.error;
        EXPECT_FALSE(result.tables.resume) << row.name;
    }
}

TEST(JsonResume, WhatTheResumeCannotShowComesBackFromInactiveNodes) {
    const Json input = Json::parse(R"json({
        "basics": {
            "name": "Ann Example",
            "label": "Two\nlines",
            "summary": "First paragraph.\n\nSecond, with a line\n\u2022 that looks like a bullet",
            "location": {"address": "1 Main St\nFlat 2", "city": "Town", "x-geo": [1.5, 2]},
            "profiles": [{"network": "Phone", "username": "not a phone"}, {"url": "https://a.example"}],
            "x-custom": {"nested": [true, null]}
        },
        "work": [
            {"name": "Acme, Inc.", "position": "Director, Sales", "startDate": "2019-03-15"},
            {"name": "Solo", "summary": "Location: sounds like a label\nand more", "highlights": []},
            {"position": "Line\nbreak", "name": "Kept"},
            {"x-only": 1},
            {"name": "", "summary": "", "highlights": ["", "\u2022 bullet"]}
        ],
        "education": [{"area": "Physics", "institution": "MIT (2014)"}],
        "skills": [],
        "languages": [{"language": "German", "fluency": ""}],
        "projects": [{"name": "Tool", "startDate": "2020", "endDate": "2021-06-30", "roles": ["a, b"]}],
        "x-top": "kept"
    })json");
    const JsonResumeImport result = Import(input.dump());
    ASSERT_TRUE(result.ok) << result.error;
    // Everything comes back exactly, shown or kept.
    EXPECT_EQ(Exported(result.tables), input);
    // What no node can hold goes aside, and only that.
    for (const char* at :
         {"/basics/label", "/basics/location/x-geo", "/basics/x-custom", "/work/1/summary",
          "/work/2/position", "/work/3", "/skills", "/projects/0/roles", "/x-top"}) {
        EXPECT_TRUE(KeptAside(result, at)) << at;
    }
    for (const char* at :
         {"/basics/summary", "/basics/location/address", "/basics/profiles/0", "/basics/profiles/1",
          "/work/0/name", "/work/0/position", "/work/4/highlights", "/education/0/area",
          "/languages/0/fluency", "/projects/0/endDate"}) {
        EXPECT_FALSE(KeptAside(result, at)) << at;
    }
    const std::string shown = Rendered(result.tables, kRendererRtf);
    for (const char* text :
         {"Second, with a line", "Flat 2", "Director, Sales", "Acme, Inc.", "Mar 2019 \u2013 today",
          "MIT (2014)", "Physics", "2020 \u2013 Jun 2021"}) {
        EXPECT_NE(shown.find(text), std::string::npos) << text;
    }
    const std::string log = ImportLogEntry(result, "ann.json");
    EXPECT_NE(log.find("INFO: Kept in inactive nodes, having no place in the resume: "),
              std::string::npos);
    EXPECT_NE(log.find("/x-top"), std::string::npos);
}

// The node showing the first work entry.
ResumeSectionNode& FirstEntry(NodeTables& tables) {
    for (const StackEntry& entry : tables.activeStack) {
        if (entry.kind == kKindResumeSection &&
            tables.resumeSections[static_cast<std::size_t>(entry.index)].title.find("Pied") !=
                std::string::npos) {
            return tables.resumeSections[static_cast<std::size_t>(entry.index)];
        }
    }
    ADD_FAILURE() << "no work entry";
    static ResumeSectionNode none;
    return none;
}

TEST_F(SampleResumes, EditedNodesExportWhatTheyShow) {
    JsonResumeImport imported = Import(ReadFileBytes(JsonResumeFile("sample.resume.json")));
    ASSERT_TRUE(imported.ok);
    ResumeSectionNode& work = FirstEntry(imported.tables);
    // The day survives as long as the month it belongs to is what the title shows.
    work.title = "Chief Executive, Pied Piper (Dec 2013 \u2013 Jan 2015)";
    work.data.text += "\r\nLocation: Berlin\r\n\u2022 Shipped version 2";
    const Json out = Exported(imported.tables);
    const Json& entry = out["work"][0];
    EXPECT_EQ(entry["position"], "Chief Executive");
    EXPECT_EQ(entry["startDate"], "2013-12-01");
    EXPECT_EQ(entry["endDate"], "2015-01");
    EXPECT_EQ(entry["location"], "Palo Alto, CA"); // the first Location line holds the key
    EXPECT_EQ(entry["highlights"].back(), "Shipped version 2");
    EXPECT_NE(entry["summary"].get<std::string>().find("Location: Berlin"), std::string::npos);
}

TEST(JsonResume, AHandMadeResumeExportsValid) {
    const ResumeTemplate chronological = Template();
    NodeTables tables = chronological.tables;
    auto addHeader = [&](const std::string& text) {
        tables.headers.push_back(tables.headers[1]);
        tables.headers.back().header = text;
        tables.activeStack.push_back(
            {static_cast<int32_t>(tables.headers.size() - 1), kKindHeader});
    };
    auto addField = [&](const std::string& name, const std::string& data) {
        tables.slFields.push_back(tables.slFields[0]);
        tables.slFields.back().fieldName = name;
        tables.slFields.back().fieldData = data;
        tables.activeStack.push_back(
            {static_cast<int32_t>(tables.slFields.size() - 1), kKindSLField});
    };
    // A website without a scheme and a field no schema key names, among the contacts.
    tables.activeStack.insert(tables.activeStack.begin() + 2,
                              {static_cast<int32_t>(tables.slFields.size()), kKindSLField});
    tables.slFields.push_back(tables.slFields[0]);
    tables.slFields.back().fieldName = "Website";
    tables.slFields.back().fieldData = "www.example.org";
    addHeader("Other Things");
    addField("Chess", "club champion 2019");
    addHeader("Certifications");
    addField("Scrum Master", "Scrum Alliance (Summer 2020)");
    tables.rtfOutputs.push_back({});
    tables.rtfOutputs.back().name = "Footer";
    tables.rtfOutputs.back().output.text = "{\\rtf1 References on request}";
    tables.activeStack.push_back({0, kKindRTFOutput});

    const JsonResumeExport result = ExportJsonResume(tables);
    ASSERT_TRUE(result.ok) << result.error;
    const Json out = Json::parse(result.json);
    EXPECT_EQ(out["basics"]["name"], "Your Name");
    EXPECT_EQ(out["basics"]["email"], "your.name@example.org");
    EXPECT_FALSE(out["basics"].contains("url"));
    // The template's own lines: "Job Title, Employer (2022 - today)" over its results.
    const Json& job = out["work"][0];
    EXPECT_EQ(job["position"], "Job Title");
    EXPECT_EQ(job["name"], "Employer");
    EXPECT_EQ(job["startDate"], "2022");
    EXPECT_FALSE(job.contains("endDate"));
    EXPECT_EQ(out["education"][0]["studyType"], "Degree");
    EXPECT_EQ(out["education"][0]["institution"], "School (Year)");
    // A block of skill lines under the Skills header: one entry per line.
    EXPECT_EQ(out["skills"][0],
              (Json{{"name", "Skills"}, {"keywords", {"Skill", "skill", "skill"}}}));
    EXPECT_EQ(out["skills"][1]["name"], "Languages");
    EXPECT_EQ(out["certificates"][0]["name"], "Scrum Master");
    // Whatever has no place is in meta, each with what it was.
    const Json& unmapped = out["meta"]["trellic"]["unmapped"];
    std::string notes = unmapped.dump();
    for (const char* text : {"www.example.org", "Other Things", "club champion 2019", "Footer",
                             "References on request"}) {
        EXPECT_NE(notes.find(text), std::string::npos) << text;
    }
    EXPECT_FALSE(result.unmapped.empty());
    EXPECT_NE(ExportLogEntry(result, "cv.json").find("Other Things"), std::string::npos);

    if (JsonResumePackageMissing().empty()) {
        TempDir dir;
        WriteFileBytes(dir.File("hand.json"), result.json);
        std::string output;
        EXPECT_TRUE(ValidateJsonResumes({dir.File("hand.json")}, output)) << output;
    }
}

TEST(JsonResume, EveryTemplateLendsItsLook) {
    const std::string json = R"({"basics": {"name": "Ann", "email": "ann@example.org"},
                                 "work": [{"name": "Acme", "position": "Clerk"}]})";
    for (const std::string& name : ResumeTemplateNames(TRELLIC_BIN_DIR)) {
        const ResumeTemplate look = Template(name);
        const JsonResumeImport result = ImportJsonResume(json, look);
        ASSERT_TRUE(result.ok) << name << ": " << result.error;
        EXPECT_EQ(result.tables.resume->style, look.tables.resume->style) << name;
        EXPECT_EQ(result.renderer, look.renderer) << name;
        // The name takes the look of the template's first header.
        const HeaderNode& nameHeader = result.tables.headers.front();
        EXPECT_EQ(nameHeader.header, "Ann");
        EXPECT_EQ(nameHeader.style, look.tables.headers.front().style) << name;
        EXPECT_EQ(nameHeader.inheritStyle, look.tables.headers.front().inheritStyle) << name;
    }
    const TemplateLoad missing = LoadResumeTemplate(TRELLIC_BIN_DIR, "nonesuch");
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.error.find("chronological"), std::string::npos) << missing.error;
}

} // namespace
} // namespace trellic
