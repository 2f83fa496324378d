// The output window's logic against the simulated unit; the poll timer is
// stepped by hand and the unit's clock stands still unless a test moves it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>

#include "device/output_window.h"
#include "pgxsim/environment.h"
#include "simulated_unit.h"
#include "support/documents.h"
#include "support/scripted_prompter.h"

namespace lyr::device {
namespace {

using document::OutputSettings;

class SteppedTimer : public PollTimer {
public:
    void start(int intervalMs) override {
        running = true;
        interval = intervalMs;
    }
    void stop() override { running = false; }
    bool running = false;
    int interval = 0;
};

// Sampling time 83,886,080 ns: a repeat run of 1,000 samples lasts minutes.
constexpr std::int64_t kSlowTs = 83886080;

class OutputWindow : public ::testing::Test {
protected:
    void SetUp() override { doc_ = test::newDoc(kSlowTs, 1000); }
    void TearDown() override { form_.reset(); }

    OutputWindowForm& open(const std::string& serial = {}, const std::string& description = {}) {
        form_ = std::make_unique<OutputWindowForm>(unit_.api(), timer_, prompter_);
        form_->waitCursor = [this](bool on) { waits_ += on ? 1 : 0; };
        EXPECT_TRUE(form_->open(openingFor(*doc_, serial, description, "test.lyr")));
        return *form_;
    }
    // Faults named as PGXSIM_FAULT names them.
    void fault(const char* text) { unit_.model.setFaults(pgxsim::parseFaults(text)); }
    void clearFault() { unit_.model.setFaults({}); }
    std::string lastMessage() const { return prompter_.asked.empty() ? "" : prompter_.asked.back().text; }
    // Transfers with these settings and lets the next poll show the result.
    void transferWith(OutputWindowForm& f, int mode, int control, const std::string& count = "3") {
        f.chooseOption(GroupOutputMode, mode);
        f.chooseOption(GroupStartControl, control);
        f.setRepeatText(count);
        f.transfer();
        f.timerTick();
    }

    test::SimulatedUnit unit_;
    SteppedTimer timer_;
    test::ScriptedPrompter prompter_;
    std::unique_ptr<document::CSYNDoc> doc_;
    std::unique_ptr<OutputWindowForm> form_;
    int waits_ = 0;
};

TEST_F(OutputWindow, NoUnitThenTheNextPollPicksItUp) {
    fault("unplugged");
    OutputWindowForm& f = open();
    EXPECT_EQ(f.statusLine(), "PGX-500 未接続");
    EXPECT_EQ(f.buttons(), ButtonState{});
    EXPECT_FALSE(f.deviceSettingsShown());
    EXPECT_EQ(f.deviceRepeatText() + f.deviceResolutionText(), "");
    EXPECT_EQ(std::tuple(timer_.running, timer_.interval), std::tuple(true, POLL_INTERVAL_MS));
    f.timerTick();
    EXPECT_EQ(f.statusLine(), "PGX-500 未接続");
    clearFault();
    f.timerTick();
    EXPECT_TRUE(f.deviceOpen() && timer_.running);
    EXPECT_EQ(std::tuple(f.statusLine(), f.version()), std::tuple("PGX-500 未設定", "Ver.3"));
    EXPECT_TRUE(f.buttons().transferEnabled);
    EXPECT_FALSE(f.buttons().startStopEnabled);
}

// Buttons and status follow the settings the unit holds, not the window's.
TEST_F(OutputWindow, ButtonsFollowTheUnitsStateAndStartControl) {
    struct Case {
        int mode, control;
        bool start;
        const char* status;
        ButtonState expected;  // label is start, transfer, start/stop, forced stop
    };
    const Case cases[] = {
        {0, 0, false, "PGX-500 レディ", {true, true, true, false}},
        {0, 0, true, "PGX-500 動作中", {false, false, true, true}},
        {1, 0, true, "PGX-500 動作中", {false, false, false, true}},
        {0, 1, false, "PGX-500 レディ", {true, true, false, false}},
        {0, 2, false, "PGX-500 レディ", {true, true, false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + "/" + std::to_string(c.control) + (c.start ? " started" : ""));
        OutputWindowForm& f = open();
        f.chooseOption(GroupStartControl, 0);
        transferWith(f, c.mode, 0);
        if (c.start) {
            f.startStop();
            f.timerTick();
        }
        if (c.control != 0) transferWith(f, c.mode, c.control);
        EXPECT_EQ(f.statusLine(), c.status);
        EXPECT_EQ(f.buttons(), c.expected);
        EXPECT_EQ(f.deviceSettings().startControl, c.control);
        // Stopping a continuous run brings "スタート" back.
        if (c.start && c.expected.startStopEnabled) {
            f.startStop();
            f.timerTick();
            EXPECT_EQ(f.statusLine(), "PGX-500 レディ");
            EXPECT_TRUE(f.buttons().startLabelIsStart);
        }
        if (c.start && !c.expected.startStopEnabled) {
            f.forceStopOutput();
            f.timerTick();
            EXPECT_EQ(f.statusLine(), "PGX-500 レディ");
        }
        form_.reset();
    }
    EXPECT_TRUE(prompter_.asked.empty()) << lastMessage();
    EXPECT_GT(waits_, 0);
}

TEST_F(OutputWindow, TransferNeedsAStoppedUnitAWaveformAndAValidCount) {
    OutputWindowForm& f = open();
    struct Case {
        int mode;
        const char* text;
        bool accepted;
        std::int32_t count;
    };
    const Case cases[] = {{1, "0", false, 1},     {1, "65537", false, 1}, {1, "abc", false, 1},
                          {1, "65536", true, 65536}, {1, "1", true, 1},    {0, "abc", true, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        prompter_.asked.clear();
        transferWith(f, c.mode, 0, c.text);
        EXPECT_EQ(lastMessage(), c.accepted ? "" : kRepeatInvalidMessage);
        if (c.accepted) {
            EXPECT_EQ(f.deviceSettings().repeatCount, c.count);
        }
        EXPECT_EQ(f.deviceSettings().outputMode, c.accepted ? c.mode : 0);
    }
    // Running: the transfer button goes grey.
    f.startStop();
    f.timerTick();
    EXPECT_FALSE(f.buttons().transferEnabled);

    // Without a waveform nothing is sent and nothing asked.
    form_.reset();
    doc_ = test::makeDoc();
    OutputWindowForm& empty = open();
    empty.timerTick();
    EXPECT_FALSE(empty.buttons().transferEnabled);
    prompter_.asked.clear();
    empty.transfer();
    EXPECT_TRUE(prompter_.asked.empty());
    EXPECT_EQ(empty.statusLine(), "PGX-500 動作中");
    EXPECT_EQ(empty.workingSettings(), OutputSettings{});
}

TEST_F(OutputWindow, MarksAndDeviceFieldsShowWhatTheUnitHolds) {
    ASSERT_TRUE(doc_->setAnalogResolution(10));
    OutputWindowForm& f = open();
    EXPECT_FALSE(f.deviceSettingsShown());  // a fresh unit holds no data
    EXPECT_EQ(f.optionLabel(GroupOutputMode, 0), "連続");
    f.chooseOption(GroupAnalogStop, 1);
    f.chooseOption(GroupTriggerMode, 1);  // greyed out: start control is not the trigger
    transferWith(f, 1, 2, "7");
    ASSERT_TRUE(f.deviceSettingsShown());
    EXPECT_EQ(f.optionLabel(GroupOutputMode, 1), "繰り返し *");
    EXPECT_EQ(f.optionLabel(GroupOutputMode, 0), "連続");
    EXPECT_EQ(f.optionLabel(GroupAnalogStop, 1), "開始データ *");
    EXPECT_EQ(f.optionLabel(GroupStartControl, 2), "外部トリガー *");
    EXPECT_EQ(f.optionLabel(GroupTriggerMode, 0), "レベル *");
    EXPECT_EQ(std::tuple(f.deviceRepeatText(), f.deviceResolutionText(), f.deviceChannelsText()),
              std::tuple("7", "アナログ分解能：10ビット", "ディジタルCH：0～5"));
    EXPECT_TRUE(f.repeatFieldEnabled() && f.triggerGroupsEnabled() && f.optionEnabled(GroupTriggerMode, 1));
    f.chooseOption(GroupStartControl, 0);
    f.chooseOption(GroupOutputMode, 0);
    EXPECT_FALSE(f.triggerGroupsEnabled() || f.optionEnabled(GroupRetrigger, 1) || f.repeatFieldEnabled());
    // Unplugged: the marks and device fields go blank.
    fault("unplugged");
    f.timerTick();
    EXPECT_EQ(f.optionLabel(GroupOutputMode, 1), "繰り返し");
    EXPECT_EQ(f.deviceRepeatText() + f.deviceChannelsText(), "");
}

TEST_F(OutputWindow, PulseWidthFixedByTheWaveform) {
    doc_ = test::newDoc(10, 1000);  // 10 us: the 100 nS pulse
    ASSERT_EQ(doc_->outputSettings().syncPulseWidth, 1);
    OutputWindowForm& f = open();
    EXPECT_FALSE(f.optionEnabled(GroupSyncPulseWidth, 0));
    EXPECT_TRUE(f.optionEnabled(GroupSyncPulseWidth, 1));
    f.chooseOption(GroupSyncPulseWidth, 0);
    EXPECT_EQ(f.controls().choice[GroupSyncPulseWidth], 1);
    form_.reset();
    doc_ = test::makeDoc();
    OutputWindowForm& empty = open();
    EXPECT_TRUE(empty.optionEnabled(GroupSyncPulseWidth, 0) && empty.optionEnabled(GroupSyncPulseWidth, 1));
    EXPECT_EQ(empty.analogResolution(), 12);
    EXPECT_EQ(empty.controls().repeatText, "1");
}

TEST_F(OutputWindow, CaptionNamesUnitDocumentAndAllocation) {
    struct Case {
        bool waveform;
        const char* serial;
        const char* description;
        const char* caption;
    };
    const Case cases[] = {
        {true, "PG500001", "Bench", "波形出力 - [Bench] test.lyr ( アナログ分解能：12ビット  ディジタルCH：0～3 )"},
        {true, "PG500001", "", "波形出力 - [PG500001] test.lyr ( アナログ分解能：12ビット  ディジタルCH：0～3 )"},
        {true, "", "", "波形出力 - test.lyr ( アナログ分解能：12ビット  ディジタルCH：0～3 )"},
        {false, "PG500001", "Bench", "波形出力 - [Bench] "},
        {false, "", "", "波形出力"},
    };
    for (const Case& c : cases) {
        doc_ = c.waveform ? test::newDoc(kSlowTs, 1000) : test::makeDoc();
        EXPECT_EQ(open(c.serial, c.description).caption(), c.caption);
        form_.reset();
    }
    doc_ = test::newDoc(kSlowTs, 1000);
    OutputWindowForm& f = open("PG500001", "Bench");
    f.setOutputResolution(10);
    f.setOutputTitle("next.lyr");
    EXPECT_EQ(f.caption(), "波形出力 - [Bench] next.lyr ( アナログ分解能：10ビット  ディジタルCH：0～5 )");
}

TEST_F(OutputWindow, ClosingPullsChoicesAndKeepsAValidCountOnly) {
    OutputSettings stored = doc_->outputSettings();
    stored.repeatCount = 9;
    doc_->setOutputSettings(stored);
    OutputWindowForm& f = open();
    f.chooseOption(GroupDigitalStop, 1);
    f.chooseOption(GroupOutputMode, 1);
    f.setRepeatText("abc");
    f.close();
    EXPECT_FALSE(timer_.running || f.deviceOpen());
    doc_->setOutputSettingsExceptResolution(f.pullSettings());
    const OutputSettings& pulled = doc_->outputSettings();
    EXPECT_EQ(std::tuple(pulled.digitalStop, pulled.outputMode, pulled.repeatCount, pulled.analogResolution),
              std::tuple(1, 1, 9, 12));
    EXPECT_TRUE(doc_->outputSettingsChanged());
    f.setRepeatText("12");
    EXPECT_EQ(f.pullSettings().repeatCount, 12);
}

// Every fault ends in its message or status, and the window recovers by
// itself once the unit answers again.
TEST_F(OutputWindow, LinkFaultsEndInAMessageOrStatusAndRecover) {
    struct Case {
        const char* fault;
        int command;  // 0 poll only, 1 transfer, 2 start, 3 forced stop
        const char* message;
        const char* status;     // after the next poll with the fault still present
        const char* recovered;  // once the fault is gone
    };
    const Case cases[] = {
        {"unplug-after=4", 1, kUploadFailedMessage, "PGX-500 未接続", "PGX-500 未設定"},
        {"clock", 0, "", "PGX-500 クロック異常", "PGX-500 レディ"},
        // The start reached the unit; only its reply was lost.
        {"timeout", 2, kStartFailedMessage, "PGX-500 未接続", "PGX-500 動作中"},
        {"bad-echo", 3, kForceStopFailedMessage, "PGX-500 未接続", "PGX-500 レディ"},
        {"short-read", 0, "", "PGX-500 未接続", "PGX-500 レディ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fault);
        OutputWindowForm& f = open();
        transferWith(f, 0, 0);
        ASSERT_EQ(f.statusLine(), "PGX-500 レディ");
        prompter_.asked.clear();
        fault(c.fault);
        if (c.command == 1) f.transfer();
        if (c.command == 2) f.startStop();
        if (c.command == 3) f.forceStopOutput();
        EXPECT_EQ(lastMessage(), c.message);
        f.timerTick();
        EXPECT_EQ(f.statusLine(), c.status);
        EXPECT_FALSE(f.buttons().startStopEnabled);
        EXPECT_FALSE(f.buttons().forceStopEnabled);
        if (std::string(c.fault) == "clock") {
            EXPECT_FALSE(f.buttons().transferEnabled);
        }
        clearFault();
        f.timerTick();
        f.timerTick();
        EXPECT_TRUE(f.deviceOpen());
        // A failed upload leaves the data marked invalid.
        EXPECT_EQ(f.statusLine(), c.recovered);
        EXPECT_EQ(f.buttons().transferEnabled, f.statusLine() != "PGX-500 動作中");
        form_.reset();
    }
}

TEST_F(OutputWindow, NoMemoryForTheWordsEndsTheWindow) {
    OutputWindowForm f(unit_.api(), timer_, prompter_, [](std::size_t, std::size_t) -> void* { return nullptr; });
    EXPECT_FALSE(f.open(openingFor(*doc_, {}, {}, "test.lyr")));
    EXPECT_EQ(lastMessage(), kOutputMemoryMessage);
    EXPECT_FALSE(f.deviceOpen() || timer_.running);
}

}  // namespace
}  // namespace lyr::device
