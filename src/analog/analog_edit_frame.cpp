#include "analog/analog_edit_frame.h"

#include "analog/generators.h"
#include "document/quantities.h"

namespace lyr::analog {

namespace doc = lyr::document;

AnalogEditFrame::AnalogEditFrame(Prompter& prompter) : EditFrame(prompter) {
    addField(forms::timeField("period", "期間", "："));
}

AnalogEditFrame::~AnalogEditFrame() = default;

bool AnalogEditFrame::open(double* analog, std::int64_t totalTime, std::int64_t samplingTime,
                           std::int64_t editStart) {
    analog_ = analog;
    return openFrame(totalTime, samplingTime, editStart);
}

bool AnalogEditFrame::reserveBuffers() {
    segment_ = allocator().doubles(kCapacity);
    if (segment_ && hasSketch()) sketchSamples_ = allocator().doubles(kCapacity);
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
    return true;
}

void AnalogEditFrame::buildSketch(double*, std::size_t& count, SketchDisplayList&) { count = 0; }

SegmentSpan AnalogEditFrame::span() const {
    return {totalTime(), static_cast<std::uint32_t>(samplingTime()), start(), period()};
}

bool AnalogEditFrame::kindFieldsValid() const {
    for (std::size_t i = kPeriodField + 1; i < fieldCount(); ++i)
        if (field(i).kind != FieldKind::Readout && !field(i).valid) return false;
    return true;
}

bool AnalogEditFrame::readKindFields() {
    bool ok = true;
    for (std::size_t i = kPeriodField + 1; i < fieldCount(); ++i) {
        FormField& field = f(i);
        if (field.kind == FieldKind::Time) ok = readTime(field) && ok;
        if (field.kind == FieldKind::Real) ok = readReal(field) && ok;
        if (field.kind == FieldKind::Count) ok = readCount(field) && ok;
    }
    return ok;
}

void AnalogEditFrame::fillCount(FormField& field, std::int32_t stored) {
    field.text = std::to_string(static_cast<std::uint32_t>(stored));
}

void AnalogEditFrame::writeVolts(FormField& field, double value) {
    field.real = value;
    field.text = doc::formatVolts(value);
}

void AnalogEditFrame::testFields() {
    FormField& p = f(kPeriodField);
    setValid(p, readTime(p) && p.time >= samplingTime() && p.time <= totalTime());
    testKindFields();
}

bool AnalogEditFrame::fieldsValid() const { return periodValid() && kindFieldsValid(); }

bool AnalogEditFrame::quantisePeriod() {
    FormField& p = f(kPeriodField);
    // a negative period has no samples to quantise
    if (!readTime(p) || p.time < 0) return false;
    const auto ts = static_cast<std::uint64_t>(samplingTime());
    const auto q = static_cast<std::int64_t>(static_cast<std::uint64_t>(p.time) / ts * ts);
    if (q != p.time) {
        const std::string typed = p.text;
        writeTime(p, q, p.unit);
        prompter().tell(gridAdjustMessage("期間", typed, p.unit, p.text));
    }
    return true;
}

void AnalogEditFrame::segmentReady(std::uint64_t count) {
    segmentCount_ = count;
    showSegment();
}

void AnalogEditFrame::discardSegment() {
    dropSegment();
    segmentCount_ = 0;
}

bool AnalogEditFrame::buildSegment() {
    FormField& p = f(kPeriodField);
    const bool read = readTime(p);
    bool ok = readKindFields() && read;
    if (ok) ok = quantisePeriod() && generate(segment_.get());
    segmentCount_ = ok ? periodSamples(p.time, static_cast<std::uint32_t>(samplingTime())) : 0;
    return ok;
}

bool AnalogEditFrame::applySegment(AnalogApplyMode mode) {
    if (!applyEnabled() || !analog_) return false;
    std::uint64_t first = 0, count = 0;
    if (!confirmStart(first, count)) return false;
    combineAnalog(analog_ + first, segment_.get(), count, mode);
    markAccepted();
    return true;
}

void AnalogEditFrame::setPlotRect(const PlotRect& rect) {
    plotRect_ = rect;
    if (previewShown()) computePreview();
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
