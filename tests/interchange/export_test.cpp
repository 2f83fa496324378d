// The export formats read back by readers we did not write: Python's csv and
// wave modules, libsndfile, numpy.load and sigrok-cli's VCD input.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "document/waveform_file_format.h"
#include "document/waveform_file_io.h"
#include "interchange/export.h"
#include "interchange_files.h"

namespace lyr::interchange {
namespace {

using test::python;
using test::Stretch;

class Export : public ::testing::Test {
protected:
    ExportResult write(const std::string& name, const Stretch& s, ExportOptions o) {
        const ExportResult r = exportSamples(dir / name, s.samples(), o);
        EXPECT_TRUE(r.ok) << name << ": " << r.message;
        return r;
    }
    test::ScratchFolder dir;
};

TEST(ExportTimes, SecondsAreExactAndShortest) {
    const struct {
        std::int64_t ns;
        const char* text;
    } cases[] = {
        {0, "0.0"},           {10, "1e-08"},           {15, "1.5e-08"},         {99990, "9.999e-05"},
        {100000, "0.0001"},   {120000, "0.00012"},     {1000000000, "1.0"},     {123456789, "0.123456789"},
        {83886080, "0.08388608"}, {88046829568000, "88046.829568"}, {20000000000, "20.0"},
    };
    for (const auto& c : cases) {
        char out[32];
        EXPECT_EQ(std::string(out, formatSeconds(c.ns, out)), c.text) << c.ns;
    }
}

// The volts as the C library's "%.17g" writes them, over every magnitude,
// the powers of ten and their neighbours, halfway cases and random bits.
TEST(ExportVolts, SeventeenDigitsAsPrintf) {
    std::vector<double> values{0.0, -0.0, 0.1, -0.1, 1.0, 1.5, 1e-5, 9.9999999999999991e-06, 1e-4, 0.00012, 1e15,
                               4503599627370495.5, 4503599627370496.0, 1e16, 1e17, 1e300, 5e-324, 1e-310,
                               0.99999999999999989, 9.9999999999999982, 123456.78901234567, -2.5e-7};
    for (int e = -12; e <= 17; ++e) {
        const double p = std::pow(10.0, e);
        values.insert(values.end(), {p, std::nextafter(p, 0.0), std::nextafter(p, 1e300), -p});
    }
    std::uint64_t state = 88172645463325252ull;
    for (int i = 0; i < 300000; ++i) {
        state ^= state << 13, state ^= state >> 7, state ^= state << 17;
        double v;
        std::memcpy(&v, &state, 8);
        if (std::isfinite(v)) values.push_back(v);
        // and magnitudes a waveform holds
        values.push_back(std::ldexp(double(state >> 11), -53 - int(state % 40)) * (state & 1 ? 1 : -1));
    }
    for (double v : values) {
        char ours[40], theirs[40];
        const std::size_t n = formatG17(v, ours);
        std::snprintf(theirs, sizeof theirs, "%.17g", v);
        ASSERT_EQ(std::string(ours, n), theirs) << v;
    }
}

TEST_F(Export, CsvReadsBackThroughPythonCsv) {
    Stretch s = test::mixedStretch(3000, 30);
    s.first = 7;  // times count from the waveform's start
    write("a.csv", s, {Format::Csv});
    s.writeExpected(dir / "expected.bin");
    python(dir, R"(
import csv, struct, sys
from decimal import Decimal
path, exp, ts, first = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
data = open(exp, 'rb').read(); n = len(data) // 9
vals = struct.unpack('<%dd' % n, data[:8 * n]); words = data[8 * n:]
rows = list(csv.reader(open(path, newline='')))
assert rows[0] == ['time_s', 'analog_v'] + ['ch%d' % k for k in range(8)], rows[0]
assert len(rows) == n + 1, len(rows)
for i, row in enumerate(rows[1:]):
    assert Decimal(row[0]) == Decimal((first + i) * ts) / Decimal(10 ** 9), (i, row[0])
    assert repr(float(row[0])) == row[0], (i, row[0])
    assert row[1] == '%.17g' % vals[i], (i, row[1], vals[i])
    assert struct.pack('<d', float(row[1])) == struct.pack('<d', vals[i]), i
    assert [int(x) for x in row[2:]] == [(words[i] >> k) & 1 for k in range(8)], (i, row)
)", {dir / "a.csv", dir / "expected.bin", "30", "7"});
}

TEST_F(Export, WavReadsBackThroughWaveAndLibsndfile) {
    Stretch s = test::mixedStretch(2000, 20);  // 50 MHz
    s.writeExpected(dir / "expected.bin");
    // PCM: full scale at 1 V, the 1.25 V peaks clipped and counted
    const ExportResult pcm = write("pcm.wav", s, {Format::Wav, Content::Analog, WavSamples::Pcm16});
    EXPECT_EQ(pcm.rateHz, 50'000'000);
    EXPECT_FALSE(pcm.rateRounded);
    std::uint64_t beyond = 0;
    for (double v : s.analog) beyond += v > 1.0 || v < -1.0;
    EXPECT_GT(beyond, 0u);
    EXPECT_EQ(pcm.clipped, beyond);
    python(dir, R"(
import struct, sys, wave
path, exp, rate = sys.argv[1], sys.argv[2], int(sys.argv[3])
data = open(exp, 'rb').read(); n = len(data) // 9
vals = struct.unpack('<%dd' % n, data[:8 * n])
w = wave.open(path, 'rb')
assert (w.getnchannels(), w.getsampwidth(), w.getframerate(), w.getnframes()) == (1, 2, rate, n), w.getparams()
got = struct.unpack('<%dh' % n, w.readframes(n))
for i in range(n):
    assert got[i] == round(max(-1.0, min(1.0, vals[i])) * 32767), (i, got[i], vals[i])
)", {dir / "pcm.wav", dir / "expected.bin", "50000000"});

    // float: the volts as 32-bit floats, read with libsndfile
    const ExportResult fl = write("float.wav", s, {Format::Wav});
    EXPECT_EQ(fl.clipped, 0u);
    python(dir, R"(
import ctypes, struct, sys
path, exp, rate = sys.argv[1], sys.argv[2], int(sys.argv[3])
data = open(exp, 'rb').read(); n = len(data) // 9
vals = struct.unpack('<%dd' % n, data[:8 * n])
class Info(ctypes.Structure):
    _fields_ = [('frames', ctypes.c_int64), ('samplerate', ctypes.c_int), ('channels', ctypes.c_int),
                ('format', ctypes.c_int), ('sections', ctypes.c_int), ('seekable', ctypes.c_int)]
lib = ctypes.CDLL('libsndfile.so.1')
lib.sf_open.restype = ctypes.c_void_p
lib.sf_open.argtypes = [ctypes.c_char_p, ctypes.c_int, ctypes.POINTER(Info)]
lib.sf_readf_float.restype = ctypes.c_int64
lib.sf_readf_float.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_int64]
info = Info()
f = lib.sf_open(path.encode(), 0x10, ctypes.byref(info))
assert f, 'libsndfile refused the file'
assert (info.format, info.channels, info.samplerate, info.frames) == (0x010006, 1, rate, n), \
    (hex(info.format), info.channels, info.samplerate, info.frames)
buf = (ctypes.c_float * n)()
assert lib.sf_readf_float(f, buf, n) == n
for i in range(n):
    assert buf[i] == struct.unpack('<f', struct.pack('<f', vals[i]))[0], (i, buf[i], vals[i])
)", {dir / "float.wav", dir / "expected.bin", "50000000"});

    // 1/30 ns is not a whole number of Hz: rounded, and said so
    s.ts = 30;
    const ExportResult odd = write("odd.wav", s, {Format::Wav});
    EXPECT_TRUE(odd.rateRounded);
    EXPECT_EQ(odd.rateHz, 33'333'333);
    // the channels have no place in a WAV file
    const ExportResult refused = exportSamples(dir / "digital.wav", s.samples(), {Format::Wav, Content::Digital});
    EXPECT_FALSE(refused.ok);
    EXPECT_FALSE(std::filesystem::exists(dir / "digital.wav"));
}

TEST_F(Export, NpyLoadsBitExactInNumpy) {
    const Stretch s = test::mixedStretch(5000, 10);
    s.writeExpected(dir / "expected.bin");
    write("a.npy", s, {Format::Npy, Content::Analog});
    write("d.npy", s, {Format::Npy, Content::Digital});
    python(dir, R"(
import sys, numpy as np
a_path, d_path, exp = sys.argv[1:4]
data = open(exp, 'rb').read(); n = len(data) // 9
for path, dtype, want in ((a_path, '<f8', data[:8 * n]), (d_path, '|u1', data[8 * n:])):
    assert open(path, 'rb').read(8)[6:] == b'\x01\x00', 'format 1.0'
    a = np.load(path)
    assert a.dtype == np.dtype(dtype) and a.shape == (n,), (path, a.dtype, a.shape)
    assert a.tobytes() == want, path
)", {dir / "a.npy", dir / "d.npy", dir / "expected.bin"});
}

// 8N1 frames, least significant bit first, each bit `per` samples, idle high.
std::vector<std::uint8_t> uartLevels(const std::vector<std::uint8_t>& bytes, int per) {
    std::vector<std::uint8_t> levels(std::size_t(per) * 12, 1);
    for (std::uint8_t b : bytes) {
        std::vector<int> bits{0};
        for (int k = 0; k < 8; ++k) bits.push_back((b >> k) & 1);
        bits.push_back(1);
        bits.push_back(1);
        for (int bit : bits) levels.insert(levels.end(), std::size_t(per), std::uint8_t(bit));
    }
    levels.insert(levels.end(), std::size_t(per) * 4, 1);
    return levels;
}

TEST_F(Export, VcdDecodesInSigrokAndReadsInGtkwave) {
    const std::vector<std::uint8_t> message{0x48, 0x69, 0x21, 0x55, 0x00, 0xFF, 0xA5};
    const std::vector<std::uint8_t> line = uartLevels(message, 10);
    // the line on CH0; the other channels and the analog track busy beside it
    Stretch s = test::mixedStretch(line.size(), 1000);  // 1 us: 100,000 baud at 10 samples a bit
    s.channels[0] = line;
    write("uart.vcd", s, {Format::Vcd});
    const std::string text = [&] {
        const auto bytes = test::fileBytes(dir / "uart.vcd");
        return std::string(bytes.begin(), bytes.end());
    }();
    EXPECT_NE(text.find("$timescale 1us $end"), std::string::npos);
    EXPECT_NE(text.find("$var real 64 + analog $end"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\n#" + std::to_string(line.size()) + "\n")) << "ends one Ts after the last sample";

    const auto r = test::runProgram("/usr/bin/sigrok-cli",
                                    {"-I", "vcd", "-i", dir / "uart.vcd", "-P", "uart:rx=CH0:baudrate=100000",
                                     "-A", "uart=rx-data"},
                                    dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    std::string expected;
    for (std::uint8_t b : message) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "uart-1: %02X\n", b);
        expected += hex;
    }
    EXPECT_EQ(r.out, expected) << r.err;

    // GTKWave's own converter takes the dump and gives back the same changes
    ASSERT_EQ(test::runProgram("/usr/bin/vcd2fst", {dir / "uart.vcd", dir / "uart.fst"}, dir.path()).exitCode, 0);
    const auto back = test::runProgram("/usr/bin/fst2vcd", {dir / "uart.fst"}, dir.path());
    ASSERT_EQ(back.exitCode, 0) << back.err;
    const auto lines = [](const std::string& t, char first) {
        std::size_t n = 0;
        for (std::size_t at = 0; (at = t.find(std::string("\n") + first, at)) != std::string::npos; ++at) ++n;
        return n;
    };
    EXPECT_EQ(lines(back.out, '#'), lines(text, '#')) << "times";
    EXPECT_EQ(lines(back.out, 'r'), lines(text, 'r')) << "analog values";
    for (int k = 0; k < 8; ++k) EXPECT_NE(back.out.find(" CH" + std::to_string(k) + " $end"), std::string::npos);
    EXPECT_NE(back.out.find("$var real 64 "), std::string::npos);
}

TEST_F(Export, ProgressMovesByWholePercents) {
    const Stretch s = test::mixedStretch(20000, 10);
    for (const ExportOptions& o : {ExportOptions{Format::Csv}, ExportOptions{Format::Wav},
                                   ExportOptions{Format::Npy, Content::Digital}, ExportOptions{Format::Vcd}}) {
        struct : document::ReadProgress {
            std::vector<int> seen;
            void setPercent(int p) override { seen.push_back(p); }
        } progress;
        ASSERT_TRUE(exportSamples(dir / (std::string("p.") + formatName(o.format)), s.samples(), o, &progress).ok);
        ASSERT_GE(progress.seen.size(), 2u) << formatName(o.format);
        EXPECT_EQ(progress.seen.front(), 0);
        EXPECT_EQ(progress.seen.back(), 100);
        for (std::size_t i = 1; i < progress.seen.size(); ++i) EXPECT_GT(progress.seen[i], progress.seen[i - 1]);
        // a long write shows more than its start and end
        EXPECT_GT(progress.seen.size(), 10u) << formatName(o.format);
    }
}

TEST_F(Export, FailedWriteLeavesNoPartialFile) {
    const Stretch s = test::mixedStretch(200000, 10);
    // a folder that does not exist
    const ExportResult missing = exportSamples(dir / "none/a.csv", s.samples(), {Format::Csv});
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.message, document::wavefile::kMsgWriteError);

    // a disk that fills half-way: the old file stays, nothing else is left
    test::putFileText(dir / "old.npy", "old contents");
    struct Full : document::wavefile::IoSeam {
        std::size_t left = 100000;
        std::size_t allowWrite(std::size_t n) override {
            const std::size_t k = std::min(n, left);
            left -= k;
            return k;
        }
    } full;
    for (Format f : {Format::Csv, Format::Wav, Format::Npy, Format::Vcd}) {
        full.left = 100000;
        auto* before = document::wavefile::installIoSeam(&full);
        const ExportResult r = exportSamples(dir / "old.npy", s.samples(), {f});
        document::wavefile::installIoSeam(before);
        EXPECT_FALSE(r.ok) << formatName(f);
        const auto bytes = test::fileBytes(dir / "old.npy");
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "old contents") << formatName(f);
        EXPECT_EQ(dir.entries(), 1u) << formatName(f);
    }
}

TEST(ExportFormats, NamesExtensionsAndContents) {
    EXPECT_EQ(formatOfPath("/a/b.CSV"), Format::Csv);
    EXPECT_EQ(formatOfPath("x.wav"), Format::Wav);
    EXPECT_EQ(formatOfPath("x.tar.npy"), Format::Npy);
    EXPECT_EQ(formatOfPath("dump.Vcd"), Format::Vcd);
    EXPECT_EQ(formatOfPath("x.txt"), std::nullopt);
    EXPECT_EQ(formatOfPath("a.csv/file"), std::nullopt);
    EXPECT_EQ(formatFromName("npy"), Format::Npy);
    EXPECT_EQ(formatFromName("NPY"), std::nullopt);
    EXPECT_FALSE(formatTakes(Format::Wav, Content::Digital));
    EXPECT_TRUE(formatTakes(Format::Npy, Content::Digital));
}

}  // namespace
}  // namespace lyr::interchange
