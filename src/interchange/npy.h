#pragma once
// NumPy's .npy format 1.0: a magic string, a header that is a Python dict
// literal, then the raw array. Our writer puts out the two arrays the export
// needs; the reader takes the 1-D arrays the editors import, streamed block by
// block like the text readers.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/block_reader.h"

namespace lyr::interchange {

// The header of a 1-D array of count items of type descr ("<f8", "|u1"),
// padded with blanks to a multiple of 64 bytes as NumPy pads it.
std::string npyHeader(std::string_view descr, std::uint64_t count);

// The element types the readers take.
enum class NpyType { Float64, Float32, Int16, Int32, UInt8 };

// Streams a .npy file into values or words. The header must describe a 1-D
// array of an accepted type; any other header, a non-finite float or data
// shorter than the shape refuse the file (Invalid). At the entry limit the
// sink reports Full.
class NpySink : public document::BlockSink {
public:
    // Numbers: float64, float32, int16 or int32 into doubles.
    NpySink(double* values, std::size_t capacity) : values_(values), capacity_(capacity) {}
    // Words: uint8 into bytes.
    NpySink(std::uint8_t* words, std::size_t capacity) : words_(words), capacity_(capacity) {}
    Verdict consume(std::string_view block, std::size_t& used) override;
    Verdict finish() override;
    std::size_t count() const { return count_; }

private:
    bool parseHeader();
    bool takeItem(const unsigned char* item);

    double* values_ = nullptr;
    std::uint8_t* words_ = nullptr;
    std::size_t capacity_;
    std::size_t count_ = 0;
    std::string header_;            // the bytes up to the end of the header, while it is read
    std::size_t headerLength_ = 0;  // magic + length field + dict, once known
    bool inData_ = false;
    NpyType type_ = NpyType::Float64;
    bool bigEndian_ = false;
    std::size_t itemSize_ = 8;
    std::uint64_t shape_ = 0;
    unsigned char partial_[8] = {};  // an item cut by the end of a block
    std::size_t partialSize_ = 0;
};

// Reads a 1-D float64, float32, int16 or int32 array into values (room for
// document::kMaxReadEntries): the status and the count read.
document::ReadStatus readNpyNumbers(const std::string& path, double* values, std::uint32_t& count,
                                    document::ReadProgress* progress = nullptr);
// Reads a 1-D uint8 array into words (room for capacity).
document::ReadStatus readNpyWords(const std::string& path, std::uint8_t* words, std::size_t capacity,
                                  std::size_t& count, document::ReadProgress* progress = nullptr);

}  // namespace lyr::interchange
