#include "editors/char_format_editor.h"
#include "editors_fixture.h"
#include "render/rich_formats.h"
#include "shell/tlx_view.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::OnNextModal;

CharFormat Georgia() {
    CharFormat format;
    format.faceName = "Liberation Serif";
    format.charSet = 1;
    format.pitchAndFamily = 0x12;
    format.height = 240;
    format.color = 0x800000; // navy
    format.bold = true;
    return format;
}

// Runs the editor on format; act changes the dialog and returns whether to press OK.
bool Edit(CharFormat& format, const std::function<bool(CCharFormatDlg&)>& act,
          RichCharFormat* chosen = nullptr) {
    OnNextModal([act](QWidget* window) {
        auto* dialog = qobject_cast<CCharFormatDlg*>(window);
        ASSERT_NE(dialog, nullptr);
        if (act(*dialog)) {
            dialog->accept();
        } else {
            dialog->reject();
        }
    });
    return EditCharFormat(nullptr, format, chosen);
}

TEST(CharFormatEditor, OpensOnTheFormatAndOkWithoutChangesKeepsIt) {
    CharFormat format = Georgia();
    RichCharFormat chosen;
    EXPECT_TRUE(Edit(
        format,
        [](CCharFormatDlg& d) {
            const QFont font = d.FontChooser()->currentFont();
            EXPECT_EQ(font.family(), "Liberation Serif");
            EXPECT_EQ(font.pointSize(), 12);
            EXPECT_EQ(font.weight(), QFont::Bold);
            EXPECT_EQ(d.ColorBox()->currentText(), "Navy");
            return true;
        },
        &chosen));
    EXPECT_EQ(format, Georgia());
    // The view gets the same choice, every attribute valid.
    EXPECT_EQ(chosen.faceName, "Liberation Serif");
    EXPECT_EQ(chosen.height, 240);
    EXPECT_EQ(chosen.color, 0x800000U);
    EXPECT_TRUE(chosen.effects & kCfeBold);
    EXPECT_EQ(chosen.mask & kFullCharMask, kFullCharMask);
}

// A template's face that no test machine installs, as on many a reader's.
CharFormat MissingFace() {
    CharFormat format = Georgia();
    format.faceName = "Trellic Missing Serif Face";
    format.charSet = 0;
    format.pitchAndFamily = 0x12;
    format.bold = true;
    format.italic = true;
    return format;
}

TEST(CharFormatEditor, OkKeepsEveryUntouchedAttributeOfAFaceThatIsNotInstalled) {
    CharFormat format = MissingFace();
    RichCharFormat chosen;
    EXPECT_TRUE(Edit(
        format,
        [](CCharFormatDlg& d) {
            // The stored face is named, with the face it is drawn in.
            EXPECT_NE(d.SubstituteNote(), nullptr);
            if (d.SubstituteNote() != nullptr) {
                EXPECT_TRUE(d.SubstituteNote()->text().contains("Trellic Missing Serif Face"));
            }
            bool named = false;
            for (auto* edit : d.FontChooser()->findChildren<QLineEdit*>()) {
                named = named || edit->text() == "Trellic Missing Serif Face";
            }
            EXPECT_TRUE(named);
            return true;
        },
        &chosen));
    EXPECT_EQ(format, MissingFace());
    EXPECT_EQ(chosen.faceName, "Trellic Missing Serif Face");
    EXPECT_EQ(chosen.pitchAndFamily, 0x12);
    EXPECT_TRUE(chosen.Has(kCfeBold));

    // Changing the size alone changes nothing else.
    EXPECT_TRUE(Edit(format, [](CCharFormatDlg& d) {
        QFont font = d.FontChooser()->currentFont();
        font.setPointSize(20);
        d.FontChooser()->setCurrentFont(font);
        return true;
    }));
    CharFormat bigger = MissingFace();
    bigger.height = 400;
    EXPECT_EQ(format, bigger);

    // An installed face needs no note.
    CharFormat installed = Georgia();
    EXPECT_TRUE(Edit(installed, [](CCharFormatDlg& d) {
        EXPECT_EQ(d.SubstituteNote(), nullptr);
        return true;
    }));
}

TEST(CharFormatEditor, FormatFontChangesOnlyWhatTheUserChangedInAMixedSelection) {
    RichCharFormat missing = PlainCharFormat();
    missing.faceName = "Trellic Missing Serif Face";
    missing.effects = kCfeBold; // an explicit black
    RichCharFormat sans = PlainCharFormat();
    sans.faceName = "Liberation Sans";
    RichDocument document;
    document.paragraphs[0].runs = {{U"Head", missing}, {U"line", sans}};
    document.paragraphs[0].markFormat = sans;
    CTLXView view;
    view.ReplaceContent(document, {0, 8});

    OnNextModal([](QWidget* window) {
        auto* dialog = qobject_cast<CCharFormatDlg*>(window);
        ASSERT_NE(dialog, nullptr);
        QFont font = dialog->FontChooser()->currentFont();
        font.setPointSize(20);
        dialog->FontChooser()->setCurrentFont(font);
        dialog->accept();
    });
    view.ChooseFont();
    const RichDocument after = view.Document();
    ASSERT_EQ(after.paragraphs[0].runs.size(), 2u);
    const RichCharFormat& head = after.paragraphs[0].runs[0].format;
    const RichCharFormat& line = after.paragraphs[0].runs[1].format;
    EXPECT_EQ(head.faceName, "Trellic Missing Serif Face");
    EXPECT_TRUE(head.Has(kCfeBold));
    EXPECT_FALSE(head.Has(kCfeAutoColor));
    EXPECT_EQ(line.faceName, "Liberation Sans");
    EXPECT_FALSE(line.Has(kCfeBold));
    EXPECT_TRUE(line.Has(kCfeAutoColor));
    EXPECT_EQ(head.height, 400);
    EXPECT_EQ(line.height, 400);
}

TEST(CharFormatEditor, EveryAttributeCanBeChosen) {
    CharFormat format = Georgia();
    EXPECT_TRUE(Edit(format, [](CCharFormatDlg& d) {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPointSize(15);
        font.setWeight(QFont::Normal);
        font.setItalic(true);
        font.setUnderline(true);
        font.setStrikeOut(true);
        d.FontChooser()->setCurrentFont(font);
        d.ColorBox()->setCurrentIndex(d.ColorBox()->findText("Red"));
        return true;
    }));
    EXPECT_EQ(format.faceName, "Liberation Sans");
    EXPECT_EQ(format.height, 300);
    EXPECT_FALSE(format.bold);
    EXPECT_TRUE(format.italic);
    EXPECT_TRUE(format.underline);
    EXPECT_TRUE(format.strikeout);
    EXPECT_EQ(format.color, 0x0000FF); // red 255, green 0, blue 0
    // Another face: a plain character set, and its own pitch and family.
    EXPECT_EQ(format.charSet, 0);
    EXPECT_EQ(format.pitchAndFamily, 0);
}

TEST(CharFormatEditor, BoldFollowsTheChosenWeight) {
    CharFormat format = Georgia();
    format.bold = false;
    EXPECT_TRUE(Edit(format, [](CCharFormatDlg& d) {
        QFont font(QStringLiteral("Liberation Serif"), 12);
        font.setWeight(QFont::Bold);
        d.FontChooser()->setCurrentFont(font);
        return true;
    }));
    EXPECT_TRUE(format.bold);
    // The same face keeps the character set and family it had.
    EXPECT_EQ(format.charSet, 1);
    EXPECT_EQ(format.pitchAndFamily, 0x12);
}

TEST(CharFormatEditor, ColoursOutsideTheListStandAsCustomEntries) {
    CharFormat format = Georgia();
    format.color = 0x123456;
    EXPECT_TRUE(Edit(format, [](CCharFormatDlg& d) {
        EXPECT_EQ(d.ColorBox()->currentText(), "#563412");
        EXPECT_EQ(d.ColorBox()->itemText(d.ColorBox()->count() - 1), "Custom...");
        return true;
    }));
    EXPECT_EQ(format.color, 0x123456);
}

TEST(CharFormatEditor, EnterAndEscapeInTheFontListsAnswerForTheWholeWindow) {
    for (const auto& row : {std::pair{Qt::Key_Escape, false}, std::pair{Qt::Key_Return, true}}) {
        // Named copies: clang 14 lets no lambda capture a structured binding.
        const Qt::Key key = row.first;
        const bool accepted = row.second;
        CharFormat format = Georgia();
        bool stillOpen = false;
        OnNextModal([key](QWidget* window) {
            auto* dialog = qobject_cast<CCharFormatDlg*>(window);
            ASSERT_NE(dialog, nullptr);
            auto* family = dialog->FontChooser()->findChild<QLineEdit*>();
            ASSERT_NE(family, nullptr);
            family->setFocus();
            QTest::keyClick(family, key);
        });
        // Should the key close only the embedded chooser, the window would wait for a user.
        QTimer::singleShot(3000, [&stillOpen] {
            if (QWidget* open = QApplication::activeModalWidget()) {
                stillOpen = true;
                qobject_cast<QDialog*>(open)->reject();
            }
        });
        EXPECT_EQ(EditCharFormat(nullptr, format), accepted);
        EXPECT_FALSE(stillOpen);
        EXPECT_EQ(format, Georgia());
    }
}

TEST(CharFormatEditor, CancelChangesNothing) {
    CharFormat format = Georgia();
    EXPECT_FALSE(Edit(format, [](CCharFormatDlg& d) {
        d.FontChooser()->setCurrentFont(QFont(QStringLiteral("DejaVu Sans Mono"), 30));
        d.ColorBox()->setCurrentIndex(0);
        return false;
    }));
    EXPECT_EQ(format, Georgia());
}

} // namespace
} // namespace trellic
