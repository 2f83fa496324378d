#include "interchange/wav.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "interchange/output.h"

namespace lyr::interchange {

namespace doc = lyr::document;

std::int64_t wavRateFor(std::int64_t samplingTimeNs, bool& rounded) {
    rounded = samplingTimeNs <= 0 || 1'000'000'000 % samplingTimeNs != 0;
    if (samplingTimeNs <= 0) return 0;
    return (2'000'000'000 / samplingTimeNs + 1) / 2;
}

namespace {

// libsndfile writes into memory through these calls: it goes back to the
// header when it closes, which a file written front to back cannot do.
struct MemoryFile {
    std::vector<char> bytes;
    sf_count_t pos = 0;
};

sf_count_t memLength(void* user) { return static_cast<sf_count_t>(static_cast<MemoryFile*>(user)->bytes.size()); }
sf_count_t memSeek(sf_count_t offset, int whence, void* user) {
    auto* m = static_cast<MemoryFile*>(user);
    const sf_count_t base = whence == SEEK_CUR ? m->pos : whence == SEEK_END ? memLength(user) : 0;
    if (base + offset < 0) return -1;
    return m->pos = base + offset;
}
sf_count_t memRead(void* ptr, sf_count_t count, void* user) {
    auto* m = static_cast<MemoryFile*>(user);
    const sf_count_t n = std::max<sf_count_t>(0, std::min(count, memLength(user) - m->pos));
    std::memcpy(ptr, m->bytes.data() + m->pos, static_cast<std::size_t>(n));
    m->pos += n;
    return n;
}
sf_count_t memWrite(const void* ptr, sf_count_t count, void* user) {
    auto* m = static_cast<MemoryFile*>(user);
    const auto end = static_cast<std::size_t>(m->pos + count);
    if (end > m->bytes.size()) m->bytes.resize(end);
    std::memcpy(m->bytes.data() + m->pos, ptr, static_cast<std::size_t>(count));
    m->pos += count;
    return count;
}
sf_count_t memTell(void* user) { return static_cast<MemoryFile*>(user)->pos; }

struct SndCloser {
    void operator()(SNDFILE* f) const { sf_close(f); }
};
using SndFile = std::unique_ptr<SNDFILE, SndCloser>;

}  // namespace

WavWriteResult writeWav(const Samples& s, WavSamples kind, detail::Output& out) {
    WavWriteResult r;
    r.rateHz = wavRateFor(s.samplingTime, r.rateRounded);
    if (r.rateHz <= 0 || r.rateHz > 0x7FFFFFFF) return r;
    MemoryFile mem;
    mem.bytes.reserve(static_cast<std::size_t>(s.count) * (kind == WavSamples::Pcm16 ? 2 : 4) + 128);
    SF_VIRTUAL_IO io{memLength, memSeek, memRead, memWrite, memTell};
    SF_INFO info{};
    info.samplerate = static_cast<int>(r.rateHz);
    info.channels = 1;
    info.format = SF_FORMAT_WAV | (kind == WavSamples::Pcm16 ? SF_FORMAT_PCM_16 : SF_FORMAT_FLOAT);
    {
        SndFile f(sf_open_virtual(&io, SFM_WRITE, &info, &mem));
        if (!f) return r;
        constexpr std::uint32_t kChunk = 1024;
        std::vector<float> floats(kind == WavSamples::Float32 ? kChunk : 0);
        std::vector<short> shorts(kind == WavSamples::Pcm16 ? kChunk : 0);
        for (std::uint32_t i = 0; i < s.count; i += kChunk) {
            const std::uint32_t n = std::min(kChunk, s.count - i);
            sf_count_t written = 0;
            if (kind == WavSamples::Float32) {
                for (std::uint32_t j = 0; j < n; ++j) floats[j] = static_cast<float>(s.analog[i + j]);
                written = sf_writef_float(f.get(), floats.data(), n);
            } else {
                for (std::uint32_t j = 0; j < n; ++j) {
                    double v = s.analog[i + j];
                    if (v > 1.0 || v < -1.0) {
                        ++r.clipped;
                        v = v > 1.0 ? 1.0 : -1.0;
                    }
                    shorts[j] = static_cast<short>(std::lrint(v * 32767.0));
                }
                written = sf_writef_short(f.get(), shorts.data(), n);
            }
            if (written != n) return r;
            out.done(i + n);
        }
        if (sf_error(f.get()) != SF_ERR_NO_ERROR) return r;
    }
    out.append(std::string_view(mem.bytes.data(), mem.bytes.size()));
    r.ok = true;
    return r;
}

WavReadResult readWav(const std::string& path, double* values, doc::ReadProgress* progress) {
    WavReadResult r;
    {
        // A file that cannot be opened at all is told apart from one libsndfile refuses.
        std::FILE* probe = std::fopen(path.c_str(), "rb");
        if (!probe) return r;
        std::fclose(probe);
    }
    SF_INFO info{};
    SndFile f(sf_open(path.c_str(), SFM_READ, &info));
    if (!f || info.channels < 1 || info.samplerate <= 0 || info.frames < 0) {
        r.status = doc::ReadStatus::InvalidData;
        return r;
    }
    r.rateHz = info.samplerate;
    r.intervalNs = (2'000'000'000 / info.samplerate + 1) / 2;
    r.intervalRounded = 1'000'000'000 % info.samplerate != 0;
    // PCM scaled to +-1; float samples read as they are.
    sf_command(f.get(), SFC_SET_NORM_DOUBLE, nullptr, SF_TRUE);
    const auto frames = static_cast<std::uint64_t>(info.frames);
    const std::uint64_t wanted = std::min<std::uint64_t>(frames, doc::kMaxReadEntries);
    constexpr std::uint64_t kChunk = 16384;
    std::vector<double> chunk(kChunk * static_cast<std::size_t>(info.channels));
    if (progress) progress->setPercent(0);
    int shown = 0;
    std::uint64_t done = 0;
    while (done < wanted) {
        const auto n = static_cast<sf_count_t>(std::min(kChunk, wanted - done));
        const sf_count_t got = sf_readf_double(f.get(), chunk.data(), n);
        if (got != n) {
            r.status = doc::ReadStatus::ReadError;
            return r;
        }
        for (sf_count_t j = 0; j < got; ++j) {
            const double v = chunk[static_cast<std::size_t>(j) * static_cast<std::size_t>(info.channels)];
            if (!std::isfinite(v)) {
                r.status = doc::ReadStatus::InvalidData;
                return r;
            }
            values[done + static_cast<std::uint64_t>(j)] = v;
        }
        done += static_cast<std::uint64_t>(got);
        if (progress && frames > 0) {
            const int percent = static_cast<int>(std::min<std::uint64_t>(100, done * 100 / frames));
            if (percent > shown) progress->setPercent(shown = percent);
        }
    }
    if (progress && shown < 100) progress->setPercent(100);
    r.count = static_cast<std::uint32_t>(done);
    r.status = frames > wanted ? doc::ReadStatus::OverLimit : doc::ReadStatus::Ok;
    return r;
}

}  // namespace lyr::interchange
