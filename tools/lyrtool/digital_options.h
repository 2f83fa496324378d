#pragma once
// Option values shared by the digital editors of `lyrtool edit`.
#include <optional>
#include <string>

#include "digital/digital_apply.h"

namespace lyrtool {

// What every digital editor answers to any other --mode text.
inline constexpr const char* kApplyModeError = "--mode is replace, or, and or xor";

// --mode: replace, or, and or xor; nothing for any other text.
inline std::optional<lyr::digital::DigitalApplyMode> parseApplyMode(const std::string& text) {
    using M = lyr::digital::DigitalApplyMode;
    if (text == "replace") return M::Replace;
    if (text == "or") return M::Or;
    if (text == "and") return M::And;
    if (text == "xor") return M::Xor;
    return std::nullopt;
}

// A channel: one digit 0 to 7.
inline bool parseChannelArgument(const std::string& text, int& channel) {
    if (text.size() != 1 || text[0] < '0' || text[0] > '7') return false;
    channel = text[0] - '0';
    return true;
}

}  // namespace lyrtool
