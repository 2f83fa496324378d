#pragma once
// Eight full-capacity channel arrays for the digital form tests.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "digital/digital_edit_frame.h"

namespace lyr::digital::test {

struct Channels {
    Channels() {
        for (auto& c : data) c.assign(DigitalEditFrame::kCapacity, 0);
    }
    ChannelRefs refs() {
        ChannelRefs r{};
        for (int k = 0; k < kChannels; ++k) r[static_cast<std::size_t>(k)] = data[static_cast<std::size_t>(k)].data();
        return r;
    }
    void set(int ch, std::initializer_list<int> levels) {
        std::size_t i = 0;
        for (int v : levels) data[static_cast<std::size_t>(ch)][i++] = static_cast<std::uint8_t>(v);
    }
    std::vector<int> first(int ch, std::size_t n) const {
        return std::vector<int>(data[static_cast<std::size_t>(ch)].begin(), data[static_cast<std::size_t>(ch)].begin() + static_cast<std::ptrdiff_t>(n));
    }
    std::array<std::vector<std::uint8_t>, kChannels> data;
};

}  // namespace lyr::digital::test
