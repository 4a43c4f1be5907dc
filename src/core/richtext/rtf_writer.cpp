#include "richtext/rtf_writer.h"

#include "engine/code_page.h"
#include "richtext/font_charsets.h"
#include "richtext/list_labels.h"

#include <map>
#include <tuple>

namespace trellic {

namespace {

struct FontKey {
    std::string faceName;
    uint8_t charSet = 0;
    uint8_t pitchAndFamily = 0;
    auto operator<=>(const FontKey&) const = default;
};

FontKey KeyOf(const RichCharFormat& format) {
    return {format.faceName, format.charSet, format.pitchAndFamily};
}

const FontKey kSymbolFont{"Symbol", kSymbolCharSet, 0};

// RTF text out: keeps track of whether the last thing written was a control word, which the
// next letter, digit, space or minus sign would run into.
class RtfOut {
public:
    explicit RtfOut(size_t reserve) { m_out.reserve(reserve); }

    void Word(std::string_view word) {
        m_out += '\\';
        m_out += word;
        m_pendingDelimiter = true;
    }
    void Word(std::string_view word, long long value) {
        m_out += '\\';
        m_out += word;
        m_out += std::to_string(value);
        m_pendingDelimiter = true;
    }
    void Raw(std::string_view text) {
        m_out += text;
        m_pendingDelimiter = false;
    }
    void Hex(unsigned value) {
        static const char kDigits[] = "0123456789abcdef";
        m_out += "\\'";
        m_out += kDigits[(value >> 4) & 0xF];
        m_out += kDigits[value & 0xF];
        m_pendingDelimiter = false;
    }
    void Char(char c) {
        if (m_pendingDelimiter) {
            const auto u = static_cast<unsigned char>(c);
            if (std::isalnum(u) || c == ' ' || c == '-') {
                m_out += ' ';
            }
            m_pendingDelimiter = false;
        }
        if (c == '\\' || c == '{' || c == '}') {
            m_out += '\\';
        }
        m_out += c;
    }
    // A character outside the code page: \uN with '?' as the fallback that \uc1 announces.
    void Unicode(char32_t c) {
        auto one = [this](unsigned unit) {
            Word("u", static_cast<int16_t>(static_cast<uint16_t>(unit)));
            Raw("?");
        };
        if (c > 0xFFFF) {
            c -= 0x10000;
            one(0xD800 + (c >> 10));
            one(0xDC00 + (c & 0x3FF));
        } else {
            one(c);
        }
    }
    // `symbol`: the text holds byte values of a symbol font. `ansi`: the font's code page is
    // Windows-1252, so \'hh may stand for characters; any other code page gets \uN, which every
    // reader takes whatever the font.
    void Text(char32_t c, bool symbol, bool ansi = true) {
        if (c == U'\t') {
            Word("tab");
        } else if (c >= 0x20 && c < 0x80) {
            Char(static_cast<char>(c));
        } else if (symbol && c < 0x100) {
            Hex(c);
        } else if (c < 0x20) {
            Hex(c);
        } else {
            switch (c) {
            case 0x2018:
                Word("lquote");
                return;
            case 0x2019:
                Word("rquote");
                return;
            case 0x201C:
                Word("ldblquote");
                return;
            case 0x201D:
                Word("rdblquote");
                return;
            case 0x2013:
                Word("endash");
                return;
            case 0x2014:
                Word("emdash");
                return;
            case 0x2022:
                Word("bullet");
                return;
            case 0x2028:
                // A line break inside the paragraph; word processors drop \u8232.
                Word("line");
                return;
            default:
                break;
            }
            if (auto byte = ansi ? UnicodeToCp1252(c) : std::nullopt) {
                Hex(*byte);
            } else {
                Unicode(c);
            }
        }
    }
    // Font names: readers take keywords such as \\bullet only in body text.
    void NameText(std::string_view utf8, bool ansi) {
        for (char32_t c : DecodeUtf8(utf8)) {
            if (c >= 0x20 && c < 0x80 && c != ';') {
                Char(static_cast<char>(c));
            } else if (auto byte = ansi && c >= 0x80 ? UnicodeToCp1252(c) : std::nullopt) {
                Hex(*byte);
            } else {
                Unicode(c);
            }
        }
    }
    std::string Take() { return std::move(m_out); }

private:
    std::string m_out;
    bool m_pendingDelimiter = false;
};

// The font a list's bullet is written in: Symbol for the standard bullet.
FontKey BulletFontOf(const RichParaFormat& format) {
    if (format.bulletSymbol == 0) {
        return kSymbolFont;
    }
    return {format.bulletFace, format.bulletCharSet, 0};
}

bool IsSymbolByte(const RichParaFormat& format) {
    return format.bulletCharSet == kSymbolCharSet && format.bulletSymbol < 0x100;
}

const char* PnFormatWord(uint16_t numbering) {
    switch (numbering) {
    case kPfnLowerLetter:
        return "pnlcltr";
    case kPfnUpperLetter:
        return "pnucltr";
    case kPfnLowerRoman:
        return "pnlcrm";
    case kPfnUpperRoman:
        return "pnucrm";
    default:
        return "pndec";
    }
}

int LevelNfc(uint16_t numbering) {
    switch (numbering) {
    case kPfnBullet:
        return 23;
    case kPfnLowerLetter:
        return 4;
    case kPfnUpperLetter:
        return 3;
    case kPfnLowerRoman:
        return 2;
    case kPfnUpperRoman:
        return 1;
    default:
        return 0;
    }
}

const char* FamilyWord(uint8_t pitchAndFamily) {
    switch (pitchAndFamily >> 4) {
    case 1:
        return "froman";
    case 2:
        return "fswiss";
    case 3:
        return "fmodern";
    case 4:
        return "fscript";
    case 5:
        return "fdecor";
    default:
        return "fnil";
    }
}

class RtfWriter {
public:
    explicit RtfWriter(const RichDocument& document)
        : m_document(document), m_out(document.Length() * 2 + 1024) {}

    std::string Write() {
        CollectTables();
        WriteHeader();
        const auto& paragraphs = m_document.paragraphs;
        for (size_t i = 0; i < paragraphs.size(); ++i) {
            WriteParagraph(i);
        }
        m_out.Raw("}\r\n");
        return m_out.Take();
    }

private:
    // A run in an ANSI font that holds other scripts is written in pieces, each in the font
    // with the character set its script needs, so word processors pick a font with its glyphs.
    template <typename Fn> static void ForEachPiece(const RichRun& run, Fn&& fn) {
        if (run.format.charSet > kDefaultCharSet) {
            fn(run.format, run.text);
            return;
        }
        const std::vector<CharSetPiece> pieces = SplitByCharSet(run.text, run.format.charSet);
        if (pieces.size() == 1 && pieces[0].charSet == run.format.charSet) {
            fn(run.format, run.text);
            return;
        }
        RichCharFormat format = run.format;
        for (const CharSetPiece& piece : pieces) {
            format.charSet = piece.charSet;
            fn(format, std::u32string_view(run.text).substr(piece.begin, piece.end - piece.begin));
        }
    }

    // The format a run's first piece is written in.
    static RichCharFormat FirstPieceFormat(const RichRun& run) {
        RichCharFormat format = run.format;
        if (format.charSet <= kDefaultCharSet) {
            format.charSet = SplitByCharSet(run.text, format.charSet).front().charSet;
        }
        return format;
    }

    void AddFont(const RichCharFormat& format) {
        m_fonts.try_emplace(KeyOf(format), static_cast<int>(m_fonts.size()));
    }
    void AddColor(uint32_t color) {
        m_colors.try_emplace(color & 0xFFFFFF, static_cast<int>(m_colors.size()) + 1);
    }
    void AddColor(const RichCharFormat& format) {
        if (!format.Has(kCfeAutoColor)) {
            AddColor(format.color);
        }
        if (format.backColor) {
            AddColor(*format.backColor);
        }
    }

    void CollectTables() {
        const auto& paragraphs = m_document.paragraphs;
        for (size_t i = 0; i < paragraphs.size(); ++i) {
            const RichParagraph& paragraph = paragraphs[i];
            for (const RichRun& run : paragraph.runs) {
                ForEachPiece(run, [this](const RichCharFormat& format, std::u32string_view) {
                    AddFont(format);
                });
                AddColor(run.format);
            }
            AddFont(paragraph.markFormat);
            AddColor(paragraph.markFormat);
            const RichParaFormat& format = paragraph.format;
            if (IsListNumbering(format.numbering)) {
                const bool continues = i > 0 && SameList(paragraphs[i - 1].format, format);
                if (!continues) {
                    m_listStarts.push_back(i);
                }
                m_listOf.push_back(static_cast<int>(m_listStarts.size()));
                if (format.numbering == kPfnBullet) {
                    m_fonts.try_emplace(BulletFontOf(format), static_cast<int>(m_fonts.size()));
                }
            } else {
                m_listOf.push_back(0);
            }
        }
    }

    void WriteHeader() {
        m_out.Raw("{");
        m_out.Word("rtf1");
        m_out.Word("ansi");
        m_out.Word("ansicpg", 1252);
        m_out.Word("deff", 0);
        m_out.Word("deflang", 1033);
        m_out.Raw("{");
        m_out.Word("fonttbl");
        std::vector<const FontKey*> byIndex(m_fonts.size());
        for (const auto& [key, index] : m_fonts) {
            byIndex[static_cast<size_t>(index)] = &key;
        }
        for (size_t i = 0; i < byIndex.size(); ++i) {
            const FontKey& key = *byIndex[i];
            m_out.Raw("{");
            m_out.Word("f", static_cast<long long>(i));
            m_out.Word(FamilyWord(key.pitchAndFamily));
            if (key.pitchAndFamily & 0x3) {
                m_out.Word("fprq", key.pitchAndFamily & 0x3);
            }
            m_out.Word("fcharset", key.charSet);
            m_out.Raw(" ");
            m_out.NameText(key.faceName, key.charSet <= kDefaultCharSet);
            m_out.Raw(";}");
        }
        m_out.Raw("}");
        if (!m_colors.empty()) {
            std::vector<uint32_t> byIndex(m_colors.size());
            for (const auto& [color, index] : m_colors) {
                byIndex[static_cast<size_t>(index) - 1] = color;
            }
            m_out.Raw("\r\n{");
            m_out.Word("colortbl");
            m_out.Raw(" ;");
            for (uint32_t color : byIndex) {
                m_out.Word("red", color & 0xFF);
                m_out.Word("green", (color >> 8) & 0xFF);
                m_out.Word("blue", (color >> 16) & 0xFF);
                m_out.Raw(";");
            }
            m_out.Raw("}");
        }
        if (!m_listStarts.empty()) {
            WriteListTables();
        }
        m_out.Raw("\r\n");
        const RtfPage page = CurrentRtfPage();
        m_out.Word("paperw", page.width);
        m_out.Word("paperh", page.height);
        m_out.Word("margl", page.left);
        m_out.Word("margr", page.right);
        m_out.Word("margt", page.top);
        m_out.Word("margb", page.bottom);
        m_out.Word("viewkind", 4);
        m_out.Word("uc", 1);
    }

    // Today's word processors read numbering from these tables; the old-style \pn groups in
    // the text remain for the control. One list per run of numbered paragraphs, so that every
    // list starts where its first paragraph says.
    void WriteListTables() {
        m_out.Raw("\r\n{");
        m_out.Word("*");
        m_out.Word("listtable");
        for (size_t list = 0; list < m_listStarts.size(); ++list) {
            const RichParaFormat& format = m_document.paragraphs[m_listStarts[list]].format;
            const long long id = 1000 + static_cast<long long>(list);
            m_out.Raw("\r\n{");
            m_out.Word("list");
            m_out.Word("listtemplateid", id);
            m_out.Word("listsimple");
            m_out.Raw("{");
            m_out.Word("listlevel");
            m_out.Word("levelnfc", LevelNfc(format.numbering));
            m_out.Word("levelnfcn", LevelNfc(format.numbering));
            m_out.Word("leveljc", 0);
            m_out.Word("levelfollow", 0);
            m_out.Word("levelstartat", format.numberingStart);
            if (format.numbering == kPfnBullet) {
                m_out.Raw("{");
                m_out.Word("leveltext");
                m_out.Hex(1);
                if (format.bulletSymbol == 0) {
                    m_out.Word("u", -3913); // Symbol's bullet, in the private-use block
                    m_out.Raw(" ?");
                } else {
                    // Symbol fonts as the platform maps them, into the private-use block.
                    m_out.Unicode(IsSymbolByte(format) ? 0xF000 + format.bulletSymbol
                                                       : format.bulletSymbol);
                }
                m_out.Raw(";}{");
                m_out.Word("levelnumbers");
                m_out.Raw(";}");
                m_out.Word("f", m_fonts.at(BulletFontOf(format)));
            } else {
                const auto [before, after] = PunctuationOf(format.numberingStyle);
                m_out.Raw("{");
                m_out.Word("leveltext");
                m_out.Hex(static_cast<unsigned>(before.size() + 1 + after.size()));
                m_out.Raw(before);
                m_out.Hex(0);
                m_out.Raw(after);
                m_out.Raw(";}{");
                m_out.Word("levelnumbers");
                m_out.Hex(static_cast<unsigned>(before.size() + 1));
                m_out.Raw(";}");
            }
            m_out.Word("fi", -360);
            m_out.Word("li", 720);
            m_out.Raw("}");
            m_out.Word("listid", id);
            m_out.Raw("}");
        }
        m_out.Raw("}\r\n{");
        m_out.Word("*");
        m_out.Word("listoverridetable");
        for (size_t list = 0; list < m_listStarts.size(); ++list) {
            m_out.Raw("{");
            m_out.Word("listoverride");
            m_out.Word("listid", 1000 + static_cast<long long>(list));
            m_out.Word("listoverridecount", 0);
            m_out.Word("ls", static_cast<long long>(list) + 1);
            m_out.Raw("}");
        }
        m_out.Raw("}");
    }

    void WriteParaFormat(const RichParaFormat& format) {
        m_out.Word("pard");
        if (format.offset != 0) {
            m_out.Word("fi", -static_cast<long long>(format.offset));
        }
        const long long left = static_cast<long long>(format.startIndent) + format.offset;
        if (left != 0) {
            m_out.Word("li", left);
        }
        if (format.rightIndent != 0) {
            m_out.Word("ri", format.rightIndent);
        }
        if (format.spaceBefore != 0) {
            m_out.Word("sb", format.spaceBefore);
        }
        if (format.spaceAfter != 0) {
            m_out.Word("sa", format.spaceAfter);
        }
        switch (format.lineSpacingRule) {
        case kLineSpacingOneAndHalf:
            m_out.Word("sl", 360);
            m_out.Word("slmult", 1);
            break;
        case kLineSpacingDouble:
            m_out.Word("sl", 480);
            m_out.Word("slmult", 1);
            break;
        case kLineSpacingAtLeast:
            m_out.Word("sl", format.lineSpacing);
            m_out.Word("slmult", 0);
            break;
        case kLineSpacingExactly:
            m_out.Word("sl", -static_cast<long long>(format.lineSpacing));
            m_out.Word("slmult", 0);
            break;
        case kLineSpacingMultiple:
            m_out.Word("sl", static_cast<long long>(format.lineSpacing) * 12);
            m_out.Word("slmult", 1);
            break;
        default:
            break;
        }
        switch (format.alignment) {
        case kPfaRight:
            m_out.Word("qr");
            break;
        case kPfaCenter:
            m_out.Word("qc");
            break;
        case kPfaJustify:
            m_out.Word("qj");
            break;
        default:
            break;
        }
        for (size_t i = 0; i < format.tabCount && i < kMaxTabStops; ++i) {
            WriteTab(format.tabs[i]);
        }
    }

    void WriteTab(int32_t tab) {
        static const char* const kLeaders[] = {nullptr, "tldot", "tlhyph", "tlul", "tlth", "tleq"};
        if (TabLeader(tab) < std::size(kLeaders) && kLeaders[TabLeader(tab)] != nullptr) {
            m_out.Word(kLeaders[TabLeader(tab)]);
        }
        switch (TabAlignment(tab)) {
        case kTabCenter:
            m_out.Word("tqc");
            break;
        case kTabRight:
            m_out.Word("tqr");
            break;
        case kTabDecimal:
            m_out.Word("tqdec");
            break;
        case kTabBar:
            m_out.Word("tb", TabPosition(tab));
            return;
        default:
            break;
        }
        m_out.Word("tx", TabPosition(tab));
    }

    void WriteNumbering(size_t index, int fontIndex, bool withDefinition) {
        const RichParaFormat& format = m_document.paragraphs[index].format;
        const size_t listStart = m_listStarts[static_cast<size_t>(m_listOf[index]) - 1];
        const bool bullet = format.numbering == kPfnBullet;
        const int symbol = bullet ? m_fonts.at(BulletFontOf(format)) : fontIndex;
        m_out.Raw("{");
        m_out.Word("pntext");
        m_out.Word("f", symbol);
        if (bullet) {
            WriteBulletSymbol(format);
        } else {
            const unsigned number = format.numberingStart + unsigned(index - listStart);
            m_out.Raw(" ");
            m_out.Raw(ListItemLabel(format.numbering, format.numberingStyle, number));
        }
        m_out.Word("tab");
        m_out.Raw("}");
        if (!withDefinition) {
            return;
        }
        m_out.Raw("{");
        m_out.Word("*");
        m_out.Word("pn");
        if (bullet) {
            m_out.Word("pnlvlblt");
            m_out.Word("pnf", symbol);
            m_out.Word("pnindent", 0);
            if (format.numberingStart != 0) {
                m_out.Word("pnstart", format.numberingStart);
            }
            m_out.Raw("{");
            m_out.Word("pntxtb");
            WriteBulletSymbol(format);
            m_out.Raw("}}");
            return;
        }
        m_out.Word("pnlvlbody");
        m_out.Word("pnf", symbol);
        m_out.Word("pnindent", 0);
        m_out.Word("pnstart", format.numberingStart);
        m_out.Word(PnFormatWord(format.numbering));
        const auto [before, after] = PunctuationOf(format.numberingStyle);
        if (!before.empty()) {
            m_out.Raw("{");
            m_out.Word("pntxtb");
            m_out.Raw(before);
            m_out.Raw("}");
        }
        if (!after.empty()) {
            m_out.Raw("{");
            m_out.Word("pntxta");
            m_out.Raw(after);
            m_out.Raw("}");
        }
        m_out.Raw("}");
    }

    // Byte values of a symbol font as bytes; characters of a text font as characters, in a form
    // that destinations without keywords (\pntxtb) read.
    void WriteBulletSymbol(const RichParaFormat& format) {
        if (format.bulletSymbol == 0 || IsSymbolByte(format)) {
            m_out.Hex(format.bulletSymbol == 0 ? 0xB7 : format.bulletSymbol);
        } else if (format.bulletSymbol < 0x80 && std::isalnum(int(format.bulletSymbol))) {
            m_out.Char(static_cast<char>(format.bulletSymbol));
        } else {
            m_out.Unicode(format.bulletSymbol);
        }
    }

    // As Word writes a picture that every reader since takes: the group alone, its data in
    // hexadecimal digits.
    void WritePicture(const RichPicture& picture) {
        m_out.Raw("{");
        m_out.Word("pict");
        if (!picture.typeWord.empty()) {
            m_out.Word(picture.typeWord);
        }
        m_out.Raw(picture.otherWords);
        static constexpr std::pair<const char*, int32_t RichPicture::*> kSizes[] = {
            {"picw", &RichPicture::width},
            {"pich", &RichPicture::height},
            {"picwgoal", &RichPicture::goalWidth},
            {"pichgoal", &RichPicture::goalHeight}};
        for (const auto& [word, member] : kSizes) {
            if (picture.*member != 0) {
                m_out.Word(word, picture.*member);
            }
        }
        if (picture.scaleX != 100) {
            m_out.Word("picscalex", picture.scaleX);
        }
        if (picture.scaleY != 100) {
            m_out.Word("picscaley", picture.scaleY);
        }
        static const char kDigits[] = "0123456789abcdef";
        std::string hex;
        constexpr size_t kBytesPerLine = 64;
        hex.reserve(picture.data.size() * 2 + picture.data.size() / kBytesPerLine * 2 + 2);
        for (size_t i = 0; i < picture.data.size(); ++i) {
            if (i % kBytesPerLine == 0) {
                hex += "\r\n";
            }
            const auto byte = static_cast<unsigned char>(picture.data[i]);
            hex += kDigits[byte >> 4];
            hex += kDigits[byte & 0xF];
        }
        m_out.Raw(hex);
        m_out.Raw("}");
    }

    void SwitchTo(const RichCharFormat& format) {
        const int font = m_fonts.at(KeyOf(format));
        const bool first = !m_hasState;
        const RichCharFormat& was = m_state;
        if (first || font != m_font) {
            m_out.Word("f", font);
            m_font = font;
        }
        if (first || format.height / 10 != was.height / 10) {
            m_out.Word("fs", format.height / 10);
        }
        const int color = format.Has(kCfeAutoColor) ? 0 : m_colors.at(format.color & 0xFFFFFF);
        if (color != m_color || (first && color != 0)) {
            m_out.Word("cf", color);
            m_color = color;
        }
        auto toggle = [&](uint32_t effect, const char* on, const char* off) {
            if (format.Has(effect) != (first ? false : was.Has(effect))) {
                m_out.Word(format.Has(effect) ? on : off);
            }
        };
        toggle(kCfeBold, "b", "b0");
        toggle(kCfeItalic, "i", "i0");
        toggle(kCfeStrikeout, "strike", "strike0");
        toggle(kCfeAllCaps, "caps", "caps0");
        toggle(kCfeSmallCaps, "scaps", "scaps0");
        toggle(kCfeHidden, "v", "v0");
        const int back = format.backColor ? m_colors.at(*format.backColor & 0xFFFFFF) : 0;
        if (back != m_back || (first && back != 0)) {
            m_out.Word("highlight", back);
            m_back = back;
        }
        const bool underline = format.Has(kCfeUnderline);
        const bool wasUnderline = !first && was.Has(kCfeUnderline);
        if (underline && (!wasUnderline || format.underlineType != was.underlineType)) {
            switch (format.underlineType) {
            case kCfuDotted:
                m_out.Word("uld");
                break;
            case kCfuDouble:
                m_out.Word("uldb");
                break;
            case kCfuWord:
                m_out.Word("ulw");
                break;
            default:
                m_out.Word("ul");
                break;
            }
        } else if (!underline && wasUnderline) {
            m_out.Word("ulnone");
        }
        // Each of these words sets the script and the raise together.
        const uint32_t script = format.effects & (kCfeSubscript | kCfeSuperscript);
        const uint32_t wasScript = first ? 0 : was.effects & (kCfeSubscript | kCfeSuperscript);
        const int32_t offset = script != 0 ? format.offset : 0;
        const int32_t wasOffset = first ? 0 : (wasScript != 0 ? was.offset : 0);
        if (script != wasScript || offset != wasOffset) {
            if ((script & kCfeSubscript) && offset <= -10) {
                m_out.Word("dn", -offset / 10);
            } else if (script == kCfeSuperscript && offset >= 10) {
                m_out.Word("up", offset / 10);
            } else {
                m_out.Word(script & kCfeSubscript ? "sub" : script ? "super" : "nosupersub");
            }
        }
        m_state = format;
        m_hasState = true;
    }

    void WriteParagraph(size_t index) {
        const RichParagraph& paragraph = m_document.paragraphs[index];
        const RichParaFormat& format = paragraph.format;
        // Like the control, a paragraph formatted as the one before gets no new \pard; the
        // numbering definition, which \pard resets, is then restated only where it was reset.
        const bool pard = index == 0 || !(format == m_document.paragraphs[index - 1].format);
        if (pard) {
            WriteParaFormat(format);
        }
        if (m_listOf[index] != 0) {
            const RichCharFormat firstFormat = paragraph.runs.empty()
                                                   ? paragraph.markFormat
                                                   : FirstPieceFormat(paragraph.runs.front());
            WriteNumbering(index, m_fonts.at(KeyOf(firstFormat)), pard);
            if (pard) {
                m_out.Word("ls", m_listOf[index]);
            }
        }
        for (const RichRun& run : paragraph.runs) {
            ForEachPiece(run, [this](const RichCharFormat& format, std::u32string_view text) {
                SwitchTo(format);
                const bool symbol = format.charSet == kSymbolCharSet;
                const bool ansi = format.charSet <= kDefaultCharSet;
                for (char32_t c : text) {
                    if (c == kObjectCharacter && format.picture) {
                        WritePicture(*format.picture);
                    } else {
                        m_out.Text(c, symbol, ansi);
                    }
                }
            });
        }
        SwitchTo(paragraph.markFormat);
        m_out.Word("par");
        m_out.Raw("\r\n");
    }

    const RichDocument& m_document;
    RtfOut m_out;
    std::map<FontKey, int> m_fonts;
    std::map<uint32_t, int> m_colors;
    std::vector<size_t> m_listStarts; // first paragraph of each list
    std::vector<int> m_listOf;        // per paragraph: its list, 1-based, or 0
    RichCharFormat m_state;
    bool m_hasState = false;
    int m_font = -1;
    int m_color = 0;
    int m_back = 0;
};

RtfPage g_page;

} // namespace

void SetRtfPage(const RtfPage& page) {
    g_page = page;
}

RtfPage CurrentRtfPage() {
    return g_page;
}

std::string WriteRtf(const RichDocument& document) {
    return RtfWriter(document).Write();
}

} // namespace trellic
