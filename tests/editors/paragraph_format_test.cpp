#include "editors/paragraph_format_dlg.h"
#include "editors_fixture.h"
#include "temp_dir.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::EditorBench;
using testing::OnNextModal;

// Runs the dialog on format; act works on it while it is open and must close it.
int RunDialog(EditorBench& bench, ParaFormat& format,
              const std::function<void(CParagraphFormatSetupDlg&)>& act) {
    CParagraphFormatSetupDlg dialog(bench.context, format);
    OnNextModal([&](QWidget*) { act(dialog); });
    return dialog.exec();
}

QAction* MenuAction(QWidget& dialog, const char* name) {
    return dialog.findChild<QAction*>(QString::fromLatin1(name));
}

TEST(ParagraphFormatDialog, FreshRecordOpensEmptyAlignedAndStoresLeft) {
    EditorBench bench;
    ParaFormat format;
    RunDialog(bench, format, [](CParagraphFormatSetupDlg& d) {
        EXPECT_EQ(d.Alignment()->currentIndex(), -1);
        EXPECT_EQ(d.BulletStyle()->currentText(), "None");
        EXPECT_EQ(d.LineSpacing()->currentText(), "Single");
        EXPECT_EQ(d.Indentation()->text(), "0");
        EXPECT_EQ(d.IndentSlider()->value(), 0);
        d.OkButton()->click();
    });
    EXPECT_EQ(format, (ParaFormat{0, 1, 0, 0}));
}

TEST(ParagraphFormatDialog, AlignmentListOrderDiffersFromTheCodes) {
    EditorBench bench;
    ParaFormat format{0, 2, 0, 0};
    RunDialog(bench, format, [](CParagraphFormatSetupDlg& d) {
        EXPECT_EQ(d.Alignment()->currentText(), "Right");
        d.Alignment()->setCurrentIndex(d.Alignment()->findText("Centred"));
        d.OkButton()->click();
    });
    EXPECT_EQ(format.alignment, 3);
    RunDialog(bench, format, [](CParagraphFormatSetupDlg& d) {
        EXPECT_EQ(d.Alignment()->currentText(), "Centred");
        d.Alignment()->setCurrentIndex(d.Alignment()->findText("Justified"));
        d.BulletStyle()->setCurrentIndex(d.BulletStyle()->findText("Uppercase Roman Numerals"));
        d.LineSpacing()->setCurrentIndex(d.LineSpacing()->findText("Double"));
        d.OkButton()->click();
    });
    EXPECT_EQ(format, (ParaFormat{6, 4, 2, 0}));
}

TEST(ParagraphFormatDialog, IndentationTextAndSliderKeepInStep) {
    EditorBench bench;
    ParaFormat format{0, 1, 0, 0};
    // The user moves the slider three steps: the text follows and OK stores it.
    RunDialog(bench, format, [](CParagraphFormatSetupDlg& d) {
        d.IndentSlider()->setFocus();
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(d.IndentSlider(), Qt::Key_Right);
        }
        EXPECT_EQ(d.Indentation()->text(), "3");
        d.OkButton()->click();
    });
    EXPECT_EQ(format.indent, 3);

    // A typed 12 puts the slider at its end but is stored as typed.
    RunDialog(bench, format, [](CParagraphFormatSetupDlg& d) {
        d.Indentation()->clear();
        QTest::keyClicks(d.Indentation(), "12");
        EXPECT_EQ(d.IndentSlider()->value(), 5);
        d.OkButton()->click();
    });
    EXPECT_EQ(format.indent, 12);

    // Letters and signs cannot be typed; an emptied text stores 0.
    RunDialog(bench, format, [](CParagraphFormatSetupDlg& d) {
        d.Indentation()->clear();
        QTest::keyClicks(d.Indentation(), "-x");
        EXPECT_EQ(d.Indentation()->text(), "");
        EXPECT_EQ(d.IndentSlider()->value(), 0);
        d.OkButton()->click();
    });
    EXPECT_EQ(format.indent, 0);
}

TEST(ParagraphFormatDialog, DamagedValuesOpenUnselectedAndOkRepairsThem) {
    EditorBench bench;
    ParaFormat format{9, 7, 3, -4};
    RunDialog(bench, format, [](CParagraphFormatSetupDlg& d) {
        EXPECT_EQ(d.Alignment()->currentIndex(), -1);
        EXPECT_EQ(d.BulletStyle()->currentIndex(), -1);
        EXPECT_EQ(d.LineSpacing()->currentIndex(), -1);
        EXPECT_EQ(d.Indentation()->text(), "-4");
        EXPECT_EQ(d.IndentSlider()->value(), 0);
        d.OkButton()->click();
    });
    EXPECT_EQ(format, (ParaFormat{0, 1, 0, 0}));
}

TEST(ParagraphFormatDialog, TabGoesDownTheFormThenToOkAndCancel) {
    EditorBench bench;
    ParaFormat format;
    RunDialog(bench, format, [](CParagraphFormatSetupDlg& d) {
        EXPECT_EQ(d.focusWidget(), d.Alignment());
        std::vector<QWidget*> order;
        QWidget* widget = d.Alignment();
        do {
            if (widget->focusPolicy() & Qt::TabFocus) {
                order.push_back(widget);
            }
            widget = widget->nextInFocusChain();
        } while (widget != d.Alignment() && order.size() < 20);
        EXPECT_EQ(order, (std::vector<QWidget*>{d.Alignment(), d.BulletStyle(), d.LineSpacing(),
                                                d.Indentation(), d.IndentSlider(), d.OkButton(),
                                                d.CancelButton()}));
        d.CancelButton()->click();
    });
}

TEST(ParagraphFormatDialog, CancelWritesNothing) {
    EditorBench bench;
    ParaFormat format{2, 3, 1, 2};
    const ParaFormat before = format;
    EXPECT_EQ(RunDialog(bench, format,
                        [](CParagraphFormatSetupDlg& d) {
                            d.Alignment()->setCurrentIndex(0);
                            d.Indentation()->setText("4");
                            d.CancelButton()->click();
                        }),
              QDialog::Rejected);
    EXPECT_EQ(format, before);
}

TEST(ParagraphFormatDialog, PresetsLoadAtOnceAndSaveTheRecordNotTheControls) {
    EditorBench bench;
    testing::TempDir temp;
    const std::string saved = temp.File("indented.nod");

    // Save writes the record as it stands, although the controls show something else.
    ParaFormat format{4, 2, 2, 3};
    RunDialog(bench, format, [&](CParagraphFormatSetupDlg& d) {
        d.Indentation()->setText("1");
        bench.prompter.files.push_back(saved);
        MenuAction(d, "presetSave")->trigger();
        d.CancelButton()->click();
    });
    ParaFormat read;
    ASSERT_EQ(ReadPreset(PresetParts::ForParagraphFormat(read), saved, bench.prompter),
              PresetReadResult::Read);
    EXPECT_EQ(read, (ParaFormat{4, 2, 2, 3}));

    // Loading fills the record and the controls at once; Cancel does not undo it.
    ParaFormat other{0, 1, 0, 0};
    RunDialog(bench, other, [&](CParagraphFormatSetupDlg& d) {
        bench.prompter.files.push_back(saved);
        MenuAction(d, "presetLoad")->trigger();
        EXPECT_EQ(d.Alignment()->currentText(), "Right");
        EXPECT_EQ(d.LineSpacing()->currentText(), "Double");
        EXPECT_EQ(d.Indentation()->text(), "3");
        EXPECT_EQ(d.IndentSlider()->value(), 3);
        d.CancelButton()->click();
    });
    EXPECT_EQ(other, read);
    const auto& open = bench.prompter.events.back();
    EXPECT_EQ(open.kind, "open");
    EXPECT_EQ(open.options.initialFolder,
              std::string(TRELLIC_BIN_DIR) + "/node_library/paragraph_format");
    EXPECT_EQ(open.options.filter, "Node Presets (*.nod)|*.nod||");
    EXPECT_TRUE(open.options.fileMustExist);

    // A chosen file that cannot be opened changes nothing and says nothing.
    RunDialog(bench, other, [&](CParagraphFormatSetupDlg& d) {
        bench.prompter.files.push_back(temp.File("missing.nod"));
        MenuAction(d, "presetLoad")->trigger();
        EXPECT_EQ(d.Indentation()->text(), "3");
        d.CancelButton()->click();
    });
    EXPECT_EQ(other, read);
    EXPECT_TRUE(bench.prompter.Messages().empty());
}

TEST(ParagraphFormatDialog, ResetTakesTheLibraryDefault) {
    EditorBench bench;
    ParaFormat expected;
    ASSERT_TRUE(LoadDefaultPreset(bench.tree.programFolder,
                                  PresetParts::ForParagraphFormat(expected), bench.log,
                                  bench.prompter));
    ParaFormat format{6, 4, 2, 5};
    RunDialog(bench, format, [&](CParagraphFormatSetupDlg& d) {
        MenuAction(d, "presetReset")->trigger();
        EXPECT_EQ(d.Indentation()->text(), QString::number(expected.indent));
        d.CancelButton()->click();
    });
    EXPECT_EQ(format, expected);
}

} // namespace
} // namespace trellic
