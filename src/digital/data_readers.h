#pragma once
// Bits and words taken from files for the serial and parallel editors:
//
//   LoadedEntries bits;                 // allocated when the dialog opens
//   auto r = loadSerialFile(path, bits, &progressBar);
//   if (!r.message.empty()) prompter.tell(r.message);   // error, or the over-limit warning
//   if (r.loaded) ...bits.data(), bits.count()...        // else the previous bits stay
//
// The text readers stream the file once through readBlocks; a load that does
// not succeed leaves the entries of the previous load and their count as they
// were.
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "document/block_reader.h"

namespace lyr::digital {

// Entries loaded from a file (bits 0/1 or 8-bit words), one byte each. Two
// buffers: a load fills the spare one and only a successful load swaps them.
class LoadedEntries {
public:
    static constexpr std::size_t kCapacity = document::kMaxReadEntries;
    // Both buffers at full capacity; false when memory is short.
    bool allocate();
    const std::uint8_t* data() const { return current_.get(); }
    std::size_t count() const { return count_; }

    // The buffer a load writes into, and the swap after a load that succeeded.
    std::uint8_t* spare() { return spare_.get(); }
    void adopt(std::size_t count);

private:
    std::unique_ptr<std::uint8_t[]> current_, spare_;
    std::size_t count_ = 0;
};

// "0"/"1" as bits; tab, line feed, carriage return, space, "," and ";" skipped.
class BitReader : public document::BlockSink {
public:
    BitReader(std::uint8_t* out, std::size_t capacity) : out_(out), capacity_(capacity) {}
    Verdict consume(std::string_view block, std::size_t& used) override;
    Verdict finish() override { return Verdict::More; }
    std::size_t count() const { return count_; }

private:
    std::uint8_t* out_;
    std::size_t capacity_;
    std::size_t count_ = 0;
};

// Two hexadecimal digits a word, high nibble first; the separators of the bit
// reader are skipped anywhere, also between the two digits of a word. A digit
// left alone at the end is the high nibble of a last word.
class HexWordReader : public document::BlockSink {
public:
    HexWordReader(std::uint8_t* out, std::size_t capacity) : out_(out), capacity_(capacity) {}
    Verdict consume(std::string_view block, std::size_t& used) override;
    Verdict finish() override;
    std::size_t count() const { return count_; }

private:
    std::uint8_t* out_;
    std::size_t capacity_;
    std::size_t count_ = 0;
    std::uint8_t high_ = 0;
    std::uint8_t pending_ = 0;  // 1 while a high nibble waits for its low one
    std::array<std::uint8_t, 4096> nibbles_{};
};

// The source choice of an editor whose entries are typed in ("直接入力") or
// read from a file ("ファイル"); a dialog's source rows drive it.
class EntrySource {
public:
    static constexpr int kDirect = 0, kFile = 1;
    virtual ~EntrySource() = default;
    virtual int source() const = 0;
    virtual void setSource(int source) = 0;
    virtual bool browseEnabled() const = 0;
    // The file in the path field ("" when none or after a failure).
    virtual const std::string& path() const = 0;
    // Reads a chosen or dropped file (whatever the source) and tells its
    // message; false when nothing was loaded. read() runs when the reading
    // is over, before any message (the dialog ends its busy cursor there).
    virtual bool loadFile(const std::string& path, document::ReadProgress* progress,
                          const std::function<void()>& read) = 0;
    // The form's field that holds the typed text.
    virtual std::size_t textField() const = 0;
};

struct LoadResult {
    bool loaded = false;    // the entries were replaced (also after the over-limit warning)
    bool ignored = false;   // a parallel path too short to name a file: nothing happened
    std::string message;    // to show: the error, or the over-limit warning; empty otherwise
    // A waveform file as the parallel source: its sampling time becomes the interval.
    std::optional<std::int64_t> interval;
};

inline constexpr const char* kWaveformReadMemory = "外部波形読込みのためのメモリが確保できませんでした";

// A bit file into bits.
LoadResult loadSerialFile(const std::string& path, LoadedEntries& bits, document::ReadProgress* progress);

// How the parallel editor reads a path: four characters or fewer name no
// file (ignored); one ending in "lyr" (any case) is a waveform file whose
// word i is sample i's channels (bit k = CHk); "npy" a NumPy uint8 array of
// words; "vcd" a value change dump sampled every interval; any other a
// hexadecimal text.
enum class WordFileKind { Ignored, Hexadecimal, Waveform, NumPy, ValueChangeDump };
WordFileKind wordFileKind(const std::string& path);

// A word file into words, read as wordFileKind says. interval (ns) samples a
// value change dump; one that is not positive refuses the dump with the
// parameter message (loadParallelFile has none).
LoadResult loadParallelSource(const std::string& path, LoadedEntries& words, document::ReadProgress* progress,
                              std::int64_t interval);
LoadResult loadParallelFile(const std::string& path, LoadedEntries& words, document::ReadProgress* progress);

}  // namespace lyr::digital
