#pragma once
// The remembered parameters of the fourteen editors. The document keeps one
// record of each; an editor opens with its record and the document stores the
// editor's values back only when the edit is applied. The records travel in
// waveform files as one block, field by field, little-endian, in the order
// below (int64 times occupy two dwords; unit index -1 = no unit chosen yet).
//
// Every record lists its fields once, in stored order, through
// `forEachField(record, visitor)`: the visitor is called as
// visitor(const char* name, T& value) with T one of std::int64_t,
// std::int32_t, std::uint32_t, std::uint8_t, double (const-qualified for a
// const record). Serialisation, JSON output and tests all use that one list.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace lyr::document {

// Unit index of a time field whose unit has not been chosen yet.
constexpr std::int32_t kNoUnit = -1;

struct SineSettings {
    static constexpr const char* kName = "SineSettings";
    static constexpr std::size_t kByteSize = 68;
    std::int64_t period = 0;
    std::int32_t periodUnit = kNoUnit;
    std::int64_t sinePeriod = 0;
    std::int32_t sinePeriodUnit = kNoUnit;
    std::int64_t delay = 0;
    std::int32_t delayUnit = kNoUnit;
    double startPhase = 0.0;
    double amplitude = 0.0;
    double offset = 0.0;
    std::int32_t repeatCount = 1;
    std::int32_t phaseMode = 0;  // 0 delay entered, 1 start phase entered

    template <class Self, class V>
    static void forEachField(Self& s, V&& v) {
        v("period", s.period);
        v("periodUnit", s.periodUnit);
        v("sinePeriod", s.sinePeriod);
        v("sinePeriodUnit", s.sinePeriodUnit);
        v("delay", s.delay);
        v("delayUnit", s.delayUnit);
        v("startPhase", s.startPhase);
        v("amplitude", s.amplitude);
        v("offset", s.offset);
        v("repeatCount", s.repeatCount);
        v("phaseMode", s.phaseMode);
    }
    void resetToDefaults() { *this = SineSettings{}; }
    bool operator==(const SineSettings&) const = default;
};

struct RectangleSettings {
    static constexpr const char* kName = "RectangleSettings";
    static constexpr std::size_t kByteSize = 104;
    std::int64_t period = 0;
    std::int32_t periodUnit = kNoUnit;
    std::int64_t t0 = 0;  // position inside the cycle where the segment starts
    std::int32_t t0Unit = kNoUnit;
    std::int64_t t1 = 0;
    std::int32_t t1Unit = kNoUnit;
    std::int64_t t2 = 0;
    std::int32_t t2Unit = kNoUnit;
    std::int64_t t3 = 0;
    std::int32_t t3Unit = kNoUnit;
    std::int64_t t4 = 0;
    std::int32_t t4Unit = kNoUnit;
    double v0 = 0.0;
    double v1 = 0.0;
    double v2 = 0.0;
    std::int32_t repeatCount = 1;
    std::int32_t levelMode = 0;  // 0 t0 entered, 1 v0 entered

    template <class Self, class V>
    static void forEachField(Self& s, V&& v) {
        v("period", s.period);
        v("periodUnit", s.periodUnit);
        v("t0", s.t0);
        v("t0Unit", s.t0Unit);
        v("t1", s.t1);
        v("t1Unit", s.t1Unit);
        v("t2", s.t2);
        v("t2Unit", s.t2Unit);
        v("t3", s.t3);
        v("t3Unit", s.t3Unit);
        v("t4", s.t4);
        v("t4Unit", s.t4Unit);
        v("v0", s.v0);
        v("v1", s.v1);
        v("v2", s.v2);
        v("repeatCount", s.repeatCount);
        v("levelMode", s.levelMode);
    }
    void resetToDefaults() { *this = RectangleSettings{}; }
    bool operator==(const RectangleSettings&) const = default;
};

struct DcSettings {
    static constexpr const char* kName = "DcSettings";
    static constexpr std::size_t kByteSize = 20;
    std::int64_t period = 0;
    std::int32_t periodUnit = kNoUnit;
    double v0 = 0.0;

    template <class Self, class V>
    static void forEachField(Self& s, V&& v) {
        v("period", s.period);
        v("periodUnit", s.periodUnit);
        v("v0", s.v0);
    }
    void resetToDefaults() { *this = DcSettings{}; }
    bool operator==(const DcSettings&) const = default;
};

struct RampSettings {
    static constexpr const char* kName = "RampSettings";
    static constexpr std::size_t kByteSize = 28;
    std::int64_t period = 0;
    std::int32_t periodUnit = kNoUnit;
    double v0 = 0.0;
    double v1 = 0.0;

    template <class Self, class V>
    static void forEachField(Self& s, V&& v) {
        v("period", s.period);
        v("periodUnit", s.periodUnit);
        v("v0", s.v0);
        v("v1", s.v1);
    }
    void resetToDefaults() { *this = RampSettings{}; }
    bool operator==(const RampSettings&) const = default;
};

struct ExpSettings {
    static constexpr const char* kName = "ExpSettings";
    static constexpr std::size_t kByteSize = 40;
    std::int64_t period = 0;
    std::int32_t periodUnit = kNoUnit;
    std::int64_t timeConstant = 0;
    std::int32_t timeConstantUnit = kNoUnit;
    double v0 = 0.0;
    double v1 = 0.0;

    template <class Self, class V>
    static void forEachField(Self& s, V&& v) {
        v("period", s.period);
        v("periodUnit", s.periodUnit);
        v("timeConstant", s.timeConstant);
        v("timeConstantUnit", s.timeConstantUnit);
        v("v0", s.v0);
        v("v1", s.v1);
    }
    void resetToDefaults() { *this = ExpSettings{}; }
    bool operator==(const ExpSettings&) const = default;
};

struct NoiseSettings {
    static constexpr const char* kName = "NoiseSettings";
    static constexpr std::size_t kByteSize = 20;
    std::int64_t period = 0;
    std::int32_t periodUnit = kNoUnit;
    double sigma = 0.0;  // standard deviation in volts

    template <class Self, class V>
    static void forEachField(Self& s, V&& v) {
        v("period", s.period);
        v("periodUnit", s.periodUnit);
        v("sigma", s.sigma);
    }
    void resetToDefaults() { *this = NoiseSettings{}; }
    bool operator==(const NoiseSettings&) const = default;
};

// The four integer dwords come first in the stored block, so
// modifyOperation is stored before the four doubles.
struct ManualSettings {
    static constexpr const char* kName = "ManualSettings";
    static constexpr std::size_t kByteSize = 48;
    std::int64_t copyPeriod = 0;
    std::int32_t copyPeriodUnit = kNoUnit;
    std::int32_t modifyOperation = 0;
    double gainFactor = 1.0;
    double levelShift = 0.0;
    double upperLimit = 1.0;
    double lowerLimit = -1.0;

    template <class Self, class V>
    static void forEachField(Self& s, V&& v) {
        v("copyPeriod", s.copyPeriod);
        v("copyPeriodUnit", s.copyPeriodUnit);
        v("modifyOperation", s.modifyOperation);
        v("gainFactor", s.gainFactor);
        v("levelShift", s.levelShift);
        v("upperLimit", s.upperLimit);
        v("lowerLimit", s.lowerLimit);
    }
    void resetToDefaults() { *this = ManualSettings{}; }
    bool operator==(const ManualSettings&) const = default;
};

struct ExternalSettings {
    static constexpr const char* kName = "ExternalSettings";
    static constexpr std::size_t kByteSize = 32;
    std::int64_t sourceInterval = 0;
    std::int32_t sourceIntervalUnit = kNoUnit;
    double amplitudeFactor = 1.0;
    double conversionOffset = 0.0;
    std::int32_t interpolation = 0;  // 0 none, 1 linear

    template <class Self, class V>
    static void forEachField(Self& s, V&& v) {
        v("sourceInterval", s.sourceInterval);
        v("sourceIntervalUnit", s.sourceIntervalUnit);
        v("amplitudeFactor", s.amplitudeFactor);
        v("conversionOffset", s.conversionOffset);
        v("interpolation", s.interpolation);
    }
    void resetToDefaults() { *this = ExternalSettings{}; }
    bool operator==(const ExternalSettings&) const = default;
};

struct ClockSettings {
    static constexpr const char* kName = "ClockSettings";
    static constexpr std::size_t kByteSize = 34;
    std::int64_t t1 = 0;
    std::int64_t t2 = 0;
    std::int32_t unit1 = kNoUnit;
    std::int32_t unit2 = kNoUnit;
    std::uint8_t level1 = 1;
    std::uint8_t level2 = 0;
    std::uint32_t repeat = 1;
    std::int32_t channel = 0;

    template <class Self, class V>
    static void forEachField(Self& s, V&& v) {
        v("t1", s.t1);
        v("t2", s.t2);
        v("unit1", s.unit1);
        v("unit2", s.unit2);
        v("level1", s.level1);
        v("level2", s.level2);
        v("repeat", s.repeat);
        v("channel", s.channel);
    }
    void resetToDefaults() { *this = ClockSettings{}; }
    bool operator==(const ClockSettings&) const = default;
};

// The bit text typed into the serial editor is remembered by the document
// beside this record (CSYNDoc::bitText) and is never stored in files.
struct SerialSettings {
    static constexpr const char* kName = "SerialSettings";
    static constexpr std::size_t kByteSize = 20;
    std::int64_t bitTime = 0;
    std::int32_t bitTimeUnit = kNoUnit;
    std::int32_t channel = 0;
    std::int32_t source = 0;  // 0 direct input, 1 file

    template <class Self, class V>
    static void forEachField(Self& s, V&& v) {
        v("bitTime", s.bitTime);
        v("bitTimeUnit", s.bitTimeUnit);
        v("channel", s.channel);
        v("source", s.source);
    }
    void resetToDefaults() { *this = SerialSettings{}; }
    bool operator==(const SerialSettings&) const = default;
};

// The hexadecimal word text is remembered beside this record
// (CSYNDoc::wordText) and is never stored in files.
struct ParallelSettings {
    static constexpr const char* kName = "ParallelSettings";
    static constexpr std::size_t kByteSize = 21;
    std::int64_t interval = 0;
    std::int32_t intervalUnit = kNoUnit;
    std::int32_t bitOrder = 0;  // 0 BIT7:CH7-BIT0:CH0, 1 BIT7:CH0-BIT0:CH7
    std::uint8_t channelMask = 0xFF;  // bit k set: CHk receives the result
    std::int32_t source = 0;  // 0 direct input, 1 file

    template <class Self, class V>
    static void forEachField(Self& s, V&& v) {
        v("interval", s.interval);
        v("intervalUnit", s.intervalUnit);
        v("bitOrder", s.bitOrder);
        v("channelMask", s.channelMask);
        v("source", s.source);
    }
    void resetToDefaults() { *this = ParallelSettings{}; }
    bool operator==(const ParallelSettings&) const = default;
};

struct ModifySettings {
    static constexpr const char* kName = "ModifySettings";
    static constexpr std::size_t kByteSize = 20;
    std::int64_t copyPeriod = 0;
    std::int32_t copyPeriodUnit = kNoUnit;
    std::int32_t editChannel = 0;
    std::int32_t copyChannel = 0;

    template <class Self, class V>
    static void forEachField(Self& s, V&& v) {
        v("copyPeriod", s.copyPeriod);
        v("copyPeriodUnit", s.copyPeriodUnit);
        v("editChannel", s.editChannel);
        v("copyChannel", s.copyChannel);
    }
    void resetToDefaults() { *this = ModifySettings{}; }
    bool operator==(const ModifySettings&) const = default;
};

// Seven dwords in the stored block: the four used fields and three reserved
// dwords, kept (not interpreted) so that a file round-trips unchanged.
struct ShiftSettings {
    static constexpr const char* kName = "ShiftSettings";
    static constexpr std::size_t kByteSize = 28;
    std::int64_t shiftTime = 0;  // > 0 towards later samples, < 0 towards earlier
    std::int32_t shiftUnit = kNoUnit;
    std::int32_t shiftMethod = 0;  // 0 fill with 0, 1 fill with 1, 2 rotate
    std::int32_t reserved0 = 0;
    std::int32_t reserved1 = 0;
    std::int32_t reserved2 = 0;

    template <class Self, class V>
    static void forEachField(Self& s, V&& v) {
        v("shiftTime", s.shiftTime);
        v("shiftUnit", s.shiftUnit);
        v("shiftMethod", s.shiftMethod);
        v("reserved0", s.reserved0);
        v("reserved1", s.reserved1);
        v("reserved2", s.reserved2);
    }
    void resetToDefaults() { *this = ShiftSettings{}; }
    bool operator==(const ShiftSettings&) const = default;
};

// Five dwords in the stored block: the two channels and three reserved dwords.
struct SwapSettings {
    static constexpr const char* kName = "SwapSettings";
    static constexpr std::size_t kByteSize = 20;
    std::int32_t swapA = 0;
    std::int32_t swapB = 1;
    std::int32_t reserved0 = 0;
    std::int32_t reserved1 = 0;
    std::int32_t reserved2 = 0;

    template <class Self, class V>
    static void forEachField(Self& s, V&& v) {
        v("swapA", s.swapA);
        v("swapB", s.swapB);
        v("reserved0", s.reserved0);
        v("reserved1", s.reserved1);
        v("reserved2", s.reserved2);
    }
    void resetToDefaults() { *this = SwapSettings{}; }
    bool operator==(const SwapSettings&) const = default;
};

// All fourteen records in stored order.
struct EditorSettings {
    SineSettings sine;
    RectangleSettings rectangle;
    DcSettings dc;
    RampSettings ramp;
    ExpSettings exp;
    NoiseSettings noise;
    ManualSettings manual;
    ExternalSettings external;
    ClockSettings clock;
    SerialSettings serial;
    ParallelSettings parallel;
    ModifySettings modify;
    ShiftSettings shift;
    SwapSettings swap;

    // visitor(const char* recordName, Record& record) for each record in order.
    template <class Self, class V>
    static void forEachRecord(Self& s, V&& v) {
        v(SineSettings::kName, s.sine);
        v(RectangleSettings::kName, s.rectangle);
        v(DcSettings::kName, s.dc);
        v(RampSettings::kName, s.ramp);
        v(ExpSettings::kName, s.exp);
        v(NoiseSettings::kName, s.noise);
        v(ManualSettings::kName, s.manual);
        v(ExternalSettings::kName, s.external);
        v(ClockSettings::kName, s.clock);
        v(SerialSettings::kName, s.serial);
        v(ParallelSettings::kName, s.parallel);
        v(ModifySettings::kName, s.modify);
        v(ShiftSettings::kName, s.shift);
        v(SwapSettings::kName, s.swap);
    }
    void resetToDefaults() { *this = EditorSettings{}; }
    bool operator==(const EditorSettings&) const = default;
};

// The equation editor's record. It is no part of the stored block above:
// the document keeps it for the session and the settings file across
// sessions, so waveform files stay as they are.
struct EquationSettings {
    static constexpr std::size_t kHistorySize = 10;
    std::int64_t period = 0;
    std::int32_t periodUnit = kNoUnit;
    std::string expression;
    std::vector<std::string> history;  // newest first, at most kHistorySize, no repeats
    bool operator==(const EquationSettings&) const = default;
};

// How one-byte fields are stored. Natural: one byte each (the records take
// 503 bytes). Dword: widened to a zero-extended dword, as waveform files
// store them (512 bytes); on reading only the low byte is taken.
enum class ByteFieldWidth { Natural, Dword };

constexpr std::size_t kEditorSettingsNaturalSize = 503;
constexpr std::size_t kEditorSettingsDwordSize = 512;

constexpr std::size_t editorSettingsSize(ByteFieldWidth w) {
    return w == ByteFieldWidth::Natural ? kEditorSettingsNaturalSize : kEditorSettingsDwordSize;
}

// Size of one record in the given layout.
template <class Record>
std::size_t recordSize(ByteFieldWidth w);

// Writes all fourteen records field by field, little-endian, into out.
// Returns the number of bytes written (editorSettingsSize(w)), or 0 when out
// is too small (nothing is written then).
std::size_t encodeEditorSettings(const EditorSettings& settings, std::span<std::uint8_t> out,
                                 ByteFieldWidth w);

// Reads all fourteen records from in. Returns false, leaving settings
// unchanged, when in is shorter than editorSettingsSize(w).
bool decodeEditorSettings(std::span<const std::uint8_t> in, EditorSettings& settings,
                          ByteFieldWidth w);

// One record on its own (same rules). Defined for the fourteen record types.
template <class Record>
std::size_t encodeRecord(const Record& record, std::span<std::uint8_t> out, ByteFieldWidth w);
template <class Record>
bool decodeRecord(std::span<const std::uint8_t> in, Record& record, ByteFieldWidth w);

}  // namespace lyr::document
