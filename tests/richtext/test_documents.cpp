#include "test_documents.h"

#include "engine/code_page.h"
#include "richtext/font_charsets.h"

#include <random>

namespace trellic::testing {

RichCharFormat Font(const std::string& face, int32_t height) {
    RichCharFormat format = PlainCharFormat();
    format.faceName = face;
    format.height = height;
    return format;
}

std::u32string U(std::string_view utf8) {
    return DecodeUtf8(utf8);
}

std::string Utf8(std::u32string_view text) {
    std::string out;
    for (char32_t c : text) {
        AppendUtf8(out, c);
    }
    return out;
}

RichDocument AsWritten(const RichDocument& document) {
    RichDocument written = document;
    for (RichParagraph& paragraph : written.paragraphs) {
        std::vector<RichRun> runs;
        for (const RichRun& run : paragraph.runs) {
            if (run.format.charSet > kDefaultCharSet) {
                runs.push_back(run);
                continue;
            }
            for (const CharSetPiece& piece : SplitByCharSet(run.text, run.format.charSet)) {
                RichRun part{run.text.substr(piece.begin, piece.end - piece.begin), run.format};
                part.format.charSet = piece.charSet;
                runs.push_back(std::move(part));
            }
        }
        paragraph.runs = std::move(runs);
    }
    written.Normalize();
    return written;
}

std::string ParagraphTexts(const RichDocument& document) {
    std::string out;
    for (size_t i = 0; i < document.paragraphs.size(); ++i) {
        if (i > 0) {
            out += '\n';
        }
        out += Utf8(document.paragraphs[i].Text());
    }
    return out;
}

namespace {

RichCharFormat RandomCharFormat(std::mt19937& random) {
    auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    static const char* const kFaces[] = {"Arial",     "Times New Roman", "Courier New",
                                         "Wingdings", "Ｍ Ｓ ゴシック",  "Caf\xC3\xA9 Sans"};
    RichCharFormat format;
    format.mask = kCfmAll;
    const int face = pick(6);
    format.faceName = kFaces[face];
    format.charSet = face == 3 ? kSymbolCharSet : static_cast<uint8_t>(pick(3) == 0 ? 238 : 0);
    format.pitchAndFamily = static_cast<uint8_t>(pick(6) * 16 + pick(3));
    format.height = (pick(60) + 8) * 10;
    if (pick(2)) {
        format.effects |= kCfeBold;
    }
    if (pick(2)) {
        format.effects |= kCfeItalic;
    }
    if (pick(3) == 0) {
        format.effects |= kCfeStrikeout;
    }
    if (pick(3) == 0) {
        format.effects |= kCfeUnderline;
        format.underlineType = static_cast<uint8_t>(pick(4) + 1);
    }
    const int script = pick(7);
    if (script == 0) {
        format.effects |= kCfeSubscript;
    } else if (script == 1) {
        format.effects |= kCfeSuperscript;
    } else if (script == 2) {
        format.effects |= kCfeSuperscript;
        format.offset = (pick(12) + 1) * 10;
    } else if (script == 3) {
        format.effects |= kCfeSubscript;
        format.offset = -(pick(12) + 1) * 10;
    }
    static const uint32_t kMoreEffects[] = {kCfeAllCaps, kCfeSmallCaps, kCfeHidden};
    for (uint32_t effect : kMoreEffects) {
        if (pick(5) == 0) {
            format.effects |= effect;
        }
    }
    if (pick(4) == 0) {
        format.backColor = static_cast<uint32_t>(random() & 0xFFFFFF);
    }
    if (pick(3) == 0) {
        format.effects |= kCfeAutoColor;
    } else {
        format.color = static_cast<uint32_t>(random() & 0xFFFFFF);
    }
    return format;
}

std::u32string RandomText(std::mt19937& random, bool symbol) {
    static const char32_t kPool[] = {U'a',   U'Z',    U' ', U'\\',  U'{',   U'}',   U'\t',
                                     U'-',   U'7',    0xE9, 0x20AC, 0x2019, 0x2014, 0x2022,
                                     0x4E2D, 0x1F600, 0xA0, 0x3B1,  0x2028};
    std::u32string text;
    const size_t length = random() % 12;
    for (size_t i = 0; i < length; ++i) {
        if (symbol) {
            text.push_back(static_cast<char32_t>(0x20 + random() % 0xE0));
        } else {
            text.push_back(kPool[random() % std::size(kPool)]);
        }
    }
    return text;
}

PictureRef RandomPicture(std::mt19937& random) {
    auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    static const char* const kTypes[] = {"pngblip", "jpegblip", "wmetafile8", "emfblip", ""};
    auto picture = std::make_shared<RichPicture>();
    picture->typeWord = kTypes[pick(5)];
    picture->otherWords = pick(2) ? "\\picbmp\\picbpp4\\bliptag-12" : "";
    for (int i = pick(40) + 1; i > 0; --i) {
        picture->data.push_back(static_cast<char>(random()));
    }
    picture->width = pick(3) * 100;
    picture->height = pick(3) * 90;
    picture->goalWidth = pick(2) * 1440;
    picture->goalHeight = pick(2) * 1200;
    picture->scaleX = pick(2) ? 100 : 64;
    picture->scaleY = pick(2) ? 100 : 50;
    return PictureRef(std::move(picture));
}

} // namespace

RichDocument RandomDocument(uint32_t seed) {
    std::mt19937 random(seed);
    auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    RichDocument document;
    document.paragraphs.clear();
    const int count = pick(8) + 1;
    for (int p = 0; p < count; ++p) {
        RichParagraph paragraph;
        RichParaFormat& format = paragraph.format;
        format = PlainParaFormat();
        format.alignment = static_cast<uint16_t>(pick(4) + 1);
        format.lineSpacingRule = static_cast<uint8_t>(pick(6));
        if (format.lineSpacingRule > kLineSpacingDouble) {
            format.lineSpacing = (pick(40) + 1) * 12;
        }
        format.startIndent = pick(3) * 360;
        format.offset = pick(3) == 0 ? 360 : 0;
        format.rightIndent = pick(2) * 144;
        format.spaceBefore = pick(2) * 120;
        format.spaceAfter = pick(2) * 200;
        format.tabCount = static_cast<uint8_t>(pick(3));
        for (int t = 0; t < format.tabCount; ++t) {
            format.tabs[static_cast<size_t>(t)] = MakeTab(
                (t + 1) * 720, static_cast<uint8_t>(pick(5)), static_cast<uint8_t>(pick(6)));
        }
        format.numbering = static_cast<uint16_t>(pick(3) == 0 ? 0 : pick(7));
        if (format.numbering == kPfnBullet && pick(2) == 0) {
            // A word processor's own bullet: a symbol font's byte or a text font's character.
            static const char32_t kSymbols[] = {0xA7, 0xD8, U'o', 0x2013, 0x25AA};
            format.bulletSymbol = kSymbols[pick(5)];
            format.bulletCharSet = format.bulletSymbol > 0xFF ? 0 : kSymbolCharSet;
            format.bulletFace =
                format.bulletCharSet == kSymbolCharSet ? "Wingdings" : "Courier New";
        }
        if (format.numbering >= kPfnArabic) {
            static const uint16_t kStyles[] = {kPfnsParen, kPfnsParens, kPfnsPeriod, kPfnsPlain};
            format.numberingStyle = kStyles[pick(4)];
            format.numberingStart = static_cast<uint16_t>(pick(4) + 1);
        }
        // Lists often run over several paragraphs.
        if (p > 0 && pick(2) == 0) {
            format = document.paragraphs.back().format;
        }
        const int runs = pick(4);
        for (int r = 0; r < runs; ++r) {
            RichRun run;
            run.format = RandomCharFormat(random);
            run.text = RandomText(random, run.format.charSet == kSymbolCharSet);
            if (pick(8) == 0) {
                run.format.picture = RandomPicture(random);
                run.text.assign(static_cast<size_t>(pick(2) + 1), kObjectCharacter);
            }
            paragraph.runs.push_back(std::move(run));
        }
        paragraph.markFormat = RandomCharFormat(random);
        document.paragraphs.push_back(std::move(paragraph));
    }
    document.Normalize();
    return document;
}

} // namespace trellic::testing
