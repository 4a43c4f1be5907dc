#include "editors/resume_designer.h"
#include "editors_fixture.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace trellic {
namespace {

using testing::EditorBench;

constexpr StackEntry H(int32_t index) {
    return {index, kKindHeader};
}
constexpr StackEntry F(int32_t index) {
    return {index, kKindSLField};
}
using Stack = std::vector<StackEntry>;

// A resume of two headers with the fields under them, in a designer that is on screen.
class DesignerArranging : public ::testing::Test {
protected:
    void SetUp() override {
        bench.tree.resume->style.headerUnderline = false;
        bench.AddHeader("Contact");
        AddField("Phone");
        AddField("E-mail");
        bench.AddHeader("Experience");
        AddField("Employer");
        AddField("Hobby", false);
        designer.emplace(bench.context);
        designer->show();
        designer->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&*designer));
    }

    void AddField(const char* name, bool active = true) {
        SLFieldNode& field = bench.tree.slFields.emplace_back();
        field.fieldName = name;
        field.inheritStyle = true;
        bench.Push({static_cast<int32_t>(bench.tree.slFields.size() - 1), kKindSLField}, active);
    }

    int Selected() const {
        const auto items = designer->NodeList()->selectedItems();
        return items.isEmpty() ? -1 : designer->NodeList()->row(items.front());
    }

    // Where a drop lands before line (or past the end when line is the count).
    QPoint Before(int line) const {
        CNodeStackList* list = designer->NodeList();
        if (line >= list->count()) {
            const QRect last = list->visualRect(list->model()->index(list->count() - 1, 0));
            return {last.center().x(), last.bottom() + 5};
        }
        const QRect rect = list->visualRect(list->model()->index(line, 0));
        return {rect.center().x(), rect.top() + 1};
    }

    // Drops what mime carries at pos of the list.
    void DropOnList(const QMimeData* mime, QPoint pos) {
        QWidget* viewport = designer->NodeList()->viewport();
        QDragEnterEvent enter(pos, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        QDropEvent drop(pos, Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &drop);
    }
    void DragOverChooser(const QMimeData* mime) {
        QDragEnterEvent enter(QPoint(5, 5), Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(designer->StackChooser(), &enter);
    }
    void DropOnChooser(const QMimeData* mime) {
        QDropEvent drop(QPointF(5, 5), Qt::MoveAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(designer->StackChooser(), &drop);
    }
    std::unique_ptr<QMimeData> Dragged(StackId stack, int line) const {
        return std::unique_ptr<QMimeData>(designer->NodeList()->EntryData(stack, line));
    }

    EditorBench bench;
    std::optional<CResumeDesignerDlg> designer;
};

TEST_F(DesignerArranging, ControlDownMovesAHeaderWithItsNodesAsOneStep) {
    const Stack start{kResumeEntry, H(0), F(0), F(1), H(1), F(2)};
    ASSERT_EQ(bench.tree.activeStack, start);
    designer->NodeList()->setCurrentRow(2); // Phone, under Contact
    QTest::keyClick(designer->NodeList(), Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(bench.tree.activeStack, (Stack{kResumeEntry, H(1), F(2), H(0), F(0), F(1)}));
    // The selection stays on the node it was on, and the facts follow it.
    EXPECT_EQ(Selected(), 4);
    EXPECT_EQ(designer->StackLocationField()->text(), "4");
    const std::string text = bench.ViewText();
    EXPECT_LT(text.find("Experience"), text.find("Employer"));
    EXPECT_LT(text.find("Employer"), text.find("Contact"));
    EXPECT_LT(text.find("Contact"), text.find("Phone"));

    ASSERT_TRUE(bench.history.CanUndo());
    EXPECT_EQ(bench.history.UndoName(), "Move Header and Its Nodes Down");
    ASSERT_TRUE(bench.history.Undo());
    EXPECT_EQ(bench.tree.activeStack, start);
    EXPECT_FALSE(bench.history.CanUndo());

    // Up from the first block stays below the resume; nothing is recorded.
    designer->NodeList()->setCurrentRow(1);
    QTest::keyClick(designer->StackChooser(), Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(bench.tree.activeStack, start);
    EXPECT_FALSE(bench.history.CanUndo());
    EXPECT_TRUE(bench.prompter.events.empty());
}

TEST_F(DesignerArranging, ANodeUnderNoHeaderIsToldWhatToSelect) {
    designer->NodeList()->setCurrentRow(0);
    QTest::keyClick(designer->NodeList(), Qt::Key_Down, Qt::ControlModifier);
    ASSERT_EQ(bench.prompter.Messages().size(), 1U);
    EXPECT_EQ(bench.prompter.Messages()[0],
              "Please select a header, or a node under one, to move the header with its nodes.");
}

TEST_F(DesignerArranging, DroppingALineMovesItWithinItsStack) {
    const auto mime = Dragged(StackId::Active, 5); // Employer
    DropOnList(mime.get(), Before(1));
    EXPECT_EQ(bench.tree.activeStack, (Stack{kResumeEntry, F(2), H(0), F(0), F(1), H(1)}));
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(designer->NodeList()->item(1)->text(), "Employer");
    EXPECT_EQ(designer->NodeTypeField()->text(), "Single Line Field");
    EXPECT_EQ(bench.ViewText().rfind("Employer", 0), 0U); // rendered first

    // Dropped above the resume, it still lands below it; one undo step per drop.
    const auto again = Dragged(StackId::Active, 2);
    DropOnList(again.get(), Before(0));
    EXPECT_EQ(bench.tree.activeStack, (Stack{kResumeEntry, H(0), F(2), F(0), F(1), H(1)}));
    ASSERT_TRUE(bench.history.Undo());
    ASSERT_TRUE(bench.history.Undo());
    EXPECT_EQ(bench.tree.activeStack, (Stack{kResumeEntry, H(0), F(0), F(1), H(1), F(2)}));
}

TEST_F(DesignerArranging, TheStackChooserTakesALineToTheOtherStack) {
    // Over the chooser the list turns to the inactive stack; dropped in it, the line goes there.
    const auto phone = Dragged(StackId::Active, 2);
    DragOverChooser(phone.get());
    EXPECT_EQ(designer->StackChooser()->currentIndex(), 1);
    EXPECT_EQ(designer->NodeList()->count(), 1);
    DropOnList(phone.get(), Before(0));
    EXPECT_EQ(bench.tree.activeStack, (Stack{kResumeEntry, H(0), F(1), H(1), F(2)}));
    EXPECT_EQ(bench.tree.inactiveStack, (Stack{F(0), F(3)}));
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(designer->StackTypeField()->text(), "Inactive");
    EXPECT_EQ(bench.ViewText().find("Phone"), std::string::npos);

    // Dropped on the chooser itself, a line goes to the end of the stack it turns to.
    const auto hobby = Dragged(StackId::Inactive, 1);
    DragOverChooser(hobby.get());
    EXPECT_EQ(designer->StackChooser()->currentIndex(), 0);
    DropOnChooser(hobby.get());
    EXPECT_EQ(bench.tree.activeStack, (Stack{kResumeEntry, H(0), F(1), H(1), F(2), F(3)}));
    EXPECT_EQ(bench.tree.inactiveStack, (Stack{F(0)}));
    EXPECT_EQ(Selected(), 5);
}

TEST_F(DesignerArranging, TheResumeLineAndStrangeDragsStayPut) {
    const Stack start = bench.tree.activeStack;
    EXPECT_FALSE(designer->NodeList()->item(0)->flags() & Qt::ItemIsDragEnabled);
    EXPECT_TRUE(designer->NodeList()->item(1)->flags() & Qt::ItemIsDragEnabled);
    const auto resume = Dragged(StackId::Active, 0);
    DropOnList(resume.get(), Before(3));
    EXPECT_EQ(bench.tree.activeStack, start);
    ASSERT_EQ(bench.prompter.Messages().size(), 1U);
    EXPECT_EQ(bench.prompter.Messages()[0], "The resume node cannot be moved.");

    // A line of another designer (another window or program) is not taken, nor plain text.
    CNodeStackList other;
    const std::unique_ptr<QMimeData> foreign(other.EntryData(StackId::Active, 1));
    DropOnList(foreign.get(), Before(4));
    QMimeData text;
    text.setText("Phone");
    DropOnList(&text, Before(4));
    DragOverChooser(&text);
    EXPECT_EQ(designer->StackChooser()->currentIndex(), 0);
    EXPECT_EQ(bench.tree.activeStack, start);
    EXPECT_FALSE(bench.history.CanUndo());
}

TEST_F(DesignerArranging, NamesAreNeverCutOff) {
    const std::string longName =
        "Volunteer coordinator, Riverton Community Food Bank (2019 - today)";
    bench.tree.slFields[3].fieldName = longName;
    designer->StackChooser()->setCurrentIndex(1);
    designer->StackChooser()->setCurrentIndex(0);
    CNodeStackList* list = designer->NodeList();
    const QString whole = QString::fromStdString(longName);
    // The list is wide enough for the longest name of either stack, and the tooltip holds it.
    EXPECT_GE(list->minimumWidth(), list->fontMetrics().horizontalAdvance(whole));
    EXPECT_EQ(list->item(1)->toolTip(), list->item(1)->text());
    designer->StackChooser()->setCurrentIndex(1);
    EXPECT_EQ(list->item(0)->toolTip(), whole);
}

TEST_F(DesignerArranging, FactsFollowEveryCommand) {
    designer->NodeList()->setCurrentRow(5);
    QTest::keyClick(designer->NodeList(), Qt::Key_I); // Make Node Inactive
    EXPECT_EQ(Selected(), 4);
    EXPECT_EQ(designer->StackLocationField()->text(), "4");
    EXPECT_EQ(designer->DescriptionField()->toPlainText(),
              "Header: Experience\nInherit Style: Yes\n");

    designer->StackChooser()->setCurrentIndex(1);
    designer->NodeList()->setCurrentRow(1);
    QTest::keyClick(designer->NodeList(), Qt::Key_A); // back to the active stack
    QTest::keyClick(designer->NodeList(), Qt::Key_A);
    // The inactive list is empty: no facts of a node it does not show.
    EXPECT_EQ(designer->NodeList()->count(), 0);
    EXPECT_TRUE(designer->NodeTypeField()->text().isEmpty());
    EXPECT_TRUE(designer->DescriptionField()->toPlainText().isEmpty());
}

} // namespace
} // namespace trellic
