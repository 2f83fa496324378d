#include "digital/bus_pattern_form.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "digital/word_fill.h"

namespace lyr::digital {

using forms::realField;
using forms::timeField;

namespace {

// "0x50", "50h" or decimal "80"; 0 .. 0x7F.
bool parseAddress(const std::string& text, std::uint8_t& out) {
    std::string digits = text;
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits = digits.substr(2);
        base = 16;
    }
    if (digits.empty() || digits.size() > 3) return false;
    unsigned value = 0;
    for (char c : digits) {
        int d = -1;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        if (d < 0) return false;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    }
    if (value > 0x7F) return false;
    out = static_cast<std::uint8_t>(value);
    return true;
}

}  // namespace

BusPatternForm::BusPatternForm(Prompter& prompter) : DigitalEditFrame(prompter) {
    setBufferCount(3);
    addField(realField("rate", "レート", "：", "bps"));
    addField(timeField("gap", "バイト間隔", "："));
    addField(timeField("lead", "リード時間", "："));
    addField(timeField("lag", "ラグ時間", "："));
    addField(realField("address", "アドレス", "：", ""));
    addField(realField("hex", "データ", "：", "(16進)"));
}

int BusPatternForm::roleCount() const {
    switch (protocol()) {
    case BusProtocol::Uart: return 1;
    case BusProtocol::Spi: return 3;
    case BusProtocol::I2c: return 2;
    }
    return 1;
}

void BusPatternForm::load(const document::EditRequest<Settings>& request) {
    s_ = request.settings;
    const int k = request.channel;
    if (k < 0 || k >= kChannels) return;
    for (std::size_t role = 1; role < s_.channels.size(); ++role)
        if (s_.channels[role] == k) s_.channels[role] = s_.channels[0];
    s_.channels[0] = k;
}

void BusPatternForm::store(document::EditRequest<Settings>& request) const { request.settings = settings(); }

BusPatternForm::Settings BusPatternForm::settings() const {
    Settings s = s_;
    s.rate = field(kRate).text;
    s.gap = field(kGap).text;
    s.gapUnit = field(kGap).unit;
    s.lead = field(kLead).text;
    s.leadUnit = field(kLead).unit;
    s.lag = field(kLag).text;
    s.lagUnit = field(kLag).unit;
    s.address = field(kAddress).text;
    if (source_ == kDirect) s.hex = field(kHex).text;
    return s;
}

void BusPatternForm::fillFields() {
    f(kRate).text = s_.rate;
    f(kGap).text = s_.gap;
    f(kGap).unit = document::standardTimeUnit(s_.gapUnit);
    f(kLead).text = s_.lead;
    f(kLead).unit = document::standardTimeUnit(s_.leadUnit);
    f(kLag).text = s_.lag;
    f(kLag).unit = document::standardTimeUnit(s_.lagUnit);
    f(kAddress).text = s_.address;
    f(kHex).text = s_.hex;
}

void BusPatternForm::changed() {
    markSegmentStale();
    refreshControls();
}

void BusPatternForm::setProtocol(BusProtocol p) {
    s_.protocol = static_cast<int>(p);
    changed();
}
void BusPatternForm::setRoleChannel(int role, int channel) {
    if (role < 0 || role > 2 || channel < 0 || channel >= kChannels) return;
    s_.channels[static_cast<std::size_t>(role)] = channel;
    changed();
}
void BusPatternForm::setDataBits(int bits) {
    s_.dataBits = bits;
    changed();
}
void BusPatternForm::setParity(Parity parity) {
    s_.parity = static_cast<int>(parity);
    changed();
}
void BusPatternForm::setStopBits(int bits) {
    s_.stopBits = bits;
    changed();
}
void BusPatternForm::setIdle(int level) {
    s_.idle = level;
    changed();
}
void BusPatternForm::setLsbFirst(bool lsbFirst) {
    s_.lsbFirst = lsbFirst;
    changed();
}
void BusPatternForm::setSpiMode(int mode) {
    s_.spiMode = mode;
    changed();
}
void BusPatternForm::setMsbFirst(bool msbFirst) {
    s_.msbFirst = msbFirst;
    changed();
}
void BusPatternForm::setWordBits(int bits) {
    s_.wordBits = bits;
    changed();
}
void BusPatternForm::setChipSelectActiveLow(bool low) {
    s_.csActiveLow = low;
    changed();
}
void BusPatternForm::setRead(bool read) {
    s_.read = read;
    changed();
}
void BusPatternForm::setRepeatedStart(bool repeated) {
    s_.repeatedStart = repeated;
    changed();
}
void BusPatternForm::setAfterIdle(bool idle) {
    s_.afterIdle = idle;
    changed();
}
void BusPatternForm::setSource(int source) {
    if ((source != kDirect && source != kFile) || source == source_) return;
    source_ = source;
    changed();
}

bool BusPatternForm::loadFile(const std::string& path, document::ReadProgress* progress,
                            const std::function<void()>& read) {
    const LoadResult r = loadParallelFile(path, loaded_, progress);
    if (read) read();
    if (r.ignored) return false;
    if (!r.message.empty()) prompter().tell(r.message, PromptIcon::Warning);
    path_ = r.loaded ? path : std::string();
    if (r.loaded) markSegmentStale();
    refreshControls();
    return r.loaded;
}

void BusPatternForm::setBytes(const std::uint8_t* bytes, std::size_t count) {
    if (!loaded_.spare() && !loaded_.allocate()) return;
    count = std::min(count, LoadedEntries::kCapacity);
    if (count) std::memcpy(loaded_.spare(), bytes, count);
    loaded_.adopt(count);
    source_ = kFile;
    changed();
}

void BusPatternForm::setProblem(const char* english, const char* message) {
    problem_ = english;
    problemMessage_ = message;
}

bool BusPatternForm::readBytes() {
    if (source_ == kFile) {
        bytes_.assign(loaded_.data(), loaded_.data() + loaded_.count());
        return !bytes_.empty();
    }
    std::string text = field(kHex).text;
    const std::size_t n = hexTextWords(text);
    if (n == 0) return false;
    bytes_.resize(n);
    return wordsFromHexText(text, bytes_.data(), n);
}

std::uint64_t BusPatternForm::patternSamples() const {
    const std::int64_t ts = samplingTime();
    switch (protocol()) {
    case BusProtocol::Uart: {
        UartParams p{samplesPerBit_, s_.dataBits, static_cast<Parity>(s_.parity), s_.stopBits,
                     static_cast<std::uint8_t>(s_.idle), s_.lsbFirst,
                     static_cast<std::uint64_t>(field(kGap).time / ts)};
        return uartSamples(p, bytes_.size());
    }
    case BusProtocol::Spi: {
        const auto lead = field(kLead).text.empty() ? samplesPerBit_ : static_cast<std::uint64_t>(field(kLead).time / ts);
        const auto lag = field(kLag).text.empty() ? samplesPerBit_ : static_cast<std::uint64_t>(field(kLag).time / ts);
        SpiParams p{samplesPerBit_, s_.spiMode, s_.msbFirst, s_.wordBits, s_.csActiveLow, lead, lag};
        return spiSamples(p, bytes_.size());
    }
    case BusProtocol::I2c: {
        I2cParams p{samplesPerBit_, 0, s_.read, s_.repeatedStart};
        return i2cSamples(p, bytes_.size());
    }
    }
    return 0;
}

void BusPatternForm::testKindFields() {
    const std::int64_t t = totalTime(), ts = samplingTime();
    const BusProtocol proto = protocol();
    setProblem("", "");
    achieved_.clear();
    samplesPerBit_ = 0;
    pattern_ = 0;

    // The rate: one bit (UART, I2C) or one clock (SPI) in whole samples,
    // at least one sample per level.
    FormField& rate = f(kRate);
    rate.unitText = proto == BusProtocol::Uart ? "bps" : "Hz";
    double r = 0.0;
    const std::uint64_t minimum = proto == BusProtocol::Uart ? 1 : 2;
    bool rateOk = document::parseReal(rate.text, r) && std::isfinite(r) && r > 0.0;
    if (rateOk) {
        const double bitNs = 1e9 / r;
        const double samples = std::round(bitNs / static_cast<double>(ts));
        rateOk = bitNs >= static_cast<double>(minimum * ts) && samples <= static_cast<double>(kCapacity);
        if (rateOk) {
            samplesPerBit_ = static_cast<std::uint64_t>(samples);
            const double made = 1e9 / (static_cast<double>(samplesPerBit_) * static_cast<double>(ts));
            char text[64];
            std::snprintf(text, sizeof text, "%.3f %s, ", made, rate.unitText.c_str());
            achieved_ = text + document::formatErrorPercent((made - r) / r * 100.0);
        }
    }
    rate.real = r;
    setValid(rate, rateOk);

    auto testTime = [&](std::size_t i, bool used, bool emptyAllowed) {
        FormField& x = f(i);
        x.enabled = used;
        if (!used || (emptyAllowed && x.text.empty())) {
            x.time = 0;
            setValid(x, true);
            return;
        }
        setValid(x, readTime(x) && x.time >= 0 && x.time <= t);
    };
    testTime(kGap, proto == BusProtocol::Uart, false);
    testTime(kLead, proto == BusProtocol::Spi, true);
    testTime(kLag, proto == BusProtocol::Spi, true);

    FormField& address = f(kAddress);
    address.enabled = proto == BusProtocol::I2c;
    std::uint8_t a = 0;
    setValid(address, !address.enabled || parseAddress(address.text, a));

    FormField& hex = f(kHex);
    hex.enabled = source_ == kDirect;
    const bool bytesOk = readBytes();
    setValid(hex, source_ == kFile || bytesOk);

    bool channelsOk = true;
    for (int i = 0; i < roleCount(); ++i)
        for (int j = 0; j < i; ++j)
            if (s_.channels[static_cast<std::size_t>(i)] == s_.channels[static_cast<std::size_t>(j)]) channelsOk = false;
    if (!channelsOk) setProblem("each line needs a channel of its own", "信号線ごとに別のﾁｬﾈﾙを選んでください");

    bool periodOk = false;
    std::int64_t period = 0;
    if (rateOk && bytesOk && channelsOk && field(kGap).valid && field(kLead).valid && field(kLag).valid) {
        const std::uint64_t n = patternSamples();
        if (n == ~std::uint64_t{0}) {
            setProblem("the options do not fit these bytes",
                       "この設定ではデータを送れません（16ビットのワードには偶数個のバイトが要ります）");
        } else if (n > sampleCount()) {
            setProblem("the pattern is longer than the waveform", "パターンが波形全体より長くなります");
        } else {
            pattern_ = n;
            // The fill from the pattern's end to the end of the waveform is
            // part of the segment; a pattern cut at that end has none.
            std::uint64_t segment = n;
            const FormField& start = field(kStartField);
            if (s_.afterIdle && start.valid) {
                const std::uint64_t rest = sampleCount() - static_cast<std::uint64_t>(start.time / ts);
                segment = std::max(segment, rest);
            }
            period = static_cast<std::int64_t>(segment) * ts;
            periodOk = n > 0;
        }
    }
    setPeriod(period, periodOk);
}

bool BusPatternForm::kindFieldsValid() const {
    for (std::size_t i = kRate; i <= kHex; ++i)
        if (!field(i).valid) return false;
    return periodValid();
}

bool BusPatternForm::build() {
    std::vector<GridAdjustment> changes;
    const BusProtocol proto = protocol();
    if (proto == BusProtocol::Uart && readTime(f(kGap))) truncateToGrid(f(kGap), "バイト間隔", changes);
    if (proto == BusProtocol::Spi) {
        if (!field(kLead).text.empty() && readTime(f(kLead))) truncateToGrid(f(kLead), "リード時間", changes);
        if (!field(kLag).text.empty() && readTime(f(kLag))) truncateToGrid(f(kLag), "ラグ時間", changes);
    }
    tellAdjustments(changes);
    testKindFields();
    if (!kindFieldsValid()) return false;
    const std::int64_t ts = samplingTime();
    std::array<Levels, 3> lines;
    for (std::size_t k = 0; k < 3; ++k) lines[k] = Levels(buffer(k), kCapacity);
    bool made = false;
    switch (proto) {
    case BusProtocol::Uart:
        made = generateUart(UartParams{samplesPerBit_, s_.dataBits, static_cast<Parity>(s_.parity), s_.stopBits,
                                       static_cast<std::uint8_t>(s_.idle), s_.lsbFirst,
                                       static_cast<std::uint64_t>(field(kGap).time / ts)},
                            bytes_, lines[0]);
        break;
    case BusProtocol::Spi: {
        const auto lead = field(kLead).text.empty() ? samplesPerBit_ : static_cast<std::uint64_t>(field(kLead).time / ts);
        const auto lag = field(kLag).text.empty() ? samplesPerBit_ : static_cast<std::uint64_t>(field(kLag).time / ts);
        made = generateSpi(SpiParams{samplesPerBit_, s_.spiMode, s_.msbFirst, s_.wordBits, s_.csActiveLow, lead, lag},
                           bytes_, lines[0], lines[1], lines[2]);
        break;
    }
    case BusProtocol::I2c: {
        std::uint8_t address = 0;
        parseAddress(field(kAddress).text, address);
        made = generateI2c(I2cParams{samplesPerBit_, address, s_.read, s_.repeatedStart}, bytes_, lines[0], lines[1]);
        break;
    }
    }
    if (made) {
        // Every driven line stays at the level its pattern ends with.
        const std::size_t end = segmentSamples();
        for (int k = 0; k < roleCount(); ++k) {
            std::uint8_t* line = buffer(static_cast<std::size_t>(k));
            if (end > pattern_) std::memset(line + pattern_, line[pattern_ - 1], end - pattern_);
        }
    }
    return made;
}

std::string BusPatternForm::layoutText() const {
    std::string text;
    switch (protocol()) {
    case BusProtocol::Uart: text = "アイドル1ビット、フレーム、アイドル1ビット"; break;
    case BusProtocol::Spi: text = "CS非アクティブ1クロック、リード～ラグ、CS非アクティブ1クロック"; break;
    case BusProtocol::I2c:
        text = s_.repeatedStart ? "バスフリー1クロック、スタート、データ、リピーテッドスタート（バス保持）"
                                : "バスフリー1クロック、スタート、データ、ストップ、バスフリー1クロック";
        break;
    }
    if (!s_.afterIdle) return text + "、以降は変更しない";
    const bool held = protocol() == BusProtocol::I2c && s_.repeatedStart;
    return text + (held ? "、以降バス保持" : "、以降アイドル");
}

std::vector<std::pair<int, std::size_t>> BusPatternForm::targets() const {
    std::vector<std::pair<int, std::size_t>> t;
    for (int i = 0; i < roleCount(); ++i) t.emplace_back(s_.channels[static_cast<std::size_t>(i)], static_cast<std::size_t>(i));
    return t;
}

}  // namespace lyr::digital
