#pragma once
// The bus-pattern editor's form on the digital edit frame: UART, SPI or I2C
// traffic from hexadecimal bytes (typed, or read from a file as the parallel
// editor reads one) onto the channels the protocol drives. The
// rate becomes a whole number of samples per bit (UART, I2C) or per clock
// (SPI); the achieved rate and its error are shown. Applying writes every
// driven channel with the chosen combine mode.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "digital/data_readers.h"
#include "digital/digital_edit_frame.h"
#include "digital/bus_patterns.h"
#include "document/editor_contract.h"

namespace lyr::digital {

enum class BusProtocol { Uart = 0, Spi = 1, I2c = 2 };

class BusPatternForm : public DigitalEditFrame, public EntrySource {
public:
    using Settings = document::ProtocolSettings;
    static constexpr std::size_t kRate = 1, kGap = 2, kLead = 3, kLag = 4, kAddress = 5, kHex = 6;
    explicit BusPatternForm(Prompter& prompter);
    const char* title() const override { return "作成(プロトコル)"; }
    const char* memoryMessage() const override { return "ディジタル波形作成のためのメモリが確保できませんでした"; }

    // A request for one channel (a lane's popup) makes it the first line
    // (UART data, SPI clock, I2C SCL); a line that had it takes the old one.
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
    // What follows the pattern: the driven lines held at the level the
    // pattern ends with up to the end of the waveform (true, the segment then
    // reaches that end), or the samples left as they were.
    void setAfterIdle(bool idle);
    bool afterIdle() const { return s_.afterIdle; }
    // The pattern's samples without the fill that follows it.
    std::uint64_t patternSampleCount() const { return pattern_; }
    // The layout of the pattern in time, as the preview shows it.
    std::string layoutText() const;
    // Where the bytes come from: the hexadecimal text (kDirect) or the file
    // last read (kFile); a switch makes the preview stale.
    int source() const override { return source_; }
    void setSource(int source) override;
    bool browseEnabled() const override { return source_ == kFile; }
    // A file is read with the parallel editor's word reader; one that does
    // not read keeps the bytes loaded before.
    bool loadFile(const std::string& path, document::ReadProgress* progress,
                  const std::function<void()>& read = {}) override;
    const std::string& path() const override { return path_; }
    std::size_t textField() const override { return kHex; }
    // Bytes given directly as the file source (lyrtool's --hex-file).
    void setBytes(const std::uint8_t* bytes, std::size_t count);

    // The rate actually made, and its error against the one asked for
    // ("9615.385 bps, 0.160256410 %"); empty while the rate is invalid.
    const std::string& achievedRateText() const { return achieved_; }
    std::uint64_t samplesPerBit() const { return samplesPerBit_; }
    // Why "作成" is disabled beyond a field marker: "" when it is not; in
    // English (lyrtool) and as the dialog shows it.
    const std::string& problem() const { return problem_; }
    const std::string& problemMessage() const { return problemMessage_; }

    bool bufferHighlighted(std::size_t buffer) const override {
        return static_cast<int>(buffer) < roleCount();
    }

protected:
    bool allocateWork() override { return loaded_.allocate(); }
    void fillFields() override;
    void testKindFields() override;
    bool kindFieldsValid() const override;
    // With the fill the segment runs to the end of the waveform, so it
    // depends on the edit start.
    bool isGenerationField(std::size_t i) const override { return i != kStartField || s_.afterIdle; }
    bool build() override;
    std::vector<std::pair<int, std::size_t>> targets() const override;

private:
    void changed();
    void setProblem(const char* english, const char* message);
    bool readBytes();
    std::uint64_t patternSamples() const;

    Settings s_;
    std::vector<std::uint8_t> bytes_;
    int source_ = kDirect;
    LoadedEntries loaded_;
    std::string path_;
    std::uint64_t samplesPerBit_ = 0;
    std::uint64_t pattern_ = 0;
    std::string achieved_, problem_, problemMessage_;
};

}  // namespace lyr::digital
