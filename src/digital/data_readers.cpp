#include "digital/data_readers.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#include "digital/digital_edit_frame.h"
#include "document/syn_doc.h"
#include "document/waveform_file_raw.h"
#include "interchange/npy.h"
#include "interchange/vcd.h"

namespace lyr::digital {

namespace doc = lyr::document;
using Verdict = doc::BlockSink::Verdict;

namespace {

// Byte classes. Bits: bit 1 marks an entry whose value is bit 0. Words: bit 4
// marks a digit whose value is bits 0..3. Both: bit 5 marks a refused byte;
// the separators are 0.
constexpr std::uint8_t kEntry = 0x02, kDigit = 0x10, kRefused = 0x20;

constexpr bool isSeparator(int c) {
    return c == '\t' || c == '\n' || c == '\r' || c == ' ' || c == ',' || c == ';';
}

constexpr std::array<std::uint8_t, 256> bitClasses() {
    std::array<std::uint8_t, 256> t{};
    for (int c = 0; c < 256; ++c) {
        if (c == '0' || c == '1') t[c] = std::uint8_t(kEntry | (c - '0'));
        else if (!isSeparator(c)) t[c] = kRefused;
    }
    return t;
}

constexpr std::array<std::uint8_t, 256> hexClasses() {
    std::array<std::uint8_t, 256> t{};
    for (int c = 0; c < 256; ++c) {
        if (c >= '0' && c <= '9') t[c] = std::uint8_t(kDigit | (c - '0'));
        else if (c >= 'A' && c <= 'F') t[c] = std::uint8_t(kDigit | (c - 'A' + 10));
        else if (c >= 'a' && c <= 'f') t[c] = std::uint8_t(kDigit | (c - 'a' + 10));
        else if (!isSeparator(c)) t[c] = kRefused;
    }
    return t;
}

constexpr auto kBitClass = bitClasses();
constexpr auto kHexClass = hexClasses();

const std::uint8_t* bytes(std::string_view s) { return reinterpret_cast<const std::uint8_t*>(s.data()); }

}  // namespace

bool LoadedEntries::allocate() {
    current_.reset(new (std::nothrow) std::uint8_t[kCapacity]);
    spare_.reset(new (std::nothrow) std::uint8_t[kCapacity]);
    count_ = 0;
    return current_ && spare_;
}

void LoadedEntries::adopt(std::size_t count) {
    std::swap(current_, spare_);
    count_ = count;
}

namespace {

// Both readers' walk over a block. While more than one entry fits, `bulk`
// takes a chunk of the bytes left (it chooses how many from the room) without
// branching on the data and returns how many it took, or kRefusedChunk; the
// last entries before the limit go byte by byte through `single` (false on a
// refused byte), so that the reading stops right after the entry that fills
// the buffer.
constexpr std::size_t kRefusedChunk = static_cast<std::size_t>(-1);

template <class Bulk, class Single>
Verdict walkBlock(std::string_view block, std::size_t& used, std::size_t capacity, const std::size_t& count,
                  Bulk bulk, Single single) {
    const std::uint8_t* p = bytes(block);
    const std::size_t n = block.size();
    std::size_t i = 0;
    while (i < n) {
        const std::size_t room = capacity - count;
        if (room > 1) {
            const std::size_t taken = bulk(p + i, n - i, room);
            if (taken == kRefusedChunk) return Verdict::Invalid;
            i += taken;
            continue;
        }
        if (room == 0) {
            used = i;
            return Verdict::Full;
        }
        if (!single(p[i++])) return Verdict::Invalid;
    }
    used = n;
    return count == capacity ? Verdict::Full : Verdict::More;
}

}  // namespace

// Every byte of a chunk stores its value at the next free place and only an
// entry moves that place on; a chunk is short enough that it cannot fill the
// buffer.
Verdict BitReader::consume(std::string_view block, std::size_t& used) {
    auto bulk = [this](const std::uint8_t* p, std::size_t left, std::size_t room) {
        const std::size_t chunk = std::min(left, room - 1);
        std::uint8_t* out = out_ + count_;
        std::size_t c = 0;
        std::uint8_t seen = 0;
        for (std::size_t j = 0; j < chunk; ++j) {
            const std::uint8_t v = kBitClass[p[j]];
            out[c] = v & 1;
            c += (v >> 1) & 1;
            seen |= v;
        }
        if (seen & kRefused) return kRefusedChunk;
        count_ += c;
        return chunk;
    };
    auto single = [this](std::uint8_t byte) {
        const std::uint8_t v = kBitClass[byte];
        if (v & kRefused) return false;
        if (v & kEntry) out_[count_++] = v & 1;
        return true;
    };
    return walkBlock(block, used, capacity_, count_, bulk, single);
}

// Digits are first gathered as nibbles without branches (as the bits are),
// then paired into words; a nibble left over waits for the next chunk.
Verdict HexWordReader::consume(std::string_view block, std::size_t& used) {
    auto bulk = [this](const std::uint8_t* p, std::size_t left, std::size_t room) {
        // At most (chunk + 1) / 2 words complete in a chunk, fewer than room.
        const std::size_t chunk = std::min({left, 2 * (room - 1), nibbles_.size() - 1});
        std::uint8_t* nib = nibbles_.data();
        std::size_t c = pending_;
        nib[0] = high_;
        unsigned seen = 0;
        for (std::size_t j = 0; j < chunk; ++j) {
            const unsigned v = kHexClass[p[j]];
            nib[c] = std::uint8_t(v & 15);
            c += (v >> 4) & 1;
            seen |= v;
        }
        if (seen & kRefused) return kRefusedChunk;
        std::uint8_t* out = out_ + count_;
        const std::size_t words = c / 2;
        for (std::size_t w = 0; w < words; ++w) out[w] = std::uint8_t((nib[2 * w] << 4) | nib[2 * w + 1]);
        count_ += words;
        pending_ = std::uint8_t(c & 1);
        if (pending_) high_ = nib[c - 1];
        return chunk;
    };
    auto single = [this](std::uint8_t byte) {
        const std::uint8_t v = kHexClass[byte];
        if (v & kRefused) return false;
        if (!(v & kDigit)) return true;
        if (pending_) {
            out_[count_++] = std::uint8_t((high_ << 4) | (v & 15));
            pending_ = 0;
        } else {
            high_ = v & 15;
            pending_ = 1;
        }
        return true;
    };
    return walkBlock(block, used, capacity_, count_, bulk, single);
}

Verdict HexWordReader::finish() {
    if (pending_ && count_ < capacity_) {
        out_[count_++] = std::uint8_t(high_ << 4);
        pending_ = 0;
    }
    return count_ == capacity_ ? Verdict::Full : Verdict::More;
}

namespace {

LoadResult adoptRead(doc::ReadStatus status, std::size_t count, LoadedEntries& entries) {
    LoadResult r;
    r.message = doc::readStatusMessage(status);
    r.loaded = doc::readSucceeded(status);
    if (r.loaded) entries.adopt(count);
    return r;
}

template <class Reader>
LoadResult loadText(const std::string& path, LoadedEntries& entries, doc::ReadProgress* progress) {
    Reader reader(entries.spare(), LoadedEntries::kCapacity);
    const doc::ReadStatus status = doc::readBlocks(path, reader, progress);
    return adoptRead(status, reader.count(), entries);
}

std::size_t characterCount(const std::string& s) {
    return static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

std::string lastThreeLower(const std::string& path) {
    if (path.size() < 3) return std::string();
    std::string tail = path.substr(path.size() - 3);
    for (char& c : tail)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return tail;
}

LoadResult loadWaveformWords(const std::string& path, LoadedEntries& words) {
    LoadResult r;
    doc::wavefile::WaveformFileContents contents;
    try {
        // Reserved up front so that a shortage is this editor's own message.
        contents.analog.resize(doc::wavefile::kMaxFileSamples);
        contents.digital.resize(doc::wavefile::kMaxFileSamples);
    } catch (const std::bad_alloc&) {
        r.message = kWaveformReadMemory;
        return r;
    }
    const auto read = doc::wavefile::readWaveformFile(path, doc::wavefile::kFormatVersion, contents);
    if (!read.ok) {
        r.message = read.message;
        return r;
    }
    const std::size_t n = std::min<std::size_t>(contents.header.sampleCount, LoadedEntries::kCapacity);
    std::memcpy(words.spare(), contents.digital.data(), n);
    words.adopt(n);
    r.loaded = true;
    r.interval = std::int64_t{contents.header.samplingUnits} * doc::kTimeUnitNs;
    return r;
}

}  // namespace

LoadResult loadSerialFile(const std::string& path, LoadedEntries& bits, doc::ReadProgress* progress) {
    return loadText<BitReader>(path, bits, progress);
}

WordFileKind wordFileKind(const std::string& path) {
    if (characterCount(path) <= 4) return WordFileKind::Ignored;
    const std::string tail = lastThreeLower(path);
    if (tail == "lyr") return WordFileKind::Waveform;
    if (tail == "npy") return WordFileKind::NumPy;
    if (tail == "vcd") return WordFileKind::ValueChangeDump;
    return WordFileKind::Hexadecimal;
}

LoadResult loadParallelSource(const std::string& path, LoadedEntries& words, doc::ReadProgress* progress,
                              std::int64_t interval) {
    std::size_t count = 0;
    switch (wordFileKind(path)) {
    case WordFileKind::Ignored: {
        LoadResult r;
        r.ignored = true;
        return r;
    }
    case WordFileKind::Waveform: return loadWaveformWords(path, words);
    case WordFileKind::NumPy: {
        const auto status = interchange::readNpyWords(path, words.spare(), LoadedEntries::kCapacity, count, progress);
        return adoptRead(status, count, words);
    }
    case WordFileKind::ValueChangeDump: {
        // The dump is sampled on the interval's grid, so it needs one.
        if (interval <= 0) {
            LoadResult r;
            r.message = kInvalidParameters;
            return r;
        }
        const auto status =
            interchange::readVcdWords(path, interval, words.spare(), LoadedEntries::kCapacity, count, progress);
        return adoptRead(status, count, words);
    }
    case WordFileKind::Hexadecimal: break;
    }
    return loadText<HexWordReader>(path, words, progress);
}

LoadResult loadParallelFile(const std::string& path, LoadedEntries& words, doc::ReadProgress* progress) {
    return loadParallelSource(path, words, progress, 0);
}

}  // namespace lyr::digital
