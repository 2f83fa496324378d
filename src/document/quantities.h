#pragma once
// Text rules shared by every dialog: unit lists, number syntax, exact time
// parsing into integer nanoseconds, and the texts times and voltages are
// shown with. Pure functions; a refusal is a false result, never a message.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lyr::document {

// Unit index, the same numbering in every unit list. The time parser and
// formatters understand 0..3; the total-time dialogs convert M and H.
// kUnitNone is a box with nothing selected. The enum converts to the int
// index the text functions below take.
enum TimeUnit : int {
    kUnitNone = -1,
    kUnitNs = 0,
    kUnitUs = 1,
    kUnitMs = 2,
    kUnitS = 3,
    kUnitMinute = 4,
    kUnitHour = 5,
};

// A stored or typed unit index as a standard time unit (0..3); anything
// else is kUnitNone.
constexpr TimeUnit standardTimeUnit(std::int64_t index) {
    return index >= kUnitNs && index <= kUnitS ? static_cast<TimeUnit>(index) : kUnitNone;
}

// Contents of the unit lists beside the fields.
inline constexpr std::array<std::string_view, 4> kStandardTimeUnits{"nS", "uS", "mS", "S"};
inline constexpr std::array<std::string_view, 6> kTotalTimeUnits{"nS", "uS", "mS", "S", "M", "H"};
inline constexpr std::array<std::string_view, 3> kSamplingUnits{"nS", "uS", "mS"};

// Nanoseconds per unit, indices 0..5.
inline constexpr std::array<std::int64_t, 6> kNanosPerUnit{
    1, 1000, 1000000, 1000000000, 60000000000LL, 3600000000000LL};

// "5." -> "5.0", ".5" -> "0.5", "-.5" -> "-0.5"; anything else unchanged.
std::string normalizeNumberText(std::string_view s);

// Digits only, plus one leading "-" when allowMinus and one inner "." when
// allowDot; at least one digit. No blanks, "+" or exponent.
bool checkNumberSyntax(std::string_view s, bool allowMinus, bool allowDot);

// Exact time: text in unit 0..3 -> nanoseconds. Refuses anything finer than
// 1 ns. Digit strings beyond 64 bits saturate (callers range-check).
bool parseTime(std::string_view s, int unit, std::int64_t& ns);

// Real number with an optional exponent introduced by "E" or "D".
bool parseReal(std::string_view s, double& value);

// Unsigned decimal; 4,294,967,295 (and anything larger) is refused.
bool parseUnsigned(std::string_view s, std::uint32_t& value);

// Time in a given unit 0..3 with trailing zeros removed ("1.5", "2", "0.005").
// Unit -1 gives the empty text and false.
bool formatTimeIn(std::int64_t ns, int unit, std::string& text);

// Time with the unit chosen by its number of digits (nS, uS, mS, S).
std::string formatTimeAuto(std::int64_t ns, int& unit);
std::string formatTimeAuto(std::int64_t ns, TimeUnit& unit);
std::string formatTimeAuto(std::int64_t ns);

// Unit label of 0..3; any other index gives "？" and false.
bool unitName(int unit, std::string& name);
std::string unitName(int unit);

// One-string form of a time: formatTimeAuto text, a blank, the unit ("1.5 uS").
std::string formatTimeWithUnit(std::int64_t ns);

// "%.*f" of v, independent of the process locale; a value that rounds to zero
// reads without a sign ("0.000", never "-0.000").
std::string formatFixed(double v, int decimals);

// "%.3f" of a voltage (independent of the process locale).
std::string formatVolts(double volts);

// Label of a level on a voltage scale: "+%.1fV" above 0.1, "%.1fV" otherwise;
// a level computed as a tiny negative number reads "0.0V", not "-0.0V".
std::string formatVoltScaleLabel(double volts);

// "%.9f %%" of a relative error in percent, as the candidate tables show it.
std::string formatErrorPercent(double percent);

// Bit strings: non-empty, only "0" and "1"; out is the text unchanged.
bool isBinaryText(std::string_view s, std::string& bits);

// Hexadecimal digits -> four bit characters each, most significant first.
bool hexToBits(std::string_view s, std::string& bits);

// One hexadecimal digit; bits[k] is the character ('0'/'1') of bit k.
bool hexDigitBits(char c, std::array<char, 4>& bits);

}  // namespace lyr::document
