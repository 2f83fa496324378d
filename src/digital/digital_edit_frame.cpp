#include "digital/digital_edit_frame.h"

#include <new>

#include "document/quantities.h"

namespace lyr::digital {

namespace doc = lyr::document;

namespace {
bool gFailReservations = false;
}  // namespace

std::unique_ptr<std::uint8_t[]> reserveLevels(std::size_t n) {
    if (gFailReservations) return nullptr;
    return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[n]);
}

void failNextReservation(bool fail) { gFailReservations = fail; }
void reservationsDone() { gFailReservations = false; }

DigitalEditFrame::DigitalEditFrame(Prompter& prompter) : prompter_(prompter) {
    fields_.push_back(analog::detail::timeField("start", "編集開始", "："));
}

DigitalEditFrame::~DigitalEditFrame() = default;

std::size_t DigitalEditFrame::addField(FormField field) {
    fields_.push_back(std::move(field));
    return fields_.size() - 1;
}

std::size_t DigitalEditFrame::fieldIndex(const std::string& key) const {
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].key == key) return i;
    return fields_.size();
}

bool DigitalEditFrame::open(const ChannelRefs& channels, std::int64_t totalTime, std::int64_t samplingTime,
                            std::int64_t editStart) {
    channels_ = channels;
    totalTime_ = totalTime;
    samplingTime_ = samplingTime > 0 ? samplingTime : 10;
    buffers_.clear();
    bool ok = true;
    for (std::size_t k = 0; k < bufferCount_ && ok; ++k) {
        buffers_.push_back(reserveLevels(kCapacity));
        ok = buffers_.back() != nullptr;
    }
    ok = ok && allocateWork();
    reservationsDone();
    if (!ok) {
        buffers_.clear();
        return false;
    }
    columns_.assign(bufferCount_, LevelColumns{});
    doc::formatTimeAuto(totalTime, labelUnit_);
    fillTime(fields_[kStartField], editStart, labelUnit_);
    fillFields();
    previewShown_ = previewCurrent_ = false;
    accepted_ = false;
    refreshControls();
    return true;
}

void DigitalEditFrame::setText(std::size_t i, const std::string& text) {
    if (i >= fields_.size() || fields_[i].text == text) return;
    fields_[i].text = text;
    if (isGenerationField(i)) markSegmentStale();
    refreshControls();
}

void DigitalEditFrame::setUnit(std::size_t i, int unit) {
    if (i >= fields_.size() || fields_[i].unit == unit) return;
    fields_[i].unit = document::standardTimeUnit(unit);
    unitChanged(i);
    if (isGenerationField(i)) markSegmentStale();
    refreshControls();
}

void DigitalEditFrame::setChannel(int channel) {
    if (channel < 0 || channel >= kChannels) return;
    channel_ = channel;
    channelChanged();
    refreshControls();
}

void DigitalEditFrame::markSegmentStale() {
    previewCurrent_ = false;  // the old preview stays, drawn pale
    if (!keepsStalePreview()) previewShown_ = false;
    applyEnabled_ = false;
}

DigitalEditFrame::State DigitalEditFrame::state() const {
    if (previewCurrent_) return State::Current;
    return previewShown_ ? State::Stale : State::Empty;
}

void DigitalEditFrame::refreshControls() {
    FormField& s = fields_[kStartField];
    setValid(s, readTime(s) && s.time >= 0 && s.time <= totalTime_ - samplingTime_);
    testKindFields();
    createEnabled_ = kindFieldsValid();
    applyEnabled_ = previewCurrent_ && s.valid && applyAllowed();
    setRangeLabels();
}

void DigitalEditFrame::setRangeLabels() {
    startLabel_.clear();
    endLabel_.clear();
    const FormField& s = fields_[kStartField];
    if (!s.valid || !periodValid_) return;
    std::string a, b;
    const std::string unit = doc::unitName(labelUnit_);
    if (doc::formatTimeIn(s.time, labelUnit_, a)) startLabel_ = a + " " + unit;
    if (doc::formatTimeIn(s.time + period_, labelUnit_, b)) endLabel_ = b + " " + unit;
}

bool DigitalEditFrame::truncateToGrid(FormField& field, const std::string& name,
                                      std::vector<GridAdjustment>& changes) {
    const std::int64_t q = field.time / samplingTime_ * samplingTime_;  // towards zero
    if (q == field.time) return false;
    GridAdjustment a{name, field.text, field.unit, {}};
    writeTime(field, q, field.unit);
    a.adjusted = field.text;
    changes.push_back(std::move(a));
    return true;
}

void DigitalEditFrame::tellAdjustments(const std::vector<GridAdjustment>& changes) {
    if (!changes.empty()) prompter_.tell(analog::gridAdjustMessage(changes));
}

bool DigitalEditFrame::createSegment() {
    const bool ok = !buffers_.empty() && build();
    if (ok) {
        previewShown_ = previewCurrent_ = true;
        computePreview();
    } else {
        prompter_.tell(kInvalidParameters, PromptIcon::Warning);
        previewShown_ = previewCurrent_ = false;
    }
    refreshControls();
    return ok;
}

bool DigitalEditFrame::applyDigitalSegment(DigitalApplyMode mode) {
    if (!applyEnabled_) return false;
    const std::int64_t ts = samplingTime_;
    const FormField& sf = fields_[kStartField];
    const std::uint64_t n = sampleCount();
    const std::uint64_t s = static_cast<std::uint64_t>(sf.time / ts);
    std::uint64_t count = static_cast<std::uint64_t>(period_ / ts);
    if (s + count > n) count = n - s;
    if (static_cast<std::int64_t>(s) * ts != sf.time) {
        std::string adjusted;
        doc::formatTimeIn(static_cast<std::int64_t>(s) * ts, sf.unit, adjusted);
        if (prompter_.ask(analog::gridAdjustMessage("編集開始", sf.text, sf.unit, adjusted), PromptButtons::OkCancel,
                          PromptIcon::Question) != PromptAnswer::Ok)
            return false;
    }
    for (const auto& [ch, k] : targets())
        if (ch >= 0 && ch < kChannels && channels_[static_cast<std::size_t>(ch)] && k < buffers_.size())
            combineDigital(channels_[static_cast<std::size_t>(ch)] + s, buffers_[k].get(), count, mode);
    accepted_ = true;
    return true;
}

void DigitalEditFrame::setPreviewWidth(int width) {
    previewWidth_ = width;
    if (previewShown_) computePreview();
}

void DigitalEditFrame::computePreview() {
    for (std::size_t k = 0; k < buffers_.size(); ++k)
        computeLevelColumns(buffers_[k].get(), segmentSamples(), previewWidth_, columns_[k]);
}

}  // namespace lyr::digital
