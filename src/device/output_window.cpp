#include "device/output_window.h"

#include <cstdlib>
#include <memory>

#include "document/quantities.h"
#include "document/syn_doc.h"

namespace lyr::device {

using document::OutputSettings;

const char* statusText(StatusKind kind) {
    switch (kind) {
    case StatusNone: return "";
    case StatusCommunicating: return "PGX-500 通信中";
    case StatusNotConnected: return "PGX-500 未接続";
    case StatusNotSetUp: return "PGX-500 未設定";
    case StatusReady: return "PGX-500 レディ";
    case StatusRunning: return "PGX-500 動作中";
    case StatusTransferring: return "PGX-500 転送中";
    case StatusClockFault: return "PGX-500 クロック異常";
    case StatusFault: return "PGX-500 異常";
    }
    return "";
}

std::string versionText(int version) { return version != 0 ? "Ver." + std::to_string(version) : std::string(); }

std::string resolutionText(int r) { return "アナログ分解能：" + std::to_string(r) + "ビット"; }

std::string channelsText(int r) { return "ディジタルCH：0～" + std::to_string(15 - r); }

const OutputGroupLabels& groupLabels(int group) {
    static const OutputGroupLabels labels[kOutputGroupCount] = {
        {"出力モード", nullptr, 2, {"連続", "繰り返し", nullptr}},
        {"停止時出力", "アナログ", 2, {"0V出力", "開始データ", nullptr}},
        {"停止時出力", "ディジタル", 2, {"Hi-Z", "開始データ", nullptr}},
        {"同期出力信号", "極性", 2, {"正", "負", nullptr}},
        {"同期出力信号", "パルス幅", 2, {"10 uS", "100 nS", nullptr}},
        {"開始・停止制御", nullptr, 3, {"リモート（ＰＣ）", "マニュアルボタン（本体）", "外部トリガー"}},
        {nullptr, "トリガーモード", 2, {"レベル", "エッジ", nullptr}},
        {nullptr, "トリガー極性", 2, {"正", "負", nullptr}},
        {nullptr, "再トリガー", 2, {"無効", "有効", nullptr}},
    };
    return labels[group];
}

namespace {

// The settings field of a group (const or not, as the settings are).
template <class Settings>
auto groupField(Settings& s, int group) -> decltype(&s.outputMode) {
    switch (group) {
    case GroupOutputMode: return &s.outputMode;
    case GroupAnalogStop: return &s.analogStop;
    case GroupDigitalStop: return &s.digitalStop;
    case GroupSyncPolarity: return &s.syncPolarity;
    case GroupSyncPulseWidth: return &s.syncPulseWidth;
    case GroupStartControl: return &s.startControl;
    case GroupTriggerMode: return &s.triggerMode;
    case GroupTriggerPolarity: return &s.triggerPolarity;
    case GroupRetrigger: return &s.retrigger;
    default: return nullptr;
    }
}

// What the unit holds when its settings could not be read.
OutputSettings unreadableSettings() {
    OutputSettings s;
    for (int g = 0; g < kOutputGroupCount; ++g) *groupField(s, g) = 255;
    s.analogResolution = 255;
    s.repeatCount = -1;
    return s;
}

}  // namespace

std::uint8_t groupValue(const OutputSettings& settings, int group) {
    return *groupField(settings, group);
}

void setGroupValue(OutputSettings& settings, int group, std::uint8_t value) { *groupField(settings, group) = value; }

ButtonState deriveButtons(DeviceState state, const OutputSettings& dev, bool hasWaveform) {
    const bool clockOk = state != DeviceState::ClockFault;
    const bool running = state == DeviceState::Running;
    ButtonState b;
    b.startLabelIsStart = state == DeviceState::Ready;
    b.transferEnabled = clockOk && !running && hasWaveform;
    b.startStopEnabled = clockOk && dev.startControl == 0 &&
                         (state == DeviceState::Ready || (running && dev.outputMode == 0));
    b.forceStopEnabled = clockOk && (running || dev.startControl == 2);
    return b;
}

StatusKind statusKindOf(DeviceState state) {
    switch (state) {
    case DeviceState::ClockFault: return StatusClockFault;
    case DeviceState::NotSetUp: return StatusNotSetUp;
    case DeviceState::Ready: return StatusReady;
    case DeviceState::Running: return StatusRunning;
    case DeviceState::Fault: return StatusFault;
    }
    return StatusNone;
}

OutputOpening openingFor(const document::CSYNDoc& doc, const std::string& serial,
                         const std::string& description, const std::string& documentTitle) {
    OutputOpening o;
    o.hasWaveform = doc.hasWaveform();
    o.sampleCount = doc.sampleCount();
    o.samplingUnits = doc.samplingUnits();
    o.tracks.analog = doc.analog();
    for (int k = 0; k < 8; ++k) o.tracks.digital[k] = doc.digital(k);
    o.settings = doc.outputSettings();
    o.serial = serial;
    o.description = description;
    o.documentTitle = documentTitle;
    return o;
}

void OutputWindowForm::FreeDeleter::operator()(void* p) const { std::free(p); }

OutputWindowForm::OutputWindowForm(const D2xxApi& d2xx, PollTimer& timer, Prompter& prompter,
                                   WordAllocator allocate, DeviceExecutor* executor)
    : d2xx_(d2xx),
      timer_(timer),
      prompter_(prompter),
      allocate_(allocate ? allocate : std::calloc),
      executor_(executor ? executor : &inline_) {
    link_.d2xx = &d2xx_;
}

OutputWindowForm::~OutputWindowForm() {
    changed = nullptr;
    waitCursor = nullptr;
    close();
}

DeviceExecutor::Task OutputWindowForm::guarded(std::function<void()> call) {
    return [alive = std::weak_ptr<int>(alive_), epoch = epoch_, this, call = std::move(call)] {
        if (alive.lock() && epoch == epoch_ && !closed_) call();
    };
}

bool OutputWindowForm::UnitLink::openUnit() {
    FT_HANDLE h = nullptr;
    if (openDevice(*d2xx, serial.c_str(), h) != FT_OK) return false;
    handle = h;
    open = true;
    return true;
}

void OutputWindowForm::UnitLink::close() {
    if (!open) return;
    closeDevice(*d2xx, handle);
    handle = nullptr;
    open = false;
}

OutputWindowForm::PollOutcome OutputWindowForm::pollLink(UnitLink& link) {
    PollOutcome o;
    if (!link.open && !link.openUnit()) return o;
    if (readStatus(*link.d2xx, link.handle, o.status) != FT_OK ||
        readDeviceSettings(*link.d2xx, link.handle, o.settings) != FT_OK) {
        link.close();  // reopened (reset and purged) by the next poll
        return o;
    }
    o.open = o.read = true;
    return o;
}

bool OutputWindowForm::open(const OutputOpening& o) {
    words_.reset(static_cast<std::uint16_t*>(allocate_(document::kMaxSamples, sizeof(std::uint16_t))));
    if (!words_) {
        prompter_.tell(kOutputMemoryMessage, PromptIcon::Warning);
        return false;
    }
    hasWaveform_ = o.hasWaveform;
    sampleCount_ = o.sampleCount;
    samplingUnits_ = o.samplingUnits;
    tracks_ = o.tracks;
    working_ = o.settings;
    analogResolution_ = o.settings.analogResolution;
    serial_ = o.serial;
    description_ = o.description;
    documentTitle_ = o.documentTitle;
    composeTitle();
    if (!hasWaveform_) {
        working_ = OutputSettings{};
        working_.repeatCount = 1;
        analogResolution_ = 12;
    }
    buttons_ = ButtonState{};
    lastStatusKind_ = StatusNone;
    closed_ = false;
    loadControls();
    // The unit's settings as it holds them now, then the first poll.
    struct Opening {
        bool settingsRead = false;
        OutputSettings settings;
        PollOutcome poll;
    };
    auto result = std::make_shared<Opening>();
    pollInFlight_ = true;
    executor_->post(
        [this, result, serial = serial_] {
            if (!link_.open) {
                link_.serial = serial;
                link_.openUnit();
            }
            result->settingsRead = link_.open && readDeviceSettings(d2xx_, link_.handle, result->settings) == FT_OK;
            result->poll = pollLink(link_);
        },
        guarded([this, result] {
            if (result->settingsRead) {
                deviceSettings_ = result->settings;
                deviceSettingsShown_ = true;
            } else {
                deviceSettings_ = unreadableSettings();
                deviceSettingsShown_ = false;
            }
            refreshDeviceSettingsDisplay();
            pollInFlight_ = false;
            applyPoll(result->poll);
            timer_.start(POLL_INTERVAL_MS);
        }));
    return true;
}

void OutputWindowForm::timerTick() {
    timer_.stop();
    // A poll or command on its way starts the timer again when it is back.
    if (busy()) return;
    pollDevice();
}

void OutputWindowForm::lostUnit() {
    disableButtons();
    if (deviceSettingsShown_) {
        deviceSettingsShown_ = false;
        refreshDeviceSettingsDisplay();
    }
    setStatus(StatusNotConnected, 0);
}

void OutputWindowForm::pollDevice() {
    if (closed_ || busy()) return;
    pollInFlight_ = true;
    auto outcome = std::make_shared<PollOutcome>();
    executor_->post([this, outcome] { *outcome = pollLink(link_); },
                    guarded([this, outcome] {
                        pollInFlight_ = false;
                        // A command posted meanwhile shows its own state; its
                        // end starts the timer again.
                        if (commandActive_) {
                            deviceOpen_ = outcome->open;
                            return;
                        }
                        applyPoll(*outcome);
                        timer_.start(POLL_INTERVAL_MS);
                    }));
}

void OutputWindowForm::applyPoll(const PollOutcome& o) {
    deviceOpen_ = o.open;
    if (!o.read) {
        lostUnit();
        notify();
        return;
    }
    const DeviceState state = deriveState(o.status);
    applyButtons(deriveButtons(state, o.settings, hasWaveform_));
    firmwareVersion_ = o.status.firmwareVersion;
    setStatus(statusKindOf(state), firmwareVersion_);
    const bool differs = !(o.settings == deviceSettings_);
    deviceSettings_ = o.settings;
    if (state == DeviceState::NotSetUp) {
        if (deviceSettingsShown_) {
            deviceSettingsShown_ = false;
            refreshDeviceSettingsDisplay();
        }
    } else if (!deviceSettingsShown_) {
        deviceSettingsShown_ = true;
        refreshDeviceSettingsDisplay();
    } else if (differs) {
        refreshDeviceSettingsDisplay();
    }
    notify();
}

void OutputWindowForm::applyButtons(const ButtonState& b) { buttons_ = b; }

void OutputWindowForm::disableButtons() {
    buttons_.transferEnabled = buttons_.startStopEnabled = buttons_.forceStopEnabled = false;
}

void OutputWindowForm::setStatus(StatusKind kind, int version) {
    std::string text = versionText(version);
    if (kind == lastStatusKind_ && text == versionText_) return;
    lastStatusKind_ = kind;
    versionText_ = std::move(text);
    statusLine_ = statusText(kind);
    notify();
}

void OutputWindowForm::refreshDeviceSettingsDisplay() { notify(); }

std::string OutputWindowForm::optionLabel(int group, int value) const {
    std::string label = groupLabels(group).options[value];
    if (deviceSettingsShown_ && groupValue(deviceSettings_, group) == value) label += DEVICE_MARK;
    return label;
}

bool OutputWindowForm::optionEnabled(int group, int value) const {
    if (isTriggerGroup(group)) return triggerGroupsEnabled();
    if (group == GroupSyncPulseWidth) return value != lockedPulseWidth_;
    return true;
}

std::string OutputWindowForm::deviceRepeatText() const {
    if (!deviceSettingsShown_) return {};
    return std::to_string(static_cast<std::uint32_t>(deviceSettings_.repeatCount));
}

std::string OutputWindowForm::deviceResolutionText() const {
    return deviceSettingsShown_ ? resolutionText(deviceSettings_.analogResolution) : std::string();
}

std::string OutputWindowForm::deviceChannelsText() const {
    return deviceSettingsShown_ ? channelsText(deviceSettings_.analogResolution) : std::string();
}

void OutputWindowForm::loadControls() {
    for (int g = 0; g < kOutputGroupCount; ++g) controls_.choice[g] = groupValue(working_, g);
    controls_.repeatText = std::to_string(static_cast<std::uint32_t>(working_.repeatCount));
    // The document fixes the pulse width for its waveform.
    lockedPulseWidth_ = hasWaveform_ ? 1 - (working_.syncPulseWidth & 1) : -1;
    notify();
}

void OutputWindowForm::chooseOption(int group, int value) {
    if (group < 0 || group >= kOutputGroupCount || value < 0 || value >= groupLabels(group).optionCount ||
        !optionEnabled(group, value))
        return;
    controls_.choice[group] = value;
    notify();
}

void OutputWindowForm::setRepeatText(const std::string& text) { controls_.repeatText = text; }

bool OutputWindowForm::validateSettings() {
    for (int g = 0; g < kOutputGroupCount; ++g)
        setGroupValue(working_, g, static_cast<std::uint8_t>(controls_.choice[g]));
    if (working_.outputMode != 1) return true;
    std::uint32_t count = 0;
    if (!document::parseUnsigned(controls_.repeatText, count) || count < kMinRepeatCount ||
        count > kMaxRepeatCount)
        return false;
    working_.repeatCount = static_cast<std::int32_t>(count);
    return true;
}

OutputSettings OutputWindowForm::pullSettings() {
    validateSettings();
    return working_;
}

void OutputWindowForm::beginCommand(StatusKind shown) {
    disableButtons();
    commandActive_ = true;
    if (waitCursor) waitCursor(true);
    setStatus(shown, firmwareVersion_);
    notify();
}

void OutputWindowForm::runCommand(StatusKind shown, std::function<Status(UnitLink&)> command,
                                  const char* failure) {
    if (closed_ || commandActive_) return;
    beginCommand(shown);
    auto outcome = std::make_shared<CommandOutcome>();
    executor_->post(
        [this, outcome, command = std::move(command)] {
            outcome->status = link_.open ? command(link_) : static_cast<Status>(FT_DEVICE_NOT_OPENED);
            // Whatever went wrong on the link (a lost or stray reply byte, an
            // unplugged unit) is cleared by opening the unit afresh at the next poll.
            if (outcome->status != FT_OK) link_.close();
            outcome->open = link_.open;
        },
        guarded([this, outcome, failure] { commandDone(*outcome, failure); }));
}

void OutputWindowForm::commandDone(const CommandOutcome& o, const char* failure) {
    commandActive_ = false;
    deviceOpen_ = o.open;
    const bool cancelled = transferring_ && o.status == ERR_CANCELLED;
    transferring_ = cancelRequested_ = false;
    if (waitCursor) waitCursor(false);
    // The next poll shows what the command did.
    timer_.start(POLL_INTERVAL_MS);
    notify();
    if (cancelled)
        prompter_.tell(kTransferCancelledMessage, PromptIcon::Information);
    else if (o.status != FT_OK)
        prompter_.tell(failure, PromptIcon::Warning);
}

void OutputWindowForm::transfer() {
    if (!hasWaveform_ || closed_ || commandActive_) return;
    if (!validateSettings()) {
        prompter_.tell(kRepeatInvalidMessage, PromptIcon::Warning);
        notify();
        return;
    }
    transferring_ = true;
    cancelRequested_ = false;
    cancel_ = false;
    progressBytes_ = 0;
    progressTotal_ = 2 * sampleCount_;
    beginCommand(StatusTransferring);
    // The words are built here, between the two halves, so that the
    // document's tracks are read on this thread only.
    struct Begun {
        CommandOutcome outcome;
        Calibration calibration;
    };
    auto begun = std::make_shared<Begun>();
    executor_->post(
        [this, begun, settings = working_, n = sampleCount_, r = analogResolution_] {
            Status& s = begun->outcome.status;
            s = link_.open ? beginUpload(d2xx_, link_.handle, settings, n, r, begun->calibration)
                           : static_cast<Status>(FT_DEVICE_NOT_OPENED);
            if (s != FT_OK) link_.close();
            begun->outcome.open = link_.open;
        },
        guarded([this, begun] {
            if (begun->outcome.status != FT_OK) {
                commandDone(begun->outcome, kUploadFailedMessage);
                return;
            }
            loadWords(begun->calibration);
        }));
}

void OutputWindowForm::loadWords(const Calibration& calibration) {
    buildSampleWords(tracks_, sampleCount_, analogResolution_, calibration, words_.get());
    auto outcome = std::make_shared<CommandOutcome>();
    // The worker leaves the bytes sent here and asks for them to be shown.
    auto sent = std::make_shared<std::atomic<std::uint32_t>>(0);
    DeviceExecutor::Task show = guarded([this, sent] {
        progressBytes_ = sent->load();
        notify();
    });
    executor_->post(
        [this, outcome, sent, show, calibration, n = sampleCount_, units = samplingUnits_, words = words_.get()] {
            const ChunkSent chunkSent = [this, sent, &show](std::uint32_t bytes, std::uint32_t) {
                sent->store(bytes);
                executor_->deliver(show);
                return !cancel_.load();
            };
            outcome->status = link_.open ? finishUpload(d2xx_, link_.handle, n, units, calibration, words, chunkSent)
                                         : static_cast<Status>(FT_DEVICE_NOT_OPENED);
            if (outcome->status != FT_OK) link_.close();
            outcome->open = link_.open;
        },
        guarded([this, outcome] { commandDone(*outcome, kUploadFailedMessage); }));
}

void OutputWindowForm::cancelTransfer() {
    if (!transferring_ || cancelRequested_) return;
    cancelRequested_ = true;
    cancel_ = true;
    notify();
}

void OutputWindowForm::startStop() {
    if (buttons_.startLabelIsStart)
        runCommand(StatusCommunicating, [this](UnitLink& l) { return startOutput(d2xx_, l.handle); },
                   kStartFailedMessage);
    else
        runCommand(StatusCommunicating, [this](UnitLink& l) { return stopOutput(d2xx_, l.handle); },
                   kStopFailedMessage);
}

void OutputWindowForm::forceStopOutput() {
    runCommand(StatusCommunicating, [this](UnitLink& l) { return forceStop(d2xx_, l.handle); },
               kForceStopFailedMessage);
}

void OutputWindowForm::close() {
    timer_.stop();
    if (closed_) return;
    // A transfer stops after the chunk being sent; the results still on
    // their way are dropped.
    cancel_ = true;
    closed_ = true;
    ++epoch_;
    if (commandActive_ && waitCursor) waitCursor(false);
    commandActive_ = pollInFlight_ = transferring_ = cancelRequested_ = false;
    executor_->post([this] { link_.close(); }, nullptr);
    executor_->drain();
    deviceOpen_ = false;
}

void OutputWindowForm::setOutputTitle(const std::string& documentTitle) {
    documentTitle_ = documentTitle;
    composeTitle();
}

void OutputWindowForm::setOutputResolution(int analogResolution) {
    analogResolution_ = analogResolution;
    composeTitle();
}

void OutputWindowForm::composeTitle() {
    std::string title = baseTitle_ + " - ";
    if (!serial_.empty()) {
        title += "[" + (description_.empty() ? serial_ : description_) + "] ";
        caption_ = title;
    }
    if (hasWaveform_) {
        title += documentTitle_ + " ( " + resolutionText(analogResolution_) + "  " +
                 channelsText(analogResolution_) + " )";
        caption_ = title;
    }
    notify();
}

void OutputWindowForm::notify() {
    if (changed) changed();
}

}  // namespace lyr::device
