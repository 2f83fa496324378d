#include "document/syn_doc.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "document/identifiers.h"
#include "document/large_buffers.h"
#include "document/levels.h"

namespace lyr::document {

namespace {

constexpr std::size_t kCap = kMaxSamples;
// Three analog buffers (track, snapshot, undo) and 25 byte buffers (eight
// channels each for track, snapshot and undo, plus the clipboard).
constexpr std::size_t kBlockBytes = 3 * kCap * sizeof(double) + (3 * kDigitalChannels + 1) * kCap;

bool validChannel(std::int32_t channel) { return channel >= 0 && channel < kDigitalChannels; }

}  // namespace

void CSYNDoc::BlockDeleter::operator()(void* p) const { std::free(p); }

std::unique_ptr<CSYNDoc> CSYNDoc::create(std::string& message, BlockAllocator allocate) {
    if (allocate == nullptr) {
        allocate = &std::calloc;
    }
    void* raw = allocate(kBlockBytes, 1);
    if (raw == nullptr) {
        message = kMemoryMessage;
        return nullptr;
    }
    adviseLargeBuffer(raw, kBlockBytes);
    std::unique_ptr<CSYNDoc> doc(new CSYNDoc());
    doc->block_.reset(raw);
    auto* bytes = static_cast<std::uint8_t*>(raw);
    auto* doubles = static_cast<double*>(raw);
    doc->analog_ = doubles;
    doc->snapshotAnalog_ = doubles + kCap;
    doc->undoAnalog_ = doubles + 2 * kCap;
    std::uint8_t* next = bytes + 3 * kCap * sizeof(double);
    for (int k = 0; k < kDigitalChannels; ++k) {
        doc->digital_[k] = next;
        doc->snapshotDigital_[k] = next + kDigitalChannels * kCap;
        doc->undoDigital_[k] = next + 2 * kDigitalChannels * kCap;
        next += kCap;
    }
    doc->channelClipboard_ = bytes + 3 * kCap * sizeof(double) + 3 * kDigitalChannels * kCap;
    return doc;
}

CSYNDoc::~CSYNDoc() = default;

// ---- time base ------------------------------------------------------------

bool CSYNDoc::setTimeBase(std::int64_t samplingTimeNs, std::int64_t sampleCount) {
    if (samplingTimeNs < kTimeUnitNs || sampleCount < 0 ||
        sampleCount > static_cast<std::int64_t>(kMaxSamples)) {
        return false;
    }
    // A sampling time off the 10 ns grid is truncated onto it.
    const std::int64_t units = samplingTimeNs / kTimeUnitNs;
    if (units < 1 || units > static_cast<std::int64_t>(kMaxSamplingUnits)) {
        return false;
    }
    const std::uint64_t total =
        static_cast<std::uint64_t>(units * kTimeUnitNs) * static_cast<std::uint64_t>(sampleCount);
    if (total < static_cast<std::uint64_t>(kTimeUnitNs)) {
        return false;  // also refuses N = 0
    }
    samplingUnits_ = static_cast<std::uint32_t>(units);
    sampleCount_ = static_cast<std::uint32_t>(sampleCount);
    totalTime_ = total;
    return true;
}

bool CSYNDoc::newWaveform(std::int64_t samplingTimeNs, std::int64_t sampleCount) {
    if (!setTimeBase(samplingTimeNs, sampleCount)) {
        return false;
    }
    std::fill_n(analog_, kCap, 0.0);
    std::fill_n(undoAnalog_, kCap, 0.0);
    for (int k = 0; k < kDigitalChannels; ++k) {
        std::memset(digital_[k], 0, kCap);
        std::memset(undoDigital_[k], 0, kCap);
    }
    timeUnitNs_ = 10;
    timeUnitReserved_ = 0;
    modificationCount_ = 0;
    savedModificationCount_ = 0;
    resetOutputSettings();
    resetEditorSettings();
    hasWaveform_ = true;
    modified_ = false;
    undoAvailable_ = false;
    clipboardValid_ = false;
    documentId_ = drawIdentifier();
    revisionId_ = drawIdentifier();
    setEditAllowed(true);
    return true;
}

bool CSYNDoc::changeTotalTime(std::int64_t samplingTimeNs, std::int64_t sampleCount) {
    const std::int64_t oldTs = samplingTime();
    const std::uint32_t oldN = sampleCount_;
    takeFullSnapshot();
    if (!setTimeBase(samplingTimeNs, sampleCount)) {
        return false;
    }
    // Samples are never moved or resampled; a grown tail starts at 0 V / low.
    if (sampleCount_ > oldN) {
        const std::size_t grow = sampleCount_ - oldN;
        std::fill_n(analog_ + oldN, grow, 0.0);
        for (int k = 0; k < kDigitalChannels; ++k) {
            std::memset(digital_[k] + oldN, 0, grow);
        }
    }
    undoSamplingTime_ = oldTs;
    undoSampleCount_ = oldN;
    std::copy_n(snapshotAnalog_, oldN, undoAnalog_);
    for (int k = 0; k < kDigitalChannels; ++k) {
        std::memcpy(undoDigital_[k], snapshotDigital_[k], oldN);
    }
    undoKind_ = kUndoTimeBase;
    undoAvailable_ = true;
    markCommitted();
    notifyOutOfRange();
    announce([](DocumentObserver& o) { o.timeBaseChanged(); });
    return true;
}

TrackRefs CSYNDoc::trackPointers() {
    TrackRefs refs;
    refs.analog = analog_;
    refs.digital = digital_;
    return refs;
}

// ---- snapshots, commits and undo ---------------------------------------------

void CSYNDoc::takeAnalogSnapshot() { std::copy_n(analog_, sampleCount_, snapshotAnalog_); }

void CSYNDoc::takeDigitalSnapshot(std::int32_t target) {
    if (validChannel(target)) {
        std::memcpy(snapshotDigital_[target], digital_[target], sampleCount_);
    } else if (target == AllChannels) {
        for (int k = 0; k < kDigitalChannels; ++k) {
            std::memcpy(snapshotDigital_[k], digital_[k], sampleCount_);
        }
    }
}

void CSYNDoc::takeFullSnapshot() {
    takeAnalogSnapshot();
    takeDigitalSnapshot(AllChannels);
}

void CSYNDoc::markCommitted() {
    modificationCount_ += 1;
    modified_ = true;
    revisionId_ = drawIdentifier();
}

void CSYNDoc::notifyOutOfRange() {
    if (outputWindow_ != nullptr && hasOutOfRangeAnalog()) {
        outputWindow_->bringOutputWindowToFront();
    }
}

void CSYNDoc::commitAnalogEdit() {
    std::copy_n(snapshotAnalog_, sampleCount_, undoAnalog_);
    undoKind_ = kUndoAnalog;
    undoAvailable_ = true;
    markCommitted();
    notifyOutOfRange();
}

void CSYNDoc::commitDigitalEdit(std::int32_t target, bool recordUndo) {
    const bool known = validChannel(target) || target == AllChannels;
    if (validChannel(target)) {
        std::memcpy(undoDigital_[target], snapshotDigital_[target], sampleCount_);
    } else if (target == AllChannels) {
        for (int k = 0; k < kDigitalChannels; ++k) {
            std::memcpy(undoDigital_[k], snapshotDigital_[k], sampleCount_);
        }
    }
    // An unknown target has no saved "before" state, so it cannot be undone.
    if (recordUndo && known) {
        undoKind_ = target;
        undoAvailable_ = true;
    }
    markCommitted();
}

std::optional<std::int32_t> CSYNDoc::undo() {
    if (!undoAvailable_) {
        return std::nullopt;
    }
    const std::int32_t kind = undoKind_;
    if (validChannel(kind)) {
        std::memcpy(digital_[kind], undoDigital_[kind], sampleCount_);
    } else if (kind == AllChannels) {
        for (int k = 0; k < kDigitalChannels; ++k) {
            std::memcpy(digital_[k], undoDigital_[k], sampleCount_);
        }
    } else if (kind == kUndoAnalog) {
        std::copy_n(undoAnalog_, sampleCount_, analog_);
    } else if (kind == kUndoTimeBase) {
        // The digital samples were never moved by the change, so only the
        // time base and the analog track come back.
        setTimeBase(undoSamplingTime_, undoSampleCount_);
        std::copy_n(undoAnalog_, sampleCount_, analog_);
    }
    modificationCount_ -= 1;
    modified_ = modificationCount_ != savedModificationCount_;
    undoAvailable_ = false;
    if (kind == kUndoTimeBase) announce([](DocumentObserver& o) { o.timeBaseChanged(); });
    announce([kind](DocumentObserver& o) { o.undone(kind); });
    return kind;
}

// ---- channel operations --------------------------------------------------------

void CSYNDoc::copyChannel(int channel) {
    if (!validChannel(channel)) {
        return;
    }
    std::memcpy(channelClipboard_, digital_[channel], sampleCount_);
    clipboardSource_ = channel;
    clipboardValid_ = true;
    announce([](DocumentObserver& o) { o.clipboardChanged(); });
}

bool CSYNDoc::pasteChannel(int channel) {
    if (!validChannel(channel) || !clipboardValid_) {
        return false;
    }
    takeDigitalSnapshot(channel);
    std::memcpy(digital_[channel], channelClipboard_, sampleCount_);
    commitDigitalEdit(channel, true);
    announce([](DocumentObserver& o) { o.channelsChanged(); });
    return true;
}

void CSYNDoc::invertChannel(int channel) {
    if (!validChannel(channel)) {
        return;
    }
    takeDigitalSnapshot(channel);
    invertLevels(digital_[channel], sampleCount_);
    commitDigitalEdit(channel, true);
    announce([](DocumentObserver& o) { o.channelsChanged(); });
}

void CSYNDoc::clearChannel(int channel) {
    if (!validChannel(channel)) {
        return;
    }
    takeDigitalSnapshot(channel);
    std::memset(digital_[channel], 0, sampleCount_);
    commitDigitalEdit(channel, true);
    announce([](DocumentObserver& o) { o.channelsChanged(); });
}

bool CSYNDoc::hasOutOfRangeAnalog() const {
    // Written so that a NaN sample compares false both ways and counts as in
    // range; device words clip it like any other value.
    for (std::uint32_t i = 0; i < sampleCount_; ++i) {
        if (analog_[i] < -1.0 || analog_[i] > 1.0) {
            return true;
        }
    }
    return false;
}

// ---- editor operations -----------------------------------------------------------

std::int64_t CSYNDoc::startOf(std::uint32_t cursor) const {
    return std::int64_t{cursor} * samplingTime();
}

template <class Settings>
EditRequest<Settings> CSYNDoc::makeRequest(std::int64_t start, std::int32_t channel,
                                           const Settings& settings) {
    EditRequest<Settings> request;
    request.tracks = trackPointers();
    request.sampleCount = sampleCount_;
    request.totalTime = static_cast<std::int64_t>(totalTime_);
    request.samplingTime = samplingTime();
    request.start = start;
    request.channel = channel;
    request.settings = settings;
    return request;
}

template <class Settings>
std::optional<EditRange> CSYNDoc::runEditor(Editor<Settings>& editor, EditRequest<Settings>& request) {
    EditOutcome outcome;
    if (!editor.run(request, outcome)) {
        return std::nullopt;
    }
    const std::int64_t ts = samplingTime();
    EditRange range;
    range.first = outcome.start / ts;
    range.end = range.first + outcome.period / ts;
    return range;
}

template <class Settings>
std::optional<EditRange> CSYNDoc::runAnalogEditor(std::uint32_t cursor, Editor<Settings>& editor,
                                                  Settings& remembered) {
    if (!hasWaveform_) {
        return std::nullopt;
    }
    takeAnalogSnapshot();
    auto request = makeRequest(startOf(cursor), -1, remembered);
    const auto range = runEditor(editor, request);
    if (range) {
        remembered = request.settings;
        commitAnalogEdit();
    }
    return announceRange(range);
}

std::optional<EditRange> CSYNDoc::EditAnalogSine(std::uint32_t cursor, SineEditor& editor) {
    return runAnalogEditor(cursor, editor, editorSettings_.sine);
}
std::optional<EditRange> CSYNDoc::EditAnalogRectangle(std::uint32_t cursor, RectangleEditor& editor) {
    return runAnalogEditor(cursor, editor, editorSettings_.rectangle);
}
std::optional<EditRange> CSYNDoc::EditAnalogDc(std::uint32_t cursor, DcEditor& editor) {
    return runAnalogEditor(cursor, editor, editorSettings_.dc);
}
std::optional<EditRange> CSYNDoc::EditAnalogRamp(std::uint32_t cursor, RampEditor& editor) {
    return runAnalogEditor(cursor, editor, editorSettings_.ramp);
}
std::optional<EditRange> CSYNDoc::EditAnalogExp(std::uint32_t cursor, ExpEditor& editor) {
    return runAnalogEditor(cursor, editor, editorSettings_.exp);
}
std::optional<EditRange> CSYNDoc::EditAnalogNoise(std::uint32_t cursor, NoiseEditor& editor) {
    return runAnalogEditor(cursor, editor, editorSettings_.noise);
}
std::optional<EditRange> CSYNDoc::EditAnalogManual(std::uint32_t cursor, ManualEditor& editor) {
    return runAnalogEditor(cursor, editor, editorSettings_.manual);
}
std::optional<EditRange> CSYNDoc::EditAnalogExternal(std::uint32_t cursor, ExternalEditor& editor) {
    return runAnalogEditor(cursor, editor, editorSettings_.external);
}
std::optional<EditRange> CSYNDoc::EditAnalogEquation(std::uint32_t cursor, EquationEditor& editor) {
    return runAnalogEditor(cursor, editor, equationSettings_);
}

namespace {
// A remembered channel read from a file may be anything; an editor must
// never index past CH7 because of it.
std::int32_t channelOr(std::int32_t channel, std::int32_t fallback) {
    return validChannel(channel) ? channel : fallback;
}
}  // namespace

std::optional<EditRange> CSYNDoc::EditDigitalClock(std::uint32_t cursor, std::int32_t channel,
                                                   ClockEditor& editor) {
    if (!hasWaveform_ || !(validChannel(channel) || channel == AllChannels)) {
        return std::nullopt;
    }
    ClockSettings working = editorSettings_.clock;
    working.channel = channel == AllChannels ? channelOr(working.channel, 0) : channel;
    takeDigitalSnapshot(AllChannels);
    auto request = makeRequest(startOf(cursor), working.channel, working);
    const auto range = runEditor(editor, request);
    if (range) {
        editorSettings_.clock = request.settings;
        commitDigitalEdit(AllChannels, true);
    }
    return announceRange(range);
}

std::optional<EditRange> CSYNDoc::EditDigitalSerial(std::uint32_t cursor, std::int32_t channel,
                                                    SerialEditor& editor) {
    if (!hasWaveform_ || !(validChannel(channel) || channel == AllChannels)) {
        return std::nullopt;
    }
    SerialSettings working = editorSettings_.serial;
    working.channel = channel == AllChannels ? channelOr(working.channel, 0) : channel;
    takeDigitalSnapshot(AllChannels);
    auto request = makeRequest(startOf(cursor), working.channel, working);
    request.text = bitText_;
    const auto range = runEditor(editor, request);
    if (range) {
        editorSettings_.serial = request.settings;
        bitText_ = request.text;
        commitDigitalEdit(AllChannels, true);
    }
    return announceRange(range);
}

std::optional<EditRange> CSYNDoc::EditDigitalParallel(std::uint32_t cursor, ParallelEditor& editor) {
    if (!hasWaveform_) {
        return std::nullopt;
    }
    takeDigitalSnapshot(AllChannels);
    auto request = makeRequest(startOf(cursor), AllChannels, editorSettings_.parallel);
    request.text = wordText_;
    const auto range = runEditor(editor, request);
    if (range) {
        editorSettings_.parallel = request.settings;
        wordText_ = request.text;
        commitDigitalEdit(AllChannels, true);
    }
    return announceRange(range);
}

std::optional<EditRange> CSYNDoc::EditDigitalModify(std::uint32_t cursor, std::int32_t channel,
                                                    ModifyEditor& editor) {
    if (!hasWaveform_ || !(validChannel(channel) || channel == AllChannels)) {
        return std::nullopt;
    }
    ModifyEditorSettings working{editorSettings_.modify, editorSettings_.shift};
    if (channel == AllChannels) {
        working.modify.editChannel = channelOr(working.modify.editChannel, 0);
        working.modify.copyChannel = channelOr(working.modify.copyChannel, 0);
    } else {
        working.modify.editChannel = channel;
        working.modify.copyChannel = channel;
    }
    takeDigitalSnapshot(AllChannels);
    auto request = makeRequest(startOf(cursor), working.modify.editChannel, working);
    const auto range = runEditor(editor, request);
    if (range) {
        editorSettings_.modify = request.settings.modify;
        editorSettings_.shift = request.settings.shift;
        commitDigitalEdit(AllChannels, true);
    }
    return announceRange(range);
}

std::optional<EditRange> CSYNDoc::EditDigitalShift(std::int32_t channel, ShiftEditor& editor) {
    if (!hasWaveform_ || !validChannel(channel)) {
        return std::nullopt;
    }
    takeDigitalSnapshot(channel);
    auto request = makeRequest(0, channel, editorSettings_.shift);
    const auto range = runEditor(editor, request);
    if (range) {
        editorSettings_.shift = request.settings;
        commitDigitalEdit(channel, true);
    }
    return announceChannels(range);
}

std::optional<EditRange> CSYNDoc::EditDigitalProtocol(std::uint32_t cursor, ProtocolEditor& editor,
                                                      std::int32_t channel) {
    if (!hasWaveform_ || !(validChannel(channel) || channel == AllChannels)) {
        return std::nullopt;
    }
    takeDigitalSnapshot(AllChannels);
    auto request = makeRequest(startOf(cursor), channel, protocolSettings_);
    const auto range = runEditor(editor, request);
    if (range) {
        protocolSettings_ = request.settings;
        commitDigitalEdit(AllChannels, true);
    }
    return announceRange(range);
}

std::optional<EditRange> CSYNDoc::EditDigitalSwap(SwapEditor& editor) {
    if (!hasWaveform_) {
        return std::nullopt;
    }
    SwapSettings working = editorSettings_.swap;
    working.swapA = channelOr(working.swapA, 0);
    working.swapB = channelOr(working.swapB, 1);
    takeDigitalSnapshot(AllChannels);
    auto request = makeRequest(0, AllChannels, working);
    const auto range = runEditor(editor, request);
    if (range) {
        editorSettings_.swap = request.settings;
        commitDigitalEdit(AllChannels, true);
    }
    return announceChannels(range);
}

// ---- bit allocation and output settings ------------------------------------

bool CSYNDoc::setAnalogResolution(int analogResolution) {
    if (analogResolution < 8 || analogResolution > 14) {
        return false;
    }
    outputSettings_.analogResolution = static_cast<std::uint8_t>(analogResolution);
    if (outputWindow_ != nullptr) {
        outputWindow_->analogResolutionChanged(outputSettings_.analogResolution);
    }
    announce([](DocumentObserver& o) { o.settingsChanged(); });
    return true;
}

// ---- edit lock and observers -------------------------------------------------

void CSYNDoc::setEditAllowed(bool allowed) {
    if (allowed == editAllowed_) return;
    editAllowed_ = allowed;
    announce([allowed](DocumentObserver& o) { o.lockChanged(allowed); });
}

void CSYNDoc::addObserver(DocumentObserver* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void CSYNDoc::removeObserver(DocumentObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

std::optional<EditRange> CSYNDoc::announceRange(std::optional<EditRange> range) {
    if (range) announce([&range](DocumentObserver& o) { o.samplesChanged(*range); });
    return range;
}

std::optional<EditRange> CSYNDoc::announceChannels(std::optional<EditRange> range) {
    if (range) announce([](DocumentObserver& o) { o.channelsChanged(); });
    return range;
}

void CSYNDoc::applyPulseWidthRule(OutputSettings& s) const {
    if (totalTime_ < kSyncPulseRuleTime) {
        s.syncPulseWidth = 1;  // 100 nS
    }
}

void CSYNDoc::resetOutputSettings() {
    OutputSettings defaults;
    applyPulseWidthRule(defaults);
    outputSettings_ = defaults;
    savedOutputSettings_ = defaults;
}

bool CSYNDoc::resolutionChanged() const {
    return outputSettings_.analogResolution != savedOutputSettings_.analogResolution;
}

bool CSYNDoc::outputSettingsChanged() const {
    return !outputSettings_.sameExceptResolution(savedOutputSettings_);
}

void CSYNDoc::markSaved() {
    modified_ = false;
    savedModificationCount_ = modificationCount_;
    savedOutputSettings_ = outputSettings_;
}

void CSYNDoc::resetEditorSettings() {
    editorSettings_.resetToDefaults();
    bitText_.clear();
    wordText_.clear();
}

// ---- files ------------------------------------------------------------------------

DocumentFileRecord CSYNDoc::exportForFile() const {
    DocumentFileRecord r;
    r.totalTime = totalTime_;
    r.samplingUnits = samplingUnits_;
    r.sampleCount = sampleCount_;
    r.timeUnitNs = timeUnitNs_;
    r.timeUnitReserved = timeUnitReserved_;
    r.revisionId = revisionId_;
    r.documentId = documentId_;
    r.modificationCount = modificationCount_;
    r.signalNames = signalNames_;
    r.outputSettings = outputSettings_;
    r.editorSettings = editorSettings_;
    return r;
}

bool CSYNDoc::validImportRecord(const DocumentFileRecord& r) const {
    return r.samplingUnits >= 1 && r.samplingUnits <= kMaxSamplingUnits && r.sampleCount >= 1 &&
           r.sampleCount <= kMaxSamples && r.outputSettings.analogResolution >= 8 &&
           r.outputSettings.analogResolution <= 14;
}

// Shared by both imports. The total time is always derived as Ts x N, so the
// document never holds a time base that its own files would refuse.
void CSYNDoc::importCommon(const DocumentFileRecord& r) {
    setTimeBase(std::int64_t{r.samplingUnits} * kTimeUnitNs, r.sampleCount);
    OutputSettings s = r.outputSettings;
    applyPulseWidthRule(s);
    outputSettings_ = s;
    savedOutputSettings_ = s;
    bitText_.clear();
    wordText_.clear();
    hasWaveform_ = true;
    modified_ = false;
    undoAvailable_ = false;
    clipboardValid_ = false;
}

bool CSYNDoc::importFromFile(const DocumentFileRecord& r) {
    if (!validImportRecord(r)) {
        return false;
    }
    importCommon(r);
    timeUnitNs_ = r.timeUnitNs;
    timeUnitReserved_ = r.timeUnitReserved;
    revisionId_ = r.revisionId;
    documentId_ = r.documentId;
    signalNames_ = r.signalNames;
    modificationCount_ = r.modificationCount;
    savedModificationCount_ = r.modificationCount;
    editorSettings_ = r.editorSettings;
    return true;
}

bool CSYNDoc::importReducedFromFile(const DocumentFileRecord& r) {
    if (!validImportRecord(r)) {
        return false;
    }
    importCommon(r);
    timeUnitNs_ = 10;
    timeUnitReserved_ = 0;
    revisionId_ = drawIdentifier();
    documentId_ = drawIdentifier();
    modificationCount_ = 0;
    savedModificationCount_ = 0;
    signalNames_ = SignalNames{};
    editorSettings_.resetToDefaults();
    return true;
}

}  // namespace lyr::document
