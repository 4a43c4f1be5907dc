#pragma once

#include <cstdint>
#include <string>

namespace trellic {

// Texts are UTF-8 (the archive converts them to and from what files hold). Every record starts
// with every number 0, every bool false and every text empty.

// Kind codes name a node's kind in a stack entry; files store these values.
enum NodeKind : int32_t {
    kKindHeader = 4,
    kKindMLField = 7,
    kKindResume = 11,
    kKindResumeSection = 12,
    kKindRTFOutput = 14,
    kKindSLField = 15,
    kKindTXTOutput = 18,
};

// The name of a kind as lists show it ("Header", ...); empty for a code that is none of the
// seven.
const char* KindName(NodeKind kind);
bool IsKnownKind(NodeKind kind);

// The renderers; files store these values, and a damaged file may hold any other.
enum Renderer : int32_t { kRendererRtf = 0, kRendererTxt = 1 };

// Paragraph alignment codes of a node's paragraph format.
enum ParaAlignment : int16_t {
    kAlignNone = 0,
    kAlignLeft = 1,
    kAlignRight = 2,
    kAlignCentre = 3,
    kAlignJustify = 4,
};

// A character format; applied to the view always as a whole.
struct CharFormat {
    std::string faceName;       // the view holds at most 31 characters of it
    uint8_t charSet = 0;        // as in a Windows font; 1 is the default character set
    uint8_t pitchAndFamily = 0; // as in a Windows font
    int32_t height = 0;         // twips
    int32_t color = 0;          // 0x00BBGGRR
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;

    bool operator==(const CharFormat&) const = default;
};

struct ParaFormat {
    int16_t numbering = 0;   // 0 none, 1 bullet, 2 arabic, 3/4 lower/upper letters, 5/6 roman
    int16_t alignment = 0;   // a ParaAlignment code
    uint8_t lineSpacing = 0; // 0 single, 1 one and a half, 2 double
    int32_t indent = 0;      // indentation level

    bool operator==(const ParaFormat&) const = default;
};

// A character format and the paragraph format that always goes with it.
struct TextStyle {
    CharFormat charFormat;
    ParaFormat paraFormat;

    bool operator==(const TextStyle&) const = default;
};

// The render capabilities of a node that renders under both renderers.
inline constexpr int32_t kEveryRendering = 3;

struct NodeInfo {
    std::string description;
    std::string author;
    std::string releaseDate;
    float version = 0.0F;
    // 0 none, 1 RTF, 2 TXT, kEveryRendering: RTF and TXT rendering
    int32_t renderCapabilities = 0;

    bool operator==(const NodeInfo&) const = default;
};

struct NodeHelp {
    std::string helpText;
    std::string helpURL;

    bool operator==(const NodeHelp&) const = default;
};

struct NodeText {
    int32_t spacing = 0; // extra line breaks before the text
    std::string text;    // lines separated by CR LF

    bool operator==(const NodeText&) const = default;
};

// The resume-wide styles that nodes inheriting their style use.
struct StyleNode {
    NodeInfo info;
    TextStyle headerStyle;
    bool headerUnderline = false;
    TextStyle sectionStyle;
    int32_t sectionBullet = 0;
    TextStyle slFieldStyle;
    TextStyle mlFieldStyle;
    int32_t slFieldBullet = 0;
    int32_t mlFieldBullet = 0;

    bool operator==(const StyleNode&) const = default;
};

struct ResumeNode {
    StyleNode style;
    std::string name;
    std::string description;
    CharFormat defaultCharFormat;
    Renderer renderer = kRendererRtf;

    bool operator==(const ResumeNode&) const = default;
};

struct HeaderNode {
    NodeInfo info;
    std::string header;
    bool inheritStyle = false;
    TextStyle style;
    bool underline = false;
    NodeHelp help;

    bool operator==(const HeaderNode&) const = default;
};

struct ResumeSectionNode {
    NodeInfo info;
    std::string title;
    bool inheritStyle = false;
    NodeText data;
    TextStyle style;
    int32_t bullet = 0;
    NodeHelp help;

    bool operator==(const ResumeSectionNode&) const = default;
};

struct SLFieldNode {
    NodeInfo info;
    std::string fieldName;
    std::string fieldData;
    bool inheritStyle = false;
    TextStyle style;
    int32_t bullet = 0;
    NodeHelp help;

    bool operator==(const SLFieldNode&) const = default;
};

struct MLFieldNode {
    NodeInfo info;
    std::string fieldName;
    bool inheritStyle = false;
    NodeText fieldData;
    TextStyle style;
    int32_t bullet = 0;
    NodeHelp help;

    bool operator==(const MLFieldNode&) const = default;
};

struct RTFOutputNode {
    NodeInfo info;
    bool useFormatting = false;
    TextStyle style;
    std::string name;
    NodeText output;
    NodeHelp help;

    bool operator==(const RTFOutputNode&) const = default;
};

struct TXTOutputNode {
    NodeInfo info;
    bool useFormatting = false;
    ParaFormat paraFormat; // a text output has no character format
    std::string name;
    NodeText output;
    NodeHelp help;

    bool operator==(const TXTOutputNode&) const = default;
};

} // namespace trellic
