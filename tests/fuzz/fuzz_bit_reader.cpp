// libFuzzer: any bytes as a bit file, read in blocks of any size up to any limit.
#include "digital/data_readers.h"
#include "fuzz_text_readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return fuzzTextReader<lyr::digital::BitReader>(data, size, false);
}
