#include "document/quantities.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace lyr::document {

namespace {

// Digits allowed after the point for units 0..3.
constexpr int kUnitDigits[4] = {0, 3, 6, 9};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// |v| in decimal; INT64_MIN included.
std::string magnitudeDigits(std::int64_t v) {
    std::uint64_t m = v < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, m);
    return std::string(buf, r.ptr);
}

// Puts a point before the last p digits (zero-padding short texts), then drops
// trailing zeros and a point left at the end. Digits before the point stay.
std::string placePoint(std::string digits, int p) {
    if (p == 0) return digits;
    if (digits.size() <= static_cast<std::size_t>(p))
        digits.insert(0, static_cast<std::size_t>(p) + 1 - digits.size(), '0');
    digits.insert(digits.size() - static_cast<std::size_t>(p), 1, '.');
    while (digits.back() == '0') digits.pop_back();
    if (digits.back() == '.') digits.pop_back();
    return digits;
}

// Saturating conversion of a checked digit string with an optional "-".
std::int64_t digitsToInt64(std::string_view s) {
    bool negative = !s.empty() && s.front() == '-';
    if (negative) s.remove_prefix(1);
    const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
    std::uint64_t acc = 0;
    for (char c : s) {
        auto d = static_cast<std::uint64_t>(c - '0');
        if (acc > (limit - d) / 10) {
            acc = limit;
            break;
        }
        acc = acc * 10 + d;
    }
    if (!negative) return static_cast<std::int64_t>(acc);
    return acc == (std::uint64_t{1} << 63) ? std::numeric_limits<std::int64_t>::min()
                                          : -static_cast<std::int64_t>(acc);
}

}  // namespace

std::string formatFixed(double v, int decimals) {
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    if (r.ec != std::errc()) return {};
    std::string text(buf, r.ptr);
    // A sample computed as -2e-16 must not read as a negative zero.
    if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
    return text;
}

std::string normalizeNumberText(std::string_view s) {
    std::string t(s);
    if (t.empty()) return t;
    if (t.back() == '.') t.push_back('0');
    if (t.front() == '.')
        t.insert(0, 1, '0');
    else if (t.size() >= 2 && t[0] == '-' && t[1] == '.')
        t.insert(1, 1, '0');
    return t;
}

bool checkNumberSyntax(std::string_view s, bool allowMinus, bool allowDot) {
    if (s.empty()) return false;
    int digits = 0, minus = 0, dots = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (isDigit(c)) {
            ++digits;
        } else if (c == '-' && allowMinus) {
            if (++minus > 1 || i != 0) return false;
        } else if (c == '.' && allowDot) {
            if (++dots > 1) return false;
            if (i == 0 || i + 1 == s.size()) return false;
            if (i == 1 && s[0] == '-') return false;
        } else {
            return false;
        }
    }
    return digits > 0;
}

bool parseTime(std::string_view s, int unit, std::int64_t& ns) {
    std::string t = normalizeNumberText(s);
    if (!checkNumberSyntax(t, true, true)) return false;
    if (unit < 0 || unit > 3) return false;
    bool negative = t.front() == '-';
    if (negative) t.erase(0, 1);
    std::size_t d = 0;
    if (auto dot = t.find('.'); dot != std::string::npos) {
        d = t.size() - dot - 1;
        t.erase(dot, 1);
    }
    const auto p = static_cast<std::size_t>(kUnitDigits[unit]);
    if (d > p) return false;
    t.append(p - d, '0');
    if (negative) t.insert(0, 1, '-');
    ns = digitsToInt64(t);
    return true;
}

bool parseReal(std::string_view s, double& value) {
    std::string up(s);
    for (char& c : up)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    std::size_t split = up.find('E');
    if (split == std::string::npos) split = up.find('D');
    std::string mantissa = normalizeNumberText(std::string_view(up).substr(0, split));
    if (!checkNumberSyntax(mantissa, true, true)) return false;
    std::string exponent;
    if (split != std::string::npos) {
        exponent = up.substr(split + 1);
        if (!checkNumberSyntax(exponent, true, false)) return false;
    }
    std::string text = mantissa;
    if (!exponent.empty()) text += "e" + exponent;
    double v = 0.0;
    auto r = std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::general);
    if (r.ptr != text.data() + text.size() && r.ec == std::errc()) return false;
    if (r.ec == std::errc::result_out_of_range) {
        // Out of range is either an overflow (refused) or an underflow, which
        // reads as zero. Tell them apart by the decimal magnitude.
        std::string_view m = mantissa;
        bool negative = m.front() == '-';
        if (negative) m.remove_prefix(1);
        std::size_t dot = m.find('.');
        std::string_view ip = m.substr(0, dot);
        std::string_view fp = dot == std::string_view::npos ? std::string_view{} : m.substr(dot + 1);
        std::size_t lead = ip.find_first_not_of('0');
        long long magnitude;
        if (lead != std::string_view::npos) {
            magnitude = static_cast<long long>(ip.size() - lead) - 1;
        } else {
            std::size_t f = fp.find_first_not_of('0');
            if (f == std::string_view::npos) {
                value = 0.0;
                return true;
            }
            magnitude = -static_cast<long long>(f) - 1;
        }
        long long e = 0;
        std::string_view ev = exponent;
        bool eneg = !ev.empty() && ev.front() == '-';
        if (eneg) ev.remove_prefix(1);
        for (char c : ev) {
            e = e * 10 + (c - '0');
            if (e > 1000000) break;
        }
        if (eneg) e = -e;
        if (magnitude + e >= 0) return false;
        value = negative ? -0.0 : 0.0;
        return true;
    }
    if (r.ec != std::errc() || std::isinf(v)) return false;
    value = v;
    return true;
}

bool parseUnsigned(std::string_view s, std::uint32_t& value) {
    std::string t = normalizeNumberText(s);
    if (!checkNumberSyntax(t, false, false)) return false;
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    std::uint64_t acc = 0;
    for (char c : t) {
        acc = acc * 10 + static_cast<std::uint64_t>(c - '0');
        if (acc >= kMax) return false;  // overflow, or the reserved all-ones value
    }
    value = static_cast<std::uint32_t>(acc);
    return true;
}

bool formatTimeIn(std::int64_t ns, int unit, std::string& text) {
    if (unit < 0 || unit > 3) {
        if (unit == -1) text.clear();
        return false;
    }
    text = placePoint(magnitudeDigits(ns), kUnitDigits[unit]);
    if (ns < 0) text.insert(0, 1, '-');
    return true;
}

std::string formatTimeAuto(std::int64_t ns, int& unit) {
    std::string digits = magnitudeDigits(ns);
    const std::size_t k = digits.size();
    unit = k <= 3 ? kUnitNs : k <= 6 ? kUnitUs : k <= 9 ? kUnitMs : kUnitS;
    std::string text = placePoint(std::move(digits), kUnitDigits[unit]);
    if (ns < 0) text.insert(0, 1, '-');
    return text;
}

std::string formatTimeAuto(std::int64_t ns, TimeUnit& unit) {
    int index = 0;
    std::string text = formatTimeAuto(ns, index);
    unit = standardTimeUnit(index);
    return text;
}

std::string formatTimeAuto(std::int64_t ns) {
    int unit = 0;
    return formatTimeAuto(ns, unit);
}

bool unitName(int unit, std::string& name) {
    if (unit < 0 || unit > 3) {
        name = "？";
        return false;
    }
    name = std::string(kStandardTimeUnits[static_cast<std::size_t>(unit)]);
    return true;
}

std::string unitName(int unit) {
    std::string name;
    unitName(unit, name);
    return name;
}

std::string formatTimeWithUnit(std::int64_t ns) {
    int unit = 0;
    std::string text = formatTimeAuto(ns, unit);
    return text + " " + unitName(unit);
}

std::string formatVolts(double volts) { return formatFixed(volts, 3); }

std::string formatVoltScaleLabel(double volts) {
    const std::string text = formatFixed(volts, 1);
    return (volts > 0.1 ? "+" : "") + text + "V";
}

std::string formatErrorPercent(double percent) { return formatFixed(percent, 9) + " %"; }

bool isBinaryText(std::string_view s, std::string& bits) {
    if (s.empty()) return false;
    for (char c : s)
        if (c != '0' && c != '1') return false;
    bits.assign(s);
    return true;
}

bool hexToBits(std::string_view s, std::string& bits) {
    if (s.empty()) return false;
    std::string out;
    out.reserve(s.size() * 4);
    for (char c : s) {
        int v;
        if (isDigit(c))
            v = c - '0';
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else
            return false;
        for (int b = 3; b >= 0; --b) out.push_back((v >> b) & 1 ? '1' : '0');
    }
    bits = std::move(out);
    return true;
}

bool hexDigitBits(char c, std::array<char, 4>& bits) {
    std::string four;
    if (!hexToBits(std::string_view(&c, 1), four)) return false;
    // The text is most significant first; element k is bit k.
    for (int k = 0; k < 4; ++k) bits[static_cast<std::size_t>(k)] = four[static_cast<std::size_t>(3 - k)];
    return true;
}

}  // namespace lyr::document
