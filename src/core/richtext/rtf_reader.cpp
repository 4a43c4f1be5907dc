#include "richtext/rtf_reader.h"

#include "engine/code_page.h"
#include "richtext/code_pages.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <iterator>
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

// Marks a list symbol that is a character already (see ListSymbolChar); beyond any code point.
constexpr char32_t kUnicodeListChar = 0x80000000;

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

// The control words the reader acts on. Every control word of a file is looked up once, so the
// lookup is a probe into a table built at compile time rather than a string hash per word.
enum class Keyword : uint8_t {
    Unknown,
    // Words that start a destination.
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
    ShapeText,   // a shape's text box and fallback
    SkippedDest, // holds no text of the document, starred or not
    // Words of the body text.
    AnsiCpg,
    Bin,
    Bold,
    Bullet,
    Caps,
    Cb,
    Cell,
    CellX,
    Cf,
    ChCbPat,
    Deff,
    Dn,
    EmDash,
    EmSpace,
    EnDash,
    EnSpace,
    Font,
    FontSize,
    Fi,
    Highlight,
    Ilvl,
    Italic,
    LDblQuote,
    Li,
    Line,
    LQuote,
    Ls,
    Mac,
    NestCell,
    NestRow,
    NoSuperSub,
    Page,
    Par,
    Pard,
    Pc,
    Pca,
    Plain,
    Qc,
    Qj,
    Ql,
    QmSpace,
    Qr,
    RDblQuote,
    Ri,
    Row,
    RQuote,
    Sa,
    Sb,
    SmallCaps,
    Sl,
    SlMult,
    Strike,
    Sub,
    Super,
    Tab,
    Tb,
    TlDot,
    TlEq,
    TlHyph,
    TlTh,
    TlUl,
    Tqc,
    TqDec,
    Tqr,
    TRowD,
    Tx,
    Unicode,
    Uc,
    Underline,
    UnderlineDotted,
    UnderlineDouble,
    UnderlineWord,
    UnderlineNone,
    Up,
    Hidden,
};

constexpr std::pair<std::string_view, Keyword> kKeywords[] = {
    {"fonttbl", Keyword::FontTable},
    {"colortbl", Keyword::ColorTable},
    {"listtable", Keyword::ListTable},
    {"listoverridetable", Keyword::ListOverrideTable},
    {"pn", Keyword::Pn},
    {"pntxta", Keyword::PnTextAfter},
    {"pntxtb", Keyword::PnTextBefore},
    {"list", Keyword::List},
    {"listlevel", Keyword::ListLevel},
    {"leveltext", Keyword::LevelText},
    {"listoverride", Keyword::ListOverride},
    {"object", Keyword::Object},
    {"result", Keyword::Result},
    {"fldrslt", Keyword::Result},
    {"nesttableprops", Keyword::NestTableProps},
    {"pict", Keyword::Pict},
    {"shppict", Keyword::PictureForNewReaders},
    {"shp", Keyword::Shape},
    {"shpinst", Keyword::Shape},
    {"sp", Keyword::ShapeProperty},
    {"sn", Keyword::ShapeName},
    {"sv", Keyword::ShapeValue},
    {"shptxt", Keyword::ShapeText},
    {"shprslt", Keyword::ShapeText},
    {"stylesheet", Keyword::SkippedDest},
    {"info", Keyword::SkippedDest},
    {"header", Keyword::SkippedDest},
    {"headerl", Keyword::SkippedDest},
    {"headerr", Keyword::SkippedDest},
    {"headerf", Keyword::SkippedDest},
    {"footer", Keyword::SkippedDest},
    {"footerl", Keyword::SkippedDest},
    {"footerr", Keyword::SkippedDest},
    {"footerf", Keyword::SkippedDest},
    {"footnote", Keyword::SkippedDest},
    {"annotation", Keyword::SkippedDest},
    {"objdata", Keyword::SkippedDest},
    {"objclass", Keyword::SkippedDest},
    {"objname", Keyword::SkippedDest},
    {"nonshppict", Keyword::SkippedDest},
    {"xe", Keyword::SkippedDest},
    {"tc", Keyword::SkippedDest},
    {"txe", Keyword::SkippedDest},
    {"pntext", Keyword::SkippedDest},
    {"listtext", Keyword::SkippedDest},
    {"template", Keyword::SkippedDest},
    {"filetbl", Keyword::SkippedDest},
    {"revtbl", Keyword::SkippedDest},
    {"rxe", Keyword::SkippedDest},
    {"author", Keyword::SkippedDest},
    {"operator", Keyword::SkippedDest},
    {"title", Keyword::SkippedDest},
    {"subject", Keyword::SkippedDest},
    {"doccomm", Keyword::SkippedDest},
    {"keywords", Keyword::SkippedDest},
    {"comment", Keyword::SkippedDest},
    {"company", Keyword::SkippedDest},
    {"fldinst", Keyword::SkippedDest},
    {"datafield", Keyword::SkippedDest},
    {"private", Keyword::SkippedDest},
    {"bkmkstart", Keyword::SkippedDest},
    {"bkmkend", Keyword::SkippedDest},
    {"atnid", Keyword::SkippedDest},
    {"atnauthor", Keyword::SkippedDest},
    {"themedata", Keyword::SkippedDest},
    {"colorschememapping", Keyword::SkippedDest},
    {"latentstyles", Keyword::SkippedDest},
    {"do", Keyword::SkippedDest},
    {"buptim", Keyword::SkippedDest},
    {"creatim", Keyword::SkippedDest},
    {"revtim", Keyword::SkippedDest},
    {"printim", Keyword::SkippedDest},
    {"userprops", Keyword::SkippedDest},
    {"xmlnstbl", Keyword::SkippedDest},
    {"generator", Keyword::SkippedDest},
    {"pgdsctbl", Keyword::SkippedDest},
    {"rsidtbl", Keyword::SkippedDest},
    {"pnseclvl", Keyword::SkippedDest},
    {"listpicture", Keyword::SkippedDest},
    {"fchars", Keyword::SkippedDest},
    {"lchars", Keyword::SkippedDest},
    {"ftnsep", Keyword::SkippedDest},
    {"ftnsepc", Keyword::SkippedDest},
    {"ftncn", Keyword::SkippedDest},
    {"aftnsep", Keyword::SkippedDest},
    {"aftnsepc", Keyword::SkippedDest},
    {"aftncn", Keyword::SkippedDest},
    {"mmathPr", Keyword::SkippedDest},
    {"listname", Keyword::SkippedDest},
    {"falt", Keyword::SkippedDest},
    {"panose", Keyword::SkippedDest},
    {"fname", Keyword::SkippedDest},
    {"background", Keyword::SkippedDest},
    {"expandedcolortbl", Keyword::SkippedDest},
    {"docvar", Keyword::SkippedDest},
    {"nonesttables", Keyword::SkippedDest},
    {"ansicpg", Keyword::AnsiCpg},
    {"bin", Keyword::Bin},
    {"b", Keyword::Bold},
    {"bullet", Keyword::Bullet},
    {"caps", Keyword::Caps},
    {"cb", Keyword::Cb},
    {"cell", Keyword::Cell},
    {"cellx", Keyword::CellX},
    {"cf", Keyword::Cf},
    {"chcbpat", Keyword::ChCbPat},
    {"deff", Keyword::Deff},
    {"dn", Keyword::Dn},
    {"emdash", Keyword::EmDash},
    {"emspace", Keyword::EmSpace},
    {"endash", Keyword::EnDash},
    {"enspace", Keyword::EnSpace},
    {"f", Keyword::Font},
    {"fs", Keyword::FontSize},
    {"fi", Keyword::Fi},
    {"highlight", Keyword::Highlight},
    {"ilvl", Keyword::Ilvl},
    {"i", Keyword::Italic},
    {"ldblquote", Keyword::LDblQuote},
    {"li", Keyword::Li},
    {"line", Keyword::Line},
    {"lbr", Keyword::Line},
    {"lquote", Keyword::LQuote},
    {"ls", Keyword::Ls},
    {"mac", Keyword::Mac},
    {"nestcell", Keyword::NestCell},
    {"nestrow", Keyword::NestRow},
    {"nosupersub", Keyword::NoSuperSub},
    {"page", Keyword::Page},
    {"par", Keyword::Par},
    {"pard", Keyword::Pard},
    {"pc", Keyword::Pc},
    {"pca", Keyword::Pca},
    {"plain", Keyword::Plain},
    {"qc", Keyword::Qc},
    {"qj", Keyword::Qj},
    {"qd", Keyword::Qj},
    {"ql", Keyword::Ql},
    {"qmspace", Keyword::QmSpace},
    {"qr", Keyword::Qr},
    {"rdblquote", Keyword::RDblQuote},
    {"ri", Keyword::Ri},
    {"row", Keyword::Row},
    {"rquote", Keyword::RQuote},
    {"sa", Keyword::Sa},
    {"sb", Keyword::Sb},
    {"scaps", Keyword::SmallCaps},
    {"sect", Keyword::Page},
    {"sl", Keyword::Sl},
    {"slmult", Keyword::SlMult},
    {"strike", Keyword::Strike},
    {"striked", Keyword::Strike},
    {"sub", Keyword::Sub},
    {"super", Keyword::Super},
    {"tab", Keyword::Tab},
    {"tb", Keyword::Tb},
    {"tldot", Keyword::TlDot},
    {"tlmdot", Keyword::TlDot},
    {"tleq", Keyword::TlEq},
    {"tlhyph", Keyword::TlHyph},
    {"tlth", Keyword::TlTh},
    {"tlul", Keyword::TlUl},
    {"tqc", Keyword::Tqc},
    {"tqdec", Keyword::TqDec},
    {"tqr", Keyword::Tqr},
    {"trowd", Keyword::TRowD},
    {"tx", Keyword::Tx},
    {"u", Keyword::Unicode},
    {"uc", Keyword::Uc},
    // Underline styles without a counterpart keep a solid underline.
    {"ul", Keyword::Underline},
    {"uldash", Keyword::Underline},
    {"uldashd", Keyword::Underline},
    {"uldashdd", Keyword::Underline},
    {"ulth", Keyword::Underline},
    {"ulwave", Keyword::Underline},
    {"ulhwave", Keyword::Underline},
    {"ulldash", Keyword::Underline},
    {"ululdbwave", Keyword::Underline},
    {"ulthdash", Keyword::Underline},
    {"ulthldash", Keyword::Underline},
    {"ulthdashd", Keyword::Underline},
    {"ulthdashdd", Keyword::Underline},
    {"uld", Keyword::UnderlineDotted},
    {"ulthd", Keyword::UnderlineDotted},
    {"uldb", Keyword::UnderlineDouble},
    {"ulw", Keyword::UnderlineWord},
    {"ulnone", Keyword::UnderlineNone},
    {"up", Keyword::Up},
    {"v", Keyword::Hidden},
};

// An open-addressing table at most half full, so that a probe rarely goes past its first slot.
constexpr size_t kKeywordSlotBits = 9;
constexpr size_t kKeywordSlotMask = (size_t{1} << kKeywordSlotBits) - 1;
static_assert(std::size(kKeywords) * 2 <= kKeywordSlotMask + 1);

// The reader hashes a word while it scans it, one letter at a time.
constexpr uint32_t KeywordHashStep(uint32_t hash, char letter) {
    return hash * 33 + static_cast<uint8_t>(letter);
}

constexpr size_t KeywordSlotOfHash(uint32_t hash) {
    return static_cast<size_t>((hash * 2654435769U) >> (32 - kKeywordSlotBits));
}

constexpr size_t KeywordSlotOf(std::string_view word) {
    uint32_t hash = 0;
    for (const char c : word) {
        hash = KeywordHashStep(hash, c);
    }
    return KeywordSlotOfHash(hash);
}

struct KeywordSlot {
    std::string_view name; // empty: a free slot
    Keyword keyword = Keyword::Unknown;
};

constexpr std::array<KeywordSlot, kKeywordSlotMask + 1> MakeKeywordSlots() {
    std::array<KeywordSlot, kKeywordSlotMask + 1> slots{};
    for (const auto& [name, keyword] : kKeywords) {
        size_t slot = KeywordSlotOf(name);
        while (!slots[slot].name.empty()) {
            slot = (slot + 1) & kKeywordSlotMask;
        }
        slots[slot] = {name, keyword};
    }
    return slots;
}

constexpr std::array<KeywordSlot, kKeywordSlotMask + 1> kKeywordSlots = MakeKeywordSlots();

// `hash` is the word's KeywordHashStep hash.
Keyword KeywordOf(std::string_view word, uint32_t hash) {
    for (size_t slot = KeywordSlotOfHash(hash);; slot = (slot + 1) & kKeywordSlotMask) {
        const KeywordSlot& entry = kKeywordSlots[slot];
        if (entry.name.empty()) {
            return Keyword::Unknown;
        }
        // Words are a few letters long: a loop beats a call to memcmp.
        if (entry.name.size() == word.size()) {
            size_t i = 0;
            while (i < word.size() && word[i] == entry.name[i]) {
                ++i;
            }
            if (i == word.size()) {
                return entry.keyword;
            }
        }
    }
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
                    PictureHex(std::string_view(m_in.data() + m_pos - 1, end - m_pos + 1));
                    m_pos = end;
                } else if (IsPlainText(c) && CanTakePlainText()) {
                    // Most of a file is plain ASCII text: take it a stretch at a time.
                    size_t end = m_pos;
                    while (end < m_in.size() && IsPlainText(m_in[end])) {
                        ++end;
                    }
                    AppendAscii(std::string_view(m_in.data() + m_pos - 1, end - m_pos + 1));
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
    static bool IsLetter(char c) { return static_cast<unsigned>((c | 0x20) - 'a') < 26; }
    static bool IsDigit(char c) { return static_cast<unsigned>(c - '0') < 10; }
    static int HexValue(char c) {
        static constexpr std::array<int8_t, 256> kValues = [] {
            std::array<int8_t, 256> values{};
            for (int i = 0; i < 256; ++i) {
                values[static_cast<size_t>(i)] =
                    static_cast<int8_t>(i >= '0' && i <= '9'   ? i - '0'
                                        : i >= 'a' && i <= 'f' ? i - 'a' + 10
                                        : i >= 'A' && i <= 'F' ? i - 'A' + 10
                                                               : -1);
            }
            return values;
        }();
        return kValues[static_cast<uint8_t>(c)];
    }

    bool CanTakePlainText() const {
        return !m_stack.empty() && m_stack.back().dest == Dest::Normal && m_leadByte == 0 &&
               !m_pendingCellTab;
    }

    void AppendAscii(std::string_view text) {
        std::u32string& target = RunText();
        const size_t at = target.size();
        target.resize(at + text.size());
        for (size_t i = 0; i < text.size(); ++i) {
            target[at + i] = static_cast<uint8_t>(text[i]);
        }
    }

    // Where text in the current format goes: the text of the last run, which a new run starts
    // when the format has changed. The last paragraph's runs collect in m_runs and the last
    // run's text in m_text until they end, so that each is allocated once, at its size.
    // A new paragraph sets m_formatDirty too, so that a clean format means a run to add to.
    std::u32string& RunText() {
        if (m_formatDirty) {
            StartRun();
        }
        return m_text;
    }

    void StartRun() {
        StoreRunText();
        // The format is made in its place; a run that would only continue the one before it
        // is taken back.
        m_runs.emplace_back();
        SetCurrentFormat(m_runs.back().format);
        if (m_runs.size() > 1 && m_runs[m_runs.size() - 2].format == m_runs.back().format) {
            m_runs.pop_back();
        }
        m_formatDirty = false;
    }

    void StoreRunText() {
        if (!m_text.empty()) {
            m_runs.back().text.append(m_text);
            m_text.clear();
        }
    }

    // Hands the runs collected so far to the last paragraph, which has none yet.
    void StoreRuns() {
        StoreRunText();
        std::vector<RichRun>& runs = m_doc.paragraphs.back().runs;
        runs.reserve(m_runs.size());
        std::move(m_runs.begin(), m_runs.end(), std::back_inserter(runs));
        m_runs.clear();
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
        uint32_t hash = 0;
        while (m_pos < m_in.size() && IsLetter(m_in[m_pos])) {
            hash = KeywordHashStep(hash, m_in[m_pos]);
            ++m_pos;
        }
        // Longer words are no word the reader knows, cut or not.
        constexpr size_t kMaxWordLength = 32;
        const size_t length = m_pos - start;
        const std::string_view word(m_in.data() + start, std::min(length, kMaxWordLength));
        const Keyword keyword = length <= kMaxWordLength ? KeywordOf(word, hash) : Keyword::Unknown;
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
        if (keyword == Keyword::Bin) {
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
        Word(keyword, word, hasParam, static_cast<int>(param));
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
            Word(Keyword::Par, "par", false, 0);
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

    // An unknown destination is skipped when it is starred and read as formatting otherwise.
    bool SkipIfStarred(bool starred, Dest dest) {
        if (!starred) {
            return false;
        }
        return SetDest(dest == Dest::ObjectSkip ? Dest::ObjectSkip : Dest::Skip);
    }

    // Handles words that start a destination; false when the word is something else.
    bool Destination(Keyword keyword) {
        const Dest dest = Top().dest;
        const bool starred = m_starred;
        m_starred = false;
        if (dest == Dest::Skip) {
            return true;
        }
        switch (keyword) {
        case Keyword::FontTable:
            return SetDest(Dest::FontTable);
        case Keyword::ColorTable:
            return SetDest(Dest::ColorTable);
        case Keyword::ListTable:
            return SetDest(Dest::ListTable);
        case Keyword::ListOverrideTable:
            return SetDest(Dest::ListOverrideTable);
        case Keyword::Pn:
            m_pn = {};
            return SetDest(Dest::Pn);
        case Keyword::PnTextAfter:
            return SetDest(Dest::PnTextAfter);
        case Keyword::PnTextBefore:
            return SetDest(Dest::PnTextBefore);
        case Keyword::List:
            if (dest != Dest::ListTable) {
                return SkipIfStarred(starred, dest);
            }
            m_list = {};
            m_listId = 0;
            return SetDest(Dest::List);
        case Keyword::ListLevel:
            if (dest != Dest::List) {
                return SkipIfStarred(starred, dest);
            }
            m_level = {};
            return SetDest(Dest::ListLevel);
        case Keyword::LevelText:
            if (dest != Dest::ListLevel) {
                return SkipIfStarred(starred, dest);
            }
            m_level.text.clear();
            return SetDest(Dest::LevelText);
        case Keyword::ListOverride:
            if (dest != Dest::ListOverrideTable) {
                return SkipIfStarred(starred, dest);
            }
            m_override = {};
            m_overrideLs = 0;
            return SetDest(Dest::ListOverride);
        case Keyword::Object:
            return SetDest(Dest::ObjectSkip);
        case Keyword::Result:
            return SetDest(dest == Dest::ObjectSkip || dest == Dest::Normal ? Dest::Normal
                                                                            : Dest::Skip);
        case Keyword::NestTableProps:
            // Nested-table row properties hold only formatting in Word's files, but some
            // writers put the nested cells' text there; reading them as text keeps it, and
            // their \nestrow ends the row either way.
            return SetDest(dest);
        case Keyword::Pict:
            if (dest != Dest::Normal && dest != Dest::ShapePicture) {
                return SetDest(dest == Dest::ObjectSkip ? Dest::ObjectSkip : Dest::Skip);
            }
            m_pict = {};
            return SetDest(Dest::Pict);
        case Keyword::PictureForNewReaders:
            // The picture itself; the \nonshppict beside it repeats it for older readers.
            return SetDest(dest == Dest::Normal ? Dest::Normal : Dest::Skip);
        case Keyword::Shape:
            // A floating picture keeps its picture, which comes into the text where the
            // shape is anchored; nothing else of a drawing object is text.
            return SetDest(dest == Dest::Normal || dest == Dest::Shape ? Dest::Shape : Dest::Skip);
        case Keyword::ShapeProperty:
            return SetDest(dest == Dest::Shape ? Dest::Shape : Dest::Skip);
        case Keyword::ShapeName:
            m_shapeProperty.clear();
            return SetDest(dest == Dest::Shape ? Dest::ShapeName : Dest::Skip);
        case Keyword::ShapeValue:
            return SetDest(dest == Dest::Shape && m_shapeProperty == "pib" ? Dest::ShapePicture
                                                                           : Dest::Skip);
        case Keyword::ShapeText: // a text box's text, or the shape drawn for older readers
        case Keyword::SkippedDest:
            return SetDest(dest == Dest::ObjectSkip ? Dest::ObjectSkip : Dest::Skip);
        default:
            return SkipIfStarred(starred, dest);
        }
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
        StoreRunText();
        if (m_runs.empty() || !(m_runs.back().format == format)) {
            m_runs.push_back({{}, std::move(format)});
        }
        m_text.push_back(kObjectCharacter);
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
            m_fontCache.valid = false;
        }
        // A font table late in the text may redefine the font in use.
        m_formatDirty = true;
        m_font = {};
        m_fontIndex = -1;
    }

    // --- Control words ------------------------------------------------------------------

    void Word(Keyword keyword, std::string_view word, bool hasParam, int param) {
        if (Destination(keyword)) {
            return;
        }
        m_starred = false;
        GroupState& state = Top();
        switch (state.dest) {
        case Dest::Normal:
            NormalWord(keyword, hasParam, param);
            break;
        case Dest::FontTable:
        case Dest::FontEntry:
            FontWord(keyword, word, hasParam, param);
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

    void FontWord(Keyword keyword, std::string_view word, bool hasParam, int param) {
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
            NormalWord(keyword, hasParam, param);
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

    void NormalWord(Keyword keyword, bool hasParam, int param) {
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
        auto tabStop = [&](uint8_t alignment) {
            AddTab(para.format, MakeTab(param, alignment, para.tabLeader));
            para.tabAlignment = kTabLeft;
            para.tabLeader = kLeaderNone;
        };
        switch (keyword) {
        case Keyword::AnsiCpg:
            if (hasParam && param > 0) {
                m_ansiCodePage = param;
            }
            break;
        case Keyword::Bold:
            effect(kCfeBold);
            break;
        case Keyword::Bullet:
            Char(0x2022);
            break;
        case Keyword::Cf:
            chars.color = param;
            m_formatDirty = true;
            break;
        case Keyword::Cell:
            EndCell();
            break;
        case Keyword::CellX:
            if (m_cellEdges.size() < kMaxTabStops) {
                m_cellEdges.push_back(param);
            }
            break;
        case Keyword::Caps:
            effect(kCfeAllCaps);
            break;
        case Keyword::Cb:
            colorIndex(chars.background);
            break;
        case Keyword::ChCbPat:
            colorIndex(chars.shading);
            break;
        case Keyword::Deff:
            m_defaultFont = param;
            m_formatDirty = true;
            break;
        case Keyword::Dn: {
            // Half points, six when not given; no distance is no lowering.
            const int halfPoints = std::clamp(hasParam ? param : 6, 0, 0x7FFF);
            if (halfPoints > 0) {
                script(kCfeSubscript, -halfPoints * 10);
            } else if (chars.offset < 0) {
                script(0, 0);
            }
            break;
        }
        case Keyword::EmDash:
            Char(0x2014);
            break;
        case Keyword::EnDash:
            Char(0x2013);
            break;
        case Keyword::EmSpace:
            Char(0x2003);
            break;
        case Keyword::EnSpace:
            Char(0x2002);
            break;
        case Keyword::Font:
            chars.font = param;
            m_formatDirty = true;
            break;
        case Keyword::FontSize:
            chars.halfPoints = std::clamp(hasParam ? param : 24, 0, 0x7FFF / 10 * 2);
            m_formatDirty = true;
            break;
        case Keyword::Fi:
            para.firstIndent = param;
            break;
        case Keyword::Highlight:
            colorIndex(chars.highlight);
            break;
        case Keyword::Italic:
            effect(kCfeItalic);
            break;
        case Keyword::Ilvl:
            para.ilvl = std::clamp(param, 0, int(kMaxListLevels) - 1);
            break;
        case Keyword::Line:
            Char(U'\u2028'); // a break inside the paragraph
            break;
        case Keyword::Li:
            para.leftIndent = param;
            break;
        case Keyword::Ls:
            para.ls = param;
            break;
        case Keyword::LQuote:
            Char(0x2018);
            break;
        case Keyword::LDblQuote:
            Char(0x201C);
            break;
        case Keyword::Mac:
            m_ansiCodePage = 10000;
            break;
        case Keyword::NoSuperSub:
            script(0, 0);
            break;
        case Keyword::NestRow:
        case Keyword::Row:
            EndRow();
            break;
        case Keyword::NestCell:
            EndCell();
            break;
        case Keyword::Par:
            BreakParagraph();
            break;
        case Keyword::Pard:
            para = ParaState{};
            break;
        case Keyword::Plain:
            chars = CharState{};
            m_formatDirty = true;
            break;
        case Keyword::Page:
            if (!m_runs.empty()) {
                BreakParagraph();
            }
            break;
        case Keyword::Pc:
            m_ansiCodePage = 437;
            break;
        case Keyword::Pca:
            m_ansiCodePage = 850;
            break;
        case Keyword::Ql:
            para.format.alignment = kPfaLeft;
            break;
        case Keyword::Qr:
            para.format.alignment = kPfaRight;
            break;
        case Keyword::Qc:
            para.format.alignment = kPfaCenter;
            break;
        case Keyword::Qj:
            para.format.alignment = kPfaJustify;
            break;
        case Keyword::QmSpace:
            Char(0x2005);
            break;
        case Keyword::Ri:
            para.format.rightIndent = param;
            break;
        case Keyword::RQuote:
            Char(0x2019);
            break;
        case Keyword::RDblQuote:
            Char(0x201D);
            break;
        case Keyword::Sb:
            para.format.spaceBefore = param;
            break;
        case Keyword::Sa:
            para.format.spaceAfter = param;
            break;
        case Keyword::Sl:
            para.lineRule = param;
            break;
        case Keyword::SlMult:
            para.lineMultiple = param != 0;
            break;
        case Keyword::Strike:
            effect(kCfeStrikeout);
            break;
        case Keyword::Sub:
            script(kCfeSubscript, 0);
            break;
        case Keyword::Super:
            script(kCfeSuperscript, 0);
            break;
        case Keyword::SmallCaps:
            effect(kCfeSmallCaps);
            break;
        case Keyword::Tab:
            Char(U'\t');
            break;
        case Keyword::Tx:
            tabStop(para.tabAlignment);
            break;
        case Keyword::Tb:
            tabStop(kTabBar);
            break;
        case Keyword::TRowD:
            m_cellEdges.clear();
            break;
        // The alignment and leader words come before a tab stop's position.
        case Keyword::Tqr:
            para.tabAlignment = kTabRight;
            break;
        case Keyword::Tqc:
            para.tabAlignment = kTabCenter;
            break;
        case Keyword::TqDec:
            para.tabAlignment = kTabDecimal;
            break;
        case Keyword::TlDot:
            para.tabLeader = kLeaderDots;
            break;
        case Keyword::TlHyph:
            para.tabLeader = kLeaderHyphens;
            break;
        case Keyword::TlUl:
            para.tabLeader = kLeaderUnderline;
            break;
        case Keyword::TlTh:
            para.tabLeader = kLeaderThick;
            break;
        case Keyword::TlEq:
            para.tabLeader = kLeaderEquals;
            break;
        case Keyword::Unicode:
            UnicodeWord(param);
            break;
        case Keyword::Uc:
            state.uc = std::clamp(param, 0, 16);
            break;
        case Keyword::Up: {
            const int halfPoints = std::clamp(hasParam ? param : 6, 0, 0x7FFF);
            if (halfPoints > 0) {
                script(kCfeSuperscript, halfPoints * 10);
            } else if (chars.offset > 0) {
                script(0, 0);
            }
            break;
        }
        case Keyword::Underline:
            underline(kCfuSolid);
            break;
        case Keyword::UnderlineDotted:
            underline(kCfuDotted);
            break;
        case Keyword::UnderlineDouble:
            underline(kCfuDouble);
            break;
        case Keyword::UnderlineWord:
            underline(kCfuWord);
            break;
        case Keyword::UnderlineNone:
            chars.effects &= ~kCfeUnderline;
            chars.underlineType = 0;
            m_formatDirty = true;
            break;
        case Keyword::Hidden:
            effect(kCfeHidden);
            break;
        default:
            break;
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
        m_charIsUnicode = true;
        Char(c);
        m_charIsUnicode = false;
    }

    // A list's symbol below U+0100 that came as a \\u is a character already, not a byte of the
    // bullet font's code page still to be decoded: the mark tells SetBullet so.
    char32_t ListSymbolChar(char32_t c) const {
        return m_charIsUnicode && c >= 0x80 && c < 0x100 ? c | kUnicodeListChar : c;
    }

    // Text asks for its font at every byte and \u: the answer is kept until the font, the
    // default font or the font table changes.
    const FontDef* CurrentFont() const {
        int index = m_stack.back().chars.font;
        if (index < 0) {
            index = m_defaultFont;
        }
        if (m_fontCache.valid && m_fontCache.index == index &&
            m_fontCache.defaultFont == m_defaultFont) {
            return m_fontCache.font;
        }
        auto it = m_fonts.find(index);
        if (it == m_fonts.end()) {
            it = m_fonts.find(m_defaultFont);
        }
        const FontDef* font = it == m_fonts.end() ? nullptr : &it->second;
        m_fontCache = {true, index, m_defaultFont, font};
        return font;
    }

    // The code page tables of other code pages are shared and locked; the one in use is kept.
    const ByteTable& ByteTableOf(int codePage) {
        if (m_byteTable == nullptr || m_byteTableCodePage != codePage) {
            m_byteTable = &SingleByteTable(codePage);
            m_byteTableCodePage = codePage;
        }
        return *m_byteTable;
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
            Char(ByteTableOf(codePage)[byte]);
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
                m_level.text.push_back(ListSymbolChar(c));
            }
            return;
        case Dest::PnTextAfter:
            if (m_pn.after.size() < 16) {
                m_pn.after.push_back(c);
            }
            return;
        case Dest::PnTextBefore:
            if (m_pn.before.size() < 16) {
                m_pn.before.push_back(ListSymbolChar(c));
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
        RunText().push_back(c);
    }

    RichCharFormat CurrentFormat() const {
        RichCharFormat format;
        SetCurrentFormat(format);
        return format;
    }

    // `format` is a fresh, default one.
    void SetCurrentFormat(RichCharFormat& format) const {
        const CharState& chars = m_stack.back().chars;
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
        const bool unicode = (symbol & kUnicodeListChar) != 0;
        symbol &= ~kUnicodeListChar;
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
        } else if (symbol < 0x100 && !unicode) {
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
        StoreRuns();
        m_doc.paragraphs.emplace_back();
        m_formatDirty = true;
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
        StoreRuns();
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
    bool m_utf8;                  // unescaped high bytes are UTF-8
    bool m_charIsUnicode = false; // the character being added came as a \\u
    size_t m_pos = 0;
    std::vector<GroupState> m_stack;
    std::vector<Dest> m_excessDests;
    RichDocument m_doc;
    std::vector<RichRun> m_runs; // the last paragraph's runs, not yet stored in it (RunText)
    std::u32string m_text;       // the last run's text, not yet stored in the run
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
    struct FontCache {
        bool valid = false;
        int index = 0;       // the font asked for
        int defaultFont = 0; // the default font then
        const FontDef* font = nullptr;
    };
    mutable FontCache m_fontCache;
    const ByteTable* m_byteTable = nullptr;
    int m_byteTableCodePage = 0;
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
