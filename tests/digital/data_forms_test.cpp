// The serial and parallel forms: their fields, sources and segments, and
// both editors through the document.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "channels.h"
#include "digital/data_forms.h"
#include "forms/form_editor.h"
#include "document/waveform_file.h"
#include "support/short_memory.h"
#include "support/waveform_files.h"
#include "support/documents.h"
#include "support/scripted_prompter.h"

namespace lyr::digital {
namespace {

using lyr::test::putFileText;

namespace doc = lyr::document;
using test::Channels;
using State = DigitalEditFrame::State;
using Ints = std::vector<int>;
constexpr std::size_t kTime = DataSourceForm::kTime, kText = DataSourceForm::kText;

// A form over n samples at ts, opened at edit start 0.
template <class Form>
struct Fixture : test::OpenedForm<Form> {
    using test::OpenedForm<Form>::OpenedForm;
    void enter(const char* time, const char* text, int unit = 0) {
        this->form.setUnit(kTime, unit);
        this->form.setText(kTime, time);
        this->form.setText(kText, text);
    }
};
using Serial = Fixture<SerialForm>;
using Parallel = Fixture<ParallelForm>;

TEST(SerialForm, DirectBits) {
    struct Case {
        const char* name;
        std::int64_t n;        // samples of the waveform at Ts = 10 ns
        const char *time, *bits;
        bool create;
        Ints segment;
    } cases[] = {
        {"1011 at 3 Ts", 100, "30", "1011", true, {1, 1, 1, 0, 0, 0, 1, 1, 1, 1, 1, 1}},
        {"cut inside a bit", 7, "30", "1011", true, {1, 1, 1, 0, 0, 0, 1}},
        {"blanks refused live", 100, "30", "10 11", false, {}},
        {"other digits", 100, "30", "1021", false, {}},
        {"no bits", 100, "30", "", false, {}},
        {"bit time under Ts", 100, "5", "1", false, {}},
        {"bit time over T", 100, "1001", "1", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Serial x(10, c.n);
        x.enter(c.time, c.bits);
        EXPECT_EQ(x.form.createEnabled(), c.create);
        EXPECT_EQ(x.form.field(kText).markerShown, std::string(c.bits).find_first_not_of("01") != std::string::npos ||
                                                      !*c.bits);
        if (!c.create) continue;
        ASSERT_TRUE(x.form.createSegment());
        EXPECT_EQ(x.segment(), c.segment);
        EXPECT_EQ(x.prompter.asked.size(), 0u);
    }
}

TEST(SerialForm, BitTimeMovedOntoTheGridAsTheIntervalTime) {
    Serial s(10, 100);
    s.enter("25", "10");
    ASSERT_TRUE(s.form.createSegment());
    ASSERT_EQ(s.prompter.asked.size(), 1u);
    EXPECT_EQ(s.prompter.asked[0].text,
              "サンプリング時間の整数倍にするため、[インターバル時間] を調節します。\n\n25 nS　→　20 nS");
    EXPECT_EQ(s.form.field(kTime).text, "20");
    EXPECT_EQ(s.segment(), (Ints{1, 1, 0, 0}));
}

TEST(ParallelForm, DirectWordsAndBitOrders) {
    struct Case {
        const char* name;
        const char* hex;
        int order;
        const char* after;       // the text after create
        std::vector<Ints> ch;    // CH0..CH7
    } cases[] = {
        {"0F order 0", "0F", 0, "0F", {{1}, {1}, {1}, {1}, {0}, {0}, {0}, {0}}},
        {"0F order 1", "0F", 1, "0F", {{0}, {0}, {0}, {0}, {1}, {1}, {1}, {1}}},
        {"ABC", "ABC", 0, "ABC0", {{1, 0}, {1, 0}, {0, 0}, {1, 0}, {0, 0}, {1, 0}, {0, 1}, {1, 1}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Parallel x(10, 100);
        x.enter("10", c.hex);
        x.form.setBitOrder(c.order);
        ASSERT_TRUE(x.form.createSegment());
        EXPECT_EQ(x.form.field(kText).text, c.after);
        for (std::size_t k = 0; k < 8; ++k) EXPECT_EQ(x.segment(k), c.ch[k]) << "CH" << k;
    }
    // Separators are not allowed in the typed text; an odd remembered text opens with its "0".
    Parallel x(10, 100, {}, "123");
    EXPECT_EQ(x.form.field(kText).text, "1230");
    x.enter("10", "12 3");
    EXPECT_TRUE(x.form.field(kText).markerShown);
    EXPECT_FALSE(x.form.createEnabled());
}

TEST(ParallelForm, TheMaskChoosesTheChannelsAndZeroDisablesApplying) {
    Parallel x(10, 100);
    x.enter("20", "FF");
    ASSERT_TRUE(x.form.createSegment());
    x.form.setChannelMask(0);
    EXPECT_EQ(x.form.state(), State::Current);  // only re-tested
    EXPECT_FALSE(x.form.applyEnabled());
    EXPECT_FALSE(x.form.bufferHighlighted(3));
    x.form.setChannelChecked(1, true);
    x.form.setChannelChecked(6, true);
    EXPECT_EQ(x.form.channelMask(), 0x42);
    ASSERT_TRUE(x.form.applyEnabled());
    ASSERT_TRUE(x.form.applyDigitalSegment(DigitalApplyMode::Replace));
    for (int k = 0; k < 8; ++k) EXPECT_EQ(x.channels.first(k, 3), (k == 1 || k == 6 ? Ints{1, 1, 0} : Ints{0, 0, 0}));
}

TEST(DataForms, SourceSwitchAndFiles) {
    lyr::test::ScratchFolder dir;
    putFileText(dir.file("bits.txt"), "1 0,1;1\r\n0");
    putFileText(dir.file("bad.txt"), "1,2");
    Serial x(10, 100, {.bitTime = 10, .bitTimeUnit = 0, .channel = 0, .source = 0}, "11");
    ASSERT_TRUE(x.form.createEnabled());
    ASSERT_TRUE(x.form.createSegment());
    x.form.setSource(DataSourceForm::kFile);
    EXPECT_EQ(x.form.state(), State::Stale);
    EXPECT_FALSE(x.form.field(kText).enabled || x.form.field(kText).markerShown);
    EXPECT_TRUE(x.form.browseEnabled());
    EXPECT_FALSE(x.form.createEnabled());  // no file yet: period 0

    EXPECT_TRUE(x.form.loadFile(dir.file("bits.txt"), nullptr));
    EXPECT_EQ(std::tuple(x.form.path(), x.form.loadedCount()), std::tuple(dir.file("bits.txt"), std::size_t{5}));
    // A file that does not read: its message, the path emptied, the bits kept.
    EXPECT_FALSE(x.form.loadFile(dir.file("bad.txt"), nullptr));
    EXPECT_EQ(x.prompter.asked.back().text, "無効なデータが含まれています。\n\n読み込みを中止しました。");
    EXPECT_EQ(std::tuple(x.form.path(), x.form.loadedCount()), std::tuple(std::string(), std::size_t{5}));
    ASSERT_TRUE(x.form.createSegment());
    EXPECT_EQ(x.segment(), (Ints{1, 0, 1, 1, 0}));

    x.form.setSource(DataSourceForm::kDirect);
    EXPECT_TRUE(x.form.field(kText).enabled);
    ASSERT_TRUE(x.form.createSegment());
    EXPECT_EQ(x.segment(), (Ints{1, 1}));
}

TEST(ParallelForm, WaveformFileSourceBringsItsSamplingTime) {
    lyr::test::ScratchFolder dir;
    auto src = lyr::test::newDoc(30, 20);
    src->digital(0)[0] = 1;
    src->digital(7)[1] = 1;
    ASSERT_TRUE(doc::saveWaveformFile(dir.file("other.lyr"), *src, doc::StoredExtras{}).ok);

    Parallel x(20, 1000, {.interval = 0, .intervalUnit = -1, .bitOrder = 1, .channelMask = 0xFF, .source = 1});
    EXPECT_FALSE(x.form.loadFile("a.ly", nullptr));  // ignored: nothing said, nothing changed
    EXPECT_TRUE(x.prompter.asked.empty());
    ASSERT_TRUE(x.form.loadFile(dir.file("other.lyr"), nullptr));
    EXPECT_EQ(std::tuple(x.form.field(kTime).text, x.form.field(kTime).unit, x.form.bitOrder(), x.form.loadedCount()),
              std::tuple("30", 0, 0, 20u));
    ASSERT_TRUE(x.form.createSegment());  // 30 nS on a 20 ns grid
    EXPECT_EQ(x.prompter.asked.back().text,
              "サンプリング時間の整数倍にするため、[インターバル時間] を調節します。\n\n30 nS　→　20 nS");
    EXPECT_EQ(x.segment(0).size(), 20u);
    EXPECT_EQ(std::tuple(x.segment(0)[0], x.segment(7)[0], x.segment(7)[1]), std::tuple(1, 0, 1));
}

TEST(DataForms, BothEditorsThroughTheDocument) {
    lyr::test::ScratchFolder dir;
    putFileText(dir.file("words.txt"), "81 18");
    auto d = lyr::test::newDoc(10, 100);
    lyr::test::ScriptedPrompter prompter;

    forms::FormEditor<SerialForm> serial(prompter, [](SerialForm& f) {
        f.setUnit(kTime, 0);
        f.setText(kTime, "20");
        f.setText(kText, "101");
        f.setText(DigitalEditFrame::kStartField, "0.97");  // uS: the run is cut at N
        return f.createSegment() && f.applyDigitalSegment(DigitalApplyMode::Replace);
    });
    d->editorSettings().serial.channel = 5;
    auto range = d->EditDigitalSerial(0, doc::AllChannels, serial);
    ASSERT_TRUE(range);
    EXPECT_EQ(*range, (doc::EditRange{97, 103}));
    EXPECT_EQ(Ints(d->digital(5) + 96, d->digital(5) + 100), (Ints{0, 1, 1, 0}));
    EXPECT_EQ(d->editorSettings().serial, (doc::SerialSettings{20, 0, 5, 0}));
    EXPECT_EQ(d->bitText(), "101");

    const std::string path = dir.file("words.txt");
    forms::FormEditor<ParallelForm> parallel(prompter, [&](ParallelForm& f) {
        f.setUnit(kTime, 0);
        f.setText(kTime, "10");
        f.setText(kText, "A");
        f.setSource(DataSourceForm::kFile);
        f.loadFile(path, nullptr);
        f.setChannelMask(0x81);
        return f.createSegment() && f.applyDigitalSegment(DigitalApplyMode::Xor);
    });
    range = d->EditDigitalParallel(10, parallel);
    ASSERT_TRUE(range);
    EXPECT_EQ(*range, (doc::EditRange{10, 12}));
    EXPECT_EQ(Ints(d->digital(0) + 10, d->digital(0) + 12), (Ints{1, 0}));
    EXPECT_EQ(Ints(d->digital(7) + 10, d->digital(7) + 12), (Ints{1, 0}));
    EXPECT_EQ(d->digital(4)[11], 0);  // masked out
    EXPECT_EQ(d->editorSettings().parallel, (doc::ParallelSettings{10, 0, 0, 0x81, 1}));
    EXPECT_EQ(d->wordText(), "A");

    // Memory short: each editor's own message.
    lyr::test::ShortMemory memory;
    parallel.configure = [&](ParallelForm& f) { f.setAllocator(memory); };
    EXPECT_FALSE(d->EditDigitalParallel(0, parallel));
    EXPECT_EQ(prompter.asked.back().text, "ディジタル波形作成のためのメモリが確保できませんでした");
    serial.configure = [&](SerialForm& f) { f.setAllocator(memory); };
    EXPECT_FALSE(d->EditDigitalSerial(0, 1, serial));
    EXPECT_EQ(prompter.asked.back().text, "ディジタル波形外部データ読み込みのためのメモリが確保できませんでした");
}

}  // namespace
}  // namespace lyr::digital
