// lyrtool edit uart|spi|i2c as scripts use it: the saved channels read back
// by the bus receivers of the digital tests (usage errors: EditCommand's table).
#include <gtest/gtest.h>

#include <fstream>

#include "digital/bus_decoders.h"
#include "lyrtool_run.h"

namespace lyrtool::test {
namespace {

using lyr::digital::Buffer;

class EditProtocol : public ToolTest {
protected:
    void SetUp() override { makeWaveform("in.lyr", "10ns", "3000"); }
    ToolRun edit(const std::vector<std::string>& args) { return ToolTest::edit("in.lyr", "out.lyr", {args}); }
    Buffer channel(int k) {
        auto doc = load("out.lyr");
        return Buffer(doc->digital(k), doc->digital(k) + doc->sampleCount());
    }
};

TEST_F(EditProtocol, EachBusReadsBackAsItsBytes) {
    // UART at 10 Mbaud: ten samples a bit, from 200 ns on, LSB first unless told.
    using lyr::digital::Parity;
    struct UartCase {
        std::vector<std::string> options;
        Parity parity;
        int stopBits;
        bool lsbFirst;
    };
    const UartCase uarts[] = {
        {{"--parity", "even", "--stop-bits", "2"}, Parity::Even, 2, true},
        {{"--order", "msb"}, Parity::None, 1, false},
    };
    for (const auto& c : uarts) {
        std::vector<std::string> args{"uart", "--channel", "3", "--baud", "10000000", "--start", "200ns", "--hex",
                                      "C0FFEE"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const auto r = edit(args);
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_NE(r.err.find("10000000.000 bps, 0.000000000 %"), std::string::npos) << r.err;
        Buffer line = channel(3);
        EXPECT_EQ(line[19], 0);
        line.erase(line.begin(), line.begin() + 20);
        const auto u = lyr::digital::decodeUart(line, line.size(), 10, 8, c.parity, c.stopBits, 1, c.lsbFirst);
        EXPECT_EQ(u.bytes, (Buffer{0xC0, 0xFF, 0xEE})) << c.options[0];
        EXPECT_EQ(u.errors, 0) << c.options[0];
    }

    // SPI mode 2, LSB first, a bytes file.
    std::ofstream(path("bytes.txt")) << "5A,0F\n";
    auto r = edit({"spi", "--clk", "0", "--mosi", "1", "--cs", "2", "--spi-mode", "2", "--rate", "10000000", "--order",
              "lsb", "--hex-file", path("bytes.txt")});
    ASSERT_EQ(r.status, 0) << r.err;
    int errors = 0;
    EXPECT_EQ(lyr::digital::decodeSpi(channel(0), channel(1), channel(2), 3000, 2, false, 8, true, errors),
              (Buffer{0x5A, 0x0F}));
    EXPECT_EQ(errors, 0);
    // A bytes file that does not read is a refused file, not a usage error.
    r = edit({"spi", "--clk", "0", "--mosi", "1", "--cs", "2", "--rate", "10000000", "--hex-file", path("none.txt")});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("--hex-file"), std::string::npos) << r.err;

    // I2C read with a repeated start.
    r = edit({"i2c", "--scl", "6", "--sda", "7", "--rate", "5000000", "--address", "0x3B", "--read",
              "--repeated-start", "--hex", "0102"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto i = lyr::digital::decodeI2c(channel(6), channel(7), 3000);
    EXPECT_EQ(i.conditions, "SS");
    EXPECT_EQ(i.bytes, (Buffer{0x77, 0x01, 0x02}));
    EXPECT_EQ(i.acks, "001");
}

}  // namespace
}  // namespace lyrtool::test
