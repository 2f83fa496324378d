#include "document/view_state_record.h"

#include <type_traits>

namespace lyr::document {
namespace {

// Every dword in stored order, the tables expanded element by element.
template <class Self, class V>
void forEachDword(Self& r, V&& v) {
    ViewStateRecord::forEachField(r, [&](const char*, auto& field, bool flag) {
        if constexpr (requires { field.size(); }) {
            for (auto& element : field) v(element, flag);
        } else {
            v(field, flag);
        }
    });
}

}  // namespace

std::array<std::uint32_t, ViewStateRecord::kDwordCount> ViewStateRecord::toDwords() const {
    std::array<std::uint32_t, kDwordCount> d{};
    std::size_t i = 0;
    forEachDword(*this, [&](const auto& field, bool) { d[i++] = static_cast<std::uint32_t>(field); });
    return d;
}

ViewStateRecord ViewStateRecord::fromDwords(const std::array<std::uint32_t, kDwordCount>& d) {
    ViewStateRecord r;
    std::size_t i = 0;
    forEachDword(r, [&](auto& field, bool flag) {
        const std::uint32_t value = d[i++];
        field = static_cast<std::remove_reference_t<decltype(field)>>(flag ? (value != 0) : value);
    });
    return r;
}

bool ViewStateRecord::encode(std::span<std::uint8_t> out) const {
    if (out.size() < kByteSize) {
        return false;
    }
    const auto d = toDwords();
    for (std::size_t i = 0; i < kDwordCount; ++i) {
        for (std::size_t b = 0; b < 4; ++b) {
            out[4 * i + b] = static_cast<std::uint8_t>(d[i] >> (8 * b));
        }
    }
    return true;
}

bool ViewStateRecord::decode(std::span<const std::uint8_t> in) {
    if (in.size() < kByteSize) {
        return false;
    }
    std::array<std::uint32_t, kDwordCount> d{};
    for (std::size_t i = 0; i < kDwordCount; ++i) {
        d[i] = std::uint32_t{in[4 * i]} | std::uint32_t{in[4 * i + 1]} << 8 |
               std::uint32_t{in[4 * i + 2]} << 16 | std::uint32_t{in[4 * i + 3]} << 24;
    }
    *this = fromDwords(d);
    return true;
}

}  // namespace lyr::document
