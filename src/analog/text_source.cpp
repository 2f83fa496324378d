#include "analog/text_source.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

namespace lyr::analog {

namespace doc = lyr::document;

namespace {

enum ByteClass : std::uint8_t { kInvalid = 0, kSeparator = 1, kToken = 2 };

constexpr std::array<std::uint8_t, 256> makeClasses() {
    std::array<std::uint8_t, 256> t{};
    for (unsigned char c : {'\t', '\n', '\r', ' ', ',', ';'}) t[c] = kSeparator;
    for (unsigned char c = '0'; c <= '9'; ++c) t[c] = kToken;
    for (unsigned char c : {'+', '-', '.', 'd', 'D', 'e', 'E'}) t[c] = kToken;
    return t;
}
constexpr std::array<std::uint8_t, 256> kClass = makeClasses();

inline std::uint8_t classOf(char c) { return kClass[static_cast<unsigned char>(c)]; }

// A token out of range is an overflow when its first significant digit
// stands at or above the units; below them it is an underflow. Every value
// out of a double's range is hundreds of decades from that border.
bool isOverflow(std::string_view digits) {
    std::int64_t pointShift = 0;  // decimal exponent of the first significant digit, before the exponent part
    bool seenPoint = false, seenDigit = false;
    std::size_t i = 0;
    for (; i < digits.size(); ++i) {
        const char c = digits[i];
        if (c == '.') {
            seenPoint = true;
        } else if (c >= '0' && c <= '9') {
            if (!seenDigit && c != '0') {
                seenDigit = true;
                if (seenPoint) pointShift -= 1;  // 0.0x: one more place down
            } else if (seenDigit && !seenPoint) {
                ++pointShift;
            } else if (!seenDigit && seenPoint) {
                --pointShift;
            }
        } else {
            break;  // the exponent marker
        }
    }
    std::int64_t exponent = 0;
    if (i < digits.size()) {
        ++i;
        bool negative = false;
        if (i < digits.size() && (digits[i] == '+' || digits[i] == '-')) negative = digits[i++] == '-';
        for (; i < digits.size(); ++i) {
            if (exponent < 1000000000000LL) exponent = exponent * 10 + (digits[i] - '0');
        }
        if (negative) exponent = -exponent;
    }
    return pointShift + exponent >= 0;
}

// The common plain token, "[-]digits[.digits]" of at most 15 digits, then a
// separator: its digits make an integer below 2^53 and the power of ten is
// exact, so one division rounds exactly as the full conversion does.
// False for anything else (the caller falls back to that conversion).
inline bool plainDecimal(const char* p, const char* end, double& value, const char*& stop) {
    static constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const bool negative = *p == '-';
    const char* q = p + negative;
    std::uint64_t m = 0;
    int digits = 0;
    while (q < end && static_cast<unsigned>(*q - '0') < 10) m = m * 10 + static_cast<unsigned>(*q++ - '0'), ++digits;
    int fraction = 0;
    if (q < end && *q == '.') {
        ++q;
        while (q < end && static_cast<unsigned>(*q - '0') < 10)
            m = m * 10 + static_cast<unsigned>(*q++ - '0'), ++digits, ++fraction;
    }
    if (digits == 0 || digits > 15 || q == end || classOf(*q) != kSeparator) return false;
    const double v = fraction ? static_cast<double>(m) / kPow10[fraction] : static_cast<double>(m);
    value = negative ? -v : v;
    stop = q;
    return true;
}

}  // namespace

bool convertNumberToken(std::string_view token, double& value) {
    if (token.empty()) return false;
    bool negative = false;
    std::size_t from = 0;
    if (token[0] == '+' || token[0] == '-') {
        negative = token[0] == '-';
        from = 1;
        // from_chars takes no sign of its own beyond one "-"
        if (from < token.size() && (token[from] == '+' || token[from] == '-')) return false;
    }
    // "d"/"D" become "e" in a copy; a plain token converts in place.
    std::string copy;
    std::string_view body = token.substr(from);
    if (body.find_first_of("dD") != std::string_view::npos) {
        copy.assign(body);
        for (char& c : copy)
            if (c == 'd' || c == 'D') c = 'e';
        body = copy;
    }
    double v = 0.0;
    const char* first = body.data();
    const char* last = first + body.size();
    const auto r = std::from_chars(first, last, v, std::chars_format::general);
    if (r.ptr != last) return false;
    if (r.ec == std::errc::result_out_of_range) {
        if (isOverflow(body)) return false;
        v = 0.0;
    } else if (r.ec != std::errc()) {
        return false;
    }
    value = negative ? -v : v;
    return true;
}

NumberSink::Verdict NumberSink::store(std::string_view token) {
    double v = 0.0;
    if (!convertNumberToken(token, v)) return Verdict::Invalid;
    values_[count_++] = v;
    return count_ >= doc::kMaxReadEntries ? Verdict::Full : Verdict::More;
}

NumberSink::Verdict NumberSink::consume(std::string_view block, std::size_t& used) {
    // A large block (the command line reads whole 1 MiB blocks) is parsed in
    // two halves at once when the limit cannot fall inside it: every value
    // takes at least two bytes, token and separator.
    constexpr std::size_t kSplitBytes = 256 * 1024;
    if (!parallel_ || block.size() < kSplitBytes) return consumeRun(block, used);
    // A token cut by the previous block is completed first.
    std::size_t at = 0;
    if (!pending_.empty()) {
        while (at < block.size() && classOf(block[at]) == kToken) ++at;
        if (at == block.size()) return consumeRun(block, used);
        const Verdict v = consumeRun(block.substr(0, at + 1), used);
        if (v != Verdict::More) return v;
        ++at;
    }
    const std::string_view rest = block.substr(at);
    if (count_ + rest.size() / 2 + 2 >= doc::kMaxReadEntries) {
        const Verdict v = consumeRun(rest, used);
        used += at;
        return v;
    }
    std::size_t mid = rest.size() / 2;
    while (mid < rest.size() && classOf(rest[mid]) != kSeparator) ++mid;
    if (mid + 1 >= rest.size()) return consumeRun(rest, used);
    const std::string_view second = rest.substr(mid + 1);
    std::vector<double> tail(second.size() / 2 + 2);
    NumberSink other(tail.data());
    Verdict otherVerdict = Verdict::More;
    std::size_t otherUsed = 0;
    std::thread worker([&] { otherVerdict = other.consumeRun(second, otherUsed); });
    // The first half ends with its separator, so no token of it is left pending.
    const Verdict first = consumeRun(rest.substr(0, mid + 1), used);
    worker.join();
    if (first == Verdict::Invalid || otherVerdict == Verdict::Invalid) return Verdict::Invalid;
    std::copy_n(tail.data(), other.count_, values_ + count_);
    count_ += other.count_;
    pending_ = std::move(other.pending_);
    used = block.size();
    return Verdict::More;
}

NumberSink::Verdict NumberSink::consumeRun(std::string_view block, std::size_t& used) {
    const char* const begin = block.data();
    const char* const end = begin + block.size();
    const char* p = begin;
    if (!pending_.empty()) {
        // The cut token goes on up to its separator in this block.
        while (p < end && classOf(*p) == kToken) ++p;
        if (p < end && classOf(*p) == kInvalid) return Verdict::Invalid;
        pending_.append(begin, p);
        if (p == end) return Verdict::More;
        const Verdict v = store(pending_);
        pending_.clear();
        if (v == Verdict::Invalid) return v;
        ++p;  // its separator
        if (v == Verdict::Full) {
            used = static_cast<std::size_t>(p - begin);
            return v;
        }
    }
    while (p < end) {
        const std::uint8_t c = classOf(*p);
        if (c == kSeparator) {
            ++p;
            continue;
        }
        if (c == kInvalid) return Verdict::Invalid;
        double v = 0.0;
        const char* stop = nullptr;
        if (plainDecimal(p, end, v, stop)) {
            values_[count_++] = v;
            p = stop + 1;
            if (count_ >= doc::kMaxReadEntries) {
                used = static_cast<std::size_t>(p - begin);
                return Verdict::Full;
            }
            continue;
        }
        // Then the conversion, which finds the end of an ordinary token itself.
        const auto r = std::from_chars(p, end, v, std::chars_format::general);
        if (r.ec == std::errc() && r.ptr < end && classOf(*r.ptr) == kSeparator) {
            values_[count_++] = v;
            p = r.ptr + 1;
            if (count_ >= doc::kMaxReadEntries) {
                used = static_cast<std::size_t>(p - begin);
                return Verdict::Full;
            }
            continue;
        }
        // Anything else (a sign, "d", an out-of-range value, a malformed or
        // cut token): the token's extent first, then the careful conversion.
        const char* q = p;
        while (q < end && classOf(*q) == kToken) ++q;
        if (q == end) {
            pending_.assign(p, q);
            return Verdict::More;
        }
        if (classOf(*q) == kInvalid) return Verdict::Invalid;
        const Verdict s = store(std::string_view(p, static_cast<std::size_t>(q - p)));
        if (s == Verdict::Invalid) return s;
        p = q + 1;
        if (s == Verdict::Full) {
            used = static_cast<std::size_t>(p - begin);
            return s;
        }
    }
    return Verdict::More;
}

NumberSink::Verdict NumberSink::finish() {
    if (pending_.empty()) return Verdict::More;
    const Verdict v = store(pending_);
    pending_.clear();
    return v;
}

doc::ReadStatus parseTextSource(const std::string& path, double* values, std::uint32_t& count,
                                doc::ReadProgress* progress, bool twoThreads) {
    NumberSink sink(values);
    sink.setTwoThreads(twoThreads);
    const doc::ReadStatus status = doc::readBlocks(path, sink, progress);
    count = doc::readSucceeded(status) ? sink.count() : 0;
    return status;
}

}  // namespace lyr::analog
