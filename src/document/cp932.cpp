#include "document/cp932.h"

#include <cstdio>

namespace lyr::document {

namespace {

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

void appendHex(std::string& out, unsigned value, int digits) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "<%0*X>", digits, value);
    out += buf;
}

bool isLead(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

int leadIndex(unsigned b) { return b <= 0x9F ? static_cast<int>(b - 0x81) : static_cast<int>(b - 0xE0 + 31); }

int trailIndex(unsigned b) {
    if (b >= 0x40 && b <= 0x7E) return static_cast<int>(b - 0x40);
    if (b >= 0x80 && b <= 0xFC) return static_cast<int>(b - 0x80 + 63);
    return -1;
}

}  // namespace

std::string cp932ToUtf8(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
        } else if (b >= 0xA1 && b <= 0xDF) {
            appendUtf8(out, 0xFF61 + (b - 0xA1));  // half-width katakana
        } else if (isLead(b) && i + 1 < bytes.size()) {
            const unsigned t = static_cast<unsigned char>(bytes[i + 1]);
            const int ti = trailIndex(t);
            const std::uint16_t cp =
                ti < 0 ? 0 : detail::kCp932DoubleByte[leadIndex(b) * detail::kCp932TrailCount + ti];
            if (cp != 0) {
                appendUtf8(out, cp);
                ++i;
            } else if (ti >= 0) {
                appendHex(out, (b << 8) | t, 4);
                ++i;
            } else {
                appendHex(out, b, 2);  // the next byte starts a character of its own
            }
        } else {
            appendHex(out, b, 2);
        }
    }
    return out;
}

}  // namespace lyr::document
