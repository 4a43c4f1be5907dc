#include "richtext/rtf_reader.h"

#include "engine/code_page.h"
#include "richtext/code_pages.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <unordered_map>

namespace trellic {

namespace {

enum class Dest : uint8_t {
    Normal,
    Skip,
    ObjectSkip, // an embedded object: skipped, except its \result
    FontTable,
    FontEntry,
    ColorTable,
    ListTable,
    List,
    ListLevel,
    LevelText,
    ListOverrideTable,
    ListOverride,
    Pn,
    PnTextBefore,
    PnTextAfter,
    Pict,         // a picture's control words and data
    Shape,        // a drawing object: only its picture property is read
    ShapeName,    // the name of one of its properties
    ShapePicture, // the value of its picture property, which holds a \pict group
};

struct CharState {
    int font = -1; // -1: the default font
    int halfPoints = 24;
    uint32_t effects = 0;
    uint8_t underlineType = 0;
    int color = -1; // colour table index; -1 automatic
    // Colour table indexes of the colours behind the text, by precedence: highlight, character
    // shading, background; 0 or -1 for none.
    int highlight = -1;
    int shading = -1;
    int background = -1;
    int32_t offset = 0; // twips, from \up and \dn
    bool operator==(const CharState&) const = default;
};

struct ParaState {
    RichParaFormat format = PlainParaFormat();
    int leftIndent = 0;
    int firstIndent = 0;
    int lineRule = 0; // \sl value
    bool lineMultiple = false;
    int ls = 0;
    int ilvl = 0;
    uint16_t pnNumbering = 0;
    uint16_t pnStart = 0;
    uint16_t pnStyle = 0;
    char32_t pnSymbol = 0; // the old-style bullet's symbol and font
    int pnFont = -1;
    // The alignment and leader that the next \tx gives its tab stop.
    uint8_t tabAlignment = kTabLeft;
    uint8_t tabLeader = kLeaderNone;
};

struct GroupState {
    Dest dest = Dest::Normal;
    int uc = 1;
    CharState chars;
    ParaState para;
};

struct FontDef {
    std::string name; // UTF-8, once stored
    std::u32string unicodeName;
    uint8_t leadByte = 0;
    uint8_t charSet = 0;
    uint8_t pitchAndFamily = 0;
    int codePage = -1; // \cpg, overrides the character set
};

struct ListLevel {
    int nfc = 0;
    int startAt = 1;
    // Byte values as they stand (\'hh) and characters (\uN): which of them a bullet is
    // depends on the level's font, which comes after the text.
    std::u32string text;
    int font = -1;
};

struct ListDef {
    std::vector<ListLevel> levels;
};

struct Override {
    int listId = 0;
    std::map<int, int> startAt; // by level
};

constexpr size_t kMaxListLevels = 9;

uint16_t NumberingOfNfc(int nfc) {
    switch (nfc) {
    case 0:
        return kPfnArabic;
    case 1:
        return kPfnUpperRoman;
    case 2:
        return kPfnLowerRoman;
    case 3:
        return kPfnUpperLetter;
    case 4:
        return kPfnLowerLetter;
    case 23:
        return kPfnBullet;
    case 255:
        return kPfnNone;
    default:
        return kPfnArabic; // ordinal, cardinal and the Asian counts read as numbers
    }
}

uint16_t StyleOf(std::u32string_view before, std::u32string_view after) {
    if (after.empty()) {
        return before.empty() ? kPfnsPlain : kPfnsPeriod;
    }
    if (after == U")") {
        return before == U"(" ? kPfnsParens : kPfnsParen;
    }
    return kPfnsPeriod;
}

// The numbering style a level text ("\'02\'00." and so on) shows.
uint16_t StyleOfLevelText(const std::u32string& text) {
    if (text.empty()) {
        return kPfnsPeriod;
    }
    const size_t length = std::min<size_t>(text[0], text.size() - 1);
    std::u32string_view body(text.data() + 1, length);
    const size_t first = body.find_first_of(std::u32string_view(U"\0\1\2\3\4\5\6\7\x8", 9));
    if (first == std::u32string_view::npos) {
        return kPfnsPeriod;
    }
    return StyleOf(body.substr(0, first), body.substr(first + 1));
}

bool IsSymbolFontName(std::string_view name) {
    for (std::string_view known : {"Symbol", "Wingdings", "Wingdings 2", "Wingdings 3", "Webdings",
                                   "Zapf Dingbats", "ZapfDingbats", "Marlett"}) {
        if (name == known) {
            return true;
        }
    }
    return false;
}

class RtfReader {
public:
    RtfReader(std::string_view input, bool fragment, RtfSource source,
              ProgressPort* progress = nullptr)
        : m_in(input), m_fragment(fragment), m_meter(progress, input.size()),
          m_utf8(source == RtfSource::Utf8) {
        // Opening a group copies the state on top; with room reserved that copy never has to
        // survive a reallocation of the stack it comes from.
        m_stack.reserve(static_cast<size_t>(kRtfMaxGroupDepth) + 1);
    }

    RtfReadResult Read() {
        RtfReadResult result;
        size_t start = 0;
        while (start < m_in.size() && std::strchr(" \t\r\n", m_in[start]) != nullptr) {
            ++start;
        }
        if (m_in.size() >= 3 && m_in.substr(0, 3) == "\xEF\xBB\xBF") {
            start = 3;
        }
        // A few stray bytes before the header still leave an RTF file.
        const size_t header = m_in.substr(0, start + 64).find("{\\rtf", start);
        result.isRtf = header != std::string_view::npos;
        if (!result.isRtf) {
            return result;
        }
        start = header;
        m_pos = start;
        m_doc.paragraphs.clear();
        m_doc.paragraphs.emplace_back();
        Parse();
        if (m_meter.Cancelled() || !m_meter.Finish()) {
            result.cancelled = true;
            return result;
        }
        Finish();
        result.document = std::move(m_doc);
        result.complete = !m_truncated;
        result.problem = m_problem;
        result.warnings = std::move(m_warnings);
        return result;
    }

private:
    // --- Input ---------------------------------------------------------------------------

    void Parse() {
        while (m_pos < m_in.size()) {
            if (!m_meter.Advance(m_pos)) {
                return;
            }
            const char c = m_in[m_pos++];
            switch (c) {
            case '{':
                OpenGroup();
                break;
            case '}':
                if (!CloseGroup()) {
                    return;
                }
                break;
            case '\\':
                ControlWord();
                break;
            case '\r':
            case '\n':
                break;
            default:
                if (m_utf8 && static_cast<uint8_t>(c) >= 0x80) {
                    Utf8Character();
                } else if (m_skipCount > 0) {
                    --m_skipCount;
                } else if (!m_stack.empty() && Top().dest == Dest::Pict) {
                    // Pictures are most of the bytes of a file that has one.
                    size_t end = m_pos;
                    while (end < m_in.size() && m_in[end] != '\\' && m_in[end] != '{' &&
                           m_in[end] != '}') {
                        ++end;
                    }
                    PictureHex(m_in.substr(m_pos - 1, end - m_pos + 1));
                    m_pos = end;
                } else if (IsPlainText(c) && CanTakePlainText()) {
                    // Most of a file is plain ASCII text: take it a stretch at a time.
                    size_t end = m_pos;
                    while (end < m_in.size() && IsPlainText(m_in[end])) {
                        ++end;
                    }
                    AppendAscii(m_in.substr(m_pos - 1, end - m_pos + 1));
                    m_pos = end;
                } else {
                    TextByte(static_cast<uint8_t>(c));
                }
                break;
            }
        }
        if (!m_stack.empty()) {
            m_truncated = true;
            m_problem = "the text ends inside a group; it is truncated";
        }
        if (!m_stack.empty()) {
            m_final = Top();
        }
    }

    GroupState& Top() { return m_stack.back(); }

    static bool IsPlainText(char c) {
        return c >= 0x20 && c < 0x7F && c != '\\' && c != '{' && c != '}';
    }
    static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
    static int HexValue(char c) {
        if (c >= '0' && c <= '9') {
            return c - '0';
        }
        if (c >= 'a' && c <= 'f') {
            return c - 'a' + 10;
        }
        return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    }

    bool CanTakePlainText() const {
        return !m_stack.empty() && m_stack.back().dest == Dest::Normal && m_leadByte == 0 &&
               !m_pendingCellTab;
    }

    void AppendAscii(std::string_view text) {
        RichParagraph& paragraph = m_doc.paragraphs.back();
        if (m_formatDirty || paragraph.runs.empty()) {
            RichCharFormat format = CurrentFormat();
            if (paragraph.runs.empty() || !(paragraph.runs.back().format == format)) {
                paragraph.runs.push_back({{}, std::move(format)});
            }
            m_formatDirty = false;
        }
        std::u32string& target = paragraph.runs.back().text;
        target.append(text.begin(), text.end());
    }

    void OpenGroup() {
        m_skipCount = 0;
        m_starred = false;
        FlushPendingByte();
        if (m_stack.empty()) {
            m_stack.push_back(GroupState{});
            return;
        }
        if (m_stack.size() >= static_cast<size_t>(kRtfMaxGroupDepth)) {
            // Deeper groups share their parent's state: their text survives, their formatting
            // may outlive them. Only the destination is remembered, at one byte a level.
            m_excessDests.push_back(Top().dest);
            if (m_problem.empty()) {
                m_problem = "groups nest too deep; formatting inside them was merged";
            }
            return;
        }
        m_stack.push_back(Top());
    }

    // False once the outermost group has closed: anything behind it is not part of the text.
    bool CloseGroup() {
        m_skipCount = 0;
        m_starred = false;
        FlushPendingByte();
        if (m_stack.empty()) {
            return false;
        }
        if (!m_excessDests.empty()) {
            Top().dest = m_excessDests.back();
            m_excessDests.pop_back();
            return true;
        }
        const GroupState closed = std::move(m_stack.back());
        if (m_stack.size() == 1) {
            m_final = closed;
            m_stack.clear();
            return false;
        }
        m_stack.pop_back();
        EndDestination(closed);
        if (!(closed.chars == Top().chars)) {
            m_formatDirty = true;
        }
        return true;
    }

    void ControlWord() {
        if (m_pos >= m_in.size()) {
            return;
        }
        const char first = m_in[m_pos];
        if (!IsLetter(first)) {
            ++m_pos;
            ControlSymbol(first);
            return;
        }
        const size_t start = m_pos;
        while (m_pos < m_in.size() && IsLetter(m_in[m_pos])) {
            ++m_pos;
        }
        std::string_view word = m_in.substr(start, std::min<size_t>(m_pos - start, 32));
        bool hasParam = false;
        long long param = 0;
        bool negative = false;
        if (m_pos < m_in.size() && m_in[m_pos] == '-' && m_pos + 1 < m_in.size() &&
            IsDigit(m_in[m_pos + 1])) {
            negative = true;
            ++m_pos;
        }
        while (m_pos < m_in.size() && IsDigit(m_in[m_pos])) {
            hasParam = true;
            // Absurd numbers saturate instead of overflowing.
            param = std::min<long long>(param * 10 + (m_in[m_pos] - '0'), 0x7FFFFFFFLL);
            ++m_pos;
        }
        if (negative) {
            param = -param;
        }
        if (m_pos < m_in.size() && m_in[m_pos] == ' ') {
            ++m_pos;
        }
        if (word == "bin") {
            // Binary data is never text, and a length beyond the end only means "the rest".
            const size_t length =
                std::min(param > 0 ? static_cast<size_t>(param) : 0, m_in.size() - m_pos);
            if (!m_stack.empty() && Top().dest == Dest::Pict) {
                PictureBinary(m_in.substr(m_pos, length));
            }
            m_pos += length;
            return;
        }
        if (m_skipCount > 0) {
            --m_skipCount;
            return;
        }
        if (m_stack.empty()) {
            return;
        }
        Word(word, hasParam, static_cast<int>(param));
    }

    void ControlSymbol(char symbol) {
        if (symbol == '\'') {
            int value = 0;
            int digits = 0;
            while (digits < 2 && m_pos < m_in.size() && HexValue(m_in[m_pos]) >= 0) {
                value = value * 16 + HexValue(m_in[m_pos++]);
                ++digits;
            }
            if (m_skipCount > 0) {
                --m_skipCount;
                return;
            }
            if (digits > 0) {
                TextByte(static_cast<uint8_t>(value), true);
            }
            return;
        }
        if (m_skipCount > 0) {
            --m_skipCount;
            return;
        }
        if (m_stack.empty()) {
            return;
        }
        switch (symbol) {
        case '\\':
        case '{':
        case '}':
            TextByte(static_cast<uint8_t>(symbol));
            break;
        case '~':
            Char(0x00A0);
            break;
        case '_':
            Char(U'-');
            break;
        case '*':
            m_starred = true;
            return;
        case '\r':
        case '\n':
            Word("par", false, 0);
            break;
        case '\t':
            Char(U'\t');
            break;
        default:
            break; // \- optional hyphen, \: index subentry, \| formula
        }
        m_starred = false;
    }

    // --- Destinations ------------------------------------------------------------------

    bool SetDest(Dest dest) {
        Top().dest = dest;
        return true;
    }

    enum class DestWord : uint8_t {
        FontTable,
        ColorTable,
        ListTable,
        ListOverrideTable,
        Pn,
        PnTextAfter,
        PnTextBefore,
        List,
        ListLevel,
        LevelText,
        ListOverride,
        Object,
        Result,
        NestTableProps,
        Pict,
        PictureForNewReaders, // \shppict
        Shape,
        ShapeProperty,
        ShapeName,
        ShapeValue,
        ShapeText, // a shape's text box and fallback
        Skip,
    };

    // Every control word passes here, so the destinations are found by one hash lookup.
    static const std::unordered_map<std::string_view, DestWord>& DestinationWords() {
        static const std::unordered_map<std::string_view, DestWord> words = [] {
            std::unordered_map<std::string_view, DestWord> map = {
                {"fonttbl", DestWord::FontTable},
                {"colortbl", DestWord::ColorTable},
                {"listtable", DestWord::ListTable},
                {"listoverridetable", DestWord::ListOverrideTable},
                {"pn", DestWord::Pn},
                {"pntxta", DestWord::PnTextAfter},
                {"pntxtb", DestWord::PnTextBefore},
                {"list", DestWord::List},
                {"listlevel", DestWord::ListLevel},
                {"leveltext", DestWord::LevelText},
                {"listoverride", DestWord::ListOverride},
                {"object", DestWord::Object},
                {"result", DestWord::Result},
                {"fldrslt", DestWord::Result},
                {"nesttableprops", DestWord::NestTableProps},
                {"pict", DestWord::Pict},
                {"shppict", DestWord::PictureForNewReaders},
                {"shp", DestWord::Shape},
                {"shpinst", DestWord::Shape},
                {"sp", DestWord::ShapeProperty},
                {"sn", DestWord::ShapeName},
                {"sv", DestWord::ShapeValue},
                {"shptxt", DestWord::ShapeText},
                {"shprslt", DestWord::ShapeText},
            };
            // Destinations that hold no text of the document, starred or not.
            for (const char* skipped : {"stylesheet",   "info",
                                        "header",       "headerl",
                                        "headerr",      "headerf",
                                        "footer",       "footerl",
                                        "footerr",      "footerf",
                                        "footnote",     "annotation",
                                        "objdata",      "objclass",
                                        "objname",      "nonshppict",
                                        "xe",           "tc",
                                        "txe",          "pntext",
                                        "listtext",     "template",
                                        "filetbl",      "revtbl",
                                        "rxe",          "author",
                                        "operator",     "title",
                                        "subject",      "doccomm",
                                        "keywords",     "comment",
                                        "company",      "fldinst",
                                        "datafield",    "private",
                                        "bkmkstart",    "bkmkend",
                                        "atnid",        "atnauthor",
                                        "themedata",    "colorschememapping",
                                        "latentstyles", "do",
                                        "buptim",       "creatim",
                                        "revtim",       "printim",
                                        "userprops",    "xmlnstbl",
                                        "generator",    "pgdsctbl",
                                        "rsidtbl",      "pnseclvl",
                                        "listpicture",  "fchars",
                                        "lchars",       "ftnsep",
                                        "ftnsepc",      "ftncn",
                                        "aftnsep",      "aftnsepc",
                                        "aftncn",       "mmathPr",
                                        "listname",     "falt",
                                        "panose",       "fname",
                                        "background",   "expandedcolortbl",
                                        "docvar",       "nonesttables"}) {
                map.emplace(skipped, DestWord::Skip);
            }
            return map;
        }();
        return words;
    }

    // An unknown destination is skipped when it is starred and read as formatting otherwise.
    bool SkipIfStarred(bool starred, Dest dest) {
        if (!starred) {
            return false;
        }
        return SetDest(dest == Dest::ObjectSkip ? Dest::ObjectSkip : Dest::Skip);
    }

    // Handles words that start a destination; false when the word is something else.
    bool Destination(std::string_view word) {
        const Dest dest = Top().dest;
        const bool starred = m_starred;
        m_starred = false;
        if (dest == Dest::Skip) {
            return true;
        }
        const auto& words = DestinationWords();
        const auto found = words.find(word);
        if (found == words.end()) {
            return SkipIfStarred(starred, dest);
        }
        switch (found->second) {
        case DestWord::FontTable:
            return SetDest(Dest::FontTable);
        case DestWord::ColorTable:
            return SetDest(Dest::ColorTable);
        case DestWord::ListTable:
            return SetDest(Dest::ListTable);
        case DestWord::ListOverrideTable:
            return SetDest(Dest::ListOverrideTable);
        case DestWord::Pn:
            m_pn = {};
            return SetDest(Dest::Pn);
        case DestWord::PnTextAfter:
            return SetDest(Dest::PnTextAfter);
        case DestWord::PnTextBefore:
            return SetDest(Dest::PnTextBefore);
        case DestWord::List:
            if (dest != Dest::ListTable) {
                return SkipIfStarred(starred, dest);
            }
            m_list = {};
            m_listId = 0;
            return SetDest(Dest::List);
        case DestWord::ListLevel:
            if (dest != Dest::List) {
                return SkipIfStarred(starred, dest);
            }
            m_level = {};
            return SetDest(Dest::ListLevel);
        case DestWord::LevelText:
            if (dest != Dest::ListLevel) {
                return SkipIfStarred(starred, dest);
            }
            m_level.text.clear();
            return SetDest(Dest::LevelText);
        case DestWord::ListOverride:
            if (dest != Dest::ListOverrideTable) {
                return SkipIfStarred(starred, dest);
            }
            m_override = {};
            m_overrideLs = 0;
            return SetDest(Dest::ListOverride);
        case DestWord::Object:
            return SetDest(Dest::ObjectSkip);
        case DestWord::Result:
            return SetDest(dest == Dest::ObjectSkip || dest == Dest::Normal ? Dest::Normal
                                                                            : Dest::Skip);
        case DestWord::NestTableProps:
            // Nested-table row properties hold only formatting in Word's files, but some
            // writers put the nested cells' text there; reading them as text keeps it, and
            // their \nestrow ends the row either way.
            return SetDest(dest);
        case DestWord::Pict:
            if (dest != Dest::Normal && dest != Dest::ShapePicture) {
                return SetDest(dest == Dest::ObjectSkip ? Dest::ObjectSkip : Dest::Skip);
            }
            m_pict = {};
            return SetDest(Dest::Pict);
        case DestWord::PictureForNewReaders:
            // The picture itself; the \nonshppict beside it repeats it for older readers.
            return SetDest(dest == Dest::Normal ? Dest::Normal : Dest::Skip);
        case DestWord::Shape:
            // A floating picture keeps its picture, which comes into the text where the
            // shape is anchored; nothing else of a drawing object is text.
            return SetDest(dest == Dest::Normal || dest == Dest::Shape ? Dest::Shape : Dest::Skip);
        case DestWord::ShapeProperty:
            return SetDest(dest == Dest::Shape ? Dest::Shape : Dest::Skip);
        case DestWord::ShapeName:
            m_shapeProperty.clear();
            return SetDest(dest == Dest::Shape ? Dest::ShapeName : Dest::Skip);
        case DestWord::ShapeValue:
            return SetDest(dest == Dest::Shape && m_shapeProperty == "pib" ? Dest::ShapePicture
                                                                           : Dest::Skip);
        case DestWord::ShapeText: // a text box's text, or the shape drawn for older readers
        case DestWord::Skip:
            return SetDest(dest == Dest::ObjectSkip ? Dest::ObjectSkip : Dest::Skip);
        }
        return false;
    }

    void EndDestination(const GroupState& closed) {
        switch (closed.dest) {
        case Dest::Pict:
            if (Top().dest != Dest::Pict) {
                FinishPicture();
            }
            break;
        case Dest::FontEntry:
            if (Top().dest == Dest::FontTable) {
                StoreFont();
            }
            break;
        case Dest::Pn:
            if (Top().dest != Dest::Pn) {
                ApplyPn(Top().para);
            }
            break;
        case Dest::ListLevel:
            if (Top().dest == Dest::List && m_list.levels.size() < kMaxListLevels) {
                m_list.levels.push_back(m_level);
            }
            break;
        case Dest::List:
            if (Top().dest == Dest::ListTable && m_lists.size() < 100000) {
                m_lists[m_listId] = m_list;
            }
            break;
        case Dest::ListOverride:
            if (Top().dest == Dest::ListOverrideTable && m_overrides.size() < 100000) {
                m_overrides[m_overrideLs] = m_override;
            }
            break;
        default:
            break;
        }
    }

    void ApplyPn(ParaState& para) {
        para.pnNumbering = m_pn.numbering;
        para.pnStart = m_pn.numbering == kPfnBullet ? m_pn.start : (m_pn.hasStart ? m_pn.start : 1);
        para.pnStyle = m_pn.numbering == kPfnBullet ? 0 : StyleOf(m_pn.before, m_pn.after);
        para.pnSymbol = m_pn.before.empty() ? 0 : m_pn.before.front();
        para.pnFont = m_pn.font;
    }

    // --- Pictures -----------------------------------------------------------------------

    void PictWord(std::string_view word, bool hasParam, int param) {
        RichPicture& picture = m_pict.picture;
        static constexpr std::pair<std::string_view, int32_t RichPicture::*> kSizes[] = {
            {"picw", &RichPicture::width},         {"pich", &RichPicture::height},
            {"picwgoal", &RichPicture::goalWidth}, {"pichgoal", &RichPicture::goalHeight},
            {"picscalex", &RichPicture::scaleX},   {"picscaley", &RichPicture::scaleY}};
        for (const auto& [name, member] : kSizes) {
            if (word == name) {
                picture.*member = param;
                return;
            }
        }
        static constexpr std::string_view kTypes[] = {"pngblip",  "jpegblip",  "emfblip",
                                                      "macpict",  "wmetafile", "pmmetafile",
                                                      "dibitmap", "wbitmap"};
        const bool type = std::find(std::begin(kTypes), std::end(kTypes), word) != std::end(kTypes);
        std::string& target = type ? picture.typeWord : picture.otherWords;
        if (type) {
            target.clear();
        } else if (target.size() >= 1024) {
            return; // cropping and tags, not worth unbounded room
        } else {
            target += '\\';
        }
        target += word;
        if (hasParam) {
            target += std::to_string(param);
        }
    }

    // Data beyond the limits is counted, not kept.
    bool TakesPictureBytes(size_t count) {
        m_pict.bytes += count;
        const size_t kept = m_pict.picture.data.size() + count;
        if (!m_pict.overLimit &&
            (kept > kMaxPictureBytes || m_pictureBytes + kept > kMaxPictureBytesPerText)) {
            m_pict.overLimit = true;
            std::string().swap(m_pict.picture.data);
        }
        return !m_pict.overLimit;
    }

    void PictureHex(std::string_view digits) {
        std::string bytes;
        if (!m_pict.overLimit) {
            bytes.reserve(digits.size() / 2 + 1);
        }
        for (char c : digits) {
            const int value = HexValue(c);
            if (value < 0) {
                continue; // line breaks and spaces between the digits
            }
            if (m_pict.nibble < 0) {
                m_pict.nibble = value;
            } else {
                if (!m_pict.overLimit) {
                    bytes.push_back(static_cast<char>(m_pict.nibble << 4 | value));
                } else {
                    ++m_pict.bytes;
                }
                m_pict.nibble = -1;
            }
        }
        PictureBinary(bytes);
    }

    void PictureBinary(std::string_view bytes) {
        if (TakesPictureBytes(bytes.size())) {
            m_pict.picture.data.append(bytes);
        }
    }

    void FinishPicture() {
        PictState pict = std::move(m_pict);
        m_pict = {};
        const std::string kind = PictureKindName(pict.picture.typeWord);
        if (pict.overLimit) {
            Warn("A " + kind + " picture of " + Megabytes(pict.bytes) +
                 " was left out: a picture may hold at most " + Megabytes(kMaxPictureBytes) +
                 ", and the pictures of one text at most " + Megabytes(kMaxPictureBytesPerText) +
                 ".");
            return;
        }
        if (pict.picture.data.empty()) {
            Warn("A " + kind + " picture without data was left out.");
            return;
        }
        if (FormatOf(pict.picture) != PictureFormat::Other && !IsShowablePicture(pict.picture)) {
            int32_t width = 0;
            int32_t height = 0;
            const std::string why = PicturePixelSize(pict.picture, width, height)
                                        ? " of " + std::to_string(width) + " x " +
                                              std::to_string(height) +
                                              " pixels is too large to show"
                                        : " cannot be read";
            Warn("A " + kind + " picture" + why +
                 "; it is kept as it came and shows as a placeholder.");
        }
        m_pictureBytes += pict.picture.data.size();
        FlushPendingCellTab();
        RichCharFormat format = CurrentFormat();
        format.picture = PictureRef(std::make_shared<const RichPicture>(std::move(pict.picture)));
        RichParagraph& paragraph = m_doc.paragraphs.back();
        if (paragraph.runs.empty() || !(paragraph.runs.back().format == format)) {
            paragraph.runs.push_back({{}, std::move(format)});
        }
        paragraph.runs.back().text.push_back(kObjectCharacter);
        m_formatDirty = true; // the text after the picture is no picture
    }

    static std::string PictureKindName(const std::string& typeWord) {
        static constexpr std::pair<std::string_view, const char*> kNames[] = {
            {"pngblip", "PNG"},    {"jpegblip", "JPEG"},      {"emfblip", "EMF"},
            {"wmetafile", "WMF"},  {"macpict", "PICT"},       {"dibitmap", "bitmap"},
            {"wbitmap", "bitmap"}, {"pmmetafile", "metafile"}};
        for (const auto& [word, name] : kNames) {
            if (typeWord.rfind(word, 0) == 0) {
                return name;
            }
        }
        return "untyped";
    }

    static std::string Megabytes(size_t bytes) {
        const size_t tenths = (bytes * 10 + (size_t{1} << 19)) >> 20;
        return std::to_string(tenths / 10) +
               (tenths % 10 != 0 ? "." + std::to_string(tenths % 10) : std::string()) + " MB";
    }

    void Warn(std::string text) {
        constexpr size_t kMaxWarnings = 20;
        if (m_warnings.size() < kMaxWarnings) {
            m_warnings.push_back(std::move(text));
        } else if (m_warnings.size() == kMaxWarnings) {
            m_warnings.emplace_back("More pictures were left out or cannot be shown.");
        }
    }

    void StoreFont() {
        if (m_fontIndex < 0) {
            m_font = {};
            return; // stray text between the fonts
        }
        FontDef font = std::move(m_font);
        std::u32string name = std::move(font.unicodeName);
        while (!name.empty() && name.front() == U' ') {
            name.erase(name.begin());
        }
        // Cut first, so that the name never ends in a space that a second reading would trim.
        name.resize(std::min(name.size(), kMaxFaceNameLength));
        while (!name.empty() && (name.back() == U' ' || name.back() == U';')) {
            name.pop_back();
        }
        while (!name.empty() && name.front() == U' ') {
            name.erase(name.begin());
        }
        std::string utf8;
        for (char32_t c : name) {
            AppendUtf8(utf8, c);
        }
        font.name = std::move(utf8);
        // Other word processors write the symbol fonts under the ANSI character set, with the
        // symbols in the private-use block; the control knows them as symbol fonts by name.
        if (IsSymbolFontName(font.name)) {
            font.charSet = kSymbolCharSet;
        }
        if (m_fonts.size() < 100000) {
            m_fonts[m_fontIndex] = std::move(font);
        }
        // A font table late in the text may redefine the font in use.
        m_formatDirty = true;
        m_font = {};
        m_fontIndex = -1;
    }

    // --- Control words ------------------------------------------------------------------

    void Word(std::string_view word, bool hasParam, int param) {
        if (Destination(word)) {
            return;
        }
        m_starred = false;
        GroupState& state = Top();
        switch (state.dest) {
        case Dest::Normal:
            NormalWord(word, hasParam, param);
            break;
        case Dest::FontTable:
        case Dest::FontEntry:
            FontWord(word, hasParam, param);
            break;
        case Dest::ColorTable:
            ColorWord(word, param);
            break;
        case Dest::Pn:
            PnWord(word, hasParam, param);
            break;
        case Dest::Pict:
            PictWord(word, hasParam, param);
            break;
        case Dest::ListLevel:
            if (word == "levelnfc" || word == "levelnfcn") {
                m_level.nfc = param;
            } else if (word == "levelstartat") {
                m_level.startAt = param;
            } else if (word == "f") {
                m_level.font = param;
            }
            break;
        case Dest::List:
            if (word == "listid") {
                m_listId = param;
            }
            break;
        case Dest::ListOverride:
            if (word == "listid") {
                m_override.listId = param;
            } else if (word == "ls") {
                m_overrideLs = param;
            } else if (word == "ilvl" || word == "lfolevel") {
                m_overrideLevel = std::clamp(param, 0, int(kMaxListLevels) - 1);
            } else if (word == "levelstartat" && m_override.startAt.size() < kMaxListLevels) {
                m_override.startAt[m_overrideLevel] = param;
            }
            break;
        case Dest::LevelText:
        case Dest::PnTextAfter:
        case Dest::PnTextBefore:
            if (word == "u") {
                UnicodeWord(param);
            }
            break;
        default:
            break;
        }
    }

    void FontWord(std::string_view word, bool hasParam, int param) {
        GroupState& state = Top();
        if (word == "f") {
            if (state.dest == Dest::FontTable && m_stack.size() >= 2 &&
                m_stack[m_stack.size() - 2].dest == Dest::FontTable) {
                state.dest = Dest::FontEntry; // the group of one font
            }
            if (state.dest == Dest::FontTable &&
                (m_fontIndex >= 0 || !m_font.unicodeName.empty())) {
                StoreFont(); // fonts listed without braces
            }
            m_fontIndex = param;
            m_font = {};
        } else if (word == "fcharset") {
            m_font.charSet = static_cast<uint8_t>(param);
        } else if (word == "cpg") {
            m_font.codePage = param;
        } else if (word == "fprq") {
            m_font.pitchAndFamily =
                static_cast<uint8_t>((m_font.pitchAndFamily & 0xF0) | (param & 3));
        } else if (word == "fnil" || word == "froman" || word == "fswiss" || word == "fmodern" ||
                   word == "fscript" || word == "fdecor" || word == "ftech" || word == "fbidi") {
            static const std::pair<std::string_view, uint8_t> kFamilies[] = {
                {"fnil", 0x00},    {"froman", 0x10}, {"fswiss", 0x20}, {"fmodern", 0x30},
                {"fscript", 0x40}, {"fdecor", 0x50}, {"ftech", 0x00},  {"fbidi", 0x00}};
            for (const auto& [name, family] : kFamilies) {
                if (word == name) {
                    m_font.pitchAndFamily =
                        static_cast<uint8_t>((m_font.pitchAndFamily & 3) | family);
                }
            }
        } else if (word == "u" && state.dest == Dest::FontEntry) {
            UnicodeWord(param);
        } else if (state.dest == Dest::FontTable &&
                   (word == "par" || word == "pard" || word == "viewkind" || word == "plain")) {
            // Body text inside an unclosed font table: the table has ended in all but name.
            StoreFont();
            state.dest = Dest::Normal;
            NormalWord(word, hasParam, param);
        }
    }

    void ColorWord(std::string_view word, int param) {
        const uint32_t value = static_cast<uint32_t>(std::clamp(param, 0, 255));
        if (word == "red") {
            m_color = (m_color & 0xFFFF00) | value;
        } else if (word == "green") {
            m_color = (m_color & 0xFF00FF) | (value << 8);
        } else if (word == "blue") {
            m_color = (m_color & 0x00FFFF) | (value << 16);
        } else {
            return;
        }
        m_colorSet = true;
    }

    void PnWord(std::string_view word, bool hasParam, int param) {
        if (word == "pnlvlbody" || word == "pnlvl") {
            if (m_pn.numbering == 0 || m_pn.numbering == kPfnBullet) {
                m_pn.numbering = kPfnArabic;
            }
        } else if (word == "pnlvlblt") {
            m_pn.numbering = kPfnBullet;
        } else if (word == "pnlvlcont") {
            m_pn.numbering = 0;
        } else if (word == "pndec" || word == "pncard" || word == "pnord" || word == "pnordt") {
            m_pn.numbering = m_pn.numbering == kPfnBullet ? kPfnBullet : kPfnArabic;
            m_pn.format = kPfnArabic;
        } else if (word == "pnlcltr") {
            m_pn.format = kPfnLowerLetter;
        } else if (word == "pnucltr") {
            m_pn.format = kPfnUpperLetter;
        } else if (word == "pnlcrm") {
            m_pn.format = kPfnLowerRoman;
        } else if (word == "pnucrm") {
            m_pn.format = kPfnUpperRoman;
        } else if (word == "pnf") {
            m_pn.font = param;
        } else if (word == "pnstart" && hasParam) {
            m_pn.start = static_cast<uint16_t>(std::clamp(param, 0, 0xFFFF));
            m_pn.hasStart = true;
        }
        if (m_pn.numbering != 0 && m_pn.numbering != kPfnBullet && m_pn.format != 0) {
            m_pn.numbering = m_pn.format;
        }
    }

    void NormalWord(std::string_view word, bool hasParam, int param) {
        GroupState& state = Top();
        CharState& chars = state.chars;
        ParaState& para = state.para;
        const bool on = !hasParam || param != 0;
        auto effect = [&](uint32_t bit) {
            chars.effects = on ? (chars.effects | bit) : (chars.effects & ~bit);
            m_formatDirty = true;
        };
        auto script = [&](uint32_t effect, int32_t offset) {
            chars.effects = (chars.effects & ~(kCfeSubscript | kCfeSuperscript)) | effect;
            chars.offset = offset;
            m_formatDirty = true;
        };
        auto colorIndex = [&](int& index) {
            index = param;
            m_formatDirty = true;
        };
        auto underline = [&](uint8_t type) {
            chars.effects |= kCfeUnderline;
            chars.underlineType = type;
            if (!on) {
                chars.effects &= ~kCfeUnderline;
                chars.underlineType = 0;
            }
            m_formatDirty = true;
        };
        switch (word[0]) {
        case 'a':
            if (word == "ansicpg" && hasParam && param > 0) {
                m_ansiCodePage = param;
            }
            return;
        case 'b':
            if (word == "b") {
                effect(kCfeBold);
            } else if (word == "bullet") {
                Char(0x2022);
            }
            return;
        case 'c':
            if (word == "cf") {
                chars.color = param;
                m_formatDirty = true;
            } else if (word == "cell") {
                EndCell();
            } else if (word == "cellx") {
                if (m_cellEdges.size() < kMaxTabStops) {
                    m_cellEdges.push_back(param);
                }
            } else if (word == "caps") {
                effect(kCfeAllCaps);
            } else if (word == "cb") {
                colorIndex(chars.background);
            } else if (word == "chcbpat") {
                colorIndex(chars.shading);
            }
            return;
        case 'd':
            if (word == "deff") {
                m_defaultFont = param;
                m_formatDirty = true;
            } else if (word == "dn") {
                // Half points, six when not given; no distance is no lowering.
                const int halfPoints = std::clamp(hasParam ? param : 6, 0, 0x7FFF);
                if (halfPoints > 0) {
                    script(kCfeSubscript, -halfPoints * 10);
                } else if (chars.offset < 0) {
                    script(0, 0);
                }
            }
            return;
        case 'e':
            if (word == "emdash") {
                Char(0x2014);
            } else if (word == "endash") {
                Char(0x2013);
            } else if (word == "emspace") {
                Char(0x2003);
            } else if (word == "enspace") {
                Char(0x2002);
            }
            return;
        case 'f':
            if (word == "f") {
                chars.font = param;
                m_formatDirty = true;
            } else if (word == "fs") {
                chars.halfPoints = std::clamp(hasParam ? param : 24, 0, 0x7FFF / 10 * 2);
                m_formatDirty = true;
            } else if (word == "fi") {
                para.firstIndent = param;
            }
            return;
        case 'h':
            if (word == "highlight") {
                colorIndex(chars.highlight);
            }
            return;
        case 'i':
            if (word == "i") {
                effect(kCfeItalic);
            } else if (word == "ilvl") {
                para.ilvl = std::clamp(param, 0, int(kMaxListLevels) - 1);
            }
            return;
        case 'l':
            if (word == "line" || word == "lbr") {
                Char(U'\u2028'); // a break inside the paragraph
            } else if (word == "li") {
                para.leftIndent = param;
            } else if (word == "ls") {
                para.ls = param;
            } else if (word == "lquote") {
                Char(0x2018);
            } else if (word == "ldblquote") {
                Char(0x201C);
            }
            return;
        case 'm':
            if (word == "mac") {
                m_ansiCodePage = 10000;
            }
            return;
        case 'n':
            if (word == "nosupersub") {
                script(0, 0);
            } else if (word == "nestrow") {
                EndRow();
            } else if (word == "nestcell") {
                EndCell();
            }
            return;
        case 'p':
            if (word == "par") {
                BreakParagraph();
            } else if (word == "pard") {
                para = ParaState{};
            } else if (word == "plain") {
                chars = CharState{};
                m_formatDirty = true;
            } else if (word == "page" || word == "sect") {
                if (!m_doc.paragraphs.back().runs.empty()) {
                    BreakParagraph();
                }
            } else if (word == "pc") {
                m_ansiCodePage = 437;
            } else if (word == "pca") {
                m_ansiCodePage = 850;
            }
            return;
        case 'q':
            if (word == "ql") {
                para.format.alignment = kPfaLeft;
            } else if (word == "qr") {
                para.format.alignment = kPfaRight;
            } else if (word == "qc") {
                para.format.alignment = kPfaCenter;
            } else if (word == "qj" || word == "qd") {
                para.format.alignment = kPfaJustify;
            } else if (word == "qmspace") {
                Char(0x2005);
            }
            return;
        case 'r':
            if (word == "ri") {
                para.format.rightIndent = param;
            } else if (word == "rquote") {
                Char(0x2019);
            } else if (word == "rdblquote") {
                Char(0x201D);
            } else if (word == "row") {
                EndRow();
            } else if (word == "rtf") {
                // the header itself
            }
            return;
        case 's':
            if (word == "sb") {
                para.format.spaceBefore = param;
            } else if (word == "sa") {
                para.format.spaceAfter = param;
            } else if (word == "sl") {
                para.lineRule = param;
            } else if (word == "slmult") {
                para.lineMultiple = param != 0;
            } else if (word == "strike" || word == "striked") {
                effect(kCfeStrikeout);
            } else if (word == "sub") {
                script(kCfeSubscript, 0);
            } else if (word == "super") {
                script(kCfeSuperscript, 0);
            } else if (word == "scaps") {
                effect(kCfeSmallCaps);
            }
            return;
        case 't':
            if (word == "tab") {
                Char(U'\t');
            } else if (word == "tx" || word == "tb") {
                AddTab(para.format,
                       MakeTab(param, word == "tb" ? kTabBar : para.tabAlignment, para.tabLeader));
                para.tabAlignment = kTabLeft;
                para.tabLeader = kLeaderNone;
            } else if (word == "trowd") {
                m_cellEdges.clear();
            } else {
                TabKind(word, para);
            }
            return;
        case 'u':
            if (word == "u") {
                UnicodeWord(param);
            } else if (word == "uc") {
                state.uc = std::clamp(param, 0, 16);
            } else if (word == "up") {
                const int halfPoints = std::clamp(hasParam ? param : 6, 0, 0x7FFF);
                if (halfPoints > 0) {
                    script(kCfeSuperscript, halfPoints * 10);
                } else if (chars.offset > 0) {
                    script(0, 0);
                }
            } else if (word == "ul" || word == "uldash" || word == "uldashd" ||
                       word == "uldashdd" || word == "ulth" || word == "ulwave" ||
                       word == "ulhwave" || word == "ulldash" || word == "ululdbwave" ||
                       word == "ulthdash" || word == "ulthldash" || word == "ulthdashd" ||
                       word == "ulthdashdd") {
                underline(kCfuSolid); // styles without a counterpart keep an underline
            } else if (word == "uld" || word == "ulthd") {
                underline(kCfuDotted);
            } else if (word == "uldb") {
                underline(kCfuDouble);
            } else if (word == "ulw") {
                underline(kCfuWord);
            } else if (word == "ulnone") {
                chars.effects &= ~kCfeUnderline;
                chars.underlineType = 0;
                m_formatDirty = true;
            }
            return;
        case 'v':
            if (word == "v") {
                effect(kCfeHidden);
            }
            return;
        default:
            return;
        }
    }

    // The alignment and leader words that come before a tab stop's position.
    static void TabKind(std::string_view word, ParaState& para) {
        static constexpr std::pair<std::string_view, uint8_t> kAlignments[] = {
            {"tqr", kTabRight}, {"tqc", kTabCenter}, {"tqdec", kTabDecimal}};
        static constexpr std::pair<std::string_view, uint8_t> kLeaders[] = {
            {"tldot", kLeaderDots},     {"tlmdot", kLeaderDots}, {"tlhyph", kLeaderHyphens},
            {"tlul", kLeaderUnderline}, {"tlth", kLeaderThick},  {"tleq", kLeaderEquals}};
        for (const auto& [name, alignment] : kAlignments) {
            if (word == name) {
                para.tabAlignment = alignment;
            }
        }
        for (const auto& [name, leader] : kLeaders) {
            if (word == name) {
                para.tabLeader = leader;
            }
        }
    }

    // Stops are kept by position; a second stop at a position replaces the first.
    static void AddTab(RichParaFormat& format, int32_t tab) {
        auto begin = format.tabs.begin();
        auto end = begin + format.tabCount;
        auto at = std::lower_bound(
            begin, end, tab, [](int32_t a, int32_t b) { return TabPosition(a) < TabPosition(b); });
        if (at != end && TabPosition(*at) == TabPosition(tab)) {
            *at = tab;
            return;
        }
        if (format.tabCount >= kMaxTabStops) {
            return;
        }
        std::move_backward(at, end, end + 1);
        *at = tab;
        ++format.tabCount;
    }

    // --- Text -----------------------------------------------------------------------------

    void UnicodeWord(int param) {
        char32_t c = static_cast<char32_t>(param < 0 ? param + 65536 : param);
        if (param < -32768 || c > 0x10FFFF) {
            c = U'\uFFFD';
        }
        m_skipCount = Top().uc;
        if (c >= 0xD800 && c <= 0xDBFF) {
            m_highSurrogate = c;
            return;
        }
        if (c >= 0xDC00 && c <= 0xDFFF) {
            if (m_highSurrogate == 0) {
                Char(U'\uFFFD');
                return;
            }
            c = 0x10000 + ((m_highSurrogate - 0xD800) << 10) + (c - 0xDC00);
            m_highSurrogate = 0;
        }
        if (Top().dest == Dest::Normal && CurrentCharSet() == kSymbolCharSet && c >= 0xF020 &&
            c <= 0xF0FF) {
            c -= 0xF000; // symbol fonts keep byte values
        }
        Char(c);
    }

    const FontDef* CurrentFont() const {
        int index = m_stack.back().chars.font;
        if (index < 0) {
            index = m_defaultFont;
        }
        auto it = m_fonts.find(index);
        if (it == m_fonts.end()) {
            it = m_fonts.find(m_defaultFont);
        }
        return it == m_fonts.end() ? nullptr : &it->second;
    }

    uint8_t CurrentCharSet() const {
        const FontDef* font = CurrentFont();
        return font ? font->charSet : 0;
    }

    int CurrentCodePage() const {
        const FontDef* font = CurrentFont();
        if (font == nullptr) {
            return m_ansiCodePage;
        }
        return font->codePage >= 0 ? font->codePage
                                   : CodePageOfCharSet(font->charSet, m_ansiCodePage);
    }

    // Names come in the font's own code page, which its \\fcharset or \\cpg has given by now.
    void FontNameByte(uint8_t byte) {
        if (m_font.unicodeName.size() >= 64) {
            return;
        }
        const int codePage = m_font.codePage >= 0
                                 ? m_font.codePage
                                 : CodePageOfCharSet(m_font.charSet, m_ansiCodePage);
        if (m_font.leadByte != 0) {
            m_font.unicodeName += DecodeDoubleByte(codePage, m_font.leadByte, byte);
            m_font.leadByte = 0;
        } else if (byte >= 0x80 && IsLeadByte(codePage, byte)) {
            m_font.leadByte = byte;
        } else if (byte >= 0x20) {
            m_font.unicodeName += byte < 0x80 ? char32_t(byte) : SingleByteTable(codePage)[byte];
        }
    }

    // The UTF-8 sequence that starts just before m_pos (its lead byte has been taken).
    void Utf8Character() {
        const size_t start = m_pos - 1;
        size_t length = 1;
        while (length < 4 && start + length < m_in.size() &&
               (static_cast<uint8_t>(m_in[start + length]) & 0xC0) == 0x80) {
            ++length;
        }
        m_pos = start + length;
        if (m_skipCount > 0) {
            --m_skipCount; // the fallback of a \\u is one character, however many bytes
            return;
        }
        const std::u32string decoded = DecodeUtf8(m_in.substr(start, length));
        for (const char32_t c : decoded) {
            if (const auto byte = UnicodeToCp1252(c)) {
                TextByte(*byte);
            } else {
                FlushPendingByte();
                Char(c);
            }
        }
    }

    void FlushPendingByte() {
        if (m_leadByte != 0) {
            m_leadByte = 0;
            Char(U'\uFFFD');
        }
    }

    void TextByte(uint8_t byte, bool escaped = false) {
        if (m_stack.empty()) {
            return; // text before the header
        }
        GroupState& state = Top();
        switch (state.dest) {
        case Dest::Normal:
            break;
        case Dest::FontTable:
        case Dest::FontEntry:
            if (byte == ';' && !escaped) {
                StoreFont();
            } else {
                FontNameByte(byte);
            }
            return;
        case Dest::ColorTable:
            if (byte == ';') {
                if (m_colors.size() < 100000) {
                    m_colors.push_back(m_colorSet ? int64_t(m_color) : -1);
                }
                m_color = 0;
                m_colorSet = false;
                m_formatDirty = true;
            }
            return;
        case Dest::LevelText:
        case Dest::PnTextAfter:
        case Dest::PnTextBefore:
            Char(byte); // a bullet's byte means what the level's font makes of it
            return;
        case Dest::Pict:
            if (!escaped) {
                PictureHex(std::string_view(reinterpret_cast<const char*>(&byte), 1));
            }
            return;
        case Dest::ShapeName:
            if (m_shapeProperty.size() < 32) {
                m_shapeProperty.push_back(static_cast<char>(byte));
            }
            return;
        default:
            return;
        }
        if (byte < 0x80 && m_leadByte == 0) {
            if (byte == '\t' || byte >= 0x20 || escaped) {
                Char(byte);
            }
            return;
        }
        const int codePage = CurrentCodePage();
        if (codePage == 0) {
            Char(byte);
        } else if (m_leadByte != 0) {
            const uint8_t lead = m_leadByte;
            m_leadByte = 0;
            Char(DecodeDoubleByte(codePage, lead, byte));
        } else if (IsLeadByte(codePage, byte)) {
            m_leadByte = byte;
        } else {
            Char(SingleByteTable(codePage)[byte]);
        }
    }

    void Char(char32_t c) {
        if (m_stack.empty()) {
            return;
        }
        switch (Top().dest) {
        case Dest::Normal:
            break;
        case Dest::LevelText:
            if (m_level.text.size() < 64) {
                m_level.text.push_back(c);
            }
            return;
        case Dest::PnTextAfter:
            if (m_pn.after.size() < 16) {
                m_pn.after.push_back(c);
            }
            return;
        case Dest::PnTextBefore:
            if (m_pn.before.size() < 16) {
                m_pn.before.push_back(c);
            }
            return;
        case Dest::FontEntry:
        case Dest::FontTable:
            if (m_font.unicodeName.size() < 64) {
                m_font.unicodeName.push_back(c);
            }
            return;
        default:
            return;
        }
        FlushPendingCellTab();
        RichParagraph& paragraph = m_doc.paragraphs.back();
        if (m_formatDirty || paragraph.runs.empty()) {
            RichCharFormat format = CurrentFormat();
            if (paragraph.runs.empty() || !(paragraph.runs.back().format == format)) {
                paragraph.runs.push_back({{}, std::move(format)});
            }
            m_formatDirty = false;
        }
        paragraph.runs.back().text.push_back(c);
    }

    RichCharFormat CurrentFormat() const {
        const CharState& chars = m_stack.back().chars;
        RichCharFormat format;
        format.mask = kCfmAll;
        format.effects = chars.effects;
        format.underlineType = chars.effects & kCfeUnderline ? chars.underlineType : 0;
        format.height = chars.halfPoints * 10;
        // An index into the empty first entry, or past the table, means the automatic colour.
        if (chars.color >= 0 && static_cast<size_t>(chars.color) < m_colors.size() &&
            m_colors[static_cast<size_t>(chars.color)] >= 0) {
            format.color = static_cast<uint32_t>(m_colors[static_cast<size_t>(chars.color)]);
        } else {
            format.effects |= kCfeAutoColor;
        }
        for (int index : {chars.highlight, chars.shading, chars.background}) {
            if (index > 0 && static_cast<size_t>(index) < m_colors.size() &&
                m_colors[static_cast<size_t>(index)] >= 0) {
                format.backColor = static_cast<uint32_t>(m_colors[static_cast<size_t>(index)]);
                break;
            }
        }
        format.offset = chars.offset;
        if (const FontDef* font = CurrentFont()) {
            format.faceName = font->name;
            format.charSet = font->charSet;
            format.pitchAndFamily = font->pitchAndFamily;
        }
        return format;
    }

    RichParaFormat ResolveParagraph(const ParaState& para) {
        RichParaFormat format = para.format;
        format.offset = -para.firstIndent;
        format.startIndent = para.leftIndent + para.firstIndent;
        RichParaFormat change;
        change.mask = kPfmStartIndent | kPfmOffset | kPfmLineSpacing;
        change.startIndent = format.startIndent;
        change.offset = format.offset;
        // A multiple too small to count in twentieths of a line is no spacing at all.
        if (para.lineRule == 0 || (para.lineMultiple && std::abs(para.lineRule) < 12)) {
            change.lineSpacingRule = kLineSpacingSingle;
        } else if (para.lineMultiple) {
            change.lineSpacingRule = para.lineRule == 360   ? kLineSpacingOneAndHalf
                                     : para.lineRule == 480 ? kLineSpacingDouble
                                     : para.lineRule == 240 ? kLineSpacingSingle
                                                            : kLineSpacingMultiple;
            change.lineSpacing = std::abs(para.lineRule) / 12;
        } else if (para.lineRule > 0) {
            change.lineSpacingRule = kLineSpacingAtLeast;
            change.lineSpacing = para.lineRule;
        } else {
            change.lineSpacingRule = kLineSpacingExactly;
            change.lineSpacing = -para.lineRule;
        }
        ApplyParaFormat(format, change);
        format.numbering = 0;
        format.numberingStart = 0;
        format.numberingStyle = 0;
        int actual = -1;
        const ListLevel* level = ListLevelOf(para);
        if (level != nullptr) {
            format.numbering = NumberingOfNfc(level->nfc);
            if (format.numbering == kPfnBullet) {
                format.numberingStart = para.pnNumbering == kPfnBullet ? para.pnStart : 0;
                // The level text is its length, then the symbol.
                SetBullet(format, level->text.size() > 1 ? level->text[1] : 0, level->font);
            } else if (format.numbering != kPfnNone) {
                format.numberingStyle = StyleOfLevelText(level->text);
                actual = NextListNumber(para, *level);
            }
        } else if (para.pnNumbering != 0) {
            format.numbering = para.pnNumbering;
            format.numberingStart = para.pnStart;
            format.numberingStyle = para.pnStyle;
            if (para.pnNumbering == kPfnBullet) {
                SetBullet(format, para.pnSymbol, para.pnFont);
            }
        }
        m_listNumbers.push_back({para.ls, actual});
        format.mask = kPfmAll;
        return format;
    }

    // A bullet keeps the symbol its font shows: a symbol font's byte, or a character. The
    // bullet that the control and every word processor write by default (Symbol's 0xB7, or
    // U+2022 in any font) is the standard one, which the model holds as no symbol at all.
    void SetBullet(RichParaFormat& format, char32_t symbol, int fontIndex) const {
        auto found = m_fonts.find(fontIndex >= 0 ? fontIndex : m_defaultFont);
        const FontDef* font = found != m_fonts.end() ? &found->second : nullptr;
        static const FontDef kSymbol{"Symbol", {}, 0, kSymbolCharSet, 0, -1};
        if (font == nullptr && symbol >= 0xF020 && symbol <= 0xF0FF) {
            font = &kSymbol; // a symbol font's byte in a font the file forgot to define
        }
        const bool symbolFont = font != nullptr && font->charSet == kSymbolCharSet;
        if (symbolFont && symbol >= 0xF020 && symbol <= 0xF0FF) {
            symbol -= 0xF000;
        }
        format.bulletSymbol = 0;
        format.bulletFace.clear();
        format.bulletCharSet = 0;
        if (symbol < 0x20 || symbol > 0x10FFFF || (symbol >= 0xD800 && symbol <= 0xDFFF)) {
            return;
        }
        if (symbolFont && symbol < 0x100) {
            if (symbol == 0xB7 && font->name == "Symbol") {
                return;
            }
            format.bulletCharSet = kSymbolCharSet;
        } else if (symbol < 0x100) {
            const int codePage = font == nullptr ? m_ansiCodePage
                                 : font->codePage >= 0
                                     ? font->codePage
                                     : CodePageOfCharSet(font->charSet, m_ansiCodePage);
            if (symbol >= 0x80 && codePage != 0 && !IsDoubleByteCodePage(codePage)) {
                symbol = SingleByteTable(codePage)[symbol];
            }
        }
        if (symbol == 0x2022) {
            return;
        }
        format.bulletSymbol = symbol;
        format.bulletFace = font != nullptr ? font->name : std::string();
    }

    const ListLevel* ListLevelOf(const ParaState& para) const {
        if (para.ls == 0) {
            return nullptr;
        }
        auto over = m_overrides.find(para.ls);
        if (over == m_overrides.end()) {
            return nullptr;
        }
        auto list = m_lists.find(over->second.listId);
        if (list == m_lists.end() || list->second.levels.empty()) {
            return nullptr;
        }
        const auto& levels = list->second.levels;
        return &levels[std::min<size_t>(static_cast<size_t>(para.ilvl), levels.size() - 1)];
    }

    // New-style lists count on across interruptions, and an item restarts the levels below.
    int NextListNumber(const ParaState& para, const ListLevel& level) {
        auto& counters = m_listCounters[para.ls];
        counters.resize(kMaxListLevels, 0);
        const auto ilvl = static_cast<size_t>(para.ilvl);
        for (size_t below = ilvl + 1; below < kMaxListLevels; ++below) {
            counters[below] = 0;
        }
        const Override& over = m_overrides.at(para.ls);
        auto start = over.startAt.find(para.ilvl);
        const int first = start != over.startAt.end() ? start->second : level.startAt;
        return first + counters[ilvl]++;
    }

    void BreakParagraph(bool endsRow = false) {
        if (m_stack.empty() || Top().dest != Dest::Normal) {
            return;
        }
        m_pendingCellTab = false;
        RichParagraph& paragraph = m_doc.paragraphs.back();
        paragraph.format = ResolveParagraph(Top().para);
        if (endsRow && !m_cellEdges.empty()) {
            // The row's cells stand side by side: each starts at the right edge of the one
            // before it.
            for (size_t i = 0; i + 1 < m_cellEdges.size(); ++i) {
                AddTab(paragraph.format, MakeTab(m_cellEdges[i]));
            }
        }
        paragraph.markFormat = CurrentFormat();
        m_doc.paragraphs.emplace_back();
    }

    void FlushPendingCellTab() {
        if (m_pendingCellTab) {
            m_pendingCellTab = false;
            Char(U'\t');
        }
    }

    // Cells become tab-separated; the tab after the last cell of a row is dropped.
    void EndCell() {
        if (m_pendingCellTab) {
            m_pendingCellTab = false;
            Char(U'\t');
        }
        m_pendingCellTab = true;
    }

    void EndRow() {
        m_pendingCellTab = false;
        BreakParagraph(true);
    }

    void Finish() {
        FlushPendingByte();
        RichParagraph& last = m_doc.paragraphs.back();
        m_final.dest = Dest::Normal;
        m_stack.push_back(m_final);
        last.format = ResolveParagraph(m_final.para);
        last.markFormat = last.runs.empty() ? CurrentFormat() : last.runs.back().format;
        last.markFormat.picture = {};
        m_stack.clear();
        if (!m_fragment && last.runs.empty() && m_doc.paragraphs.size() > 1) {
            m_doc.paragraphs.pop_back();
            m_listNumbers.pop_back();
        }
        // A new-style list numbers its items through the whole text; here each run of items
        // carries the number it starts at.
        for (size_t i = 0; i < m_doc.paragraphs.size(); ++i) {
            const auto [ls, actual] = m_listNumbers[i];
            if (actual < 0) {
                continue;
            }
            RichParaFormat& format = m_doc.paragraphs[i].format;
            const auto number = static_cast<uint16_t>(std::clamp(actual, 0, 0xFFFF));
            if (i > 0 && m_listNumbers[i - 1].first == ls && m_listNumbers[i - 1].second >= 0 &&
                m_listNumbers[i - 1].second + 1 == actual) {
                const RichParaFormat& before = m_doc.paragraphs[i - 1].format;
                if (before.numbering == format.numbering &&
                    before.numberingStyle == format.numberingStyle) {
                    format.numberingStart = before.numberingStart;
                    continue;
                }
            }
            format.numberingStart = number;
        }
        m_doc.Normalize();
    }

    struct PnState {
        uint16_t numbering = 0;
        uint16_t format = 0;
        uint16_t start = 0;
        bool hasStart = false;
        int font = -1;
        std::u32string before;
        std::u32string after;
    };

    struct PictState {
        RichPicture picture;
        int nibble = -1;  // the first hex digit of a byte
        size_t bytes = 0; // the picture's size, kept or not
        bool overLimit = false;
    };

    std::string_view m_in;
    bool m_fragment;
    ProgressMeter m_meter;
    bool m_utf8; // unescaped high bytes are UTF-8
    size_t m_pos = 0;
    std::vector<GroupState> m_stack;
    std::vector<Dest> m_excessDests;
    RichDocument m_doc;
    std::string m_problem;
    bool m_truncated = false;
    GroupState m_final; // the outermost group's state as it closed
    int m_skipCount = 0;
    bool m_starred = false;
    bool m_formatDirty = true;
    bool m_pendingCellTab = false;
    char32_t m_highSurrogate = 0;
    uint8_t m_leadByte = 0;
    int m_ansiCodePage = 1252;
    int m_defaultFont = 0;

    std::unordered_map<int, FontDef> m_fonts;
    FontDef m_font;
    int m_fontIndex = -1;
    std::vector<int64_t> m_colors{}; // -1 for the automatic entry
    uint32_t m_color = 0;
    bool m_colorSet = false;

    PnState m_pn;
    ListDef m_list;
    int m_listId = 0;
    ListLevel m_level;
    std::map<int, ListDef> m_lists;
    Override m_override;
    int m_overrideLs = 0;
    int m_overrideLevel = 0;
    std::map<int, Override> m_overrides;
    std::map<int, std::vector<int>> m_listCounters;
    // Per finished paragraph: its new-style list (\ls) and number, or -1 for none.
    std::vector<std::pair<int, int>> m_listNumbers;

    PictState m_pict;
    size_t m_pictureBytes = 0; // kept so far
    std::string m_shapeProperty;
    std::vector<int32_t> m_cellEdges; // the current table row's \cellx
    std::vector<std::string> m_warnings;
};

} // namespace

RtfReadResult ReadRtf(std::string_view rtf, RtfSource source, ProgressPort* progress) {
    return RtfReader(rtf, false, source, progress).Read();
}

RtfReadResult ReadRtfFragment(std::string_view rtf, RtfSource source) {
    return RtfReader(rtf, true, source).Read();
}

} // namespace trellic
