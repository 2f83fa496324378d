#pragma once
// The numbers a waveform file stores first: the time base, the unit field,
// the two identifiers and the modification count. The document's file record
// and the file layer's decoded header both carry them, in this order.
#include <cstdint>

namespace lyr::document {

struct TimeBaseIdentity {
    std::uint64_t totalTime = 0;
    std::uint32_t samplingUnits = 0;
    std::uint32_t sampleCount = 0;
    std::uint32_t timeUnitNs = 10;
    std::uint32_t timeUnitReserved = 0;
    std::uint32_t revisionId = 0;
    std::uint32_t documentId = 0;
    std::int32_t modificationCount = 0;
    bool operator==(const TimeBaseIdentity&) const = default;
};

}  // namespace lyr::document
