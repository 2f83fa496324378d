#include "document/identifiers.h"

#include <chrono>

namespace lyr::document {

namespace {
std::uint64_t clockSeed() {
    // Nanosecond clock mixed with the entropy source: two documents made in
    // the same second, or two processes started together, still differ.
    const auto ns = static_cast<std::uint64_t>(
        std::chrono::high_resolution_clock::now().time_since_epoch().count());
    std::random_device entropy;
    return ns ^ (std::uint64_t{entropy()} << 32) ^ entropy();
}
}  // namespace

IdentifierSource::IdentifierSource() : engine_(clockSeed()) {}

IdentifierSource::IdentifierSource(std::uint64_t seed) : engine_(seed) {}

std::uint32_t IdentifierSource::next() {
    std::uniform_int_distribution<std::uint32_t> pick(0, kMaxIdentifier);
    std::uint32_t value = pick(engine_);
    while (hasLast_ && value == last_) {
        value = pick(engine_);
    }
    last_ = value;
    hasLast_ = true;
    return value;
}

std::uint32_t drawIdentifier() {
    static IdentifierSource source;
    return source.next();
}

}  // namespace lyr::document
