// The field-row dialog over the smallest editor: the rows as a user meets
// them (typing, markers, units), "作成" and an apply that closes it, the
// question that keeps it open, and what assistive technology reads.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "forms/pulse_frame.h"
#include "forms/ui/field_row_dialog.h"
#include "support/dialog_fields.h"
#include "support/scripted_prompter.h"

namespace lyr::forms {
namespace {

using test::PulseFrame;

class PulseDialog : public FieldRowDialog {
public:
    PulseDialog(PulseFrame& frame) : FieldRowDialog(frame, {"置換", "OR", "AND", "XOR"}, nullptr), frame_(frame) {
        auto* group = new QGroupBox(this);
        auto* column = new QVBoxLayout(group);
        auto* grid = new QGridLayout;
        placeRow(grid, 0, PulseFrame::kT1);
        placeRow(grid, 1, PulseFrame::kT2);
        column->addLayout(grid);
        column->addWidget(makeCreateButton(group));
        column->addLayout(makeRangeLabels(group, 100));
        topLayout()->addWidget(group);
        std::vector<QWidget*> order = startStops();
        appendRowStops(order, PulseFrame::kT1);
        appendRowStops(order, PulseFrame::kT2);
        setTabChain(order);
        showForm();
    }
    int previewsShown = 0;

protected:
    bool applyMode(int mode) override { return mode == 0 && frame_.apply(); }
    void showPreview() override { ++previewsShown; }

private:
    PulseFrame& frame_;
};

class FieldRowDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::qtApp();
        ASSERT_TRUE(frame.open(track, 1000, 10, 0));
        dlg = std::make_unique<PulseDialog>(frame);
        dlg->show();
    }
    test::ScriptedPrompter prompter;
    PulseFrame frame{prompter};
    std::vector<std::uint8_t> track = std::vector<std::uint8_t>(100, 7);
    std::unique_ptr<PulseDialog> dlg;
};

TEST_F(FieldRowDialogTest, TypingMarksApplyingWritesAndCloses) {
    using test::click;
    using test::markerShown;
    PulseDialog& d = *dlg;
    EXPECT_EQ(d.windowTitle(), QStringLiteral("パルス"));
    EXPECT_EQ(test::child<QLineEdit>(d, "edit_t1")->text(), QStringLiteral("20"));
    EXPECT_FALSE(test::child<QPushButton>(d, "apply0")->isEnabled());

    test::typeInto(d, "t1", QStringLiteral("5"));
    EXPECT_TRUE(markerShown(d, "t1"));
    EXPECT_FALSE(markerShown(d, "t2"));
    EXPECT_FALSE(d.createButton()->isEnabled());
    EXPECT_EQ(d.startLabel()->text(), QString());

    test::chooseUnit(d, "t1", document::kUnitUs);  // 5 uS
    EXPECT_FALSE(markerShown(d, "t1"));
    test::typeInto(d, "t1", QStringLiteral("0.02"));
    test::typeInto(d, "start", QStringLiteral("0.105"));  // uS, the readout unit of T = 1 uS
    EXPECT_EQ(d.endLabel()->text(), QStringLiteral("0.145 uS"));
    click(d, "create");
    EXPECT_TRUE(test::child<QPushButton>(d, "apply0")->isEnabled());

    prompter.script({PromptAnswer::Cancel});
    click(d, "apply0");
    EXPECT_TRUE(d.isVisible());  // the start question cancelled: still open
    EXPECT_EQ(track[10], 7);
    prompter.script({PromptAnswer::Ok});
    click(d, "apply0");
    EXPECT_EQ(d.result(), QDialog::Accepted);
    EXPECT_EQ(std::vector<std::uint8_t>(track.begin() + 10, track.begin() + 15),
              (std::vector<std::uint8_t>{1, 1, 0, 0, 7}));
}

// Rows of one label read apart by their symbol; readouts read the value they show.
TEST_F(FieldRowDialogTest, WhatAssistiveTechnologyReads) {
    PulseDialog& d = *dlg;
    struct Case {
        const char* object;
        const char* name;
    };
    const Case cases[] = {
        {"marker_t1", "時間(t1)の入力が正しくありません"},
        {"marker_t2", "時間(t2)の入力が正しくありません"},
        {"unit_t1", "時間の単位"},
        {"edit_t2", "時間(t2)："},
        {"marker_start", "編集開始の入力が正しくありません"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(test::child<QWidget>(d, QString::fromLatin1(c.object))->accessibleName(), QString::fromUtf8(c.name))
            << c.object;
    QAccessibleInterface* start = QAccessible::queryAccessibleInterface(d.startLabel());
    EXPECT_EQ(start->text(QAccessible::Name), QStringLiteral("0 uS"));
    EXPECT_EQ(start->text(QAccessible::Description), QStringLiteral("StartTime"));
    int buddies = 0;
    for (QLabel* l : d.findChildren<QLabel*>())
        if (qobject_cast<QLineEdit*>(l->buddy())) ++buddies;
    EXPECT_EQ(buddies, 3);  // start, t1, t2
}

}  // namespace
}  // namespace lyr::forms
