// The readers of WAV, NumPy and VCD files: the same numbers as a text source,
// the limit and its warning, and the files that do not read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "interchange/export.h"
#include "interchange/npy.h"
#include "interchange/vcd.h"
#include "interchange/wav.h"
#include "interchange_files.h"

namespace lyr::interchange {
namespace {

namespace doc = lyr::document;
using test::python;

constexpr std::size_t kMax = doc::kMaxReadEntries;

class Readers : public ::testing::Test {
protected:
    std::vector<double> values = std::vector<double>(kMax);
    std::vector<std::uint8_t> words = std::vector<std::uint8_t>(kMax);
    test::ScratchFolder dir;
};

TEST_F(Readers, NpyAndWavGiveTheirNumbers) {
    // numbers every type can hold exactly
    const std::string text = "0 1 -1 0.5 -0.25 3 -7 0.125 100 -32768";
    test::putFileText(dir / "n.txt", text);
    const std::vector<double> expected{0, 1, -1, 0.5, -0.25, 3, -7, 0.125, 100, -32768};

    python(dir, R"(
import sys, numpy as np
vals = [float(x) for x in open(sys.argv[1]).read().split()]
for t in ('<f8', '>f8', '<f4', '<i4', '>i2'):
    np.save(sys.argv[2] + t.replace('<', 'le').replace('>', 'be') + '.npy', np.array(vals, dtype=t) if 'i' not in t else np.array(vals, dtype=np.float64).round().astype(t))
)", {dir / "n.txt", dir / "n_"});
    for (const char* type : {"lef8", "bef8", "lef4", "lei4", "bei2"}) {
        std::uint32_t count = 0;
        ASSERT_EQ(readNpyNumbers(dir / (std::string("n_") + type + ".npy"), values.data(), count), doc::ReadStatus::Ok)
            << type;
        ASSERT_EQ(count, expected.size()) << type;
        for (std::size_t i = 0; i < count; ++i) {
            // the integer arrays hold the numbers rounded
            const double want = type[2] == 'i' ? std::nearbyint(expected[i]) : expected[i];
            EXPECT_EQ(values[i], want) << type << " " << i;
        }
    }

    // a float WAV holds the volts, a PCM WAV the volts times full scale
    test::Stretch s(expected.size());
    for (std::size_t i = 0; i < s.size(); ++i) s.analog[i] = expected[i] / 32768.0;
    s.ts = 20;
    ASSERT_TRUE(exportSamples(dir / "f.wav", s.samples(), {Format::Wav}).ok);
    python(dir, R"(
import struct, sys, wave
vals = [float(x) for x in open(sys.argv[1]).read().split()]
w = wave.open(sys.argv[2], 'wb')
w.setnchannels(2); w.setsampwidth(2); w.setframerate(44100)
w.writeframes(b''.join(struct.pack('<hh', int(round(v)), 1234) for v in vals))
w.close()
)", {dir / "n.txt", dir / "pcm.wav"});
    const WavReadResult f = readWav(dir / "f.wav", values.data());
    ASSERT_EQ(f.status, doc::ReadStatus::Ok);
    EXPECT_EQ(f.intervalNs, 20);
    EXPECT_FALSE(f.intervalRounded);
    ASSERT_EQ(f.count, expected.size());
    for (std::size_t i = 0; i < f.count; ++i) EXPECT_EQ(values[i], expected[i] / 32768.0) << i;
    // the first of two channels; 44.1 kHz is 22,675.7 ns, rounded
    const WavReadResult p = readWav(dir / "pcm.wav", values.data());
    ASSERT_EQ(p.status, doc::ReadStatus::Ok);
    EXPECT_EQ(p.rateHz, 44100);
    EXPECT_EQ(p.intervalNs, 22676);
    EXPECT_TRUE(p.intervalRounded);
    ASSERT_EQ(p.count, expected.size());
    for (std::size_t i = 0; i < p.count; ++i) EXPECT_EQ(values[i], std::nearbyint(expected[i]) / 32768.0) << i;
}

TEST_F(Readers, OverTheLimitKeepsTheFirstEntries) {
    python(dir, R"(
import sys, numpy as np
n = 1048576
np.save(sys.argv[1], np.arange(n + 1, dtype='<f4'))
np.save(sys.argv[2], np.arange(n, dtype='<f8'))
np.save(sys.argv[3], (np.arange(n + 5) % 251).astype(np.uint8))
)", {dir / "over.npy", dir / "exact.npy", dir / "words.npy"});
    std::uint32_t count = 0;
    EXPECT_EQ(readNpyNumbers(dir / "over.npy", values.data(), count), doc::ReadStatus::OverLimit);
    EXPECT_EQ(count, kMax);
    EXPECT_EQ(values[kMax - 1], double(kMax - 1));
    EXPECT_EQ(readNpyNumbers(dir / "exact.npy", values.data(), count), doc::ReadStatus::Ok);
    EXPECT_EQ(count, kMax);
    std::size_t wordCount = 0;
    EXPECT_EQ(readNpyWords(dir / "words.npy", words.data(), kMax, wordCount), doc::ReadStatus::OverLimit);
    EXPECT_EQ(wordCount, kMax);
    EXPECT_EQ(words[1000], 1000 % 251);

    test::Stretch s(kMax + 1);
    ASSERT_TRUE(exportSamples(dir / "over.wav", s.samples(), {Format::Wav}).ok);
    const WavReadResult w = readWav(dir / "over.wav", values.data());
    EXPECT_EQ(w.status, doc::ReadStatus::OverLimit);
    EXPECT_EQ(w.count, kMax);

    // a dump whose last time lies past the limit's instants
    test::putFileText(dir / "long.vcd", "$timescale 1ns $end $var wire 1 ! a $end $enddefinitions $end #0 1! #" +
                                            std::to_string(10 * (kMax + 3)) + "\n");
    EXPECT_EQ(readVcdWords(dir / "long.vcd", 10, words.data(), kMax, wordCount), doc::ReadStatus::OverLimit);
    EXPECT_EQ(wordCount, kMax);
    EXPECT_EQ(words[kMax - 1], 1);
}

TEST_F(Readers, BrokenFilesGiveTheReadersMessages) {
    const std::string npyHead = npyHeader("<f8", 4);
    const struct {
        const char* name;
        std::string bytes;
        doc::ReadStatus status;
    } cases[] = {
        {"text.npy", "1 2 3\n", doc::ReadStatus::InvalidData},
        {"empty.npy", "", doc::ReadStatus::InvalidData},
        {"cut_header.npy", npyHead.substr(0, 30), doc::ReadStatus::InvalidData},
        {"short_data.npy", npyHead + std::string(3 * 8, '\0'), doc::ReadStatus::InvalidData},
        {"two_d.npy", npyHeader("<f8", 4).replace(npyHead.find("(4,)"), 4, "(2,2)") + std::string(32, '\0'),
         doc::ReadStatus::InvalidData},
        {"complex.npy", npyHeader("<c16", 1) + std::string(16, '\0'), doc::ReadStatus::InvalidData},
        {"nan.npy", npyHeader("<f8", 1) + std::string("\0\0\0\0\0\0\xf8\x7f", 8), doc::ReadStatus::InvalidData},
        {"text.wav", "RIFF but not really", doc::ReadStatus::InvalidData},
        {"missing.npy", "", doc::ReadStatus::OpenError},
        {"missing.wav", "", doc::ReadStatus::OpenError},
    };
    for (const auto& c : cases) {
        const std::string path = dir / c.name;
        if (c.status != doc::ReadStatus::OpenError) test::putFileText(path, c.bytes);
        std::uint32_t count = 99;
        const doc::ReadStatus got = std::string(c.name).ends_with(".wav")
                                        ? readWav(path, values.data()).status
                                        : readNpyNumbers(path, values.data(), count);
        EXPECT_EQ(got, c.status) << c.name;
    }
    // a float array is not a word array
    test::putFileText(dir / "f.npy", npyHeader("<f8", 1) + std::string(8, '\0'));
    std::size_t n = 0;
    EXPECT_EQ(readNpyWords(dir / "f.npy", words.data(), kMax, n), doc::ReadStatus::InvalidData);
}

TEST_F(Readers, VcdSamplesTheChannelsEveryInterval) {
    const auto read = [&](const std::string& text, std::int64_t interval, std::size_t& n) {
        test::putFileText(dir / "d.vcd", text);
        return readVcdWords(dir / "d.vcd", interval, words.data(), kMax, n);
    };
    const std::string head = "$date today $end\n$timescale 10 ns $end\n$scope module top $end\n";
    std::size_t n = 0;
    // named channels in any order, an alias, a vector-valued wire, x and z as 0;
    // a change exactly at a sampling instant counts there
    ASSERT_EQ(read(head + "$var wire 1 # CH2 $end\n$var wire 1 ! CH0 $end\n$var wire 1 x other $end\n"
                          "$var wire 1 ab CH7 $end\n$var real 64 r analog $end\n$upscope $end\n$enddefinitions $end\n"
                          "#0\n$dumpvars\n1!\n0#\n1x\nb1 ab\nr0.5 r\n$end\n#3\n0!\n1#\n#5 z! x# b0 ab #8\n",
                   20, n),
              doc::ReadStatus::Ok);
    // instants 0, 20, 40, 60 ns below the end at 80 ns
    EXPECT_EQ(std::vector<std::uint8_t>(words.begin(), words.begin() + std::ptrdiff_t(n)),
              (std::vector<std::uint8_t>{0x81, 0x81, 0x84, 0x00}));
    // no CHk: the first eight 1-bit wires in their order; before the first time, 0
    ASSERT_EQ(read("$timescale 1us $end $var reg 4 % bus $end $var wire 1 a A $end $var wire 1 b B $end "
                   "$enddefinitions $end #2 1b #4 1a 0b #5",
                   1000, n),
              doc::ReadStatus::Ok);
    EXPECT_EQ(std::vector<std::uint8_t>(words.begin(), words.begin() + std::ptrdiff_t(n)),
              (std::vector<std::uint8_t>{0, 0, 2, 2, 1}));

    // an export read back at the export's own rate gives its words
    const test::Stretch s = test::mixedStretch(4000, 30);
    ASSERT_TRUE(exportSamples(dir / "e.vcd", s.samples(), {Format::Vcd}).ok);
    ASSERT_EQ(readVcdWords(dir / "e.vcd", 30, words.data(), kMax, n), doc::ReadStatus::Ok);
    ASSERT_EQ(n, s.size());
    for (std::size_t i = 0; i < n; ++i) ASSERT_EQ(words[i], s.word(i)) << i;

    // what does not read
    for (const char* broken : {
             "$timescale 1ns $end $var wire 1 ! CH0 $end #0 1!",                     // no end of definitions
             "$var wire 1 ! CH0 $end $enddefinitions $end #0 1! #5",                 // no timescale
             "$timescale 3ns $end $var wire 1 ! CH0 $end $enddefinitions $end #5",   // not 1, 10 or 100
             "$timescale 1ns $end $var real 64 ! v $end $enddefinitions $end #5",    // no 1-bit wire
             "$timescale 1ns $end $var wire 1 ! CH0 $end $enddefinitions $end #5 #4",  // time going back
             "$timescale 1ns $end $var wire 1 ! CH0 $end $enddefinitions $end #0 q! #5",  // not a value
             "$timescale 1ns $end $var wire 1 ! CH0 $end $enddefinitions $end #0 b1",     // no identifier
         }) {
        EXPECT_EQ(read(broken, 10, n), doc::ReadStatus::InvalidData) << broken;
    }
    EXPECT_EQ(readVcdWords(dir / "none.vcd", 10, words.data(), kMax, n), doc::ReadStatus::OpenError);
}

}  // namespace
}  // namespace lyr::interchange
