// The manual and external editors through their forms and the document.
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "analog/external_form.h"
#include "forms/form_editor.h"
#include "analog/manual_form.h"
#include "document/syn_doc.h"
#include "document/waveform_file.h"
#include "interchange/interchange_files.h"
#include "support/analog_forms.h"
#include "support/documents.h"
#include "support/scripted_prompter.h"
#include "support/waveform_files.h"

namespace lyr::analog {
namespace {

namespace doc = lyr::document;
using test::ScriptedPrompter;

// A manual form over n samples at 10 ns holding 0, 0.01, 0.02, ...
struct ManualFixture : test::OpenForm<ManualForm> {
    explicit ManualFixture(std::size_t n = 100) : OpenForm(10, n) {
        for (std::size_t i = 0; i < n; ++i) track[i] = 0.01 * static_cast<double>(i);
    }
    void copy(const char* start, const char* length) {
        set(ManualForm::kCopyStart, start, doc::kUnitNs);
        set(ManualForm::kCopyPeriod, length, doc::kUnitNs);
        form.copyRange();
    }
    void modify(ModifyOperation op, const char* value = nullptr) {
        form.setOperation(op);
        const std::size_t fields[] = {ManualForm::kGain, ManualForm::kShift, ManualForm::kDc, ManualForm::kUpper,
                                      ManualForm::kLower};
        if (value) form.setText(fields[static_cast<int>(op)], value);
        ASSERT_TRUE(form.executeModification());
    }
};

TEST(ManualForm, CopyRangeCutsQuantisesAndReports) {
    struct Case {
        const char* start;
        const char* length;
        const char* message;  // nullptr: no message
        std::uint64_t copied;
        const char* lengthAfter;
    } cases[] = {
        {"950", "100", nullptr, 5, "50"},  // cut at the end of 1,000 ns, silently
        {"15", "100", "サンプリング時間の整数倍にするため、[コピー開始] を調節します。\n\n15 nS　→　10 nS", 10, "100"},
        {"15", "105",
         "サンプリング時間の整数倍にするため、[コピー開始] [コピー期間] を調節します。\n\n15 nS　→　10 nS\n105 nS　→　100 nS",
         10, "100"},
        {"995", "100", "サンプリング時間の整数倍にするため、[コピー開始] [コピー期間] を調節します。\n\n995 nS　→　990 nS\n5 nS　→　0 nS",
         0, "0"},  // nothing left: invalid after the cut
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start + std::string("+") + c.length);
        ManualFixture x;
        x.copy(c.start, c.length);
        std::vector<std::string> texts;
        for (const auto& q : x.prompter.asked) texts.push_back(q.text);
        std::vector<std::string> expected;
        if (c.message) expected.push_back(c.message);
        if (c.copied == 0) expected.push_back(kInvalidParameters);
        EXPECT_EQ(texts, expected);
        EXPECT_EQ(x.form.field(ManualForm::kCopyPeriod).text, c.lengthAfter);
        EXPECT_EQ(x.form.hasWorkingCopy(), c.copied != 0);
        EXPECT_EQ(x.form.copyLocked(), c.copied != 0);
        if (c.copied) {
            EXPECT_EQ(x.form.plotCount(), static_cast<double>(c.copied));
            EXPECT_EQ(x.form.referenceCopy()[0], x.track[static_cast<std::size_t>(x.form.field(ManualForm::kCopyStart).time / 10)]);
            EXPECT_STREQ(x.form.createText(), "再コピー");
        }
    }
}

TEST(ManualForm, WholeWaveformCopyAppliedRestoresIt) {
    ManualFixture x;
    const std::vector<double> before = x.track;
    x.copy("0", "1000");
    x.track.assign(x.track.size(), 0.5);
    ASSERT_TRUE(x.form.applyEnabled());
    ASSERT_TRUE(x.form.applySegment(AnalogApplyMode::Replace));
    EXPECT_EQ(std::vector<double>(x.track.begin(), x.track.begin() + 100),
              std::vector<double>(before.begin(), before.begin() + 100));
    EXPECT_EQ(x.form.settings().copyPeriod, 1000);
}

TEST(ManualForm, OperationsAccumulateAndClearTheChoice) {
    struct Case {
        std::vector<std::pair<ModifyOperation, const char*>> steps;
        double expected;
    } cases[] = {
        {{{ModifyOperation::DcRemoval, nullptr}}, 0.0},
        {{{ModifyOperation::Gain, "2"}, {ModifyOperation::UpperLimit, "1.5"}}, 1.5},
        {{{ModifyOperation::LevelShift, "-0.25"}, {ModifyOperation::LowerLimit, "0.9"}}, 0.9},
        {{{ModifyOperation::Gain, "-1"}, {ModifyOperation::LevelShift, "2"}}, 1.0},
    };
    for (const auto& c : cases) {
        ManualFixture x;
        std::fill(x.track.begin(), x.track.begin() + 100, 1.0);
        x.copy("0", "1000");
        for (const auto& [op, value] : c.steps) {
            x.modify(op, value);
            EXPECT_EQ(x.form.operation(), ModifyOperation::None);
            EXPECT_FALSE(x.form.modifyEnabled());
        }
        for (int i = 0; i < 100; ++i) ASSERT_DOUBLE_EQ(x.form.segment()[i], c.expected) << i;
        EXPECT_EQ(x.form.referenceCopy()[0], 1.0);  // the reference never changes
    }
}

TEST(ManualForm, RadioEnablingAndLocking) {
    ManualFixture x;
    x.form.setOperation(ModifyOperation::Gain);
    EXPECT_FALSE(x.form.field(ManualForm::kGain).enabled);  // no copy yet
    EXPECT_FALSE(x.form.modifyEnabled());
    x.copy("0", "500");
    EXPECT_TRUE(x.form.field(ManualForm::kGain).enabled);
    EXPECT_FALSE(x.form.field(ManualForm::kShift).enabled);
    EXPECT_FALSE(x.form.field(ManualForm::kCopyStart).enabled);
    x.form.setText(ManualForm::kGain, "x");
    EXPECT_TRUE(x.form.field(ManualForm::kGain).markerShown);
    EXPECT_FALSE(x.form.modifyEnabled());
    x.form.setOperation(ModifyOperation::DcRemoval);
    EXPECT_TRUE(x.form.modifyEnabled());
    // "再コピー" unlocks and keeps the copy; editing the range then discards it
    ASSERT_TRUE(x.form.copyRange());
    EXPECT_TRUE(x.form.hasWorkingCopy());
    EXPECT_TRUE(x.form.field(ManualForm::kCopyStart).enabled);
    EXPECT_STREQ(x.form.createText(), "コピー");
    x.form.setText(ManualForm::kCopyStart, "10");
    EXPECT_FALSE(x.form.hasWorkingCopy());
    EXPECT_FALSE(x.form.applyEnabled());
    EXPECT_EQ(x.form.copyStartLabel(), "0.01 uS");  // in the total time's unit
    EXPECT_EQ(x.form.copyEndLabel(), "0.51 uS");
}

TEST(ManualForm, StrokesFollowTheLineAndStayInsideTheCopy) {
    ManualFixture x(1000);
    const PlotRect plot{10, 10, 409, 249};
    x.form.setPlotRect(plot);
    x.copy("0", "10000");  // 1,000 samples over 400 columns
    const int row1V = plot.top + 20;  // +1.0 V within a row's rounding
    int first = 0, last = 0;
    EXPECT_FALSE(x.form.strokePress(plot.left - 17, row1V, first, last));  // outside the margin
    ASSERT_TRUE(x.form.strokePress(plot.left - 16, row1V, first, last));
    ASSERT_TRUE(x.form.strokeMove(plot.right + 17, row1V, first, last));
    EXPECT_EQ(first, plot.left);
    EXPECT_EQ(last, plot.right);
    const double v = 1.2 - 20.0 / (240.0 / 2.4 - 1.0 / 2.4);
    for (int i = 0; i < 1000; ++i) ASSERT_NEAR(x.form.segment()[i], 1.0, 0.01) << i;
    EXPECT_DOUBLE_EQ(x.form.segment()[0], v);
    EXPECT_EQ(x.track[1000], 0.0);  // nothing beyond the copy
    EXPECT_FALSE(x.form.strokeMove(plot.right + 18, row1V, first, last));
    x.form.strokeRelease();
    EXPECT_FALSE(x.form.strokeMove(plot.left, row1V, first, last));
    // a slanted stroke: 0 V to -1 V over columns 0 .. 100 of the plot
    ASSERT_TRUE(x.form.strokePress(plot.left, levelRow(plot, 0.0), first, last));
    ASSERT_TRUE(x.form.strokeMove(plot.left + 100, levelRow(plot, -1.0), first, last));
    EXPECT_NEAR(x.form.segment()[0], 0.0, 0.01);
    EXPECT_NEAR(x.form.segment()[125], -0.5, 0.02);
    EXPECT_NEAR(x.form.segment()[250], -1.0, 0.02);
}

TEST(ResampleSource, HoldAndLinear) {
    const double src[] = {0.0, 1.0};
    ResampleParams p{.source = src, .sourceCount = 2, .sourceInterval = 100, .period = 300, .samplingTime = 10};
    std::vector<double> seg(40, 9.0);
    ASSERT_TRUE(resampleSource(seg.data(), p));
    for (int i = 0; i < 30; ++i) EXPECT_EQ(seg[i], i < 10 ? 0.0 : i < 20 ? 1.0 : 0.0) << i;  // past the source: 0
    EXPECT_EQ(seg[30], 9.0);
    p.interpolation = Interpolation::Linear;
    p.factor = 2;
    p.offset = 0.5;
    ASSERT_TRUE(resampleSource(seg.data(), p));
    EXPECT_EQ(seg[5], 1.5);
    for (int i = 10; i < 20; ++i) EXPECT_EQ(seg[i], 2.5) << i;  // the last value held
    // a start inside the source and an interval below Ts
    p = {.source = src, .sourceCount = 2, .sourceInterval = 3, .conversionStart = 1, .period = 10,
         .samplingTime = 2, .interpolation = Interpolation::Linear};
    ASSERT_TRUE(resampleSource(seg.data(), p));
    EXPECT_DOUBLE_EQ(seg[0], 1.0 / 3.0);
    EXPECT_EQ(seg[1], 1.0);  // t = 3 is the last value
    EXPECT_EQ(seg[2], 0.0);  // past the 6 ns of the source
}

// An external form over 1,000 samples at 10 ns.
struct ExternalFixture : test::OpenForm<ExternalForm> {
    ExternalFixture() : OpenForm(10, 1000) {}
    bool loadText(const std::string& text, const char* name = "source.csv") {
        const std::string path = dir.file(name);
        std::ofstream(path, std::ios::binary) << text;
        return form.loadSource(path);
    }
    test::ScratchFolder dir;
};

TEST(ExternalForm, ConversionOfAHundredNanosecondSource) {
    for (auto mode : {Interpolation::None, Interpolation::Linear}) {
        ExternalFixture x;
        x.set(ExternalForm::kInterval, "100", doc::kUnitNs);
        ASSERT_TRUE(x.loadText("0\n1\n"));
        EXPECT_EQ(x.form.field(ExternalForm::kCount).text, "2");
        EXPECT_EQ(x.form.sourceDuration(), 200);
        EXPECT_EQ(x.form.field(AnalogEditFrame::kPeriodField).text, "200");  // the rest of the source
        EXPECT_EQ(x.form.durationLabel(), "200 nS");
        EXPECT_EQ(x.form.maxLabel(), "1.000");
        x.form.setInterpolation(mode);
        ASSERT_TRUE(x.form.createEnabled());
        ASSERT_TRUE(x.form.convertSource());
        EXPECT_EQ(x.form.segment()[0], 0.0);
        EXPECT_EQ(x.form.segment()[5], mode == Interpolation::Linear ? 0.5 : 0.0);
        for (int i = 10; i < 20; ++i) EXPECT_EQ(x.form.segment()[i], 1.0) << i;
        ASSERT_TRUE(x.form.applySegment(AnalogApplyMode::Add));
        EXPECT_EQ(x.track[15], 1.0);
        EXPECT_EQ(x.form.settings().interpolation, static_cast<int>(mode));
    }
}

TEST(ExternalForm, ConversionStartInTimeAndIndex) {
    ExternalFixture x;
    x.set(ExternalForm::kInterval, "100", doc::kUnitNs);
    ASSERT_TRUE(x.loadText("1 2 3 4 5"));
    x.set(ExternalForm::kFrom, "250", doc::kUnitNs);
    EXPECT_EQ(x.form.field(ExternalForm::kFromIndex).text, "3");
    EXPECT_EQ(x.form.field(AnalogEditFrame::kPeriodField).text, "250");  // cut to the source
    x.form.setStartMode(ExternalForm::StartMode::Index);
    EXPECT_FALSE(x.form.field(ExternalForm::kFrom).enabled);
    struct Case {
        const char* index;
        bool valid;
        const char* time;
    } cases[] = {{"1", true, "0"}, {"5", true, "400"}, {"6", false, ""}, {"0", false, ""}, {"x", false, ""}};
    for (const auto& c : cases) {
        x.form.setText(ExternalForm::kFromIndex, c.index);
        EXPECT_EQ(!x.form.field(ExternalForm::kFromIndex).markerShown, c.valid) << c.index;
        EXPECT_EQ(x.form.field(ExternalForm::kFrom).text, c.time) << c.index;
        EXPECT_FALSE(x.form.field(ExternalForm::kFrom).markerShown);
    }
    x.form.setText(ExternalForm::kFromIndex, "1");
    x.set(AnalogEditFrame::kPeriodField, "500", doc::kUnitNs);
    ASSERT_TRUE(x.form.convertSource());
    EXPECT_EQ(x.form.segment()[0], 1.0);
}

TEST(ExternalForm, SourcesAndTheirMessages) {
    ExternalFixture x;
    x.set(ExternalForm::kInterval, "40", doc::kUnitNs);
    // only separators: loaded with 0 values, no conversion
    ASSERT_TRUE(x.loadText(" ,\n;"));
    EXPECT_EQ(x.form.field(ExternalForm::kCount).text, "0");
    EXPECT_FALSE(x.form.createEnabled());
    // a refused text: its message, no source, no file name
    EXPECT_FALSE(x.loadText("a,b\n1,2"));
    EXPECT_EQ(x.prompter.asked.back().text, doc::readStatusMessage(doc::ReadStatus::InvalidData));
    EXPECT_EQ(x.form.fileName(), "");
    EXPECT_EQ(x.form.field(ExternalForm::kCount).text, "");
    // a waveform file in capitals: its samples and its sampling time
    auto wave = test::newDoc(50, 20);  // the fewest samples a file holds
    for (int i = 0; i < 4; ++i) wave->analog()[i] = 0.25 * i;
    const std::string path = x.dir.file("WAVE.LYR");
    ASSERT_TRUE(doc::saveWaveformFile(path, *wave, {}).ok);
    ASSERT_TRUE(x.form.loadSource(path)) << x.prompter.asked.back().text;
    EXPECT_EQ(x.form.fileName(), path);
    EXPECT_EQ(x.form.sourceCount(), 20u);
    EXPECT_EQ(x.form.sourceSamples()[3], 0.75);
    EXPECT_EQ(x.form.field(ExternalForm::kInterval).text, "50");
    // a text file leaves the interval as it is
    x.set(ExternalForm::kInterval, "2", doc::kUnitUs);
    ASSERT_TRUE(x.loadText("1"));
    EXPECT_EQ(x.form.field(ExternalForm::kInterval).text, "2");
    EXPECT_EQ(x.form.sourceDuration(), 2000);
    EXPECT_FALSE(x.form.loadSource(x.dir.file("gone.lyr")));
    EXPECT_EQ(x.prompter.asked.back().text, "ファイルオープンエラーです。");
}

// WAV and NumPy sources: the numbers of the same text; the WAV rate sets the
// interval (rounded to whole ns, with a note), the NumPy file leaves it.
TEST(ExternalForm, WavAndNpySourcesGiveTheNumbersOfTheText) {
    ExternalFixture x;
    x.set(ExternalForm::kInterval, "40", doc::kUnitNs);
    const char* numbers = "0.5 -0.25 0.75 0 0.125 -1";
    ASSERT_TRUE(x.loadText(numbers));
    const std::vector<double> text(x.form.sourceSamples(), x.form.sourceSamples() + x.form.sourceCount());
    ASSERT_EQ(text.size(), 6u);
    test::python(x.dir, R"(
import struct, sys, wave, numpy as np
vals = [float(v) for v in sys.argv[1].split()]
np.save(open(sys.argv[2], 'wb'), np.array(vals, dtype='<f4'))  # as named, no .npy added
np.save(sys.argv[3], np.arange(1048577, dtype='<f8'))
w = wave.open(sys.argv[4], 'wb')
w.setnchannels(1); w.setsampwidth(2); w.setframerate(48000)
w.writeframes(b''.join(struct.pack('<h', int(v * 32768)) for v in vals))
w.close()
)", {numbers, x.dir / "n.NPY", x.dir / "over.npy", x.dir / "p.wav"});

    ASSERT_TRUE(x.form.loadSource(x.dir / "n.NPY"));
    EXPECT_EQ(std::vector<double>(x.form.sourceSamples(), x.form.sourceSamples() + x.form.sourceCount()), text);
    EXPECT_EQ(x.form.field(ExternalForm::kInterval).text, "40");

    const std::size_t asked = x.prompter.asked.size();
    ASSERT_TRUE(x.form.loadSource(x.dir / "p.wav"));
    EXPECT_EQ(std::vector<double>(x.form.sourceSamples(), x.form.sourceSamples() + x.form.sourceCount()), text);
    // 1 / 48 kHz = 20,833.3 ns
    EXPECT_EQ(x.form.field(ExternalForm::kInterval).text, "20.833");
    EXPECT_EQ(x.form.field(ExternalForm::kInterval).unit, doc::kUnitUs);
    EXPECT_EQ(x.form.sourceDuration(), 6 * 20833);
    ASSERT_EQ(x.prompter.asked.size(), asked + 1);
    EXPECT_EQ(x.prompter.asked.back().text, wavRateNote(48000, 20833));
    EXPECT_NE(x.prompter.asked.back().text.find("20.833 uS"), std::string::npos);

    // an exact rate: the interval without a note
    test::Stretch s(3);
    s.analog = {0.5, 1.5, -2.0};
    s.ts = 20;
    ASSERT_TRUE(interchange::exportSamples(x.dir / "f.wav", s.samples(), {interchange::Format::Wav}).ok);
    ASSERT_TRUE(x.form.loadSource(x.dir / "f.wav"));
    EXPECT_EQ(x.prompter.asked.size(), asked + 1);
    EXPECT_EQ(std::vector<double>(x.form.sourceSamples(), x.form.sourceSamples() + 3), s.analog);
    EXPECT_EQ(x.form.field(ExternalForm::kInterval).text, "20");

    // over the limit: the warning, the first 1,048,576 values
    ASSERT_TRUE(x.form.loadSource(x.dir / "over.npy"));
    EXPECT_EQ(x.prompter.asked.back().text, doc::readStatusMessage(doc::ReadStatus::OverLimit));
    EXPECT_EQ(x.form.sourceCount(), 1048576u);
    EXPECT_EQ(x.form.sourceSamples()[1048575], 1048575.0);

    // broken files: the readers' messages, no source
    for (const char* name : {"bad.npy", "bad.wav"}) {
        std::ofstream(x.dir / name) << "1 2 3";
        EXPECT_FALSE(x.form.loadSource(x.dir / name)) << name;
        EXPECT_EQ(x.prompter.asked.back().text, doc::readStatusMessage(doc::ReadStatus::InvalidData)) << name;
        EXPECT_EQ(x.form.fileName(), "");
        EXPECT_FALSE(x.form.sourceLoaded());
    }
    EXPECT_FALSE(x.form.loadSource(x.dir / "gone.wav"));
    EXPECT_EQ(x.prompter.asked.back().text, "ファイルオープンエラーです。");
}

TEST(AnalogEditors, ManualAndExternalThroughTheDocument) {
    auto d = test::newDoc(10, 100);
    for (int i = 0; i < 100; ++i) d->analog()[i] = 0.5;
    ScriptedPrompter p;
    forms::FormEditor<ManualForm> manual(p, [](ManualForm& f) {
        f.setText(ManualForm::kCopyStart, "0");
        f.setUnit(ManualForm::kCopyPeriod, doc::kUnitNs);
        f.setText(ManualForm::kCopyPeriod, "200");
        f.copyRange();
        f.setOperation(ModifyOperation::Gain);
        f.setText(ManualForm::kGain, "3");
        f.executeModification();
        return f.applySegment(AnalogApplyMode::Replace);
    });
    const auto range = d->EditAnalogManual(50, manual);
    ASSERT_TRUE(range);
    EXPECT_EQ(*range, (doc::EditRange{50, 70}));
    EXPECT_DOUBLE_EQ(d->analog()[60], 1.5);
    EXPECT_EQ(d->analog()[70], 0.5);
    EXPECT_EQ(d->editorSettings().manual.copyPeriod, 200);
    EXPECT_EQ(d->editorSettings().manual.gainFactor, 3.0);
    EXPECT_EQ(d->editorSettings().manual.modifyOperation, -1);

    test::ScratchFolder dir;
    const std::string path = dir.file("ramp.txt");
    std::ofstream(path) << "0 1 2 3";
    forms::FormEditor<ExternalForm> external(p, [&](ExternalForm& f) {
        f.setUnit(ExternalForm::kInterval, doc::kUnitNs);
        f.setText(ExternalForm::kInterval, "20");
        f.loadSource(path);
        f.setText(ExternalForm::kFactor, "0.5");
        f.convertSource();
        return f.applySegment(AnalogApplyMode::Add);
    });
    const auto converted = d->EditAnalogExternal(0, external);
    ASSERT_TRUE(converted);
    EXPECT_EQ(*converted, (doc::EditRange{0, 8}));
    EXPECT_EQ(d->analog()[7], 0.5 + 1.5);
    EXPECT_EQ(d->editorSettings().external.sourceInterval, 20);
    EXPECT_EQ(d->editorSettings().external.amplitudeFactor, 0.5);
}

}  // namespace
}  // namespace lyr::analog
