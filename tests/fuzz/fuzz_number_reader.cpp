// libFuzzer target of the number reader: the input is fed to the sink in two
// blocks cut where its first byte says (tokens cut by a block end included),
// and the verdict and values must equal a byte-by-byte reading that converts
// each token with the C library (the fuzzer runs in the "C" locale).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "analog/text_source.h"

namespace {

// The reference: true when the whole input reads; values as read.
bool referenceRead(std::string_view in, std::vector<double>& out) {
    std::string token;
    auto flush = [&] {
        if (token.empty()) return true;
        for (char& c : token)
            if (c == 'd' || c == 'D') c = 'e';
        char* end = nullptr;
        const double v = std::strtod(token.c_str(), &end);
        const bool whole = end == token.c_str() + token.size();
        token.clear();
        if (!whole || std::isinf(v)) return false;
        out.push_back(v);
        return true;
    };
    for (char c : in) {
        if (c == '\t' || c == '\n' || c == '\r' || c == ' ' || c == ',' || c == ';') {
            if (!flush()) return false;
        } else if ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.' || c == 'd' || c == 'D' || c == 'e' ||
                   c == 'E') {
            token.push_back(c);
        } else {
            return false;
        }
    }
    return flush();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::vector<double> values(lyr::document::kMaxReadEntries);
    if (size == 0) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t cut = data[0] % (input.size() + 1);
    lyr::analog::NumberSink sink(values.data());
    using Verdict = lyr::analog::NumberSink::Verdict;
    std::size_t used = 0;
    Verdict v = sink.consume(input.substr(0, cut), used);
    if (v == Verdict::More) v = sink.consume(input.substr(cut), used);
    if (v == Verdict::More) v = sink.finish();
    std::vector<double> expected;
    const bool ok = referenceRead(input, expected);
    if (ok != (v != Verdict::Invalid)) __builtin_trap();
    if (ok) {
        if (expected.size() != sink.count()) __builtin_trap();
        for (std::size_t i = 0; i < expected.size(); ++i)
            if (std::signbit(expected[i]) != std::signbit(values[i]) || !(expected[i] == values[i])) __builtin_trap();
    }
    return 0;
}
