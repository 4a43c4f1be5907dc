#include "engine/prompter.h"
#include "print/rich_text_bridge.h"
#include "render/render_driver.h"
#include "richtext/rtf_reader.h"
#include "richtext/rtf_writer.h"
#include "shell/tlx_view.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace trellic {

// Readable failure output: text, formats and marks of each paragraph.
void PrintTo(const RichDocument& document, std::ostream* out) {
    auto format = [out](const RichCharFormat& f) {
        *out << std::hex << "{fx " << f.effects << " ul " << int(f.underlineType) << " "
             << f.faceName << " " << std::dec << f.height << " c " << std::hex << f.color << " cs "
             << int(f.charSet) << " pf " << int(f.pitchAndFamily) << std::dec << "}";
    };
    for (const RichParagraph& paragraph : document.paragraphs) {
        *out << "\n  [num " << paragraph.format.numbering << "/" << paragraph.format.numberingStart
             << " al " << paragraph.format.alignment << " ls "
             << int(paragraph.format.lineSpacingRule) << "]";
        for (const RichRun& run : paragraph.runs) {
            *out << " '" << QString::fromStdU32String(run.text).toStdString() << "'";
            format(run.format);
        }
        *out << " mark";
        format(paragraph.markFormat);
    }
}

namespace {

class RecordingPrompter : public SilentPrompter {
public:
    void ShowMessage(const std::string& text, MessageIcon icon) override {
        messages.push_back(text);
        icons.push_back(icon);
    }
    std::vector<std::string> messages;
    std::vector<MessageIcon> icons;
};

RichCharFormat Plain(uint32_t effects = 0) {
    RichCharFormat format = PlainCharFormat();
    format.effects |= effects;
    return format;
}

// Paragraphs of the given texts, the first run of each in `first`, the rest plain.
RichDocument Paragraphs(std::vector<std::u32string> texts, RichParaFormat format = {}) {
    RichDocument document;
    document.paragraphs.clear();
    format.mask = kPfmAll;
    for (const std::u32string& text : texts) {
        RichParagraph paragraph;
        paragraph.format = format;
        paragraph.markFormat = Plain();
        if (!text.empty()) {
            paragraph.runs.push_back({text, Plain()});
        }
        document.paragraphs.push_back(paragraph);
    }
    return document;
}

RichCharFormat FormatAt(const CTLXView& view, size_t position) {
    const RichDocument document = view.Document();
    size_t start = 0;
    for (const RichParagraph& paragraph : document.paragraphs) {
        size_t offset = start;
        for (const RichRun& run : paragraph.runs) {
            if (position < offset + run.text.size()) {
                return run.format;
            }
            offset += run.text.size();
        }
        start += paragraph.Length() + 1;
    }
    ADD_FAILURE() << "no character at " << position;
    return {};
}

// The clipboard conversions, reached without the platform's clipboard.
struct Clipboard : CTLXView {
    static QMimeData* Copy(const CTLXView& view) {
        return (view.*&Clipboard::createMimeDataFromSelection)();
    }
    static void Paste(CTLXView& view, const QMimeData* data) {
        (view.*&Clipboard::insertFromMimeData)(data);
    }
};

class TlxView : public ::testing::Test {
protected:
    void SetUp() override { view.SetPrompter(&prompter); }
    void Load(const RichDocument& document, TextRange selection = {}) {
        view.ReplaceContent(document, selection);
    }
    RecordingPrompter prompter;
    CTLXView view;
};

TEST_F(TlxView, ReplaceContentInstallsTheRenderingAndForgetsTheEdits) {
    view.insertPlainText("typed");
    ASSERT_TRUE(view.document()->isUndoAvailable());
    ASSERT_TRUE(view.IsModified());

    RichDocument rendering = Paragraphs({U"Jane Doe", U"", U"Experience"});
    rendering.paragraphs[0].runs[0].format = Plain(kCfeBold);
    view.ReplaceContent(rendering, {3, 1000});

    EXPECT_EQ(view.Document(), rendering);
    EXPECT_EQ(view.Selection(), (TextRange{3, rendering.Length()}));
    EXPECT_FALSE(view.document()->isUndoAvailable());
    EXPECT_FALSE(view.IsModified());
}

TEST_F(TlxView, BehavesAsTheHeadlessViewThroughTheEnginePort) {
    HeadlessResumeView headless;
    std::vector<ResumeView*> views{&headless, &view};
    auto same = [&](const char* step) {
        EXPECT_EQ(view.ExportRtf(), headless.ExportRtf()) << step;
        EXPECT_EQ(view.Selection(), headless.Selection()) << step;
        EXPECT_EQ(view.IsModified(), headless.IsModified()) << step;
        EXPECT_EQ(view.DefaultCharFormat(), headless.DefaultCharFormat()) << step;
        EXPECT_EQ(view.EndParagraphFormat(), headless.EndParagraphFormat()) << step;
    };
    RichParaFormat numbered;
    numbered.mask = kPfmNumbering | kPfmNumberingStart;
    numbered.numbering = kPfnLowerLetter;
    numbered.numberingStart = 3;
    for (ResumeView* target : views) {
        ResetViewFormatting(*target);
    }
    same("reset");
    for (ResumeView* target : views) {
        target->ImportText("Line one\r\nLine two\r\n\xC2\xAF\xC2\xAF");
    }
    same("import text");
    for (ResumeView* target : views) {
        target->SetSelection({5, 12});
        target->SetSelectionParaFormat(numbered);
        target->SetSelection({100, 200});
    }
    same("numbering and a clamped selection");
    const RichDocument rendering = Paragraphs({U"Name", U"", U"Section"}, PlainParaFormat());
    for (ResumeView* target : views) {
        target->SetSelection({2, 3});
        target->ReplaceContent(rendering, {6, 40});
    }
    same("replace content");
}

TEST_F(TlxView, ExportAfterImportKeepsTextAndFormats) {
    RichDocument original = Paragraphs({U"Title", U"one", U"two"}, PlainParaFormat());
    original.paragraphs[0].runs[0].format = Plain(kCfeBold | kCfeUnderline);
    original.paragraphs[0].runs[0].format.underlineType = kCfuSolid;
    original.paragraphs[1].format.numbering = kPfnArabic;
    original.paragraphs[1].format.numberingStart = 4;
    original.paragraphs[1].format.numberingStyle = kPfnsPeriod;
    original.paragraphs[2].format = original.paragraphs[1].format;
    original.paragraphs[2].runs.insert(original.paragraphs[2].runs.begin(),
                                       RichRun{{0xFC, ' '}, [] {
                                                   RichCharFormat symbol = Plain();
                                                   symbol.faceName = "Wingdings";
                                                   symbol.charSet = kSymbolCharSet;
                                                   symbol.pitchAndFamily = 0;
                                                   return symbol;
                                               }()});
    const std::string rtf = WriteRtf(original);

    view.ImportRtf(rtf);
    EXPECT_TRUE(view.IsModified());
    EXPECT_EQ(ReadRtf(view.ExportRtf()).document, ReadRtf(rtf).document);
    // The symbol byte comes out as the Windows-1252 character a .txt file holds it as.
    EXPECT_EQ(view.ExportText(), "Title\r\none\r\n\xC3\xBC two");

    // Bytes that are not RTF are a text file's: here Windows-1252.
    view.ImportRtf("plain \xE9t\xE9\r\nline");
    EXPECT_EQ(view.ExportText(), "plain \xC3\xA9t\xC3\xA9\r\nline");
    EXPECT_EQ(view.Document().paragraphs.size(), 2u);
}

TEST_F(TlxView, DefaultCharFormatReachesAnEmptyViewAndImportedText) {
    RichCharFormat times;
    times.mask = kCfmFace | kCfmSize;
    times.faceName = "Times New Roman";
    times.height = 280;
    view.SetDefaultCharFormat(times);
    EXPECT_EQ(view.DefaultCharFormat().faceName, "Times New Roman");
    EXPECT_EQ(view.DefaultCharFormat().mask, kCfmAll);
    EXPECT_FALSE(view.IsModified());

    view.insertPlainText("x");
    EXPECT_EQ(FormatAt(view, 0).faceName, "Times New Roman");
    EXPECT_EQ(FormatAt(view, 0).height, 280);

    view.ImportText("a\r\nb");
    EXPECT_EQ(FormatAt(view, 2).faceName, "Times New Roman");
}

TEST_F(TlxView, PlainTextRerenderPutsEveryParagraphInPlainFormatting) {
    RichParaFormat fancy = PlainParaFormat();
    fancy.numbering = kPfnBullet;
    fancy.alignment = kPfaCenter;
    fancy.lineSpacingRule = kLineSpacingOneAndHalf;
    RichDocument document = Paragraphs({U"first", U"second", U"third"}, PlainParaFormat());
    document.paragraphs[0].format = fancy;
    Load(document, {14, 14});

    NodeTree tree;
    tree.dataSource = kDataSourceViewTxt;
    tree.renderer = kRendererTxt;
    RenderResume(tree, view);
    const RichDocument after = view.Document();
    ASSERT_EQ(after.paragraphs.size(), 3u);
    for (const RichParagraph& paragraph : after.paragraphs) {
        EXPECT_EQ(paragraph.format, PlainParaFormat());
    }
}

TEST_F(TlxView, TypingBesideABulletSymbolTakesTheParagraphsTextFont) {
    RichCharFormat wingdings = Plain();
    wingdings.faceName = "Wingdings";
    wingdings.charSet = kSymbolCharSet;
    wingdings.pitchAndFamily = 0;
    RichCharFormat georgia = Plain();
    georgia.faceName = "Georgia";
    RichDocument document = Paragraphs({U"Title"});
    document.paragraphs[0].runs = {{{0xFC, ' '}, wingdings}, {U"Title", georgia}};
    document.paragraphs[0].markFormat = georgia;
    auto type = [this](char c) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A + (c - 'a'), Qt::NoModifier,
                        QString(QLatin1Char(c)));
        QCoreApplication::sendEvent(&view, &press);
    };

    for (size_t at : {size_t(0), size_t(2)}) {
        Load(document, {at, at});
        type('m');
        EXPECT_EQ(FormatAt(view, at).faceName, "Georgia") << at;
        EXPECT_EQ(FormatAt(view, at).charSet, kAnsiCharSet) << at;
        EXPECT_NE(view.ExportRtf().find("Georgia"), std::string::npos);
    }

    // A symbol font chosen at the insertion point is kept for every character typed next.
    Load(document, {0, 0});
    RichCharFormat choose = wingdings;
    choose.mask = kCfmAll;
    view.SetSelectionCharFormat(choose);
    type('a');
    type('b');
    EXPECT_EQ(FormatAt(view, 0).charSet, kSymbolCharSet);
    EXPECT_EQ(FormatAt(view, 1).charSet, kSymbolCharSet);
}

TEST_F(TlxView, SymbolFontTextKeepsItsBytesThroughFormatCommands) {
    RichCharFormat symbol = Plain();
    symbol.faceName = "Symbol";
    symbol.charSet = kSymbolCharSet;
    symbol.pitchAndFamily = 0x12;
    RichDocument document = Paragraphs({U"x"});
    document.paragraphs[0].runs = {{{0x61, 0xE2, 0xD2, 0xB3}, symbol}};
    Load(document, {0, 4});
    EXPECT_EQ(view.toPlainText(), QString::fromUtf8("\u03B1\u00AE\u00AE\u2265"));
    view.Bold();
    const RichDocument after = view.Document();
    ASSERT_EQ(after.paragraphs[0].runs.size(), 1u);
    EXPECT_EQ(after.paragraphs[0].runs[0].text, (std::u32string{0x61, 0xE2, 0xD2, 0xB3}));
    EXPECT_TRUE(after.paragraphs[0].runs[0].format.Has(kCfeBold));
}

TEST_F(TlxView, ParagraphFormatStopsAtABreakThatEndsTheSelection) {
    Load(Paragraphs({U"one", U"two", U"three"}, PlainParaFormat()));
    view.SetSelection({0, 4}); // "one" and its break
    RichParaFormat centred;
    centred.mask = kPfmAlignment;
    centred.alignment = kPfaCenter;
    view.SetSelectionParaFormat(centred);
    const RichDocument document = view.Document();
    EXPECT_EQ(document.paragraphs[0].format.alignment, kPfaCenter);
    EXPECT_EQ(document.paragraphs[1].format.alignment, kPfaLeft);
    EXPECT_EQ(view.EndParagraphFormat().alignment, kPfaLeft);
}

TEST_F(TlxView, BoldFlipsAMixedSelectionByItsFirstCharacter) {
    RichDocument document = Paragraphs({U"plain"});
    document.paragraphs[0].runs = {{U"bo", Plain(kCfeBold)}, {U"ld", Plain()}};
    Load(document, {0, 4});
    view.Bold();
    EXPECT_FALSE(FormatAt(view, 0).Has(kCfeBold));
    EXPECT_FALSE(FormatAt(view, 3).Has(kCfeBold));

    view.SetSelection({1, 4});
    view.Bold();
    EXPECT_FALSE(FormatAt(view, 0).Has(kCfeBold));
    EXPECT_TRUE(FormatAt(view, 1).Has(kCfeBold));
    EXPECT_TRUE(FormatAt(view, 3).Has(kCfeBold));
}

TEST_F(TlxView, UnderlineTogglesFollowTheirType) {
    Load(Paragraphs({U"underline"}), {0, 9});
    view.UnderlineSolid();
    EXPECT_EQ(FormatAt(view, 0).underlineType, kCfuSolid);
    EXPECT_TRUE(FormatAt(view, 0).Has(kCfeUnderline));
    view.UnderlineSolid();
    EXPECT_FALSE(FormatAt(view, 0).Has(kCfeUnderline));

    view.UnderlineSolid();
    view.UnderlineDotted();
    EXPECT_TRUE(FormatAt(view, 4).Has(kCfeUnderline));
    EXPECT_EQ(FormatAt(view, 4).underlineType, kCfuDotted);
    view.UnderlineNone();
    EXPECT_FALSE(FormatAt(view, 4).Has(kCfeUnderline));
}

TEST_F(TlxView, SubscriptAndSuperscriptExcludeEachOther) {
    Load(Paragraphs({U"x2"}), {1, 2});
    view.Superscript();
    EXPECT_TRUE(FormatAt(view, 1).Has(kCfeSuperscript));
    view.Subscript();
    EXPECT_TRUE(FormatAt(view, 1).Has(kCfeSubscript));
    EXPECT_FALSE(FormatAt(view, 1).Has(kCfeSuperscript));
    EXPECT_FALSE(FormatAt(view, 0).Has(kCfeSubscript));
    view.Superscript();
    EXPECT_TRUE(FormatAt(view, 1).Has(kCfeSuperscript));
    EXPECT_FALSE(FormatAt(view, 1).Has(kCfeSubscript));
}

TEST_F(TlxView, NumberingCommandsToggleTheirStyle) {
    RichParaFormat arabic = PlainParaFormat();
    arabic.numbering = kPfnArabic;
    arabic.numberingStart = 5;
    Load(Paragraphs({U"a", U"b"}, arabic), {0, 3});
    view.Numbering(kPfnArabic);
    for (const RichParagraph& paragraph : view.Document().paragraphs) {
        EXPECT_EQ(paragraph.format.numbering, kPfnNone);
    }

    view.Bullet();
    EXPECT_EQ(view.Document().paragraphs[1].format.numbering, kPfnBullet);
    view.Numbering(kPfnArabic);
    for (const RichParagraph& paragraph : view.Document().paragraphs) {
        EXPECT_EQ(paragraph.format.numbering, kPfnArabic);
        EXPECT_EQ(paragraph.format.numberingStart, 1);
    }
    EXPECT_EQ(NumberingMarkers(*view.document()), (QStringList{"1)", "2)"}));
    view.Numbering(kPfnUpperRoman);
    EXPECT_EQ(NumberingMarkers(*view.document()), (QStringList{"I)", "II)"}));

    view.Bullet();
    view.Bullet();
    EXPECT_EQ(view.Document().paragraphs[0].format.numbering, kPfnNone);
    view.Numbering(kPfnLowerLetter);
    view.BulletNone();
    EXPECT_EQ(view.Document().paragraphs[1].format.numbering, kPfnNone);
}

TEST_F(TlxView, AlignmentAndLineSpacingSetTheirFieldAlone) {
    RichParaFormat format = PlainParaFormat();
    format.numbering = kPfnBullet;
    Load(Paragraphs({U"a", U"b"}, format), {0, 3});
    view.Align(kPfaJustify);
    view.LineSpacing(kLineSpacingDouble);
    for (const RichParagraph& paragraph : view.Document().paragraphs) {
        EXPECT_EQ(paragraph.format.alignment, kPfaJustify);
        EXPECT_EQ(paragraph.format.lineSpacingRule, kLineSpacingDouble);
        EXPECT_EQ(paragraph.format.numbering, kPfnBullet);
    }
}

TEST_F(TlxView, EachFormatCommandIsOneUndoStep) {
    const std::vector<std::pair<const char*, std::function<void()>>> commands = {
        {"bold", [this] { view.Bold(); }},
        {"italic", [this] { view.Italic(); }},
        {"underline none", [this] { view.UnderlineNone(); }},
        {"underline solid", [this] { view.UnderlineSolid(); }},
        {"underline dotted", [this] { view.UnderlineDotted(); }},
        {"strikeout", [this] { view.Strikeout(); }},
        {"subscript", [this] { view.Subscript(); }},
        {"superscript", [this] { view.Superscript(); }},
        {"bullet none", [this] { view.BulletNone(); }},
        {"bullet", [this] { view.Bullet(); }},
        {"lower roman", [this] { view.Numbering(kPfnLowerRoman); }},
        {"right", [this] { view.Align(kPfaRight); }},
        {"one and a half", [this] { view.LineSpacing(kLineSpacingOneAndHalf); }},
    };
    RichDocument document = Paragraphs({U"first", U"", U"third"});
    document.paragraphs[0].runs.push_back({U" bold", Plain(kCfeBold | kCfeUnderline)});
    document.paragraphs[0].runs.back().format.underlineType = kCfuSolid;
    document.paragraphs[1].format.numbering = kPfnBullet;
    for (const auto& [name, command] : commands) {
        Load(document, {2, 13});
        const RichDocument before = view.Document();
        command();
        EXPECT_NE(view.Document(), before) << name;
        view.undo();
        EXPECT_EQ(view.Document(), before) << name;
        EXPECT_FALSE(view.document()->isUndoAvailable()) << name;
    }
}

TEST_F(TlxView, FormatAtAnInsertionPointIsTheTypingFormatAndTheEmptyMark) {
    Load(Paragraphs({U"one", U""}), {4, 4});
    view.Bold();
    EXPECT_TRUE(view.Document().paragraphs[1].markFormat.Has(kCfeBold));
    view.insertPlainText("two");
    EXPECT_TRUE(FormatAt(view, 5).Has(kCfeBold));
    EXPECT_FALSE(FormatAt(view, 0).Has(kCfeBold));
}

TEST_F(TlxView, FindAndReplaceGoRoundTheEndAndReportMisses) {
    Load(Paragraphs({U"Java and C++", U"more java"}));
    view.SetSelection({5, 5});
    EXPECT_TRUE(view.FindText("java", {}));
    EXPECT_EQ(view.Selection(), (TextRange{18, 22}));
    EXPECT_TRUE(view.FindText("java", {})); // round the end
    EXPECT_EQ(view.Selection(), (TextRange{0, 4}));
    // Searching up with case from the start goes round to the end; "Java" does not match.
    EXPECT_TRUE(
        view.FindText("java", QTextDocument::FindCaseSensitively | QTextDocument::FindBackward));
    EXPECT_EQ(view.Selection(), (TextRange{18, 22}));
    EXPECT_TRUE(prompter.messages.empty());

    EXPECT_FALSE(view.FindText("Rust", {}));
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_EQ(prompter.icons[0], MessageIcon::Information);
    EXPECT_NE(prompter.messages[0].find("Rust"), std::string::npos);

    view.SetSelection({0, 4});
    EXPECT_TRUE(view.ReplaceText("java", "Go", {}));
    EXPECT_EQ(view.ExportText(), "Go and C++\r\nmore java");
    EXPECT_EQ(view.Selection(), (TextRange{16, 20}));

    EXPECT_EQ(view.ReplaceAllText("o", "0", {}), 2);
    EXPECT_EQ(view.ExportText(), "G0 and C++\r\nm0re java");
    view.undo();
    EXPECT_EQ(view.ExportText(), "Go and C++\r\nmore java");
}

TEST_F(TlxView, CopyAndPasteKeepEveryFormat) {
    RichDocument document = Paragraphs({U"Skills", U"tail"});
    RichCharFormat symbol = Plain();
    symbol.faceName = "Wingdings";
    symbol.charSet = kSymbolCharSet;
    symbol.pitchAndFamily = 2;
    document.paragraphs[0].runs = {{{0xD8, ' '}, symbol}, {U"Skills", Plain(kCfeItalic)}};
    document.paragraphs[0].format.numbering = kPfnBullet;
    Load(document, {0, 8});
    std::unique_ptr<QMimeData> copied(Clipboard::Copy(view));
    EXPECT_TRUE(copied->hasFormat("text/rtf"));
    view.SetSelection({13, 13});
    Clipboard::Paste(view, copied.get());
    const RichDocument pasted = view.Document();
    ASSERT_EQ(pasted.paragraphs.size(), 2u);
    ASSERT_EQ(pasted.paragraphs[1].runs.size(), 3u);
    EXPECT_EQ(pasted.paragraphs[1].runs[1], document.paragraphs[0].runs[0]);
    EXPECT_EQ(pasted.paragraphs[1].runs[2], document.paragraphs[0].runs[1]);

    QApplication::clipboard()->setText("plain\ttext");
    view.SetSelection({0, 0});
    view.PasteAs(false);
    EXPECT_EQ(view.Document().paragraphs[0].Text().substr(0, 10), U"plain\ttext");
}

TEST_F(TlxView, MarkersAreDrawnBeforeNumberedParagraphsOnly) {
    view.resize(900, 400);
    // Ink left of the first line's text, where a marker goes.
    auto inkBeforeText = [this](const RichDocument& document) {
        Load(document);
        const QImage image = view.viewport()->grab().toImage();
        const QRectF line =
            view.document()->documentLayout()->blockBoundingRect(view.document()->firstBlock());
        const int left = static_cast<int>(TwipsToPixels(CTLXView::kLeftMarginTwips));
        const int right = left + static_cast<int>(TwipsToPixels(kMarkerRoomTwips));
        int ink = 0;
        for (int y = int(line.top()); y < int(line.bottom()); ++y) {
            for (int x = left; x < right; ++x) {
                ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
            }
        }
        return ink;
    };
    RichDocument numbered = Paragraphs({U"numbered", U"plain"});
    numbered.paragraphs[0].format.numbering = kPfnArabic;
    numbered.paragraphs[0].format.numberingStart = 8;
    RichDocument indented = Paragraphs({U"numbered", U"plain"});
    indented.paragraphs[0].format.startIndent = kMarkerRoomTwips;
    EXPECT_GT(inkBeforeText(numbered), 0);
    EXPECT_EQ(inkBeforeText(indented), 0);
}

// A PNG of a few red pixels, as RTF's hexadecimal picture data.
std::string RedPngHex() {
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes.toHex().toStdString();
}

TEST_F(TlxView, APhotoShowsTypingBesideItIsTextAndItSavesAsItCame) {
    const std::string png = RedPngHex();
    const std::vector<std::string> warnings =
        view.ImportRtf("{\\rtf1 Name {\\pict\\pngblip\\picwgoal600\\pichgoal450 " + png + "}}");
    EXPECT_TRUE(warnings.empty());
    view.resize(900, 400);
    const QImage shown = view.viewport()->grab().toImage();
    int red = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            red += shown.pixel(x, y) == qRgb(255, 0, 0) ? 1 : 0;
        }
    }
    EXPECT_GE(red, 40 * 30 - 100) << "the photo at 600 by 450 twips";

    view.SetSelection({6, 6}); // behind the photo
    QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(&view, &key);
    view.SetSelection({5, 6});
    view.Bold();
    const RichDocument document = view.Document();
    ASSERT_EQ(document.paragraphs[0].runs.size(), 3u);
    EXPECT_EQ(document.paragraphs[0].runs[1].text, std::u32string(1, kObjectCharacter));
    EXPECT_TRUE(document.paragraphs[0].runs[1].format.picture);
    EXPECT_TRUE(document.paragraphs[0].runs[1].format.Has(kCfeBold));
    EXPECT_EQ(document.paragraphs[0].runs[2].text, U"x");
    EXPECT_FALSE(document.paragraphs[0].runs[2].format.picture);
    view.document()->undo();
    EXPECT_FALSE(FormatAt(view, 5).Has(kCfeBold));
    EXPECT_TRUE(FormatAt(view, 5).picture);
    const RichDocument saved = ReadRtf(view.ExportRtf()).document;
    EXPECT_EQ(saved.paragraphs[0].runs[1].format.picture->data,
              QByteArray::fromHex(QByteArray::fromStdString(png)).toStdString());
    EXPECT_EQ(view.ExportText(), "Name x");

    view.ImportRtf("{\\rtf1 shown{\\v  hidden}}");
    view.SetSelection({13, 13});
    QApplication::sendEvent(&view, &key);
    EXPECT_EQ(view.ExportText(), "shownx") << "typed beside hidden text, and shown";
}

TEST_F(TlxView, APictureThatDoesNotDecodeIsReportedAndKept) {
    // A PNG header that promises a picture its data does not hold.
    const std::string header = RedPngHex().substr(0, 66);
    const std::vector<std::string> warnings =
        view.ImportRtf("{\\rtf1 {\\pict\\pngblip " + header + "}}");
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], "A PNG picture cannot be decoded; it is kept as it came and shows as "
                           "a placeholder.");
    EXPECT_TRUE(view.ExportRtf().find(header) != std::string::npos);

    // Five headers that each claim 25 million pixels: the fifth is beyond what one text shows.
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < 5; ++i) {
        rtf += "{\\pict\\pngblip 89504e470d0a1a0a0000000d49484452000013880000138808020000000" +
               std::to_string(i) + "}";
    }
    const std::vector<std::string> many = view.ImportRtf(rtf + "}");
    ASSERT_EQ(many.size(), 5u);
    EXPECT_EQ(many[4], "A PNG picture is not shown: the pictures of one text may show 100 "
                       "million pixels in all; it is kept as it came and shows as a placeholder.");
}

TEST_F(TlxView, RightAlignedDatesStayOnTheirLineOnEveryPaper) {
    RichDocument document =
        Paragraphs({U"Senior Analyst, Acme Corporation\tJan 2020 \u2013 Present"});
    RichParaFormat& format = document.paragraphs[0].format;
    format.tabCount = 1;
    format.tabs[0] = MakeTab(9360, kTabRight, kLeaderDots); // 6.5 inches, from a wider page
    Load(document);
    for (int paper : {12240, 11906, 10000}) {
        view.SetPaperWidth(paper);
        view.document()->size(); // lays the text out
        const QTextLayout* layout = view.document()->firstBlock().layout();
        EXPECT_EQ(layout->lineCount(), 1) << paper;
        const qreal lineWidth =
            TwipsToPixels(paper - CTLXView::kLeftMarginTwips - CTLXView::kRightMarginTwips);
        EXPECT_NEAR(layout->lineAt(0).naturalTextWidth(), lineWidth, 2.0) << paper;
    }
    EXPECT_FALSE(view.IsModified()) << "another paper is no edit";
    EXPECT_EQ(view.Document(), document);
    // A paragraph command keeps the stops fitted.
    view.SetSelection({0, 0});
    view.Align(kPfaJustify);
    EXPECT_EQ(view.document()->firstBlock().layout()->lineCount(), 1);
}

} // namespace
} // namespace trellic
