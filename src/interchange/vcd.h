#pragma once
// Value change dump text: the reader that samples eight 1-bit wires into
// words for the parallel editor, streamed like the text readers.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "document/block_reader.h"

namespace lyr::interchange {

// The largest of 1, 10 and 100 times s, ms, us and ns that divides ts (ns):
// its length in ns and its text ("10ns").
struct VcdTimescale {
    std::int64_t ns = 1;
    std::string text;
};
VcdTimescale vcdTimescaleFor(std::int64_t ts);

// Samples the dump every interval from time 0 up to its last time: word i
// holds the wires' values at i x interval (bit k = channel k), a change at
// that very time included. The channels are the wires named CH0 ... CH7 or,
// when none is, the first eight 1-bit wires in their order; x and z read as 0.
class VcdSink : public document::BlockSink {
public:
    VcdSink(std::uint8_t* words, std::size_t capacity, std::int64_t intervalNs);
    Verdict consume(std::string_view block, std::size_t& used) override;
    Verdict finish() override;
    std::size_t count() const { return count_; }
    // Instants past the capacity were left out.
    bool overflowed() const { return overflowed_; }

private:
    enum class Section { None, Timescale, Var, Skip, Definitions };
    bool token(std::string_view t);
    bool headerToken(std::string_view t);
    bool bodyToken(std::string_view t);
    bool endDefinitions();
    bool advanceTo(unsigned __int128 fs);
    void setValue(std::string_view id, bool high);

    std::uint8_t* words_;
    std::size_t capacity_;
    std::int64_t intervalNs_;
    std::size_t count_ = 0;
    bool overflowed_ = false;

    bool inBody_ = false;
    Section section_ = Section::None;
    std::vector<std::string> sectionTokens_;
    std::string timescaleText_;
    unsigned __int128 unitFs_ = 0;  // one time step of the dump in femtoseconds
    struct Var {
        std::string id, name;
        int width = 0;
    };
    std::vector<Var> vars_;
    std::array<std::uint8_t, 128> shortIds_{};  // one-character codes -> channel bits
    std::unordered_map<std::string, std::uint8_t> longIds_;
    std::uint8_t word_ = 0;
    bool timeSeen_ = false;
    unsigned __int128 now_ = 0;
    // The identifier a "b..." or "r..." value waits for; 'b' or 'r' while it waits.
    char waiting_ = 0;
    bool waitingHigh_ = false;
    std::string pending_;  // a token cut by the end of a block
};

// Reads a dump into words sampled every interval (ns > 0).
document::ReadStatus readVcdWords(const std::string& path, std::int64_t intervalNs, std::uint8_t* words,
                                  std::size_t capacity, std::size_t& count,
                                  document::ReadProgress* progress = nullptr);

}  // namespace lyr::interchange
