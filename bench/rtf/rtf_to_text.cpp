// Reads an RTF file and prints its text as UTF-8, one line per paragraph: the small driver the
// comparison script times against other RTF-to-text converters. C stdio rather than iostreams,
// because on small files the process start is most of the time measured.

#include "engine/code_page.h"
#include "richtext/rtf_reader.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: rtf_to_text FILE.rtf\n", stderr);
        return 2;
    }
    std::FILE* in = std::fopen(argv[1], "rb");
    if (in == nullptr) {
        std::fprintf(stderr, "rtf_to_text: cannot open %s\n", argv[1]);
        return 1;
    }
    std::string bytes;
    char block[1 << 16];
    size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, in)) > 0) {
        bytes.append(block, got);
    }
    std::fclose(in);

    const trellic::RtfReadResult result = trellic::ReadRtf(bytes);
    if (!result.isRtf) {
        std::fputs("rtf_to_text: not an RTF file\n", stderr);
        return 1;
    }
    std::string out;
    out.reserve(bytes.size() / 2);
    for (const trellic::RichParagraph& paragraph : result.document.paragraphs) {
        for (const trellic::RichRun& run : paragraph.runs) {
            for (char32_t c : run.text) {
                trellic::AppendUtf8(out, c);
            }
        }
        out += '\n';
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    if (!result.complete) {
        std::fprintf(stderr, "rtf_to_text: %s\n", result.problem.c_str());
    }
    return 0;
}
