#include "digital/level_columns.h"

#include <algorithm>
#include <cstring>

namespace lyr::digital {

void LevelColumns::reserveFor(int width) {
    const auto w = static_cast<std::size_t>(std::max(width, 0));
    low.assign(w, 0);
    high.assign(w, 0);
}

void computeLevelColumns(const std::uint8_t* levels, std::size_t n, int width, LevelColumns& out) {
    if (out.width() != width) out.reserveFor(width);
    std::fill(out.low.begin(), out.low.end(), 0);
    std::fill(out.high.begin(), out.high.end(), 0);
    if (n == 0 || width <= 0) return;
    const std::uint64_t w = static_cast<std::uint64_t>(width), nn = n;
    // Column c holds the samples from first(c) = ceil(n (2c - 1) / 2w) on,
    // which is floor(i w / n + 0.5) = c in integers.
    auto first = [&](std::uint64_t c) -> std::uint64_t {
        if (c == 0) return 0;
        const std::uint64_t num = nn * (2 * c - 1);
        return std::min<std::uint64_t>((num + 2 * w - 1) / (2 * w), nn);
    };
    int prev = -1;
    for (std::uint64_t c = 0; c < w; ++c) {
        const std::uint64_t a = first(c);
        const std::uint64_t b = c + 1 == w ? nn : first(c + 1);
        if (a >= b) {
            if (prev >= 0) {
                out.low[c] = out.low[prev];
                out.high[c] = out.high[prev];
            }
        } else {
            const std::uint8_t* p = levels + a;
            const std::size_t len = static_cast<std::size_t>(b - a);
            bool hi = std::memchr(p, 1, len) != nullptr;
            bool lo = false;
            for (std::size_t k = 0; k < len && !lo; ++k) lo = p[k] != 1;
            out.low[c] = lo;
            out.high[c] = hi;
        }
        prev = static_cast<int>(c);
    }
}

}  // namespace lyr::digital
