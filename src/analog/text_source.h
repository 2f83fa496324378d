#pragma once
// The number reader of the external data editor: a flat sequence of decimal
// numbers separated by TAB, LF, CR, space, "," or ";" (rows and columns carry
// no meaning). Tokens use digits, "+", "-", ".", and "e", "E", "d" or "D" to
// introduce the exponent; any other byte refuses the file. Conversion is
// exact and independent of the process locale.
#include <cstdint>
#include <string>
#include <string_view>

#include "document/block_reader.h"

namespace lyr::analog {

// Converts one whole token as the C conversion would: an optional sign,
// digits with an optional point, an optional exponent ("d"/"D" as "e").
// False when the token does not convert whole or overflows to infinity; an
// underflow gives 0 (with the token's sign) or a denormal.
bool convertNumberToken(std::string_view token, double& value);

// Streams the blocks of a file into values (room for
// document::kMaxReadEntries). The first invalid byte or token refuses the
// file; at the limit the sink reports Full.
class NumberSink : public document::BlockSink {
public:
    explicit NumberSink(double* values) : values_(values) {}
    Verdict consume(std::string_view block, std::size_t& used) override;
    // Large blocks parsed in two threads, split at a separator.
    void setTwoThreads(bool on) { parallel_ = on; }
    Verdict finish() override;
    std::uint32_t count() const { return count_; }

private:
    // Stores a complete token; Full when that reached the limit.
    Verdict store(std::string_view token);
    Verdict consumeRun(std::string_view block, std::size_t& used);

    double* values_;
    std::uint32_t count_ = 0;
    std::string pending_;  // a token cut by the end of a block
    bool parallel_ = false;
};

// Reads a text source into values: the status (Ok, OverLimit with the first
// 1,048,576 values kept, or a failure with its message) and the count read.
// Whole blocks of 256 KiB and more are parsed in two threads.
document::ReadStatus parseTextSource(const std::string& path, double* values, std::uint32_t& count,
                                     document::ReadProgress* progress = nullptr, bool twoThreads = true);

}  // namespace lyr::analog
