#pragma once
// Random identifiers of a waveform (revisionId, documentId), 0 ... 32767.
// The generator is seeded once per process from a nanosecond clock mixed with
// the system's entropy source, so documents made within the same second get
// different identifiers, and a draw never repeats the draw before it (a new
// revision always gets a new revisionId).
#include <cstdint>
#include <random>

namespace lyr::document {

constexpr std::uint32_t kMaxIdentifier = 32767;

class IdentifierSource {
public:
    IdentifierSource();                         // seeded from the clock and entropy
    explicit IdentifierSource(std::uint64_t seed);  // reproducible sequence
    // Next identifier, 0 ... 32767, never equal to the previous draw.
    std::uint32_t next();

private:
    std::mt19937_64 engine_;
    std::uint32_t last_ = 0;
    bool hasLast_ = false;
};

// Draws from the process-wide source.
std::uint32_t drawIdentifier();

}  // namespace lyr::document
