// Header rules and hanging indents as the view shows them: lines and margins on screen, the
// text and formats underneath untouched.

#include "print/page_layout.h"
#include "print/rich_text_bridge.h"
#include "richtext/plain_text_codec.h"
#include "shell/paragraph_look.h"
#include "shell/tlx_view.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <cmath>
#include <gtest/gtest.h>
#include <set>

namespace trellic {
namespace {

constexpr uint32_t kNavy = 0x00603A1F; // 0x00BBGGRR

RichCharFormat Font(const char* face, int height, uint32_t color = 0, bool bold = false) {
    RichCharFormat format = PlainCharFormat();
    format.faceName = face;
    format.height = height;
    format.color = color;
    format.effects &= ~kCfeAutoColor;
    format.Set(kCfeBold, bold);
    return format;
}

RichParagraph Para(const std::u32string& text, const RichCharFormat& format) {
    RichParagraph paragraph;
    paragraph.format = PlainParaFormat();
    paragraph.markFormat = format;
    if (!text.empty()) {
        paragraph.runs.push_back({text, format});
    }
    return paragraph;
}

const std::u32string kRule(44, U'\u00AF');
const std::u32string kLong =
    U"\t\t+ Led the migration of every billing service to the new platform, on time and "
    U"under budget, with no customer noticing the move";

class ParagraphLookTest : public ::testing::Test {
protected:
    void SetUp() override {
        view.resize(900, 500);
        document.paragraphs = {Para(U"Experience", Font("Arial", 280, kNavy, true)),
                               Para(kRule, Font("Arial", 320, kNavy, true)),
                               Para(U"Engineer", Font("Arial", 220))};
        view.ReplaceContent(document, {});
    }
    int Position() const { return view.textCursor().position(); }
    void Key(Qt::Key key) { QTest::keyClick(&view, key); }
    QTextBlock Block(int number) const { return view.document()->findBlockByNumber(number); }

    CTLXView view;
    RichDocument document;
};

TEST_F(ParagraphLookTest, ARuleShowsAsOneUnbrokenLineOfItsColourAndKeepsItsMacrons) {
    ASSERT_EQ(view.Look().RuleRanges().size(), 1U);
    const QImage image = view.viewport()->grab().toImage();
    const QRectF rule = view.document()->documentLayout()->blockBoundingRect(Block(1));
    const int left = static_cast<int>(TwipsToPixels(CTLXView::kLeftMarginTwips));
    const int right =
        static_cast<int>(TwipsToPixels(view.PaperWidth() - CTLXView::kRightMarginTwips));
    // The row with the most navy pixels is the line: navy from the margin to the text's right
    // edge without a gap, which a row of macron glyphs never is.
    int bestRow = -1;
    int bestCount = 0;
    for (int y = int(rule.top()); y < int(rule.bottom()); ++y) {
        int count = 0;
        for (int x = left; x < right; ++x) {
            count += image.pixel(x, y) == qRgb(0x1F, 0x3A, 0x60) ? 1 : 0;
        }
        if (count > bestCount) {
            bestCount = count;
            bestRow = y;
        }
    }
    ASSERT_GE(bestRow, 0) << "no line of the rule's colour";
    EXPECT_GE(bestCount, right - left - 2) << "the line does not run across the text width";

    // Underneath, nothing changed: the document, its plain text and its RTF hold the macrons.
    EXPECT_EQ(view.Document(), DocumentFromQt(*view.document()));
    EXPECT_EQ(view.Document().paragraphs[1].runs, document.paragraphs[1].runs);
    std::string macrons;
    for (int i = 0; i < 44; ++i) {
        macrons += "\u00AF";
    }
    EXPECT_NE(view.ExportText().find(macrons), std::string::npos);
}

TEST_F(ParagraphLookTest, TheCaretPassesARuleInOneStepAndBackspaceTakesItWhole) {
    const int ruleStart = Block(1).position();
    const int ruleEnd = ruleStart + static_cast<int>(kRule.size());
    view.SetSelection({static_cast<size_t>(ruleStart - 1), static_cast<size_t>(ruleStart - 1)});
    Key(Qt::Key_Right);
    EXPECT_EQ(Position(), ruleStart);
    Key(Qt::Key_Right);
    EXPECT_EQ(Position(), ruleEnd) << "the caret stopped inside the rule";
    Key(Qt::Key_Right);
    EXPECT_EQ(Position(), Block(2).position());
    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    EXPECT_EQ(Position(), ruleStart);
    // Up and down land at an end of the rule, never in its middle.
    view.SetSelection({static_cast<size_t>(Block(2).position() + 4),
                       static_cast<size_t>(Block(2).position() + 4)});
    Key(Qt::Key_Up);
    EXPECT_TRUE(Position() == ruleStart || Position() == ruleEnd) << Position();

    // A selection over the rule copies its macrons, as the file holds them.
    view.SetSelection({0, static_cast<size_t>(ruleEnd)});
    EXPECT_EQ(view.textCursor().selectedText().count(QChar(0x00AF)), 44);

    view.SetSelection({static_cast<size_t>(ruleEnd), static_cast<size_t>(ruleEnd)});
    Key(Qt::Key_Backspace);
    EXPECT_EQ(Block(1).text(), QString());
    EXPECT_TRUE(view.Look().RuleRanges().empty());
    view.undo();
    EXPECT_EQ(Block(1).text(), QString::fromStdU32String(kRule)) << "not one undo step";
    EXPECT_EQ(view.Look().RuleRanges().size(), 1U);
}

TEST_F(ParagraphLookTest, TextTypedIntoARuleShowsItsMacronsAndTypedMacronsMakeARule) {
    const int ruleEnd = Block(1).position() + static_cast<int>(kRule.size());
    view.SetSelection({static_cast<size_t>(ruleEnd), static_cast<size_t>(ruleEnd)});
    QTest::keyClicks(&view, "x");
    EXPECT_TRUE(view.Look().RuleRanges().empty()) << "typed text would be hidden with the rule";

    const int end = Block(2).position() + Block(2).length() - 1;
    view.SetSelection({static_cast<size_t>(end), static_cast<size_t>(end)});
    Key(Qt::Key_Return);
    for (int i = 0; i < 5; ++i) {
        view.textCursor().insertText(QString(QChar(0x00AF)));
    }
    ASSERT_EQ(view.Look().RuleRanges().size(), 1U);
    EXPECT_EQ(view.Look().RuleRanges()[0].first, Block(3).position());
}

// A new text lets go of the old text's rules before it goes in; what shows must be the new
// text's rules alone, drawn and hidden where they now stand.
TEST_F(ParagraphLookTest, ReplacingTheTextShowsItsOwnRulesOnly) {
    RichDocument other;
    other.paragraphs = {Para(kRule, Font("Arial", 320)), Para(U"Skills", Font("Arial", 220)),
                        Para(U"C++, Qt", Font("Arial", 220)), Para(kRule, Font("Arial", 320))};
    view.ReplaceContent(other, {});
    const auto rules = view.Look().RuleRanges();
    ASSERT_EQ(rules.size(), 2U);
    EXPECT_EQ(rules[0].first, Block(0).position());
    EXPECT_EQ(rules[1].first, Block(3).position());
    ASSERT_EQ(view.extraSelections().size(), 2);
    EXPECT_EQ(view.extraSelections()[1].cursor.selectionStart(), Block(3).position());

    RichDocument plain;
    plain.paragraphs = {Para(U"Engineer", Font("Arial", 220))};
    view.ReplaceContent(plain, {});
    EXPECT_TRUE(view.Look().RuleRanges().empty());
    EXPECT_TRUE(view.extraSelections().isEmpty());
    view.ReplaceContent(document, {});
    ASSERT_EQ(view.Look().RuleRanges().size(), 1U);
    EXPECT_EQ(view.Look().RuleRanges()[0].first, Block(1).position());
}

TEST_F(ParagraphLookTest, WrappedLinesOfAnIndentedParagraphHangUnderItsTextWhateverItsTabs) {
    RichDocument indented;
    indented.paragraphs = {Para(kLong, Font("Arial", 240))};
    view.ReplaceContent(indented, {});
    auto hangsUnderText = [this](int bodyAt) {
        QTextBlock block = Block(0);
        view.document()->documentLayout()->blockBoundingRect(block);
        const QTextLayout* layout = block.layout();
        if (layout->lineCount() < 2) {
            return ::testing::AssertionFailure() << "the paragraph does not wrap";
        }
        const qreal body = layout->lineAt(0).cursorToX(bodyAt);
        const qreal wrapped = layout->lineAt(1).x();
        if (std::abs(body - wrapped) > 0.5) {
            return ::testing::AssertionFailure()
                   << "wrapped line at " << wrapped << ", text at " << body;
        }
        return ::testing::AssertionSuccess();
    };
    EXPECT_TRUE(hangsUnderText(4));
    // The format the engine reads back is the paragraph's own, not the margin shown.
    EXPECT_EQ(view.Document(), [&] {
        RichDocument normal = indented;
        normal.Normalize();
        return normal;
    }());
    EXPECT_EQ(view.Document().paragraphs[0].format.startIndent, 0);

    // One tab fewer: the hang follows at once, and one undo brings back text and margin.
    view.SetSelection({0, 0});
    Key(Qt::Key_Delete);
    EXPECT_TRUE(hangsUnderText(3));
    view.undo();
    EXPECT_EQ(Block(0).text().left(2), QStringLiteral("\t\t"));
    EXPECT_TRUE(hangsUnderText(4));
    EXPECT_FALSE(view.document()->isUndoAvailable());
}

TEST(HangingIndent, MeasuredAsideItMatchesTheParagraphsOwnLayout) {
    // The measure sees only the start of the first line; it must agree with the full layout
    // for symbol-font bullets, custom tab stops and margins.
    RichDocument document;
    RichCharFormat wingdings = Font("Wingdings", 240);
    wingdings.charSet = kSymbolCharSet;
    RichParagraph bullet = Para(U"\t", Font("Arial", 220));
    bullet.runs.push_back({{0x9F, U' '}, wingdings});
    bullet.runs.push_back({U"Body of the item", Font("Arial", 220)});
    RichParagraph stops = Para(U"\t\t- Text after custom stops", Font("Times New Roman", 300));
    stops.format.tabCount = 2;
    stops.format.tabs[0] = 500;
    stops.format.tabs[1] = 2500;
    stops.format.startIndent = 360;
    document.paragraphs = {bullet, stops, Para(U"No indent at all", Font("Arial", 240))};
    QTextDocument qt;
    qt.setTextWidth(500);
    DocumentToQt(document, qt);
    qt.size();
    int measured = 0;
    for (QTextBlock block = qt.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        const auto hanging = MeasureHangingIndent(block, format.leftMargin() + format.textIndent(),
                                                  format.leftMargin());
        if (!hanging) {
            continue;
        }
        ++measured;
        const QTextLine line = block.layout()->lineAt(0);
        EXPECT_NEAR(hanging->textX, line.cursorToX(hanging->tabs), 0.01) << block.text().data();
        const int body = block.text().indexOf(u' ', hanging->tabs) + 1;
        EXPECT_NEAR(hanging->bodyX, line.cursorToX(body), 0.01);
    }
    EXPECT_EQ(measured, 2);
}

TEST(HangingIndent, OneMeasureForManyParagraphsTellsApartStartsThatOnlyLookAlike) {
    // The same characters start every paragraph; the format of the bullet, the tab stops or where
    // the first line starts differ, and so must the hang, however often each comes back.
    const RichParagraph plain = Para(U"\t- Led the team", Font("Arial", 220));
    RichParagraph wideBullet = plain;
    wideBullet.runs = {{U"\t", Font("Arial", 220)},
                       {U"-", Font("Arial", 600)},
                       {U" Led the team", Font("Arial", 220)}};
    RichParagraph stops = plain;
    stops.format.tabCount = 1;
    stops.format.tabs[0] = 2000;
    RichParagraph indented = plain;
    indented.format.startIndent = 720;
    RichDocument document;
    document.paragraphs.clear();
    for (int pass = 0; pass < 3; ++pass) {
        document.paragraphs.insert(document.paragraphs.end(), {plain, wideBullet, stops, indented});
    }
    QTextDocument qt;
    qt.setTextWidth(600);
    DocumentToQt(document, qt);
    qt.size();
    HangingIndentMeasure measure;
    std::set<qreal> bodies;
    for (QTextBlock block = qt.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        const auto hanging =
            measure(block, format.leftMargin() + format.textIndent(), format.leftMargin());
        ASSERT_TRUE(hanging) << block.blockNumber();
        const QTextLine line = block.layout()->lineAt(0);
        EXPECT_NEAR(hanging->textX, line.cursorToX(1), 0.01) << block.blockNumber();
        EXPECT_NEAR(hanging->bodyX, line.cursorToX(3), 0.01) << block.blockNumber();
        bodies.insert(std::round(hanging->bodyX * 100) / 100);
    }
    EXPECT_EQ(bodies.size(), 4U);
}

} // namespace
} // namespace trellic
