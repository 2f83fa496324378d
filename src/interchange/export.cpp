#include "interchange/export.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <new>
#include <thread>
#include <vector>

#include "document/waveform_file_format.h"
#include "document/waveform_file_io.h"
#include "interchange/npy.h"
#include "interchange/output.h"
#include "interchange/vcd.h"
#include "interchange/wav.h"

namespace lyr::interchange {

namespace doc = lyr::document;
namespace wf = lyr::document::wavefile;
using detail::Output;

const char* formatName(Format format) {
    switch (format) {
    case Format::Csv: return "csv";
    case Format::Wav: return "wav";
    case Format::Npy: return "npy";
    case Format::Vcd: return "vcd";
    }
    return "";
}

std::optional<Format> formatFromName(std::string_view name) {
    for (Format f : {Format::Csv, Format::Wav, Format::Npy, Format::Vcd})
        if (name == formatName(f)) return f;
    return std::nullopt;
}

std::optional<Format> formatOfPath(std::string_view path) {
    const std::size_t dot = path.find_last_of('.');
    const std::size_t slash = path.find_last_of('/');
    if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash)) return std::nullopt;
    std::string ext(path.substr(dot + 1));
    for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return formatFromName(ext);
}

bool formatTakes(Format format, Content content) { return format != Format::Wav || content == Content::Analog; }

bool formatHasContentChoice(Format format) { return format == Format::Npy; }

namespace detail {

Output::Output(wf::ReplacingFile& file, doc::ReadProgress* progress, std::uint64_t total)
    : file_(file), progress_(progress), total_(total), buffer_(new char[kCapacity]) {
    if (progress_) {
        progress_->setPercent(0);
        next_ = total_ == 0 ? 0 : (total_ + 99) / 100;
    }
}

void Output::append(std::string_view s) {
    while (!s.empty()) {
        const std::size_t n = std::min<std::size_t>(s.size(), 65536);
        std::memcpy(room(n), s.data(), n);
        advance(n);
        s.remove_prefix(n);
    }
}

bool Output::flush() {
    if (used_ > 0 && !failed_) failed_ = !file_.write(buffer_.get(), used_);
    used_ = 0;
    return !failed_;
}

void Output::step(std::uint64_t samples) {
    const int percent = total_ == 0 ? 100 : static_cast<int>(std::min<std::uint64_t>(100, samples * 100 / total_));
    if (percent > shown_) progress_->setPercent(shown_ = percent);
    // the first sample count whose percent is above the one shown
    next_ = shown_ >= 100 ? ~std::uint64_t{0} : (std::uint64_t(shown_ + 1) * total_ + 99) / 100;
}

}  // namespace detail

std::size_t formatSeconds(std::int64_t ns, char* out) {
    if (ns <= 0) {
        std::memcpy(out, "0.0", 3);
        return 3;
    }
    char d[24];
    const auto r = std::to_chars(d, d + sizeof d, ns);
    int nd = static_cast<int>(r.ptr - d);
    int zeros = 0;
    while (nd > 1 && d[nd - 1] == '0') --nd, ++zeros;
    // value = digits x 10^(zeros - 9); x: the power of ten of the first digit
    const int x = nd - 1 + zeros - 9;
    char* p = out;
    if (x >= -4 && x < 16) {
        if (x >= 0) {
            if (nd <= x + 1) {
                std::memcpy(p, d, static_cast<std::size_t>(nd));
                p += nd;
                std::memset(p, '0', static_cast<std::size_t>(x + 1 - nd));
                p += x + 1 - nd;
                std::memcpy(p, ".0", 2);
                p += 2;
            } else {
                std::memcpy(p, d, static_cast<std::size_t>(x + 1));
                p += x + 1;
                *p++ = '.';
                std::memcpy(p, d + x + 1, static_cast<std::size_t>(nd - x - 1));
                p += nd - x - 1;
            }
        } else {
            *p++ = '0';
            *p++ = '.';
            std::memset(p, '0', static_cast<std::size_t>(-x - 1));
            p += -x - 1;
            std::memcpy(p, d, static_cast<std::size_t>(nd));
            p += nd;
        }
    } else {
        *p++ = d[0];
        if (nd > 1) {
            *p++ = '.';
            std::memcpy(p, d + 1, static_cast<std::size_t>(nd - 1));
            p += nd - 1;
        }
        *p++ = 'e';
        *p++ = x < 0 ? '-' : '+';
        const int e = x < 0 ? -x : x;
        if (e < 10) *p++ = '0';
        p = std::to_chars(p, p + 4, e).ptr;
    }
    return static_cast<std::size_t>(p - out);
}

std::size_t formatG17(double v, char* out) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, 8);
    const bool negative = bits >> 63;
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    const double a = negative ? -v : v;
    char* p = out;
    if (biased == 0 && fraction == 0) {
        if (negative) *p++ = '-';
        *p++ = '0';
        return static_cast<std::size_t>(p - out);
    }
    // The exact digits by 128-bit integers: v = m x 2^e with e < 0, and
    // m x 10^(16 - x) < 2^128 for the decimal exponents x of [1e-5, 2^52).
    if (biased == 0 || a < 1e-5 || a >= 4503599627370496.0)
        return static_cast<std::size_t>(std::to_chars(out, out + 32, v, std::chars_format::general, 17).ptr - out);
    using u128 = unsigned __int128;
    static constexpr std::uint64_t kPow10[] = {1,
                                               10,
                                               100,
                                               1000,
                                               10000,
                                               100000,
                                               1000000,
                                               10000000,
                                               100000000,
                                               1000000000,
                                               10000000000,
                                               100000000000,
                                               1000000000000,
                                               10000000000000,
                                               100000000000000,
                                               1000000000000000,
                                               10000000000000000,
                                               100000000000000000,
                                               1000000000000000000,
                                               10000000000000000000u};
    const std::uint64_t m = fraction | (std::uint64_t{1} << 52);
    const int shift = 1075 - biased;  // v = m / 2^shift
    // floor(log10 a) from the binary exponent: this or one more; the loop settles it
    int x = ((biased - 1023) * 78913) >> 18;
    std::uint64_t digits = 0;
    for (int tries = 0; tries < 3; ++tries) {
        const int k = 16 - x;  // 1 ... 21
        const u128 scale = k <= 19 ? u128{kPow10[k]} : u128{kPow10[19]} * kPow10[k - 19];
        const u128 product = u128{m} * scale;
        u128 q = product >> shift;
        const u128 rem = product - (q << shift);
        const u128 half = u128{1} << (shift - 1);
        if (rem > half || (rem == half && (q & 1))) ++q;  // to nearest, ties to even
        if (q < kPow10[16]) {
            --x;
            continue;
        }
        if (q >= kPow10[17]) {
            if (q == kPow10[17]) {
                digits = kPow10[16];
                ++x;
                break;
            }
            ++x;
            continue;
        }
        digits = static_cast<std::uint64_t>(q);
        break;
    }
    if (digits == 0)
        return static_cast<std::size_t>(std::to_chars(out, out + 32, v, std::chars_format::general, 17).ptr - out);
    // 17 digits: one, then two groups of eight in 32-bit arithmetic
    char d[17];
    d[0] = static_cast<char>('0' + digits / 10000000000000000ull);
    const std::uint64_t low16 = digits % 10000000000000000ull;
    for (int g = 0; g < 2; ++g) {
        auto group = static_cast<std::uint32_t>(g == 0 ? low16 / 100000000 : low16 % 100000000);
        for (int i = 7; i >= 0; --i, group /= 10) d[1 + 8 * g + i] = static_cast<char>('0' + group % 10);
    }
    int n = 17;
    while (n > 1 && d[n - 1] == '0') --n;
    if (negative) *p++ = '-';
    if (x < -4) {
        *p++ = d[0];
        if (n > 1) {
            *p++ = '.';
            std::memcpy(p, d + 1, static_cast<std::size_t>(n - 1));
            p += n - 1;
        }
        *p++ = 'e';
        *p++ = '-';
        *p++ = static_cast<char>('0' + (-x) / 10);
        *p++ = static_cast<char>('0' + (-x) % 10);
    } else if (x < 0) {
        *p++ = '0';
        *p++ = '.';
        std::memset(p, '0', static_cast<std::size_t>(-x - 1));
        p += -x - 1;
        std::memcpy(p, d, static_cast<std::size_t>(n));
        p += n;
    } else {
        const int whole = x + 1;  // at most 16 digits before the point
        std::memcpy(p, d, static_cast<std::size_t>(whole));
        p += whole;
        if (n > whole) {
            *p++ = '.';
            std::memcpy(p, d + whole, static_cast<std::size_t>(n - whole));
            p += n - whole;
        }
    }
    return static_cast<std::size_t>(p - out);
}

namespace {

// The eight levels of samples from .. from + n - 1 as bytes, bit k = CHk.
void packWords(const Samples& s, std::uint32_t from, std::uint32_t n, std::uint8_t* out) {
    for (std::uint32_t j = 0; j < n; ++j) out[j] = s.channels[0][from + j] != 0;
    for (unsigned k = 1; k < 8; ++k) {
        const std::uint8_t* c = s.channels[k] + from;
        for (std::uint32_t j = 0; j < n; ++j) out[j] = static_cast<std::uint8_t>(out[j] | (c[j] != 0) << k);
    }
}

// ",b0,b1,...,b7\n" for every word.
struct LevelTails {
    std::array<std::array<char, 17>, 256> text{};
    LevelTails() {
        for (unsigned w = 0; w < 256; ++w) {
            for (unsigned k = 0; k < 8; ++k) {
                text[w][2 * k] = ',';
                text[w][2 * k + 1] = static_cast<char>('0' + ((w >> k) & 1));
            }
            text[w][16] = '\n';
        }
    }
};

// Formats samples [0, count) in chunks, two chunks at a time on two threads,
// and hands them to the output in order. format(from, n, out) writes samples
// from .. from + n - 1 (at most bytesPerSample each) and returns the bytes.
template <class Formatter>
void formatInPairs(std::uint32_t count, std::size_t bytesPerSample, Output& out, Formatter format) {
    // About one pair per percent, so that the progress moves as it should.
    const std::uint32_t chunk = std::clamp<std::uint32_t>(count / 200, 256, 16384);
    std::vector<char> first(chunk * bytesPerSample), second(chunk * bytesPerSample);
    for (std::uint32_t i = 0; i < count; i += 2 * chunk) {
        const std::uint32_t a = std::min(chunk, count - i);
        const std::uint32_t b = std::min(chunk, count - i - a);
        std::size_t secondBytes = 0;
        std::thread worker;
        if (b > 0) worker = std::thread([&] { secondBytes = format(i + a, b, second.data()); });
        const std::size_t firstBytes = format(i, a, first.data());
        if (worker.joinable()) worker.join();
        out.append(std::string_view(first.data(), firstBytes));
        out.append(std::string_view(second.data(), secondBytes));
        out.done(i + a + b);
    }
}

void writeCsv(const Samples& s, Output& out) {
    static const LevelTails tails;
    out.append("time_s,analog_v,ch0,ch1,ch2,ch3,ch4,ch5,ch6,ch7\n");
    // time (up to 24 bytes), volts (up to 24), the levels (17), a comma
    formatInPairs(s.count, 72, out, [&s](std::uint32_t from, std::uint32_t n, char* start) {
        constexpr std::uint32_t kWords = 256;
        std::uint8_t words[kWords];
        char* p = start;
        for (std::uint32_t i = from; i < from + n; i += kWords) {
            const std::uint32_t m = std::min(kWords, from + n - i);
            packWords(s, i, m, words);
            for (std::uint32_t j = 0; j < m; ++j) {
                p += formatSeconds((std::int64_t{s.firstIndex} + i + j) * s.samplingTime, p);
                *p++ = ',';
                p += formatG17(s.analog[i + j], p);
                std::memcpy(p, tails.text[words[j]].data(), 17);
                p += 17;
            }
        }
        return static_cast<std::size_t>(p - start);
    });
}

void writeNpy(const Samples& s, Content content, Output& out) {
    constexpr std::uint32_t kChunk = 1024;
    if (content == Content::Analog) {
        out.append(npyHeader("<f8", s.count));
        for (std::uint32_t i = 0; i < s.count; i += kChunk) {
            const std::uint32_t n = std::min(kChunk, s.count - i);
            char* p = out.room(n * 8);
            if constexpr (std::endian::native == std::endian::little) {
                std::memcpy(p, s.analog + i, n * 8);
            } else {
                for (std::uint32_t j = 0; j < n; ++j) {
                    const auto bits = std::bit_cast<std::uint64_t>(s.analog[i + j]);
                    for (int b = 0; b < 8; ++b) p[8 * j + b] = static_cast<char>(bits >> (8 * b));
                }
            }
            out.advance(n * 8);
            out.done(i + n);
        }
    } else {
        out.append(npyHeader("|u1", s.count));
        for (std::uint32_t i = 0; i < s.count; i += kChunk) {
            const std::uint32_t n = std::min(kChunk, s.count - i);
            packWords(s, i, n, reinterpret_cast<std::uint8_t*>(out.room(n)));
            out.advance(n);
            out.done(i + n);
        }
    }
}

// Identifier codes of CH0 ... CH7 and of the analog track; none starts a keyword or a time.
constexpr std::array<char, 9> kVcdIds{'!', '"', '%', '&', '\'', '(', ')', '*', '+'};

void writeVcd(const Samples& s, Output& out) {
    const VcdTimescale scale = vcdTimescaleFor(s.samplingTime);
    std::string head = "$version LYR $end\n$timescale " + scale.text + " $end\n$scope module lyr $end\n";
    for (int k = 0; k < 8; ++k)
        head += std::string("$var wire 1 ") + kVcdIds[k] + " CH" + std::to_string(k) + " $end\n";
    head += std::string("$var real 64 ") + kVcdIds[8] + " analog $end\n$upscope $end\n$enddefinitions $end\n";
    out.append(head);
    const auto stepUnits = static_cast<std::uint64_t>(s.samplingTime / scale.ns);
    auto time = [&](std::uint64_t index, char* p) {
        *p = '#';
        char* e = std::to_chars(p + 1, p + 31, index * stepUnits).ptr;
        *e++ = '\n';
        return e;
    };
    // A time line (up to 22 bytes), eight level lines (24), a real line (up to 28).
    formatInPairs(s.count, 80, out, [&](std::uint32_t from, std::uint32_t n, char* start) {
        constexpr std::uint32_t kWords = 256;
        std::uint8_t words[kWords];
        char* p = start;
        // A chunk compares its first sample with the one before it.
        unsigned word = 0;
        std::uint64_t analogBits = 0;
        if (from > 0) {
            packWords(s, from - 1, 1, words);
            word = words[0];
            analogBits = std::bit_cast<std::uint64_t>(s.analog[from - 1]);
        }
        for (std::uint32_t i = from; i < from + n; ++i) {
            if ((i - from) % kWords == 0) packWords(s, i, std::min(kWords, from + n - i), words);
            const unsigned w = words[(i - from) % kWords];
            const auto bits = std::bit_cast<std::uint64_t>(s.analog[i]);
            if (i > 0 && w == word && bits == analogBits) continue;
            p = time(std::uint64_t{s.firstIndex} + i, p);
            const unsigned changed = i == 0 ? 0xFF : w ^ word;
            for (int k = 0; k < 8; ++k) {
                if (!((changed >> k) & 1)) continue;
                *p++ = static_cast<char>('0' + ((w >> k) & 1));
                *p++ = kVcdIds[k];
                *p++ = '\n';
            }
            if (i == 0 || bits != analogBits) {
                *p++ = 'r';
                p += formatG17(s.analog[i], p);
                *p++ = ' ';
                *p++ = kVcdIds[8];
                *p++ = '\n';
            }
            word = w;
            analogBits = bits;
        }
        return static_cast<std::size_t>(p - start);
    });
    // The last sample lasts one sampling time.
    char* p = out.room(32);
    out.advance(static_cast<std::size_t>(time(std::uint64_t{s.firstIndex} + s.count, p) - p));
}

}  // namespace

ExportResult exportSamples(const std::string& path, const Samples& samples, const ExportOptions& options,
                           doc::ReadProgress* progress) {
    ExportResult result;
    if (!formatTakes(options.format, options.content)) {
        result.message = kContentRefused;
        return result;
    }
    wf::ReplacingFile file;
    if (!file.create(path)) {
        result.message = wf::kMsgWriteError;
        return result;
    }
    try {
        Output out(file, progress, samples.count);
        switch (options.format) {
        case Format::Csv: writeCsv(samples, out); break;
        case Format::Npy: writeNpy(samples, options.content, out); break;
        case Format::Vcd: writeVcd(samples, out); break;
        case Format::Wav: {
            const WavWriteResult w = writeWav(samples, options.wav, out);
            result.rateHz = w.rateHz;
            result.rateRounded = w.rateRounded;
            result.clipped = w.clipped;
            if (!w.ok) {
                result.message = wf::kMsgWriteError;
                return result;
            }
            break;
        }
        }
        // Without a commit the replacing writer leaves the target as it was.
        if (!out.flush() || !file.commit()) {
            result.message = wf::kMsgWriteError;
            return result;
        }
        out.done(samples.count);
    } catch (const std::bad_alloc&) {
        result.message = wf::kMsgWriteError;
        return result;
    }
    result.ok = true;
    return result;
}

}  // namespace lyr::interchange
