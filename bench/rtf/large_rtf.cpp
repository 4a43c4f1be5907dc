#include "large_rtf.h"

#include "richtext/rtf_writer.h"

#include <random>

namespace trellic::bench {

namespace {

RichDocument WriterPart(std::mt19937& random) {
    static const char* const kFaces[] = {"Arial", "Times New Roman", "Courier New", "Wingdings"};
    static const char32_t kPool[] = {U'a', U'e',   U'r',   U's',   U't',   U' ', U' ',  U'\t',
                                     0xE9, 0x20AC, 0x2019, 0x2014, 0x4E2D, U'{', U'\\', U'1'};
    RichDocument document;
    document.paragraphs.clear();
    for (int p = 0; p < 400; ++p) {
        RichParagraph paragraph;
        paragraph.format = PlainParaFormat();
        paragraph.format.alignment = static_cast<uint16_t>(1 + random() % 4);
        paragraph.format.lineSpacingRule = static_cast<uint8_t>(random() % 3);
        paragraph.format.numbering = static_cast<uint16_t>(p % 5 < 3 ? (p / 5) % 7 : 0);
        paragraph.format.numberingStart = static_cast<uint16_t>(1 + (p / 5) % 3);
        paragraph.format.numberingStyle = kPfnsPeriod;
        for (int r = 0; r < 6; ++r) {
            RichRun run;
            const size_t face = random() % 4;
            run.format = PlainCharFormat();
            run.format.faceName = kFaces[face];
            run.format.charSet = face == 3 ? kSymbolCharSet : 0;
            run.format.height = static_cast<int32_t>(160 + 20 * (random() % 10));
            run.format.effects = static_cast<uint32_t>(random() & 0xF) |
                                 (random() % 4 == 0 ? kCfeSuperscript : 0) |
                                 (random() % 2 ? kCfeAutoColor : 0);
            run.format.underlineType = run.format.Has(kCfeUnderline) ? kCfuDotted : 0;
            run.format.color = static_cast<uint32_t>(random() % 8) * 0x203040;
            for (int c = 0; c < 40; ++c) {
                run.text.push_back(face == 3 ? char32_t(0x6C + random() % 0x90)
                                             : kPool[random() % std::size(kPool)]);
            }
            paragraph.runs.push_back(std::move(run));
        }
        paragraph.markFormat = paragraph.runs.back().format;
        document.paragraphs.push_back(std::move(paragraph));
    }
    return document;
}

// Constructs of other writers, appended inside the body of a written document.
const char kForeignPart[] =
    "\\pard\\plain\\f0\\fs22 {\\field{\\*\\fldinst HYPERLINK \"https://example.org\"}"
    "{\\fldrslt link text}} and {\\*\\bkmkstart b1}{\\*\\bkmkend b1}\\uc2 two\\u8364\\'80\\'80 "
    "fallback\\uc1 {\\*\\unknowndest ignored text}{\\v hidden}\\line next line\\par"
    "\\trowd\\cellx2000\\cellx4000\\pard\\intbl cell one\\cell cell two\\cell\\row"
    "\\trowd\\cellx2000\\cellx4000\\pard\\intbl outer\\cell\\pard\\intbl\\itap2 inner\\nestcell"
    "{\\*\\nesttableprops\\trowd\\cellx1000\\nestrow}{\\nonesttables\\par}\\cell\\row\\pard "
    "{\\pict\\pngblip\\picw10\\pich10 89504e470d0a1a0a0000000d4948445200000001000000010806}"
    "{\\pict\\wmetafile8\\bin16 0123456789abcdef}{\\object\\objemb{\\*\\objdata 01020304}"
    "{\\result object result}}\\par{\\pntext\\f0 1.\\tab}{\\*\\pn\\pnlvlbody\\pnstart4\\pndec"
    "{\\pntxta.}}old style item\\par\\pard\\ls1\\ilvl0 new style item\\par\\pard\\qc\\sl360"
    "\\slmult1\\emdash\\lquote quoted\\rquote\\~\\bullet\\endash\\par\r\n";

} // namespace

std::string MakeLargeRtf(size_t minimumBytes) {
    std::mt19937 random(2024);
    const std::string written = WriteRtf(WriterPart(random));
    // The writer's header and tables, then body blocks until the size is reached.
    const size_t bodyStart = written.find("\\viewkind4\\uc1");
    std::string header = written.substr(0, bodyStart);
    header += "{\\fonttbl{\\f90\\fcharset204 Arial Cyr;}}";
    const std::string body = written.substr(bodyStart, written.size() - bodyStart - 3);
    std::string out = header;
    out.reserve(minimumBytes + body.size() + 1024);
    while (out.size() < minimumBytes) {
        out += body;
        out += kForeignPart;
        out += "\\pard\\f90 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2\\f0\\par\r\n";
    }
    out += "}\r\n";
    return out;
}

} // namespace trellic::bench
