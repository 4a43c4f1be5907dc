#include "tlx_json.h"

#include "engine/code_page.h"
#include "model/tlx_file.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <set>
#include <type_traits>

namespace trellic::tool {

namespace {

// Every field of a record, in the record's order, under its JSON key. One list per record
// serves both directions, like the binary serialisers.
template <typename V> void Fields(V& v, CharFormat& f) {
    v("faceName", f.faceName);
    v("charSet", f.charSet);
    v("pitchAndFamily", f.pitchAndFamily);
    v("height", f.height);
    v("color", f.color);
    v("bold", f.bold);
    v("italic", f.italic);
    v("underline", f.underline);
    v("strikeout", f.strikeout);
}

template <typename V> void Fields(V& v, ParaFormat& f) {
    v("numbering", f.numbering);
    v("alignment", f.alignment);
    v("lineSpacing", f.lineSpacing);
    v("indent", f.indent);
}

template <typename V> void Fields(V& v, TextStyle& s) {
    v("charFormat", s.charFormat);
    v("paraFormat", s.paraFormat);
}

template <typename V> void Fields(V& v, NodeInfo& i) {
    v("description", i.description);
    v("author", i.author);
    v("releaseDate", i.releaseDate);
    v("version", i.version);
    v("renderCapabilities", i.renderCapabilities);
}

template <typename V> void Fields(V& v, NodeHelp& h) {
    v("helpText", h.helpText);
    v("helpURL", h.helpURL);
}

template <typename V> void Fields(V& v, NodeText& t) {
    v("spacing", t.spacing);
    v("text", t.text);
}

template <typename V> void Fields(V& v, StyleNode& s) {
    v("info", s.info);
    v("headerStyle", s.headerStyle);
    v("headerUnderline", s.headerUnderline);
    v("sectionStyle", s.sectionStyle);
    v("sectionBullet", s.sectionBullet);
    v("slFieldStyle", s.slFieldStyle);
    v("mlFieldStyle", s.mlFieldStyle);
    v("slFieldBullet", s.slFieldBullet);
    v("mlFieldBullet", s.mlFieldBullet);
}

template <typename V> void Fields(V& v, ResumeNode& r) {
    v("style", r.style);
    v("name", r.name);
    v("description", r.description);
    v("defaultCharFormat", r.defaultCharFormat);
    v("renderer", r.renderer);
}

template <typename V> void Fields(V& v, HeaderNode& h) {
    v("info", h.info);
    v("header", h.header);
    v("inheritStyle", h.inheritStyle);
    v("style", h.style);
    v("underline", h.underline);
    v("help", h.help);
}

template <typename V> void Fields(V& v, ResumeSectionNode& s) {
    v("info", s.info);
    v("title", s.title);
    v("inheritStyle", s.inheritStyle);
    v("data", s.data);
    v("style", s.style);
    v("bullet", s.bullet);
    v("help", s.help);
}

template <typename V> void Fields(V& v, SLFieldNode& f) {
    v("info", f.info);
    v("fieldName", f.fieldName);
    v("fieldData", f.fieldData);
    v("inheritStyle", f.inheritStyle);
    v("style", f.style);
    v("bullet", f.bullet);
    v("help", f.help);
}

template <typename V> void Fields(V& v, MLFieldNode& f) {
    v("info", f.info);
    v("fieldName", f.fieldName);
    v("inheritStyle", f.inheritStyle);
    v("fieldData", f.fieldData);
    v("style", f.style);
    v("bullet", f.bullet);
    v("help", f.help);
}

template <typename V> void Fields(V& v, RTFOutputNode& o) {
    v("info", o.info);
    v("useFormatting", o.useFormatting);
    v("style", o.style);
    v("name", o.name);
    v("output", o.output);
    v("help", o.help);
}

template <typename V> void Fields(V& v, TXTOutputNode& o) {
    v("info", o.info);
    v("useFormatting", o.useFormatting);
    v("paraFormat", o.paraFormat);
    v("name", o.name);
    v("output", o.output);
    v("help", o.help);
}

template <typename V> void Fields(V& v, StackEntry& e) {
    v("index", e.index);
    v("kind", e.kind);
}

// The tree's own members, in its order; the resume entry stays in the active stack.
template <typename V> void Fields(V& v, NodeTree& t) {
    v("renderer", t.renderer);
    v("activeStack", t.activeStack);
    v("inactiveStack", t.inactiveStack);
    ResumeNode absent; // a tree that was never reset has no resume record yet
    v("resume", t.resume ? *t.resume : absent);
    v("headers", t.headers);
    v("resumeSections", t.resumeSections);
    v("slFields", t.slFields);
    v("mlFields", t.mlFields);
    v("rtfOutputs", t.rtfOutputs);
    v("txtOutputs", t.txtOutputs);
}

template <typename V> void Fields(V& v, PresetContent& p) {
    switch (p.category) {
    case PresetCategory::Resume:
        v("resume", p.resume);
        break;
    case PresetCategory::Style:
        v("style", p.style);
        break;
    case PresetCategory::HeaderStyles:
        v("underline", p.underline);
        v("textStyle", p.textStyle);
        break;
    case PresetCategory::ResumeSectionStyles:
    case PresetCategory::SLFieldStyles:
    case PresetCategory::MLFieldStyles:
        v("bullet", p.bullet);
        v("textStyle", p.textStyle);
        break;
    case PresetCategory::ParagraphFormat:
        v("paraFormat", p.paraFormat);
        break;
    }
}

Json FloatToJson(float value) {
    if (!std::isfinite(value)) {
        uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%08X", bits);
        return hex;
    }
    // The shortest decimal that reads back as this float, carried as the double it names; the
    // exact double value is the fallback should that double round to a neighbouring float.
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    double shortest = 0.0;
    std::from_chars(text, end, shortest);
    return static_cast<float>(shortest) == value ? shortest : static_cast<double>(value);
}

class ToJson {
public:
    explicit ToJson(Json& out) : m_out(out) {}

    void operator()(const char* key, std::string& text) {
        // Records read from files always hold UTF-8; one filled in by hand may not, and JSON
        // must never carry a malformed byte.
        m_out[key] = IsAscii(text) ? text : EncodeUtf8(DecodeUtf8(text));
    }
    void operator()(const char* key, bool& value) { m_out[key] = value; }
    void operator()(const char* key, uint8_t& value) { m_out[key] = value; }
    void operator()(const char* key, int16_t& value) { m_out[key] = value; }
    void operator()(const char* key, int32_t& value) { m_out[key] = value; }
    void operator()(const char* key, float& value) { m_out[key] = FloatToJson(value); }
    // Codes go out as the numbers the file holds.
    template <typename Enum>
    requires std::is_enum_v<Enum>
    void operator()(const char* key, Enum& value) {
        m_out[key] = static_cast<std::underlying_type_t<Enum>>(value);
    }

    template <typename Record> void operator()(const char* key, std::vector<Record>& list) {
        Json array = Json::array();
        for (auto& record : list) {
            array.push_back(Object(record));
        }
        m_out[key] = std::move(array);
    }

    template <typename Record> void operator()(const char* key, Record& record) {
        m_out[key] = Object(record);
    }

    template <typename Record> static Json Object(Record& record) {
        Json object = Json::object();
        ToJson visitor(object);
        Fields(visitor, record);
        return object;
    }

private:
    Json& m_out;
};

class FromJson {
public:
    FromJson(const Json& in, std::string path, std::string& error)
        : m_in(in), m_path(std::move(path)), m_error(error) {}

    void operator()(const char* key, std::string& text) {
        const Json* j = Find(key);
        if (!j) {
            return;
        }
        if (!j->is_string()) {
            Fail(key, "must be a text");
            return;
        }
        // The JSON reader has checked that the text is UTF-8, as every text in a record is.
        text = j->get<std::string>();
    }

    void operator()(const char* key, bool& value) {
        const Json* j = Find(key);
        if (!j) {
            return;
        }
        if (!j->is_boolean()) {
            Fail(key, "must be true or false");
            return;
        }
        value = j->get<bool>();
    }

    void operator()(const char* key, uint8_t& value) { Integer(key, value); }
    void operator()(const char* key, int16_t& value) { Integer(key, value); }
    void operator()(const char* key, int32_t& value) { Integer(key, value); }
    // Codes come in as the numbers the file holds, known or not, as the file reader takes them.
    template <typename Enum>
    requires std::is_enum_v<Enum>
    void operator()(const char* key, Enum& value) {
        auto code = static_cast<std::underlying_type_t<Enum>>(value);
        Integer(key, code);
        value = static_cast<Enum>(code);
    }

    void operator()(const char* key, float& value) {
        const Json* j = Find(key);
        if (!j) {
            return;
        }
        if (j->is_number()) {
            value = static_cast<float>(j->get<double>());
            return;
        }
        if (j->is_string()) {
            const auto& text = j->get_ref<const std::string&>();
            uint32_t bits = 0;
            if (text.size() == 10 && text.compare(0, 2, "0x") == 0 &&
                std::from_chars(text.data() + 2, text.data() + 10, bits, 16).ptr ==
                    text.data() + 10) {
                std::memcpy(&value, &bits, sizeof value);
                return;
            }
        }
        Fail(key, "must be a number (or a float's bits as \"0x7FC00000\")");
    }

    template <typename Record> void operator()(const char* key, std::vector<Record>& list) {
        const Json* j = Find(key);
        if (!j) {
            return;
        }
        if (!j->is_array()) {
            Fail(key, "must be a list");
            return;
        }
        list.clear();
        for (std::size_t i = 0; i < j->size() && m_error.empty(); ++i) {
            Record record{};
            Read((*j)[i], m_path + key + "[" + std::to_string(i) + "].", record, m_error);
            list.push_back(std::move(record));
        }
    }

    template <typename Record> void operator()(const char* key, Record& record) {
        const Json* j = Find(key);
        if (j) {
            Read(*j, m_path + key + ".", record, m_error);
        }
    }

    // Reads the fields of record from an object, refusing keys that name no field.
    template <typename Record>
    static void Read(const Json& in, const std::string& path, Record& record, std::string& error) {
        if (!error.empty()) {
            return;
        }
        if (!in.is_object()) {
            error = (path.empty() ? std::string("the document") : path.substr(0, path.size() - 1)) +
                    " must be an object";
            return;
        }
        FromJson visitor(in, path, error);
        Fields(visitor, record);
        visitor.RefuseUnknownKeys();
    }

    // Keys of the document that are not fields but are expected all the same.
    void Accept(const char* key) { m_seen.insert(key); }

    void RefuseUnknownKeys() {
        if (!m_error.empty()) {
            return;
        }
        for (const auto& item : m_in.items()) {
            if (!m_seen.count(item.key())) {
                m_error = m_path + item.key() + ": unknown key";
                return;
            }
        }
    }

private:
    const Json* Find(const char* key) {
        m_seen.insert(key);
        if (!m_error.empty()) {
            return nullptr;
        }
        const auto found = m_in.find(key);
        return found == m_in.end() ? nullptr : &*found;
    }

    template <typename I> void Integer(const char* key, I& value) {
        const Json* j = Find(key);
        if (!j) {
            return;
        }
        if (!j->is_number_integer()) {
            Fail(key, "must be a whole number");
            return;
        }
        const bool negative = j->is_number_unsigned() ? false : j->get<int64_t>() < 0;
        const auto big = negative ? 0 : j->get<uint64_t>();
        const auto small = negative ? j->get<int64_t>() : 0;
        if (negative ? small < static_cast<int64_t>(std::numeric_limits<I>::min())
                     : big > static_cast<uint64_t>(std::numeric_limits<I>::max())) {
            Fail(key, "is out of range (" + std::to_string(+std::numeric_limits<I>::min()) +
                          " to " + std::to_string(+std::numeric_limits<I>::max()) + ")");
            return;
        }
        value = negative ? static_cast<I>(small) : static_cast<I>(big);
    }

    void Fail(const char* key, const std::string& problem) {
        if (m_error.empty()) {
            m_error = m_path + key + " " + problem;
        }
    }

    const Json& m_in;
    std::string m_path;
    std::string& m_error;
    std::set<std::string> m_seen;
};

} // namespace

PresetParts PresetContent::Parts() {
    switch (category) {
    case PresetCategory::Resume:
        return PresetParts::ForResume(resume);
    case PresetCategory::Style:
        return PresetParts::ForStyle(style);
    case PresetCategory::HeaderStyles:
        return PresetParts::ForHeaderStyles(underline, textStyle);
    case PresetCategory::ParagraphFormat:
        return PresetParts::ForParagraphFormat(paraFormat);
    default:
        return PresetParts::ForBulletStyles(category, bullet, textStyle);
    }
}

Json TreeToJson(const NodeTree& constTree) {
    auto& tree = const_cast<NodeTree&>(constTree); // the visitor only reads in this direction
    Json out = Json::object();
    out["format"] = "tlx";
    ToJson visitor(out);
    Fields(visitor, tree);
    return out;
}

Json PresetToJson(PresetContent& preset) {
    Json out = Json::object();
    out["format"] = "nod";
    out["category"] = PresetFolderName(preset.category);
    ToJson visitor(out);
    Fields(visitor, preset);
    return out;
}

std::optional<JsonSource> SourceFromJson(const std::string& text, std::string& error) {
    const Json document = Json::parse(text, nullptr, false);
    if (document.is_discarded()) {
        error = "not valid JSON";
        return std::nullopt;
    }
    if (!document.is_object() || !document.contains("format") || !document["format"].is_string()) {
        error = "\"format\" must be \"tlx\" or \"nod\"";
        return std::nullopt;
    }
    const std::string format = document["format"].get<std::string>();
    JsonSource source;
    error.clear();
    if (format == "tlx") {
        source.tree.resume = std::make_unique<ResumeNode>();
        source.tree.activeStack.assign(1, kResumeEntry);
        FromJson visitor(document, "", error);
        visitor.Accept("format");
        Fields(visitor, source.tree);
        visitor.RefuseUnknownKeys();
        if (error.empty() &&
            (source.tree.activeStack.empty() || source.tree.activeStack[0] != kResumeEntry)) {
            error = "activeStack must begin with the resume entry {\"index\": 0, \"kind\": 11}";
        }
    } else if (format == "nod") {
        source.isPreset = true;
        const auto category = document.find("category");
        if (category == document.end() || !category->is_string() ||
            !PresetCategoryFromName(category->get<std::string>(), source.preset.category)) {
            error = "\"category\" must name a node library folder (\"resume\", \"style\", "
                    "\"header_styles\", \"resume_section_styles\", \"sl_field_styles\", "
                    "\"ml_field_styles\" or \"paragraph_format\")";
            return std::nullopt;
        }
        FromJson visitor(document, "", error);
        visitor.Accept("format");
        visitor.Accept("category");
        Fields(visitor, source.preset);
        visitor.RefuseUnknownKeys();
    } else {
        error = "\"format\" must be \"tlx\" or \"nod\"";
    }
    if (!error.empty()) {
        return std::nullopt;
    }
    return source;
}

std::string EncodeSource(JsonSource& source) {
    if (!source.isPreset) {
        return WriteTLX(source.tree);
    }
    Archive ar = Archive::ForStoring();
    SerializePreset(ar, source.preset.Parts());
    return ar.TakeStored();
}

} // namespace trellic::tool
