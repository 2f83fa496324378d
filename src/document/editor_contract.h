#pragma once
// How the document runs an editor. Every edit command calls one CSYNDoc
// operation (EditAnalogSine ... EditDigitalSwap) with the cursor's sample
// index and an editor (a dialog, or a scripted editor in tests):
//   1. the document snapshots the tracks the edit may touch;
//   2. it runs the editor with references to the tracks, T, Ts, the edit
//      start (cursor index x Ts, 64-bit) and a working copy of the editor's
//      remembered settings record;
//   3. when the editor applies, the working copy is stored back into the
//      document, the edited range is first = start / Ts and
//      end = first + period / Ts (integer division, start and period as the
//      editor reports them), and the edit is committed as one undo step;
//   4. when the editor is cancelled nothing is stored or committed. Leaving
//      the tracks unchanged on cancel is the editor's duty.
#include <array>
#include <cstdint>
#include <string>

#include "document/settings_records.h"

namespace lyr::document {

// Target of a digital snapshot/commit covering all eight channels. As the
// channel argument of a digital edit operation it means "the channel(s)
// remembered in the editor's settings".
constexpr std::int32_t AllChannels = -2;

constexpr int kDigitalChannels = 8;

// Writable references to the document's tracks (full capacity; only the
// first sampleCount elements belong to the waveform).
struct TrackRefs {
    double* analog = nullptr;
    std::array<std::uint8_t*, kDigitalChannels> digital{};
};

// What an editor is opened with.
template <class Settings>
struct EditRequest {
    TrackRefs tracks;
    std::uint32_t sampleCount = 0;  // N
    std::int64_t totalTime = 0;     // T, ns
    std::int64_t samplingTime = 0;  // Ts, ns
    std::int64_t start = 0;         // edit start: cursor index x Ts, ns
    // Digital editors: the channel to edit (0..7), already resolved from
    // AllChannels to the remembered channel. Analog editors: unused (-1).
    std::int32_t channel = -1;
    // Working copy of the remembered settings; stored back only on apply.
    Settings settings{};
    // Serial bit text / parallel word text (other editors: unused); stored
    // back only on apply.
    std::string text;
};

// What an applying editor reports: the edit start it finally used (it may
// have moved it onto the sampling grid) and the length of the edit.
struct EditOutcome {
    std::int64_t start = 0;   // ns
    std::int64_t period = 0;  // ns
};

// Sample range of an applied edit; end is not clipped to N.
struct EditRange {
    std::int64_t first = 0;
    std::int64_t end = 0;
    bool operator==(const EditRange&) const = default;
};

// One abstract editor per settings record. run() is modal: it returns true
// when the edit was applied (the tracks changed, request.settings and
// request.text hold the values to remember, outcome is filled), false when
// cancelled.
template <class Settings>
class Editor {
public:
    virtual ~Editor() = default;
    virtual bool run(EditRequest<Settings>& request, EditOutcome& outcome) = 0;
};

// The modification editor also changes the shift settings it shares with the
// per-channel shift command; both are stored back on apply.
struct ModifyEditorSettings {
    ModifySettings modify;
    ShiftSettings shift;
    bool operator==(const ModifyEditorSettings&) const = default;
};

using SineEditor = Editor<SineSettings>;
using RectangleEditor = Editor<RectangleSettings>;
using DcEditor = Editor<DcSettings>;
using RampEditor = Editor<RampSettings>;
using ExpEditor = Editor<ExpSettings>;
using NoiseEditor = Editor<NoiseSettings>;
using ManualEditor = Editor<ManualSettings>;
using ExternalEditor = Editor<ExternalSettings>;
using EquationEditor = Editor<EquationSettings>;
using ClockEditor = Editor<ClockSettings>;
using SerialEditor = Editor<SerialSettings>;
using ParallelEditor = Editor<ParallelSettings>;
using ModifyEditor = Editor<ModifyEditorSettings>;
using ShiftEditor = Editor<ShiftSettings>;
using SwapEditor = Editor<SwapSettings>;

// The bus-pattern editor's choices. Remembered by the document for the
// session only: waveform files keep the records they always had.
struct ProtocolSettings {
    int protocol = 0;  // 0 UART, 1 SPI, 2 I2C
    std::array<int, 3> channels{0, 1, 2};  // UART data; SPI clock, data, select; I2C SCL, SDA
    std::string rate = "9600";             // baud (UART) or clock rate in Hz
    int dataBits = 8;
    int parity = 0;  // none, even, odd, mark, space
    int stopBits = 1;
    int idle = 1;
    bool lsbFirst = true;
    std::string gap = "0", lead, lag;  // times in their unit; empty lead/lag = one clock period
    int gapUnit = 0, leadUnit = 1, lagUnit = 1;
    int spiMode = 0;
    bool msbFirst = true;
    int wordBits = 8;
    bool csActiveLow = true;
    std::string address = "0x50";
    bool read = false;
    bool repeatedStart = false;
    // The driven lines held at their idle level from the pattern's end to the
    // end of the waveform; false leaves those samples as they were.
    bool afterIdle = true;
    std::string hex;  // the bytes as hexadecimal text
    bool operator==(const ProtocolSettings&) const = default;
};
using ProtocolEditor = Editor<ProtocolSettings>;

}  // namespace lyr::document
