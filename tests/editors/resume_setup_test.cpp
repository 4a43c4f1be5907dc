#include "editors/char_format_editor.h"
#include "editors/resume_setup_dlg.h"
#include "editors/styles_setup_dlg.h"
#include "editors_fixture.h"
#include "temp_dir.h"

#include <QAction>
#include <QComboBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::Child;
using testing::EditorBench;
using testing::OnNextModal;

// Runs the Resume dialog; act works on it while it is open and must close it.
int RunDialog(EditorBench& bench, const std::function<void(CResumeSetupDlg&)>& act) {
    CResumeSetupDlg dialog(bench.context);
    OnNextModal([&](QWidget*) { act(dialog); });
    return dialog.exec();
}

void Trigger(QWidget& dialog, const char* action) {
    auto* found = dialog.findChild<QAction*>(QString::fromLatin1(action));
    ASSERT_NE(found, nullptr) << action;
    found->trigger();
}

ResumeNode& Resume(EditorBench& bench) {
    return *bench.tree.resume;
}

TEST(ResumeDialog, OpensOnTheRecordAndOkStoresTrimmedTexts) {
    EditorBench bench;
    Resume(bench).name = "Old name";
    Resume(bench).description = "First line\r\nSecond line";
    Resume(bench).renderer = kRendererTxt;

    EXPECT_EQ(RunDialog(bench,
                        [](CResumeSetupDlg& d) {
                            EXPECT_EQ(d.windowTitle(), "Resume");
                            EXPECT_EQ(d.NameEdit()->text(), "Old name");
                            EXPECT_EQ(d.DescriptionEdit()->toPlainText(),
                                      "First line\nSecond line");
                            EXPECT_FALSE(d.RtfButton()->isChecked());
                            EXPECT_TRUE(d.TxtButton()->isChecked());
                            EXPECT_EQ(d.focusWidget(), d.NameEdit());

                            d.NameEdit()->setText(QString::fromUtf8("  Ren\xC3\xA9 Doe \t"));
                            // Enter in the description starts a new line instead of pressing OK.
                            d.DescriptionEdit()->clear();
                            QTest::keyClick(d.DescriptionEdit(), Qt::Key_Return);
                            QTest::keyClicks(d.DescriptionEdit(), " Senior engineer");
                            QTest::keyClick(d.DescriptionEdit(), Qt::Key_Return);
                            QTest::keyClicks(d.DescriptionEdit(), "Ten years ");
                            QTest::keyClick(d.DescriptionEdit(), Qt::Key_Return);
                            EXPECT_TRUE(d.isVisible());
                            d.RtfButton()->click();
                            d.OkButton()->click();
                        }),
              QDialog::Accepted);
    EXPECT_EQ(Resume(bench).name, "Ren\xC3\xA9 Doe");
    EXPECT_EQ(Resume(bench).description, "Senior engineer\r\nTen years");
    EXPECT_EQ(Resume(bench).renderer, 0);
}

TEST(ResumeDialog, BlankNameIsRefusedAndTheDialogStaysOpen) {
    EditorBench bench;
    const ResumeNode before = Resume(bench);
    const std::string refusal =
        "The node is missing a required parameter:\n\nPlease enter a resume name.";

    EXPECT_EQ(RunDialog(bench,
                        [&](CResumeSetupDlg& d) {
                            d.TxtButton()->click();
                            d.DescriptionEdit()->setPlainText("Kept only at OK");
                            for (const char* blank : {"", "   ", "\t \t"}) {
                                d.NameEdit()->setText(QString::fromLatin1(blank));
                                d.OkButton()->click();
                                EXPECT_TRUE(d.isVisible()) << '"' << blank << '"';
                                EXPECT_EQ(d.result(), QDialog::Rejected);
                                EXPECT_EQ(Resume(bench), before);
                            }
                            ASSERT_EQ(bench.prompter.events.size(), 3U);
                            for (const auto& event : bench.prompter.events) {
                                EXPECT_EQ(event.kind, "message");
                                EXPECT_EQ(event.text, refusal);
                                EXPECT_EQ(event.icon, MessageIcon::Exclamation);
                            }
                            d.NameEdit()->setText("Jo");
                            d.OkButton()->click();
                        }),
              QDialog::Accepted);
    EXPECT_EQ(Resume(bench).name, "Jo");
    EXPECT_EQ(Resume(bench).renderer, 1);
}

TEST(ResumeDialog, CancelWritesNothingOfTheControls) {
    EditorBench bench;
    const ResumeNode before = Resume(bench);
    EXPECT_EQ(RunDialog(bench,
                        [](CResumeSetupDlg& d) {
                            d.NameEdit()->setText("Changed");
                            d.DescriptionEdit()->setPlainText("Changed");
                            d.TxtButton()->click();
                            d.CancelButton()->click();
                        }),
              QDialog::Rejected);
    EXPECT_EQ(Resume(bench), before);
}

TEST(ResumeDialog, DefaultCharacterFormatIsKeptAfterCancelAndSetInTheView) {
    EditorBench bench;
    const CharFormat formatBefore = Resume(bench).defaultCharFormat;
    const RichCharFormat viewBefore = bench.view.DefaultCharFormat();

    RunDialog(bench, [](CResumeSetupDlg& d) {
        // A cancelled font choice changes neither the record nor the view.
        OnNextModal([](QWidget* window) {
            auto* editor = qobject_cast<CCharFormatDlg*>(window);
            ASSERT_NE(editor, nullptr);
            editor->FontChooser()->setCurrentFont(QFont(QStringLiteral("DejaVu Sans Mono"), 30));
            editor->reject();
        });
        Child<QPushButton>(&d, "defaultCharFormat")->click();
        d.CancelButton()->click();
    });
    EXPECT_EQ(Resume(bench).defaultCharFormat, formatBefore);
    EXPECT_EQ(bench.view.DefaultCharFormat().faceName, viewBefore.faceName);

    RunDialog(bench, [](CResumeSetupDlg& d) {
        OnNextModal([](QWidget* window) {
            auto* editor = qobject_cast<CCharFormatDlg*>(window);
            ASSERT_NE(editor, nullptr);
            QFont font(QStringLiteral("Liberation Serif"), 14);
            font.setWeight(QFont::Bold);
            font.setUnderline(true);
            editor->FontChooser()->setCurrentFont(font);
            editor->ColorBox()->setCurrentIndex(editor->ColorBox()->findText("Red"));
            editor->accept();
        });
        Child<QPushButton>(&d, "defaultCharFormat")->click();
        d.CancelButton()->click();
    });
    const CharFormat& format = Resume(bench).defaultCharFormat;
    EXPECT_EQ(format.faceName, "Liberation Serif");
    EXPECT_EQ(format.height, 280);
    EXPECT_TRUE(format.bold);
    EXPECT_TRUE(format.underline);
    EXPECT_EQ(format.color, 0x0000FF);

    const RichCharFormat view = bench.view.DefaultCharFormat();
    EXPECT_EQ(view.faceName, "Liberation Serif");
    EXPECT_EQ(view.height, 280);
    EXPECT_EQ(view.color, 0x0000FFU);
}

TEST(ResumeDialog, ResumeStyleEditsTheResumeStyleAndCancelKeepsIt) {
    EditorBench bench;
    RunDialog(bench, [](CResumeSetupDlg& d) {
        OnNextModal([](QWidget* window) {
            EXPECT_EQ(window->windowTitle(), "Style");
            Child<QLineEdit>(window, "author")->setText("Pat");
            Child<QPushButton>(window, "okButton")->click();
        });
        Child<QPushButton>(&d, "resumeStyle")->click();
        d.CancelButton()->click();
    });
    EXPECT_EQ(Resume(bench).style.info.author, "Pat");
}

TEST(ResumeDialog, LoadedPresetRefreshesTheControlsAndOkStoresTheTxtRenderer) {
    EditorBench bench;
    testing::TempDir temp;
    const std::string path = temp.File("plain.nod");
    ResumeNode preset;
    preset.name = "From preset";
    preset.description = "One\r\nTwo";
    preset.renderer = kRendererTxt;
    preset.style.info.author = "Preset author";
    bench.prompter.files.push_back(path);
    ASSERT_TRUE(SavePresetAs(PresetParts::ForResume(preset), bench.prompter));
    Resume(bench).renderer = kRendererRtf;

    EXPECT_EQ(RunDialog(bench,
                        [&](CResumeSetupDlg& d) {
                            EXPECT_TRUE(d.RtfButton()->isChecked());
                            bench.prompter.files.push_back(path);
                            Trigger(d, "presetLoad");
                            EXPECT_FALSE(d.RtfButton()->isChecked());
                            EXPECT_TRUE(d.TxtButton()->isChecked());
                            EXPECT_EQ(d.NameEdit()->text(), "From preset");
                            EXPECT_EQ(d.DescriptionEdit()->toPlainText(), "One\nTwo");
                            d.OkButton()->click();
                        }),
              QDialog::Accepted);
    EXPECT_EQ(Resume(bench), preset);
    const auto& open = bench.prompter.events.back();
    EXPECT_EQ(open.kind, "open");
    EXPECT_EQ(open.options.initialFolder, std::string(TRELLIC_BIN_DIR) + "/node_library/resume");
    EXPECT_EQ(open.options.filter, "Node Presets (*.nod)|*.nod||");
}

TEST(ResumeDialog, PresetsWriteTheRecordAtOnce) {
    EditorBench bench;
    testing::TempDir temp;
    ResumeNode library;
    ASSERT_TRUE(LoadDefaultPreset(bench.tree.programFolder, PresetParts::ForResume(library),
                                  bench.log, bench.prompter));
    Resume(bench).name = "Mine";
    Resume(bench).renderer = kRendererTxt;
    Resume(bench).style.sectionBullet = 7;

    RunDialog(bench, [&](CResumeSetupDlg& d) {
        // Save holds the record, not the edited controls.
        d.NameEdit()->setText("Typed, not stored");
        bench.prompter.files.push_back(temp.File("mine.nod"));
        Trigger(d, "presetSave");

        // Reset takes the library's default, renderer included, and Cancel keeps it.
        Trigger(d, "presetReset");
        EXPECT_EQ(d.NameEdit()->text(), QString::fromStdString(library.name));
        EXPECT_EQ(d.TxtButton()->isChecked(), library.renderer != 0);

        // A chosen file that cannot be opened changes nothing and says nothing.
        d.NameEdit()->setText("Typed again");
        bench.prompter.files.push_back(temp.File("missing.nod"));
        Trigger(d, "presetLoad");
        EXPECT_EQ(d.NameEdit()->text(), "Typed again");
        d.CancelButton()->click();
    });
    EXPECT_EQ(Resume(bench), library);
    EXPECT_TRUE(bench.prompter.Messages().empty());

    ResumeNode saved;
    ASSERT_EQ(ReadPreset(PresetParts::ForResume(saved), temp.File("mine.nod"), bench.prompter),
              PresetReadResult::Read);
    EXPECT_EQ(saved.name, "Mine");
    EXPECT_EQ(saved.renderer, 1);
    EXPECT_EQ(saved.style.sectionBullet, 7);
}

TEST(ResumeDialog, MissingDefaultPresetIsReportedAndChangesNothing) {
    EditorBench bench;
    testing::TempDir program;
    std::filesystem::copy(std::string(TRELLIC_BIN_DIR) + "/node_library",
                          program.File("node_library"), std::filesystem::copy_options::recursive);
    std::filesystem::remove(program.File("node_library/resume/default.nod"));
    bench.tree.programFolder = program.Path();
    Resume(bench).name = "Mine";
    const ResumeNode before = Resume(bench);

    RunDialog(bench, [&](CResumeSetupDlg& d) {
        d.NameEdit()->setText("Typed");
        d.TxtButton()->click();
        Trigger(d, "presetReset");
        EXPECT_EQ(d.NameEdit()->text(), "Typed");
        EXPECT_TRUE(d.TxtButton()->isChecked());
        d.CancelButton()->click();
    });
    EXPECT_EQ(Resume(bench), before);
    EXPECT_NE(bench.log.Text().find("**NODE LIBRARY ERROR**\r\nERROR: Trellic was unable to load "
                                    "a node preset from the Node Library."),
              std::string::npos);
    ASSERT_EQ(bench.prompter.events.size(), 2U);
    EXPECT_EQ(bench.prompter.events[0].text,
              "An error occurred. Details will be posted to the TLX Engine window.");
    EXPECT_EQ(bench.prompter.events[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(bench.prompter.events[1].kind, "engine window");
}

} // namespace
} // namespace trellic
