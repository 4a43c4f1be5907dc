#include "print/rich_text_bridge.h"
#include "test_documents.h"

#include <QAbstractTextDocumentLayout>
#include <QBuffer>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace trellic {
namespace {

RichCharFormat Char(const char* face, int height, uint32_t effects, uint32_t color = 0,
                    uint8_t charSet = 0) {
    RichCharFormat format;
    format.mask = kCfmAll;
    format.faceName = face;
    format.height = height;
    format.effects = effects;
    format.color = color;
    format.charSet = charSet;
    format.pitchAndFamily = 0x22;
    return format;
}

RichParagraph Para(RichParaFormat format, std::vector<RichRun> runs, RichCharFormat mark) {
    format.mask = kPfmAll;
    RichParagraph paragraph;
    paragraph.format = format;
    paragraph.runs = std::move(runs);
    paragraph.markFormat = std::move(mark);
    return paragraph;
}

RichParaFormat Numbered(uint16_t numbering, uint16_t start, uint16_t style = 0) {
    RichParaFormat format = PlainParaFormat();
    format.numbering = numbering;
    format.numberingStart = start;
    format.numberingStyle = style;
    return format;
}

// A document that uses every attribute the engine models, in values Qt cannot show exactly.
RichDocument VariedDocument() {
    RichCharFormat dotted = Char("Times New Roman", 241, kCfeUnderline | kCfeItalic, 0x00336699);
    dotted.underlineType = kCfuDotted;
    RichCharFormat word = Char("Courier New", 200, kCfeUnderline | kCfeBold);
    word.underlineType = kCfuWord;
    RichCharFormat doubled = Char("Arial", 180, kCfeUnderline | kCfeStrikeout);
    doubled.underlineType = kCfuDouble;
    RichCharFormat offWithType = Char("Arial", 200, kCfeAutoColor, 0x00123456);
    offWithType.underlineType = kCfuDotted; // a type kept while the underline is off
    const RichCharFormat sub = Char("Arial", 160, kCfeSubscript, 0x000000FF, 238);
    const RichCharFormat super = Char("Arial", 160, kCfeSuperscript | 0x10 /* protected */);
    const RichCharFormat wingdings = Char("Wingdings", 240, 0, 0x00FF0000, kSymbolCharSet);
    const RichCharFormat plain = Char("Arial", 240, kCfeAutoColor);
    const RichCharFormat bold = Char("Arial", 280, kCfeBold);

    RichParaFormat indented = PlainParaFormat();
    indented.startIndent = 720;
    indented.offset = -360;
    indented.rightIndent = 144;
    indented.spaceBefore = 120;
    indented.spaceAfter = 240;
    indented.alignment = kPfaJustify;
    indented.tabCount = 3;
    indented.tabs[0] = 1000;
    indented.tabs[1] = 2001;
    indented.tabs[2] = 4321;
    RichParaFormat atLeast = PlainParaFormat();
    atLeast.lineSpacingRule = kLineSpacingAtLeast;
    atLeast.lineSpacing = 333;
    atLeast.alignment = 7; // outside the table: passed on as it is
    RichParaFormat multiple = PlainParaFormat();
    multiple.lineSpacingRule = kLineSpacingMultiple;
    multiple.lineSpacing = 50;
    multiple.alignment = kPfaCenter;
    RichParaFormat exactly = PlainParaFormat();
    exactly.lineSpacingRule = kLineSpacingExactly;
    exactly.lineSpacing = 299;
    exactly.alignment = kPfaRight;

    RichDocument document;
    document.paragraphs = {
        Para(PlainParaFormat(), {{U"Name ", bold}, {U"\u00AF\u00AF\u00AF", plain}}, bold),
        Para(indented, {{U"dotted", dotted}, {U"\tword", word}, {U"double", doubled}}, plain),
        Para(Numbered(kPfnBullet, 0),
             {{{0x9F, 0xFC, 0xA7, 0xD8, 0x6C, 0x41, 0xF5, ' '}, wingdings}, {U"x", offWithType}},
             plain),
        Para(Numbered(kPfnArabic, 3, kPfnsPeriod), {{U"H", plain}, {U"2", sub}, {U"O", super}},
             plain),
        Para(Numbered(kPfnArabic, 3, kPfnsPeriod), {}, sub), // empty, mark kept
        Para(Numbered(kPfnLowerLetter, 1, kPfnsParens), {{U"\u4E2D\U0001F600", plain}}, plain),
        Para(Numbered(kPfnUpperLetter, 27), {{U"a", plain}}, plain),
        Para(Numbered(kPfnLowerRoman, 4, kPfnsPlain), {{U"b", plain}}, plain),
        Para(Numbered(kPfnUpperRoman, 9), {{U"c", plain}}, plain),
        Para(atLeast, {{U"at least", plain}}, plain),
        Para(multiple, {{U"multiple", plain}}, plain),
        Para(exactly, {{U"exactly", plain}}, offWithType),
        Para(PlainParaFormat(), {}, bold),
    };
    for (int rule = 0; rule <= 2; ++rule) {
        RichParaFormat spaced = PlainParaFormat();
        spaced.lineSpacingRule = static_cast<uint8_t>(rule);
        document.paragraphs.push_back(Para(spaced, {{U"spaced", plain}}, plain));
    }
    document.Normalize();
    return document;
}

TEST(RichTextBridge, VariedDocumentSurvivesTheRoundTrip) {
    const RichDocument original = VariedDocument();
    QTextDocument qt;
    DocumentToQt(original, qt);
    const RichDocument back = DocumentFromQt(qt);
    ASSERT_EQ(back.paragraphs.size(), original.paragraphs.size());
    for (size_t i = 0; i < original.paragraphs.size(); ++i) {
        EXPECT_EQ(back.paragraphs[i], original.paragraphs[i]) << "paragraph " << i;
    }
    // Positions count the same on both sides, one per paragraph break.
    EXPECT_EQ(static_cast<size_t>(qt.characterCount() - 1), original.Length() + 1)
        << "one extra UTF-16 unit for the character beyond the basic plane";
}

TEST(RichTextBridge, AHeaderRuleWiderThanThePageStaysOnOneLineAndKeepsItsText) {
    const RichCharFormat rule = Char("Liberation Sans", 320, kCfeBold);
    RichDocument original;
    original.paragraphs = {Para({}, {{std::u32string(60, U'\u00AF'), rule}}, rule),
                           Para({}, {{U"Words " + std::u32string(60, U'x'), rule}}, rule)};
    QTextDocument qt;
    qt.setTextWidth(200);
    DocumentToQt(original, qt);
    qt.documentLayout(); // lays the blocks out
    QTextBlock block = qt.begin();
    ASSERT_NE(block.layout(), nullptr);
    EXPECT_EQ(block.layout()->lineCount(), 1) << "the rule's last macrons wrapped";
    EXPECT_GT(block.next().layout()->lineCount(), 1) << "ordinary text still wraps";
    const RichDocument back = DocumentFromQt(qt);
    ASSERT_EQ(back.paragraphs.size(), 2U);
    EXPECT_EQ(back.paragraphs[0], original.paragraphs[0]);
}

TEST(RichTextBridge, RandomDocumentsSurviveTheRoundTrip) {
    for (uint32_t seed = 1; seed <= 150; ++seed) {
        const RichDocument original = testing::RandomDocument(seed);
        QTextDocument qt;
        DocumentToQt(original, qt);
        const RichDocument back = DocumentFromQt(qt);
        ASSERT_EQ(back.paragraphs.size(), original.paragraphs.size()) << "seed " << seed;
        for (size_t i = 0; i < original.paragraphs.size(); ++i) {
            ASSERT_EQ(back.paragraphs[i], original.paragraphs[i])
                << "seed " << seed << ", paragraph " << i;
        }
    }
}

TEST(RichTextBridge, ALongTextOfManyFormatsComingBackSurvivesTheRoundTrip) {
    // Far more formats than are kept converted at once, each met again after others have
    // pushed it out, and formats that differ only where the conversion looks last.
    RichDocument original;
    original.paragraphs.clear();
    for (int pass = 0; pass < 2; ++pass) {
        for (uint32_t seed = 1; seed <= 40; ++seed) {
            const RichDocument part = testing::RandomDocument(seed);
            original.paragraphs.insert(original.paragraphs.end(), part.paragraphs.begin(),
                                       part.paragraphs.end());
        }
    }
    RichCharFormat raised = Char("Arial", 240, kCfeSuperscript);
    raised.offset = 60;
    RichCharFormat higher = raised;
    higher.offset = 80;
    RichParaFormat stops = PlainParaFormat();
    stops.tabCount = 1;
    stops.tabs[0] = 1440;
    RichParaFormat otherStops = stops;
    otherStops.tabs[0] = 1441;
    for (int pass = 0; pass < 2; ++pass) {
        original.paragraphs.push_back(Para(stops, {{U"a", raised}, {U"b", higher}}, raised));
        original.paragraphs.push_back(Para(otherStops, {{U"c", higher}, {U"d", raised}}, higher));
    }
    original.Normalize();
    QTextDocument qt;
    DocumentToQt(original, qt);
    const RichDocument back = DocumentFromQt(qt);
    ASSERT_EQ(back.paragraphs.size(), original.paragraphs.size());
    for (size_t i = 0; i < original.paragraphs.size(); ++i) {
        ASSERT_EQ(back.paragraphs[i], original.paragraphs[i]) << "paragraph " << i;
    }
}

TEST(RichTextBridge, SymbolBytesShowAsLookAlikesAndMapBack) {
    RichDocument document;
    document.paragraphs[0].runs = {
        {{0x9F, 0xFC, 0xA7, 0xD8, 0x30}, Char("Wingdings", 240, 0, 0, kSymbolCharSet)},
        {U"\u2022\u00AF", Char("Arial", 240, 0)}};
    QTextDocument qt;
    DocumentToQt(document, qt);
    EXPECT_EQ(qt.toPlainText(), QString::fromUtf8("\u2022\u2714\u25AA\u27A2\uF030\u2022\u00AF"));
    // Only the symbol run maps back to bytes; a real bullet character stays one.
    const RichDocument back = DocumentFromQt(qt);
    EXPECT_EQ(back.paragraphs[0].runs[0].text, (std::u32string{0x9F, 0xFC, 0xA7, 0xD8, 0x30}));
    EXPECT_EQ(back.paragraphs[0].runs[1].text, U"\u2022\u00AF");
    for (unsigned byte = 0; byte < 0x100; ++byte) {
        EXPECT_EQ(SymbolByteOf(SymbolLookAlike(static_cast<unsigned char>(byte))), byte);
    }
}

TEST(RichTextBridge, SymbolFontBytesShowAsTheirOwnCharacters) {
    // Inline Symbol-font text (Greek, mathematical signs) is no bullet: the Wingdings
    // look-alikes would show it as nothing at all.
    const RichCharFormat symbol = Char("Symbol", 240, 0, 0, kSymbolCharSet);
    RichDocument document;
    document.paragraphs[0].runs = {
        {{0x61, 0x62, 0x57, 0xB3, 0xA3, 0xD2, 0xE2, 0xE3, 0xD4, 0xE4, 0x30, 0x80, 0xFE}, symbol}};
    QTextDocument qt;
    DocumentToQt(document, qt);
    EXPECT_EQ(qt.toPlainText(),
              QString::fromUtf8("\u03B1\u03B2\u03A9\u2265\u2264\u00AE\u00AE\u00A9\u2122\u2122"
                                "0\uF080\u23AD"));
    // Every byte comes back as itself, the sans-serif signs included.
    EXPECT_EQ(DocumentFromQt(qt).paragraphs[0].runs, document.paragraphs[0].runs);
    for (unsigned byte = 0; byte < 0x100; ++byte) {
        const bool sans = byte >= 0xE2 && byte <= 0xE4;
        EXPECT_EQ(SymbolFontByteOf(SymbolFontCharacter(static_cast<unsigned char>(byte)), sans),
                  byte);
    }
    // Other symbol-charset fonts keep their look-alikes.
    EXPECT_EQ(ToQtText({0xFC, 0x61}, Char("Wingdings", 240, 0, 0, kSymbolCharSet)),
              QString::fromUtf8("\u2714\uF061"));
    EXPECT_EQ(ToQtText({0x61}, Char("symbol", 240, 0, 0, kSymbolCharSet)),
              QString::fromUtf8("\u03B1"));
}

TEST(RichTextBridge, QtShowsWhatItCanOfTheFormats) {
    RichCharFormat format =
        Char("Georgia", 250, kCfeUnderline | kCfeBold | kCfeSuperscript, 0x00332211);
    format.underlineType = kCfuDotted;
    const QTextCharFormat qt = ToQtCharFormat(format);
    EXPECT_EQ(qt.fontFamilies().toStringList(), QStringList{"Georgia"});
    EXPECT_DOUBLE_EQ(qt.fontPointSize(), 12.5);
    EXPECT_EQ(qt.fontWeight(), QFont::Bold);
    EXPECT_EQ(qt.underlineStyle(), QTextCharFormat::DotLine);
    EXPECT_EQ(qt.verticalAlignment(), QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(qt.foreground().color(), QColor(0x11, 0x22, 0x33));

    format.Set(kCfeAutoColor, true);
    EXPECT_FALSE(ToQtCharFormat(format).hasProperty(QTextFormat::ForegroundBrush));

    RichParaFormat para = Numbered(kPfnArabic, 1);
    para.startIndent = 1440;
    para.lineSpacingRule = kLineSpacingOneAndHalf;
    para.alignment = kPfaCenter;
    const QTextBlockFormat block = ToQtBlockFormat(para);
    EXPECT_DOUBLE_EQ(block.leftMargin(), 96.0 + TwipsToPixels(kMarkerRoomTwips));
    EXPECT_EQ(block.lineHeightType(), QTextBlockFormat::ProportionalHeight);
    EXPECT_DOUBLE_EQ(block.lineHeight(), 150.0);
    EXPECT_EQ(block.alignment(), Qt::AlignHCenter);
}

TEST(RichTextBridge, MissingFacesOfOtherSystemsDrawInTheSameInstalledFonts) {
    // Whatever the desktop prefers, a template in these faces lays out alike everywhere.
    const std::pair<QString, QString> expected[] = {
        {"Georgia", "DejaVu Serif"}, {"Verdana", "DejaVu Sans"}, {"Arial", "Liberation Sans"}};
    for (const auto& [face, font] : expected) {
        if (QFontDatabase::hasFamily(face)) {
            continue;
        }
        const QFontInfo shown(ToQtCharFormat(Char(face.toStdString().c_str(), 240, 0, 0)).font());
        EXPECT_EQ(shown.family(), font) << face.toStdString();
    }
}

TEST(RichTextBridge, FormatsChangedOrMadeByQtAloneAreReadAsQtShowsThem) {
    QTextCharFormat changed = ToQtCharFormat(Char("Arial", 241, kCfeAutoColor));
    changed.setFontPointSize(14);
    changed.setFontFamilies(QStringList{"Verdana"});
    changed.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    const RichCharFormat read = FromQtCharFormat(changed);
    EXPECT_EQ(read.height, 280);
    EXPECT_EQ(read.faceName, "Verdana");
    EXPECT_TRUE(read.Has(kCfeUnderline));
    EXPECT_EQ(read.underlineType, kCfuSolid);

    QTextDocument foreign;
    foreign.setHtml("<p style='margin-left:48px' align='right'><b>bold</b>"
                    "<span style='color:#ff0000; font-size:16pt'>red</span></p>");
    const RichDocument document = DocumentFromQt(foreign);
    ASSERT_EQ(document.paragraphs.size(), 1u);
    const RichParagraph& paragraph = document.paragraphs[0];
    EXPECT_EQ(paragraph.format.startIndent, 720);
    EXPECT_EQ(paragraph.format.alignment, kPfaRight);
    ASSERT_EQ(paragraph.runs.size(), 2u);
    EXPECT_TRUE(paragraph.runs[0].format.Has(kCfeBold));
    EXPECT_TRUE(paragraph.runs[0].format.Has(kCfeAutoColor));
    EXPECT_EQ(paragraph.runs[1].format.color, 0x000000FFu);
    EXPECT_EQ(paragraph.runs[1].format.height, 320);
}

TEST(RichTextBridge, FragmentCutsTheFirstAndLastParagraph) {
    RichDocument document =
        MakeDocument(U"first\rsecond\rthird", Char("Arial", 200, 0), Numbered(kPfnArabic, 1));
    QTextDocument qt;
    DocumentToQt(document, qt);
    const RichDocument fragment = FragmentFromQt(qt, 2, 9); // "rst\rsec"
    ASSERT_EQ(fragment.paragraphs.size(), 2u);
    EXPECT_EQ(fragment.paragraphs[0].Text(), U"rst");
    EXPECT_EQ(fragment.paragraphs[1].Text(), U"sec");
    EXPECT_EQ(fragment.paragraphs[0].format.numbering, kPfnArabic);
    // Ending just behind a break leaves an empty unfinished tail.
    EXPECT_EQ(FragmentFromQt(qt, 0, 6).paragraphs.size(), 2u);
}

TEST(RichTextBridge, NumberingMarkerLabels) {
    struct Row {
        int numbering;
        int value;
        int style;
        const char* marker;
    };
    const Row rows[] = {
        {kPfnBullet, 7, kPfnsPeriod, "\u2022"},
        {kPfnArabic, 12, kPfnsPeriod, "12."},
        {kPfnLowerLetter, 1, kPfnsPeriod, "a."},
        {kPfnLowerLetter, 28, kPfnsPeriod, "ab."},
        {kPfnUpperLetter, 26, kPfnsPeriod, "Z."},
        {kPfnLowerRoman, 4, kPfnsPeriod, "iv."},
        {kPfnUpperRoman, 1994, kPfnsPeriod, "MCMXCIV."},
        {kPfnArabic, 3, kPfnsParen, "3)"},
        {kPfnArabic, 3, kPfnsParens, "(3)"},
        {kPfnArabic, 3, kPfnsPlain, "3"},
        {kPfnLowerRoman, 0, kPfnsPeriod, "0."},
        {kPfnNone, 1, kPfnsPeriod, ""},
        {9, 1, kPfnsPeriod, ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(NumberingMarker(row.numbering, row.value, row.style),
                  QString::fromUtf8(row.marker))
            << row.numbering << " " << row.value;
    }
    EXPECT_EQ(NumberingMarker(kPfnArabic, 1), "1.");
}

TEST(RichTextBridge, NumberingMarkersFollowTheListsOfTheWriter) {
    const RichCharFormat plain = Char("Arial", 200, 0);
    RichDocument document;
    document.paragraphs.clear();
    auto add = [&](RichParaFormat format) {
        document.paragraphs.push_back(Para(format, {{U"x", plain}}, plain));
    };
    add(Numbered(kPfnArabic, 1, kPfnsPeriod));
    add(Numbered(kPfnArabic, 1, kPfnsPeriod)); // continues
    add(PlainParaFormat());
    add(Numbered(kPfnArabic, 1, kPfnsPeriod)); // a new list starts again
    add(Numbered(kPfnArabic, 3, kPfnsPeriod)); // the next rendered node: its own start
    add(Numbered(kPfnArabic, 3, kPfnsPeriod));
    add(Numbered(kPfnLowerRoman, 3, kPfnsPeriod)); // another style is another list
    add(Numbered(kPfnUpperLetter, 26, kPfnsParen));
    add(Numbered(kPfnUpperLetter, 26, kPfnsParen));
    add(Numbered(kPfnBullet, 0));
    QTextDocument qt;
    DocumentToQt(document, qt);
    EXPECT_EQ(NumberingMarkers(qt), (QStringList{"1.", "2.", "", "1.", "3.", "4.", "iii.", "Z)",
                                                 "AA)", QString::fromUtf8("\u2022")}));
}

std::string ImageBytes(int width, int height, const char* format) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

RichCharFormat PictureFormat(std::string typeWord, std::string data, int32_t goalWidth = 0,
                             int32_t goalHeight = 0) {
    auto picture = std::make_shared<RichPicture>();
    picture->typeWord = std::move(typeWord);
    picture->data = std::move(data);
    picture->goalWidth = goalWidth;
    picture->goalHeight = goalHeight;
    RichCharFormat format = Char("Arial", 240, kCfeAutoColor);
    format.picture = PictureRef(std::move(picture));
    return format;
}

QImage ResourceImage(const QTextDocument& qt, const QTextCharFormat& format) {
    return qt.resource(QTextDocument::ImageResource, QUrl(format.toImageFormat().name()))
        .value<QImage>();
}

TEST(RichTextBridge, QtShowsTheWordProcessorsAttributes) {
    RichCharFormat format = Char("Georgia", 240, kCfeAllCaps | kCfeSuperscript);
    format.backColor = 0x00FFFF;
    format.offset = 60;
    QTextCharFormat qt = ToQtCharFormat(format);
    EXPECT_EQ(qt.fontCapitalization(), QFont::AllUppercase);
    EXPECT_EQ(qt.background().color(), QColor(Qt::yellow));
    EXPECT_EQ(FromQtCharFormat(qt), format);
    format.effects = kCfeSmallCaps | kCfeHidden;
    format.offset = 0;
    qt = ToQtCharFormat(format);
    EXPECT_EQ(qt.fontCapitalization(), QFont::SmallCaps);
    EXPECT_LT(qt.fontPointSize(), 1.0) << "hidden text takes no room";
    EXPECT_EQ(qt.foreground().color().alpha(), 0) << "and no ink";
    EXPECT_FALSE(qt.hasProperty(QTextFormat::BackgroundBrush));
    EXPECT_EQ(FromQtCharFormat(qt), format) << "what it has is kept";

    RichParaFormat para = PlainParaFormat();
    para.tabCount = 4;
    para.tabs[0] = MakeTab(1440, kTabLeft, kLeaderDots);
    para.tabs[1] = MakeTab(2880, kTabCenter);
    para.tabs[2] = MakeTab(4320, kTabDecimal);
    para.tabs[3] = MakeTab(7200, kTabRight, kLeaderHyphens);
    const QList<QTextOption::Tab> tabs = ToQtBlockFormat(para).tabPositions();
    ASSERT_EQ(tabs.size(), 4);
    EXPECT_EQ(tabs[0], QTextOption::Tab(96, QTextOption::LeftTab));
    EXPECT_EQ(tabs[1], QTextOption::Tab(192, QTextOption::CenterTab));
    EXPECT_EQ(tabs[2], QTextOption::Tab(288, QTextOption::DelimiterTab, QLatin1Char('.')));
    EXPECT_EQ(tabs[3], QTextOption::Tab(480, QTextOption::RightTab));
    EXPECT_EQ(FromQtBlockFormat(ToQtBlockFormat(para)), para);
}

TEST(RichTextBridge, PicturesShowTheirImageOrAPlaceholderAndComeBackAsTheyCame) {
    const RichCharFormat png = PictureFormat("pngblip", ImageBytes(30, 20, "PNG"), 900, 600);
    const RichCharFormat jpeg = PictureFormat("jpegblip", ImageBytes(8, 8, "JPEG"));
    const RichCharFormat wmf = PictureFormat("wmetafile8", "\x01\x02", 1440, 720);
    const RichCharFormat broken = PictureFormat("pngblip", "\x89PNG\r\n\x1A\n not a png");
    const std::u32string object(1, kObjectCharacter);
    RichDocument document;
    document.paragraphs = {Para(PlainParaFormat(),
                                {{U"a", Char("Arial", 240, 0)},
                                 {object, png},
                                 {object, jpeg},
                                 {object, wmf},
                                 {object, broken}},
                                Char("Arial", 240, 0))};
    QTextDocument qt;
    DocumentToQt(document, qt);
    EXPECT_EQ(qt.characterCount(), 6) << "one position per picture";
    std::vector<QTextCharFormat> images;
    for (auto it = qt.begin().begin(); !it.atEnd(); ++it) {
        if (it.fragment().charFormat().isImageFormat()) {
            images.push_back(it.fragment().charFormat());
        }
    }
    ASSERT_EQ(images.size(), 4u);
    EXPECT_DOUBLE_EQ(images[0].toImageFormat().width(), 60.0); // 900 twips
    EXPECT_DOUBLE_EQ(images[0].toImageFormat().height(), 40.0);
    EXPECT_EQ(ResourceImage(qt, images[0]).size(), QSize(30, 20));
    EXPECT_EQ(ResourceImage(qt, images[1]).size(), QSize(8, 8));
    EXPECT_DOUBLE_EQ(images[1].toImageFormat().width(), 8.0) << "natural size at 96 dpi";
    // Kinds Qt cannot draw, and data that does not decode, show a placeholder of their size.
    EXPECT_FALSE(ResourceImage(qt, images[2]).isNull());
    EXPECT_DOUBLE_EQ(images[2].toImageFormat().width(), 96.0);
    EXPECT_FALSE(ResourceImage(qt, images[3]).isNull());
    EXPECT_EQ(ShownPictureOf(qt, *png.picture), PictureShown::Image);
    EXPECT_EQ(ShownPictureOf(qt, *wmf.picture), PictureShown::OtherKind);
    EXPECT_EQ(ShownPictureOf(qt, *broken.picture), PictureShown::OtherKind) << "no header";
    EXPECT_EQ(DocumentFromQt(qt), document);
}

// The signature and header of a PNG of this size, without its image data.
std::string PngHeader(uint32_t width, uint32_t height) {
    std::string bytes("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16);
    for (uint32_t value : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            bytes.push_back(static_cast<char>((value >> shift) & 0xFF));
        }
    }
    return bytes + std::string("\x08\x02\0\0\0", 5);
}

TEST(RichTextBridge, PicturesAreDecodedAtPrintResolutionAndWithinABudget) {
    const std::u32string object(1, kObjectCharacter);
    // A photo of 600 x 300 pixels shown one inch wide needs 300 x 150 for print.
    const RichCharFormat photo = PictureFormat("pngblip", ImageBytes(600, 300, "PNG"), 1440, 720);
    RichDocument document;
    document.paragraphs = {Para(PlainParaFormat(), {{object, photo}}, Char("Arial", 240, 0))};
    QTextDocument qt;
    DocumentToQt(document, qt);
    const QImage image = qt.resource(QTextDocument::ImageResource,
                                     QUrl(ToQtCharFormat(photo).toImageFormat().name()))
                             .value<QImage>();
    EXPECT_EQ(image.size(), QSize(300, 150));

    // Headers that claim pictures of 25 million pixels spend the budget as they claim, whether
    // or not their data decodes; what comes after them shows as a placeholder.
    std::vector<RichRun> runs;
    for (int i = 0; i < 4; ++i) {
        runs.push_back({object, PictureFormat("pngblip", PngHeader(5000, 5000) + char('a' + i))});
    }
    runs.push_back({object, photo});
    document.paragraphs[0].runs = runs;
    DocumentToQt(document, qt);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ShownPictureOf(qt, *runs[size_t(i)].format.picture), PictureShown::Undecodable);
    }
    EXPECT_EQ(ShownPictureOf(qt, *photo.picture), PictureShown::OverBudget);
    EXPECT_EQ(DocumentFromQt(qt), document) << "kept as it came";
    // Another document starts afresh.
    document.paragraphs[0].runs = {{object, photo}};
    DocumentToQt(document, qt);
    EXPECT_EQ(ShownPictureOf(qt, *photo.picture), PictureShown::Image);
}

TEST(RichTextBridge, OnlyTheEnginesOwnPicturesComeBack) {
    RichDocument document;
    document.paragraphs[0].runs = {
        {std::u32string(1, kObjectCharacter), PictureFormat("pngblip", "x")}};
    QTextDocument qt;
    DocumentToQt(document, qt);
    QTextCursor cursor(&qt);
    cursor.movePosition(QTextCursor::End);
    cursor.insertText("typed"); // in the format beside the picture
    const RichDocument back = DocumentFromQt(qt);
    ASSERT_EQ(back.paragraphs[0].runs.size(), 2u);
    EXPECT_TRUE(back.paragraphs[0].runs[0].format.picture);
    EXPECT_EQ(back.paragraphs[0].runs[1].text, U"typed");
    EXPECT_FALSE(back.paragraphs[0].runs[1].format.picture);
    // An image of pasted HTML has nothing the engine could save.
    QTextDocument foreign;
    foreign.setHtml("<p>a<img src='x.png' width='10' height='10'>b</p>");
    EXPECT_EQ(DocumentFromQt(foreign).Text(), U"ab");
}

TEST(RichTextBridge, HiddenTextTakesNoRoomButKeepsItsPlace) {
    RichCharFormat hidden = Char("Arial", 240, kCfeHidden | kCfeAutoColor);
    RichDocument document;
    document.paragraphs[0].runs = {{U"ab", Char("Arial", 240, kCfeAutoColor)},
                                   {U"WWWWWWWWWWWWWWWWWWWW", hidden},
                                   {U"cd", Char("Arial", 240, kCfeAutoColor)}};
    QTextDocument qt;
    DocumentToQt(document, qt);
    qt.setTextWidth(1000);
    qt.size(); // lays the text out
    ASSERT_EQ(qt.begin().layout()->lineCount(), 1);
    const QTextLine line = qt.begin().layout()->lineAt(0);
    EXPECT_LT(line.cursorToX(22) - line.cursorToX(2), 3.0);
    EXPECT_EQ(qt.characterCount() - 1, 24);

    // A hidden picture (a photo left out of one version) is hidden too, and kept.
    RichCharFormat hiddenPhoto = PictureFormat("pngblip", ImageBytes(30, 20, "PNG"), 1440, 1440);
    hiddenPhoto.effects |= kCfeHidden;
    document.paragraphs[0].runs[1] = {std::u32string(1, kObjectCharacter), hiddenPhoto};
    DocumentToQt(document, qt);
    qt.size();
    const QTextLine pictureLine = qt.begin().layout()->lineAt(0);
    EXPECT_LT(pictureLine.cursorToX(3) - pictureLine.cursorToX(2), 1.0);
    EXPECT_LT(pictureLine.height(), 30.0) << "nor a picture's height";
    EXPECT_EQ(DocumentFromQt(qt).paragraphs[0].runs, document.paragraphs[0].runs);
}

TEST(RichTextBridge, TabStopsBeyondTheLineStandAtItsEndWithTheirLeaders) {
    RichParaFormat para = PlainParaFormat();
    para.tabCount = 1;
    para.tabs[0] = MakeTab(9360, kTabRight, kLeaderDots); // a word processor's 6.5 inches
    const RichCharFormat text = Char("DejaVu Sans", 220, kCfeAutoColor);
    RichDocument document;
    document.paragraphs = {Para(para, {{U"Senior Analyst\tJan 2020 \u2013 Present", text}}, text)};
    QTextDocument qt;
    DocumentToQt(document, qt);
    qt.setDocumentMargin(0);
    const qreal width = TwipsToPixels(7920); // 5.5 inches
    qt.setTextWidth(width);
    FitTabStops(qt, width);
    qt.size(); // lays the text out
    EXPECT_NEAR(qt.begin().blockFormat().tabPositions()[0].position, width, 1.0);
    EXPECT_EQ(DocumentFromQt(qt), document) << "the stored stop stays where it was";
    const QTextLayout* layout = qt.begin().layout();
    ASSERT_EQ(layout->lineCount(), 1) << "the date stays on its line";
    const QTextLine line = layout->lineAt(0);
    EXPECT_NEAR(line.naturalTextWidth(), width, 2.0) << "and ends at the margin";

    QImage page(int(width) + 10, 40, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    DrawTabLeaders(painter, qt.begin(), line, QPointF(0, 0), Qt::black);
    painter.end();
    const int from = int(line.cursorToX(14)) + 4;
    const int to = int(line.cursorToX(15)) - 4;
    const int baseline = int(line.ascent());
    int dots = 0;
    for (int x = from; x < to; ++x) {
        for (int y = baseline - 4; y <= baseline; ++y) {
            dots += qGray(page.pixel(x, y)) < 128 ? 1 : 0;
        }
    }
    EXPECT_GT(dots, (to - from) / 8) << "a row of dots between the title and the date";

    // Text set right at the end of the line measures a little wider than the line in some
    // fonts and sizes; its last word must not wrap for that.
    const RichCharFormat bold = Char("Cambria", 220, kCfeAutoColor | kCfeBold);
    int wrapped = 0;
    for (const char* face : {"DejaVu Sans", "Cambria", "Liberation Serif", "Noto Sans"}) {
        for (int twips = 7000; twips <= 10000; twips += 37) {
            const RichCharFormat plain = Char(face, 220, kCfeAutoColor);
            document.paragraphs = {Para(para,
                                        {{U"Senior Analyst", bold},
                                         {U", Acme Corporation\tJan 2020 \u2013 Present", plain}},
                                        plain)};
            DocumentToQt(document, qt);
            qt.setTextWidth(TwipsToPixels(twips));
            FitTabStops(qt, TwipsToPixels(twips));
            qt.size();
            wrapped += qt.begin().layout()->lineCount() > 1 ? 1 : 0;
        }
    }
    EXPECT_EQ(wrapped, 0);
}

TEST(RichTextBridge, BulletsShowTheirOwnSymbolWhereAFontDrawsIt) {
    const RichCharFormat plain = Char("Arial", 200, 0);
    auto bullet = [](char32_t symbol, const char* face, uint8_t charSet) {
        RichParaFormat format = Numbered(kPfnBullet, 0);
        format.bulletSymbol = symbol;
        format.bulletFace = face;
        format.bulletCharSet = charSet;
        return format;
    };
    const RichParaFormat formats[] = {
        bullet(0xA7, "Wingdings", kSymbolCharSet), // a look-alike: a small square
        bullet(0x25C6, "DejaVu Sans", 0),          // drawn in its own font
        bullet(U'o', "Courier New", 0),            // a letter any font has
        bullet(0xE00B, "No Such Symbols", 0),      // private use, font absent
        bullet(0x3F, "Wingdings", kSymbolCharSet), // no look-alike, font absent
    };
    RichDocument document;
    document.paragraphs.clear();
    for (const RichParaFormat& format : formats) {
        document.paragraphs.push_back(Para(format, {{U"x", plain}}, plain));
    }
    QTextDocument qt;
    DocumentToQt(document, qt);
    EXPECT_EQ(NumberingMarkers(qt),
              (QStringList{QString::fromUtf8("\u25AA"), QString::fromUtf8("\u25C6"), "o",
                           QString::fromUtf8("\u2022"), QString::fromUtf8("\u2022")}));
    EXPECT_EQ(NumberingMarkerFamily(qt.findBlockByNumber(1).blockFormat()), "DejaVu Sans");
    EXPECT_EQ(NumberingMarkerFamily(qt.findBlockByNumber(2).blockFormat()), "");
    EXPECT_EQ(DocumentFromQt(qt), document);
}

} // namespace
} // namespace trellic
