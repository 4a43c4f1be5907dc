#include "exchange/xml_writer.h"

#include "engine/code_page.h"

namespace trellic {

bool IsXmlCharacter(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

void AppendXmlEscaped(std::string& out, char32_t c) {
    switch (c) {
    case U'&':
        out += "&amp;";
        return;
    case U'<':
        out += "&lt;";
        return;
    case U'>':
        out += "&gt;";
        return;
    case U'"':
        out += "&quot;";
        return;
    // A line end in an attribute value would be read back as a space.
    case U'\n':
        out += "&#10;";
        return;
    case U'\r':
        out += "&#13;";
        return;
    case U'\t':
        out += "&#9;";
        return;
    default:
        break;
    }
    if (IsXmlCharacter(c)) {
        AppendUtf8(out, c);
    }
}

XmlWriter::XmlWriter() {
    m_out = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
}

void XmlWriter::CloseStartTag() {
    if (m_inStartTag) {
        m_out += '>';
        m_inStartTag = false;
    }
}

XmlWriter& XmlWriter::Start(std::string_view name) {
    CloseStartTag();
    m_out += '<';
    m_out += name;
    m_open.emplace_back(name);
    m_inStartTag = true;
    return *this;
}

XmlWriter& XmlWriter::Attr(std::string_view name, std::string_view value) {
    m_out += ' ';
    m_out += name;
    m_out += "=\"";
    for (const char32_t c : DecodeUtf8(value)) {
        AppendXmlEscaped(m_out, c);
    }
    m_out += '"';
    return *this;
}

XmlWriter& XmlWriter::Attr(std::string_view name, long long value) {
    return Attr(name, std::to_string(value));
}

XmlWriter& XmlWriter::Text(std::string_view utf8) {
    return Text(DecodeUtf8(utf8));
}

XmlWriter& XmlWriter::Text(std::u32string_view text) {
    CloseStartTag();
    for (const char32_t c : text) {
        AppendXmlEscaped(m_out, c);
    }
    return *this;
}

XmlWriter& XmlWriter::End() {
    if (m_open.empty()) {
        return *this;
    }
    if (m_inStartTag) {
        m_out += "/>";
        m_inStartTag = false;
    } else {
        m_out += "</";
        m_out += m_open.back();
        m_out += '>';
    }
    m_open.pop_back();
    return *this;
}

XmlWriter& XmlWriter::Element(std::string_view name, std::string_view text) {
    Start(name);
    Text(text);
    return End();
}

std::string XmlWriter::Take() {
    while (!m_open.empty()) {
        End();
    }
    return std::move(m_out);
}

} // namespace trellic
