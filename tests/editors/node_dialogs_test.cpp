#include "editors/char_format_editor.h"
#include "editors/node_dialogs.h"
#include "editors/paragraph_format_dlg.h"
#include "editors_fixture.h"
#include "model/tlx_file.h"
#include "temp_dir.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::Child;
using testing::EditorBench;
using testing::OnNextModal;

// What each kind's dialog shows besides the parts every dialog has.
struct KindCase {
    NodeKind kind;
    const char* caption;
    const char* missing; // the end of the refusal message
    bool nodeText;       // multi-line text with its spacing
    bool fieldData;      // a single line field's data
    bool inheritStyle;
    bool underline;
    bool bullet;
    bool useFormatting;
    bool characterFormat;
};

constexpr KindCase kKinds[] = {
    {kKindHeader, "Header", "a header", false, false, true, true, false, false, true},
    {kKindResumeSection, "Resume Section", "a section title", true, false, true, false, true, false,
     true},
    {kKindSLField, "Single Line Field", "a field name", false, true, true, false, true, false,
     true},
    {kKindMLField, "Multiple Line Field", "a field name", true, false, true, false, true, false,
     true},
    {kKindRTFOutput, "Rich Text File Output", "an output name", true, false, false, false, false,
     true, true},
    {kKindTXTOutput, "Text File Output", "an output name", true, false, false, false, false, true,
     false},
};

void Press(QWidget* dialog, const char* button) {
    Child<QPushButton>(dialog, button)->click();
}

std::optional<StackEntry> Create(EditorBench& bench, NodeKind kind,
                                 std::function<void(QWidget*)> act) {
    OnNextModal(std::move(act));
    return CreateNodeRecord(bench.context, kind, nullptr);
}

bool Inspect(EditorBench& bench, StackEntry entry, std::function<void(QWidget*)> act) {
    OnNextModal(std::move(act));
    return InspectNodeRecord(bench.context, entry, nullptr);
}

// The dialog that the next modal run opens from inside a node dialog, accepted after act.
template <typename Dialog> void OnNestedDialog(std::function<void(Dialog&)> act) {
    OnNextModal([act = std::move(act)](QWidget* window) {
        auto* dialog = qobject_cast<Dialog*>(window);
        if (!dialog) {
            ADD_FAILURE() << "another window opened";
            window->close();
            return;
        }
        act(*dialog);
    });
}

std::string RenderedUnder(EditorBench& bench, Renderer renderer) {
    bench.tree.renderer = renderer;
    bench.tree.resume->renderer = renderer;
    RenderNow(bench.context);
    return bench.ViewText();
}

std::size_t TotalRecords(const NodeTree& tree) {
    return tree.headers.size() + tree.resumeSections.size() + tree.slFields.size() +
           tree.mlFields.size() + tree.rtfOutputs.size() + tree.txtOutputs.size();
}

TEST(NodeDialogs, EachKindIsCreatedThroughItsDialogAndRendersUnderItsRenderers) {
    for (const KindCase& k : kKinds) {
        SCOPED_TRACE(k.caption);
        EditorBench bench;
        const std::optional<StackEntry> entry = Create(bench, k.kind, [&](QWidget* d) {
            EXPECT_EQ(d->windowTitle(), k.caption);
            // The controls other editors' tests find by name, each only where the kind has it.
            const std::pair<const char*, bool> present[] = {
                {"nodeText", k.nodeText},           {"spacing", k.nodeText},
                {"fieldData", k.fieldData},         {"inheritStyle", k.inheritStyle},
                {"underline", k.underline},         {"bulletStyle", k.bullet},
                {"useFormatting", k.useFormatting}, {"characterFormat", k.characterFormat},
            };
            for (const auto& [name, expected] : present) {
                EXPECT_EQ(d->findChild<QWidget*>(QString::fromLatin1(name)) != nullptr, expected)
                    << name;
            }
            for (const char* name :
                 {"displayText", "paragraphFormat", "helpText", "helpAddress", "author", "version",
                  "releaseDate", "renderCapabilities", "infoDescription"}) {
                EXPECT_NE(d->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
            }

            QTest::keyClicks(Child<QLineEdit>(d, "displayText"), "Volunteer Work");
            if (k.nodeText) {
                Child<QPlainTextEdit>(d, "nodeText")->setPlainText("Food bank\nTwo years");
            }
            if (k.fieldData) {
                QTest::keyClicks(Child<QLineEdit>(d, "fieldData"), "Riverton");
            }
            Press(d, "okButton");
        });
        ASSERT_EQ(entry, (StackEntry{0, k.kind}));
        EXPECT_EQ(bench.tree.TableSize(k.kind), 1U);
        bench.tree.activeStack.push_back(*entry);

        const bool outputKind = k.useFormatting;
        for (Renderer renderer : {kRendererRtf, kRendererTxt}) {
            SCOPED_TRACE(renderer);
            const std::string text = RenderedUnder(bench, renderer);
            const bool ownRenderer =
                !outputKind || (k.kind == kKindRTFOutput) == (renderer == kRendererRtf);
            // Outputs write their text only, and only under their own renderer.
            EXPECT_EQ(text.find("Volunteer Work") != std::string::npos, !outputKind);
            if (k.nodeText) {
                EXPECT_EQ(text.find("Food bank") != std::string::npos, ownRenderer);
                EXPECT_EQ(text.find("Two years") != std::string::npos, ownRenderer);
            }
            if (k.fieldData) {
                EXPECT_NE(text.find("Volunteer Work: Riverton"), std::string::npos);
            }
        }
    }
}

TEST(NodeDialogs, NewNodesInheritAndStartWithACopyOfTheResumeStyle) {
    EditorBench bench;
    StyleNode& style = bench.tree.resume->style;
    // Values the shipped defaults do not hold, so a copy cannot pass by chance.
    style.headerUnderline = false;
    style.headerStyle.charFormat.faceName = "Liberation Serif";
    style.sectionBullet = 7;
    style.sectionStyle.paraFormat.indent = 2;
    style.slFieldBullet = 15;
    style.slFieldStyle.charFormat.italic = true;
    style.mlFieldBullet = 16;
    style.mlFieldStyle.paraFormat.alignment = 4;
    bench.tree.resume->defaultCharFormat.faceName = "Liberation Mono";

    for (const KindCase& k : kKinds) {
        SCOPED_TRACE(k.caption);
        Create(bench, k.kind, [&](QWidget* d) {
            if (k.inheritStyle) {
                EXPECT_TRUE(Child<QCheckBox>(d, "inheritStyle")->isChecked());
            }
            if (k.useFormatting) {
                EXPECT_TRUE(Child<QCheckBox>(d, "useFormatting")->isChecked());
            }
            EXPECT_EQ(Child<QLineEdit>(d, "version")->text(), "1.00");
            EXPECT_EQ(Child<QLineEdit>(d, "renderCapabilities")->text(),
                      "Rich Text File (RTF) and Text File (TXT) Rendering");
            Child<QLineEdit>(d, "displayText")->setText("New");
            Press(d, "okButton");
        });
    }

    const HeaderNode& header = bench.tree.headers.at(0);
    EXPECT_TRUE(header.inheritStyle);
    EXPECT_EQ(header.style, style.headerStyle);
    EXPECT_FALSE(header.underline);
    EXPECT_EQ(header.info.version, 1.0F);
    EXPECT_EQ(header.info.renderCapabilities, 3);

    const ResumeSectionNode& section = bench.tree.resumeSections.at(0);
    EXPECT_TRUE(section.inheritStyle);
    EXPECT_EQ(section.style, style.sectionStyle);
    EXPECT_EQ(section.bullet, 7);
    EXPECT_EQ(bench.tree.slFields.at(0).style, style.slFieldStyle);
    EXPECT_EQ(bench.tree.slFields.at(0).bullet, 15);
    EXPECT_EQ(bench.tree.mlFields.at(0).style, style.mlFieldStyle);
    EXPECT_EQ(bench.tree.mlFields.at(0).bullet, 16);

    const RTFOutputNode& rtf = bench.tree.rtfOutputs.at(0);
    EXPECT_TRUE(rtf.useFormatting);
    EXPECT_EQ(rtf.style.charFormat, bench.tree.resume->defaultCharFormat);
    EXPECT_EQ(rtf.style.paraFormat, (ParaFormat{0, 1, 0, 0}));
    const TXTOutputNode& txt = bench.tree.txtOutputs.at(0);
    EXPECT_TRUE(txt.useFormatting);
    EXPECT_EQ(txt.paraFormat, (ParaFormat{0, 1, 0, 0}));
    EXPECT_EQ(txt.info.version, 1.0F);
}

TEST(NodeDialogs, CreatedNodesAreSavedAndReopenedIdentical) {
    EditorBench bench;
    testing::TempDir temp;
    const auto section = Create(bench, kKindResumeSection, [](QWidget* d) {
        Child<QLineEdit>(d, "displayText")->setText("Education");
        Child<QPlainTextEdit>(d, "nodeText")->setPlainText("BSc\n\tMajor: Science");
        Child<QSpinBox>(d, "spacing")->setValue(1);
        Child<QCheckBox>(d, "inheritStyle")->setChecked(false);
        Child<QComboBox>(d, "bulletStyle")->setCurrentIndex(13);
        Child<QPlainTextEdit>(d, "helpText")->setPlainText("Your degrees.");
        Child<QLineEdit>(d, "helpAddress")->setText("https://example.org/education");
        Child<QLineEdit>(d, "author")->setText("Dana");
        Child<QLineEdit>(d, "version")->setText("1.5");
        Press(d, "okButton");
    });
    const auto output = Create(bench, kKindTXTOutput, [](QWidget* d) {
        Child<QLineEdit>(d, "displayText")->setText("Footer");
        Child<QPlainTextEdit>(d, "nodeText")->setPlainText("References on request");
        Child<QCheckBox>(d, "useFormatting")->setChecked(false);
        Press(d, "okButton");
    });
    ASSERT_TRUE(section && output);
    bench.tree.activeStack.push_back(*section);
    bench.tree.inactiveStack.push_back(*output);

    const std::string path = temp.File("created.tlx");
    bench.prompter.files.push_back(path);
    ASSERT_TRUE(bench.doc.SaveResume(true));

    EditorBench reopened;
    const std::string bytes = testing::ReadFileBytes(path);
    Archive ar = Archive::ForLoading(bytes);
    ASSERT_EQ(ReadTLX(ar, reopened.tree, reopened.prompter), TlxReadStatus::Loaded);
    EXPECT_EQ(reopened.tree.resumeSections, bench.tree.resumeSections);
    EXPECT_EQ(reopened.tree.txtOutputs, bench.tree.txtOutputs);
    EXPECT_EQ(reopened.tree.activeStack, bench.tree.activeStack);
    EXPECT_EQ(reopened.tree.inactiveStack, bench.tree.inactiveStack);
    EXPECT_EQ(reopened.tree.resumeSections.at(0).data.text, "BSc\r\n\tMajor: Science");
}

TEST(NodeDialogs, CancelCreatesNothingAndTheResumeOrUnknownKindsOpenNoDialog) {
    EditorBench bench;
    for (const KindCase& k : kKinds) {
        SCOPED_TRACE(k.caption);
        EXPECT_FALSE(Create(bench, k.kind, [](QWidget* d) {
            Child<QLineEdit>(d, "displayText")->setText("Draft");
            Press(d, "cancelButton");
        }));
    }
    EXPECT_EQ(TotalRecords(bench.tree), 0U);

    for (NodeKind kind : {kKindResume, NodeKind{0}, NodeKind{99}}) {
        bool opened = false;
        OnNextModal([&](QWidget* window) {
            opened = true;
            window->close();
        });
        EXPECT_FALSE(CreateNodeRecord(bench.context, kind, nullptr));
        QCoreApplication::processEvents(); // lets the watcher run and find no window
        EXPECT_FALSE(opened) << kind;
    }
    EXPECT_EQ(TotalRecords(bench.tree), 0U);
}

TEST(NodeDialogs, InspectRefusesTheResumeAndEntriesWithoutARecord) {
    EditorBench bench;
    bench.AddHeader("Only");
    for (StackEntry entry : {kResumeEntry, StackEntry{1, kKindHeader}, StackEntry{-1, kKindHeader},
                             StackEntry{0, kKindSLField}, StackEntry{0, NodeKind{99}}}) {
        bool opened = false;
        OnNextModal([&](QWidget* window) {
            opened = true;
            window->close();
        });
        EXPECT_FALSE(InspectNodeRecord(bench.context, entry, nullptr));
        QCoreApplication::processEvents();
        EXPECT_FALSE(opened) << entry.index << "/" << entry.kind;
    }
}

TEST(NodeDialogs, EmptyOrBlankDisplayTextIsRefusedAndTheDialogStaysOpen) {
    for (const KindCase& k : kKinds) {
        SCOPED_TRACE(k.caption);
        EditorBench bench;
        const auto entry = Create(bench, k.kind, [&](QWidget* d) {
            for (const char* blank : {"", "   "}) {
                Child<QLineEdit>(d, "displayText")->setText(blank);
                Press(d, "okButton");
                if (bench.prompter.events.empty()) {
                    ADD_FAILURE() << "OK was not refused";
                    return;
                }
                EXPECT_EQ(bench.prompter.events.back().text,
                          std::string("The node is missing a required parameter:\n\nPlease "
                                      "enter ") +
                              k.missing + ".");
                EXPECT_EQ(bench.prompter.events.back().icon, MessageIcon::Exclamation);
                EXPECT_TRUE(d->isVisible());
                EXPECT_EQ(bench.tree.TableSize(k.kind), 0U);
            }
            // Spaces around the display text are dropped when it is stored.
            Child<QLineEdit>(d, "displayText")->setText("  Skills \t");
            Press(d, "okButton");
        });
        ASSERT_TRUE(entry);
        EXPECT_EQ(bench.prompter.Messages().size(), 2U);
        EXPECT_EQ(NodeDisplayName(bench.tree, *entry), "Skills");
    }
}

// The help and information pages work alike in every dialog.
void EditHelpAndInfo(QWidget* d) {
    Child<QPlainTextEdit>(d, "helpText")->setPlainText("  Where you studied.\nNewest first.\n");
    Child<QLineEdit>(d, "helpAddress")->setText(" https://example.org/help ");
    Child<QLineEdit>(d, "author")->setText(" Dana Reyes ");
    Child<QLineEdit>(d, "version")->setText("2.5");
    Child<QLineEdit>(d, "releaseDate")->setText("May 2027");
    Child<QPlainTextEdit>(d, "infoDescription")->setPlainText("First line\nSecond line\n\n");
}

void ExpectEditedHelpAndInfo(const NodeHelp& help, const NodeInfo& info) {
    EXPECT_EQ(help.helpText, "Where you studied.\r\nNewest first.");
    EXPECT_EQ(help.helpURL, "https://example.org/help");
    EXPECT_EQ(info.author, "Dana Reyes");
    EXPECT_EQ(info.version, 2.5F);
    EXPECT_EQ(info.releaseDate, "May 2027");
    EXPECT_EQ(info.description, "First line\r\nSecond line");
    // Shown, never edited: the dialogs keep what the record says.
    EXPECT_EQ(info.renderCapabilities, 1);
}

NodeInfo SeededInfo() {
    return NodeInfo{"Old\r\ndescription", "Old author", "2020", 1.5F, 1};
}

TEST(NodeDialogs, HeaderDialogShowsAndStoresEveryField) {
    EditorBench bench;
    HeaderNode seeded;
    seeded.info = SeededInfo();
    seeded.header = "Education";
    seeded.inheritStyle = true;
    seeded.underline = false;
    seeded.help = {"Old\r\nhelp", "https://example.org/old"};
    bench.tree.headers.push_back(seeded);

    ASSERT_TRUE(Inspect(bench, {0, kKindHeader}, [](QWidget* d) {
        EXPECT_EQ(Child<QLineEdit>(d, "displayText")->text(), "Education");
        EXPECT_TRUE(Child<QCheckBox>(d, "inheritStyle")->isChecked());
        EXPECT_FALSE(Child<QCheckBox>(d, "underline")->isChecked());
        EXPECT_EQ(Child<QPlainTextEdit>(d, "helpText")->toPlainText(), "Old\nhelp");
        EXPECT_EQ(Child<QLineEdit>(d, "helpAddress")->text(), "https://example.org/old");
        EXPECT_EQ(Child<QLineEdit>(d, "author")->text(), "Old author");
        EXPECT_EQ(Child<QLineEdit>(d, "version")->text(), "1.50");
        EXPECT_EQ(Child<QLineEdit>(d, "releaseDate")->text(), "2020");
        EXPECT_EQ(Child<QLineEdit>(d, "renderCapabilities")->text(),
                  "Rich Text File (RTF) Rendering");
        EXPECT_EQ(Child<QPlainTextEdit>(d, "infoDescription")->toPlainText(), "Old\ndescription");

        Child<QLineEdit>(d, "displayText")->setText("  Schooling ");
        Child<QCheckBox>(d, "inheritStyle")->setChecked(false);
        Child<QCheckBox>(d, "underline")->setChecked(true);
        EditHelpAndInfo(d);
        Press(d, "okButton");
    }));
    const HeaderNode& header = bench.tree.headers.at(0);
    EXPECT_EQ(header.header, "Schooling");
    EXPECT_FALSE(header.inheritStyle);
    EXPECT_TRUE(header.underline);
    EXPECT_EQ(header.style, seeded.style);
    ExpectEditedHelpAndInfo(header.help, header.info);
}

TEST(NodeDialogs, SectionAndFieldDialogsStoreTextsSpacingAndBullet) {
    EditorBench bench;
    ResumeSectionNode section;
    section.info = SeededInfo();
    section.title = "Work";
    section.data = {0, "Old"};
    section.bullet = 20; // out of the list, as only a damaged file holds
    bench.tree.resumeSections.push_back(section);
    SLFieldNode sl;
    sl.info = SeededInfo();
    sl.fieldName = "Town";
    sl.fieldData = "Old";
    bench.tree.slFields.push_back(sl);
    MLFieldNode ml;
    ml.info = SeededInfo();
    ml.fieldName = "Duties";
    ml.inheritStyle = true;
    ml.bullet = 3;
    bench.tree.mlFields.push_back(ml);

    ASSERT_TRUE(Inspect(bench, {0, kKindResumeSection}, [](QWidget* d) {
        EXPECT_EQ(Child<QComboBox>(d, "bulletStyle")->currentIndex(), -1);
        Press(d, "okButton");
    }));
    // No bullet chosen stores "None".
    EXPECT_EQ(bench.tree.resumeSections.at(0).bullet, 0);

    ASSERT_TRUE(Inspect(bench, {0, kKindResumeSection}, [](QWidget* d) {
        Child<QLineEdit>(d, "displayText")->setText("Experience");
        // Node texts are data: leading spaces and empty lines stay as typed.
        Child<QPlainTextEdit>(d, "nodeText")->setPlainText("  Clerk\n\nManager  ");
        Child<QSpinBox>(d, "spacing")->setValue(2);
        Child<QCheckBox>(d, "inheritStyle")->setChecked(true);
        auto* bullets = Child<QComboBox>(d, "bulletStyle");
        bullets->setCurrentIndex(bullets->findText("Tick"));
        EditHelpAndInfo(d);
        Press(d, "okButton");
    }));
    const ResumeSectionNode& storedSection = bench.tree.resumeSections.at(0);
    EXPECT_EQ(storedSection.title, "Experience");
    EXPECT_EQ(storedSection.data, (NodeText{2, "  Clerk\r\n\r\nManager  "}));
    EXPECT_TRUE(storedSection.inheritStyle);
    EXPECT_EQ(storedSection.bullet, 13);
    ExpectEditedHelpAndInfo(storedSection.help, storedSection.info);

    ASSERT_TRUE(Inspect(bench, {0, kKindSLField}, [](QWidget* d) {
        EXPECT_EQ(Child<QLineEdit>(d, "fieldData")->text(), "Old");
        Child<QLineEdit>(d, "displayText")->setText("City");
        Child<QLineEdit>(d, "fieldData")->setText(" Riverton ");
        Child<QCheckBox>(d, "inheritStyle")->setChecked(true);
        Child<QComboBox>(d, "bulletStyle")->setCurrentIndex(15);
        EditHelpAndInfo(d);
        Press(d, "okButton");
    }));
    const SLFieldNode& storedSl = bench.tree.slFields.at(0);
    EXPECT_EQ(storedSl.fieldName, "City");
    EXPECT_EQ(storedSl.fieldData, " Riverton ");
    EXPECT_TRUE(storedSl.inheritStyle);
    EXPECT_EQ(storedSl.bullet, 15);
    ExpectEditedHelpAndInfo(storedSl.help, storedSl.info);

    ASSERT_TRUE(Inspect(bench, {0, kKindMLField}, [](QWidget* d) {
        EXPECT_EQ(Child<QComboBox>(d, "bulletStyle")->currentIndex(), 3);
        Child<QPlainTextEdit>(d, "nodeText")->setPlainText("Filing\nPhones");
        Child<QSpinBox>(d, "spacing")->setValue(1);
        Child<QCheckBox>(d, "inheritStyle")->setChecked(false);
        Child<QComboBox>(d, "bulletStyle")->setCurrentIndex(0);
        EditHelpAndInfo(d);
        Press(d, "okButton");
    }));
    const MLFieldNode& storedMl = bench.tree.mlFields.at(0);
    EXPECT_EQ(storedMl.fieldName, "Duties");
    EXPECT_EQ(storedMl.fieldData, (NodeText{1, "Filing\r\nPhones"}));
    EXPECT_FALSE(storedMl.inheritStyle);
    EXPECT_EQ(storedMl.bullet, 0);
    ExpectEditedHelpAndInfo(storedMl.help, storedMl.info);
}

TEST(NodeDialogs, OutputDialogsStoreUseFormattingAndTheirText) {
    EditorBench bench;
    RTFOutputNode rtf;
    rtf.info = SeededInfo();
    rtf.name = "Logo";
    rtf.useFormatting = true;
    bench.tree.rtfOutputs.push_back(rtf);
    TXTOutputNode txt;
    txt.info = SeededInfo();
    txt.name = "Footer";
    txt.useFormatting = true;
    txt.paraFormat.indent = 3;
    bench.tree.txtOutputs.push_back(txt);

    // Without Use Formatting the output is an RTF document and shows without its markup.
    ASSERT_TRUE(Inspect(bench, {0, kKindRTFOutput}, [](QWidget* d) {
        EXPECT_TRUE(Child<QCheckBox>(d, "useFormatting")->isChecked());
        Child<QCheckBox>(d, "useFormatting")->setChecked(false);
        Child<QPlainTextEdit>(d, "nodeText")->setPlainText("{\\rtf1\\ansi {\\b Signed} copy}");
        Child<QSpinBox>(d, "spacing")->setValue(3);
        EditHelpAndInfo(d);
        Press(d, "okButton");
    }));
    const RTFOutputNode& storedRtf = bench.tree.rtfOutputs.at(0);
    EXPECT_FALSE(storedRtf.useFormatting);
    EXPECT_EQ(storedRtf.output, (NodeText{3, "{\\rtf1\\ansi {\\b Signed} copy}"}));
    ExpectEditedHelpAndInfo(storedRtf.help, storedRtf.info);
    bench.tree.activeStack.push_back({0, kKindRTFOutput});
    const std::string shown = RenderedUnder(bench, kRendererRtf);
    EXPECT_NE(shown.find("Signed copy"), std::string::npos);
    EXPECT_EQ(shown.find("rtf1"), std::string::npos);

    // A text output without Use Formatting is written without its indent.
    ASSERT_TRUE(Inspect(bench, {0, kKindTXTOutput}, [](QWidget* d) {
        Child<QLineEdit>(d, "displayText")->setText("Closing");
        Child<QCheckBox>(d, "useFormatting")->setChecked(false);
        Child<QPlainTextEdit>(d, "nodeText")->setPlainText("References on request");
        EditHelpAndInfo(d);
        Press(d, "okButton");
    }));
    const TXTOutputNode& storedTxt = bench.tree.txtOutputs.at(0);
    EXPECT_EQ(storedTxt.name, "Closing");
    EXPECT_FALSE(storedTxt.useFormatting);
    EXPECT_EQ(storedTxt.paraFormat.indent, 3);
    ExpectEditedHelpAndInfo(storedTxt.help, storedTxt.info);
    bench.tree.activeStack = {kResumeEntry, {0, kKindTXTOutput}};
    EXPECT_EQ(RenderedUnder(bench, kRendererTxt), "References on request");
}

TEST(NodeDialogs, StyleEditorsActOnTheCopyThatOnlyOkStores) {
    EditorBench bench;
    bench.AddHeader("Education");
    const HeaderNode before = bench.tree.headers.at(0);

    // Changes the font and the paragraph through the nested editors, both accepted.
    auto editStyle = [](QWidget* d) {
        OnNestedDialog<CCharFormatDlg>([](CCharFormatDlg& chars) {
            QFont font(QStringLiteral("Liberation Mono"));
            font.setPointSize(17);
            chars.FontChooser()->setCurrentFont(font);
            chars.accept();
        });
        Press(d, "characterFormat");
        OnNestedDialog<CParagraphFormatSetupDlg>([](CParagraphFormatSetupDlg& paragraph) {
            paragraph.Alignment()->setCurrentIndex(paragraph.Alignment()->findText("Centred"));
            paragraph.Indentation()->setText("2");
            paragraph.OkButton()->click();
        });
        Press(d, "paragraphFormat");
        // The page tells what the copy now holds.
        const QString summary = Child<QLabel>(d, "styleSummary")->text();
        EXPECT_TRUE(summary.contains("Liberation Mono")) << summary.toStdString();
        EXPECT_TRUE(summary.contains("centred")) << summary.toStdString();
    };

    EXPECT_FALSE(Inspect(bench, {0, kKindHeader}, [&](QWidget* d) {
        editStyle(d);
        Press(d, "cancelButton");
    }));
    EXPECT_EQ(bench.tree.headers.at(0), before);

    EXPECT_TRUE(Inspect(bench, {0, kKindHeader}, [&](QWidget* d) {
        editStyle(d);
        Press(d, "okButton");
    }));
    const TextStyle& style = bench.tree.headers.at(0).style;
    EXPECT_EQ(style.charFormat.faceName, "Liberation Mono");
    EXPECT_EQ(style.charFormat.height, 340);
    EXPECT_EQ(style.paraFormat.alignment, 3);
    EXPECT_EQ(style.paraFormat.indent, 2);
}

TEST(NodeDialogs, PresetsLoadIntoTheCopyAndSaveWhatTheDialogShows) {
    EditorBench bench;
    testing::TempDir temp;
    bool presetUnderline = false;
    TextStyle presetHeader;
    ASSERT_EQ(ReadPreset(PresetParts::ForHeaderStyles(presetUnderline, presetHeader),
                         DefaultPresetPath(bench.tree.programFolder, PresetCategory::HeaderStyles),
                         bench.prompter),
              PresetReadResult::Read);

    HeaderNode header;
    header.header = "Skills";
    header.underline = !presetUnderline;
    header.style.charFormat.faceName = "Liberation Serif";
    bench.tree.headers.push_back(header);
    auto trigger = [](QWidget* d, const char* name) {
        d->findChild<QAction*>(QString::fromLatin1(name))->trigger();
    };

    // Reset Settings refreshes the shown underline; Cancel still keeps the record.
    EXPECT_FALSE(Inspect(bench, {0, kKindHeader}, [&](QWidget* d) {
        trigger(d, "presetReset");
        EXPECT_EQ(Child<QCheckBox>(d, "underline")->isChecked(), presetUnderline);
        Press(d, "cancelButton");
    }));
    EXPECT_EQ(bench.tree.headers.at(0), header);
    EXPECT_TRUE(Inspect(bench, {0, kKindHeader}, [&](QWidget* d) {
        trigger(d, "presetReset");
        Press(d, "okButton");
    }));
    EXPECT_EQ(bench.tree.headers.at(0).underline, presetUnderline);
    EXPECT_EQ(bench.tree.headers.at(0).style, presetHeader);

    // A saved bullet preset holds the bullet chosen in the dialog, and loads into a section.
    SLFieldNode field;
    field.fieldName = "Phone";
    field.bullet = 2;
    field.style.charFormat.faceName = "Liberation Sans";
    bench.tree.slFields.push_back(field);
    const std::string saved = temp.File("star.nod");
    EXPECT_FALSE(Inspect(bench, {0, kKindSLField}, [&](QWidget* d) {
        Child<QComboBox>(d, "bulletStyle")->setCurrentIndex(7);
        bench.prompter.files.push_back(saved);
        trigger(d, "presetSave");
        Press(d, "cancelButton");
    }));
    EXPECT_EQ(bench.tree.slFields.at(0), field);
    int32_t savedBullet = 0;
    TextStyle savedStyle;
    ASSERT_EQ(ReadPreset(PresetParts::ForBulletStyles(PresetCategory::SLFieldStyles, savedBullet,
                                                      savedStyle),
                         saved, bench.prompter),
              PresetReadResult::Read);
    EXPECT_EQ(savedBullet, 7);
    EXPECT_EQ(savedStyle, field.style);

    bench.tree.resumeSections.push_back(ResumeSectionNode{});
    bench.tree.resumeSections.back().title = "Languages";
    EXPECT_TRUE(Inspect(bench, {0, kKindResumeSection}, [&](QWidget* d) {
        bench.prompter.files.push_back(saved);
        trigger(d, "presetLoad");
        EXPECT_EQ(Child<QComboBox>(d, "bulletStyle")->currentIndex(), 7);
        Press(d, "okButton");
    }));
    EXPECT_EQ(bench.tree.resumeSections.at(0).bullet, 7);
    EXPECT_EQ(bench.tree.resumeSections.at(0).style, field.style);

    // Outputs carry the paragraph presets.
    TXTOutputNode txt;
    txt.name = "Footer";
    txt.paraFormat = {2, 4, 2, 5};
    bench.tree.txtOutputs.push_back(txt);
    EXPECT_TRUE(Inspect(bench, {0, kKindTXTOutput}, [&](QWidget* d) {
        trigger(d, "presetReset");
        Press(d, "okButton");
    }));
    EXPECT_EQ(bench.tree.txtOutputs.at(0).paraFormat, (ParaFormat{0, 1, 0, 0}));
}

TEST(NodeDialogs, VersionIsStoredRoundedToTwoDecimals) {
    EditorBench bench;
    bench.AddHeader("Profile");
    struct Row {
        const char* typed;
        float stored;
        const char* shownAgain;
    };
    for (const Row& row :
         {Row{"2", 2.0F, "2.00"}, Row{"1.256", 1.26F, "1.26"}, Row{"beta", 0.0F, "0.00"},
          Row{" 3.5 draft", 3.5F, "3.50"}, Row{"1e99", 0.0F, "0.00"}}) {
        SCOPED_TRACE(row.typed);
        ASSERT_TRUE(Inspect(bench, {0, kKindHeader}, [&](QWidget* d) {
            Child<QLineEdit>(d, "version")->setText(row.typed);
            Press(d, "okButton");
        }));
        EXPECT_EQ(bench.tree.headers.at(0).info.version, row.stored);
        Inspect(bench, {0, kKindHeader}, [&](QWidget* d) {
            EXPECT_EQ(Child<QLineEdit>(d, "version")->text(), row.shownAgain);
            Press(d, "cancelButton");
        });
    }
}

} // namespace
} // namespace trellic
