#include "document/settings_records.h"

#include <bit>
#include <cstring>
#include <type_traits>

namespace lyr::document {
namespace {

template <class T>
constexpr std::size_t fieldSize(ByteFieldWidth w) {
    if constexpr (sizeof(T) == 1) {
        return w == ByteFieldWidth::Natural ? 1 : 4;
    } else {
        return sizeof(T);
    }
}

// Writes fields one after another, least significant byte first.
struct Writer {
    std::uint8_t* p;
    ByteFieldWidth w;

    void put(std::uint64_t bits, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            *p++ = static_cast<std::uint8_t>(bits >> (8 * i));
        }
    }
    template <class T>
    void operator()(const char*, const T& value) {
        if constexpr (std::is_same_v<T, double>) {
            put(std::bit_cast<std::uint64_t>(value), 8);
        } else {
            // Zero-extends one-byte fields to a dword when widened.
            put(static_cast<std::uint64_t>(static_cast<std::make_unsigned_t<T>>(value)),
                fieldSize<T>(w));
        }
    }
};

struct Reader {
    const std::uint8_t* p;
    ByteFieldWidth w;

    std::uint64_t get(std::size_t n) {
        std::uint64_t bits = 0;
        for (std::size_t i = 0; i < n; ++i) {
            bits |= std::uint64_t{*p++} << (8 * i);
        }
        return bits;
    }
    template <class T>
    void operator()(const char*, T& value) {
        if constexpr (std::is_same_v<T, double>) {
            value = std::bit_cast<double>(get(8));
        } else {
            // A widened byte field takes only the low byte of its dword.
            using U = std::make_unsigned_t<T>;
            value = static_cast<T>(static_cast<U>(get(fieldSize<T>(w))));
        }
    }
};

struct Sizer {
    ByteFieldWidth w;
    std::size_t total = 0;
    template <class T>
    void operator()(const char*, const T&) {
        total += fieldSize<T>(w);
    }
};

}  // namespace

template <class Record>
std::size_t recordSize(ByteFieldWidth w) {
    Sizer s{w};
    Record r;
    Record::forEachField(r, s);
    return s.total;
}

template <class Record>
std::size_t encodeRecord(const Record& record, std::span<std::uint8_t> out, ByteFieldWidth w) {
    const std::size_t n = recordSize<Record>(w);
    if (out.size() < n) {
        return 0;
    }
    Record::forEachField(record, Writer{out.data(), w});
    return n;
}

template <class Record>
bool decodeRecord(std::span<const std::uint8_t> in, Record& record, ByteFieldWidth w) {
    if (in.size() < recordSize<Record>(w)) {
        return false;
    }
    Record::forEachField(record, Reader{in.data(), w});
    return true;
}

#define LYR_SETTINGS_RECORD(R)                                                               \
    template std::size_t recordSize<R>(ByteFieldWidth);                                      \
    template std::size_t encodeRecord<R>(const R&, std::span<std::uint8_t>, ByteFieldWidth); \
    template bool decodeRecord<R>(std::span<const std::uint8_t>, R&, ByteFieldWidth);
LYR_SETTINGS_RECORD(SineSettings)
LYR_SETTINGS_RECORD(RectangleSettings)
LYR_SETTINGS_RECORD(DcSettings)
LYR_SETTINGS_RECORD(RampSettings)
LYR_SETTINGS_RECORD(ExpSettings)
LYR_SETTINGS_RECORD(NoiseSettings)
LYR_SETTINGS_RECORD(ManualSettings)
LYR_SETTINGS_RECORD(ExternalSettings)
LYR_SETTINGS_RECORD(ClockSettings)
LYR_SETTINGS_RECORD(SerialSettings)
LYR_SETTINGS_RECORD(ParallelSettings)
LYR_SETTINGS_RECORD(ModifySettings)
LYR_SETTINGS_RECORD(ShiftSettings)
LYR_SETTINGS_RECORD(SwapSettings)
#undef LYR_SETTINGS_RECORD

std::size_t encodeEditorSettings(const EditorSettings& settings, std::span<std::uint8_t> out,
                                 ByteFieldWidth w) {
    const std::size_t total = editorSettingsSize(w);
    if (out.size() < total) {
        return 0;
    }
    std::size_t at = 0;
    EditorSettings::forEachRecord(settings, [&](const char*, const auto& record) {
        at += encodeRecord(record, out.subspan(at), w);
    });
    return at;
}

bool decodeEditorSettings(std::span<const std::uint8_t> in, EditorSettings& settings,
                          ByteFieldWidth w) {
    if (in.size() < editorSettingsSize(w)) {
        return false;
    }
    EditorSettings decoded;
    std::size_t at = 0;
    EditorSettings::forEachRecord(decoded, [&](const char*, auto& record) {
        decodeRecord(in.subspan(at), record, w);
        at += recordSize<std::remove_cvref_t<decltype(record)>>(w);
    });
    settings = decoded;
    return true;
}

}  // namespace lyr::document
