#pragma once
// The writers' shared path to the disk: a buffer of about 1 MiB handed to the
// replacing writer whenever it fills, and the progress by whole percent.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "document/block_reader.h"
#include "document/waveform_file_io.h"

namespace lyr::interchange::detail {

class Output {
public:
    static constexpr std::size_t kFlushBytes = 1 << 20;
    static constexpr std::size_t kCapacity = kFlushBytes + 65536;
    Output(document::wavefile::ReplacingFile& file, document::ReadProgress* progress, std::uint64_t total);

    // Room for at most n more bytes (n up to 64 KiB); then advance() by the bytes used.
    char* room(std::size_t n) {
        if (used_ + n > kCapacity) flush();
        return buffer_.get() + used_;
    }
    void advance(std::size_t n) { used_ += n; }
    void append(std::string_view s);
    // Samples done out of the total: moves the progress at each whole percent.
    void done(std::uint64_t samples) {
        if (progress_ && samples >= next_) step(samples);
    }
    // Writes what is buffered; false once any write failed.
    bool flush();
    bool failed() const { return failed_; }

private:
    void step(std::uint64_t samples);

    document::wavefile::ReplacingFile& file_;
    document::ReadProgress* progress_;
    std::uint64_t total_;
    std::uint64_t next_ = 0;  // the sample count at which the next percent is reached
    int shown_ = 0;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    bool failed_ = false;
};

}  // namespace lyr::interchange::detail
