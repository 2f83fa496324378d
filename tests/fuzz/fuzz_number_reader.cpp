// libFuzzer target of the number reader: the input is fed to the sink in two
// blocks cut where its first byte says, so that tokens cut by a block end
// are exercised as well.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "analog/text_source.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::vector<double> values(lyr::document::kMaxReadEntries);
    if (size == 0) return 0;
    const std::size_t cut = 1 + data[0] % size;
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    lyr::analog::NumberSink sink(values.data());
    using Verdict = lyr::analog::NumberSink::Verdict;
    std::size_t used = 0;
    const std::size_t first = cut <= input.size() ? cut : input.size();
    Verdict v = sink.consume(input.substr(0, first), used);
    if (v == Verdict::More) v = sink.consume(input.substr(first), used);
    if (v == Verdict::More) v = sink.finish();
    if (sink.count() > lyr::document::kMaxReadEntries) __builtin_trap();
    return 0;
}
