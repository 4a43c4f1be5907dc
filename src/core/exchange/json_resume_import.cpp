#include "engine/file_io.h"
#include "engine/prompter.h"
#include "exchange/json_resume.h"
#include "exchange/json_resume_mapping.h"
#include "model/tlx_file.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <set>

namespace trellic {

namespace jsonresume {

namespace {

// Counts values and nesting as the text is read, and stops the reading at the first limit, so
// an absurd document is refused before any of it is built. A key given twice in one object is
// refused too: reading on would keep one value and drop the other unseen.
class LimitCheck : public nlohmann::json_sax<Json> {
public:
    bool null() override { return Value(); }
    bool boolean(bool) override { return Value(); }
    bool number_integer(number_integer_t) override { return Value(); }
    bool number_unsigned(number_unsigned_t) override { return Value(); }
    bool number_float(number_float_t, const string_t& written) override {
        // A whole number beyond 64 bits arrives as a double, rounded: it could not be kept as
        // it was written. (The reader refuses one beyond a double's range itself.)
        if (written.find_first_of(".eE") == std::string::npos) {
            message = "the number " + written + " is too large to keep exactly";
            return false;
        }
        return Value();
    }
    bool string(string_t&) override { return Value(); }
    bool binary(binary_t&) override { return Value(); }
    bool start_object(std::size_t) override { return Value() && Enter(false); }
    bool key(string_t& key) override {
        Frame& object = m_frames.back();
        if (!object.keys.insert(key).second) {
            const std::string at = PointerToObject();
            message = (at.empty() ? std::string("the document") : at) + " holds the key \"" + key +
                      "\" twice";
            return false;
        }
        object.key = key;
        return true;
    }
    bool end_object() override { return Leave(); }
    bool start_array(std::size_t) override { return Value() && Enter(true); }
    bool end_array() override { return Leave(); }
    bool parse_error(std::size_t, const std::string&,
                     const nlohmann::detail::exception& error) override {
        std::string what = error.what();
        // "[json.exception.parse_error.101] parse error at line 1, column 2: ..."
        if (const auto bracket = what.find("] "); bracket != std::string::npos) {
            what.erase(0, bracket + 2);
        }
        message = "not JSON: " + what;
        return false;
    }

    std::string message;

private:
    struct Frame {
        bool array = false;
        std::size_t count = 0;   // an array's items so far
        std::size_t current = 0; // the index of the item being read
        std::string key;         // an object's key being read
        std::set<std::string> keys;
    };

    bool Value() {
        if (++m_values > kMaxJsonResumeValues) {
            message = "the document holds more than " + std::to_string(kMaxJsonResumeValues) +
                      " values; a resume has a few hundred";
            return false;
        }
        if (!m_frames.empty() && m_frames.back().array) {
            m_frames.back().current = m_frames.back().count++;
        }
        return true;
    }
    bool Enter(bool array) {
        if (m_frames.size() >= kMaxJsonResumeDepth) {
            message = "the document nests lists and objects more than " +
                      std::to_string(kMaxJsonResumeDepth) + " deep";
            return false;
        }
        m_frames.push_back({});
        m_frames.back().array = array;
        return true;
    }
    bool Leave() {
        m_frames.pop_back();
        return true;
    }
    std::string PointerToObject() const {
        std::string at;
        for (std::size_t i = 0; i + 1 < m_frames.size(); ++i) {
            const Frame& f = m_frames[i];
            at = PointerTo(at, f.array ? std::to_string(f.current) : f.key);
        }
        return at;
    }

    std::size_t m_values = 0;
    std::vector<Frame> m_frames;
};

bool HasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

NodeInfo ImportedInfo(const NodeInfo& model, std::string description) {
    NodeInfo info = model;
    info.description = std::move(description);
    info.author = "JSON Resume import";
    info.releaseDate.clear();
    if (info.renderCapabilities == 0) {
        info.renderCapabilities = 3;
    }
    return info;
}

NodeHelp ImportedHelp(const std::string& pointer, const std::string& exactDates = {}) {
    return {ImportedHelpText(pointer, exactDates), kJsonResumeHelpAddress};
}

// Builds the nodes of an imported resume after the fashion of a template: each node is a copy
// of the template's first node of its kind, so the resume takes the template's look whether
// its nodes inherit their style or carry their own.
class TreeBuilder {
public:
    explicit TreeBuilder(const ResumeTemplate& resumeTemplate) : m_template(resumeTemplate) {
        const NodeTables& t = resumeTemplate.tables;
        int headers = 0;
        for (const StackEntry& entry : t.activeStack) {
            if (!t.RefersToRecord(entry)) {
                continue;
            }
            const auto index = static_cast<std::size_t>(entry.index);
            switch (entry.kind) {
            case kKindHeader:
                if (headers++ == 0) {
                    m_nameHeader = t.headers[index];
                } else if (!m_sectionHeader) {
                    m_sectionHeader = t.headers[index];
                }
                break;
            case kKindResumeSection:
                m_section = m_section.value_or(t.resumeSections[index]);
                break;
            case kKindSLField:
                m_slField = m_slField.value_or(t.slFields[index]);
                break;
            case kKindMLField:
                m_mlField = m_mlField.value_or(t.mlFields[index]);
                break;
            default:
                break;
            }
        }
        if (!m_sectionHeader) {
            m_sectionHeader = m_nameHeader.value_or(HeaderNode{});
            m_sectionHeader->inheritStyle = true;
        }
        if (!m_nameHeader) {
            m_nameHeader = m_sectionHeader;
        }
        auto inheriting = [](auto record) {
            record.inheritStyle = true;
            return record;
        };
        m_section = m_section.value_or(inheriting(ResumeSectionNode{}));
        m_slField = m_slField.value_or(inheriting(SLFieldNode{}));
        m_mlField = m_mlField.value_or(inheriting(MLFieldNode{}));
        m_tables.resume = std::make_unique<ResumeNode>(t.resume ? *t.resume : ResumeNode{});
        m_tables.activeStack.push_back(kResumeEntry);
    }

    void NameHeader(const std::string& text, const std::string& at) {
        Header(*m_nameHeader, text, at);
    }
    void SectionHeader(const std::string& text, const std::string& at) {
        Header(*m_sectionHeader, text, at);
    }

    void Entry(const EntryText& text, const std::string& at) {
        if (text.singleLine) {
            Field(text.title, text.lines.empty() ? std::string() : text.lines[0], at,
                  text.exactDates);
            return;
        }
        ResumeSectionNode node = *m_section;
        node.title = text.title;
        node.data.text = JoinLines(text.lines);
        node.info = ImportedInfo(node.info, "Section: " + text.title);
        node.help = ImportedHelp(at, text.exactDates);
        Add(std::move(node), StackId::Active);
    }

    void Field(const std::string& name, const std::string& data, const std::string& at,
               const std::string& exactDates = {}, StackId stack = StackId::Active) {
        SLFieldNode node = *m_slField;
        node.fieldName = name;
        node.fieldData = data;
        node.info = ImportedInfo(node.info, "Field: " + name);
        node.help = ImportedHelp(at, exactDates);
        Add(std::move(node), stack);
    }

    void Lines(const std::string& name, const std::string& text, const std::string& at,
               StackId stack = StackId::Active) {
        MLFieldNode node = *m_mlField;
        node.fieldName = name;
        node.fieldData.text = JoinLines(SplitLines(text));
        node.info = ImportedInfo(node.info, "Field: " + name);
        node.help = ImportedHelp(at);
        Add(std::move(node), stack);
    }

    // A value the resume does not show: an inactive field named by its JSON pointer, holding
    // the value as JSON.
    void Keep(const std::string& at, const Json& value) {
        const std::string text = Dump(value, value.is_structured() ? 2 : -1);
        if (HasLineBreak(text)) {
            Lines(at, text, at, StackId::Inactive);
        } else {
            Field(at, text, at, {}, StackId::Inactive);
        }
        kept.push_back(at);
    }

    NodeTables Take(const std::string& name) {
        if (!name.empty()) {
            m_tables.resume->name = name;
        }
        m_tables.resume->description =
            "Imported from JSON Resume in the styles of the " + m_template.name + " template.";
        m_tables.resume->renderer = m_template.renderer;
        return std::move(m_tables);
    }

    std::size_t Count() const {
        return m_tables.activeStack.size() + m_tables.inactiveStack.size();
    }

    std::vector<std::string> kept;

private:
    void Header(HeaderNode node, const std::string& text, const std::string& at) {
        node.header = text;
        node.info = ImportedInfo(node.info, "Header: " + text);
        node.help = ImportedHelp(at);
        Add(std::move(node), StackId::Active);
    }

    template <typename Record> void Add(Record record, StackId stack) {
        auto& table = m_tables.Table<Record>();
        table.push_back(std::move(record));
        m_tables.Stack(stack).push_back(
            {static_cast<int32_t>(table.size() - 1), RecordKind<Record>::kind});
    }

    const ResumeTemplate& m_template;
    NodeTables m_tables;
    std::optional<HeaderNode> m_nameHeader;
    std::optional<HeaderNode> m_sectionHeader;
    std::optional<ResumeSectionNode> m_section;
    std::optional<SLFieldNode> m_slField;
    std::optional<MLFieldNode> m_mlField;
};

// The text a node of the given kind would give back: a title holds one line, a single line
// field's data too, and a block's lines go through its CR LF text.
std::optional<EntryText> AsStored(EntryText text) {
    if (HasLineBreak(text.title) ||
        (text.singleLine && !text.lines.empty() && HasLineBreak(text.lines[0]))) {
        return std::nullopt;
    }
    if (!text.singleLine) {
        text.lines = SplitLines(JoinLines(text.lines));
    }
    return text;
}

// The most compact form that gives the entry back exactly. Keys no form gives back are taken
// out of values and named in lost.
// A profile among the contacts must not look like a contact, or the export takes it for one.
bool FitsAmongContacts(const EntryText& text) {
    if (!text.singleLine) {
        return !NamesBasicsBlock(text.title);
    }
    return !NamesBasicsField(text.title);
}

EntryText ChooseForm(const SectionLayout& layout, EntryValues& values,
                     std::vector<std::string>& lost) {
    const bool profile = &layout == &ProfileLayout();
    for (const EntryForm form : {EntryForm::Compact, EntryForm::Natural, EntryForm::FirstInTitle,
                                 EntryForm::AllLabelled}) {
        const std::optional<EntryText> text = ComposeEntry(layout, values, form);
        std::optional<EntryText> stored = text ? AsStored(*text) : std::nullopt;
        if (stored && profile && !FitsAmongContacts(*stored)) {
            stored.reset();
        }
        if (stored) {
            const ParsedEntry back = ParseEntry(layout, *stored);
            if (back.values == values && back.leftovers.empty()) {
                return *text;
            }
        }
    }
    // Every key on a labelled line reads back unless its own text breaks the line: those keys
    // go, one round at a time, until the rest reads back.
    for (;;) {
        EntryText text = *ComposeEntry(layout, values, EntryForm::AllLabelled);
        std::optional<EntryText> stored = AsStored(text);
        if (stored && profile && !FitsAmongContacts(*stored)) {
            stored.reset();
        }
        const ParsedEntry back = stored ? ParseEntry(layout, *stored) : ParsedEntry{};
        std::vector<std::string> wrong;
        for (const auto& [key, value] : values) {
            const auto it = back.values.find(key);
            if (!stored || it == back.values.end() || it->second != value) {
                wrong.push_back(key);
            }
        }
        if (wrong.empty() || values.empty()) {
            return text;
        }
        for (const std::string& key : wrong) {
            values.erase(key);
            lost.push_back(key);
        }
    }
}

EntryValue ValueOf(const Json& value) {
    if (value.is_array()) {
        std::vector<std::string> items;
        items.reserve(value.size());
        for (const Json& item : value) {
            items.push_back(item.get<std::string>());
        }
        return EntryValue::List(std::move(items));
    }
    return EntryValue::Text(value.get<std::string>());
}

class Importer {
public:
    Importer(const Json& input, const ResumeTemplate& resumeTemplate,
             const std::set<std::string>& unplaced)
        : m_input(input), m_unplaced(unplaced), m_build(resumeTemplate) {}

    TreeBuilder& Run() {
        const auto basics = m_input.find("basics");
        if (basics != m_input.end()) {
            if (Placed("/basics")) {
                Basics(*basics);
            } else {
                m_build.Keep("/basics", *basics);
            }
        }
        for (const auto& [key, value] : m_input.items()) {
            const std::string at = PointerTo("", key);
            if (key == "basics") {
                continue;
            }
            if (const SectionLayout* layout = SectionLayoutOf(key); layout && Placed(at)) {
                Section(*layout, value, at);
            } else {
                m_build.Keep(at, value);
            }
        }
        return m_build;
    }

private:
    bool Placed(const std::string& at) const { return !m_unplaced.count(at); }

    // What an entry shows and what it keeps aside.
    struct Planned {
        std::string at;
        bool whole = false; // kept as one value: nothing of it is shown
        EntryText text;
        std::vector<std::pair<std::string, const Json*>> kept;
    };

    Planned Plan(const SectionLayout& layout, const Json& entry, const std::string& at) {
        Planned plan;
        plan.at = at;
        EntryValues values;
        if (Placed(at)) {
            for (const auto& [key, value] : entry.items()) {
                const std::string here = PointerTo(at, key);
                if (layout.Find(key) != nullptr && Placed(here)) {
                    values[key] = ValueOf(value);
                } else {
                    plan.kept.emplace_back(here, &value);
                }
            }
        }
        std::vector<std::string> lost;
        if (!values.empty()) {
            plan.text = ChooseForm(layout, values, lost);
        }
        for (const std::string& key : lost) {
            plan.kept.emplace_back(PointerTo(at, key), &entry[key]);
        }
        plan.whole = values.empty();
        return plan;
    }

    void Emit(const Planned& plan, const Json& entry) {
        if (plan.whole) {
            m_build.Keep(plan.at, entry);
            return;
        }
        m_build.Entry(plan.text, plan.at);
        for (const auto& [at, value] : plan.kept) {
            m_build.Keep(at, *value);
        }
    }

    void Section(const SectionLayout& layout, const Json& list, const std::string& at) {
        std::vector<Planned> plans;
        for (std::size_t i = 0; i < list.size(); ++i) {
            plans.push_back(Plan(layout, list[i], PointerTo(at, std::to_string(i))));
        }
        if (std::all_of(plans.begin(), plans.end(), [](const Planned& p) { return p.whole; })) {
            m_build.Keep(at, list);
            return;
        }
        m_build.SectionHeader(layout.heading, at);
        for (std::size_t i = 0; i < list.size(); ++i) {
            Emit(plans[i], list[i]);
        }
    }

    const Json* Shown(const Json& object, const std::string& at, const char* key) {
        const auto it = object.find(key);
        if (it == object.end()) {
            return nullptr;
        }
        if (!Placed(PointerTo(at, key))) {
            m_build.Keep(PointerTo(at, key), *it);
            return nullptr;
        }
        return &*it;
    }

    void Basics(const Json& basics) {
        const std::string at = "/basics";
        std::set<std::string> handled = {"name", "label", "summary", "location", "profiles"};
        if (const Json* name = Shown(basics, at, "name")) {
            m_build.NameHeader(name->get<std::string>(), PointerTo(at, "name"));
        }
        const Json* label = Shown(basics, at, "label");
        const Json* summary = Shown(basics, at, "summary");
        if (summary != nullptr && label != nullptr &&
            HasLineBreak(label->get_ref<const std::string&>())) {
            m_build.Keep(PointerTo(at, "label"), *label); // the summary's title is one line
            label = nullptr;
        }
        for (const BasicsField& field : ContactFields()) {
            handled.insert(field.key);
            const Json* value = field.key == std::string("label")
                                    ? (summary != nullptr ? nullptr : label)
                                    : Shown(basics, at, field.key);
            if (value == nullptr) {
                continue;
            }
            const auto& text = value->get_ref<const std::string&>();
            if (HasLineBreak(text)) {
                m_build.Keep(PointerTo(at, field.key), *value);
            } else {
                m_build.Field(field.name, text, PointerTo(at, field.key));
            }
        }
        if (const auto location = basics.find("location"); location != basics.end()) {
            Location(*location, PointerTo(at, "location"));
        }
        if (const auto profiles = basics.find("profiles"); profiles != basics.end()) {
            const std::string here = PointerTo(at, "profiles");
            if (!Placed(here) || profiles->empty()) {
                m_build.Keep(here, *profiles);
            } else {
                for (std::size_t i = 0; i < profiles->size(); ++i) {
                    Emit(Plan(ProfileLayout(), (*profiles)[i], PointerTo(here, std::to_string(i))),
                         (*profiles)[i]);
                }
            }
        }
        for (const auto& [key, value] : basics.items()) {
            if (!handled.count(key)) {
                m_build.Keep(PointerTo(at, key), value);
            }
        }
        if (summary != nullptr) {
            m_build.SectionHeader(kSummaryHeading, PointerTo(at, "summary"));
            EntryText text;
            if (label != nullptr) {
                text.title = label->get<std::string>();
            }
            text.lines = SplitLines(summary->get_ref<const std::string&>());
            if (text.lines.empty()) {
                text.lines.emplace_back();
            }
            m_build.Entry(text, PointerTo(at, "summary"));
        }
    }

    void Location(const Json& location, const std::string& at) {
        if (!Placed(at) || location.empty()) {
            m_build.Keep(at, location);
            return;
        }
        std::set<std::string> handled;
        for (const BasicsField& field : LocationFields()) {
            handled.insert(field.key);
            const Json* value = Shown(location, at, field.key);
            if (value == nullptr) {
                continue;
            }
            const auto& text = value->get_ref<const std::string&>();
            if (!HasLineBreak(text)) {
                m_build.Field(field.name, text, PointerTo(at, field.key));
            } else if (field.key == std::string("address")) {
                m_build.Lines(field.name, text, PointerTo(at, field.key));
            } else {
                m_build.Keep(PointerTo(at, field.key), *value);
            }
        }
        for (const auto& [key, value] : location.items()) {
            if (!handled.count(key)) {
                m_build.Keep(PointerTo(at, key), value);
            }
        }
    }

    const Json& m_input;
    const std::set<std::string>& m_unplaced;
    TreeBuilder m_build;
};

// The places where what the export gives back differs from the input, at the level the import
// can keep aside: a field of basics or of an entry, an entry, a section.
class Differences {
public:
    explicit Differences(std::set<std::string>& found) : m_found(found) {}

    void Document(const Json& in, const Json& out) {
        for (const auto& [key, value] : in.items()) {
            const std::string at = PointerTo("", key);
            const Json* back = Find(out, key);
            if (key == "basics" && value.is_object() && back && back->is_object()) {
                Basics(value, *back, at);
            } else if (SectionLayoutOf(key) != nullptr && value.is_array()) {
                Entries(value, back, at);
            } else {
                Leaf(value, back, at);
            }
        }
    }

private:
    static const Json* Find(const Json& object, const std::string& key) {
        const auto it = object.find(key);
        return it == object.end() ? nullptr : &*it;
    }

    void Leaf(const Json& in, const Json* out, const std::string& at) {
        if (out == nullptr || *out != in) {
            m_found.insert(at);
        }
    }

    void Basics(const Json& in, const Json& out, const std::string& at) {
        for (const auto& [key, value] : in.items()) {
            const std::string here = PointerTo(at, key);
            const Json* back = Find(out, key);
            if (key == "location" && value.is_object() && !value.empty() && back &&
                back->is_object()) {
                for (const auto& [field, text] : value.items()) {
                    Leaf(text, Find(*back, field), PointerTo(here, field));
                }
            } else if (key == "profiles" && value.is_array()) {
                Entries(value, back, here);
            } else {
                Leaf(value, back, here);
            }
        }
    }

    void Entries(const Json& in, const Json* out, const std::string& at) {
        if (out == nullptr || !out->is_array() || out->size() != in.size()) {
            m_found.insert(at);
            return;
        }
        for (std::size_t i = 0; i < in.size(); ++i) {
            const std::string here = PointerTo(at, std::to_string(i));
            const Json& entry = in[i];
            const Json& back = (*out)[i];
            if (!entry.is_object() || !back.is_object()) {
                Leaf(entry, &back, here);
                continue;
            }
            for (const auto& [key, value] : entry.items()) {
                Leaf(value, Find(back, key), PointerTo(here, key));
            }
            for (const auto& [key, value] : back.items()) {
                if (!entry.contains(key)) {
                    m_found.insert(here);
                }
            }
        }
    }

    std::set<std::string>& m_found;
};

// Rounds of checking are few: each one keeps aside everything that did not come back.
constexpr int kMaxRounds = 8;

} // namespace

} // namespace jsonresume

using jsonresume::Json;

JsonResumeImport ImportJsonResume(std::string_view json, const ResumeTemplate& resumeTemplate) {
    JsonResumeImport result;
    try {
        if (json.size() > kMaxJsonResumeBytes) {
            result.error = "the document is larger than " +
                           std::to_string(kMaxJsonResumeBytes >> 20) + " MB; a resume is smaller";
            return result;
        }
        jsonresume::LimitCheck limits;
        if (!Json::sax_parse(json, &limits)) {
            result.error = limits.message.empty() ? "not JSON" : limits.message;
            return result;
        }
        const Json input = Json::parse(json);
        const std::vector<jsonresume::SchemaProblem> problems =
            jsonresume::FindSchemaProblems(input, false);
        if (!problems.empty()) {
            const jsonresume::SchemaProblem& first = problems.front();
            result.error = (first.pointer.empty() ? std::string("the document") : first.pointer) +
                           " " + first.problem;
            return result;
        }
        // Build, read the result back as the export would, and keep aside whatever did not
        // come back the same, until everything does.
        std::set<std::string> unplaced;
        for (int round = 0;; ++round) {
            jsonresume::Importer importer(input, resumeTemplate, unplaced);
            jsonresume::TreeBuilder& built = importer.Run();
            result.nodeCount = built.Count() - 1;
            result.unplaced = built.kept;
            const auto name = input.contains("basics") && input["basics"].contains("name")
                                  ? input["basics"]["name"].get<std::string>()
                                  : std::string();
            result.tables = built.Take(name);
            std::vector<std::string> unmapped;
            const Json back = jsonresume::ExportTree(result.tables, unmapped);
            std::set<std::string> found;
            jsonresume::Differences(found).Document(input, back);
            std::size_t before = unplaced.size();
            unplaced.insert(found.begin(), found.end());
            if (unplaced.size() == before || round + 1 == jsonresume::kMaxRounds) {
                break;
            }
        }
        for (const StackId stack : {StackId::Active, StackId::Inactive}) {
            if (result.tables.Stack(stack).size() > static_cast<std::size_t>(kMaxTlxEntries)) {
                result.error = "the document would make more than " +
                               std::to_string(kMaxTlxEntries) + " nodes";
                result.tables = NodeTables{};
                return result;
            }
        }
        result.renderer = resumeTemplate.renderer;
        result.ok = true;
    } catch (const std::bad_alloc&) {
        result = JsonResumeImport{};
        result.error = "not enough memory to read the document";
    } catch (const std::exception& error) {
        result = JsonResumeImport{};
        result.error = std::string("the document cannot be read: ") + error.what();
    }
    return result;
}

TemplateLoad LoadResumeTemplate(const std::string& programFolder, const std::string& name) {
    TemplateLoad load;
    const std::vector<std::string> names = ResumeTemplateNames(programFolder);
    if (std::find(names.begin(), names.end(), name) == names.end()) {
        std::string known;
        for (const std::string& n : names) {
            known += (known.empty() ? "" : ", ") + n;
        }
        load.error = "there is no template \"" + name + "\"" +
                     (known.empty() ? std::string(" (no templates are installed)")
                                    : " (the templates are " + known + ")");
        return load;
    }
    const std::string path = programFolder + "/templates/" + name + ".tlx";
    std::string bytes;
    const FileResult read = ReadWholeFile(path, bytes, std::size_t{64} << 20);
    if (!read.ok) {
        load.error = "the template cannot be read: " + read.message;
        return load;
    }
    NodeTree tree{programFolder};
    ResetNodeTree(tree, {});
    SilentPrompter prompter;
    Archive ar = Archive::ForLoading(bytes);
    if (ReadTLX(ar, tree, prompter) != TlxReadStatus::Loaded) {
        load.error = "the template " + path + " is damaged";
        return load;
    }
    load.resumeTemplate.name = name;
    load.resumeTemplate.tables = tree;
    load.resumeTemplate.renderer = tree.renderer;
    load.ok = true;
    return load;
}

std::vector<std::string> ResumeTemplateNames(const std::string& programFolder) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(programFolder + "/templates", error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
        if (it->path().extension() == ".tlx") {
            names.push_back(it->path().stem().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ImportLogEntry(const JsonResumeImport& result, const std::string& source) {
    if (!result.ok) {
        return "WARNING: The JSON Resume could not be imported: " + source + ": " + result.error +
               "\r\n\r\n";
    }
    std::string entry = "MEM: Imported JSON Resume: " + source + " (" +
                        std::to_string(result.nodeCount) + " nodes)\r\n\r\n";
    if (!result.unplaced.empty()) {
        entry += "INFO: Kept in inactive nodes, having no place in the resume: ";
        for (std::size_t i = 0; i < result.unplaced.size(); ++i) {
            entry += (i > 0 ? ", " : "") + result.unplaced[i];
        }
        entry += ".\r\n\r\n";
    }
    return entry;
}

} // namespace trellic
