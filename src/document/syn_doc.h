#pragma once
// CSYNDoc: the one waveform the program edits. An analog track of voltages
// and eight digital tracks CH0..CH7 of 0/1 levels on one time base, with the
// bit allocation, output settings, one level of undo, a one-channel
// clipboard, the editors' remembered settings, modification counters and two
// identifiers.
//
// All tracks and edit buffers are allocated once, at full capacity, when the
// document is created; nothing allocates afterwards. Creation goes through
// CSYNDoc::create, which returns nullptr and a message when the memory cannot
// be reserved, so that start-up can stop with that message.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/editor_contract.h"
#include "document/output_settings.h"
#include "document/settings_records.h"
#include "document/time_base_identity.h"

namespace lyr::document {

// Undo kinds besides the channel numbers 0..7 and AllChannels (-2).
constexpr std::int32_t kUndoAnalog = -1;
constexpr std::int32_t kUndoTimeBase = -10;

// Time-base limits.
constexpr std::int64_t kTimeUnitNs = 10;              // Ts is a multiple of this
constexpr std::uint32_t kMaxSamplingUnits = 8388608;  // Ts <= 83,886,080 ns
constexpr std::uint64_t kSyncPulseRuleTime = 20000;   // T below this: 100 nS sync pulse

// Names of the analog track and CH0..CH7: 8 raw bytes each (code page 932,
// never converted here). The text runs to the first NUL byte or the 8th byte;
// all zero = empty. The file layer pads with blanks and trims on reading.
using SignalName = std::array<char, 8>;
using SignalNames = std::array<SignalName, 9>;

// What a waveform file stores of the document (besides the samples), in the
// order the file writes it.
struct DocumentFileRecord : TimeBaseIdentity {
    SignalNames signalNames{};
    OutputSettings outputSettings;
    EditorSettings editorSettings;
    bool operator==(const DocumentFileRecord&) const = default;
};

// The document's side of the modeless output window. The window itself is
// owned and shown by the user interface; it attaches itself here while it is
// open (setOutputWindow) and detaches when it closes (setOutputWindow(nullptr)).
class OutputWindowLink {
public:
    virtual ~OutputWindowLink() = default;
    // Restore the window if minimised and make it the foreground window.
    virtual void bringOutputWindowToFront() = 0;
    // The bit allocation changed (R = 8 ... 14).
    virtual void analogResolutionChanged(std::uint8_t analogResolution) = 0;
};

// What changed in the document, announced to the parts that show it or hold
// a copy of it (the view, the output window's link, the main window). Every
// announcement comes after the change; the defaults ignore it.
class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    // An editor wrote the samples [range.first, range.end) (end not clipped to N).
    virtual void samplesChanged(const EditRange& /*range*/) {}
    // Whole channels changed: shift, swap, invert, paste, clear.
    virtual void channelsChanged() {}
    // The sampling time or the count changed with the samples kept: a
    // total-time change, and the undo of one.
    virtual void timeBaseChanged() {}
    // An undo ran; kind as undo() returns it. The undo of a total-time change
    // announces timeBaseChanged first.
    virtual void undone(std::int32_t /*kind*/) {}
    // The bit allocation changed.
    virtual void settingsChanged() {}
    // A channel was copied: paste has something to paste.
    virtual void clipboardChanged() {}
    // The edit lock was set or lifted.
    virtual void lockChanged(bool /*editAllowed*/) {}
};

class CSYNDoc {
public:
    // Message shown when the tracks cannot be reserved at start-up.
    static constexpr const char* kMemoryMessage =
        "波形データのためのメモリが確保できませんでした。";

    // Allocation function with calloc's contract (zeroed memory or nullptr;
    // released with std::free). Tests pass a failing one.
    using BlockAllocator = void* (*)(std::size_t count, std::size_t size);

    // Reserves every track and buffer at full capacity. On failure returns
    // nullptr and sets message to kMemoryMessage.
    static std::unique_ptr<CSYNDoc> create(std::string& message, BlockAllocator allocate = nullptr);

    ~CSYNDoc();
    CSYNDoc(const CSYNDoc&) = delete;
    CSYNDoc& operator=(const CSYNDoc&) = delete;

    // ---- time base -------------------------------------------------------
    // Ts = samplingTimeNs truncated to a multiple of 10 ns (10 ... 83,886,080),
    // N = 1 ... 1,048,576. Samples are untouched. False (nothing changes)
    // when out of range.
    bool setTimeBase(std::int64_t samplingTimeNs, std::int64_t sampleCount);
    // New empty waveform: time base, zeroed tracks, counters, default output
    // and editor settings, new identifiers. False (nothing changes) when the
    // time base is refused.
    bool newWaveform(std::int64_t samplingTimeNs, std::int64_t sampleCount);
    // New time base keeping the samples (a grown tail is zero); one undo step.
    bool changeTotalTime(std::int64_t samplingTimeNs, std::int64_t sampleCount);

    std::uint64_t totalTime() const { return totalTime_; }        // T, ns
    std::uint32_t sampleCount() const { return sampleCount_; }    // N
    std::uint32_t samplingUnits() const { return samplingUnits_; }  // Ts / 10
    std::int64_t samplingTime() const { return std::int64_t{samplingUnits_} * kTimeUnitNs; }
    std::uint32_t timeUnitNs() const { return timeUnitNs_; }
    std::uint32_t timeUnitReserved() const { return timeUnitReserved_; }

    // ---- tracks (full capacity; the first N samples are the waveform) -----
    double* analog() { return analog_; }
    const double* analog() const { return analog_; }
    std::uint8_t* digital(int channel) { return digital_[channel]; }
    const std::uint8_t* digital(int channel) const { return digital_[channel]; }
    TrackRefs trackPointers();

    // A reader may fill these before the document takes the samples: an
    // analog track and a byte buffer, both of full capacity, whose contents
    // mean nothing between edits (they hold snapshots only during one).
    double* spareAnalog() { return snapshotAnalog_; }
    std::uint8_t* spareBytes() { return snapshotDigital_[0]; }
    // The spare analog track becomes the document's, without a copy; the old
    // track becomes the spare. Pointers taken from analog() before are stale.
    void adoptSpareAnalog() { std::swap(analog_, snapshotAnalog_); }

    // ---- edits, snapshots and undo --------------------------------------
    void takeAnalogSnapshot();
    void takeDigitalSnapshot(std::int32_t target);  // 0..7 or AllChannels
    void takeFullSnapshot();
    void commitAnalogEdit();
    void commitDigitalEdit(std::int32_t target, bool recordUndo);
    // Restores the last committed edit; returns its kind (0..7, AllChannels,
    // kUndoAnalog, kUndoTimeBase) or nothing when there is nothing to undo.
    std::optional<std::int32_t> undo();
    bool undoAvailable() const { return undoAvailable_; }
    std::int32_t undoKind() const { return undoKind_; }

    // ---- channel operations (channel 0..7; others are refused) ----------
    void copyChannel(int channel);  // not an edit: no undo, no change mark
    bool pasteChannel(int channel);  // false when nothing was copied yet
    void invertChannel(int channel);
    void clearChannel(int channel);
    bool clipboardValid() const { return clipboardValid_; }
    std::int32_t clipboardSource() const { return clipboardSource_; }

    // Any of the first N analog samples below -1.0 V or above +1.0 V.
    bool hasOutOfRangeAnalog() const;

    // ---- editor operations ----------------------------------------------
    // cursor: the view's cursor sample index; the edit start handed to the
    // editor is cursor x Ts. Digital channel arguments: 0..7, or AllChannels
    // for the channel(s) remembered in the editor's settings. Each returns
    // the edited range when the editor applied, nothing when it was cancelled
    // (or when there is no waveform).
    std::optional<EditRange> EditAnalogSine(std::uint32_t cursor, SineEditor& editor);
    std::optional<EditRange> EditAnalogRectangle(std::uint32_t cursor, RectangleEditor& editor);
    std::optional<EditRange> EditAnalogDc(std::uint32_t cursor, DcEditor& editor);
    std::optional<EditRange> EditAnalogRamp(std::uint32_t cursor, RampEditor& editor);
    std::optional<EditRange> EditAnalogExp(std::uint32_t cursor, ExpEditor& editor);
    std::optional<EditRange> EditAnalogNoise(std::uint32_t cursor, NoiseEditor& editor);
    std::optional<EditRange> EditAnalogManual(std::uint32_t cursor, ManualEditor& editor);
    std::optional<EditRange> EditAnalogExternal(std::uint32_t cursor, ExternalEditor& editor);
    // The equation editor; its record is equationSettings(), not stored in files.
    std::optional<EditRange> EditAnalogEquation(std::uint32_t cursor, EquationEditor& editor);
    std::optional<EditRange> EditDigitalClock(std::uint32_t cursor, std::int32_t channel,
                                              ClockEditor& editor);
    std::optional<EditRange> EditDigitalSerial(std::uint32_t cursor, std::int32_t channel,
                                               SerialEditor& editor);
    std::optional<EditRange> EditDigitalParallel(std::uint32_t cursor, ParallelEditor& editor);
    std::optional<EditRange> EditDigitalModify(std::uint32_t cursor, std::int32_t channel,
                                               ModifyEditor& editor);
    // Shift and swap work on whole channels: the editor gets start 0 and
    // reports start 0 and period T. Shift snapshots and commits only its
    // channel (0..7); swap all channels.
    std::optional<EditRange> EditDigitalShift(std::int32_t channel, ShiftEditor& editor);
    std::optional<EditRange> EditDigitalSwap(SwapEditor& editor);
    // Bus patterns: every channel the protocol drives, as one undo step.
    // channel: a lane's channel for the protocol's first line, or AllChannels.
    std::optional<EditRange> EditDigitalProtocol(std::uint32_t cursor, ProtocolEditor& editor,
                                                 std::int32_t channel = AllChannels);

    // ---- bit allocation and output settings -----------------------------
    std::uint8_t analogResolution() const { return outputSettings_.analogResolution; }
    // R = 8 ... 14 (others refused); tells an open output window; does not
    // mark the document modified.
    bool setAnalogResolution(int analogResolution);
    const OutputSettings& outputSettings() const { return outputSettings_; }
    const OutputSettings& savedOutputSettings() const { return savedOutputSettings_; }
    // The output window's settings copied back (the current copy only).
    void setOutputSettings(const OutputSettings& settings) { outputSettings_ = settings; }
    // Fields 1..10 of the output window's working copy; the bit allocation is
    // the document's own (setAnalogResolution) and stays as it is.
    void setOutputSettingsExceptResolution(const OutputSettings& settings) {
        const std::uint8_t r = outputSettings_.analogResolution;
        outputSettings_ = settings;
        outputSettings_.analogResolution = r;
    }
    // Defaults in both copies, then a 100 nS sync pulse when T < 20 us.
    void resetOutputSettings();

    // ---- modification state ---------------------------------------------
    bool hasWaveform() const { return hasWaveform_; }
    bool isModified() const { return modified_; }
    bool resolutionChanged() const;
    bool outputSettingsChanged() const;  // fields 1..10, R not compared
    void markSaved();
    std::int32_t modificationCount() const { return modificationCount_; }
    std::int32_t savedModificationCount() const { return savedModificationCount_; }
    std::uint32_t revisionId() const { return revisionId_; }
    std::uint32_t documentId() const { return documentId_; }
    const SignalNames& signalNames() const { return signalNames_; }

    // ---- remembered editor settings -------------------------------------
    EditorSettings& editorSettings() { return editorSettings_; }
    const EditorSettings& editorSettings() const { return editorSettings_; }
    // Texts of the serial and parallel editors; never saved in files,
    // cleared whenever the editor settings are reset or loaded.
    const std::string& bitText() const { return bitText_; }
    const std::string& wordText() const { return wordText_; }
    void resetEditorSettings();
    // The equation editor's record: kept across New and Open (the settings
    // file holds it between runs), never saved in or read from a file.
    EquationSettings& equationSettings() { return equationSettings_; }
    const EquationSettings& equationSettings() const { return equationSettings_; }
    // The bus-pattern editor's record, kept for the session only.
    const ProtocolSettings& protocolSettings() const { return protocolSettings_; }

    // ---- files -------------------------------------------------------------
    DocumentFileRecord exportForFile() const;
    // Full import (current-version file): time base, identifiers, names,
    // counter, output settings (pulse-width rule applied) and editor
    // settings from the record. Reduced import (legacy or other-version
    // file): time base and output settings from the record, everything else
    // fresh. Both return false and change nothing when the record's time base
    // or analog resolution is out of range. The caller copies the samples.
    bool importFromFile(const DocumentFileRecord& record);
    bool importReducedFromFile(const DocumentFileRecord& record);

    // ---- edit lock -----------------------------------------------------------
    // Nothing may be edited before the first waveform; a new waveform allows
    // editing, and the file commands carry the lock to and from the files.
    bool editAllowed() const { return editAllowed_; }
    void setEditAllowed(bool allowed);

    // ---- observers ------------------------------------------------------------
    // The observer must outlive its registration (removeObserver before it goes).
    void addObserver(DocumentObserver* observer);
    void removeObserver(DocumentObserver* observer);

    // ---- output window ------------------------------------------------------
    void setOutputWindow(OutputWindowLink* window) { outputWindow_ = window; }
    OutputWindowLink* outputWindow() const { return outputWindow_; }

private:
    CSYNDoc() = default;

    template <class Settings>
    EditRequest<Settings> makeRequest(std::int64_t start, std::int32_t channel,
                                      const Settings& settings);
    // Runs the editor; the range when it applied (nothing stored or committed yet).
    template <class Settings>
    std::optional<EditRange> runEditor(Editor<Settings>& editor, EditRequest<Settings>& request);
    template <class Settings>
    std::optional<EditRange> runAnalogEditor(std::uint32_t cursor, Editor<Settings>& editor,
                                             Settings& remembered);
    std::int64_t startOf(std::uint32_t cursor) const;
    void markCommitted();
    void notifyOutOfRange();
    // Tells every observer, in the order they came; one may leave while told.
    template <class Announcement>
    void announce(Announcement&& a) {
        const std::vector<DocumentObserver*> observers = observers_;
        for (DocumentObserver* o : observers)
            if (std::find(observers_.begin(), observers_.end(), o) != observers_.end()) a(*o);
    }
    std::optional<EditRange> announceRange(std::optional<EditRange> range);
    std::optional<EditRange> announceChannels(std::optional<EditRange> range);
    void applyPulseWidthRule(OutputSettings& s) const;
    bool validImportRecord(const DocumentFileRecord& record) const;
    void importCommon(const DocumentFileRecord& record);

    // One block holds every track and buffer.
    struct BlockDeleter {
        void operator()(void* p) const;
    };
    std::unique_ptr<void, BlockDeleter> block_;

    double* analog_ = nullptr;
    double* snapshotAnalog_ = nullptr;
    double* undoAnalog_ = nullptr;
    std::array<std::uint8_t*, kDigitalChannels> digital_{};
    std::array<std::uint8_t*, kDigitalChannels> snapshotDigital_{};
    std::array<std::uint8_t*, kDigitalChannels> undoDigital_{};
    std::uint8_t* channelClipboard_ = nullptr;

    std::uint64_t totalTime_ = 0;
    std::uint32_t sampleCount_ = 0;
    std::uint32_t samplingUnits_ = 0;
    std::uint32_t timeUnitNs_ = 10;
    std::uint32_t timeUnitReserved_ = 0;

    std::int64_t undoSamplingTime_ = 0;
    std::uint32_t undoSampleCount_ = 0;
    bool undoAvailable_ = false;
    std::int32_t undoKind_ = 0;
    std::int32_t clipboardSource_ = 0;
    bool clipboardValid_ = false;

    bool hasWaveform_ = false;
    bool modified_ = false;
    std::int32_t modificationCount_ = 0;
    std::int32_t savedModificationCount_ = 0;
    std::uint32_t revisionId_ = 0;
    std::uint32_t documentId_ = 0;
    SignalNames signalNames_{};

    OutputSettings outputSettings_;
    OutputSettings savedOutputSettings_;
    EditorSettings editorSettings_;
    std::string bitText_;
    std::string wordText_;
    ProtocolSettings protocolSettings_;
    EquationSettings equationSettings_;

    OutputWindowLink* outputWindow_ = nullptr;
    bool editAllowed_ = false;
    std::vector<DocumentObserver*> observers_;
};

}  // namespace lyr::document
