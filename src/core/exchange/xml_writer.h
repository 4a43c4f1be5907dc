#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trellic {

// Writes an XML document element by element. Text and attribute values are escaped, and the
// characters XML 1.0 cannot hold at all (most control characters, lone surrogates, U+FFFE and
// U+FFFF) are left out, so whatever the text holds the result is well-formed.
class XmlWriter {
public:
    // Starts with the XML declaration (UTF-8, standalone).
    XmlWriter();

    XmlWriter& Start(std::string_view name);
    // Only between Start and the element's first content. `value` is UTF-8; malformed
    // sequences become U+FFFD.
    XmlWriter& Attr(std::string_view name, std::string_view value);
    XmlWriter& Attr(std::string_view name, long long value);
    XmlWriter& Text(std::string_view utf8);
    XmlWriter& Text(std::u32string_view text);
    // Ends the innermost open element; one without content is written as an empty tag.
    XmlWriter& End();
    // An element holding only `text`.
    XmlWriter& Element(std::string_view name, std::string_view text);

    // The document; every element still open is ended first.
    std::string Take();

private:
    void CloseStartTag();

    std::string m_out;
    std::vector<std::string> m_open;
    bool m_inStartTag = false;
};

// True for a character XML 1.0 allows in a document.
bool IsXmlCharacter(char32_t c);

// Appends `c` escaped for text and attribute values; nothing for a character XML cannot hold.
void AppendXmlEscaped(std::string& out, char32_t c);

} // namespace trellic
