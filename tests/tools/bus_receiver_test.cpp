// Bus patterns made by `lyrtool edit` and read by a receiver we did not
// write: sigrok's protocol decoders, over the lanes as raw logic (one byte a
// sample, bit k = CHk). Every row runs on a fresh waveform (lanes 0) and on
// lanes that are all 1, so a pattern must bring its own idle lines.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "lyrtool_run.h"

namespace lyrtool::test {
namespace {

constexpr const char* kSigrok = "/usr/bin/sigrok-cli";

struct Row {
    const char* name;
    std::vector<std::vector<std::string>> edits;  // run in order, each on the last one's output
    std::string decoder;                          // sigrok's -P
    std::string annotations;                      // sigrok's -A
    std::vector<std::string> expected;            // the values decoded, as sigrok prints them
};

class BusReceiver : public ToolTest {
protected:
    void SetUp() override {
        // 20,000 samples 100 ns apart; the "ones" copy holds every lane at 1.
        makeWaveform("zeros.lyr", "100ns", "20000");
        const auto r = edit("zeros.lyr", "ones.lyr", {{"parallel", "--interval", "2ms", "--hex", "FF", "--channels", "all"}});
        ASSERT_EQ(r.status, 0) << r.err;
    }

    // The lanes of a waveform as sigrok's binary input reads them.
    void writeRaw(const std::string& lyr, const std::string& raw) {
        auto doc = load(lyr);
        std::string bytes(doc->sampleCount(), '\0');
        for (int k = 0; k < 8; ++k)
            for (std::size_t i = 0; i < bytes.size(); ++i)
                bytes[i] = static_cast<char>(bytes[i] | (doc->digital(k)[i] << k));
        std::ofstream(path(raw), std::ios::binary) << bytes;
    }

    // What the decoder printed, one annotation a line without the decoder's
    // name ("uart-1: 48" gives "48").
    std::vector<std::string> decode(const std::string& raw, const Row& row) {
        const auto r = run(kSigrok, {"-I", "binary:numchannels=8:samplerate=10000000", "-i", path(raw), "-P",
                                     row.decoder, "-A", row.annotations});
        EXPECT_EQ(r.status, 0) << r.err;
        std::vector<std::string> values;
        std::istringstream lines(r.out);
        for (std::string line; std::getline(lines, line);)
            values.push_back(line.substr(line.find(": ") + 2));
        return values;
    }

    ToolRun run(const std::string& program, const std::vector<std::string>& args) const {
        const auto r = lyr::test::runProgram(program, args, dir);
        return {r.exitCode, r.out, r.err};
    }
};

std::vector<std::string> split(const std::string& words) {
    std::vector<std::string> out;
    std::istringstream in(words);
    for (std::string w; in >> w;) out.push_back(w);
    return out;
}

TEST_F(BusReceiver, EveryPatternDecodesToItsBytesOnFreshAndOnHighLanes) {
    using V = std::vector<std::string>;
    const std::string uartData = "uart=rx-data:rx-parity-err:rx-warnings";
    const std::string spiData = "spi=mosi-data:warnings";
    const std::string i2cData = "i2c=start:repeat-start:stop:address-read:address-write:data-read:data-write:warnings";
    const V uart = {"uart", "--channel", "2", "--start", "10us"};
    const V spi = {"spi", "--clk", "0", "--mosi", "1", "--cs", "3", "--rate", "1000000", "--start", "5us"};
    const V i2c = {"i2c", "--scl", "4", "--sda", "5", "--rate", "100000", "--address", "0x50", "--start", "20us"};
    auto with = [](V base, const V& more) {
        base.insert(base.end(), more.begin(), more.end());
        return base;
    };
    const std::vector<Row> rows = {
        {"uart 8N1 115200", {with(uart, {"--baud", "115200", "--hex", "48656C6C6F"})},
         "uart:rx=2:baudrate=115200", uartData, split("48 65 6C 6C 6F")},
        {"uart 5E1", {with(uart, {"--baud", "100000", "--data-bits", "5", "--parity", "even", "--hex", "0A1F03"})},
         "uart:rx=2:baudrate=100000:data_bits=5:parity=even", uartData, split("0A 1F 03")},
        {"uart 6O1", {with(uart, {"--baud", "100000", "--data-bits", "6", "--parity", "odd", "--hex", "2A153F"})},
         "uart:rx=2:baudrate=100000:data_bits=6:parity=odd", uartData, split("2A 15 3F")},
        {"uart 7M1", {with(uart, {"--baud", "100000", "--data-bits", "7", "--parity", "mark", "--hex", "417F00"})},
         "uart:rx=2:baudrate=100000:data_bits=7:parity=one", uartData, split("41 7F 00")},
        {"uart 8S2", {with(uart, {"--baud", "100000", "--parity", "space", "--stop-bits", "2", "--hex", "00FF5A"})},
         "uart:rx=2:baudrate=100000:parity=zero:stop_bits=2.0", uartData, split("00 FF 5A")},
        {"uart idle 0", {with(uart, {"--baud", "100000", "--idle", "0", "--hex", "C3A5"})},
         "uart:rx=2:baudrate=100000:invert_rx=yes", uartData, split("C3 A5")},
        {"uart msb first with a gap",
         {with(uart, {"--baud", "100000", "--order", "msb", "--gap", "30us", "--hex", "0180"})},
         "uart:rx=2:baudrate=100000:bit_order=msb-first", uartData, split("01 80")},
        {"spi mode 0", {with(spi, {"--hex", "A53C"})}, "spi:clk=0:mosi=1:cs=3", spiData, split("A5 3C")},
        {"spi mode 1", {with(spi, {"--spi-mode", "1", "--hex", "A53C"})}, "spi:clk=0:mosi=1:cs=3:cpha=1", spiData,
         split("A5 3C")},
        {"spi mode 2", {with(spi, {"--spi-mode", "2", "--hex", "A53C"})}, "spi:clk=0:mosi=1:cs=3:cpol=1", spiData,
         split("A5 3C")},
        {"spi mode 3 lsb first", {with(spi, {"--spi-mode", "3", "--order", "lsb", "--hex", "A53C"})},
         "spi:clk=0:mosi=1:cs=3:cpol=1:cpha=1:bitorder=lsb-first", spiData, split("A5 3C")},
        {"spi 16-bit words", {with(spi, {"--word", "16", "--hex", "BEEF0102"})},
         "spi:clk=0:mosi=1:cs=3:wordsize=16", spiData, split("BEEF 102")},
        // Lead and lag times inside the active span, chip select active high.
        {"spi select active high", {with(spi, {"--cs-active", "high", "--hex", "7E", "--lead", "3us", "--lag", "4us"})},
         "spi:clk=0:mosi=1:cs=3:cs_polarity=active-high", spiData, split("7E")},
        {"i2c write", {with(i2c, {"--write", "--hex", "0102"})}, "i2c:scl=4:sda=5", i2cData,
         {"Start", "Write", "Address write: 50", "Data write: 01", "Data write: 02", "Stop"}},
        {"i2c read", {with(i2c, {"--read", "--hex", "F00D"})}, "i2c:scl=4:sda=5", i2cData,
         {"Start", "Read", "Address read: 50", "Data read: F0", "Data read: 0D", "Stop"}},
        // A repeated START ends with the bus held; a second transfer follows it.
        {"i2c repeated start",
         {with(i2c, {"--write", "--repeated-start", "--hex", "10"}),
          {"i2c", "--scl", "4", "--sda", "5", "--rate", "100000", "--address", "0x50", "--start", "500us", "--read",
           "--hex", "AB"}},
         "i2c:scl=4:sda=5", i2cData,
         {"Start", "Write", "Address write: 50", "Data write: 10", "Start repeat", "Read", "Address read: 50",
          "Data read: AB", "Stop"}},
        // Two bursts in time order on one line: the second keeps what follows it.
        {"uart two bursts, the second with --after keep",
         {with(uart, {"--baud", "100000", "--hex", "4142"}),
          {"uart", "--channel", "2", "--start", "1ms", "--baud", "100000", "--hex", "43", "--after", "keep"}},
         "uart:rx=2:baudrate=100000", uartData, split("41 42 43")},
    };
    for (const char* base : {"zeros.lyr", "ones.lyr"}) {
        for (const Row& row : rows) {
            SCOPED_TRACE(std::string(row.name) + " on " + base);
            std::string in = base;
            for (std::size_t i = 0; i < row.edits.size(); ++i) {
                const std::string out = "out" + std::to_string(i) + ".lyr";
                const auto r = edit(in, out, {row.edits[i]});
                ASSERT_EQ(r.status, 0) << r.err;
                in = out;
            }
            writeRaw(in, "lanes.raw");
            EXPECT_EQ(decode("lanes.raw", row), row.expected);
        }
    }
}

}  // namespace
}  // namespace lyrtool::test
