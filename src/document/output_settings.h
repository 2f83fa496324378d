#pragma once
// The eleven output settings the document keeps for the device.
#include <cstdint>

namespace lyr::document {

struct OutputSettings {
    std::uint8_t startControl = 0;     // 0 PC, 1 button on the unit, 2 external trigger
    std::uint8_t outputMode = 0;       // 0 continuous, 1 repeat
    std::uint8_t analogStop = 0;       // 0 0 V, 1 first sample
    std::uint8_t digitalStop = 0;      // 0 Hi-Z, 1 first sample
    std::uint8_t triggerMode = 0;      // 0 level, 1 edge
    std::uint8_t triggerPolarity = 0;  // 0 positive, 1 negative
    std::uint8_t syncPolarity = 0;     // 0 positive, 1 negative
    std::uint8_t syncPulseWidth = 0;   // 0 10 uS, 1 100 nS
    std::int32_t repeatCount = 1;
    std::uint8_t retrigger = 0;        // 0 disabled, 1 enabled
    std::uint8_t analogResolution = 12;  // R, 8 ... 14

    // Fields 1..10; R is compared on its own.
    bool sameExceptResolution(const OutputSettings& o) const {
        return startControl == o.startControl && outputMode == o.outputMode &&
               analogStop == o.analogStop && digitalStop == o.digitalStop &&
               triggerMode == o.triggerMode && triggerPolarity == o.triggerPolarity &&
               syncPolarity == o.syncPolarity && syncPulseWidth == o.syncPulseWidth &&
               repeatCount == o.repeatCount && retrigger == o.retrigger;
    }
    bool operator==(const OutputSettings&) const = default;
};

constexpr std::uint32_t kMaxSamples = 1048576;  // 2^20 samples per track

}  // namespace lyr::document
