#include "exchange/docx_writer.h"

#include "engine/version.h"
#include "exchange/xml_writer.h"
#include "exchange/zip_package.h"

#include <algorithm>

namespace trellic {

namespace {

constexpr const char* kMainNamespace =
    "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr const char* kRelationshipBase =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
constexpr const char* kContentTypeBase = "application/vnd.openxmlformats-officedocument.";

// Symbol-font bytes are written as the characters they stand for, in a font that has them
// all and that every copy of Word has beside it.
constexpr const char* kSymbolFace = "Segoe UI Symbol";

std::string W3cdtf(std::time_t time) {
    std::tm utc{};
    gmtime_r(&time, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

const char* NumberFormat(uint16_t numbering) {
    switch (numbering) {
    case kPfnBullet:
        return "bullet";
    case kPfnLowerLetter:
        return "lowerLetter";
    case kPfnUpperLetter:
        return "upperLetter";
    case kPfnLowerRoman:
        return "lowerRoman";
    case kPfnUpperRoman:
        return "upperRoman";
    default:
        return "decimal";
    }
}

std::string LevelText(const RichParaFormat& format) {
    if (format.numbering == kPfnBullet) {
        return "\xE2\x80\xA2"; // the bullet the view draws
    }
    const ListPunctuation punctuation = PunctuationOf(format.numberingStyle);
    return std::string(punctuation.before) + "%1" + std::string(punctuation.after);
}

void WriteFonts(XmlWriter& xml, const std::string& face) {
    if (face.empty()) {
        return;
    }
    xml.Start("w:rFonts")
        .Attr("w:ascii", face)
        .Attr("w:hAnsi", face)
        .Attr("w:cs", face)
        .Attr("w:eastAsia", face)
        .End();
}

// A run's or a paragraph mark's properties, in the order the schema wants them. `face` is the
// font the text is written in, which for symbol-font text is not the run's own.
void WriteRunProperties(XmlWriter& xml, const RichCharFormat& format, const std::string& face) {
    xml.Start("w:rPr");
    WriteFonts(xml, face);
    if (format.Has(kCfeBold)) {
        xml.Start("w:b").End().Start("w:bCs").End();
    }
    if (format.Has(kCfeItalic)) {
        xml.Start("w:i").End().Start("w:iCs").End();
    }
    if (format.Has(kCfeAllCaps)) {
        xml.Start("w:caps").End();
    }
    if (format.Has(kCfeSmallCaps)) {
        xml.Start("w:smallCaps").End();
    }
    if (format.Has(kCfeStrikeout)) {
        xml.Start("w:strike").End();
    }
    if (format.Has(kCfeHidden)) {
        xml.Start("w:vanish").End();
    }
    xml.Start("w:color")
        .Attr("w:val",
              format.Has(kCfeAutoColor) ? std::string("auto") : HexColor(format.color, true))
        .End();
    if (format.height > 0) {
        const long long halfPoints = std::max<long long>(1, (format.height + 5) / 10);
        xml.Start("w:sz").Attr("w:val", halfPoints).End();
        xml.Start("w:szCs").Attr("w:val", halfPoints).End();
    }
    if (format.Has(kCfeUnderline)) {
        const char* type = "single";
        switch (format.underlineType) {
        case kCfuWord:
            type = "words";
            break;
        case kCfuDouble:
            type = "double";
            break;
        case kCfuDotted:
            type = "dotted";
            break;
        default:
            break;
        }
        xml.Start("w:u").Attr("w:val", type).End();
    }
    if (format.backColor) {
        // Shading takes any colour; highlighting only a few named ones.
        xml.Start("w:shd")
            .Attr("w:val", "clear")
            .Attr("w:color", "auto")
            .Attr("w:fill", HexColor(*format.backColor, true))
            .End();
    }
    if (format.Has(kCfeSuperscript) || format.Has(kCfeSubscript)) {
        xml.Start("w:vertAlign")
            .Attr("w:val", format.Has(kCfeSubscript) ? "subscript" : "superscript")
            .End();
    }
    xml.End();
}

void WriteTab(XmlWriter& xml, int32_t tab) {
    static constexpr const char* kAlignments[] = {"left", "center", "right", "decimal", "bar"};
    // Word has no double-line leader; a line is the nearest.
    static constexpr const char* kLeaders[] = {nullptr,      "dot",   "hyphen",
                                               "underscore", "heavy", "underscore"};
    const uint8_t alignment = TabAlignment(tab);
    const uint8_t leader = TabLeader(tab);
    xml.Start("w:tab").Attr("w:val",
                            alignment < std::size(kAlignments) ? kAlignments[alignment] : "left");
    if (leader < std::size(kLeaders) && kLeaders[leader] != nullptr) {
        xml.Attr("w:leader", kLeaders[leader]);
    }
    xml.Attr("w:pos", TabPosition(tab)).End();
}

void WriteIndents(XmlWriter& xml, const OfficeParagraph& layout, long long right) {
    if (layout.left == 0 && layout.firstLine == 0 && right == 0) {
        return;
    }
    xml.Start("w:ind").Attr("w:left", layout.left).Attr("w:right", right);
    if (layout.firstLine < 0) {
        xml.Attr("w:hanging", -static_cast<long long>(layout.firstLine));
    } else if (layout.firstLine > 0) {
        xml.Attr("w:firstLine", layout.firstLine);
    }
    xml.End();
}

void WriteSpacing(XmlWriter& xml, const RichParaFormat& format) {
    long long line = 240;
    const char* rule = "auto";
    switch (format.lineSpacingRule) {
    case kLineSpacingOneAndHalf:
        line = 360;
        break;
    case kLineSpacingDouble:
        line = 480;
        break;
    case kLineSpacingAtLeast:
        line = format.lineSpacing;
        rule = "atLeast";
        break;
    case kLineSpacingExactly:
        line = format.lineSpacing;
        rule = "exact";
        break;
    case kLineSpacingMultiple:
        line = static_cast<long long>(format.lineSpacing) * 12; // twentieths of a line
        break;
    default:
        break;
    }
    if (line <= 0) {
        line = 240;
        rule = "auto";
    }
    xml.Start("w:spacing")
        .Attr("w:before", std::max(0, format.spaceBefore))
        .Attr("w:after", std::max(0, format.spaceAfter))
        .Attr("w:line", line)
        .Attr("w:lineRule", rule)
        .End();
}

const char* Justification(uint16_t alignment) {
    switch (alignment) {
    case kPfaRight:
        return "right";
    case kPfaCenter:
        return "center";
    case kPfaJustify:
        return "both";
    default:
        return "left";
    }
}

void WriteBorder(XmlWriter& xml, const RuleBorder& border) {
    // Eighths of a point, as the schema allows them (2 to 96).
    const long long eighths = std::clamp<long long>((border.width * 8 + 10) / 20, 2, 96);
    xml.Start("w:pBdr")
        .Start("w:bottom")
        .Attr("w:val", "single")
        .Attr("w:sz", eighths)
        .Attr("w:space", 1)
        .Attr("w:color", border.autoColor ? std::string("auto") : HexColor(border.color, true))
        .End()
        .End();
}

class DocxWriter {
public:
    DocxWriter(const RichDocument& document, const DocumentProperties& properties,
               const RtfPage& page)
        : m_document(document), m_properties(properties), m_page(page),
          m_layout(LayOutParagraphs(document)) {}

    ExportResult Write() {
        if (auto problem = PageProblem(m_page)) {
            return {false, {}, *problem};
        }
        ZipPackage zip;
        if (m_properties.created != 0) {
            zip.SetTime(m_properties.created);
        }
        zip.Add("[Content_Types].xml", ContentTypes());
        zip.Add("_rels/.rels", PackageRelationships());
        zip.Add("word/document.xml", Document());
        zip.Add("word/styles.xml", Styles());
        zip.Add("word/numbering.xml", Numbering());
        zip.Add("word/settings.xml", Settings());
        zip.Add("word/_rels/document.xml.rels", DocumentRelationships());
        zip.Add("docProps/core.xml", CoreProperties());
        zip.Add("docProps/app.xml", AppProperties());
        return zip.Finish();
    }

private:
    static std::string ContentTypes() {
        XmlWriter xml;
        xml.Start("Types").Attr("xmlns",
                                "http://schemas.openxmlformats.org/package/2006/content-types");
        xml.Start("Default")
            .Attr("Extension", "rels")
            .Attr("ContentType", "application/vnd.openxmlformats-package.relationships+xml")
            .End();
        xml.Start("Default").Attr("Extension", "xml").Attr("ContentType", "application/xml").End();
        const std::pair<const char*, std::string> kOverrides[] = {
            {"/word/document.xml",
             std::string(kContentTypeBase) + "wordprocessingml.document.main+xml"},
            {"/word/styles.xml", std::string(kContentTypeBase) + "wordprocessingml.styles+xml"},
            {"/word/numbering.xml",
             std::string(kContentTypeBase) + "wordprocessingml.numbering+xml"},
            {"/word/settings.xml", std::string(kContentTypeBase) + "wordprocessingml.settings+xml"},
            {"/docProps/core.xml", "application/vnd.openxmlformats-package.core-properties+xml"},
            {"/docProps/app.xml", std::string(kContentTypeBase) + "extended-properties+xml"},
        };
        for (const auto& [part, type] : kOverrides) {
            xml.Start("Override").Attr("PartName", part).Attr("ContentType", type).End();
        }
        return xml.Take();
    }

    static std::string PackageRelationships() {
        XmlWriter xml;
        xml.Start("Relationships")
            .Attr("xmlns", "http://schemas.openxmlformats.org/package/2006/relationships");
        xml.Start("Relationship")
            .Attr("Id", "rId1")
            .Attr("Type", std::string(kRelationshipBase) + "officeDocument")
            .Attr("Target", "word/document.xml")
            .End();
        xml.Start("Relationship")
            .Attr("Id", "rId2")
            .Attr("Type", "http://schemas.openxmlformats.org/package/2006/relationships/"
                          "metadata/core-properties")
            .Attr("Target", "docProps/core.xml")
            .End();
        xml.Start("Relationship")
            .Attr("Id", "rId3")
            .Attr("Type", std::string(kRelationshipBase) + "extended-properties")
            .Attr("Target", "docProps/app.xml")
            .End();
        return xml.Take();
    }

    static std::string DocumentRelationships() {
        XmlWriter xml;
        xml.Start("Relationships")
            .Attr("xmlns", "http://schemas.openxmlformats.org/package/2006/relationships");
        int id = 1;
        for (const char* part : {"styles", "numbering", "settings"}) {
            xml.Start("Relationship")
                .Attr("Id", "rId" + std::to_string(id++))
                .Attr("Type", std::string(kRelationshipBase) + part)
                .Attr("Target", std::string(part) + ".xml")
                .End();
        }
        return xml.Take();
    }

    std::string CoreProperties() const {
        XmlWriter xml;
        xml.Start("cp:coreProperties")
            .Attr("xmlns:cp",
                  "http://schemas.openxmlformats.org/package/2006/metadata/core-properties")
            .Attr("xmlns:dc", "http://purl.org/dc/elements/1.1/")
            .Attr("xmlns:dcterms", "http://purl.org/dc/terms/")
            .Attr("xmlns:xsi", "http://www.w3.org/2001/XMLSchema-instance");
        xml.Element("dc:title", m_properties.title);
        xml.Element("dc:subject", m_properties.subject);
        xml.Element("dc:creator", m_properties.author);
        xml.Element("cp:lastModifiedBy", m_properties.author);
        if (m_properties.created != 0) {
            const std::string when = W3cdtf(m_properties.created);
            for (const char* name : {"dcterms:created", "dcterms:modified"}) {
                xml.Start(name).Attr("xsi:type", "dcterms:W3CDTF").Text(when).End();
            }
        }
        return xml.Take();
    }

    static std::string AppProperties() {
        XmlWriter xml;
        xml.Start("Properties")
            .Attr("xmlns",
                  "http://schemas.openxmlformats.org/officeDocument/2006/extended-properties")
            .Attr("xmlns:vt",
                  "http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes");
        xml.Element("Application", "Trellic " TRELLIC_VERSION);
        xml.Element("DocSecurity", "0");
        return xml.Take();
    }

    static std::string Settings() {
        XmlWriter xml;
        xml.Start("w:settings").Attr("xmlns:w", kMainNamespace);
        xml.Start("w:defaultTabStop").Attr("w:val", kDefaultTabStopTwips).End();
        xml.Start("w:characterSpacingControl").Attr("w:val", "doNotCompress").End();
        return xml.Take();
    }

    static std::string Styles() {
        const RichCharFormat plain = PlainCharFormat();
        XmlWriter xml;
        xml.Start("w:styles").Attr("xmlns:w", kMainNamespace);
        xml.Start("w:docDefaults");
        xml.Start("w:rPrDefault");
        WriteRunProperties(xml, plain, plain.faceName);
        xml.End();
        // No space between paragraphs and single lines unless a paragraph says otherwise, as
        // in the view.
        xml.Start("w:pPrDefault").Start("w:pPr");
        xml.Start("w:spacing")
            .Attr("w:before", 0)
            .Attr("w:after", 0)
            .Attr("w:line", 240)
            .Attr("w:lineRule", "auto")
            .End();
        xml.End().End();
        xml.End(); // docDefaults
        xml.Start("w:style")
            .Attr("w:type", "paragraph")
            .Attr("w:default", 1)
            .Attr("w:styleId", "Normal");
        xml.Start("w:name").Attr("w:val", "Normal").End();
        xml.Start("w:qFormat").End();
        xml.End();
        xml.Start("w:style")
            .Attr("w:type", "character")
            .Attr("w:default", 1)
            .Attr("w:styleId", "DefaultParagraphFont");
        xml.Start("w:name").Attr("w:val", "Default Paragraph Font").End();
        xml.Start("w:uiPriority").Attr("w:val", 1).End();
        xml.Start("w:semiHidden").End();
        xml.End();
        return xml.Take();
    }

    std::string Numbering() const {
        XmlWriter xml;
        xml.Start("w:numbering").Attr("xmlns:w", kMainNamespace);
        // One definition per list, so each starts where its first paragraph says whatever
        // lists came before.
        for (size_t list = 0; list < m_layout.lists.size(); ++list) {
            const RichParaFormat& format = m_layout.lists[list].format;
            const OfficeParagraph& first = m_layout.paragraphs[m_layout.lists[list].first];
            xml.Start("w:abstractNum").Attr("w:abstractNumId", static_cast<long long>(list));
            xml.Start("w:multiLevelType").Attr("w:val", "singleLevel").End();
            xml.Start("w:lvl").Attr("w:ilvl", 0);
            xml.Start("w:start").Attr("w:val", format.numberingStart).End();
            xml.Start("w:numFmt").Attr("w:val", NumberFormat(format.numbering)).End();
            xml.Start("w:lvlText").Attr("w:val", LevelText(format)).End();
            xml.Start("w:lvlJc").Attr("w:val", "right").End();
            xml.Start("w:pPr");
            WriteIndents(xml, first, 0);
            xml.End();
            const RichCharFormat& label = m_layout.lists[list].label;
            WriteRunProperties(xml, label, label.faceName);
            xml.End().End();
        }
        for (size_t list = 0; list < m_layout.lists.size(); ++list) {
            xml.Start("w:num").Attr("w:numId", static_cast<long long>(list) + 1);
            xml.Start("w:abstractNumId").Attr("w:val", static_cast<long long>(list)).End();
            xml.End();
        }
        return xml.Take();
    }

    std::string Document() const {
        XmlWriter xml;
        xml.Start("w:document").Attr("xmlns:w", kMainNamespace);
        xml.Start("w:body");
        for (size_t i = 0; i < m_document.paragraphs.size(); ++i) {
            WriteParagraph(xml, m_document.paragraphs[i], m_layout.paragraphs[i]);
        }
        xml.Start("w:sectPr");
        xml.Start("w:pgSz").Attr("w:w", m_page.width).Attr("w:h", m_page.height);
        if (m_page.width > m_page.height) {
            xml.Attr("w:orient", "landscape");
        }
        xml.End();
        xml.Start("w:pgMar")
            .Attr("w:top", m_page.top)
            .Attr("w:right", m_page.right)
            .Attr("w:bottom", m_page.bottom)
            .Attr("w:left", m_page.left)
            .Attr("w:header", 720)
            .Attr("w:footer", 720)
            .Attr("w:gutter", 0)
            .End();
        xml.End();
        return xml.Take();
    }

    static void WriteParagraph(XmlWriter& xml, const RichParagraph& paragraph,
                               const OfficeParagraph& layout) {
        const RichParaFormat& format = paragraph.format;
        xml.Start("w:p").Start("w:pPr");
        if (layout.keepWithNext) {
            xml.Start("w:keepNext").End();
        }
        if (layout.list >= 0) {
            xml.Start("w:numPr");
            xml.Start("w:ilvl").Attr("w:val", 0).End();
            xml.Start("w:numId").Attr("w:val", layout.list + 1).End();
            xml.End();
        }
        if (layout.border) {
            WriteBorder(xml, *layout.border);
        }
        if (!layout.tabs.empty()) {
            xml.Start("w:tabs");
            for (const int32_t tab : layout.tabs) {
                WriteTab(xml, tab);
            }
            xml.End();
        }
        WriteSpacing(xml, format);
        WriteIndents(xml, layout, format.rightIndent);
        xml.Start("w:jc").Attr("w:val", Justification(format.alignment)).End();
        WriteRunProperties(xml, paragraph.markFormat, paragraph.markFormat.faceName);
        xml.End(); // pPr
        for (const RichRun& run : layout.runs) {
            WriteRun(xml, run);
        }
        xml.End();
    }

    static void WriteRun(XmlWriter& xml, const RichRun& run) {
        for (const ShownText& part : ShownTextOf(run)) {
            if (part.text.empty()) {
                continue;
            }
            xml.Start("w:r");
            WriteRunProperties(xml, run.format,
                               part.symbolFont ? std::string(kSymbolFace) : run.format.faceName);
            std::u32string pending;
            auto flush = [&] {
                if (!pending.empty()) {
                    xml.Start("w:t").Attr("xml:space", "preserve").Text(pending).End();
                    pending.clear();
                }
            };
            for (const char32_t c : part.text) {
                switch (ClassifyChar(c)) {
                case TextChar::Tab:
                    flush();
                    xml.Start("w:tab").End();
                    break;
                case TextChar::LineBreak:
                    flush();
                    xml.Start("w:br").End();
                    break;
                case TextChar::Text:
                    pending += c;
                    break;
                }
            }
            flush();
            xml.End();
        }
    }

    const RichDocument& m_document;
    const DocumentProperties& m_properties;
    RtfPage m_page;
    OfficeLayout m_layout;
};

} // namespace

ExportResult WriteDocx(const RichDocument& document, const DocumentProperties& properties,
                       const RtfPage& page) {
    return DocxWriter(document, properties, page).Write();
}

} // namespace trellic
