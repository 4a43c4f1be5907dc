#include "editors/char_format_editor.h"
#include "editors/editor_text.h"
#include "editors/paragraph_format_dlg.h"
#include "editors/styles_setup_dlg.h"
#include "editors_fixture.h"
#include "temp_dir.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace trellic {
namespace {

using testing::Child;
using testing::EditorBench;
using testing::OnNextModal;

// Runs a dialog; act works on it while it is open and must close it.
template <typename Dialog> int Run(Dialog& dialog, const std::function<void(Dialog&)>& act) {
    OnNextModal([&](QWidget*) { act(dialog); });
    return dialog.exec();
}

int RunStyle(EditorBench& bench, const std::function<void(CStylesSetupDlg&)>& act) {
    CStylesSetupDlg dialog(bench.context, bench.tree.resume->style);
    return Run(dialog, act);
}

int RunHeader(EditorBench& bench, const std::function<void(CHeaderStylesSetupDlg&)>& act) {
    CHeaderStylesSetupDlg dialog(bench.context, bench.tree.resume->style);
    return Run(dialog, act);
}

int RunBullet(EditorBench& bench, BulletStyleKind kind,
              const std::function<void(CBulletStylesSetupDlg&)>& act) {
    CBulletStylesSetupDlg dialog(bench.context, bench.tree.resume->style, kind);
    return Run(dialog, act);
}

void Trigger(QWidget& dialog, const char* action) {
    auto* found = dialog.findChild<QAction*>(QString::fromLatin1(action));
    ASSERT_NE(found, nullptr) << action;
    found->trigger();
}

void Click(QWidget& dialog, const char* button) {
    if (auto* found = Child<QPushButton>(&dialog, button)) {
        found->click();
    }
}

StyleNode& Style(EditorBench& bench) {
    return bench.tree.resume->style;
}

// The three bullet dialogs with what tells them apart.
struct BulletKindRow {
    BulletStyleKind kind;
    const char* caption;
    const char* folder;
    int32_t StyleNode::*bullet;
    TextStyle StyleNode::*textStyle;
};

const BulletKindRow kBulletKinds[] = {
    {BulletStyleKind::ResumeSection, "Resume Section Styles", "resume_section_styles",
     &StyleNode::sectionBullet, &StyleNode::sectionStyle},
    {BulletStyleKind::SLField, "Single Line Field Styles", "sl_field_styles",
     &StyleNode::slFieldBullet, &StyleNode::slFieldStyle},
    {BulletStyleKind::MLField, "Multiple Line Field Styles", "ml_field_styles",
     &StyleNode::mlFieldBullet, &StyleNode::mlFieldStyle},
};

PresetCategory CategoryOf(BulletStyleKind kind) {
    switch (kind) {
    case BulletStyleKind::ResumeSection:
        return PresetCategory::ResumeSectionStyles;
    case BulletStyleKind::SLField:
        return PresetCategory::SLFieldStyles;
    case BulletStyleKind::MLField:
        break;
    }
    return PresetCategory::MLFieldStyles;
}

// ---------------------------------------------------------------------------------------------
// Style

TEST(StyleDialog, VersionIsStoredAsTheTypedNumberRoundedToTwoDecimals) {
    struct Row {
        const char* typed;
        float stored;
        const char* shownNextTime;
    };
    const Row rows[] = {
        {"2", 2.0F, "2.00"},    {"1.256", 1.26F, "1.26"},  {"abc", 0.0F, "0.00"},
        {"", 0.0F, "0.00"},     {" +3.999", 4.0F, "4.00"}, {"1.5 beta", 1.5F, "1.50"},
        {"1e60", 0.0F, "0.00"}, // beyond what the record's float holds
        {"nan", 0.0F, "0.00"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.typed);
        EditorBench bench;
        Style(bench).info.version = 9.0F;
        RunStyle(bench, [&](CStylesSetupDlg& d) {
            EXPECT_EQ(d.VersionEdit()->text(), "9.00");
            d.VersionEdit()->setText(QString::fromLatin1(row.typed));
            d.OkButton()->click();
        });
        EXPECT_EQ(Style(bench).info.version, row.stored);
        RunStyle(bench, [&](CStylesSetupDlg& d) {
            EXPECT_EQ(d.VersionEdit()->text(), row.shownNextTime);
            d.CancelButton()->click();
        });
    }
}

TEST(StyleDialog, OkStoresTheTrimmedInformationForBothRenderers) {
    EditorBench bench;
    NodeInfo& info = Style(bench).info;
    info = NodeInfo{"Line one\r\nLine two", "Ann", "May 2020", 1.5F, 0};

    EXPECT_EQ(RunStyle(bench,
                       [](CStylesSetupDlg& d) {
                           EXPECT_EQ(d.windowTitle(), "Style");
                           EXPECT_EQ(d.AuthorEdit()->text(), "Ann");
                           EXPECT_EQ(d.ReleaseDateEdit()->text(), "May 2020");
                           EXPECT_EQ(d.DescriptionEdit()->toPlainText(), "Line one\nLine two");
                           EXPECT_EQ(d.RenderCapabilitiesEdit()->text(), "No Rendering");
                           EXPECT_TRUE(d.RenderCapabilitiesEdit()->isReadOnly());
                           EXPECT_EQ(d.focusWidget(), d.AuthorEdit());

                           d.AuthorEdit()->setText("  Bo ");
                           d.ReleaseDateEdit()->setText("\tJune ");
                           d.DescriptionEdit()->setPlainText("\n First\nSecond \n");
                           d.OkButton()->click();
                       }),
              QDialog::Accepted);
    EXPECT_EQ(info, (NodeInfo{"First\r\nSecond", "Bo", "June", 1.5F, 3}));
}

TEST(StyleDialog, RenderCapabilitiesAreShownByName) {
    const std::pair<int32_t, const char*> rows[] = {
        {1, "Rich Text File (RTF) Rendering"},
        {2, "Text File (TXT) Rendering"},
        {3, "Rich Text File (RTF) and Text File (TXT) Rendering"},
        {4, ""},
        {-1, ""},
    };
    for (const auto& row : rows) {
        // Named copies: clang 14 lets no lambda capture a structured binding.
        const int32_t capabilities = row.first;
        const char* const text = row.second;
        EditorBench bench;
        Style(bench).info.renderCapabilities = capabilities;
        RunStyle(bench, [&](CStylesSetupDlg& d) {
            EXPECT_EQ(d.RenderCapabilitiesEdit()->text(), text) << capabilities;
            d.CancelButton()->click();
        });
    }
}

TEST(StyleDialog, CancelWritesNothingOfTheControls) {
    EditorBench bench;
    const StyleNode before = Style(bench);
    EXPECT_EQ(RunStyle(bench,
                       [](CStylesSetupDlg& d) {
                           d.AuthorEdit()->setText("Changed");
                           d.VersionEdit()->setText("7");
                           d.DescriptionEdit()->setPlainText("Changed");
                           d.CancelButton()->click();
                       }),
              QDialog::Rejected);
    EXPECT_EQ(Style(bench), before);
}

TEST(StyleDialog, InputNodeButtonsOpenEachKindOnItsOwnFields) {
    EditorBench bench;
    Style(bench).headerUnderline = false;
    RunStyle(bench, [](CStylesSetupDlg& d) {
        OnNextModal([](QWidget* window) {
            EXPECT_EQ(window->windowTitle(), "Header Styles");
            Child<QCheckBox>(window, "underline")->setChecked(true);
            Click(*window, "okButton");
        });
        Click(d, "headerStyles");
        const std::pair<const char*, const char*> bulletButtons[] = {
            {"sectionStyles", "Resume Section Styles"},
            {"slFieldStyles", "Single Line Field Styles"},
            {"mlFieldStyles", "Multiple Line Field Styles"},
        };
        int bullet = 5;
        for (const auto& [button, caption] : bulletButtons) {
            OnNextModal([caption = caption, bullet](QWidget* window) {
                EXPECT_EQ(window->windowTitle(), caption);
                Child<QComboBox>(window, "bulletStyle")->setCurrentIndex(bullet);
                Click(*window, "okButton");
            });
            Click(d, button);
            ++bullet;
        }
        // Cancel in the Style dialog keeps what the sub-dialogs stored.
        d.CancelButton()->click();
    });
    EXPECT_TRUE(Style(bench).headerUnderline);
    EXPECT_EQ(Style(bench).sectionBullet, 5);
    EXPECT_EQ(Style(bench).slFieldBullet, 6);
    EXPECT_EQ(Style(bench).mlFieldBullet, 7);
}

TEST(StyleDialog, PresetsWriteTheStyleAtOnceAndRefreshTheInformation) {
    EditorBench bench;
    testing::TempDir temp;
    StyleNode library;
    ASSERT_TRUE(LoadDefaultPreset(bench.tree.programFolder, PresetParts::ForStyle(library),
                                  bench.log, bench.prompter));
    Style(bench).info = NodeInfo{"Mine", "Me", "Today", 4.25F, 7};
    Style(bench).mlFieldBullet = 9;
    const StyleNode mine = Style(bench);

    RunStyle(bench, [&](CStylesSetupDlg& d) {
        EXPECT_EQ(d.RenderCapabilitiesEdit()->text(), "");
        d.AuthorEdit()->setText("Typed, not stored");
        bench.prompter.files.push_back(temp.File("mine.nod"));
        Trigger(d, "presetSave");

        Trigger(d, "presetReset");
        EXPECT_EQ(d.AuthorEdit()->text(), QString::fromStdString(library.info.author));
        EXPECT_EQ(d.VersionEdit()->text(),
                  QString::number(static_cast<double>(library.info.version), 'f', 2));
        EXPECT_EQ(d.ReleaseDateEdit()->text(), QString::fromStdString(library.info.releaseDate));
        EXPECT_EQ(d.RenderCapabilitiesEdit()->text(),
                  RenderCapabilitiesText(library.info.renderCapabilities));
        EXPECT_EQ(Style(bench), library);

        // Loading the saved file brings back even a capabilities value without a text, which
        // leaves the field as the reset filled it.
        bench.prompter.files.push_back(temp.File("mine.nod"));
        Trigger(d, "presetLoad");
        EXPECT_EQ(d.AuthorEdit()->text(), "Me");
        EXPECT_EQ(d.VersionEdit()->text(), "4.25");
        EXPECT_EQ(d.RenderCapabilitiesEdit()->text(),
                  RenderCapabilitiesText(library.info.renderCapabilities));
        d.CancelButton()->click();
    });
    EXPECT_EQ(Style(bench), mine);
    EXPECT_EQ(bench.prompter.events.back().options.initialFolder,
              std::string(TRELLIC_BIN_DIR) + "/node_library/style");
}

// ---------------------------------------------------------------------------------------------
// Header Styles

TEST(HeaderStylesDialog, RefreshRenderStoresTheUnderlineAndRendersAndCancelKeepsIt) {
    EditorBench bench;
    bench.AddHeader("Experience");
    Style(bench).headerUnderline = false;

    EXPECT_EQ(RunHeader(bench,
                        [&](CHeaderStylesSetupDlg& d) {
                            EXPECT_FALSE(d.Underline()->isChecked());
                            d.Underline()->setChecked(true);
                            EXPECT_FALSE(Style(bench).headerUnderline);
                            Click(d, "refreshRender");
                            EXPECT_TRUE(Style(bench).headerUnderline);
                            EXPECT_EQ(bench.view.ContentReplacements(), 1);
                            EXPECT_NE(bench.ViewText().find("Experience"), std::string::npos);
                            // The rule under the header is a row of macrons.
                            EXPECT_NE(bench.ViewText().find("\xC2\xAF\xC2\xAF\xC2\xAF"),
                                      std::string::npos);
                            d.CancelButton()->click();
                        }),
              QDialog::Rejected);
    EXPECT_TRUE(Style(bench).headerUnderline);

    // OK stores the box as it stands, without rendering.
    RunHeader(bench, [](CHeaderStylesSetupDlg& d) {
        d.Underline()->setChecked(false);
        d.OkButton()->click();
    });
    EXPECT_FALSE(Style(bench).headerUnderline);
    EXPECT_EQ(bench.view.ContentReplacements(), 1);
}

TEST(HeaderStylesDialog, PresetsCarryTheUnderlineAndTheHeaderStyle) {
    EditorBench bench;
    testing::TempDir temp;
    bool libraryUnderline = false;
    TextStyle libraryStyle;
    ASSERT_TRUE(LoadDefaultPreset(bench.tree.programFolder,
                                  PresetParts::ForHeaderStyles(libraryUnderline, libraryStyle),
                                  bench.log, bench.prompter));
    Style(bench).headerUnderline = !libraryUnderline;
    Style(bench).headerStyle.charFormat.faceName = "Mine";

    RunHeader(bench, [&](CHeaderStylesSetupDlg& d) {
        bench.prompter.files.push_back(temp.File("mine.nod"));
        Trigger(d, "presetSave");
        Trigger(d, "presetReset");
        EXPECT_EQ(d.Underline()->isChecked(), libraryUnderline);
        d.CancelButton()->click();
    });
    EXPECT_EQ(Style(bench).headerUnderline, libraryUnderline);
    EXPECT_EQ(Style(bench).headerStyle, libraryStyle);

    RunHeader(bench, [&](CHeaderStylesSetupDlg& d) {
        bench.prompter.files.push_back(temp.File("mine.nod"));
        Trigger(d, "presetLoad");
        EXPECT_EQ(d.Underline()->isChecked(), !libraryUnderline);
        d.CancelButton()->click();
    });
    EXPECT_EQ(Style(bench).headerUnderline, !libraryUnderline);
    EXPECT_EQ(Style(bench).headerStyle.charFormat.faceName, "Mine");
    EXPECT_EQ(bench.prompter.events.back().options.initialFolder,
              std::string(TRELLIC_BIN_DIR) + "/node_library/header_styles");
}

// ---------------------------------------------------------------------------------------------
// Resume Section, Single Line Field and Multiple Line Field Styles

TEST(BulletStylesDialog, ListsTheBulletsInStoredOrderAndOkStoresTheChoice) {
    const char* const names[] = {
        "None",
        "Circle",
        "3D Circle",
        "Square",
        "3D Square",
        "Diamond",
        "Multiple Diamonds",
        "Star",
        "3D Star",
        "3D Arrow",
        "Thin Arrow",
        "Thick Arrow",
        "Outlined Arrow",
        "Tick",
        "Cross",
        "Plus (TXT)",
        "Minus (TXT)",
    };
    for (const BulletKindRow& row : kBulletKinds) {
        SCOPED_TRACE(row.caption);
        EditorBench bench;
        Style(bench).*row.bullet = 2;
        EXPECT_EQ(RunBullet(bench, row.kind,
                            [&](CBulletStylesSetupDlg& d) {
                                EXPECT_EQ(d.windowTitle(), row.caption);
                                QComboBox* box = d.BulletStyle();
                                ASSERT_EQ(box->count(), 17);
                                for (int i = 0; i < 17; ++i) {
                                    EXPECT_EQ(box->itemText(i), names[i]) << i;
                                }
                                EXPECT_FALSE(box->isEditable());
                                EXPECT_EQ(box->currentText(), "3D Circle");
                                box->setCurrentIndex(box->findText("Tick"));
                                d.OkButton()->click();
                            }),
                  QDialog::Accepted);
        EXPECT_EQ(Style(bench).*row.bullet, 13);
    }
}

TEST(BulletStylesDialog, BulletOutsideTheListOpensUnselectedAndIsStoredAsNone) {
    for (const BulletKindRow& row : kBulletKinds) {
        SCOPED_TRACE(row.caption);
        EditorBench bench;
        bench.AddHeader("Experience");
        for (const int32_t damaged : {20, -1}) {
            // OK takes "None" for an empty selection...
            Style(bench).*row.bullet = damaged;
            RunBullet(bench, row.kind, [](CBulletStylesSetupDlg& d) {
                EXPECT_EQ(d.BulletStyle()->currentIndex(), -1);
                d.OkButton()->click();
            });
            EXPECT_EQ(Style(bench).*row.bullet, 0);

            // ...and so does Refresh Render, which renders with it.
            Style(bench).*row.bullet = damaged;
            const int renders = bench.view.ContentReplacements();
            RunBullet(bench, row.kind, [&](CBulletStylesSetupDlg& d) {
                Click(d, "refreshRender");
                EXPECT_EQ(d.BulletStyle()->currentText(), "None");
                EXPECT_EQ(Style(bench).*row.bullet, 0);
                EXPECT_EQ(bench.view.ContentReplacements(), renders + 1);
                d.CancelButton()->click();
            });
            EXPECT_EQ(Style(bench).*row.bullet, 0);
        }
    }
}

TEST(BulletStylesDialog, CancelKeepsTheStoredBullet) {
    EditorBench bench;
    Style(bench).slFieldBullet = 4;
    RunBullet(bench, BulletStyleKind::SLField, [](CBulletStylesSetupDlg& d) {
        d.BulletStyle()->setCurrentIndex(9);
        d.CancelButton()->click();
    });
    EXPECT_EQ(Style(bench).slFieldBullet, 4);
}

TEST(BulletStylesDialog, PresetsOfOneBulletKindLoadIntoAnother) {
    EditorBench bench;
    testing::TempDir temp;
    StyleNode& style = Style(bench);
    style.slFieldBullet = 14;
    style.slFieldStyle.charFormat.faceName = "Saved face";
    style.slFieldStyle.paraFormat.indent = 3;

    RunBullet(bench, BulletStyleKind::SLField, [&](CBulletStylesSetupDlg& d) {
        // The record goes to the file, not the unconfirmed selection.
        d.BulletStyle()->setCurrentIndex(1);
        bench.prompter.files.push_back(temp.File("sl.nod"));
        Trigger(d, "presetSave");
        d.CancelButton()->click();
    });
    RunBullet(bench, BulletStyleKind::ResumeSection, [&](CBulletStylesSetupDlg& d) {
        bench.prompter.files.push_back(temp.File("sl.nod"));
        Trigger(d, "presetLoad");
        EXPECT_EQ(d.BulletStyle()->currentText(), "Cross");
        d.CancelButton()->click();
    });
    EXPECT_EQ(style.sectionBullet, 14);
    EXPECT_EQ(style.sectionStyle, style.slFieldStyle);
    EXPECT_EQ(bench.prompter.events.back().options.initialFolder,
              std::string(TRELLIC_BIN_DIR) + "/node_library/resume_section_styles");
}

TEST(BulletStylesDialog, ResetSelectsTheDefaultBulletAndLoadsTheFormatsUnseen) {
    for (const BulletKindRow& row : kBulletKinds) {
        SCOPED_TRACE(row.caption);
        EditorBench bench;
        int32_t libraryBullet = 0;
        TextStyle libraryStyle;
        ASSERT_TRUE(LoadDefaultPreset(
            bench.tree.programFolder,
            PresetParts::ForBulletStyles(CategoryOf(row.kind), libraryBullet, libraryStyle),
            bench.log, bench.prompter));
        Style(bench).*row.bullet = libraryBullet == 16 ? 15 : 16;
        (Style(bench).*row.textStyle).charFormat.faceName = "Mine";

        RunBullet(bench, row.kind, [&](CBulletStylesSetupDlg& d) {
            Trigger(d, "presetReset");
            EXPECT_EQ(d.BulletStyle()->currentIndex(), libraryBullet);
            d.CancelButton()->click();
        });
        EXPECT_EQ(Style(bench).*row.bullet, libraryBullet);
        EXPECT_EQ(Style(bench).*row.textStyle, libraryStyle);
    }
}

// ---------------------------------------------------------------------------------------------
// What the four sub-dialogs share

TEST(StyleKindDialogs, FormatsChangeTheStyleAtOnceAndTheViewFollows) {
    EditorBench bench;
    bench.AddHeader("Experience");
    StyleNode& style = Style(bench);
    style.mlFieldStyle.paraFormat = ParaFormat{0, 1, 0, 0};

    RunBullet(bench, BulletStyleKind::MLField, [&](CBulletStylesSetupDlg& d) {
        OnNextModal([](QWidget* window) {
            auto* editor = qobject_cast<CCharFormatDlg*>(window);
            ASSERT_NE(editor, nullptr);
            editor->FontChooser()->setCurrentFont(QFont(QStringLiteral("Liberation Mono"), 9));
            editor->accept();
        });
        Click(d, "characterFormat");
        EXPECT_EQ(style.mlFieldStyle.charFormat.faceName, "Liberation Mono");
        EXPECT_EQ(style.mlFieldStyle.charFormat.height, 180);

        OnNextModal([](QWidget* window) {
            auto* paragraph = qobject_cast<CParagraphFormatSetupDlg*>(window);
            ASSERT_NE(paragraph, nullptr);
            paragraph->Alignment()->setCurrentIndex(paragraph->Alignment()->findText("Centred"));
            paragraph->OkButton()->click();
        });
        Click(d, "paragraphFormat");
        EXPECT_EQ(style.mlFieldStyle.paraFormat.alignment, 3);
        d.CancelButton()->click();
    });
    EXPECT_EQ(style.mlFieldStyle.charFormat.faceName, "Liberation Mono");
    EXPECT_EQ(style.mlFieldStyle.paraFormat.alignment, 3);
    // Stored at once, they are in the preview at once, and stay in the view when it closes.
    EXPECT_GT(bench.view.ContentReplacements(), 0);
    HeadlessResumeView stored;
    stored.SetDefaultCharFormat(bench.view.DefaultCharFormat());
    RenderResume(bench.tree, stored);
    EXPECT_EQ(bench.view.ExportRtf(), stored.ExportRtf());

    // The header dialog edits the header style, not another.
    const TextStyle sectionBefore = style.sectionStyle;
    RunHeader(bench, [](CHeaderStylesSetupDlg& d) {
        OnNextModal([](QWidget* window) {
            auto* editor = qobject_cast<CCharFormatDlg*>(window);
            ASSERT_NE(editor, nullptr);
            editor->FontChooser()->setCurrentFont(QFont(QStringLiteral("DejaVu Serif"), 20));
            editor->accept();
        });
        Click(d, "characterFormat");
        d.CancelButton()->click();
    });
    EXPECT_EQ(style.headerStyle.charFormat.faceName, "DejaVu Serif");
    EXPECT_EQ(style.sectionStyle, sectionBefore);
}

// Each category's default removed in turn from a copy of the node library: Reset Settings
// reports it and leaves the dialog and the record alone, while the next category still resets.
TEST(StyleKindDialogs, MissingDefaultPresetIsReportedAndChangesNothing) {
    testing::TempDir program;
    const std::string library = program.File("node_library");
    std::filesystem::copy(std::string(TRELLIC_BIN_DIR) + "/node_library", library,
                          std::filesystem::copy_options::recursive);

    // Opens the category's dialog, changes a control and resets; the control and the record
    // (whose texts all read "Mine", which no default holds) stay exactly when the default is
    // missing.
    using Reset = std::function<void(EditorBench&, bool missing)>;
    std::vector<std::pair<const char*, Reset>> rows = {
        {"style",
         [](EditorBench& bench, bool missing) {
             RunStyle(bench, [&](CStylesSetupDlg& d) {
                 d.AuthorEdit()->setText("Typed");
                 Trigger(d, "presetReset");
                 EXPECT_EQ(d.AuthorEdit()->text() == "Typed", missing);
                 EXPECT_EQ(Style(bench).info.author == "Mine", missing);
                 d.CancelButton()->click();
             });
         }},
        {"header_styles",
         [](EditorBench& bench, bool missing) {
             RunHeader(bench, [&](CHeaderStylesSetupDlg& d) {
                 d.Underline()->setChecked(!Style(bench).headerUnderline);
                 Trigger(d, "presetReset");
                 if (missing) {
                     EXPECT_NE(d.Underline()->isChecked(), Style(bench).headerUnderline);
                 }
                 EXPECT_EQ(Style(bench).headerStyle.charFormat.faceName == "Mine", missing);
                 d.CancelButton()->click();
             });
         }},
    };
    for (const BulletKindRow& kind : kBulletKinds) {
        rows.emplace_back(kind.folder, [kind](EditorBench& bench, bool missing) {
            RunBullet(bench, kind.kind, [&](CBulletStylesSetupDlg& d) {
                d.BulletStyle()->setCurrentIndex(11);
                Trigger(d, "presetReset");
                if (missing) {
                    EXPECT_EQ(d.BulletStyle()->currentIndex(), 11);
                }
                EXPECT_EQ((Style(bench).*kind.textStyle).charFormat.faceName == "Mine", missing);
                d.CancelButton()->click();
            });
        });
    }

    for (std::size_t i = 0; i < rows.size(); ++i) {
        const char* folder = rows[i].first;
        SCOPED_TRACE(folder);
        const std::string preset = library + "/" + folder + "/default.nod";
        std::filesystem::rename(preset, preset + ".away");
        EditorBench bench;
        bench.tree.programFolder = program.Path();
        StyleNode& style = Style(bench);
        style.info.author = "Mine";
        for (TextStyle* text :
             {&style.headerStyle, &style.sectionStyle, &style.slFieldStyle, &style.mlFieldStyle}) {
            text->charFormat.faceName = "Mine";
        }
        const StyleNode before = style;

        rows[i].second(bench, true);
        EXPECT_EQ(style, before);
        EXPECT_NE(bench.log.Text().find("**NODE LIBRARY ERROR**"), std::string::npos);
        EXPECT_EQ(bench.prompter.Messages(),
                  std::vector<std::string>{
                      "An error occurred. Details will be posted to the TLX Engine window."});
        EXPECT_EQ(bench.prompter.events.back().kind, "engine window");

        bench.prompter.events.clear();
        rows[(i + 1) % rows.size()].second(bench, false);
        EXPECT_TRUE(bench.prompter.events.empty());
        std::filesystem::rename(preset + ".away", preset);
    }
}

} // namespace
} // namespace trellic
