#pragma once
// One fuzz input through a text reader, compared with the plain byte-by-byte
// reading of the same rules: the first byte picks the entry limit and the
// block size, so that the limit and the block ends fall anywhere; the rest is
// the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "support/text_reader_reference.h"

template <class Reader>
int fuzzTextReader(const std::uint8_t* data, std::size_t size, bool hex) {
    if (size == 0) return 0;
    const std::size_t capacity = 1 + (data[0] & 0x1F);
    const std::size_t blockSize = 1 + (data[0] >> 5) * 5;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    std::vector<std::uint8_t> buffer(capacity);
    const auto got = lyr::test::readInBlocks<Reader>(text, capacity, blockSize, buffer);
    const auto want = lyr::test::referenceRead(text, hex, capacity);
    if (got.verdict != want.verdict || got.entries != want.entries) std::abort();
    if (got.verdict == lyr::document::BlockSink::Verdict::Full && got.used != want.used) std::abort();
    return 0;
}
