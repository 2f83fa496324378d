#pragma once
// The output window's logic: it opens the unit, polls its status and the
// settings it holds, derives the status line, the " *" marks and the enabling
// of the three command buttons from what the unit reports, and runs the
// transfer, start/stop and forced-stop commands. The widget only presents it.
// Every exchange with the unit runs through a DeviceExecutor: at once on the
// caller's thread, or on a worker thread with the results coming back later.
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "device/device_worker.h"
#include "device/protocol.h"
#include "document/output_settings.h"
#include "document/prompter.h"

namespace lyr::document {
class CSYNDoc;
}

namespace lyr::device {

inline constexpr const char* kOutputCaption = "波形出力";
inline constexpr const char* DEVICE_MARK = " *";
inline constexpr int POLL_TIMER_ID = 1;
inline constexpr int POLL_INTERVAL_MS = 100;

inline constexpr const char* kOutputMemoryMessage = "波形出力のためのメモリが確保できませんでした";
inline constexpr const char* kRepeatInvalidMessage = "繰り返し回数が不正です。";
inline constexpr const char* kUploadFailedMessage = "データ設定できませんでした。";
inline constexpr const char* kStartFailedMessage = "スタートできませんでした。\n\n";
inline constexpr const char* kStopFailedMessage = "ストップできませんでした。\n\n";
inline constexpr const char* kForceStopFailedMessage = "強制ストップできませんでした。\n\n";
inline constexpr const char* kTransferCancelledMessage = "データ転送を中止しました。";

inline constexpr const char* kTransferLabel = "データ転送";
inline constexpr const char* kStartLabel = "スタート";
inline constexpr const char* kStopLabel = "ストップ";
inline constexpr const char* kForceStopLabel = "強制ストップ";
inline constexpr const char* kCancelTransferLabel = "中止";
inline constexpr const char* kTimesLabel = "回";

inline constexpr std::uint32_t kMinRepeatCount = 1;
inline constexpr std::uint32_t kMaxRepeatCount = 65536;

enum StatusKind {
    StatusNone,
    StatusCommunicating,
    StatusNotConnected,
    StatusNotSetUp,
    StatusReady,
    StatusRunning,
    StatusTransferring,
    StatusClockFault,
    StatusFault,
};
const char* statusText(StatusKind kind);
// "Ver.%d", or the empty text for version 0.
std::string versionText(int version);
// "アナログ分解能：%dビット" and "ディジタルCH：0～%d" (15 - R).
std::string resolutionText(int analogResolution);
std::string channelsText(int analogResolution);

// The nine radio groups in the window's order; a group's value is the
// 0-based position of its chosen option.
enum OutputGroup {
    GroupOutputMode,
    GroupAnalogStop,
    GroupDigitalStop,
    GroupSyncPolarity,
    GroupSyncPulseWidth,
    GroupStartControl,
    GroupTriggerMode,
    GroupTriggerPolarity,
    GroupRetrigger,
    kOutputGroupCount,
};
struct OutputGroupLabels {
    const char* frame;  // the enclosing frame's title, or null
    const char* title;  // the group's own title, or null when the frame names it
    int optionCount;
    const char* options[3];
};
const OutputGroupLabels& groupLabels(int group);
std::uint8_t groupValue(const document::OutputSettings& settings, int group);
void setGroupValue(document::OutputSettings& settings, int group, std::uint8_t value);
inline bool isTriggerGroup(int group) {
    return group == GroupTriggerMode || group == GroupTriggerPolarity || group == GroupRetrigger;
}

// The choice of every radio group and the repeat-count text.
struct OutputControls {
    std::array<int, kOutputGroupCount> choice{};
    std::string repeatText;
};

struct ButtonState {
    bool startLabelIsStart = true;
    bool transferEnabled = false;
    bool startStopEnabled = false;
    bool forceStopEnabled = false;
    bool operator==(const ButtonState&) const = default;
};
// The buttons for a state read from the unit, with the settings the unit holds.
ButtonState deriveButtons(DeviceState state, const document::OutputSettings& deviceSettings,
                          bool hasWaveform);
StatusKind statusKindOf(DeviceState state);

// The poll timer, a window timer in the widget and a stepped one in tests.
class PollTimer {
public:
    virtual ~PollTimer() = default;
    virtual void start(int intervalMs) = 0;
    virtual void stop() = 0;
};

// What the window is opened with: copies of the document's time base and
// settings, and its tracks (read at transfer time, not owned).
struct OutputOpening {
    bool hasWaveform = false;
    std::uint32_t sampleCount = 0;
    std::uint32_t samplingUnits = 0;
    SampleTracks tracks;
    document::OutputSettings settings;  // the document's current ones, R included
    std::string serial;       // the unit chosen at start-up; empty: the first of the model
    std::string description;
    std::string documentTitle;  // without the main window's prefix
};
OutputOpening openingFor(const document::CSYNDoc& doc, const std::string& serial,
                         const std::string& description, const std::string& documentTitle);

class OutputWindowForm {
public:
    // calloc's contract; tests pass a failing one.
    using WordAllocator = void* (*)(std::size_t count, std::size_t size);

    // Without an executor every exchange runs at once on the caller's thread.
    OutputWindowForm(const D2xxApi& d2xx, PollTimer& timer, Prompter& prompter,
                     WordAllocator allocate = nullptr, DeviceExecutor* executor = nullptr);
    ~OutputWindowForm();
    OutputWindowForm(const OutputWindowForm&) = delete;
    OutputWindowForm& operator=(const OutputWindowForm&) = delete;

    // Called after the presented state may have changed (the widget re-reads
    // everything), and around each command for the wait cursor.
    std::function<void()> changed;
    std::function<void(bool)> waitCursor;

    // The opening steps. False (after the memory message) when the word
    // buffer cannot be had: the window ends as cancelled.
    bool open(const OutputOpening& opening);
    // The timer: stopped, one poll, started again once the poll is back
    // (at most one poll in flight; none while a command runs).
    void timerTick();
    void pollDevice();
    void setStatus(StatusKind kind, int version);
    void refreshDeviceSettingsDisplay();
    // The nine choices into the working settings, and the repeat count when
    // the mode is repeat; false when that count is not 1 ... 65536.
    bool validateSettings();

    // The user's edits.
    void chooseOption(int group, int value);
    void setRepeatText(const std::string& text);
    // The three buttons.
    void transfer();
    void startStop();
    void forceStopOutput();
    // "中止": the transfer stops after the chunk being sent; the unit's data
    // stays marked invalid.
    void cancelTransfer();

    // Closing: the timer stops, a transfer stops after its chunk in flight,
    // the unit is let go, and nothing reaches the library afterwards.
    void close();
    // What goes back into the document: validated, fields 1 .. 10 (R is the
    // document's own); an invalid count keeps the previous one.
    document::OutputSettings pullSettings();

    void setOutputTitle(const std::string& documentTitle);
    void setOutputResolution(int analogResolution);
    void composeTitle();

    // ---- what the widget shows ----
    const std::string& caption() const { return caption_; }
    const std::string& statusLine() const { return statusLine_; }
    const std::string& version() const { return versionText_; }
    const ButtonState& buttons() const { return buttons_; }
    const OutputControls& controls() const { return controls_; }
    // An option's caption with " *" when the unit holds it.
    std::string optionLabel(int group, int value) const;
    bool optionEnabled(int group, int value) const;
    bool repeatFieldEnabled() const { return controls_.choice[GroupOutputMode] == 1; }
    bool triggerGroupsEnabled() const { return controls_.choice[GroupStartControl] == 2; }
    // The unit's repeat count and allocation; empty while not shown.
    std::string deviceRepeatText() const;
    std::string deviceResolutionText() const;
    std::string deviceChannelsText() const;

    // The transfer's progress in bytes of sample data sent.
    bool transferring() const { return transferring_; }
    bool cancelRequested() const { return cancelRequested_; }
    std::uint32_t progressBytes() const { return progressBytes_; }
    std::uint32_t progressTotal() const { return progressTotal_; }
    // A poll or a command is on its way.
    bool busy() const { return pollInFlight_ || commandActive_; }

    bool hasWaveform() const { return hasWaveform_; }
    bool deviceOpen() const { return deviceOpen_; }
    int analogResolution() const { return analogResolution_; }
    const document::OutputSettings& workingSettings() const { return working_; }
    const document::OutputSettings& deviceSettings() const { return deviceSettings_; }
    bool deviceSettingsShown() const { return deviceSettingsShown_; }
    StatusKind lastStatusKind() const { return lastStatusKind_; }

private:
    // The unit as the executor's side holds it; only work posted to the
    // executor touches it.
    struct UnitLink {
        const D2xxApi* d2xx = nullptr;
        std::string serial;
        FT_HANDLE handle = nullptr;
        bool open = false;
        bool openUnit();
        void close();
    };
    struct PollOutcome {
        bool open = false;
        bool read = false;  // status and settings both read
        DeviceStatus status;
        document::OutputSettings settings;
    };
    struct CommandOutcome {
        Status status = FT_OK;
        bool open = false;
    };
    static PollOutcome pollLink(UnitLink& link);

    // A call back from the executor, dropped once the form is closed or gone.
    DeviceExecutor::Task guarded(std::function<void()> call);
    void applyPoll(const PollOutcome& outcome);
    void lostUnit();
    void applyButtons(const ButtonState& b);
    void disableButtons();
    void loadControls();
    void notify();
    void beginCommand(StatusKind shown);
    void runCommand(StatusKind shown, std::function<Status(UnitLink&)> command, const char* failure);
    void commandDone(const CommandOutcome& outcome, const char* failure);
    void loadWords(const Calibration& calibration);

    struct FreeDeleter {
        void operator()(void* p) const;
    };

    const D2xxApi& d2xx_;
    PollTimer& timer_;
    Prompter& prompter_;
    WordAllocator allocate_;

    bool hasWaveform_ = false;
    std::uint32_t sampleCount_ = 0;
    std::uint32_t samplingUnits_ = 0;
    SampleTracks tracks_;
    document::OutputSettings working_;
    int analogResolution_ = 12;
    std::string serial_, description_, documentTitle_;
    std::string baseTitle_ = kOutputCaption;
    std::string caption_ = kOutputCaption;

    std::unique_ptr<std::uint16_t, FreeDeleter> words_;
    InlineExecutor inline_;
    DeviceExecutor* executor_;
    UnitLink link_;
    bool deviceOpen_ = false;  // as the last result reported it
    bool closed_ = false;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
    int epoch_ = 0;  // results of an earlier epoch are dropped
    bool pollInFlight_ = false;
    bool commandActive_ = false;
    bool transferring_ = false;
    bool cancelRequested_ = false;
    std::atomic<bool> cancel_{false};
    std::uint32_t progressBytes_ = 0;
    std::uint32_t progressTotal_ = 0;

    StatusKind lastStatusKind_ = StatusNone;
    int firmwareVersion_ = 0;
    std::string versionText_;
    std::string statusLine_;
    document::OutputSettings deviceSettings_;
    bool deviceSettingsShown_ = false;
    ButtonState buttons_;
    OutputControls controls_;
    int lockedPulseWidth_ = -1;  // the pulse-width option the document rules out
};

}  // namespace lyr::device
