#pragma once
// Fixed texts in waveform files are code page 932 bytes. They stay bytes in the
// document; this turns them into UTF-8 where they are shown.
#include <cstdint>
#include <string>

namespace lyr::document {

// ASCII, half-width katakana and every assigned double-byte character become
// UTF-8; a byte or pair that is not assigned is shown as its hex value in
// angle brackets, e.g. "<FD>" or "<85A0>", so nothing is lost silently.
std::string cp932ToUtf8(const std::string& bytes);

namespace detail {
inline constexpr int kCp932LeadCount = 60;
inline constexpr int kCp932TrailCount = 188;
extern const std::uint16_t kCp932DoubleByte[kCp932LeadCount * kCp932TrailCount];
}  // namespace detail

}  // namespace lyr::document
