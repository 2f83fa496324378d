#include "device/output_window.h"

#include <cstdlib>

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
                                   WordAllocator allocate)
    : d2xx_(d2xx), timer_(timer), prompter_(prompter), allocate_(allocate ? allocate : std::calloc) {}

OutputWindowForm::~OutputWindowForm() { closeUnit(); }

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
    if (!deviceOpen_) openUnit();
    loadControls();
    OutputSettings read;
    if (deviceOpen_ && readDeviceSettings(d2xx_, handle_, read) == FT_OK) {
        deviceSettings_ = read;
        deviceSettingsShown_ = true;
    } else {
        deviceSettings_ = unreadableSettings();
        deviceSettingsShown_ = false;
    }
    refreshDeviceSettingsDisplay();
    pollDevice();
    timer_.start(POLL_INTERVAL_MS);
    return true;
}

bool OutputWindowForm::openUnit() {
    FT_HANDLE h = nullptr;
    if (openDevice(d2xx_, serial_.c_str(), h) != FT_OK) return false;
    handle_ = h;
    deviceOpen_ = true;
    return true;
}

void OutputWindowForm::closeUnit() {
    if (!deviceOpen_) return;
    closeDevice(d2xx_, handle_);
    handle_ = nullptr;
    deviceOpen_ = false;
}

void OutputWindowForm::timerTick() {
    timer_.stop();
    pollDevice();
    timer_.start(POLL_INTERVAL_MS);
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
    if (!deviceOpen_ && !openUnit()) {
        lostUnit();
        notify();
        return;
    }
    DeviceStatus status;
    OutputSettings read;
    if (readStatus(d2xx_, handle_, status) != FT_OK || readDeviceSettings(d2xx_, handle_, read) != FT_OK) {
        lostUnit();
        closeUnit();  // reopened (reset and purged) by the next poll
        notify();
        return;
    }
    const DeviceState state = deriveState(status);
    applyButtons(deriveButtons(state, read, hasWaveform_));
    firmwareVersion_ = status.firmwareVersion;
    setStatus(statusKindOf(state), firmwareVersion_);
    const bool differs = !(read == deviceSettings_);
    deviceSettings_ = read;
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

bool OutputWindowForm::runCommand(StatusKind shown, const std::function<Status()>& command,
                                  const char* failure) {
    disableButtons();
    if (waitCursor) waitCursor(true);
    setStatus(shown, firmwareVersion_);
    notify();
    const Status s = deviceOpen_ ? command() : static_cast<Status>(FT_DEVICE_NOT_OPENED);
    // Whatever went wrong on the link (a lost or stray reply byte, an
    // unplugged unit) is cleared by opening the unit afresh at the next poll.
    if (s != FT_OK) closeUnit();
    if (waitCursor) waitCursor(false);
    if (s != FT_OK) prompter_.tell(failure, PromptIcon::Warning);
    return s == FT_OK;
}

void OutputWindowForm::transfer() {
    if (!hasWaveform_) return;
    if (!validateSettings()) {
        prompter_.tell(kRepeatInvalidMessage, PromptIcon::Warning);
        notify();
        return;
    }
    runCommand(StatusTransferring, [this] {
        return uploadWaveform(d2xx_, handle_, working_, sampleCount_, samplingUnits_, tracks_,
                              analogResolution_, words_.get());
    }, kUploadFailedMessage);
}

void OutputWindowForm::startStop() {
    if (buttons_.startLabelIsStart)
        runCommand(StatusCommunicating, [this] { return startOutput(d2xx_, handle_); }, kStartFailedMessage);
    else
        runCommand(StatusCommunicating, [this] { return stopOutput(d2xx_, handle_); }, kStopFailedMessage);
}

void OutputWindowForm::forceStopOutput() {
    runCommand(StatusCommunicating, [this] { return forceStop(d2xx_, handle_); }, kForceStopFailedMessage);
}

void OutputWindowForm::close() {
    timer_.stop();
    closeUnit();
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
