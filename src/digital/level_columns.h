#pragma once
// The drawn form of a run of levels: one vertical stroke per pixel column,
// from the lowest to the highest level of the samples that fall into it.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace lyr::digital {

struct LevelColumns {
    // Per column: the stroke reaches level 0 (low) / level 1 (high). A column
    // with neither draws nothing (no samples at all).
    std::vector<std::uint8_t> low, high;
    int width() const { return static_cast<int>(low.size()); }
    // Sizes the arrays once; computing for the same width never allocates.
    void reserveFor(int width);
};

// Sample i of n falls into column floor(i * width / n + 0.5) (the last column
// when that lies past the band); a column that receives no sample repeats the
// previous column. Level 1 is a byte of 1, anything else counts as 0.
void computeLevelColumns(const std::uint8_t* levels, std::size_t n, int width, LevelColumns& out);

// Colours (0xRRGGBB) of the digital previews.
constexpr std::uint32_t kLevelCurrent = 0x0000FF;
constexpr std::uint32_t kLevelPale = 0xC8C8FF;
constexpr std::uint32_t kLevelCopied = 0xCDB38B;
constexpr std::uint32_t kLevelReference = 0xC8C8C8;
// The drawing band is the preview box less this many pixels at top and bottom.
constexpr int kBandInset = 9;

}  // namespace lyr::digital
