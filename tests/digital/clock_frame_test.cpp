// The digital edit frame through the clock form, with a scripted prompter.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "channels.h"
#include "digital/clock_form.h"
#include "forms/form_editor.h"
#include "support/short_memory.h"
#include "support/documents.h"
#include "support/scripted_prompter.h"

namespace lyr::digital {
namespace {

using test::Channels;
using State = DigitalEditFrame::State;

// A clock form over n samples at ts, opened at the given edit start.
struct ClockFixture : test::OpenedForm<ClockForm> {
    ClockFixture(std::int64_t ts, std::int64_t n, std::int64_t start = 0) : OpenedForm(ts, n, {}, {}, start) {}
    void times(const char* t1, const char* t2, const char* repeat, int unit = 0) {
        form.setUnit(ClockForm::kT1, unit);
        form.setText(ClockForm::kT1, t1);
        form.setText(ClockForm::kT2, t2);
        form.setText(ClockForm::kRepeat, repeat);
    }
};

TEST(DigitalFrame, CombineModes) {
    struct Case {
        DigitalApplyMode mode;
        std::vector<int> expected;
    } cases[] = {
        {DigitalApplyMode::Replace, {1, 1, 0, 0, 9}},
        {DigitalApplyMode::Or, {1, 1, 1, 0, 9}},
        {DigitalApplyMode::And, {1, 0, 0, 0, 9}},
        {DigitalApplyMode::Xor, {0, 1, 1, 0, 9}},
    };
    for (const auto& c : cases) {
        // Long enough for whole blocks and a tail; the byte past count stays.
        constexpr int kCount = 4 * 75;
        std::vector<std::uint8_t> ch(kCount + 1, 0), seg(kCount, 0);
        for (int base = 0; base < kCount; base += 4) {
            ch[base + 0] = 1, ch[base + 1] = 0, ch[base + 2] = 1, ch[base + 3] = 0;
            seg[base + 0] = 1, seg[base + 1] = 1, seg[base + 2] = 0, seg[base + 3] = 0;
        }
        ch[kCount] = 9;
        combineDigital(ch.data(), seg.data(), kCount, c.mode);
        for (int i = 0; i <= kCount; ++i)
            ASSERT_EQ(ch[i], c.expected[i < kCount ? i % 4 : 4]) << static_cast<int>(c.mode) << " at " << i;
    }
}

TEST(DigitalFrame, PreviewColumns) {
    struct Case {
        std::vector<std::uint8_t> levels;
        int width;
        std::vector<int> low, high;
    } cases[] = {
        // Fewer samples than columns: columns without a sample repeat the previous one.
        {{1, 0}, 4, {0, 0, 1, 1}, {1, 1, 0, 0}},
        // More samples than columns: sample 5 of 6 rounds to column 3 and is
        // drawn in the last one; a column with both levels is a full stroke.
        {{0, 0, 0, 1, 1, 1}, 3, {1, 1, 0}, {0, 0, 1}},
        {{1, 1, 1, 2}, 2, {0, 1}, {1, 1}},  // any byte but 1 counts as low
        {{}, 3, {0, 0, 0}, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        LevelColumns cols;
        computeLevelColumns(c.levels.data(), c.levels.size(), c.width, cols);
        EXPECT_EQ(std::vector<int>(cols.low.begin(), cols.low.end()), c.low) << c.levels.size();
        EXPECT_EQ(std::vector<int>(cols.high.begin(), cols.high.end()), c.high) << c.levels.size();
    }
}

TEST(DigitalFrame, OpensWithTheStartInTheReadoutUnitAndNoPreview) {
    ClockFixture x(10, 100000, 2500);  // T = 1 ms
    EXPECT_EQ(x.form.labelUnit(), 2);
    // The start, t1 (no unit remembered yet) and the repeat count.
    EXPECT_EQ(std::tuple(x.form.field(DigitalEditFrame::kStartField).text, x.form.field(ClockForm::kT1).text,
                         x.form.field(ClockForm::kRepeat).text),
              std::tuple("0.0025", "", "1"));
    EXPECT_EQ(std::tuple(x.form.level1(), x.form.level2()), std::tuple(1, 0));
    EXPECT_EQ(x.form.state(), State::Empty);
    EXPECT_FALSE(x.form.createEnabled() || x.form.applyEnabled());
    EXPECT_EQ(x.form.startLabel(), "");
}

TEST(DigitalFrame, ClockPeriodRules) {
    struct Case {
        const char *t1, *t2, *repeat;
        bool create;
        std::vector<int> segment;  // when create
    } cases[] = {
        {"0", "30", "2", true, {0, 0, 0, 0, 0, 0}},          // t1 = 0: all level2
        {"0", "0", "5", false, {}},                           // period 0
        {"20", "10", "1", true, {1, 1, 0}},
        {"20", "10", "0", false, {}},                         // repeat 0 is invalid
        {"20", "10", "x", false, {}},
        {"40", "30", "2", true, {1, 1, 1, 1, 0, 0, 0, 1, 1, 1}},  // 140 ns clipped to T = 100 ns
        {"101", "0", "1", false, {}},                         // a time beyond T
    };
    for (const auto& c : cases) {
        ClockFixture x(10, 10);
        x.times(c.t1, c.t2, c.repeat);
        EXPECT_EQ(x.form.createEnabled(), c.create) << c.t1 << "/" << c.t2 << "x" << c.repeat;
        if (!c.create) continue;
        ASSERT_TRUE(x.form.createSegment());
        EXPECT_EQ(x.segment(), c.segment) << c.t1 << "/" << c.t2 << "x" << c.repeat;
        EXPECT_EQ(x.form.state(), State::Current);
    }
}

TEST(DigitalFrame, ClockTimesMovedOntoTheGridInOneMessage) {
    ClockFixture x(10, 100);
    x.times("15", "27", "2");
    x.form.setLevel2(1);  // row 2 now has level 1, row 1 level 0
    ASSERT_TRUE(x.form.createSegment());
    ASSERT_EQ(x.prompter.asked.size(), 1u);
    EXPECT_EQ(x.prompter.asked[0].text,
              "サンプリング時間の整数倍にするため、[レベル 0：時間] [レベル 1：時間] を調節します。\n"
              "\n15 nS　→　10 nS\n27 nS　→　20 nS");
    EXPECT_EQ(x.form.field(ClockForm::kT1).text, "10");
    EXPECT_EQ(x.form.field(ClockForm::kT2).unit, 0);  // coupled to t1's unit
    EXPECT_EQ(x.segment(), (std::vector<int>{0, 1, 1, 0, 1, 1}));
    EXPECT_EQ(x.form.endLabel(), "0.06 uS");  // readouts in the unit of T = 1 uS

    // The default levels name row 1 "レベル 1".
    ClockFixture y(10, 100);
    y.times("15", "10", "1");
    ASSERT_TRUE(y.form.createSegment());
    EXPECT_EQ(y.prompter.asked[0].text,
              "サンプリング時間の整数倍にするため、[レベル 1：時間] を調節します。\n\n15 nS　→　10 nS");
}

TEST(DigitalFrame, FailedCreateAndStaleStates) {
    ClockFixture x(10, 100);
    x.times("5", "5", "1");  // valid fields, but truncated to 0 each
    ASSERT_TRUE(x.form.createEnabled());
    EXPECT_FALSE(x.form.createSegment());
    EXPECT_EQ(x.prompter.asked.back().text, "パラメータが不正です");
    EXPECT_EQ(x.form.state(), State::Empty);

    x.times("20", "10", "1");
    ASSERT_TRUE(x.form.createSegment());
    EXPECT_TRUE(x.form.applyEnabled());
    // The same text again is no change; start and channel keep the preview.
    x.form.setText(ClockForm::kT1, "20");
    x.form.setText(DigitalEditFrame::kStartField, "0.01");
    x.form.setChannel(3);
    EXPECT_EQ(x.form.state(), State::Current);
    EXPECT_FALSE(x.form.startLabel().empty());
    x.form.setLevel1(0);
    EXPECT_EQ(x.form.level2(), 1);
    EXPECT_EQ(x.form.state(), State::Stale);
    EXPECT_FALSE(x.form.applyEnabled());
    ASSERT_TRUE(x.form.createSegment());
    x.form.setUnit(ClockForm::kT2, 1);
    EXPECT_EQ(x.form.state(), State::Stale);
}

TEST(DigitalFrame, EditStartLimitsAndTheGridQuestion) {
    ClockFixture x(10, 10);  // T = 100 ns, unit nS
    x.times("10", "10", "1");
    ASSERT_TRUE(x.form.createSegment());
    x.form.setText(DigitalEditFrame::kStartField, "90");
    EXPECT_TRUE(x.form.applyEnabled());
    x.form.setText(DigitalEditFrame::kStartField, "91");
    EXPECT_FALSE(x.form.applyEnabled());
    EXPECT_TRUE(x.form.field(DigitalEditFrame::kStartField).markerShown);
    EXPECT_EQ(x.form.startLabel(), "");

    x.form.setText(DigitalEditFrame::kStartField, "25");
    x.prompter.script({PromptAnswer::Cancel});
    EXPECT_FALSE(x.form.applyDigitalSegment(DigitalApplyMode::Replace));
    EXPECT_EQ(x.prompter.asked.back().text,
              "サンプリング時間の整数倍にするため、[編集開始] を調節します。\n\n25 nS　→　20 nS");
    EXPECT_EQ(x.prompter.asked.back().buttons, PromptButtons::OkCancel);
    EXPECT_EQ(x.channels.first(0, 4), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_FALSE(x.form.accepted());
    x.prompter.script({PromptAnswer::Ok});
    ASSERT_TRUE(x.form.applyDigitalSegment(DigitalApplyMode::Replace));
    EXPECT_EQ(x.channels.first(0, 4), (std::vector<int>{0, 0, 1, 0}));
    EXPECT_TRUE(x.form.accepted());
}

TEST(DigitalFrame, AndAndXorWithAllOnes) {
    for (auto mode : {DigitalApplyMode::And, DigitalApplyMode::Xor}) {
        ClockFixture x(10, 6);
        x.channels.set(2, {1, 0, 1, 1, 0, 1});
        x.form.setChannel(2);
        x.times("10", "0", "4");
        x.form.setText(DigitalEditFrame::kStartField, "10");
        ASSERT_TRUE(x.form.createSegment());
        ASSERT_TRUE(x.form.applyDigitalSegment(mode));
        const std::vector<int> expected =
            mode == DigitalApplyMode::And ? std::vector<int>{1, 0, 1, 1, 0, 1} : std::vector<int>{1, 1, 0, 0, 1, 1};
        EXPECT_EQ(x.channels.first(2, 6), expected);
    }
}

TEST(DigitalFrame, ClockThroughTheDocumentCutAtTheEnd) {
    auto doc = lyr::test::newDoc(10, 100);
    lyr::test::ScriptedPrompter prompter;
    forms::FormEditor<ClockForm> editor(prompter, [](ClockForm& f) {
        f.setUnit(ClockForm::kT1, 0);
        f.setText(ClockForm::kT1, "30");
        f.setText(ClockForm::kT2, "20");
        f.setText(ClockForm::kRepeat, "4");  // 200 ns from sample 95
        return f.createSegment() && f.applyDigitalSegment(DigitalApplyMode::Or);
    });
    doc->editorSettings().clock.channel = 6;
    const auto range = doc->EditDigitalClock(95, document::AllChannels, editor);
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(*range, (document::EditRange{95, 115}));  // not cut at N
    // 30 ns high from sample 95, then low; nothing written past N.
    EXPECT_EQ(std::vector<int>(doc->digital(6) + 97, doc->digital(6) + 101), (std::vector<int>{1, 0, 0, 0}));
    const auto& s = doc->editorSettings().clock;
    EXPECT_EQ(std::tuple(s.t1, s.unit2, s.repeat, s.channel), std::tuple(30, 0, 4u, 6));

    // Memory short: the message, and nothing runs.
    lyr::test::ShortMemory memory;
    editor.configure = [&](ClockForm& f) { f.setAllocator(memory); };
    EXPECT_FALSE(doc->EditDigitalClock(0, 1, editor).has_value());
    EXPECT_EQ(prompter.asked.back().text, "ディジタル波形作成のためのメモリが確保できませんでした");
}

}  // namespace
}  // namespace lyr::digital
