#include "editors/node_dialogs.h"
#include "editors/paragraph_format_dlg.h"
#include "editors/preview_layer.h"
#include "editors/resume_setup_dlg.h"
#include "editors/styles_setup_dlg.h"
#include "editors_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace trellic {
namespace {

using testing::Child;
using testing::EditorBench;
using testing::OnNextModal;

// A rendered resume of a header and a field, and what it looked like before any dialog.
struct PreviewBench : EditorBench {
    PreviewBench() {
        tree.resume->style.headerUnderline = false; // no rule lines in the texts below
        AddHeader("Experience");
        SLFieldNode& field = tree.slFields.emplace_back();
        field.fieldName = "Phone";
        field.fieldData = "555 0100";
        field.inheritStyle = true;
        tree.activeStack.push_back({0, kKindSLField});
        RenderNow(context);
        before = view.ExportRtf();
        stored = tree;
    }

    // The dialog's preview, waiting or not, rendered now.
    static void Settle(QWidget* dialog) {
        auto* layer = dialog->findChild<CPreviewLayer*>(QStringLiteral("previewLayer"),
                                                        Qt::FindDirectChildrenOnly);
        ASSERT_NE(layer, nullptr);
        EXPECT_TRUE(layer->IsPending()) << "a change was not heard";
        layer->ShowNow();
    }

    bool TreeUnchanged() const { return static_cast<const NodeTables&>(tree) == stored; }

    std::string before;
    NodeTables stored;
};

TEST(LivePreview, ANodeDialogShowsWhatIsTypedAndCancelPutsTheViewBack) {
    PreviewBench bench;
    OnNextModal([&](QWidget* d) {
        auto* name = Child<QLineEdit>(d, "displayText");
        name->selectAll();
        QTest::keyClicks(name, "Work");
        // Typing waits for a pause: nothing is rendered on every key.
        EXPECT_EQ(bench.view.ExportRtf(), bench.before);
        PreviewBench::Settle(d);
        EXPECT_EQ(bench.ViewText(), "Work\r\n\r\nPhone: 555 0100");
        EXPECT_TRUE(bench.TreeUnchanged());
        Child<QPushButton>(d, "cancelButton")->click();
    });
    EXPECT_FALSE(InspectNodeRecord(bench.context, {0, kKindHeader}, nullptr));
    EXPECT_TRUE(bench.TreeUnchanged());
    EXPECT_EQ(bench.view.ExportRtf(), bench.before);
    EXPECT_FALSE(bench.preview.Showing());
}

TEST(LivePreview, AParagraphFormatOpenInANodeDialogShowsInItsPreview) {
    PreviewBench bench;
    bench.tree.slFields[0].inheritStyle = false;
    RenderNow(bench.context);
    bench.before = bench.view.ExportRtf();
    bench.stored = bench.tree;
    const auto alignmentOfPhone = [&] {
        for (const RichParagraph& paragraph : bench.view.Buffer().Document().paragraphs) {
            for (const RichRun& run : paragraph.runs) {
                if (run.text.find(U"Phone") != std::u32string::npos) {
                    return paragraph.format.alignment;
                }
            }
        }
        return uint16_t{0};
    };
    const uint16_t left = alignmentOfPhone();
    OnNextModal([&](QWidget* field) {
        OnNextModal([&](QWidget* window) {
            auto* paragraph = qobject_cast<CParagraphFormatSetupDlg*>(window);
            ASSERT_NE(paragraph, nullptr);
            paragraph->Alignment()->setCurrentIndex(paragraph->Alignment()->findText("Right"));
            PreviewBench::Settle(field); // the node dialog's preview holds the open one's values
            EXPECT_EQ(alignmentOfPhone(), kPfaRight);
            paragraph->CancelButton()->click();
        });
        Child<QPushButton>(field, "paragraphFormat")->click();
        // Cancelled: gone from the view at once.
        EXPECT_EQ(alignmentOfPhone(), left);
        Child<QPushButton>(field, "okButton")->click();
    });
    EXPECT_TRUE(InspectNodeRecord(bench.context, {0, kKindSLField}, nullptr));
    EXPECT_EQ(bench.tree.slFields[0].style.paraFormat, bench.stored.slFields[0].style.paraFormat);
}

TEST(LivePreview, ANewNodeShowsAtTheEndOfItsStackUntilCancelled) {
    PreviewBench bench;
    OnNextModal([&](QWidget* d) {
        QTest::keyClicks(Child<QLineEdit>(d, "displayText"), "Skills");
        PreviewBench::Settle(d);
        EXPECT_EQ(bench.ViewText(), "Experience\r\n\r\nPhone: 555 0100\r\n\r\n\r\nSkills");
        Child<QPushButton>(d, "cancelButton")->click();
    });
    EXPECT_FALSE(CreateNodeRecord(bench.context, kKindHeader, nullptr, StackId::Active));
    EXPECT_TRUE(bench.TreeUnchanged());
    EXPECT_EQ(bench.view.ExportRtf(), bench.before);

    // Meant for the inactive stack, it does not show at all.
    OnNextModal([&](QWidget* d) {
        QTest::keyClicks(Child<QLineEdit>(d, "displayText"), "Hobbies");
        PreviewBench::Settle(d);
        EXPECT_EQ(bench.view.ExportRtf(), bench.before);
        Child<QPushButton>(d, "cancelButton")->click();
    });
    EXPECT_FALSE(CreateNodeRecord(bench.context, kKindHeader, nullptr, StackId::Inactive));
}

TEST(LivePreview, StyleDialogsShowTheirOptionsBeforeOkAndNestedPreviewsStack) {
    PreviewBench bench;
    bench.tree.resume->style.headerUnderline = false;
    RenderNow(bench.context);
    bench.before = bench.view.ExportRtf();
    bench.stored = bench.tree;
    const auto ruled = [&] { return bench.ViewText().find('\xAF') != std::string::npos; };
    ASSERT_FALSE(ruled());

    OnNextModal([&](QWidget* resume) {
        auto* dialog = qobject_cast<CResumeSetupDlg*>(resume);
        ASSERT_NE(dialog, nullptr);
        // The Resume dialog's renderer, not yet stored, is what the styles are seen under.
        dialog->TxtButton()->setChecked(true);
        PreviewBench::Settle(resume);
        EXPECT_EQ(bench.tree.renderer, kRendererRtf);
        OnNextModal([&](QWidget* style) {
            OnNextModal([&](QWidget* header) {
                Child<QCheckBox>(header, "underline")->setChecked(true);
                PreviewBench::Settle(header);
                EXPECT_TRUE(ruled());
                EXPECT_FALSE(bench.tree.resume->style.headerUnderline);
                // Plain text throughout: the outer dialog's renderer still applies.
                EXPECT_EQ(bench.view.ExportText(), bench.ViewText());
                Child<QPushButton>(header, "cancelButton")->click();
            });
            Child<QPushButton>(style, "headerStyles")->click();
            // The header dialog is gone, and its rule with it; the renderer stays previewed.
            EXPECT_FALSE(ruled());
            EXPECT_TRUE(bench.preview.Showing());
            Child<QPushButton>(style, "cancelButton")->click();
        });
        dialog->findChild<QPushButton*>(QStringLiteral("resumeStyle"))->click();
        dialog->CancelButton()->click();
    });
    {
        CResumeSetupDlg dialog(bench.context);
        dialog.exec();
    }
    EXPECT_TRUE(bench.TreeUnchanged());
    EXPECT_EQ(bench.view.ExportRtf(), bench.before);
}

TEST(LivePreview, RefreshRenderStillStoresAndOkKeepsWhatWasShown) {
    PreviewBench bench;
    bench.tree.resume->style.slFieldBullet = 0;
    RenderNow(bench.context);
    OnNextModal([&](QWidget* d) {
        auto* bullets = Child<QComboBox>(d, "bulletStyle");
        bullets->setCurrentIndex(bullets->findText("Plus (TXT)"));
        PreviewBench::Settle(d);
        EXPECT_EQ(bench.tree.resume->style.slFieldBullet, 0);
        EXPECT_NE(bench.ViewText().find("+ Phone"), std::string::npos);
        Child<QPushButton>(d, "refreshRender")->click();
        EXPECT_EQ(bench.tree.resume->style.slFieldBullet, 15);
        Child<QPushButton>(d, "okButton")->click();
    });
    {
        CBulletStylesSetupDlg dialog(bench.context, bench.tree.resume->style,
                                     BulletStyleKind::SLField);
        dialog.exec();
    }
    EXPECT_NE(bench.ViewText().find("+ Phone"), std::string::npos);
}

} // namespace
} // namespace trellic
