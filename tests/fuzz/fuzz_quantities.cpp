// libFuzzer: the texts of times, voltages and counts as `lyrtool edit` and
// the dialogs read them. The first byte picks the unit; the rest is the text.
// What reads must read again, to the same value, from the text it formats to.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/quantities.h"
#include "lyrtool/common.h"

using namespace lyr::document;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const int unit = data[0] % 4;
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    std::int64_t ns = 0;
    if (parseTime(text, unit, ns)) {
        std::string shown;
        std::int64_t again = 0;
        if (!formatTimeIn(ns, unit, shown) || !parseTime(shown, unit, again) || again != ns) __builtin_trap();
        int autoUnit = -1;
        const std::string automatic = formatTimeAuto(ns, autoUnit);
        if (!parseTime(automatic, autoUnit, again) || again != ns) __builtin_trap();
    }
    std::int64_t argNs = 0;
    if (lyrtool::parseTimeArgument(text, argNs)) {
        std::int64_t again = 0;
        if (!lyrtool::parseTimeArgument(std::to_string(argNs) + "ns", again) || again != argNs) __builtin_trap();
    }

    double volts = 0;
    if (parseReal(text, volts)) {
        double again = 0;
        // The normalised text reads as the same number.
        if (!parseReal(normalizeNumberText(text), again) || !(again == volts || (again != again && volts != volts)))
            __builtin_trap();
    }

    std::uint32_t count = 0;
    if (lyrtool::parseCountArgument(text, count)) {
        std::uint32_t again = 0;
        if (!parseUnsigned(std::to_string(count), again) || again != count) __builtin_trap();
    }
    return 0;
}
