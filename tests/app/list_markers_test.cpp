#include "print/rich_text_bridge.h"
#include "shell/list_markers.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace trellic {
namespace {

// A document whose markers are kept by ListMarkers as the view keeps them, and checked against
// a count over the whole document after every change.
class ListMarkersTest : public ::testing::Test {
protected:
    void SetUp() override {
        // A document tells of its changes once it has a layout, as a view's has.
        (void)document.documentLayout();
        QObject::connect(&document, &QTextDocument::contentsChange,
                         [this](int position, int, int added) {
                             repaint = markers.Update(document, position, added);
                         });
        RichDocument content;
        content.paragraphs.clear();
        const uint16_t numbering[] = {kPfnNone, kPfnArabic, kPfnArabic, kPfnArabic,
                                      kPfnNone, kPfnArabic, kPfnArabic};
        for (const uint16_t number : numbering) {
            RichParagraph paragraph;
            paragraph.format = PlainParaFormat();
            paragraph.format.numbering = number;
            paragraph.format.numberingStart = 1;
            RichRun run;
            run.format = PlainCharFormat();
            run.text = U"item";
            paragraph.runs.push_back(run);
            content.paragraphs.push_back(paragraph);
        }
        DocumentToQt(content, document);
    }

    QStringList Kept() {
        QStringList kept;
        for (int i = 0; i < document.blockCount(); ++i) {
            kept.append(markers.Marker(document, i));
        }
        EXPECT_EQ(kept, NumberingMarkers(document));
        return kept;
    }

    QTextCursor AtEndOf(int block) {
        QTextCursor cursor(document.findBlockByNumber(block));
        cursor.movePosition(QTextCursor::EndOfBlock);
        return cursor;
    }

    QTextDocument document;
    ListMarkers markers;
    bool repaint = false;
};

TEST_F(ListMarkersTest, ItemsAddedAndRemovedRenumberTheListBelow) {
    EXPECT_EQ(Kept(), (QStringList{"", "1)", "2)", "3)", "", "1)", "2)"}));
    // Typing in a plain paragraph changes no marker; in a list item the marker may look
    // different.
    AtEndOf(0).insertText("s");
    EXPECT_FALSE(repaint);
    AtEndOf(1).insertText("s");
    EXPECT_TRUE(repaint);
    AtEndOf(1).insertBlock();
    EXPECT_TRUE(repaint);
    EXPECT_EQ(Kept(), (QStringList{"", "1)", "2)", "3)", "4)", "", "1)", "2)"}));
    QTextCursor items = AtEndOf(0);
    items.setPosition(document.findBlockByNumber(3).position(), QTextCursor::KeepAnchor);
    items.removeSelectedText(); // the third item's text joins the plain first paragraph
    EXPECT_EQ(Kept(), (QStringList{"", "1)", "", "1)", "2)"}));
    // The plain paragraph between the two lists goes: they become one.
    QTextCursor gap = AtEndOf(1);
    gap.setPosition(AtEndOf(2).position(), QTextCursor::KeepAnchor);
    gap.removeSelectedText();
    EXPECT_EQ(Kept(), (QStringList{"", "1)", "2)", "3)"}));
}

TEST_F(ListMarkersTest, FormatChangesAndUndoRenumber) {
    RichParaFormat plain = PlainParaFormat();
    QTextCursor(document.findBlockByNumber(2)).setBlockFormat(ToQtBlockFormat(plain));
    EXPECT_TRUE(repaint);
    EXPECT_EQ(Kept(), (QStringList{"", "1)", "", "1)", "", "1)", "2)"}));
    RichParaFormat roman = PlainParaFormat();
    roman.numbering = kPfnUpperRoman;
    roman.numberingStart = 4;
    QTextCursor(document.findBlockByNumber(4)).setBlockFormat(ToQtBlockFormat(roman));
    EXPECT_EQ(Kept(), (QStringList{"", "1)", "", "1)", "IV)", "1)", "2)"}));
    document.undo();
    document.undo();
    EXPECT_EQ(Kept(), (QStringList{"", "1)", "2)", "3)", "", "1)", "2)"}));
    document.redo();
    EXPECT_EQ(Kept(), (QStringList{"", "1)", "", "1)", "", "1)", "2)"}));
    document.clear();
    EXPECT_EQ(Kept(), QStringList{""});
}

} // namespace
} // namespace trellic
