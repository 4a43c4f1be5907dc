#include "exchange/odt_writer.h"

#include "engine/version.h"
#include "exchange/xml_writer.h"
#include "exchange/zip_package.h"

#include <algorithm>
#include <map>
#include <utility>

namespace trellic {

namespace {

constexpr const char* kMimeType = "application/vnd.oasis.opendocument.text";
constexpr const char* kOdfVersion = "1.2";

// Symbol-font bytes are written as the characters they stand for, in a font that has them all
// and that comes with every office suite that reads this format.
constexpr const char* kSymbolFace = "DejaVu Sans";

using Attributes = std::vector<std::pair<std::string, std::string>>;

struct ParagraphStyle {
    Attributes paragraph;
    Attributes text;
    std::vector<int32_t> tabs; // twips from the paragraph's indent
};

std::string Key(const Attributes& attributes) {
    std::string key;
    for (const auto& [name, value] : attributes) {
        key += name;
        key += '=';
        key += value;
        key += '\n';
    }
    return key;
}

void WriteAttributes(XmlWriter& xml, const Attributes& attributes) {
    for (const auto& [name, value] : attributes) {
        xml.Attr(name, value);
    }
}

void Namespaces(XmlWriter& xml) {
    xml.Attr("xmlns:office", "urn:oasis:names:tc:opendocument:xmlns:office:1.0")
        .Attr("xmlns:style", "urn:oasis:names:tc:opendocument:xmlns:style:1.0")
        .Attr("xmlns:text", "urn:oasis:names:tc:opendocument:xmlns:text:1.0")
        .Attr("xmlns:fo", "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0")
        .Attr("xmlns:svg", "urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0")
        .Attr("office:version", kOdfVersion);
}

std::string OdfDate(std::time_t time) {
    std::tm utc{};
    gmtime_r(&time, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

// Every attribute is stated, not only those that differ from the paragraph's: a span takes
// what it leaves out from the paragraph, whose properties are its mark's.
Attributes TextAttributes(const RichCharFormat& format, const std::string& face) {
    Attributes text;
    if (!face.empty()) {
        text.emplace_back("style:font-name", face);
    }
    if (format.height > 0) {
        const std::string size = Points(format.height);
        text.emplace_back("fo:font-size", size);
        text.emplace_back("style:font-size-asian", size);
        text.emplace_back("style:font-size-complex", size);
    }
    const char* weight = format.Has(kCfeBold) ? "bold" : "normal";
    text.emplace_back("fo:font-weight", weight);
    text.emplace_back("style:font-weight-asian", weight);
    text.emplace_back("style:font-weight-complex", weight);
    const char* posture = format.Has(kCfeItalic) ? "italic" : "normal";
    text.emplace_back("fo:font-style", posture);
    text.emplace_back("style:font-style-asian", posture);
    text.emplace_back("style:font-style-complex", posture);
    if (format.Has(kCfeAutoColor)) {
        text.emplace_back("style:use-window-font-color", "true");
    } else {
        text.emplace_back("fo:color", "#" + HexColor(format.color, false));
        text.emplace_back("style:use-window-font-color", "false");
    }
    if (format.Has(kCfeUnderline)) {
        text.emplace_back("style:text-underline-style",
                          format.underlineType == kCfuDotted ? "dotted" : "solid");
        text.emplace_back("style:text-underline-type",
                          format.underlineType == kCfuDouble ? "double" : "single");
        text.emplace_back("style:text-underline-width", "auto");
        text.emplace_back("style:text-underline-color", "font-color");
        text.emplace_back("style:text-underline-mode",
                          format.underlineType == kCfuWord ? "skip-white-space" : "continuous");
    } else {
        text.emplace_back("style:text-underline-style", "none");
    }
    if (format.Has(kCfeStrikeout)) {
        text.emplace_back("style:text-line-through-style", "solid");
        text.emplace_back("style:text-line-through-type", "single");
    } else {
        text.emplace_back("style:text-line-through-style", "none");
    }
    text.emplace_back("style:text-position", format.Has(kCfeSubscript)     ? "sub 58%"
                                             : format.Has(kCfeSuperscript) ? "super 58%"
                                                                           : "0% 100%");
    // Word processors keep the two as one setting, which the later of them decides.
    if (format.Has(kCfeAllCaps)) {
        text.emplace_back("fo:font-variant", "normal");
        text.emplace_back("fo:text-transform", "uppercase");
    } else {
        text.emplace_back("fo:text-transform", "none");
        text.emplace_back("fo:font-variant", format.Has(kCfeSmallCaps) ? "small-caps" : "normal");
    }
    text.emplace_back("fo:background-color", format.backColor
                                                 ? "#" + HexColor(*format.backColor, false)
                                                 : std::string("transparent"));
    text.emplace_back("text:display", format.Has(kCfeHidden) ? "none" : "true");
    return text;
}

void WriteTabStop(XmlWriter& xml, int32_t tab) {
    xml.Start("style:tab-stop").Attr("style:position", Points(TabPosition(tab)));
    switch (TabAlignment(tab)) {
    case kTabCenter:
        xml.Attr("style:type", "center");
        break;
    case kTabRight:
        xml.Attr("style:type", "right");
        break;
    case kTabDecimal:
        xml.Attr("style:type", "char").Attr("style:char", ".");
        break;
    default:
        break;
    }
    struct Leader {
        const char* style;
        const char* text;
        const char* type;
    };
    static constexpr Leader kLeaders[] = {{nullptr, nullptr, nullptr}, {"dotted", ".", "single"},
                                          {"dash", "-", "single"},     {"solid", "_", "single"},
                                          {"solid", "_", "single"},    {"solid", "=", "double"}};
    const uint8_t leader = TabLeader(tab);
    if (leader < std::size(kLeaders) && kLeaders[leader].style != nullptr) {
        xml.Attr("style:leader-style", kLeaders[leader].style)
            .Attr("style:leader-type", kLeaders[leader].type)
            .Attr("style:leader-text", kLeaders[leader].text);
        if (leader == kLeaderThick) {
            xml.Attr("style:leader-width", "bold");
        }
    }
    xml.End();
}

void LineSpacing(Attributes& paragraph, const RichParaFormat& format) {
    switch (format.lineSpacingRule) {
    case kLineSpacingOneAndHalf:
        paragraph.emplace_back("fo:line-height", "150%");
        return;
    case kLineSpacingDouble:
        paragraph.emplace_back("fo:line-height", "200%");
        return;
    case kLineSpacingAtLeast:
        if (format.lineSpacing > 0) {
            paragraph.emplace_back("style:line-height-at-least", Points(format.lineSpacing));
            return;
        }
        break;
    case kLineSpacingExactly:
        if (format.lineSpacing > 0) {
            paragraph.emplace_back("fo:line-height", Points(format.lineSpacing));
            return;
        }
        break;
    case kLineSpacingMultiple:
        if (format.lineSpacing > 0) {
            // Twentieths of a line.
            paragraph.emplace_back("fo:line-height", std::to_string(format.lineSpacing * 5) + "%");
            return;
        }
        break;
    default:
        break;
    }
    paragraph.emplace_back("fo:line-height", "100%");
}

const char* TextAlign(uint16_t alignment) {
    switch (alignment) {
    case kPfaRight:
        return "end";
    case kPfaCenter:
        return "center";
    case kPfaJustify:
        return "justify";
    default:
        return "start";
    }
}

const char* NumberFormat(uint16_t numbering) {
    switch (numbering) {
    case kPfnLowerLetter:
        return "a";
    case kPfnUpperLetter:
        return "A";
    case kPfnLowerRoman:
        return "i";
    case kPfnUpperRoman:
        return "I";
    default:
        return "1";
    }
}

// ODF keeps spaces only where they are marked: a space at either end of a piece of text or
// beside another space is written as <text:s/>.
bool KeepsSpaceBeside(char32_t c) {
    return c != U' ' && IsXmlCharacter(c) && ClassifyChar(c) == TextChar::Text;
}

void WriteText(XmlWriter& xml, const std::u32string& text) {
    std::u32string pending;
    auto flush = [&] {
        if (!pending.empty()) {
            xml.Text(pending);
            pending.clear();
        }
    };
    for (size_t k = 0; k < text.size(); ++k) {
        const char32_t c = text[k];
        switch (ClassifyChar(c)) {
        case TextChar::Tab:
            flush();
            xml.Start("text:tab").End();
            continue;
        case TextChar::LineBreak:
            flush();
            xml.Start("text:line-break").End();
            continue;
        case TextChar::Text:
            break;
        }
        if (c == U' ' && !(k > 0 && KeepsSpaceBeside(text[k - 1]) && k + 1 < text.size() &&
                           KeepsSpaceBeside(text[k + 1]))) {
            flush();
            xml.Start("text:s").End();
            continue;
        }
        pending += c;
    }
    flush();
}

class OdtWriter {
public:
    OdtWriter(const RichDocument& document, const DocumentProperties& properties,
              const RtfPage& page)
        : m_document(document), m_properties(properties), m_page(page),
          m_layout(LayOutParagraphs(document)) {}

    ExportResult Write() {
        if (auto problem = PageProblem(m_page)) {
            return {false, {}, *problem};
        }
        CollectStyles();
        ZipPackage zip;
        if (m_properties.created != 0) {
            zip.SetTime(m_properties.created);
        }
        // Readers recognise the format by this first entry, stored as it is.
        zip.Add("mimetype", kMimeType, false);
        zip.Add("META-INF/manifest.xml", Manifest());
        zip.Add("content.xml", Content());
        zip.Add("styles.xml", Styles());
        zip.Add("meta.xml", Meta());
        return zip.Finish();
    }

private:
    void AddFont(const std::string& face, uint8_t pitchAndFamily) {
        if (!face.empty()) {
            m_fonts.try_emplace(face, pitchAndFamily);
        }
    }

    std::string TextStyleName(const RichCharFormat& format, const std::string& face) {
        AddFont(face, face == kSymbolFace ? 0x20 : format.pitchAndFamily);
        Attributes text = TextAttributes(format, face);
        const std::string key = Key(text);
        auto found = m_textStyleNames.find(key);
        if (found == m_textStyleNames.end()) {
            const std::string name = "T" + std::to_string(m_textStyles.size() + 1);
            m_textStyles.emplace_back(name, std::move(text));
            found = m_textStyleNames.emplace(key, name).first;
        }
        return found->second;
    }

    std::string ParagraphStyleName(const RichParagraph& paragraph, const OfficeParagraph& layout) {
        const RichParaFormat& format = paragraph.format;
        ParagraphStyle style;
        Attributes& p = style.paragraph;
        p.emplace_back("fo:text-align", TextAlign(format.alignment));
        // A list item's are its list's too: a reader takes indents the paragraph leaves out
        // as nothing, not as its list's.
        p.emplace_back("fo:margin-left", Points(layout.left));
        p.emplace_back("fo:text-indent", Points(layout.firstLine));
        p.emplace_back("fo:margin-right", Points(format.rightIndent));
        p.emplace_back("fo:margin-top", Points(std::max(0, format.spaceBefore)));
        p.emplace_back("fo:margin-bottom", Points(std::max(0, format.spaceAfter)));
        LineSpacing(p, format);
        if (layout.keepWithNext) {
            p.emplace_back("fo:keep-with-next", "always");
        }
        if (layout.border) {
            const RuleBorder& border = *layout.border;
            const std::string color = border.autoColor ? "000000" : HexColor(border.color, false);
            p.emplace_back("fo:border-bottom", Points(border.width) + " solid #" + color);
            p.emplace_back("fo:padding-bottom", "1pt");
            p.emplace_back("style:join-border", "false");
        }
        // Tab positions count from the paragraph's indent here, from the margin in the engine.
        // ODF has no bar tabs.
        for (const int32_t tab : layout.tabs) {
            if (TabPosition(tab) >= layout.left && TabAlignment(tab) != kTabBar) {
                style.tabs.push_back(
                    MakeTab(TabPosition(tab) - layout.left, TabAlignment(tab), TabLeader(tab)));
            }
        }
        const RichCharFormat& mark = paragraph.markFormat;
        AddFont(mark.faceName, mark.pitchAndFamily);
        style.text = TextAttributes(mark, mark.faceName);

        std::string key = Key(style.paragraph) + "|" + Key(style.text) + "|";
        for (const int32_t tab : style.tabs) {
            key += std::to_string(tab) + ",";
        }
        auto found = m_paragraphStyleNames.find(key);
        if (found == m_paragraphStyleNames.end()) {
            const std::string name = "P" + std::to_string(m_paragraphStyles.size() + 1);
            m_paragraphStyles.emplace_back(name, std::move(style));
            found = m_paragraphStyleNames.emplace(key, name).first;
        }
        return found->second;
    }

    void CollectStyles() {
        const RichCharFormat plain = PlainCharFormat();
        AddFont(plain.faceName, plain.pitchAndFamily);
        for (const OfficeList& list : m_layout.lists) {
            m_labelStyleOf.push_back(TextStyleName(list.label, list.label.faceName));
        }
        for (size_t i = 0; i < m_document.paragraphs.size(); ++i) {
            const RichParagraph& paragraph = m_document.paragraphs[i];
            m_paragraphStyleOf.push_back(ParagraphStyleName(paragraph, m_layout.paragraphs[i]));
            std::vector<std::string> runs;
            for (const RichRun& run : m_layout.paragraphs[i].runs) {
                for (const ShownText& part : ShownTextOf(run)) {
                    runs.push_back(TextStyleName(
                        run.format, part.symbolFont ? kSymbolFace : run.format.faceName));
                }
            }
            m_textStyleOf.push_back(std::move(runs));
        }
    }

    void FontFaces(XmlWriter& xml) const {
        xml.Start("office:font-face-decls");
        for (const auto& [face, pitchAndFamily] : m_fonts) {
            xml.Start("style:font-face").Attr("style:name", face);
            // A family name with spaces is quoted, as in CSS.
            xml.Attr("svg:font-family",
                     face.find(' ') != std::string::npos ? "'" + face + "'" : face);
            const char* generic = nullptr;
            switch (pitchAndFamily >> 4) {
            case 1:
                generic = "roman";
                break;
            case 2:
                generic = "swiss";
                break;
            case 3:
                generic = "modern";
                break;
            case 4:
                generic = "script";
                break;
            case 5:
                generic = "decorative";
                break;
            default:
                break;
            }
            if (generic != nullptr) {
                xml.Attr("style:font-family-generic", generic);
            }
            if ((pitchAndFamily & 0x3) == 1) {
                xml.Attr("style:font-pitch", "fixed");
            } else if ((pitchAndFamily & 0x3) == 2) {
                xml.Attr("style:font-pitch", "variable");
            }
            xml.End();
        }
        xml.End();
    }

    void ListStyle(XmlWriter& xml, size_t index) const {
        const RichParaFormat& format = m_layout.lists[index].format;
        const OfficeParagraph& first = m_layout.paragraphs[m_layout.lists[index].first];
        xml.Start("text:list-style").Attr("style:name", "L" + std::to_string(index + 1));
        if (format.numbering == kPfnBullet) {
            xml.Start("text:list-level-style-bullet")
                .Attr("text:level", 1)
                .Attr("text:style-name", m_labelStyleOf[index])
                .Attr("text:bullet-char", "\xE2\x80\xA2");
        } else {
            xml.Start("text:list-level-style-number")
                .Attr("text:level", 1)
                .Attr("text:style-name", m_labelStyleOf[index]);
            const ListPunctuation punctuation = PunctuationOf(format.numberingStyle);
            if (!punctuation.before.empty()) {
                xml.Attr("style:num-prefix", punctuation.before);
            }
            if (!punctuation.after.empty()) {
                xml.Attr("style:num-suffix", punctuation.after);
            }
            xml.Attr("style:num-format", NumberFormat(format.numbering))
                .Attr("text:start-value", format.numberingStart);
        }
        xml.Start("style:list-level-properties")
            .Attr("fo:text-align", "end")
            .Attr("text:list-level-position-and-space-mode", "label-alignment");
        xml.Start("style:list-level-label-alignment")
            .Attr("text:label-followed-by", "listtab")
            .Attr("text:list-tab-stop-position", Points(first.left))
            .Attr("fo:text-indent", Points(first.firstLine))
            .Attr("fo:margin-left", Points(first.left))
            .End();
        xml.End(); // list-level-properties
        xml.End(); // level style
        xml.End(); // list-style
    }

    void AutomaticStyles(XmlWriter& xml) const {
        xml.Start("office:automatic-styles");
        for (const auto& [name, style] : m_paragraphStyles) {
            xml.Start("style:style")
                .Attr("style:name", name)
                .Attr("style:family", "paragraph")
                .Attr("style:parent-style-name", "Standard");
            xml.Start("style:paragraph-properties");
            WriteAttributes(xml, style.paragraph);
            if (!style.tabs.empty()) {
                xml.Start("style:tab-stops");
                for (const int32_t tab : style.tabs) {
                    WriteTabStop(xml, tab);
                }
                xml.End();
            }
            xml.End();
            xml.Start("style:text-properties");
            WriteAttributes(xml, style.text);
            xml.End();
            xml.End();
        }
        for (const auto& [name, text] : m_textStyles) {
            xml.Start("style:style").Attr("style:name", name).Attr("style:family", "text");
            xml.Start("style:text-properties");
            WriteAttributes(xml, text);
            xml.End().End();
        }
        for (size_t list = 0; list < m_layout.lists.size(); ++list) {
            ListStyle(xml, list);
        }
        xml.End();
    }

    void Paragraph(XmlWriter& xml, size_t index) const {
        xml.Start("text:p").Attr("text:style-name", m_paragraphStyleOf[index]);
        size_t style = 0;
        for (const RichRun& run : m_layout.paragraphs[index].runs) {
            for (const ShownText& part : ShownTextOf(run)) {
                xml.Start("text:span").Attr("text:style-name", m_textStyleOf[index][style++]);
                WriteText(xml, part.text);
                xml.End();
            }
        }
        xml.End();
    }

    std::string Content() const {
        XmlWriter xml;
        xml.Start("office:document-content");
        Namespaces(xml);
        FontFaces(xml);
        AutomaticStyles(xml);
        xml.Start("office:body").Start("office:text");
        const auto& paragraphs = m_layout.paragraphs;
        for (size_t i = 0; i < paragraphs.size(); ++i) {
            const int list = paragraphs[i].list;
            if (list < 0) {
                Paragraph(xml, i);
                continue;
            }
            if (m_layout.lists[static_cast<size_t>(list)].first == i) {
                xml.Start("text:list").Attr("text:style-name", "L" + std::to_string(list + 1));
            }
            xml.Start("text:list-item");
            Paragraph(xml, i);
            xml.End();
            if (i + 1 == paragraphs.size() || paragraphs[i + 1].list != list) {
                xml.End(); // text:list
            }
        }
        return xml.Take();
    }

    std::string Styles() const {
        const RichCharFormat plain = PlainCharFormat();
        XmlWriter xml;
        xml.Start("office:document-styles");
        Namespaces(xml);
        FontFaces(xml);
        xml.Start("office:styles");
        xml.Start("style:default-style").Attr("style:family", "paragraph");
        xml.Start("style:paragraph-properties")
            .Attr("style:tab-stop-distance", Points(kDefaultTabStopTwips))
            .End();
        xml.Start("style:text-properties");
        WriteAttributes(xml, TextAttributes(plain, plain.faceName));
        xml.End();
        xml.End();
        xml.Start("style:style")
            .Attr("style:name", "Standard")
            .Attr("style:family", "paragraph")
            .Attr("style:class", "text")
            .End();
        xml.End(); // office:styles
        xml.Start("office:automatic-styles");
        xml.Start("style:page-layout").Attr("style:name", "pm1");
        xml.Start("style:page-layout-properties")
            .Attr("fo:page-width", Points(m_page.width))
            .Attr("fo:page-height", Points(m_page.height))
            .Attr("style:print-orientation",
                  m_page.width > m_page.height ? "landscape" : "portrait")
            .Attr("fo:margin-top", Points(m_page.top))
            .Attr("fo:margin-bottom", Points(m_page.bottom))
            .Attr("fo:margin-left", Points(m_page.left))
            .Attr("fo:margin-right", Points(m_page.right))
            .End();
        xml.End().End();
        xml.Start("office:master-styles");
        xml.Start("style:master-page")
            .Attr("style:name", "Standard")
            .Attr("style:page-layout-name", "pm1")
            .End();
        return xml.Take();
    }

    std::string Meta() const {
        XmlWriter xml;
        xml.Start("office:document-meta")
            .Attr("xmlns:office", "urn:oasis:names:tc:opendocument:xmlns:office:1.0")
            .Attr("xmlns:meta", "urn:oasis:names:tc:opendocument:xmlns:meta:1.0")
            .Attr("xmlns:dc", "http://purl.org/dc/elements/1.1/")
            .Attr("office:version", kOdfVersion);
        xml.Start("office:meta");
        xml.Element("meta:generator", "Trellic/" TRELLIC_VERSION);
        xml.Element("dc:title", m_properties.title);
        xml.Element("dc:subject", m_properties.subject);
        xml.Element("meta:initial-creator", m_properties.author);
        xml.Element("dc:creator", m_properties.author);
        if (m_properties.created != 0) {
            const std::string when = OdfDate(m_properties.created);
            xml.Element("meta:creation-date", when);
            xml.Element("dc:date", when);
        }
        return xml.Take();
    }

    static std::string Manifest() {
        XmlWriter xml;
        xml.Start("manifest:manifest")
            .Attr("xmlns:manifest", "urn:oasis:names:tc:opendocument:xmlns:manifest:1.0")
            .Attr("manifest:version", kOdfVersion);
        xml.Start("manifest:file-entry")
            .Attr("manifest:full-path", "/")
            .Attr("manifest:version", kOdfVersion)
            .Attr("manifest:media-type", kMimeType)
            .End();
        for (const char* part : {"content.xml", "styles.xml", "meta.xml"}) {
            xml.Start("manifest:file-entry")
                .Attr("manifest:full-path", part)
                .Attr("manifest:media-type", "text/xml")
                .End();
        }
        return xml.Take();
    }

    const RichDocument& m_document;
    const DocumentProperties& m_properties;
    RtfPage m_page;
    OfficeLayout m_layout;
    std::map<std::string, uint8_t> m_fonts; // face, pitch and family
    std::vector<std::pair<std::string, ParagraphStyle>> m_paragraphStyles;
    std::map<std::string, std::string> m_paragraphStyleNames;
    std::vector<std::pair<std::string, Attributes>> m_textStyles;
    std::map<std::string, std::string> m_textStyleNames;
    std::vector<std::string> m_labelStyleOf; // per list
    std::vector<std::string> m_paragraphStyleOf;
    std::vector<std::vector<std::string>> m_textStyleOf;
};

} // namespace

ExportResult WriteOdt(const RichDocument& document, const DocumentProperties& properties,
                      const RtfPage& page) {
    return OdtWriter(document, properties, page).Write();
}

} // namespace trellic
