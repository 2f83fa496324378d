#pragma once
// The bit and hexadecimal file rules read one byte at a time, as plainly as
// they are stated: the oracle the fast readers are compared with.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "document/block_reader.h"

namespace lyr::test {

struct ReferenceReading {
    document::BlockSink::Verdict verdict = document::BlockSink::Verdict::More;
    std::vector<std::uint8_t> entries;
    std::size_t used = 0;  // bytes taken when the limit stopped the reading
};

inline ReferenceReading referenceRead(std::string_view text, bool hex, std::size_t capacity) {
    using Verdict = document::BlockSink::Verdict;
    ReferenceReading r;
    r.used = text.size();
    int pending = -1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\t' || c == '\n' || c == '\r' || c == ' ' || c == ',' || c == ';') continue;
        int v = -1;
        if (c >= '0' && c <= (hex ? '9' : '1')) v = c - '0';
        else if (hex && c >= 'A' && c <= 'F') v = c - 'A' + 10;
        else if (hex && c >= 'a' && c <= 'f') v = c - 'a' + 10;
        if (v < 0) {  // nothing read counts
            r.verdict = Verdict::Invalid;
            r.entries.clear();
            return r;
        }
        if (!hex) {
            r.entries.push_back(std::uint8_t(v));
        } else if (pending < 0) {
            pending = v;
            continue;
        } else {
            r.entries.push_back(std::uint8_t(pending << 4 | v));
            pending = -1;
        }
        if (r.entries.size() == capacity) {
            r.verdict = Verdict::Full;
            r.used = i + 1;
            return r;
        }
    }
    if (pending >= 0) r.entries.push_back(std::uint8_t(pending << 4));
    if (r.entries.size() == capacity) r.verdict = Verdict::Full;
    return r;
}

// Feeds text to a reader in blocks of blockSize (the last one shorter), as
// readBlocks would, and reports what it read in the reference's terms.
template <class Reader>
ReferenceReading readInBlocks(std::string_view text, std::size_t capacity, std::size_t blockSize,
                              std::vector<std::uint8_t>& buffer) {
    using Verdict = document::BlockSink::Verdict;
    ReferenceReading r;
    Reader reader(buffer.data(), capacity);
    r.used = text.size();
    for (std::size_t at = 0; at < text.size() && r.verdict == Verdict::More; at += blockSize) {
        const auto block = text.substr(at, blockSize);
        std::size_t used = block.size();
        r.verdict = reader.consume(block, used);
        if (r.verdict == Verdict::Full) r.used = at + used;
    }
    if (r.verdict == Verdict::More) r.verdict = reader.finish();
    if (r.verdict != Verdict::Invalid) r.entries.assign(buffer.begin(), buffer.begin() + std::ptrdiff_t(reader.count()));
    return r;
}

}  // namespace lyr::test
