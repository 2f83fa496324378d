#include "analog/analog_edit_frame.h"

#include "analog/form_fields.h"
#include "analog/generators.h"

#include <new>

#include "document/large_buffers.h"
#include "document/quantities.h"

namespace lyr::analog {

namespace doc = lyr::document;

namespace {

class HeapAllocator : public BufferAllocator {
public:
    std::unique_ptr<double[]> doubles(std::size_t n) override {
        std::unique_ptr<double[]> p(new (std::nothrow) double[n]);
        if (p) document::adviseLargeBuffer(p.get(), n * sizeof(double));
        return p;
    }
    std::unique_ptr<std::uint8_t[]> bytes(std::size_t n) override {
        return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[n]);
    }
};

}  // namespace

BufferAllocator& heapAllocator() {
    static HeapAllocator heap;
    return heap;
}

std::string gridAdjustMessage(const std::vector<GridAdjustment>& adjustments) {
    std::string text = "サンプリング時間の整数倍にするため、";
    for (const auto& a : adjustments) text += "[" + a.fieldName + "] ";
    text += "を調節します。\n";
    for (const auto& a : adjustments) {
        const std::string name = doc::unitName(a.unit);
        text += "\n" + a.typed + " " + name + "　→　" + a.adjusted + " " + name;
    }
    return text;
}

std::string gridAdjustMessage(const std::string& fieldName, const std::string& typed, doc::TimeUnit unit,
                              const std::string& adjusted) {
    return gridAdjustMessage(std::vector<GridAdjustment>{{fieldName, typed, unit, adjusted}});
}

AnalogEditFrame::AnalogEditFrame(Prompter& prompter) : prompter_(prompter) {
    fields_.push_back(detail::timeField("start", "編集開始", "："));
    fields_.push_back(detail::timeField("period", "期間", "："));
}

AnalogEditFrame::~AnalogEditFrame() = default;

std::size_t AnalogEditFrame::addField(FormField field) {
    fields_.push_back(std::move(field));
    return fields_.size() - 1;
}

std::size_t AnalogEditFrame::fieldIndex(const std::string& key) const {
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].key == key) return i;
    return fields_.size();
}

bool AnalogEditFrame::isGenerationField(std::size_t i) const {
    return i != kStartField && fields_[i].kind != FieldKind::Readout;
}

bool AnalogEditFrame::open(double* analog, std::int64_t totalTime, std::uint32_t samplingTime,
                           std::int64_t editStart) {
    analog_ = analog;
    totalTime_ = totalTime;
    samplingTime_ = samplingTime;
    segment_ = allocator_->doubles(kCapacity);
    if (segment_ && hasSketch()) sketchSamples_ = allocator_->doubles(kCapacity);
    if (!segment_ || (hasSketch() && !sketchSamples_) || !allocateWork()) {
        segment_.reset();
        sketchSamples_.reset();
        return false;
    }
    if (hasSketch()) {
        sketchCount_ = 0;
        sketchList_.begin(sketchRect_);
        buildSketch(sketchSamples_.get(), sketchCount_, sketchList_);
        if (graphsDrawn_) computePreviewColumns(sketchRect_, sketchSamples_.get(), sketchCount_, sketchColumns_);
    }
    doc::formatTimeAuto(totalTime, labelUnit_);
    FormField& s = fields_[kStartField];
    fillTime(s, editStart, labelUnit_);
    fillFields();
    previewShown_ = previewCurrent_ = false;
    accepted_ = false;
    refreshControls();
    return true;
}

void AnalogEditFrame::buildSketch(double*, std::size_t& count, SketchDisplayList&) { count = 0; }

void AnalogEditFrame::setText(std::size_t i, const std::string& text) {
    if (i >= fields_.size() || fields_[i].text == text) return;
    fields_[i].text = text;
    if (isGenerationField(i)) generationChanged(i);
    fieldEdited(i);
    refreshControls();
}

void AnalogEditFrame::setUnit(std::size_t i, doc::TimeUnit unit) {
    if (i >= fields_.size() || fields_[i].unit == unit) return;
    fields_[i].unit = unit;
    unitChanged(i);
    if (isGenerationField(i)) generationChanged(i);
    fieldEdited(i);
    refreshControls();
}

void AnalogEditFrame::setChoice(std::size_t i, int choice) {
    if (i >= fields_.size() || fields_[i].choice == choice) return;
    fields_[i].choice = choice;
    unitChanged(i);
    if (isGenerationField(i)) generationChanged(i);
    fieldEdited(i);
    refreshControls();
}

void AnalogEditFrame::selectRadio(int radio) {
    radio_ = radio;
    radioChanged();
    refreshControls();
}

bool AnalogEditFrame::kindFieldsValid() const {
    for (std::size_t i = kPeriodField + 1; i < fields_.size(); ++i)
        if (fields_[i].kind != FieldKind::Readout && !fields_[i].valid) return false;
    return true;
}

bool AnalogEditFrame::readKindFields() {
    bool ok = true;
    for (std::size_t i = kPeriodField + 1; i < fields_.size(); ++i) {
        FormField& field = fields_[i];
        if (field.kind == FieldKind::Time) ok = readTime(field) && ok;
        if (field.kind == FieldKind::Real) ok = readReal(field) && ok;
        if (field.kind == FieldKind::Count) ok = readCount(field) && ok;
    }
    return ok;
}

bool AnalogEditFrame::readTime(FormField& field) { return detail::readTime(field); }

bool AnalogEditFrame::readReal(FormField& field) {
    double v = 0;
    const bool ok = doc::parseReal(field.text, v);
    field.real = ok ? v : 0.0;
    return ok;
}

bool AnalogEditFrame::readCount(FormField& field) { return detail::readCount(field); }

void AnalogEditFrame::writeTime(FormField& field, std::int64_t value, doc::TimeUnit unit) {
    detail::writeTime(field, value, unit);
}

void AnalogEditFrame::fillTime(FormField& field, std::int64_t value, std::int32_t storedUnit) {
    field.unit = doc::standardTimeUnit(storedUnit);
    writeTime(field, value, field.unit);
}

void AnalogEditFrame::fillCount(FormField& field, std::int32_t stored) {
    field.text = std::to_string(static_cast<std::uint32_t>(stored));
}

void AnalogEditFrame::writeVolts(FormField& field, double value) {
    field.real = value;
    field.text = doc::formatVolts(value);
}

void AnalogEditFrame::refreshControls() {
    const std::int64_t ts = samplingTime_;
    FormField& s = fields_[kStartField];
    setValid(s, readTime(s) && s.time >= 0 && s.time <= totalTime_ - ts);
    FormField& p = fields_[kPeriodField];
    setValid(p, readTime(p) && p.time >= ts && p.time <= totalTime_);
    testKindFields();
    createEnabled_ = p.valid && kindFieldsValid();
    applyEnabled_ = previewCurrent_ && s.valid;
    setRangeLabels();
}

void AnalogEditFrame::setRangeLabels() {
    const FormField& s = fields_[kStartField];
    const FormField& p = fields_[kPeriodField];
    startLabel_.clear();
    endLabel_.clear();
    if (!s.valid || !p.valid) return;
    std::string a, b;
    const std::string unit = doc::unitName(labelUnit_);
    if (doc::formatTimeIn(s.time, labelUnit_, a)) startLabel_ = a + " " + unit;
    if (doc::formatTimeIn(s.time + p.time, labelUnit_, b)) endLabel_ = b + " " + unit;
}

void AnalogEditFrame::markSegmentStale() {
    if (previewCurrent_) previewCurrent_ = false;  // the old preview stays, drawn pale
    applyEnabled_ = false;
}

AnalogEditFrame::State AnalogEditFrame::state() const {
    if (previewCurrent_) return State::Current;
    return previewShown_ ? State::Stale : State::Empty;
}

bool AnalogEditFrame::quantisePeriod() {
    FormField& p = fields_[kPeriodField];
    // a negative period has no samples to quantise
    if (!readTime(p) || p.time < 0) return false;
    const std::uint64_t ts = samplingTime_;
    const auto q = static_cast<std::int64_t>(static_cast<std::uint64_t>(p.time) / ts * ts);
    if (q != p.time) {
        const std::string typed = p.text;
        writeTime(p, q, p.unit);
        prompter_.tell(gridAdjustMessage("期間", typed, p.unit, p.text));
    }
    return true;
}

void AnalogEditFrame::segmentReady(std::uint64_t count) {
    segmentCount_ = count;
    computePreview();
    previewShown_ = previewCurrent_ = true;
}

void AnalogEditFrame::discardSegment() {
    previewShown_ = previewCurrent_ = false;
    applyEnabled_ = false;
    segmentCount_ = 0;
}

bool AnalogEditFrame::createSegment() {
    FormField& p = fields_[kPeriodField];
    const bool read = readTime(p);
    bool ok = readKindFields() && read;
    if (ok) ok = quantisePeriod() && generate(segment_.get());
    if (ok) {
        segmentCount_ = periodSamples(p.time, samplingTime_);
        computePreview();
        previewShown_ = previewCurrent_ = true;
    } else {
        prompter_.tell(kInvalidParameters, PromptIcon::Warning);
        previewShown_ = previewCurrent_ = false;
        segmentCount_ = 0;
    }
    // The rest of the fields are tested again so that the buttons and labels
    // follow the quantised period.
    refreshControls();
    return ok;
}

bool AnalogEditFrame::applySegment(AnalogApplyMode mode) {
    if (!applyEnabled_ || !analog_) return false;
    const std::uint64_t ts = samplingTime_;
    const FormField& sf = fields_[kStartField];
    const std::uint64_t total = static_cast<std::uint64_t>(totalTime_) / ts;
    const std::uint64_t s = static_cast<std::uint64_t>(sf.time) / ts;
    std::uint64_t n = static_cast<std::uint64_t>(period()) / ts;
    if (total < s + n) n = total - s;
    if (static_cast<std::int64_t>(s * ts) != sf.time) {
        std::string adjusted;
        doc::formatTimeIn(static_cast<std::int64_t>(s * ts), sf.unit, adjusted);
        if (prompter_.ask(gridAdjustMessage("編集開始", sf.text, sf.unit, adjusted), PromptButtons::OkCancel,
                          PromptIcon::Question) != PromptAnswer::Ok)
            return false;
    }
    combineAnalog(analog_ + s, segment_.get(), n, mode);
    accepted_ = true;
    return true;
}

void AnalogEditFrame::setPlotRect(const PlotRect& rect) {
    plotRect_ = rect;
    if (previewShown_) computePreview();
    plotRectChanged();
}

void AnalogEditFrame::setSketchRect(const PlotRect& rect) {
    sketchRect_ = rect;
    if (hasSketch() && sketchSamples_) {
        sketchList_.begin(sketchRect_);
        buildSketch(sketchSamples_.get(), sketchCount_, sketchList_);
        computePreviewColumns(sketchRect_, sketchSamples_.get(), sketchCount_, sketchColumns_);
    }
}

void AnalogEditFrame::computePreview() {
    if (graphsDrawn_) computePreviewColumns(plotRect_, segment_.get(), static_cast<std::size_t>(segmentCount_), preview_);
}

}  // namespace lyr::analog
