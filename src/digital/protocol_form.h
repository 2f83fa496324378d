#pragma once
// The bus-pattern editor's form on the digital edit frame: UART, SPI or I2C
// traffic from hexadecimal bytes onto the channels the protocol drives. The
// rate becomes a whole number of samples per bit (UART, I2C) or per clock
// (SPI); the achieved rate and its error are shown. Applying writes every
// driven channel with the chosen combine mode.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "digital/digital_edit_frame.h"
#include "digital/protocols.h"
#include "document/editor_contract.h"

namespace lyr::digital {

enum class BusProtocol { Uart = 0, Spi = 1, I2c = 2 };

class ProtocolForm : public DigitalEditFrame {
public:
    using Settings = document::ProtocolSettings;
    static constexpr std::size_t kRate = 1, kGap = 2, kLead = 3, kLag = 4, kAddress = 5, kHex = 6;
    explicit ProtocolForm(Prompter& prompter);
    const char* title() const override { return "ディジタルデータの作成　（ プロトコル ）"; }
    const char* memoryMessage() const override { return "ディジタル波形作成のためのメモリが確保できませんでした"; }

    void load(const document::EditRequest<Settings>& request);
    void store(document::EditRequest<Settings>& request) const;
    Settings settings() const;

    // The choices besides the fields; each re-tests the form.
    void setProtocol(BusProtocol protocol);
    BusProtocol protocol() const { return static_cast<BusProtocol>(s_.protocol); }
    // role: UART 0 data; SPI 0 clock, 1 data, 2 chip select; I2C 0 SCL, 1 SDA.
    void setRoleChannel(int role, int channel);
    int roleChannel(int role) const { return s_.channels[static_cast<std::size_t>(role)]; }
    int roleCount() const;
    void setDataBits(int bits);
    void setParity(Parity parity);
    void setStopBits(int bits);
    void setIdle(int level);
    void setLsbFirst(bool lsbFirst);
    void setSpiMode(int mode);
    void setMsbFirst(bool msbFirst);
    void setWordBits(int bits);
    void setChipSelectActiveLow(bool low);
    void setRead(bool read);
    void setRepeatedStart(bool repeated);
    // Bytes from a file instead of the text (the parallel editor's word reader).
    void setBytes(const std::uint8_t* bytes, std::size_t count);

    // The rate actually made, and its error against the one asked for
    // ("9615.385 bps, 0.160256410 %"); empty while the rate is invalid.
    const std::string& achievedRateText() const { return achieved_; }
    std::uint64_t samplesPerBit() const { return samplesPerBit_; }
    // Why "作成" is disabled beyond a field marker: "" when it is not.
    const std::string& problem() const { return problem_; }

    bool bufferHighlighted(std::size_t buffer) const override {
        return static_cast<int>(buffer) < roleCount();
    }

protected:
    void fillFields() override;
    void testKindFields() override;
    bool kindFieldsValid() const override;
    bool build() override;
    std::vector<std::pair<int, std::size_t>> targets() const override;

private:
    void changed();
    bool readBytes();
    std::uint64_t patternSamples() const;

    Settings s_;
    std::vector<std::uint8_t> bytes_;
    bool bytesFromFile_ = false;
    std::uint64_t samplesPerBit_ = 0;
    std::string achieved_, problem_;
};

}  // namespace lyr::digital
