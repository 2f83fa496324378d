// The bus-pattern form through the document's edit operation: the rate made
// in whole samples, every driven channel written as one undo step, and what
// keeps "作成" disabled.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <vector>

#include "digital/bus_decoders.h"
#include "forms/form_editor.h"
#include "digital/bus_pattern_form.h"
#include "support/documents.h"
#include "support/scripted_prompter.h"

namespace lyr::digital {
namespace {

struct ProtocolRun {
    explicit ProtocolRun(std::int64_t ts = 10, std::int64_t n = 4000) : doc(lyr::test::newDoc(ts, n)) {}
    // Runs the form with the script; the range when it applied.
    std::optional<document::EditRange> edit(const std::function<void(BusPatternForm&)>& script,
                                            DigitalApplyMode mode = DigitalApplyMode::Replace) {
        forms::FormEditor<BusPatternForm> editor(prompter, [&](BusPatternForm& f) {
            script(f);
            seen = {f.achievedRateText(), f.problem()};
            return f.createSegment() && f.applyDigitalSegment(mode);
        });
        return doc->EditDigitalProtocol(cursor, editor, lane);
    }
    Buffer channel(int k) const { return Buffer(doc->digital(k), doc->digital(k) + doc->sampleCount()); }

    lyr::test::ScriptedPrompter prompter;
    std::unique_ptr<document::CSYNDoc> doc;
    std::uint32_t cursor = 0;
    std::int32_t lane = document::AllChannels;  // a lane popup's channel
    std::pair<std::string, std::string> seen;
};

TEST(BusPatternForm, UartRateInWholeSamplesWithItsErrorAndTheBytesOnTheChannel) {
    ProtocolRun run(1000, 4000);  // Ts = 1 us
    run.cursor = 10;
    const auto range = run.edit([](BusPatternForm& f) {
        f.setRoleChannel(0, 6);
        f.setText(BusPatternForm::kRate, "9600");
        f.setParity(Parity::Odd);
        f.setText(BusPatternForm::kHex, "48690A");
    });
    ASSERT_TRUE(range);
    // 1 / 9600 s is 104.17 us: 104 samples, 9615.385 bps.
    EXPECT_EQ(run.seen.first, "9615.385 bps, 0.160256410 %");
    EXPECT_EQ(range->first, 10);
    EXPECT_EQ(range->end, 4000);  // the idle line up to the end belongs to the edit
    const Buffer line = run.channel(6);
    const auto d = decodeUart(Buffer(line.begin() + 10, line.end()), 3990, 104, 8, Parity::Odd, 1, 1, true);
    EXPECT_EQ(d.errors, 0);
    EXPECT_EQ(d.bytes, (Buffer{0x48, 0x69, 0x0A}));
    EXPECT_EQ(line[9], 0);  // nothing before the edit start
    EXPECT_EQ(line[10], 1);
}

TEST(BusPatternForm, SpiDrivesThreeChannelsAsOneUndoStepWithTheCombineMode) {
    ProtocolRun run;
    for (std::uint32_t i = 0; i < run.doc->sampleCount(); ++i) run.doc->digital(7)[i] = 1;
    const auto range = run.edit(
        [](BusPatternForm& f) {
            f.setProtocol(BusProtocol::Spi);
            f.setRoleChannel(0, 2);
            f.setRoleChannel(1, 7);
            f.setRoleChannel(2, 5);
            f.setSpiMode(3);
            f.setWordBits(16);
            f.setText(BusPatternForm::kRate, "25000000");  // 4 samples a clock
            f.setText(BusPatternForm::kHex, "BEEF");
            f.setAfterIdle(false);
        },
        DigitalApplyMode::Xor);
    ASSERT_TRUE(range);
    // A clock at rest on either side of the lead and lag of one clock.
    EXPECT_EQ(range->end - range->first, 4 + 4 + 16 * 4 + 4 + 4);
    Buffer mosi = run.channel(7);
    for (auto& v : mosi) v ^= 1;  // undo the XOR over the ones
    int errors = 0;
    // Beyond the pattern the lanes are kept (chip select low, so active): read the pattern only.
    EXPECT_EQ(decodeSpi(run.channel(2), mosi, run.channel(5), range->end, 3, true, 16, true, errors),
              (Buffer{0xBE, 0xEF}));
    EXPECT_EQ(errors, 0);
    ASSERT_EQ(run.doc->undo(), document::AllChannels);
    EXPECT_EQ(run.channel(7), Buffer(run.doc->sampleCount(), 1));
    EXPECT_EQ(run.channel(2), Buffer(run.doc->sampleCount(), 0));
}

TEST(BusPatternForm, WhatFollowsThePatternIdleOrKept) {
    // Lanes at 1 (UART idle 0, so every fill differs from the lane) or at 0
    // (I2C, whose idle is high); the pattern starts at sample 100.
    struct Case {
        const char* what;
        std::function<void(BusPatternForm&)> script;
        int lines;
        std::uint8_t lane;
        std::array<std::uint8_t, 2> fill;  // lines 0 and 1 after the pattern with the idle fill
    };
    const Case cases[] = {
        {"uart idle 0",
         [](BusPatternForm& f) {
             f.setIdle(0);
             f.setText(BusPatternForm::kRate, "10000000");
         },
         1, 1, {0, 0}},
        {"i2c stop",
         [](BusPatternForm& f) {
             f.setProtocol(BusProtocol::I2c);
             f.setText(BusPatternForm::kRate, "5000000");
         },
         2, 0, {1, 1}},
        {"i2c repeated start holds the bus",
         [](BusPatternForm& f) {
             f.setProtocol(BusProtocol::I2c);
             f.setRepeatedStart(true);
             f.setText(BusPatternForm::kRate, "5000000");
         },
         2, 0, {1, 0}},
    };
    for (const Case& c : cases) {
        for (bool idle : {true, false}) {
            SCOPED_TRACE(std::string(c.what) + (idle ? " idle" : " keep"));
            ProtocolRun run;
            run.cursor = 100;
            for (int k = 0; k < 8; ++k) std::fill_n(run.doc->digital(k), run.doc->sampleCount(), c.lane);
            std::uint64_t pattern = 0;
            const auto range = run.edit([&](BusPatternForm& f) {
                c.script(f);
                f.setText(BusPatternForm::kHex, "5A");
                f.setAfterIdle(idle);
                ASSERT_TRUE(f.createEnabled());
                pattern = f.patternSampleCount();
            });
            ASSERT_TRUE(range);
            ASSERT_GT(pattern, 0u);
            EXPECT_EQ(range->end, idle ? 4000 : 100 + pattern);
            for (int k = 0; k < c.lines; ++k) {
                const Buffer line = run.channel(k);
                EXPECT_EQ(line[99], c.lane);  // before the start: untouched
                const std::uint8_t after = idle ? c.fill[static_cast<std::size_t>(k)] : c.lane;
                EXPECT_EQ(Buffer(line.begin() + 100 + static_cast<std::ptrdiff_t>(pattern), line.end()),
                          Buffer(4000 - 100 - pattern, after)) << k;
            }
            ASSERT_EQ(run.doc->undo(), document::AllChannels);
            EXPECT_EQ(run.channel(0), Buffer(4000, c.lane));
        }
    }
}

TEST(BusPatternForm, WithTheIdleFillTheEditStartIsPartOfTheSegment) {
    ProtocolRun run;
    run.edit([](BusPatternForm& f) {
        f.setText(BusPatternForm::kRate, "1000000");
        f.setText(BusPatternForm::kHex, "12");
        ASSERT_TRUE(f.createSegment());
        EXPECT_EQ(f.segmentSamples(), 4000u);
        f.setText(DigitalEditFrame::kStartField, "10");  // us: the fill now ends 1000 samples sooner
        EXPECT_EQ(f.state(), DigitalEditFrame::State::Stale);
        ASSERT_TRUE(f.createSegment());
        EXPECT_EQ(f.segmentSamples(), 3000u);
        f.setAfterIdle(false);
        ASSERT_TRUE(f.createSegment());
        EXPECT_EQ(f.segmentSamples(), f.patternSampleCount());
        f.setText(DigitalEditFrame::kStartField, "0");  // the pattern alone does not depend on it
        EXPECT_EQ(f.state(), DigitalEditFrame::State::Current);
    });
}

TEST(BusPatternForm, WhatKeepsCreateDisabled) {
    struct Case {
        const char* what;
        std::function<void(BusPatternForm&)> script;
        std::size_t marked;    // field with its marker, or 0 for none
        const char* problem;   // the form's own objection
    };
    const Case cases[] = {
        {"rate below one sample a bit",
         [](BusPatternForm& f) { f.setText(BusPatternForm::kRate, "200000000"); }, BusPatternForm::kRate, ""},
        {"SPI clock below two samples",
         [](BusPatternForm& f) {
             f.setProtocol(BusProtocol::Spi);
             f.setText(BusPatternForm::kRate, "60000000");
         },
         BusPatternForm::kRate, ""},
        {"address beyond seven bits",
         [](BusPatternForm& f) {
             f.setProtocol(BusProtocol::I2c);
             f.setText(BusPatternForm::kAddress, "0x80");
         },
         BusPatternForm::kAddress, ""},
        {"no bytes", [](BusPatternForm& f) { f.setText(BusPatternForm::kHex, ""); }, BusPatternForm::kHex, ""},
        {"one line on two roles",
         [](BusPatternForm& f) {
             f.setProtocol(BusProtocol::I2c);
             f.setRoleChannel(1, 0);
         },
         0, "each line needs a channel of its own"},
        {"half a 16-bit word",
         [](BusPatternForm& f) {
             f.setProtocol(BusProtocol::Spi);
             f.setWordBits(16);
             f.setText(BusPatternForm::kHex, "ABCDEF");
         },
         0, "the options do not fit these bytes"},
        {"a file source with nothing read", [](BusPatternForm& f) { f.setSource(EntrySource::kFile); }, 0, ""},
        {"longer than the waveform",
         [](BusPatternForm& f) { f.setText(BusPatternForm::kRate, "100"); }, 0, "the pattern is longer than the waveform"},
    };
    for (const auto& c : cases) {
        ProtocolRun run;
        std::size_t marked = 0;
        bool enabled = true;
        const auto range = run.edit([&](BusPatternForm& f) {
            f.setText(BusPatternForm::kRate, "1000000");
            f.setText(BusPatternForm::kHex, "12");
            c.script(f);
            for (std::size_t i = 1; i < f.fieldCount(); ++i)
                if (f.field(i).markerShown && marked == 0) marked = i;
            enabled = f.createEnabled();
        });
        EXPECT_FALSE(range) << c.what;
        EXPECT_FALSE(enabled) << c.what;
        EXPECT_EQ(marked, c.marked) << c.what;
        EXPECT_EQ(run.seen.second, c.problem) << c.what;
        EXPECT_FALSE(run.doc->undoAvailable()) << c.what;
    }
}

TEST(BusPatternForm, ALanesChannelBecomesTheFirstLineAndAnotherLineGivesItUp) {
    struct Case {
        std::int32_t lane;
        std::array<int, 3> channels;  // from the remembered 0, 1, 2
    };
    const Case cases[] = {{document::AllChannels, {0, 1, 2}}, {5, {5, 1, 2}}, {1, {1, 0, 2}}, {2, {2, 1, 0}}};
    for (const Case& c : cases) {
        ProtocolRun run;
        run.lane = c.lane;
        std::array<int, 3> seen{};
        run.edit([&](BusPatternForm& f) {
            for (int role = 0; role < 3; ++role) seen[static_cast<std::size_t>(role)] = f.roleChannel(role);
            f.setSource(EntrySource::kFile);  // nothing loaded: no pattern
        });
        EXPECT_EQ(seen, c.channels) << c.lane;
    }
}

}  // namespace
}  // namespace lyr::digital
