#include "model/serialize.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace trellic {
namespace {

// Reads a hand-written fixture: hex byte pairs, "quoted" ASCII and # comments.
std::string ReadHexFixture(const std::string& name) {
    std::ifstream in(std::filesystem::path(TRELLIC_TEST_DATA) / "tlx" / "records" / name);
    EXPECT_TRUE(in) << name;
    std::string bytes;
    std::string line;
    while (std::getline(in, line)) {
        for (std::size_t i = 0; i < line.size();) {
            const char c = line[i];
            if (c == '#') {
                break;
            }
            if (std::isspace(static_cast<unsigned char>(c)) != 0) {
                ++i;
            } else if (c == '"') {
                const std::size_t end = line.find('"', i + 1);
                EXPECT_NE(end, std::string::npos) << name << ": " << line;
                bytes += line.substr(i + 1, end - i - 1);
                i = end + 1;
            } else {
                bytes += static_cast<char>(std::stoi(line.substr(i, 2), nullptr, 16));
                i += 2;
            }
        }
    }
    return bytes;
}

std::string Hex(const std::string& bytes) {
    std::ostringstream out;
    for (const unsigned char c : bytes) {
        static const char* const kDigits = "0123456789ABCDEF";
        out << kDigits[c >> 4] << kDigits[c & 15] << ' ';
    }
    return out.str();
}

// The file must read as the expected record, leaving nothing, and the record must write the
// file's bytes exactly.
template <typename Record>
void ExpectGolden(const std::string& file, const Record& expected,
                  void (*serialize)(Archive&, Record&)) {
    SCOPED_TRACE(file);
    const std::string bytes = ReadHexFixture(file);
    Archive in = Archive::ForLoading(bytes);
    Record loaded{};
    serialize(in, loaded);
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(in.Remaining(), 0U);
    EXPECT_TRUE(loaded == expected);

    Archive out = Archive::ForStoring();
    Record written = expected;
    serialize(out, written);
    EXPECT_EQ(Hex(std::string(out.Stored())), Hex(bytes));
}

CharFormat ArialFormat() {
    CharFormat f;
    f.bold = true;
    f.italic = true;
    f.charSet = 2;
    f.pitchAndFamily = 0x22;
    f.color = 0x00112233;
    f.height = 200;
    f.faceName = "Arial";
    return f;
}

ParaFormat JustifiedNumbers() {
    return ParaFormat{.numbering = 2, .alignment = 4, .lineSpacing = 1, .indent = 3};
}

NodeInfo FullInfo() {
    return NodeInfo{.description = "Desc",
                    .author = "Ann",
                    .releaseDate = "2024",
                    .version = 2.25F,
                    .renderCapabilities = 3};
}

// The info the node records carry.
NodeInfo RecordInfo() {
    return NodeInfo{.description = "de",
                    .author = "au",
                    .releaseDate = "rd",
                    .version = 1.5F,
                    .renderCapabilities = 1};
}

TextStyle FaceOnly(const char* face) {
    TextStyle style;
    style.charFormat.faceName = face;
    return style;
}

StyleNode FullStyle() {
    StyleNode s;
    s.info = FullInfo();
    s.headerStyle = FaceOnly("H");
    s.mlFieldStyle = FaceOnly("M");
    s.sectionStyle = FaceOnly("S");
    s.slFieldStyle = FaceOnly("L");
    s.mlFieldBullet = 5;
    s.slFieldBullet = 6;
    s.headerUnderline = true;
    s.sectionBullet = 7;
    return s;
}

TEST(GoldenRecord, Formats) {
    ExpectGolden("char_format.hex", ArialFormat(), SerializeCharFormat);

    CharFormat times;
    times.bold = true;
    times.strikeout = true;
    times.charSet = 1;
    times.pitchAndFamily = 0x12;
    times.color = 0xFF;
    times.height = 280;
    times.faceName = "Times";
    ExpectGolden("char_format_strikeout.hex", times, SerializeCharFormat);

    ExpectGolden("para_format.hex", JustifiedNumbers(), SerializeParaFormat);
}

TEST(GoldenRecord, NodeParts) {
    ExpectGolden("node_info.hex", FullInfo(), SerializeNodeInfo);
    ExpectGolden("node_help.hex", NodeHelp{.helpText = "Help", .helpURL = "http://h"},
                 SerializeNodeHelp);
    ExpectGolden("node_text.hex", NodeText{.spacing = 2, .text = "a\r\nb"}, SerializeNodeText);
}

TEST(GoldenRecord, StyleAndResume) {
    ExpectGolden("style.hex", FullStyle(), SerializeStyle);

    ResumeNode resume;
    resume.defaultCharFormat = ArialFormat();
    resume.renderer = kRendererTxt;
    resume.style = FullStyle();
    resume.description = "About";
    resume.name = "CV";
    ExpectGolden("resume.hex", resume, SerializeResume);
}

TEST(GoldenRecord, HeadersSectionsAndFields) {
    HeaderNode header;
    header.inheritStyle = true;
    header.info = RecordInfo();
    header.style = FaceOnly("hs");
    header.style.charFormat.bold = true;
    header.style.paraFormat.alignment = 3;
    header.help = {"hh", "hu"};
    header.header = "Head";
    ExpectGolden("header.hex", header, SerializeHeader);

    ResumeSectionNode section;
    section.inheritStyle = true;
    section.info = RecordInfo();
    section.style = FaceOnly("ss");
    section.style.paraFormat.numbering = 1;
    section.help = {"sh", "su"};
    section.data = {1, "body"};
    section.bullet = 9;
    section.title = "Title";
    ExpectGolden("resume_section.hex", section, SerializeResumeSection);

    SLFieldNode sl;
    sl.inheritStyle = true;
    sl.info = RecordInfo();
    sl.style = FaceOnly("fs");
    sl.help = {"fh", "fu"};
    sl.bullet = 3;
    sl.fieldData = "data";
    sl.fieldName = "Name";
    ExpectGolden("sl_field.hex", sl, SerializeSLField);

    MLFieldNode ml;
    ml.inheritStyle = true;
    ml.info = RecordInfo();
    ml.fieldData = {2, "lines"};
    ml.style = FaceOnly("ms");
    ml.help = {"mh", "mu"};
    ml.bullet = 4;
    ml.fieldName = "Notes";
    ExpectGolden("ml_field.hex", ml, SerializeMLField);
}

TEST(GoldenRecord, Outputs) {
    RTFOutputNode rtf;
    rtf.useFormatting = true;
    rtf.info = RecordInfo();
    rtf.style = FaceOnly("rs");
    rtf.help = {"rh", "ru"};
    rtf.output = {1, "{\\rtf1}"};
    rtf.name = "Logo";
    ExpectGolden("rtf_output.hex", rtf, SerializeRTFOutput);

    TXTOutputNode txt;
    txt.useFormatting = true;
    txt.info = RecordInfo();
    txt.help = {"th", "tu"};
    txt.output = {3, "text"};
    txt.paraFormat = {.numbering = 2, .alignment = 4, .lineSpacing = 1, .indent = 2};
    txt.name = "Foot";
    ExpectGolden("txt_output.hex", txt, SerializeTXTOutput);
}

} // namespace
} // namespace trellic
