// Shift, swap and the modification editor through their forms and the document.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "channels.h"
#include "forms/form_editor.h"
#include "digital/modify_form.h"
#include "digital/shift_form.h"
#include "digital/swap_form.h"
#include "support/short_memory.h"
#include "support/documents.h"
#include "support/scripted_prompter.h"

namespace lyr::digital {
namespace {

using lyr::test::ScriptedPrompter;
using test::Channels;

std::vector<int> levels(const std::uint8_t* p, std::size_t n) { return std::vector<int>(p, p + n); }

// A shift form on 0,0,1,1,0 at Ts 10 ns (L = 50 ns).
struct ShiftFixture {
    ShiftFixture() : form(prompter) {
        document::ShiftSettings s;
        s.shiftUnit = 0;
        form.load(s);
        EXPECT_TRUE(form.open(target.data(), 10, 0, 50, 3));
    }
    ScriptedPrompter prompter;
    std::vector<std::uint8_t> target{0, 0, 1, 1, 0, 7};
    ShiftForm form;
};

TEST(DigitalShift, Examples) {
    struct Case {
        std::vector<const char*> shifts;
        int method;
        std::vector<int> expected;
    } cases[] = {
        {{"20"}, 0, {0, 0, 0, 0, 1}},
        {{"20"}, 2, {1, 0, 0, 0, 1}},
        {{"-20"}, 1, {1, 1, 0, 1, 1}},
        {{"-20"}, 2, {1, 1, 0, 0, 0}},
        {{"50"}, 2, {0, 0, 1, 1, 0}},   // +L rotated: unchanged
        {{"50"}, 1, {1, 1, 1, 1, 1}},
        {{"-50"}, 0, {0, 0, 0, 0, 0}},
        {{"10", "10"}, 0, {0, 0, 0, 0, 1}},  // executions add up
        {{"10", "-10"}, 2, {0, 0, 1, 1, 0}},
    };
    for (const auto& c : cases) {
        ShiftFixture x;
        x.form.setMethod(c.method);
        for (const char* s : c.shifts) {
            x.form.setText(s);
            ASSERT_TRUE(x.form.execute()) << s;
        }
        EXPECT_EQ(levels(x.form.working(), 5), c.expected) << c.shifts[0] << " method " << c.method;
        EXPECT_EQ(levels(x.target.data(), 6), (std::vector<int>{0, 0, 1, 1, 0, 7}));  // not before OK
        x.form.accept();
        EXPECT_EQ(levels(x.target.data(), 5), c.expected);
        EXPECT_EQ(x.target[5], 7);  // nothing past the piece
    }
}

TEST(DigitalShift, ValidationAndTruncationTowardsZero) {
    ShiftFixture x;
    EXPECT_EQ(std::tuple(x.form.title(), x.form.startLabel(), x.form.endLabel()),
              std::tuple("ディジタルシフト － CH 3", "0 nS", "50 nS"));
    for (const char* bad : {"0", "9", "-9", "51", "-51", "x", ""}) {
        x.form.setText(bad);
        EXPECT_FALSE(x.form.executeEnabled()) << bad;
        EXPECT_TRUE(x.form.shiftField().markerShown) << bad;
    }
    EXPECT_FALSE(x.form.okEnabled());
    x.form.setText("-25");
    ASSERT_TRUE(x.form.execute());
    ASSERT_EQ(x.prompter.asked.size(), 1u);
    EXPECT_EQ(x.prompter.asked[0].text,
              "サンプリング時間の整数倍にするため、[シフト時間] を調節します。\n\n-25 nS　→　-20 nS");
    EXPECT_EQ(x.form.shiftField().text, "-20");
    EXPECT_TRUE(x.form.okEnabled());
    EXPECT_EQ(x.form.settings().shiftTime, -20);
}

// Cancel and undo are the document's (CSYNDoc.CancelledEditorStoresAndCommitsNothing,
// ModifyShiftAndSwapEditors).
TEST(DigitalShift, ThroughTheDocumentOnOneChannel) {
    auto doc = lyr::test::newDoc(10, 5);
    for (int i : {2, 3}) doc->digital(4)[i] = 1;
    doc->digital(1)[0] = 1;
    ScriptedPrompter prompter;
    ShiftFormEditor editor(prompter, [&](ShiftForm& f) {
        f.setUnit(0);
        f.setMethod(2);
        f.setText("20");
        f.execute();
        f.accept();
        return true;
    });
    const auto range = doc->EditDigitalShift(4, editor);
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(*range, (document::EditRange{0, 5}));
    EXPECT_EQ(levels(doc->digital(4), 5), (std::vector<int>{1, 0, 0, 0, 1}));
    EXPECT_EQ(doc->digital(1)[0], 1);
    EXPECT_EQ(doc->editorSettings().shift.shiftMethod, 2);

    lyr::test::ShortMemory memory;
    editor.configure = [&](ShiftForm& f) { f.setAllocator(memory); };
    EXPECT_FALSE(doc->EditDigitalShift(4, editor).has_value());
    EXPECT_EQ(prompter.asked.back().text, "ディジタルシフトのためのメモリが確保できませんでした");
}

TEST(DigitalSwap, BoxesNeverShowTheSameChannel) {
    struct Case {
        int a, b;          // remembered
        int openA, openB;  // shown
        bool setFirst;     // then choose in box A (else B)
        int choose;
        int expectA, expectB;
    } cases[] = {
        {3, 3, 3, 4, true, 4, 4, 5},
        {7, 7, 7, 6, false, 7, 6, 7},
        {0, 1, 0, 1, true, 1, 1, 2},
        {0, 6, 0, 6, false, 0, 1, 0},
        {2, 5, 2, 5, true, 7, 7, 5},
        {6, 7, 6, 7, true, 7, 7, 6},
    };
    ScriptedPrompter p;
    for (const auto& c : cases) {
        SwapForm form(p);
        document::SwapSettings s;
        s.swapA = c.a;
        s.swapB = c.b;
        ASSERT_TRUE(form.open(s));
        EXPECT_EQ(std::tuple(form.a(), form.b()), std::tuple(c.openA, c.openB)) << c.a << "," << c.b;
        c.setFirst ? form.setA(c.choose) : form.setB(c.choose);
        EXPECT_EQ(std::tuple(form.a(), form.b()), std::tuple(c.expectA, c.expectB)) << c.a << "," << c.b;
    }
}

TEST(DigitalSwap, ThroughTheDocumentWithUndo) {
    auto doc = lyr::test::newDoc(10, 4);
    doc->digital(2)[0] = 1;
    doc->digital(6)[3] = 1;
    ScriptedPrompter prompter;
    SwapFormEditor editor(prompter, [](SwapForm& f) {
        f.setA(2);
        f.setB(6);
        return true;
    });
    ASSERT_TRUE(doc->EditDigitalSwap(editor).has_value());
    EXPECT_EQ(levels(doc->digital(2), 4), (std::vector<int>{0, 0, 0, 1}));
    EXPECT_EQ(levels(doc->digital(6), 4), (std::vector<int>{1, 0, 0, 0}));
    EXPECT_EQ(std::tuple(doc->editorSettings().swap.swapA, doc->editorSettings().swap.swapB), std::tuple(2, 6));
    EXPECT_EQ(doc->undo(), std::optional<std::int32_t>(document::AllChannels));
    EXPECT_EQ(doc->digital(2)[0], 1);
}

// A modification form at Ts 10 ns over n samples, opened at the edit start.
struct ModifyFixture : test::OpenedForm<ModifyForm> {
    ModifyFixture(std::int64_t n, std::int64_t start, int editCh, int copyCh)
        : OpenedForm(10, n, settings(editCh, copyCh), {}, start) {
        form.setBand({10, 9, 100, 80});
    }
    static ModifyForm::Settings settings(int editCh, int copyCh) {
        ModifyForm::Settings s;
        s.modify.editChannel = editCh;
        s.modify.copyChannel = copyCh;
        s.modify.copyPeriodUnit = 0;
        return s;
    }
    void copy(const char* start, const char* period) {
        form.setUnit(ModifyForm::kCopyStart, 0);
        form.setUnit(ModifyForm::kCopyPeriod, 0);
        form.setText(ModifyForm::kCopyStart, start);
        form.setText(ModifyForm::kCopyPeriod, period);
        ASSERT_TRUE(form.pressCopy());
    }
    std::vector<int> edited() const { return segment(ModifyForm::kEdited); }
};

TEST(DigitalModify, CopyIsCutAtTheEndBeforeTheGrid) {
    ModifyFixture x(100, 0, 0, 0);  // T = 1000 ns
    x.copy("990", "50");
    EXPECT_TRUE(x.prompter.asked.empty());  // 10 ns is on the grid: no message
    EXPECT_EQ(std::tuple(x.form.field(ModifyForm::kCopyPeriod).text, x.form.segmentSamples(), x.form.copyStartLabel(),
                         x.form.copyEndLabel()),
              std::tuple("10", 1u, "0.99 uS", "1 uS"));

    ModifyFixture y(100, 0, 0, 0);
    y.copy("15", "27");
    EXPECT_EQ(y.prompter.asked[0].text,
              "サンプリング時間の整数倍にするため、[コピー開始] [コピー期間] を調節します。\n"
              "\n15 nS　→　10 nS\n27 nS　→　20 nS");
    // A copy start past T - Ts cannot be copied.
    ModifyFixture z(100, 0, 0, 0);
    z.form.setUnit(ModifyForm::kCopyStart, 0);
    z.form.setText(ModifyForm::kCopyStart, "995");
    z.form.setText(ModifyForm::kCopyPeriod, "50");
    EXPECT_TRUE(z.form.field(ModifyForm::kCopyStart).markerShown);
    EXPECT_FALSE(z.form.copyButtonEnabled());
    EXPECT_FALSE(z.form.pressCopy());
    EXPECT_EQ(z.form.copyStartLabel(), "");
    EXPECT_FALSE(z.form.locked());
}

TEST(DigitalModify, MovesAPatternBetweenChannelsThroughTheDocument) {
    auto doc = lyr::test::newDoc(10, 100);
    for (int i : {20, 21, 23}) doc->digital(2)[i] = 1;
    ScriptedPrompter prompter;
    forms::FormEditor<ModifyForm> editor(prompter, [](ModifyForm& f) {
        f.setCopyChannel(2);
        f.setChannel(5);
        f.setUnit(ModifyForm::kCopyStart, 0);
        f.setText(ModifyForm::kCopyStart, "200");
        f.setUnit(ModifyForm::kCopyPeriod, 0);
        f.setText(ModifyForm::kCopyPeriod, "40");
        return f.pressCopy() && f.applyDigitalSegment(DigitalApplyMode::Replace);
    });
    const auto range = doc->EditDigitalModify(70, document::AllChannels, editor);
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(*range, (document::EditRange{70, 74}));
    EXPECT_EQ(levels(doc->digital(5) + 70, 4), (std::vector<int>{1, 1, 0, 1}));
    const auto& m = doc->editorSettings().modify;
    EXPECT_EQ(std::tuple(m.editChannel, m.copyChannel, m.copyPeriod, m.copyPeriodUnit), std::tuple(5, 2, 40, 0));
}

TEST(DigitalModify, InvertTwiceRecopyAndCopyFieldChanges) {
    ModifyFixture x(100, 0, 1, 1);
    x.channels.set(1, {1, 0, 0, 1});
    x.copy("0", "40");
    EXPECT_TRUE(x.form.locked());
    EXPECT_STREQ(x.form.copyButtonText(), "再コピー");
    EXPECT_FALSE(x.form.field(ModifyForm::kCopyStart).enabled);
    ASSERT_TRUE(x.form.invertPiece());
    EXPECT_EQ(x.edited(), (std::vector<int>{0, 1, 1, 0}));
    EXPECT_EQ(levels(x.form.segment(ModifyForm::kCopied), 4), (std::vector<int>{1, 0, 0, 1}));
    x.form.invertPiece();
    EXPECT_EQ(x.edited(), (std::vector<int>{1, 0, 0, 1}));

    // "再コピー" unlocks only; apply still uses the piece copied before.
    x.form.invertPiece();
    x.channels.set(1, {1, 1, 1, 1});
    ASSERT_TRUE(x.form.pressCopy());
    EXPECT_FALSE(x.form.locked());
    EXPECT_STREQ(x.form.copyButtonText(), "コピー");
    EXPECT_TRUE(x.form.copied());
    x.form.setUnit(DigitalEditFrame::kStartField, 0);  // the edit start keeps the piece
    x.form.setText(DigitalEditFrame::kStartField, "50");
    x.form.setChannel(3);
    ASSERT_TRUE(x.form.applyDigitalSegment(DigitalApplyMode::Replace));
    EXPECT_EQ(x.channels.first(3, 9), (std::vector<int>{0, 0, 0, 0, 0, 0, 1, 1, 0}));

    // A copy field change drops the piece and its preview.
    ModifyFixture y(100, 0, 1, 1);
    y.copy("0", "40");
    y.form.pressCopy();
    y.form.setUnit(ModifyForm::kCopyPeriod, 1);
    EXPECT_FALSE(y.form.copied());
    EXPECT_FALSE(y.form.previewShown());
    EXPECT_FALSE(y.form.invertPiece());
    ModifyFixture z(100, 0, 1, 1);
    z.copy("0", "40");
    z.form.pressCopy();
    z.form.setCopyChannel(4);
    EXPECT_FALSE(z.form.applyEnabled());
}

TEST(DigitalModify, ShiftThroughTheShiftFormKeepsItsSettings) {
    ModifyFixture x(100, 0, 0, 6);
    x.channels.set(6, {0, 0, 0, 0, 0, 0, 1, 1, 0});
    x.copy("50", "40");  // 0,1,1,0
    std::string title;
    ASSERT_TRUE(x.form.shiftPiece([&](ShiftForm& s) {
        title = s.title();
        EXPECT_EQ(s.startLabel(), "50 nS");
        s.setUnit(0);
        s.setMethod(2);
        s.setText("-10");
        s.execute();
        s.accept();
        return true;
    }));
    EXPECT_EQ(title, "ディジタルシフト － CH 6");
    EXPECT_EQ(x.edited(), (std::vector<int>{1, 1, 0, 0}));
    EXPECT_EQ(x.form.settings().shift.shiftTime, -10);
    EXPECT_FALSE(x.form.shiftPiece([](ShiftForm& s) {
        s.setText("20");
        s.execute();
        return false;  // closed without OK
    }));
    EXPECT_EQ(x.edited(), (std::vector<int>{1, 1, 0, 0}));
    EXPECT_EQ(x.form.settings().shift.shiftTime, -10);
}

TEST(DigitalModify, FreehandStrokes) {
    // 200 samples under a band 100 pixels wide at x 10..109, y 9..88.
    ModifyFixture x(1000, 0, 0, 0);
    x.copy("0", "2000");
    ASSERT_EQ(x.form.segmentSamples(), 200u);
    // Above the middle: ones from column 20 to 30 -> samples 40 .. 60.
    ASSERT_TRUE(x.form.press(30, 20));
    x.form.move(40, 20, true);
    x.form.release();
    const auto e = x.edited();
    EXPECT_EQ(e[39], 0);
    for (int i = 40; i <= 60; ++i) EXPECT_EQ(e[i], 1) << i;
    EXPECT_EQ(e[61], 0);
    EXPECT_GE(x.form.dirtyFirst(), 0);
    EXPECT_LE(x.form.dirtyLast(), 99);

    // Below the middle, drawn right to left: zeros again.
    ASSERT_TRUE(x.form.press(35, 80));
    x.form.move(33, 80, true);
    EXPECT_EQ(x.edited()[50], 0);
    EXPECT_EQ(x.edited()[46], 0);
    EXPECT_EQ(x.edited()[45], 1);
    // A move without the button ends the stroke.
    x.form.move(30, 20, false);
    EXPECT_FALSE(x.form.drawing());

    // Past the right edge: stops at the last sample of the piece.
    ASSERT_TRUE(x.form.press(100, 15));
    x.form.move(126, 15, true);  // 17 pixels past the band
    for (int i = 180; i < 200; ++i) EXPECT_EQ(x.edited()[i], 1) << i;
    // Too far away to start, and nothing before a copy.
    EXPECT_FALSE(x.form.press(127, 15));
    EXPECT_FALSE(x.form.press(50, 88 + 17));
    ModifyFixture y(1000, 0, 0, 0);
    EXPECT_FALSE(y.form.press(30, 20));
}

}  // namespace
}  // namespace lyr::digital
