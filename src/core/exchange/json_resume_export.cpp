#include "engine/code_page.h"
#include "exchange/json_resume.h"
#include "exchange/json_resume_mapping.h"
#include "exchange/resume_dates.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <new>
#include <tuple>

namespace trellic {

namespace jsonresume {

namespace {

constexpr const char* kMetaNote =
    "Parts of the Trellic resume that have no place in the JSON Resume schema, kept here so "
    "that nothing is lost.";

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

bool IsNamed(const std::vector<std::string_view>& names, std::string_view name) {
    const std::string lower = Lower(Trimmed(name));
    return std::find(names.begin(), names.end(), lower) != names.end();
}

// A node's CR LF text with JSON's line feeds.
std::string NodeText(const std::string& text) {
    std::string out;
    const std::vector<std::string> lines = SplitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        out += (i > 0 ? "\n" : "") + lines[i];
    }
    return out;
}

// The whitespace the official validator's URI pattern refuses (JavaScript's \s).
bool IsSpace(char32_t c) {
    return c == ' ' || (c >= 0x09 && c <= 0x0D) || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x3000 || c == 0xFEFF;
}

bool IsUri(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 ||
        !std::isalpha(static_cast<unsigned char>(text[0]))) {
        return false;
    }
    for (const char c : text.substr(0, colon)) {
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != ',' && c != '-' &&
            c != '.') {
            return false;
        }
    }
    const std::u32string rest = DecodeUtf8(text.substr(colon + 1));
    return std::none_of(rest.begin(), rest.end(), IsSpace);
}

// The official validator's e-mail form: dot-separated atoms, "@", and a host name of two
// labels or more (or an IPv4 address in brackets).
bool IsEmail(std::string_view text) {
    const auto at = text.rfind('@');
    if (at == std::string_view::npos || at == 0) {
        return false;
    }
    const std::string_view local = text.substr(0, at);
    const std::string_view host = text.substr(at + 1);
    constexpr std::string_view kAtomSigns = "!#$%&'*+/=?^`{|}~-_";
    char previous = '.';
    for (const char c : local) {
        if (c == '.' ? previous == '.'
                     : !std::isalnum(static_cast<unsigned char>(c)) &&
                           kAtomSigns.find(c) == std::string_view::npos) {
            return false;
        }
        previous = c;
    }
    if (previous == '.') {
        return false;
    }
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
        int dots = 0;
        for (const char c : host.substr(1, host.size() - 2)) {
            if (c == '.') {
                ++dots;
            } else if (!std::isdigit(static_cast<unsigned char>(c))) {
                return false;
            }
        }
        return dots == 3;
    }
    std::size_t labels = 0;
    std::size_t from = 0;
    for (;;) {
        const auto dot = host.find('.', from);
        const std::string_view label =
            host.substr(from, dot == std::string_view::npos ? std::string_view::npos : dot - from);
        if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-') {
            return false;
        }
        for (const char c : label) {
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-') {
                return false;
            }
        }
        ++labels;
        if (dot == std::string_view::npos) {
            break;
        }
        from = dot + 1;
    }
    return labels >= 2;
}

class ProblemFinder {
public:
    ProblemFinder(std::vector<SchemaProblem>& problems, bool forms)
        : m_problems(problems), m_forms(forms) {}

    void Document(const Json& doc) {
        if (!doc.is_object()) {
            Problem("", "must be a JSON object, not " + TypeName(doc));
            return;
        }
        for (const auto& [key, value] : doc.items()) {
            const std::string at = PointerTo("", key);
            if (key == "$schema") {
                Text(value, at, m_forms ? Form::Uri : Form::Any);
            } else if (key == "basics") {
                Basics(value, at);
            } else if (key == "meta") {
                Meta(value, at);
            } else if (const SectionLayout* layout = SectionLayoutOf(key)) {
                Entries(*layout, value, at);
            }
        }
    }

private:
    enum class Form { Any, Date, Email, Uri };

    void Problem(const std::string& at, std::string problem) {
        m_problems.push_back({at, std::move(problem)});
    }

    bool Object(const Json& value, const std::string& at) {
        if (!value.is_object()) {
            Problem(at, "must be an object, not " + TypeName(value));
            return false;
        }
        return true;
    }

    void Text(const Json& value, const std::string& at, Form form) {
        if (!value.is_string()) {
            Problem(at, "must be a text, not " + TypeName(value));
            return;
        }
        const auto& text = value.get_ref<const std::string&>();
        if (form == Form::Date && !IsSchemaDate(text)) {
            Problem(at, "is not a date the schema takes (2014, 2014-06 or 2014-06-29)");
        } else if (form == Form::Email && !IsEmail(text)) {
            Problem(at, "is not an e-mail address");
        } else if (form == Form::Uri && !IsUri(text)) {
            Problem(at, "is not an address with a scheme (https://...)");
        }
    }

    void Texts(const Json& value, const std::string& at) {
        if (!value.is_array()) {
            Problem(at, "must be a list of texts, not " + TypeName(value));
            return;
        }
        for (std::size_t i = 0; i < value.size(); ++i) {
            Text(value[i], PointerTo(at, std::to_string(i)), Form::Any);
        }
    }

    void Basics(const Json& basics, const std::string& at) {
        if (!Object(basics, at)) {
            return;
        }
        for (const auto& [key, value] : basics.items()) {
            const std::string here = PointerTo(at, key);
            if (key == "location") {
                if (Object(value, here)) {
                    for (const BasicsField& field : LocationFields()) {
                        if (value.contains(field.key)) {
                            Text(value[field.key], PointerTo(here, field.key), Form::Any);
                        }
                    }
                }
            } else if (key == "profiles") {
                Entries(ProfileLayout(), value, here);
            } else if (key == "email") {
                Text(value, here, m_forms ? Form::Email : Form::Any);
            } else if (key == "url") {
                Text(value, here, m_forms ? Form::Uri : Form::Any);
            } else if (key == "name" || key == "label" || key == "image" || key == "phone" ||
                       key == "summary") {
                Text(value, here, Form::Any);
            }
        }
    }

    void Entries(const SectionLayout& layout, const Json& list, const std::string& at) {
        if (!list.is_array()) {
            Problem(at, "must be a list of entries, not " + TypeName(list));
            return;
        }
        for (std::size_t i = 0; i < list.size(); ++i) {
            const std::string entryAt = PointerTo(at, std::to_string(i));
            if (!Object(list[i], entryAt)) {
                continue;
            }
            for (const auto& [key, value] : list[i].items()) {
                const KeyLayout* keyLayout = layout.Find(key);
                if (keyLayout == nullptr) {
                    continue;
                }
                const std::string here = PointerTo(entryAt, key);
                if (keyLayout->isList) {
                    Texts(value, here);
                } else {
                    Form form = Form::Any;
                    if (m_forms && keyLayout->slot == Slot::Date) {
                        form = Form::Date;
                    } else if (m_forms && key == "url") {
                        form = Form::Uri;
                    }
                    Text(value, here, form);
                }
            }
        }
    }

    void Meta(const Json& meta, const std::string& at) {
        if (!Object(meta, at)) {
            return;
        }
        for (const auto& [key, value] : meta.items()) {
            if (key == "canonical") {
                Text(value, PointerTo(at, key), m_forms ? Form::Uri : Form::Any);
            } else if (key == "version" || key == "lastModified") {
                Text(value, PointerTo(at, key), Form::Any);
            }
        }
    }

    std::vector<SchemaProblem>& m_problems;
    bool m_forms;
};

bool IsIndex(std::string_view token) {
    return !token.empty() && token.size() < 10 &&
           std::all_of(token.begin(), token.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// The value an inactive node held, put back where the import found it.
struct Restoration {
    std::string pointer;
    std::vector<std::string> tokens;
    Json value;
};

class Exporter {
public:
    explicit Exporter(const NodeTables& tables) : m_tables(tables) {}

    Json Run(std::vector<std::string>& unmapped) {
        bool first = true;
        for (const StackEntry& entry : m_tables.activeStack) {
            if (entry.kind == kKindResume) {
                continue;
            }
            VisitRecord(m_tables, entry, [&](const auto& node) { Active(node, first); });
            first = false;
        }
        for (const StackEntry& entry : m_tables.inactiveStack) {
            VisitRecord(m_tables, entry, [&](const auto& node) { Inactive(node); });
        }
        Json out = Json::object();
        if (!m_location.empty()) {
            m_basics["location"] = std::move(m_location);
        }
        if (!m_profiles.empty()) {
            m_basics["profiles"] = std::move(m_profiles);
        }
        if (!m_basics.empty()) {
            out["basics"] = std::move(m_basics);
        }
        for (const std::string& key : m_sectionOrder) {
            out[key] = std::move(m_sections[key]);
        }
        Restore(out);
        Conform(out);
        if (!m_notes.empty()) {
            if (!out.contains("meta")) {
                out["meta"] = Json::object();
            }
            out["meta"]["trellic"] = Json{{"note", kMetaNote}, {"unmapped", std::move(m_notes)}};
        }
        // The schema link reads first, as every JSON Resume has it.
        if (out.contains("$schema")) {
            Json ordered = Json::object();
            ordered["$schema"] = out["$schema"];
            for (auto& [key, value] : out.items()) {
                if (key != "$schema") {
                    ordered[key] = std::move(value);
                }
            }
            out = std::move(ordered);
        }
        unmapped = std::move(m_log);
        return out;
    }

private:
    enum class Area { Basics, Summary, Section, Unknown };

    // --- the active stack -------------------------------------------------------------

    void Active(const ResumeNode&, bool) {}

    void Active(const HeaderNode& node, bool first) {
        if (NamesSummary(node.header)) {
            m_area = Area::Summary;
        } else if (const SectionLayout* layout = SectionNamedBy(node.header)) {
            m_area = Area::Section;
            m_layout = layout;
            if (!m_sections.count(layout->key)) {
                m_sections[layout->key] = Json::array();
                m_sectionOrder.emplace_back(layout->key);
            }
        } else if (first && !m_basics.contains("name")) {
            m_basics["name"] = node.header;
        } else {
            m_area = Area::Unknown;
            Unmapped(Described(node), "the header \"" + node.header + "\"");
        }
    }

    // Called from the generic visitor through plain overloads: clang 14 leaves a member
    // template that a generic lambda names before its definition uninstantiated.
    void Active(const ResumeSectionNode& node, bool) { ActiveField(node); }
    void Active(const SLFieldNode& node, bool) { ActiveField(node); }
    void Active(const MLFieldNode& node, bool) { ActiveField(node); }

    template <typename Field> void ActiveField(const Field& node) {
        const EntryText text = EntryTextOf(node);
        switch (m_area) {
        case Area::Basics:
            BasicsNode(node, text);
            break;
        case Area::Summary:
            if (text.singleLine) {
                BasicsNode(node, text);
            } else {
                SummaryNode(text);
            }
            break;
        case Area::Section:
            SectionNode(node, text);
            break;
        case Area::Unknown:
            Unmapped(Described(node), Named(node) + " under a header of no section");
            break;
        }
    }

    void Active(const RTFOutputNode& node, bool) {
        Unmapped(Described(node), "the rich text output \"" + node.name + "\"");
    }
    void Active(const TXTOutputNode& node, bool) {
        Unmapped(Described(node), "the text output \"" + node.name + "\"");
    }

    template <typename Field> void BasicsNode(const Field& node, const EntryText& text) {
        if (text.singleLine) {
            const std::string data = text.lines.empty() ? std::string() : text.lines[0];
            for (const BasicsField& field : ContactFields()) {
                if (IsNamed(field.names, text.title) && !m_basics.contains(field.key)) {
                    m_basics[field.key] = data;
                    return;
                }
            }
            for (const BasicsField& field : LocationFields()) {
                if (IsNamed(field.names, text.title) && !m_location.contains(field.key)) {
                    m_location[field.key] = data;
                    return;
                }
            }
            m_profiles.push_back(EntryObject(ProfileLayout(), ParseEntry(ProfileLayout(), text)));
            return;
        }
        if (IsNamed({"address"}, text.title) && !m_location.contains("address")) {
            m_location["address"] = NodeText(JoinLines(text.lines));
            return;
        }
        if (NamesSummary(text.title)) {
            EntryText body = text;
            body.title.clear();
            SummaryNode(body);
            return;
        }
        const ParsedEntry profile = ParseEntry(ProfileLayout(), text);
        if (profile.leftovers.empty() &&
            (profile.values.count("username") || profile.values.count("url"))) {
            m_profiles.push_back(EntryObject(ProfileLayout(), profile));
            return;
        }
        Unmapped(Described(node), Named(node) + " among the contacts");
    }

    void SummaryNode(const EntryText& text) {
        if (!text.title.empty() && !NamesSummary(text.title)) {
            if (!m_basics.contains("label")) {
                m_basics["label"] = text.title;
            } else {
                Leftover("/basics/summary", {text.title});
            }
        }
        if (text.lines.empty()) {
            return;
        }
        std::string summary;
        for (std::size_t i = 0; i < text.lines.size(); ++i) {
            summary += (i > 0 ? "\n" : "") + text.lines[i];
        }
        if (m_basics.contains("summary")) {
            m_basics["summary"].get_ref<std::string&>() += "\n" + summary;
        } else {
            m_basics["summary"] = std::move(summary);
        }
    }

    template <typename Field> void SectionNode(const Field&, const EntryText& text) {
        const SectionLayout& layout = *m_layout;
        Json& list = m_sections[layout.key];
        ParsedEntry parsed = ParseEntry(layout, text);
        // A block of lines under a list heading ("Languages: English, German") holds one entry
        // per line when the section fits entries on one line; a line without a name of its own
        // takes the block's title.
        if (!text.singleLine && layout.compactName != nullptr && !parsed.leftovers.empty() &&
            parsed.values.size() <= 1) {
            for (const std::string& line : parsed.leftovers) {
                const auto colon = line.find(": ");
                EntryText one;
                one.singleLine = true;
                one.title = colon == std::string::npos ? text.title : line.substr(0, colon);
                one.lines.push_back(colon == std::string::npos ? line : line.substr(colon + 2));
                list.push_back(EntryObject(layout, ParseEntry(layout, one)));
            }
            return;
        }
        const std::string at = PointerTo(PointerTo("", layout.key), std::to_string(list.size()));
        if (!parsed.leftovers.empty()) {
            Leftover(at, parsed.leftovers);
        }
        list.push_back(EntryObject(layout, parsed));
    }

    static Json EntryObject(const SectionLayout& layout, const ParsedEntry& parsed) {
        Json object = Json::object();
        for (const KeyLayout& key : layout.keys) {
            const auto it = parsed.values.find(key.key);
            if (it == parsed.values.end()) {
                continue;
            }
            if (it->second.isList) {
                object[key.key] = it->second.items;
            } else {
                object[key.key] = it->second.text;
            }
        }
        return object;
    }

    // --- the inactive stack -----------------------------------------------------------

    void Inactive(const ResumeNode&) {}

    void Inactive(const SLFieldNode& node) {
        if (!Restorable(node.fieldName, node.fieldData)) {
            Unmapped(Described(node, true), "the inactive " + Named(node));
        }
    }
    void Inactive(const MLFieldNode& node) {
        if (!Restorable(node.fieldName, node.fieldData.text)) {
            Unmapped(Described(node, true), "the inactive " + Named(node));
        }
    }
    // Plain overloads for the same reason as Active's.
    void Inactive(const HeaderNode& node) { InactiveNode(node); }
    void Inactive(const ResumeSectionNode& node) { InactiveNode(node); }
    void Inactive(const RTFOutputNode& node) { InactiveNode(node); }
    void Inactive(const TXTOutputNode& node) { InactiveNode(node); }
    template <typename Node> void InactiveNode(const Node& node) {
        Unmapped(Described(node, true), "the inactive " + Named(node));
    }

    bool Restorable(const std::string& name, const std::string& data) {
        if (name.empty() || name[0] != '/') {
            return false;
        }
        Json value = Json::parse(data, nullptr, false);
        if (value.is_discarded()) {
            return false;
        }
        m_restorations.push_back({name, PointerTokens(name), std::move(value)});
        return true;
    }

    void Restore(Json& out) {
        // Whole entries go back first, lowest index first, so the fields that follow find the
        // entries they belong to at the places they had.
        auto order = [](const Restoration& r) {
            const bool index = IsIndex(r.tokens.back());
            return std::make_tuple(r.tokens.size(), !index,
                                   index ? std::stoul(r.tokens.back()) : 0UL);
        };
        std::stable_sort(
            m_restorations.begin(), m_restorations.end(),
            [&](const Restoration& a, const Restoration& b) { return order(a) < order(b); });
        for (Restoration& r : m_restorations) {
            if (!PutBack(out, r)) {
                Unmapped(Json{{"at", r.pointer},
                              {"value", r.value},
                              {"reason", "its place no longer exists or is taken"}},
                         "the kept value " + r.pointer);
            }
        }
    }

    static bool PutBack(Json& out, Restoration& r) {
        if (r.tokens.empty()) {
            return false;
        }
        Json* here = &out;
        for (std::size_t i = 0; i + 1 < r.tokens.size(); ++i) {
            const std::string& token = r.tokens[i];
            if (here->is_object()) {
                if (!here->contains(token)) {
                    (*here)[token] = IsIndex(r.tokens[i + 1]) ? Json::array() : Json::object();
                }
                here = &(*here)[token];
            } else if (here->is_array() && IsIndex(token) && std::stoul(token) < here->size()) {
                here = &(*here)[std::stoul(token)];
            } else {
                return false;
            }
        }
        const std::string& last = r.tokens.back();
        if (here->is_object()) {
            if (here->contains(last)) {
                return false;
            }
            (*here)[last] = std::move(r.value);
            return true;
        }
        if (here->is_array() && IsIndex(last) && std::stoul(last) <= here->size()) {
            here->insert(here->begin() + static_cast<std::ptrdiff_t>(std::stoul(last)),
                         std::move(r.value));
            return true;
        }
        return false;
    }

    // Moves every value the schema would refuse into the notes, last first so that the
    // places of the others stay as they are.
    void Conform(Json& out) {
        const std::vector<SchemaProblem> problems = FindSchemaProblems(out, true);
        Json notes = Json::array();
        std::vector<std::string> logged;
        // An index, not std::views::reverse: clang 14 cannot use libstdc++ 12's views.
        for (std::size_t i = problems.size(); i-- > 0;) {
            const SchemaProblem& problem = problems[i];
            const std::vector<std::string> tokens = PointerTokens(problem.pointer);
            Json* parent = &out;
            for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
                parent =
                    parent->is_array() ? &(*parent)[std::stoul(tokens[i])] : &(*parent)[tokens[i]];
            }
            Json value;
            if (parent->is_array()) {
                const auto index = static_cast<std::ptrdiff_t>(std::stoul(tokens.back()));
                value = std::move((*parent)[static_cast<std::size_t>(index)]);
                parent->erase(parent->begin() + index);
            } else {
                value = std::move((*parent)[tokens.back()]);
                parent->erase(tokens.back());
            }
            notes.push_back(Json{
                {"at", problem.pointer}, {"value", std::move(value)}, {"reason", problem.problem}});
            logged.push_back(problem.pointer + " (" + problem.problem + ")");
        }
        for (auto note = notes.rbegin(); note != notes.rend(); ++note) {
            m_notes.push_back(std::move(*note));
        }
        m_log.insert(m_log.end(), logged.rbegin(), logged.rend());
    }

    // --- notes ----------------------------------------------------------------------------

    void Unmapped(Json note, std::string logged) {
        m_notes.push_back(std::move(note));
        m_log.push_back(std::move(logged));
    }

    void Leftover(const std::string& at, const std::vector<std::string>& lines) {
        Unmapped(Json{{"at", at}, {"lines", lines}}, "lines of " + at + " that fit no key");
    }

    static Json Described(const HeaderNode& node, bool inactive = false) {
        return Note("Header", inactive, {{"text", node.header}});
    }
    static Json Described(const ResumeSectionNode& node, bool inactive = false) {
        return Note("Resume Section", inactive,
                    {{"title", node.title}, {"text", NodeText(node.data.text)}});
    }
    static Json Described(const SLFieldNode& node, bool inactive = false) {
        return Note("Single Line Field", inactive,
                    {{"name", node.fieldName}, {"text", node.fieldData}});
    }
    static Json Described(const MLFieldNode& node, bool inactive = false) {
        return Note("Multiple Line Field", inactive,
                    {{"name", node.fieldName}, {"text", NodeText(node.fieldData.text)}});
    }
    static Json Described(const RTFOutputNode& node, bool inactive = false) {
        return Note("Rich Text File Output", inactive,
                    {{"name", node.name}, {"text", NodeText(node.output.text)}});
    }
    static Json Described(const TXTOutputNode& node, bool inactive = false) {
        return Note("Text File Output", inactive,
                    {{"name", node.name}, {"text", NodeText(node.output.text)}});
    }

    static Json Note(const char* kind, bool inactive,
                     std::initializer_list<std::pair<const char*, std::string>> fields) {
        Json note = Json::object();
        note["node"] = kind;
        if (inactive) {
            note["inactive"] = true;
        }
        for (const auto& [key, value] : fields) {
            note[key] = value;
        }
        return note;
    }

    static std::string Named(const HeaderNode& node) {
        return "the header \"" + node.header + "\"";
    }
    static std::string Named(const ResumeSectionNode& node) {
        return "the section \"" + node.title + "\"";
    }
    static std::string Named(const SLFieldNode& node) {
        return "the field \"" + node.fieldName + "\"";
    }
    static std::string Named(const MLFieldNode& node) {
        return "the field \"" + node.fieldName + "\"";
    }
    static std::string Named(const RTFOutputNode& node) {
        return "the rich text output \"" + node.name + "\"";
    }
    static std::string Named(const TXTOutputNode& node) {
        return "the text output \"" + node.name + "\"";
    }

    const NodeTables& m_tables;
    Area m_area = Area::Basics;
    const SectionLayout* m_layout = nullptr;
    Json m_basics = Json::object();
    Json m_location = Json::object();
    Json m_profiles = Json::array();
    std::map<std::string, Json> m_sections;
    std::vector<std::string> m_sectionOrder;
    std::vector<Restoration> m_restorations;
    Json m_notes = Json::array();
    std::vector<std::string> m_log;
};

std::string ExactDatesIn(const std::string& help) {
    const auto at = help.find(kExactDatesLabel);
    if (at == std::string::npos) {
        return {};
    }
    std::string line = help.substr(at + kExactDatesLabel.size());
    line = line.substr(0, line.find_first_of("\r\n"));
    if (!line.empty() && line.back() == '.') {
        line.pop_back();
    }
    return line;
}

} // namespace

const std::vector<BasicsField>& ContactFields() {
    static const std::vector<BasicsField> kFields = {
        {"label", "Title", {"title", "label", "headline", "profession", "job title"}},
        {"email", "E-mail", {"e-mail", "email", "mail", "e-mail address", "email address"}},
        {"phone", "Phone", {"phone", "telephone", "tel", "mobile", "cell", "phone number"}},
        {"url", "Website", {"website", "web", "homepage", "home page", "url", "web site"}},
    };
    return kFields;
}

const std::vector<BasicsField>& LocationFields() {
    static const std::vector<BasicsField> kFields = {
        {"address", "Address", {"address", "street", "street address"}},
        {"postalCode", "Postal Code", {"postal code", "postcode", "zip", "zip code"}},
        {"city", "City", {"city", "town", "location"}},
        {"region", "Region", {"region", "state", "province", "county"}},
        {"countryCode", "Country", {"country", "country code"}},
    };
    return kFields;
}

bool NamesBasicsField(std::string_view name) {
    for (const auto* fields : {&ContactFields(), &LocationFields()}) {
        for (const BasicsField& field : *fields) {
            if (IsNamed(field.names, name)) {
                return true;
            }
        }
    }
    return false;
}

bool NamesBasicsBlock(std::string_view title) {
    return IsNamed({"address"}, title) || NamesSummary(title);
}

bool NamesSummary(std::string_view heading) {
    return IsNamed({"summary", "profile", "about", "about me", "professional summary",
                    "personal statement", "objective"},
                   heading);
}

const SectionLayout* SectionNamedBy(std::string_view heading) {
    const std::string lower = Lower(Trimmed(heading));
    for (const SectionLayout& layout : SectionLayouts()) {
        if (lower == Lower(layout.key) || std::find(layout.headings.begin(), layout.headings.end(),
                                                    lower) != layout.headings.end()) {
            return &layout;
        }
    }
    return nullptr;
}

std::string PointerTo(const std::string& base, const std::string& token) {
    std::string out = base + "/";
    for (const char c : token) {
        if (c == '~') {
            out += "~0";
        } else if (c == '/') {
            out += "~1";
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<std::string> PointerTokens(std::string_view pointer) {
    std::vector<std::string> tokens;
    if (pointer.empty() || pointer[0] != '/') {
        return tokens;
    }
    std::string token;
    for (std::size_t i = 1; i <= pointer.size(); ++i) {
        if (i == pointer.size() || pointer[i] == '/') {
            tokens.push_back(std::move(token));
            token.clear();
        } else if (pointer[i] == '~' && i + 1 < pointer.size() &&
                   (pointer[i + 1] == '0' || pointer[i + 1] == '1')) {
            token += pointer[++i] == '0' ? '~' : '/';
        } else {
            token += pointer[i];
        }
    }
    return tokens;
}

std::vector<SchemaProblem> FindSchemaProblems(const Json& document, bool forms) {
    std::vector<SchemaProblem> problems;
    ProblemFinder(problems, forms).Document(document);
    return problems;
}

Json ExportTree(const NodeTables& tables, std::vector<std::string>& unmapped) {
    return Exporter(tables).Run(unmapped);
}

std::string TypeName(const Json& value) {
    switch (value.type()) {
    case Json::value_t::object:
        return "an object";
    case Json::value_t::array:
        return "a list";
    case Json::value_t::string:
        return "a text";
    case Json::value_t::boolean:
        return "true or false";
    case Json::value_t::null:
        return "null";
    default:
        return "a number";
    }
}

std::string Dump(const Json& value, int indent) {
    return value.dump(indent, ' ', false, Json::error_handler_t::replace);
}

EntryText EntryTextOf(const ResumeSectionNode& node) {
    EntryText text;
    text.title = node.title;
    text.lines = SplitLines(node.data.text);
    text.exactDates = ExactDatesIn(node.help.helpText);
    return text;
}

EntryText EntryTextOf(const SLFieldNode& node) {
    EntryText text;
    text.singleLine = true;
    text.title = node.fieldName;
    text.lines.push_back(node.fieldData);
    text.exactDates = ExactDatesIn(node.help.helpText);
    return text;
}

EntryText EntryTextOf(const MLFieldNode& node) {
    EntryText text;
    text.title = node.fieldName;
    text.lines = SplitLines(node.fieldData.text);
    text.exactDates = ExactDatesIn(node.help.helpText);
    return text;
}

std::string ImportedHelpText(const std::string& pointer, const std::string& exactDates) {
    std::string help = "Imported from JSON Resume (" + pointer + ").";
    if (!exactDates.empty()) {
        help += "\r\n" + std::string(kExactDatesLabel) + exactDates +
                ".\r\nThe resume shows the months; an export gives back these days as long as "
                "the months stay the same.";
    }
    return help;
}

} // namespace jsonresume

JsonResumeExport ExportJsonResume(const NodeTables& tables) {
    JsonResumeExport result;
    try {
        const jsonresume::Json document = jsonresume::ExportTree(tables, result.unmapped);
        result.json = jsonresume::Dump(document, 2) + "\n";
        result.ok = true;
    } catch (const std::bad_alloc&) {
        result.error = "not enough memory to write the JSON Resume";
    } catch (const std::exception& error) {
        result.error = error.what();
    }
    return result;
}

std::string ExportLogEntry(const JsonResumeExport& result, const std::string& target) {
    std::string entry = "MEM: Exported JSON Resume: " + target + "\r\n\r\n";
    if (!result.unmapped.empty()) {
        entry += "INFO: Kept in the JSON Resume's meta, having no place in its schema: ";
        for (std::size_t i = 0; i < result.unmapped.size(); ++i) {
            entry += (i > 0 ? "; " : "") + result.unmapped[i];
        }
        entry += ".\r\n\r\n";
    }
    return entry;
}

} // namespace trellic
