// The edit-frame base through the smallest editor over it: the edit start's
// limits and readouts, the preview states, the grid question and the cut at
// the end of the waveform, the injected allocator.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/pulse_frame.h"
#include "support/scripted_prompter.h"
#include "support/short_memory.h"

namespace lyr::forms {
namespace {

using test::PulseFrame;
using State = EditFrame::State;
namespace doc = lyr::document;

struct Opened {
    // T = 1 us at 10 ns: 100 samples.
    explicit Opened(std::int64_t start = 0, std::int64_t total = 1000) {
        opened = frame.open(track, total, 10, start);
    }
    test::ScriptedPrompter prompter;
    PulseFrame frame{prompter};
    std::vector<std::uint8_t> track = std::vector<std::uint8_t>(100, 7);
    bool opened = false;
};

TEST(EditFrame, OpensWithTheStartInTheReadoutUnitAndNothingToApply) {
    Opened x(500, 2000000);  // T = 2 ms
    ASSERT_TRUE(x.opened);
    EXPECT_EQ(x.frame.labelUnit(), doc::kUnitMs);
    EXPECT_EQ(x.frame.field(EditFrame::kStartField).text, "0.0005");
    EXPECT_EQ(x.frame.state(), State::Empty);
    EXPECT_TRUE(x.frame.createEnabled());
    EXPECT_FALSE(x.frame.applyEnabled());
    EXPECT_EQ(x.frame.startLabel(), "0.0005 mS");
    EXPECT_EQ(x.frame.endLabel(), "0.00054 mS");
}

// 0 <= start <= T - Ts in any unit; an invalid start or period hides both readouts.
TEST(EditFrame, EditStartLimitsAndReadouts) {
    struct Case {
        const char* start;
        int unit;
        const char* t2;
        bool valid;
        const char* startLabel;
        const char* endLabel;
    };
    const Case cases[] = {
        {"0", doc::kUnitNs, "20", true, "0 uS", "0.04 uS"},  // in the readout unit chosen from T = 1 uS
        {"990", doc::kUnitNs, "20", true, "0.99 uS", "1.03 uS"},  // the end is not cut at T
        {"0.99", doc::kUnitUs, "20", true, "0.99 uS", "1.03 uS"},
        {"1000", doc::kUnitNs, "20", false, "", ""},
        {"-10", doc::kUnitNs, "20", false, "", ""},
        {"1x", doc::kUnitNs, "20", false, "", ""},
        {"10", doc::kUnitNone, "20", false, "", ""},
        {"10", doc::kUnitNs, "5", true, "", ""},  // t2 below Ts
    };
    for (const Case& c : cases) {
        Opened x;
        x.frame.setUnit(EditFrame::kStartField, c.unit);
        x.frame.setText(EditFrame::kStartField, c.start);
        x.frame.setText(PulseFrame::kT2, c.t2);
        EXPECT_EQ(x.frame.startValid(), c.valid) << c.start;
        EXPECT_EQ(x.frame.field(EditFrame::kStartField).markerShown, !c.valid) << c.start;
        EXPECT_EQ(x.frame.startLabel(), c.startLabel) << c.start;
        EXPECT_EQ(x.frame.endLabel(), c.endLabel) << c.start;
    }
}

// What each step does to the preview; a start change never makes it stale,
// and a frame that empties a stale preview goes back to Empty.
TEST(EditFrame, PreviewStates) {
    enum Step { Create, EditT1, SameT1, EditStart, FailCreate };
    struct Case {
        bool keepStale;
        std::vector<Step> steps;
        State state;
        bool applyEnabled;
    };
    const Case cases[] = {
        {true, {Create}, State::Current, true},
        {true, {Create, EditStart}, State::Current, true},
        {true, {Create, SameT1}, State::Current, true},
        {true, {Create, EditT1}, State::Stale, false},
        {false, {Create, EditT1}, State::Empty, false},
        {true, {Create, EditT1, Create}, State::Current, true},
        {true, {Create, FailCreate}, State::Empty, false},
    };
    for (const Case& c : cases) {
        Opened x;
        x.frame.keepStale = c.keepStale;
        for (Step s : c.steps) {
            switch (s) {
                case Create: EXPECT_TRUE(x.frame.createSegment()); break;
                case EditT1: x.frame.setText(PulseFrame::kT1, "30"); break;
                case SameT1: x.frame.setText(PulseFrame::kT1, x.frame.field(PulseFrame::kT1).text); break;
                case EditStart: x.frame.setText(EditFrame::kStartField, "0.1"); break;  // uS
                case FailCreate:
                    x.frame.setText(PulseFrame::kT1, "15");  // off the grid: the pulse refuses it
                    EXPECT_FALSE(x.frame.createSegment());
                    break;
            }
        }
        EXPECT_EQ(x.frame.state(), c.state) << c.steps.size();
        EXPECT_EQ(x.frame.applyEnabled(), c.applyEnabled) << c.steps.size();
        const bool failed = c.steps.back() == FailCreate;
        ASSERT_EQ(x.prompter.asked.size(), failed ? 1u : 0u);
        if (failed) {
            EXPECT_EQ(x.prompter.asked[0].text, "パラメータが不正です");
        }
    }
}

// An edit start off the grid is asked about and moved down; the segment is
// cut at the end of the waveform; a cancelled question writes nothing.
TEST(EditFrame, ApplyAsksAboutTheStartAndCutsAtTheEnd) {
    struct Case {
        const char* start;  // nS
        PromptAnswer answer;
        bool applied;
        std::size_t first, written;
    };
    const Case cases[] = {
        {"100", PromptAnswer::Ok, true, 10, 4},
        {"105", PromptAnswer::Ok, true, 10, 4},
        {"105", PromptAnswer::Cancel, false, 0, 0},
        {"980", PromptAnswer::Ok, true, 98, 2},  // 4 samples from 98 of 100
    };
    for (const Case& c : cases) {
        Opened x;
        x.frame.setUnit(EditFrame::kStartField, doc::kUnitNs);
        x.frame.setText(EditFrame::kStartField, c.start);
        ASSERT_TRUE(x.frame.createSegment());
        const bool offGrid = std::string(c.start) == "105";
        if (offGrid) x.prompter.script({c.answer});
        EXPECT_EQ(x.frame.apply(), c.applied) << c.start;
        EXPECT_EQ(x.frame.accepted(), c.applied) << c.start;
        ASSERT_EQ(x.prompter.asked.size(), offGrid ? 1u : 0u) << c.start;
        if (offGrid) {
            EXPECT_EQ(x.prompter.asked[0].text,
                      "サンプリング時間の整数倍にするため、[編集開始] を調節します。\n\n105 nS　→　100 nS");
            EXPECT_EQ(x.prompter.asked[0].buttons, PromptButtons::OkCancel);
        }
        std::vector<std::uint8_t> expected(100, 7);
        const std::uint8_t pulse[] = {1, 1, 0, 0};
        for (std::size_t k = 0; k < c.written; ++k) expected[c.first + k] = pulse[k];
        EXPECT_EQ(x.track, expected) << c.start;
    }
}

TEST(EditFrame, ShortMemoryRefusesToOpen) {
    test::ScriptedPrompter prompter;
    PulseFrame frame(prompter);
    test::ShortMemory memory;
    frame.setAllocator(memory);
    std::vector<std::uint8_t> track(100);
    EXPECT_FALSE(frame.open(track, 1000, 10, 0));
    EXPECT_TRUE(prompter.asked.empty());  // the message is the caller's
}

TEST(GridAdjustMessage, NamesEveryFieldThenEachChange) {
    EXPECT_EQ(gridAdjustMessage({{"期間", "15", doc::kUnitNs, "10"}, {"レベル 1：時間", "0.0155", doc::kUnitUs, "0.015"}}),
              "サンプリング時間の整数倍にするため、[期間] [レベル 1：時間] を調節します。\n"
              "\n15 nS　→　10 nS\n0.0155 uS　→　0.015 uS");
}

}  // namespace
}  // namespace lyr::forms
