#pragma once
// WAV files through libsndfile: the export's mono writer and the external
// data editor's reader.
#include <cstdint>
#include <string>

#include "document/block_reader.h"
#include "interchange/export.h"

namespace lyr::interchange {

namespace detail {
class Output;
}

struct WavWriteResult {
    bool ok = false;
    std::int64_t rateHz = 0;
    bool rateRounded = false;
    std::uint64_t clipped = 0;
};
// 1/Ts in whole Hz (rounded to the nearest); rounded tells whether it had to be.
std::int64_t wavRateFor(std::int64_t samplingTimeNs, bool& rounded);
// Mono at 1/Ts: 32-bit floats equal to the volts, or 16-bit PCM with +-1 V at
// full scale (beyond it clipped and counted).
WavWriteResult writeWav(const Samples& samples, WavSamples kind, detail::Output& out);

struct WavReadResult {
    document::ReadStatus status = document::ReadStatus::OpenError;
    std::uint32_t count = 0;  // values read into the buffer
    std::int64_t rateHz = 0;
    std::int64_t intervalNs = 0;  // 1/rate rounded to whole ns
    bool intervalRounded = false;
};
// The first channel of a WAV file into values (room for
// document::kMaxReadEntries): float samples as they are (volts), PCM with full
// scale at 1. A file libsndfile does not take is invalid data; over the limit
// the first values are kept. progress hears every whole percent of the frames.
WavReadResult readWav(const std::string& path, double* values, document::ReadProgress* progress = nullptr);

}  // namespace lyr::interchange
