#include "document/waveform_file_raw.h"

#include <algorithm>
#include <bit>
#include <new>
#include <vector>

namespace lyr::document::wavefile {

namespace {

FileResult fail(const char* message) { return {false, message}; }
FileResult success() { return {true, kMsgOk}; }

// The analog section is read straight into the doubles; on a big-endian
// machine the bytes are turned round in place afterwards.
void fixByteOrder(double* values, std::size_t n) {
    if constexpr (std::endian::native != std::endian::little) {
        auto* bytes = reinterpret_cast<std::uint8_t*>(values);
        for (std::size_t i = 0; i < n; ++i) values[i] = getF64(bytes + 8 * i);
    } else {
        (void)values;
        (void)n;
    }
}

FileResult readCurrent(ByteSource& in, std::uint32_t expectedVersion, WaveformFileContents& out) {
    if (in.size() < kHeaderSize) return fail(kMsgFormatError);
    HeaderBytes headerBytes;
    if (!in.readExact(headerBytes.data(), headerBytes.size())) return fail(kMsgReadError);
    if (!checkHeader(headerBytes)) return fail(kMsgFormatError);
    HeaderFields header = decodeHeader(headerBytes);
    const std::uint32_t n = header.sampleCount;
    // The sample count is bounded by the header check, and the length must
    // match it exactly before anything is allocated for the samples.
    if (in.size() != currentFileSize(n)) return fail(kMsgFormatError);

    out.analog.resize(n);
    if (!in.readExact(out.analog.data(), std::size_t(n) * sizeof(double))) return fail(kMsgReadError);
    fixByteOrder(out.analog.data(), n);
    out.digital.resize(n);
    if (!in.readExact(out.digital.data(), n)) return fail(kMsgReadError);

    out.settingsFromFile = false;
    if (header.formatVersion == expectedVersion) {
        if (!in.readExact(out.settingsBlock.data(), kSettingsBlockSize)) return fail(kMsgReadError);
        if (!settingsBlockChecksumOk(out.settingsBlock)) return fail(kMsgFormatError);
        out.settingsFromFile = true;
    } else {
        out.settingsBlock.fill(0);
    }
    out.format = FileFormat::Lyr;
    out.header = std::move(header);
    return success();
}

FileResult readLegacy(ByteSource& in, WaveformFileContents& out) {
    if (in.size() < kHeaderSize) return fail(kMsgFormatError);
    HeaderBytes headerBytes;
    if (!in.readExact(headerBytes.data(), headerBytes.size())) return fail(kMsgReadError);
    if (!checkLegacyHeader(headerBytes)) return fail(kMsgFormatError);
    HeaderFields header = decodeHeader(headerBytes);
    const std::uint32_t n = header.sampleCount;
    if (in.size() < legacyMinFileSize(n)) return fail(kMsgFormatError);

    out.analog.resize(n);
    if (!in.readExact(out.analog.data(), std::size_t(n) * sizeof(double))) return fail(kMsgReadError);
    fixByteOrder(out.analog.data(), n);

    // The four channels follow one after another; they are gathered into the
    // packed bytes (bits 0..3), refusing any level byte other than 0 and 1.
    std::vector<std::uint8_t> channels(std::size_t(n) * kLegacyChannels);
    if (!in.readExact(channels.data(), channels.size())) return fail(kMsgReadError);
    out.digital.resize(n);
    std::uint8_t* packed = out.digital.data();
    std::fill_n(packed, n, std::uint8_t(0));
    for (std::size_t k = 0; k < kLegacyChannels; ++k) {
        const std::uint8_t* level = channels.data() + k * n;
        std::uint8_t bad = 0;
        for (std::size_t i = 0; i < n; ++i) {
            bad |= std::uint8_t(level[i] & 0xFE);
            packed[i] |= std::uint8_t((level[i] & 1) << k);
        }
        if (bad != 0) return fail(kMsgFormatError);
    }

    out.format = FileFormat::Syn;
    out.settingsFromFile = false;
    out.settingsBlock.fill(0);
    out.header = std::move(header);
    return success();
}

}  // namespace

FileResult readWaveformFrom(ByteSource& source, std::uint32_t expectedVersion,
                            WaveformFileContents& out) {
    try {
        return readCurrent(source, expectedVersion, out);
    } catch (const std::bad_alloc&) {
        return fail(kMsgReadMemory);
    }
}

FileResult readLegacyFrom(ByteSource& source, WaveformFileContents& out) {
    try {
        return readLegacy(source, out);
    } catch (const std::bad_alloc&) {
        return fail(kMsgReadMemory);
    }
}

FileResult readWaveformFile(const std::string& path, std::uint32_t expectedVersion,
                            WaveformFileContents& out) {
    InputFile file;
    if (!file.open(path)) return fail(kMsgOpenError);
    return readWaveformFrom(file, expectedVersion, out);
}

FileResult readLegacyFile(const std::string& path, WaveformFileContents& out) {
    InputFile file;
    if (!file.open(path)) return fail(kMsgOpenError);
    return readLegacyFrom(file, out);
}

FileResult writeWaveformFile(const std::string& path, const HeaderFields& header,
                             const SettingsBlock& settings, const double* analog,
                             const std::uint8_t* const digital[8]) {
    const std::size_t n = std::min<std::size_t>(header.sampleCount, kMaxFileSamples);
    HeaderFields fields = header;
    fields.sampleCount = std::uint32_t(n);
    HeaderBytes headerBytes;
    encodeHeader(fields, headerBytes);
    SettingsBlock block = settings;
    sealSettingsBlock(block);

    std::vector<std::uint8_t> packed;
    std::vector<std::uint8_t> analogBytes;
    try {
        packed.resize(n);
        if constexpr (std::endian::native != std::endian::little) analogBytes.resize(n * 8);
    } catch (const std::bad_alloc&) {
        return fail(kMsgWriteError);
    }
    packDigital(digital, n, packed.data());
    const void* analogData = analog;
    if constexpr (std::endian::native != std::endian::little) {
        encodeDoubles(analog, n, analogBytes.data());
        analogData = analogBytes.data();
    }

    ReplacingFile file;
    if (!file.create(path)) return fail(kMsgOpenError);
    const bool written = file.write(headerBytes.data(), headerBytes.size()) &&
                         file.write(analogData, n * sizeof(double)) &&
                         file.write(packed.data(), n) && file.write(block.data(), block.size());
    if (written && file.commit()) {
        FileResult r = success();
        if (file.inPlace()) r.notice = kMsgSavedInPlace;
        return r;
    }
    if (!file.abandon()) return {false, std::string(kMsgOldBytesKept) + "\n" + file.keptCopy()};
    return fail(kMsgWriteError);
}

}  // namespace lyr::document::wavefile
