#pragma once
// Editor settings with every field away from its default, each field a value
// of its own, for the tests that store the records and read them back.
#include <cstdint>
#include <type_traits>

#include "document/settings_records.h"

namespace lyr::test {

inline document::EditorSettings scrambledEditorSettings() {
    document::EditorSettings s;
    int n = 0;
    auto scramble = [&n](const char*, auto& v) {
        using T = std::remove_cvref_t<decltype(v)>;
        ++n;
        if constexpr (std::is_same_v<T, double>) {
            v = 1000.25 + n;
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
            v = -(std::int64_t{1} << 40) - n;  // needs both dwords, negative
        } else if constexpr (std::is_same_v<T, std::uint8_t>) {
            v = static_cast<std::uint8_t>(0x80 + n);
        } else {
            v = static_cast<T>(-7 * n);
        }
    };
    document::EditorSettings::forEachRecord(
        s, [&](const char*, auto& r) { std::remove_cvref_t<decltype(r)>::forEachField(r, scramble); });
    return s;
}

}  // namespace lyr::test
