#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "document/identifiers.h"
#include "document/syn_doc.h"
#include "support/documents.h"

using namespace lyr::document;

namespace {

using lyr::test::makeDoc;
using lyr::test::newDoc;
using Undone = std::optional<std::int32_t>;

// An editor whose behaviour each test scripts.
template <class S>
struct ScriptedEditor : Editor<S> {
    bool apply = true;
    EditOutcome outcome;
    std::function<void(EditRequest<S>&)> action;
    int runs = 0;
    EditRequest<S> seen;

    bool run(EditRequest<S>& request, EditOutcome& out) override {
        ++runs;
        seen = request;
        if (action) action(request);
        if (apply) out = outcome;
        return apply;
    }
};

struct FakeOutputWindow : OutputWindowLink {
    int broughtToFront = 0;
    std::vector<int> resolutions;
    void bringOutputWindowToFront() override { ++broughtToFront; }
    void analogResolutionChanged(std::uint8_t r) override { resolutions.push_back(r); }
};

// T, N and Ts / 10 in one comparison.
auto timeBaseOf(const CSYNDoc& d) { return std::tuple(d.totalTime(), d.sampleCount(), d.samplingUnits()); }
// The modified flag, the modification count and the undo slot in one comparison.
auto marksOf(const CSYNDoc& d) { return std::tuple(d.isModified(), d.modificationCount(), d.undoAvailable()); }

// One committed analog edit: sample i set to v.
void editAnalog(CSYNDoc& d, std::size_t i = 0, double v = 0.0) {
    d.takeAnalogSnapshot();
    d.analog()[i] = v;
    d.commitAnalogEdit();
}

// One committed digital edit of a channel (or all): sample i set high.
void editDigital(CSYNDoc& d, std::int32_t target, std::size_t i, bool recordUndo = true) {
    d.takeDigitalSnapshot(target);
    for (int k = 0; k < 8; ++k)
        if (target == AllChannels || target == k) d.digital(k)[i] = 1;
    d.commitDigitalEdit(target, recordUndo);
}

}  // namespace

TEST(CSYNDoc, CreationReportsAFailedAllocation) {
    std::string message;
    auto failing = [](std::size_t, std::size_t) -> void* { return nullptr; };
    EXPECT_EQ(CSYNDoc::create(message, failing), nullptr);
    EXPECT_EQ(message, "波形データのためのメモリが確保できませんでした。");

    auto doc = makeDoc();
    EXPECT_FALSE(doc->hasWaveform());
    EXPECT_EQ(marksOf(*doc), std::tuple(false, 0, false));
    EXPECT_EQ(doc->outputWindow(), nullptr);
    EXPECT_EQ(doc->signalNames(), SignalNames{});
}

TEST(CSYNDoc, TimeBaseLimitsAndTruncation) {
    auto doc = makeDoc();
    EXPECT_TRUE(doc->setTimeBase(15, 100));
    EXPECT_EQ(timeBaseOf(*doc), std::tuple(1000u, 100u, 1u));
    EXPECT_TRUE(doc->setTimeBase(83886080, 1048576));
    EXPECT_EQ(timeBaseOf(*doc), std::tuple(87960930222080ull, 1048576u, 8388608u));

    const auto before = timeBaseOf(*doc);
    const std::pair<std::int64_t, std::int64_t> refused[] = {
        {9, 100}, {83886090, 100}, {100, 0}, {100, 1048577}, {100, -1}, {-10, 100}};
    for (const auto& [ts, n] : refused) EXPECT_FALSE(doc->setTimeBase(ts, n)) << ts << " x " << n;
    EXPECT_EQ(timeBaseOf(*doc), before);

    EXPECT_TRUE(doc->setTimeBase(10, 1));  // smallest waveform: T = 10 ns
    EXPECT_EQ(doc->totalTime(), 10u);
}

TEST(CSYNDoc, NewWaveformClearsEverythingButTheNames) {
    auto doc = newDoc(10, 100);
    doc->analog()[5] = 0.5;
    doc->analog()[kMaxSamples - 1] = 0.25;  // beyond N, still cleared
    doc->digital(7)[kMaxSamples - 1] = 1;
    editAnalog(*doc, 0, 0.1);
    doc->copyChannel(1);
    doc->editorSettings().sine.repeatCount = 9;
    doc->setAnalogResolution(8);
    doc->setOutputSettings(OutputSettings{.repeatCount = 4});

    // A refused new waveform leaves the old one intact.
    EXPECT_FALSE(doc->newWaveform(5, 100));
    EXPECT_EQ(doc->analog()[5], 0.5);
    EXPECT_TRUE(doc->isModified());

    ASSERT_TRUE(doc->newWaveform(20, 2000));
    EXPECT_EQ(doc->sampleCount(), 2000u);
    EXPECT_EQ(std::tuple(doc->analog()[5], doc->analog()[kMaxSamples - 1], doc->digital(7)[kMaxSamples - 1]),
              std::tuple(0.0, 0.0, 0));
    EXPECT_TRUE(doc->hasWaveform());
    EXPECT_EQ(marksOf(*doc), std::tuple(false, 0, false));
    EXPECT_EQ(doc->savedModificationCount(), 0);
    EXPECT_FALSE(doc->clipboardValid());
    EXPECT_EQ(doc->editorSettings(), EditorSettings{});
    EXPECT_EQ(doc->outputSettings(), OutputSettings{});
    EXPECT_EQ(doc->savedOutputSettings(), OutputSettings{});
    EXPECT_LE(doc->documentId(), kMaxIdentifier);
    EXPECT_LE(doc->revisionId(), kMaxIdentifier);
}

TEST(CSYNDoc, UndoAndTheModifiedFlag) {
    auto doc = newDoc(10, 1000);
    // Edit, save, undo: the counter falls below its saved value -> modified.
    editAnalog(*doc, 3, 0.7);
    EXPECT_EQ(marksOf(*doc), std::tuple(true, 1, true));
    doc->markSaved();
    EXPECT_FALSE(doc->isModified());
    EXPECT_EQ(doc->undo(), Undone(kUndoAnalog));
    EXPECT_EQ(doc->analog()[3], 0.0);
    EXPECT_EQ(marksOf(*doc), std::tuple(true, 0, false));
    // A second undo in a row is refused and changes nothing.
    EXPECT_EQ(doc->undo(), std::nullopt);
    EXPECT_EQ(doc->modificationCount(), 0);

    // Edit and undo without saving: back to unmodified.
    auto clean = newDoc(10, 1000);
    editDigital(*clean, 2, 0);
    EXPECT_TRUE(clean->isModified());
    EXPECT_EQ(clean->undo(), Undone(2));
    EXPECT_EQ(clean->digital(2)[0], 0);
    EXPECT_FALSE(clean->isModified());
}

TEST(CSYNDoc, UndoOfAllChannelsAndTheUndoSlotSurvivesSaving) {
    auto doc = newDoc(10, 1000);
    editDigital(*doc, AllChannels, 10);
    doc->markSaved();
    EXPECT_TRUE(doc->undoAvailable());
    EXPECT_EQ(doc->undo(), Undone(AllChannels));
    for (int k = 0; k < 8; ++k) EXPECT_EQ(doc->digital(k)[10], 0) << k;
}

TEST(CSYNDoc, DigitalCommitWithoutUndoKeepsTheUndoSlot) {
    auto doc = newDoc(10, 1000);
    editAnalog(*doc, 4, 0.4);
    editDigital(*doc, 3, 4, false);
    EXPECT_EQ(doc->modificationCount(), 2);  // still counted as an edit
    EXPECT_EQ(doc->undo(), Undone(kUndoAnalog));
    EXPECT_EQ(std::tuple(doc->analog()[4], doc->digital(3)[4]), std::tuple(0.0, 1));
    EXPECT_TRUE(doc->isModified());  // 1 against the saved 0

    // An unknown target counts as an edit but leaves nothing to undo.
    auto other = newDoc(10, 1000);
    other->commitDigitalEdit(9, true);
    EXPECT_EQ(marksOf(*other), std::tuple(true, 1, false));
}

TEST(CSYNDoc, TotalTimeChangeGrowShrinkAndUndo) {
    auto doc = newDoc(10, 100);
    doc->analog()[99] = 0.5;
    doc->digital(3)[99] = 1;
    doc->analog()[100] = 0.9;  // stale memory beyond N
    doc->digital(3)[150] = 1;
    // Samples are not moved; the new tail is 0 V and low.
    auto samples = [&] {
        return std::tuple(doc->analog()[99], doc->digital(3)[99], doc->analog()[100], doc->digital(3)[150]);
    };

    ASSERT_TRUE(doc->changeTotalTime(20, 200));
    EXPECT_EQ(timeBaseOf(*doc), std::tuple(4000u, 200u, 2u));
    EXPECT_EQ(samples(), std::tuple(0.5, 1, 0.0, 0));
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(doc->undoKind(), kUndoTimeBase);

    EXPECT_EQ(doc->undo(), Undone(kUndoTimeBase));
    EXPECT_EQ(timeBaseOf(*doc), std::tuple(1000u, 100u, 1u));
    EXPECT_EQ(doc->analog()[99], 0.5);
    EXPECT_FALSE(doc->isModified());

    // Shrinking keeps the samples beyond the new end in memory.
    ASSERT_TRUE(doc->changeTotalTime(10, 50));
    EXPECT_EQ(doc->analog()[99], 0.5);
    doc->analog()[10] = -0.3;  // not an edit: undo brings the analog track back
    EXPECT_TRUE(doc->undo().has_value());
    EXPECT_EQ(doc->sampleCount(), 100u);
    // The cut samples are back, the digital ones too.
    EXPECT_EQ(std::tuple(doc->analog()[10], doc->analog()[99], doc->digital(3)[99]), std::tuple(0.0, 0.5, 1));

    // A refused change alters nothing, not even the undo slot.
    editAnalog(*doc, 1, 0.2);
    const int count = doc->modificationCount();
    EXPECT_FALSE(doc->changeTotalTime(10, 1048577));
    EXPECT_EQ(doc->sampleCount(), 100u);
    EXPECT_EQ(doc->modificationCount(), count);
    EXPECT_EQ(doc->undoKind(), kUndoAnalog);
}

TEST(CSYNDoc, PulseWidthRuleAtShortTotalTimes) {
    auto doc = newDoc(10, 1999);  // T = 19,990 ns
    EXPECT_EQ(doc->outputSettings().syncPulseWidth, 1);
    EXPECT_EQ(doc->savedOutputSettings().syncPulseWidth, 1);
    EXPECT_FALSE(doc->outputSettingsChanged());

    ASSERT_TRUE(doc->newWaveform(10, 2000));  // T = 20,000 ns
    EXPECT_EQ(doc->outputSettings().syncPulseWidth, 0);

    // Not applied again when the total time changes later.
    ASSERT_TRUE(doc->changeTotalTime(10, 100));
    EXPECT_EQ(doc->outputSettings().syncPulseWidth, 0);
    doc->resetOutputSettings();
    EXPECT_EQ(doc->outputSettings().syncPulseWidth, 1);
}

// Inverting itself is InvertTurnsEveryNonZeroByteIntoZero's.
TEST(CSYNDoc, ChannelOperations) {
    auto doc = newDoc(10, 4);
    std::uint8_t* ch1 = doc->digital(1);
    const std::uint8_t levels[4] = {0, 1, 2, 255};
    std::copy(levels, levels + 4, ch1);
    doc->invertChannel(1);
    EXPECT_EQ(doc->undo(), Undone(1));
    EXPECT_EQ(std::vector<int>(ch1, ch1 + 4), (std::vector<int>{0, 1, 2, 255}));

    // Paste is refused until something was copied; copying is not an edit.
    EXPECT_FALSE(doc->pasteChannel(5));
    const int count = doc->modificationCount();
    doc->copyChannel(1);
    EXPECT_TRUE(doc->clipboardValid());
    EXPECT_EQ(doc->clipboardSource(), 1);
    EXPECT_EQ(doc->modificationCount(), count);
    ch1[0] = 1;  // later changes of the source do not reach the clipboard
    ASSERT_TRUE(doc->pasteChannel(5));
    EXPECT_EQ(std::tuple(doc->digital(5)[0], doc->digital(5)[3]), std::tuple(0, 255));
    EXPECT_EQ(doc->modificationCount(), count + 1);
    EXPECT_EQ(doc->undo(), Undone(5));
    EXPECT_EQ(doc->digital(5)[3], 0);

    doc->clearChannel(1);
    EXPECT_EQ(std::tuple(ch1[0], ch1[3]), std::tuple(0, 0));
    EXPECT_EQ(doc->undoKind(), 1);

    // Channels outside 0..7 are refused without a change.
    const int before = doc->modificationCount();
    doc->invertChannel(8);
    doc->clearChannel(-1);
    EXPECT_FALSE(doc->pasteChannel(8));
    EXPECT_EQ(doc->modificationCount(), before);
}

TEST(CSYNDoc, InvertTurnsEveryNonZeroByteIntoZero) {
    auto doc = newDoc(10, 517);  // whole words and a ragged tail
    std::uint8_t* ch = doc->digital(6);
    for (int i = 0; i < 517; ++i) ch[i] = static_cast<std::uint8_t>(i * 7 % 256);
    ch[517] = 9;  // beyond N: untouched
    doc->invertChannel(6);
    for (int i = 0; i < 517; ++i) ASSERT_EQ(ch[i], (i * 7 % 256) == 0 ? 1 : 0) << i;
    EXPECT_EQ(ch[517], 9);
}

TEST(CSYNDoc, OutOfRangeAnalogAndTheOutputWindow) {
    auto doc = newDoc(10, 100);
    EXPECT_FALSE(doc->hasOutOfRangeAnalog());
    doc->analog()[0] = 1.0;
    doc->analog()[1] = -1.0;
    doc->analog()[2] = std::numeric_limits<double>::quiet_NaN();
    doc->analog()[100] = 5.0;  // beyond N
    EXPECT_FALSE(doc->hasOutOfRangeAnalog());

    FakeOutputWindow window;
    doc->setOutputWindow(&window);
    editAnalog(*doc, 50, 1.5);
    EXPECT_TRUE(doc->hasOutOfRangeAnalog());
    EXPECT_EQ(doc->analog()[50], 1.5);  // kept, not clipped
    EXPECT_EQ(window.broughtToFront, 1);
    editAnalog(*doc, 50, 0.5);
    EXPECT_EQ(window.broughtToFront, 1);

    // A digital commit never raises the window.
    doc->analog()[50] = 2.0;
    editDigital(*doc, 0, 0);
    EXPECT_EQ(window.broughtToFront, 1);
    // A total-time change does, like an analog commit.
    ASSERT_TRUE(doc->changeTotalTime(10, 90));
    EXPECT_EQ(window.broughtToFront, 2);

    doc->setOutputWindow(nullptr);
    editAnalog(*doc);
    EXPECT_EQ(window.broughtToFront, 2);
}

TEST(CSYNDoc, AnalogResolutionAndOutputSettingsComparisons) {
    auto doc = newDoc(10, 1000);
    FakeOutputWindow window;
    doc->setOutputWindow(&window);
    EXPECT_TRUE(doc->setAnalogResolution(14));
    EXPECT_FALSE(doc->setAnalogResolution(7));
    EXPECT_FALSE(doc->setAnalogResolution(15));
    EXPECT_EQ(doc->analogResolution(), 14);
    EXPECT_EQ(window.resolutions, std::vector<int>{14});
    EXPECT_FALSE(doc->isModified());
    // Changed against the saved settings: (resolution, the other fields).
    auto changed = [&] { return std::tuple(doc->resolutionChanged(), doc->outputSettingsChanged()); };
    EXPECT_EQ(changed(), std::tuple(true, false));  // R is not compared with the others

    OutputSettings s = doc->outputSettings();
    s.repeatCount = 5;
    doc->setOutputSettings(s);
    EXPECT_EQ(changed(), std::tuple(true, true));
    doc->markSaved();
    EXPECT_EQ(changed(), std::tuple(false, false));
    EXPECT_EQ(doc->savedOutputSettings().repeatCount, 5);

    // The output window hands back fields 1..10; R stays the document's.
    doc->setOutputSettingsExceptResolution({.outputMode = 1, .repeatCount = 9, .analogResolution = 12});
    EXPECT_EQ(std::tuple(doc->outputSettings().repeatCount, doc->outputSettings().outputMode, doc->analogResolution()),
              std::tuple(9, 1, 14));
    EXPECT_EQ(changed(), std::tuple(false, true));
}

TEST(CSYNDoc, AnalogEditorAppliedStoresTheRecordAndCommits) {
    auto doc = newDoc(20, 1000);
    doc->editorSettings().sine.amplitude = 0.25;
    ScriptedEditor<SineSettings> editor;
    editor.action = [](EditRequest<SineSettings>& r) {
        r.tracks.analog[10] = 0.8;
        r.settings.amplitude = 0.5;
        r.settings.repeatCount = 3;
    };
    editor.outcome = {200, 110};  // start moved onto the grid; period 5.5 samples

    const auto range = doc->EditAnalogSine(7, editor);
    ASSERT_TRUE(range.has_value());
    // Start 7 x 20 ns; the time base; the remembered settings.
    const auto& seen = editor.seen;
    EXPECT_EQ(std::tuple(seen.start, seen.samplingTime, seen.totalTime, seen.sampleCount, seen.settings.amplitude),
              std::tuple(140, 20, 20000, 1000u, 0.25));
    EXPECT_EQ(*range, (EditRange{10, 15}));
    EXPECT_EQ(std::tuple(doc->editorSettings().sine.amplitude, doc->editorSettings().sine.repeatCount),
              std::tuple(0.5, 3));
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(doc->undo(), Undone(kUndoAnalog));
    EXPECT_EQ(doc->analog()[10], 0.0);
}

TEST(CSYNDoc, CancelledEditorStoresAndCommitsNothing) {
    auto doc = newDoc(10, 1000);
    const std::uint32_t rev = doc->revisionId();
    ScriptedEditor<RectangleSettings> editor;
    editor.apply = false;
    editor.action = [](EditRequest<RectangleSettings>& r) { r.settings.v1 = 0.9; };
    EXPECT_FALSE(doc->EditAnalogRectangle(0, editor).has_value());
    EXPECT_EQ(editor.runs, 1);
    EXPECT_EQ(doc->editorSettings().rectangle, RectangleSettings{});
    EXPECT_EQ(marksOf(*doc), std::tuple(false, 0, false));
    EXPECT_EQ(doc->revisionId(), rev);
}

TEST(CSYNDoc, EditStartIsA64BitProduct) {
    auto doc = newDoc(83886080, 1048576);
    ScriptedEditor<DcSettings> editor;
    editor.outcome = {std::int64_t{1048575} * 83886080, 83886080};
    const auto range = doc->EditAnalogDc(1048575, editor);
    EXPECT_EQ(editor.seen.start, 87960846336000);
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(*range, (EditRange{1048575, 1048576}));
}

TEST(CSYNDoc, EditorsDoNotRunWithoutAWaveform) {
    auto doc = makeDoc();
    ScriptedEditor<NoiseSettings> editor;
    EXPECT_FALSE(doc->EditAnalogNoise(0, editor).has_value());
    EXPECT_EQ(editor.runs, 0);
}

TEST(CSYNDoc, DigitalEditorsResolveTheirChannel) {
    auto doc = newDoc(10, 100);
    doc->editorSettings().clock.channel = 5;
    ScriptedEditor<ClockSettings> clock;
    clock.action = [](EditRequest<ClockSettings>& r) {
        r.tracks.digital[r.channel][0] = 1;
        r.tracks.digital[0][1] = 1;
        r.settings.repeat = 4;
    };
    clock.outcome = {30, 55};
    const auto range = doc->EditDigitalClock(3, AllChannels, clock);
    EXPECT_EQ(std::tuple(clock.seen.channel, clock.seen.start), std::tuple(5, 30));
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(*range, (EditRange{3, 8}));
    EXPECT_EQ(doc->editorSettings().clock.repeat, 4u);
    // All channels were snapshotted and are undone together.
    EXPECT_EQ(doc->undo(), Undone(AllChannels));
    EXPECT_EQ(std::tuple(doc->digital(5)[0], doc->digital(0)[1]), std::tuple(0, 0));

    doc->EditDigitalClock(0, 2, clock);
    EXPECT_EQ(std::tuple(clock.seen.channel, clock.seen.settings.channel, doc->editorSettings().clock.channel),
              std::tuple(2, 2, 2));

    // A remembered channel out of range (from a damaged file) falls back to CH0.
    doc->editorSettings().clock.channel = 42;
    doc->EditDigitalClock(0, AllChannels, clock);
    EXPECT_EQ(clock.seen.channel, 0);
    // A channel argument out of range is refused without running the editor.
    const int runs = clock.runs;
    EXPECT_FALSE(doc->EditDigitalClock(0, 8, clock).has_value());
    EXPECT_EQ(clock.runs, runs);
}

TEST(CSYNDoc, SerialAndParallelTextsAreRememberedOnApplyOnly) {
    auto doc = newDoc(10, 1000);
    ScriptedEditor<SerialSettings> serial;
    serial.action = [](EditRequest<SerialSettings>& r) { r.text = "0110"; };
    serial.apply = false;
    doc->EditDigitalSerial(0, 1, serial);
    EXPECT_EQ(doc->bitText(), "");
    serial.apply = true;
    doc->EditDigitalSerial(0, 1, serial);
    EXPECT_EQ(doc->bitText(), "0110");
    EXPECT_EQ(doc->editorSettings().serial.channel, 1);

    ScriptedEditor<ParallelSettings> parallel;
    parallel.action = [](EditRequest<ParallelSettings>& r) {
        EXPECT_EQ(r.text, "");
        r.text = "A55A";
        r.settings.channelMask = 0x0F;
    };
    ASSERT_TRUE(doc->EditDigitalParallel(0, parallel).has_value());
    EXPECT_EQ(doc->wordText(), "A55A");
    EXPECT_EQ(doc->editorSettings().parallel.channelMask, 0x0F);

    // Reset clears both texts.
    doc->resetEditorSettings();
    EXPECT_EQ(doc->bitText() + doc->wordText(), "");
}

TEST(CSYNDoc, ModifyShiftAndSwapEditors) {
    auto doc = newDoc(10, 100);
    doc->editorSettings().modify.editChannel = 6;
    doc->editorSettings().modify.copyChannel = 4;
    ScriptedEditor<ModifyEditorSettings> modify;
    modify.action = [](EditRequest<ModifyEditorSettings>& r) { r.settings.shift.shiftMethod = 2; };
    modify.outcome = {0, 100};
    const auto& seen = modify.seen.settings.modify;
    auto channels = [&] { return std::tuple(seen.editChannel, seen.copyChannel); };
    ASSERT_TRUE(doc->EditDigitalModify(0, AllChannels, modify).has_value());
    EXPECT_EQ(channels(), std::tuple(6, 4));
    EXPECT_EQ(doc->editorSettings().shift.shiftMethod, 2);  // shift settings stored too
    doc->EditDigitalModify(0, 3, modify);
    EXPECT_EQ(channels(), std::tuple(3, 3));

    // Shift: only its own channel is snapshotted and undone.
    ScriptedEditor<ShiftSettings> shift;
    shift.action = [](EditRequest<ShiftSettings>& r) {
        r.tracks.digital[r.channel][0] = 1;
        r.settings.shiftTime = -50;
    };
    shift.outcome = {0, 1000};
    const auto range = doc->EditDigitalShift(4, shift);
    EXPECT_EQ(shift.seen.start, 0);
    ASSERT_TRUE(range.has_value());
    EXPECT_EQ(*range, (EditRange{0, 100}));
    EXPECT_EQ(doc->editorSettings().shift.shiftTime, -50);
    EXPECT_EQ(doc->undo(), Undone(4));
    EXPECT_EQ(doc->digital(4)[0], 0);
    EXPECT_FALSE(doc->EditDigitalShift(AllChannels, shift).has_value());

    // Swap: remembered channels out of range are brought back to 0 and 1.
    doc->editorSettings().swap.swapA = 9;
    doc->editorSettings().swap.swapB = -3;
    ScriptedEditor<SwapSettings> swap;
    swap.apply = false;
    doc->EditDigitalSwap(swap);
    EXPECT_EQ(std::tuple(swap.seen.settings.swapA, swap.seen.settings.swapB), std::tuple(0, 1));
    EXPECT_EQ(doc->editorSettings().swap.swapA, 9);  // cancelled: nothing stored
}

TEST(CSYNDoc, FullImportTakesEverythingFromTheRecord) {
    auto source = newDoc(30, 500);
    source->editorSettings().ramp.v1 = 0.75;
    editAnalog(*source);
    DocumentFileRecord record = source->exportForFile();
    EXPECT_EQ(std::tuple(record.totalTime, record.samplingUnits, record.sampleCount, record.timeUnitNs,
                         record.modificationCount),
              std::tuple(15000u, 3u, 500u, 10u, 1));
    record.signalNames[0] = SignalName{'A', 'N', 'A', 0, 0, 0, 0, 0};
    record.outputSettings.syncPulseWidth = 0;  // T < 20 us: the rule sets it

    auto doc = newDoc(10, 1000);
    doc->copyChannel(0);
    editAnalog(*doc);
    ASSERT_TRUE(doc->importFromFile(record));
    EXPECT_EQ(std::tuple(doc->sampleCount(), doc->samplingTime(), doc->revisionId(), doc->documentId()),
              std::tuple(500u, 30, record.revisionId, record.documentId));
    EXPECT_EQ(doc->signalNames(), record.signalNames);
    EXPECT_EQ(std::tuple(doc->modificationCount(), doc->savedModificationCount()), std::tuple(1, 1));
    EXPECT_EQ(doc->editorSettings().ramp.v1, 0.75);
    EXPECT_EQ(doc->outputSettings().syncPulseWidth, 1);
    EXPECT_EQ(doc->savedOutputSettings(), doc->outputSettings());
    EXPECT_EQ(marksOf(*doc), std::tuple(false, 1, false));
    EXPECT_FALSE(doc->clipboardValid());
    EXPECT_TRUE(doc->hasWaveform());

    // A new waveform keeps the names.
    ASSERT_TRUE(doc->newWaveform(10, 100));
    EXPECT_EQ(doc->signalNames(), record.signalNames);
}

TEST(CSYNDoc, ReducedImportStartsFresh) {
    auto doc = newDoc(10, 1000);
    DocumentFileRecord full = doc->exportForFile();
    full.signalNames[3] = SignalName{'X', 0, 0, 0, 0, 0, 0, 0};
    full.modificationCount = 7;
    ASSERT_TRUE(doc->importFromFile(full));
    ScriptedEditor<SerialSettings> serial;
    serial.action = [](EditRequest<SerialSettings>& r) { r.text = "1"; };
    doc->EditDigitalSerial(0, 0, serial);

    DocumentFileRecord record;
    record.samplingUnits = 2;
    record.sampleCount = 50000;  // T = 1 ms
    record.timeUnitNs = 20;
    record.modificationCount = 9;
    record.outputSettings.repeatCount = 3;
    record.editorSettings.sine.repeatCount = 8;
    record.signalNames[0] = SignalName{'Q', 0, 0, 0, 0, 0, 0, 0};
    ASSERT_TRUE(doc->importReducedFromFile(record));
    EXPECT_EQ(std::tuple(doc->totalTime(), doc->timeUnitNs()), std::tuple(std::uint64_t{1000000}, 10u));
    EXPECT_EQ(marksOf(*doc), std::tuple(false, 0, false));
    EXPECT_EQ(doc->savedModificationCount(), 0);
    EXPECT_EQ(doc->signalNames(), SignalNames{});
    EXPECT_EQ(doc->editorSettings(), EditorSettings{});
    EXPECT_EQ(doc->bitText(), "");
    EXPECT_EQ(std::tuple(doc->outputSettings().repeatCount, doc->outputSettings().syncPulseWidth), std::tuple(3, 0));
}

TEST(CSYNDoc, ImportRefusesAnImpossibleRecordAndChangesNothing) {
    auto doc = newDoc(10, 100);
    const DocumentFileRecord before = doc->exportForFile();
    DocumentFileRecord bad = before;
    bad.sampleCount = 0;
    EXPECT_FALSE(doc->importFromFile(bad));
    bad = before;
    bad.samplingUnits = 8388609;
    EXPECT_FALSE(doc->importReducedFromFile(bad));
    bad = before;
    bad.outputSettings.analogResolution = 16;  // would select no list entry
    EXPECT_FALSE(doc->importFromFile(bad));
    EXPECT_EQ(doc->exportForFile(), before);
}

TEST(CSYNDoc, IdentifiersDifferWithinOneSecond) {
    // Documents made within one second do not all share one identifier (a
    // single pair may meet by chance, five in a row practically never).
    std::set<std::uint32_t> documentIds;
    for (int i = 0; i < 5; ++i) documentIds.insert(newDoc(10, 1000)->documentId());
    EXPECT_GT(documentIds.size(), 1u);
    auto a = newDoc(10, 1000);
    // Every committed edit gets a new revision; undo keeps the revision.
    std::uint32_t rev = a->revisionId();
    for (int i = 0; i < 20; ++i) {
        editAnalog(*a);
        EXPECT_NE(a->revisionId(), rev);
        rev = a->revisionId();
    }
    a->undo();
    EXPECT_EQ(a->revisionId(), rev);

    IdentifierSource source(12345);
    std::set<std::uint32_t> seen;
    std::uint32_t last = source.next();
    for (int i = 0; i < 100000; ++i) {
        const std::uint32_t id = source.next();
        ASSERT_LE(id, kMaxIdentifier);
        ASSERT_NE(id, last);
        last = id;
        seen.insert(id);
    }
    EXPECT_GT(seen.size(), 30000u);  // covers the range, not a few values
}

// What each kind of change announces, after the change; a refused or
// cancelled one announces nothing. One row per operation.
TEST(CSYNDoc, EveryChangeIsAnnouncedToTheObservers) {
    struct Recorder : DocumentObserver {
        std::vector<std::string> heard;
        CSYNDoc* doc = nullptr;
        void samplesChanged(const EditRange& r) override {
            heard.push_back("samples " + std::to_string(r.first) + " " + std::to_string(r.end));
        }
        void channelsChanged() override { heard.push_back("channels"); }
        // Announced after the change: the new count is already there.
        void timeBaseChanged() override { heard.push_back("time base " + std::to_string(doc->sampleCount())); }
        void undone(std::int32_t kind) override { heard.push_back("undone " + std::to_string(kind)); }
        void settingsChanged() override { heard.push_back("settings"); }
        void clipboardChanged() override { heard.push_back("clipboard"); }
        void lockChanged(bool allowed) override { heard.push_back(allowed ? "unlocked" : "locked"); }
    };
    using Strings = std::vector<std::string>;
    ScriptedEditor<DcSettings> dc;
    dc.outcome = {100, 300};  // start 100 ns, 300 ns at Ts = 10 ns
    ScriptedEditor<DcSettings> cancelled;
    cancelled.apply = false;
    ScriptedEditor<ShiftSettings> shift;
    shift.outcome = {0, 1000};
    const std::pair<std::function<void(CSYNDoc&)>, Strings> cases[] = {
        {[&](CSYNDoc& d) { d.EditAnalogDc(10, dc); }, {"samples 10 40"}},
        {[&](CSYNDoc& d) { d.EditAnalogDc(10, cancelled); }, {}},
        {[&](CSYNDoc& d) { d.EditDigitalShift(3, shift); }, {"channels"}},
        {[](CSYNDoc& d) { d.invertChannel(2); }, {"channels"}},
        {[](CSYNDoc& d) { d.clearChannel(2); }, {"channels"}},
        {[](CSYNDoc& d) { d.pasteChannel(2); }, {}},  // nothing copied yet
        {[](CSYNDoc& d) {
             d.copyChannel(1);
             d.pasteChannel(2);
         },
         {"clipboard", "channels"}},
        {[](CSYNDoc& d) { d.changeTotalTime(10, 50); }, {"time base 50"}},
        {[](CSYNDoc& d) { d.changeTotalTime(10, 2000000); }, {}},
        {[](CSYNDoc& d) {
             d.changeTotalTime(10, 50);
             d.undo();
         },
         {"time base 50", "time base 100", "undone -10"}},
        {[](CSYNDoc& d) {
             d.invertChannel(4);
             d.undo();
             d.undo();  // nothing left to undo
         },
         {"channels", "undone 4"}},
        {[](CSYNDoc& d) { d.setAnalogResolution(10); }, {"settings"}},
        {[](CSYNDoc& d) { d.setAnalogResolution(7); }, {}},
        {[](CSYNDoc& d) {
             d.setEditAllowed(false);
             d.setEditAllowed(false);
             d.setEditAllowed(true);
         },
         {"locked", "unlocked"}},
    };
    for (const auto& [operation, expected] : cases) {
        auto doc = newDoc(10, 100);
        Recorder r;
        r.doc = doc.get();
        doc->addObserver(&r);
        operation(*doc);
        EXPECT_EQ(r.heard, expected) << (expected.empty() ? "(nothing)" : expected.front());
        doc->removeObserver(&r);
    }
}

// The lock: nothing may be edited before the first waveform, a new waveform
// allows editing; an observer that leaves while told is not told again.
TEST(CSYNDoc, EditLockFromTheStartAndObserversLeaving) {
    auto doc = makeDoc();
    EXPECT_FALSE(doc->editAllowed());
    struct Leaving : DocumentObserver {
        CSYNDoc* doc = nullptr;
        int told = 0;
        void lockChanged(bool) override {
            ++told;
            doc->removeObserver(this);
        }
    } first, second;
    first.doc = second.doc = doc.get();
    doc->addObserver(&first);
    doc->addObserver(&first);  // once only
    doc->addObserver(&second);
    ASSERT_TRUE(doc->newWaveform(10, 100));
    EXPECT_TRUE(doc->editAllowed());
    doc->setEditAllowed(false);
    EXPECT_EQ(first.told, 1);
    EXPECT_EQ(second.told, 1);
    // A refused time base leaves the lock as it was.
    EXPECT_FALSE(doc->newWaveform(10, 0));
    EXPECT_FALSE(doc->editAllowed());
}
