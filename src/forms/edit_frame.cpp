#include "forms/edit_frame.h"

namespace lyr::forms {

namespace doc = lyr::document;

EditFrame::EditFrame(Prompter& prompter) : prompter_(prompter) {
    fields_.push_back(timeField("start", "編集開始", "："));
}

EditFrame::~EditFrame() = default;

std::size_t EditFrame::addField(FormField field) {
    fields_.push_back(std::move(field));
    return fields_.size() - 1;
}

std::size_t EditFrame::fieldIndex(const std::string& key) const {
    for (std::size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].key == key) return i;
    return fields_.size();
}

bool EditFrame::isGenerationField(std::size_t i) const {
    return i != kStartField && fields_[i].kind != FieldKind::Readout;
}

bool EditFrame::openFrame(std::int64_t totalTime, std::int64_t samplingTime, std::int64_t editStart) {
    totalTime_ = totalTime;
    samplingTime_ = samplingTime > 0 ? samplingTime : 10;
    if (!reserveBuffers()) return false;
    doc::formatTimeAuto(totalTime, labelUnit_);
    fillTime(fields_[kStartField], editStart, labelUnit_);
    fillFields();
    previewShown_ = previewCurrent_ = false;
    accepted_ = false;
    refreshControls();
    return true;
}

void EditFrame::setText(std::size_t i, const std::string& text) {
    if (i >= fields_.size() || fields_[i].text == text) return;
    fields_[i].text = text;
    fieldChanged(i, false);
}

void EditFrame::setUnit(std::size_t i, int unit) {
    const doc::TimeUnit u = doc::standardTimeUnit(unit);
    if (i >= fields_.size() || fields_[i].unit == u) return;
    fields_[i].unit = u;
    fieldChanged(i, true);
}

void EditFrame::setChoice(std::size_t i, int choice) {
    if (i >= fields_.size() || fields_[i].choice == choice) return;
    fields_[i].choice = choice;
    fieldChanged(i, true);
}

void EditFrame::fieldChanged(std::size_t i, bool unit) {
    if (unit) unitChanged(i);
    if (isGenerationField(i)) generationChanged(i);
    fieldEdited(i);
    refreshControls();
}

void EditFrame::selectRadio(int radio) {
    radio_ = radio;
    radioChanged();
    refreshControls();
}

void EditFrame::refreshControls() {
    FormField& s = fields_[kStartField];
    setValid(s, readTime(s) && s.time >= 0 && s.time <= totalTime_ - samplingTime_);
    testFields();
    createEnabled_ = fieldsValid();
    applyEnabled_ = previewCurrent_ && s.valid && applyAllowed();
    setRangeLabels();
}

void EditFrame::setRangeLabels() {
    startLabel_.clear();
    endLabel_.clear();
    const FormField& s = fields_[kStartField];
    if (!s.valid || !periodValid()) return;
    std::string a, b;
    const std::string unit = doc::unitName(labelUnit_);
    if (doc::formatTimeIn(s.time, labelUnit_, a)) startLabel_ = a + " " + unit;
    if (doc::formatTimeIn(s.time + period(), labelUnit_, b)) endLabel_ = b + " " + unit;
}

void EditFrame::markSegmentStale() {
    previewCurrent_ = false;  // the old preview stays, drawn pale
    if (!keepsStalePreview()) previewShown_ = false;
    applyEnabled_ = false;
}

EditFrame::State EditFrame::state() const {
    if (previewCurrent_) return State::Current;
    return previewShown_ ? State::Stale : State::Empty;
}

void EditFrame::showSegment() {
    previewShown_ = previewCurrent_ = true;
    computePreview();
}

void EditFrame::dropSegment() {
    previewShown_ = previewCurrent_ = false;
    applyEnabled_ = false;
}

bool EditFrame::createSegment() {
    const bool ok = buildSegment();
    if (ok) {
        showSegment();
    } else {
        prompter_.tell(kInvalidParameters, PromptIcon::Warning);
        dropSegment();
    }
    // The fields are tested again so that the buttons and labels follow
    // the times moved onto the grid.
    refreshControls();
    return ok;
}

bool EditFrame::confirmStart(std::uint64_t& first, std::uint64_t& count) {
    const auto ts = static_cast<std::uint64_t>(samplingTime_);
    const FormField& sf = fields_[kStartField];
    const std::uint64_t total = static_cast<std::uint64_t>(totalTime_) / ts;
    first = static_cast<std::uint64_t>(sf.time) / ts;
    count = static_cast<std::uint64_t>(period()) / ts;
    if (total < first + count) count = total - first;
    if (static_cast<std::int64_t>(first * ts) == sf.time) return true;
    std::string adjusted;
    doc::formatTimeIn(static_cast<std::int64_t>(first * ts), sf.unit, adjusted);
    return prompter_.ask(gridAdjustMessage("編集開始", sf.text, sf.unit, adjusted), PromptButtons::OkCancel,
                         PromptIcon::Question) == PromptAnswer::Ok;
}

}  // namespace lyr::forms
