#include "digital/data_forms.h"

#include <algorithm>

#include "digital/word_fill.h"
#include "document/quantities.h"

namespace lyr::digital {

namespace doc = lyr::document;
using forms::timeField;

std::int64_t clippedPeriod(std::size_t count, std::int64_t each, std::int64_t totalTime) {
    if (count == 0 || each <= 0) return 0;
    if (static_cast<std::uint64_t>(count) > static_cast<std::uint64_t>(totalTime / each)) return totalTime;
    return std::min<std::int64_t>(static_cast<std::int64_t>(count) * each, totalTime);
}

DataSourceForm::DataSourceForm(Prompter& prompter, const char* timeKey, const char* textKey)
    : DigitalEditFrame(prompter) {
    addField(timeField(timeKey, "周期時間", "："));
    addField(forms::field(FieldKind::Text, textKey, "直接入力", ""));
}

void DataSourceForm::setSource(int source) {
    if ((source != kDirect && source != kFile) || source == source_) return;
    source_ = source;
    markSegmentStale();
    refreshControls();
}

bool DataSourceForm::loadFile(const std::string& path, doc::ReadProgress* progress,
                              const std::function<void()>& read) {
    const LoadResult r = readFile(path, progress);
    if (read) read();
    if (r.ignored) return false;
    if (!r.message.empty()) prompter().tell(r.message, PromptIcon::Warning);
    path_ = r.loaded ? path : std::string();
    if (r.loaded) {
        fileRead(r);
        markSegmentStale();
    }
    refreshControls();
    return r.loaded;
}

void DataSourceForm::testKindFields() {
    const std::int64_t ts = samplingTime(), t = totalTime();
    FormField& time = f(kTime);
    setValid(time, readTime(time) && time.time >= ts && time.time <= t);
    FormField& text = f(kText);
    text.enabled = source_ == kDirect;
    if (source_ == kDirect) {
        entryCount_ = textEntries(text.text);
        setValid(text, entryCount_ > 0);
    } else {
        // The file source is always valid; the marker stays hidden.
        entryCount_ = loaded_.count();
        setValid(text, true);
    }
    const std::int64_t p = clippedPeriod(entryCount_, time.time, t);
    setPeriod(p, p >= ts && p <= t);
}

bool DataSourceForm::kindFieldsValid() const {
    return field(kTime).valid && field(kText).valid && periodValid();
}

bool DataSourceForm::prepare(std::size_t entries, std::uint64_t& h, std::size_t& n) {
    const std::int64_t ts = samplingTime(), t = totalTime();
    FormField& time = f(kTime);
    std::vector<GridAdjustment> changes;
    truncateToGrid(time, "インターバル時間", changes);
    tellAdjustments(changes);
    const std::int64_t p = clippedPeriod(entries, time.time, t);
    setPeriod(p, p >= ts && p <= t);
    if (time.time < ts || time.time > t || entries < 1) return false;
    h = static_cast<std::uint64_t>(time.time / ts);
    n = sampleCount();
    return true;
}

// ---- serial ----

SerialForm::SerialForm(Prompter& prompter) : DataSourceForm(prompter, "bit-time", "bits") {}

void SerialForm::load(const doc::EditRequest<Settings>& request) {
    settings_ = request.settings;
    channel_ = request.channel >= 0 && request.channel < kChannels ? request.channel : 0;
    source_ = settings_.source == kFile ? kFile : kDirect;
    rememberedText_ = request.text;
}

void SerialForm::store(doc::EditRequest<Settings>& request) const {
    request.settings = settings();
    request.text = field(kText).text;
}

SerialForm::Settings SerialForm::settings() const {
    Settings s = settings_;
    s.bitTime = field(kTime).time;
    s.bitTimeUnit = field(kTime).unit;
    s.channel = channel_;
    s.source = source_;
    return s;
}

void SerialForm::fillFields() {
    fillTime(f(kTime), settings_.bitTime, settings_.bitTimeUnit);
    f(kText).text = rememberedText_;
}

std::size_t SerialForm::textEntries(const std::string& text) const {
    // Blanks are refused here as at create, so an enabled "作成" never fails on them.
    std::string bits;
    return doc::isBinaryText(text, bits) ? text.size() : 0;
}

bool SerialForm::build() {
    if (!readTime(f(kTime))) return false;
    const std::uint8_t* bits = loadedEntries();
    std::size_t count = loadedCount();
    if (source_ == kDirect) {
        const std::string& text = field(kText).text;
        count = textEntries(text);
        if (count == 0) return false;
        // "0" and "1" carry their bit in bit 0, which is all the fill takes.
        bits = reinterpret_cast<const std::uint8_t*>(text.data());
    }
    std::uint64_t h = 0;
    std::size_t n = 0;
    if (!prepare(count, h, n)) return false;
    fillSerial(buffer(0), bits, count, h, n);
    return true;
}

// ---- parallel ----

ParallelForm::ParallelForm(Prompter& prompter) : DataSourceForm(prompter, "interval", "hex") { setBufferCount(kChannels); }

void ParallelForm::load(const doc::EditRequest<Settings>& request) {
    settings_ = request.settings;
    source_ = settings_.source == kFile ? kFile : kDirect;
    bitOrder_ = settings_.bitOrder == 1 ? 1 : 0;
    mask_ = settings_.channelMask;
    rememberedText_ = request.text;
}

void ParallelForm::store(doc::EditRequest<Settings>& request) const {
    request.settings = settings();
    request.text = field(kText).text;
}

ParallelForm::Settings ParallelForm::settings() const {
    Settings s = settings_;
    s.interval = field(kTime).time;
    s.intervalUnit = field(kTime).unit;
    s.bitOrder = bitOrder_;
    s.channelMask = mask_;
    s.source = source_;
    return s;
}

bool ParallelForm::allocateWork() {
    typedWords_ = allocator().bytes(kCapacity);
    return typedWords_ && DataSourceForm::allocateWork();
}

void ParallelForm::fillFields() {
    fillTime(f(kTime), settings_.interval, settings_.intervalUnit);
    std::string text = rememberedText_;
    if (text.size() % 2 != 0) text += '0';
    f(kText).text = text;
}

void ParallelForm::setBitOrder(int order) {
    if ((order != 0 && order != 1) || order == bitOrder_) return;
    bitOrder_ = order;
    markSegmentStale();
    refreshControls();
}

void ParallelForm::setChannelMask(std::uint8_t mask) {
    mask_ = mask;
    refreshControls();
}

void ParallelForm::setChannelChecked(int channel, bool checked) {
    if (channel < 0 || channel >= kChannels) return;
    const auto bit = static_cast<std::uint8_t>(1u << channel);
    setChannelMask(checked ? std::uint8_t(mask_ | bit) : std::uint8_t(mask_ & ~bit));
}

std::vector<std::pair<int, std::size_t>> ParallelForm::targets() const {
    std::vector<std::pair<int, std::size_t>> t;
    for (int k = 0; k < kChannels; ++k)
        if ((mask_ >> k) & 1) t.emplace_back(k, static_cast<std::size_t>(k));
    return t;
}

LoadResult ParallelForm::readFile(const std::string& path, doc::ReadProgress* progress) {
    // A value change dump is sampled every interval as the field holds it now.
    FormField interval = field(kTime);
    const std::int64_t ns = readTime(interval) ? interval.time : 0;
    return loadParallelSource(path, loaded_, progress, ns);
}

void ParallelForm::fileRead(const LoadResult& r) {
    if (!r.interval) return;
    // A waveform file brings its sampling time and the plain bit order.
    int unit = 0;
    doc::formatTimeAuto(*r.interval, unit);
    fillTime(f(kTime), *r.interval, unit);
    bitOrder_ = 0;
}

std::size_t ParallelForm::textEntries(const std::string& text) const { return hexTextWords(text); }

bool ParallelForm::build() {
    if (!readTime(f(kTime))) return false;
    const std::uint8_t* words = loadedEntries();
    std::size_t count = loadedCount();
    if (source_ == kDirect) {
        std::string& text = f(kText).text;
        if (!wordsFromHexText(text, typedWords_.get(), kCapacity)) return false;
        words = typedWords_.get();
        count = text.size() / 2;
    } else if (count == 0) {
        return false;
    }
    std::uint64_t h = 0;
    std::size_t n = 0;
    if (!prepare(count, h, n)) return false;
    std::uint8_t* segments[kChannels];
    for (int k = 0; k < kChannels; ++k) segments[k] = buffer(static_cast<std::size_t>(k));
    fillParallel(segments, words, std::min<std::size_t>(count, kCapacity), bitOrder_, h, n);
    return true;
}

}  // namespace lyr::digital
