#include "interchange/npy.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace lyr::interchange {

namespace doc = lyr::document;
using Verdict = doc::BlockSink::Verdict;

namespace {

constexpr char kMagic[] = "\x93NUMPY";
constexpr std::size_t kMagicSize = 6;
// A header longer than this is not one of ours to read.
constexpr std::size_t kMaxHeader = 65536;

void reverseBytes(unsigned char* p, std::size_t n) { std::reverse(p, p + n); }

// The text after 'key': in the dict, blanks skipped; empty when absent.
std::string_view valueOf(std::string_view dict, std::string_view key) {
    for (char quote : {'\'', '"'}) {
        const std::string quoted = std::string(1, quote) + std::string(key) + quote;
        std::size_t at = dict.find(quoted);
        if (at == std::string_view::npos) continue;
        at += quoted.size();
        while (at < dict.size() && dict[at] == ' ') ++at;
        if (at >= dict.size() || dict[at] != ':') return {};
        ++at;
        while (at < dict.size() && dict[at] == ' ') ++at;
        return dict.substr(at);
    }
    return {};
}

}  // namespace

std::string npyHeader(std::string_view descr, std::uint64_t count) {
    std::string dict = "{'descr': '" + std::string(descr) + "', 'fortran_order': False, 'shape': (" +
                       std::to_string(count) + ",), }";
    // magic, version, length field, dict, blanks, newline: a multiple of 64
    const std::size_t fixed = kMagicSize + 2 + 2;
    const std::size_t total = (fixed + dict.size() + 1 + 63) / 64 * 64;
    dict.append(total - fixed - dict.size() - 1, ' ');
    dict += '\n';
    std::string out(kMagic, kMagicSize);
    out += '\x01';
    out += '\x00';
    out += static_cast<char>(dict.size() & 0xFF);
    out += static_cast<char>(dict.size() >> 8);
    return out + dict;
}

bool NpySink::parseHeader() {
    const std::size_t dictStart = header_[6] == 1 ? 10 : 12;
    const std::string_view d = std::string_view(header_).substr(dictStart);

    std::string_view descr = valueOf(d, "descr");
    if (descr.size() < 3 || (descr[0] != '\'' && descr[0] != '"')) return false;
    const std::size_t close = descr.find(descr[0], 1);
    if (close == std::string_view::npos) return false;
    descr = descr.substr(1, close - 1);
    char order = '|';
    if (!descr.empty() && (descr[0] == '<' || descr[0] == '>' || descr[0] == '|' || descr[0] == '=')) {
        order = descr[0];
        descr.remove_prefix(1);
    }
    bigEndian_ = order == '>';
    if (words_) {
        if (descr != "u1") return false;
        type_ = NpyType::UInt8;
        itemSize_ = 1;
    } else if (descr == "f8") {
        type_ = NpyType::Float64, itemSize_ = 8;
    } else if (descr == "f4") {
        type_ = NpyType::Float32, itemSize_ = 4;
    } else if (descr == "i2") {
        type_ = NpyType::Int16, itemSize_ = 2;
    } else if (descr == "i4") {
        type_ = NpyType::Int32, itemSize_ = 4;
    } else {
        return false;
    }

    const std::string_view fortran = valueOf(d, "fortran_order");
    if (!fortran.starts_with("False") && !fortran.starts_with("True")) return false;

    // One dimension: "(K,)" (or "(K)"); no blanks inside but around the number.
    std::string_view shape = valueOf(d, "shape");
    if (shape.empty() || shape[0] != '(') return false;
    std::size_t i = 1;
    while (i < shape.size() && shape[i] == ' ') ++i;
    std::uint64_t k = 0;
    std::size_t digits = 0;
    for (; i < shape.size() && shape[i] >= '0' && shape[i] <= '9'; ++i, ++digits) {
        if (k > (std::uint64_t{1} << 50)) return false;
        k = k * 10 + static_cast<std::uint64_t>(shape[i] - '0');
    }
    if (digits == 0) return false;
    while (i < shape.size() && shape[i] == ' ') ++i;
    if (i < shape.size() && shape[i] == ',') ++i;
    while (i < shape.size() && shape[i] == ' ') ++i;
    if (i >= shape.size() || shape[i] != ')') return false;
    shape_ = k;
    return true;
}

bool NpySink::takeItem(const unsigned char* item) {
    unsigned char b[8];
    std::memcpy(b, item, itemSize_);
    if (bigEndian_ != (std::endian::native == std::endian::big)) reverseBytes(b, itemSize_);
    double v = 0.0;
    switch (type_) {
    case NpyType::UInt8: words_[count_++] = b[0]; return true;
    case NpyType::Float64: std::memcpy(&v, b, 8); break;
    case NpyType::Float32: {
        float f;
        std::memcpy(&f, b, 4);
        v = f;
        break;
    }
    case NpyType::Int16: {
        std::int16_t s;
        std::memcpy(&s, b, 2);
        v = s;
        break;
    }
    case NpyType::Int32: {
        std::int32_t s;
        std::memcpy(&s, b, 4);
        v = s;
        break;
    }
    }
    if (!std::isfinite(v)) return false;
    values_[count_++] = v;
    return true;
}

Verdict NpySink::consume(std::string_view block, std::size_t& used) {
    const auto* p = reinterpret_cast<const unsigned char*>(block.data());
    const auto* const end = p + block.size();
    if (!inData_) {
        // The fixed part first, then the dict up to its stated length.
        while (p < end && (headerLength_ == 0 || header_.size() < headerLength_)) {
            header_.push_back(static_cast<char>(*p++));
            if (headerLength_ == 0 && header_.size() == kMagicSize + 2) {
                if (header_.compare(0, kMagicSize, kMagic, kMagicSize) != 0) return Verdict::Invalid;
                const int major = header_[6];
                if (major < 1 || major > 3) return Verdict::Invalid;
            }
            if (headerLength_ == 0 && header_.size() >= kMagicSize + 2) {
                const auto* h = reinterpret_cast<const unsigned char*>(header_.data());
                if (h[6] == 1 && header_.size() == 10) {
                    headerLength_ = 10 + (std::size_t{h[8]} | std::size_t{h[9]} << 8);
                } else if (h[6] != 1 && header_.size() == 12) {
                    const std::uint64_t n = std::uint64_t{h[8]} | std::uint64_t{h[9]} << 8 |
                                            std::uint64_t{h[10]} << 16 | std::uint64_t{h[11]} << 24;
                    if (n > kMaxHeader) return Verdict::Invalid;
                    headerLength_ = 12 + static_cast<std::size_t>(n);
                }
            }
        }
        if (headerLength_ == 0 || header_.size() < headerLength_) return Verdict::More;
        if (!parseHeader()) return Verdict::Invalid;
        inData_ = true;
        header_.clear();
        header_.shrink_to_fit();
    }
    const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(shape_, capacity_));
    // An item cut by the previous block.
    if (partialSize_ > 0 && count_ < wanted) {
        while (partialSize_ < itemSize_ && p < end) partial_[partialSize_++] = *p++;
        if (partialSize_ < itemSize_) return Verdict::More;
        partialSize_ = 0;
        if (!takeItem(partial_)) return Verdict::Invalid;
    }
    const bool plain = bigEndian_ == (std::endian::native == std::endian::big);
    std::size_t whole = std::min<std::size_t>(static_cast<std::size_t>(end - p) / itemSize_, wanted - count_);
    if (plain && type_ == NpyType::Float64) {
        std::memcpy(values_ + count_, p, whole * 8);
        for (std::size_t i = 0; i < whole; ++i)
            if (!std::isfinite(values_[count_ + i])) return Verdict::Invalid;
        count_ += whole;
        p += whole * 8;
    } else if (plain && type_ == NpyType::UInt8) {
        std::memcpy(words_ + count_, p, whole);
        count_ += whole;
        p += whole;
    } else {
        for (std::size_t i = 0; i < whole; ++i, p += itemSize_)
            if (!takeItem(p)) return Verdict::Invalid;
    }
    if (count_ == wanted) {
        if (shape_ > capacity_) {
            used = static_cast<std::size_t>(p - reinterpret_cast<const unsigned char*>(block.data()));
            return Verdict::Full;
        }
        return Verdict::More;  // bytes after the array are not ours
    }
    while (p < end) partial_[partialSize_++] = *p++;
    return Verdict::More;
}

Verdict NpySink::finish() {
    // A header cut short, or fewer items than its shape says.
    if (!inData_ || count_ < std::min<std::uint64_t>(shape_, capacity_)) return Verdict::Invalid;
    return Verdict::More;
}

doc::ReadStatus readNpyNumbers(const std::string& path, double* values, std::uint32_t& count,
                               doc::ReadProgress* progress) {
    NpySink sink(values, doc::kMaxReadEntries);
    const doc::ReadStatus status = doc::readBlocks(path, sink, progress);
    count = doc::readSucceeded(status) ? static_cast<std::uint32_t>(sink.count()) : 0;
    return status;
}

doc::ReadStatus readNpyWords(const std::string& path, std::uint8_t* words, std::size_t capacity, std::size_t& count,
                             doc::ReadProgress* progress) {
    NpySink sink(words, capacity);
    const doc::ReadStatus status = doc::readBlocks(path, sink, progress);
    count = doc::readSucceeded(status) ? sink.count() : 0;
    return status;
}

}  // namespace lyr::interchange
