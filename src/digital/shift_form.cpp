#include "digital/shift_form.h"

#include <cstring>

#include "document/quantities.h"

namespace lyr::digital {

namespace doc = lyr::document;

void shiftLevels(const std::uint8_t* in, std::uint8_t* out, std::size_t n, std::int64_t shift, ShiftMethod method) {
    const std::size_t k = static_cast<std::size_t>(shift < 0 ? -shift : shift);
    if (k > n) return;
    const std::size_t kept = n - k;
    // The kept part moves; the vacated part is filled or takes what fell out.
    std::uint8_t* vacated = shift >= 0 ? out : out + kept;
    const std::uint8_t* pushedOut = shift >= 0 ? in + kept : in;
    if (shift >= 0) {
        if (kept) std::memcpy(out + k, in, kept);
    } else {
        if (kept) std::memcpy(out, in + k, kept);
    }
    if (k == 0) return;
    switch (method) {
    case ShiftMethod::FillZero: std::memset(vacated, 0, k); break;
    case ShiftMethod::FillOne: std::memset(vacated, 1, k); break;
    case ShiftMethod::Rotate: std::memcpy(vacated, pushedOut, k); break;
    }
}

ShiftForm::ShiftForm(Prompter& prompter) : prompter_(prompter) {
    field_ = forms::timeField("shift", "シフト時間", "：");
}

ShiftForm::Settings ShiftForm::settings() const {
    Settings s = settings_;
    s.shiftTime = field_.time;
    s.shiftUnit = field_.unit;
    s.shiftMethod = method_;
    return s;
}

bool ShiftForm::open(std::uint8_t* target, std::int64_t samplingTime, std::int64_t start, std::int64_t length,
                     int channel) {
    target_ = target;
    ts_ = samplingTime > 0 ? samplingTime : 10;
    length_ = length;
    channel_ = channel;
    n_ = static_cast<std::size_t>(length / ts_);
    if (n_ > forms::EditFrame::kCapacity) n_ = forms::EditFrame::kCapacity;
    original_ = allocator().bytes(forms::EditFrame::kCapacity);
    working_ = original_ ? allocator().bytes(forms::EditFrame::kCapacity) : nullptr;
    scratch_ = working_ ? allocator().bytes(forms::EditFrame::kCapacity) : nullptr;
    if (!scratch_) {
        original_.reset();
        working_.reset();
        return false;
    }
    if (n_) {
        std::memcpy(original_.get(), target, n_);
        std::memcpy(working_.get(), target, n_);
    }
    field_.unit = document::standardTimeUnit(settings_.shiftUnit);
    forms::writeTime(field_, settings_.shiftTime, settings_.shiftUnit);
    method_ = settings_.shiftMethod >= 0 && settings_.shiftMethod <= 2 ? settings_.shiftMethod : 0;
    int unit = 0;
    doc::formatTimeAuto(length, unit);
    std::string a, b;
    const std::string name = doc::unitName(unit);
    if (doc::formatTimeIn(start, unit, a)) startLabel_ = a + " " + name;
    if (doc::formatTimeIn(start + length, unit, b)) endLabel_ = b + " " + name;
    okEnabled_ = accepted_ = false;
    test();
    computePreview();
    return true;
}

std::string ShiftForm::title() const { return "ディジタルシフト － CH " + std::to_string(channel_); }

void ShiftForm::setText(const std::string& text) {
    if (field_.text == text) return;
    field_.text = text;
    test();
}

void ShiftForm::setUnit(int unit) {
    if (field_.unit == unit) return;
    field_.unit = document::standardTimeUnit(unit);
    test();
}

void ShiftForm::setMethod(int method) {
    if (method < 0 || method > 2) return;
    method_ = method;
    test();
}

void ShiftForm::test() {
    const bool read = forms::readTime(field_);
    const std::int64_t t = field_.time;
    // |t| without overflow at the most negative time.
    const bool valid = read && t != INT64_MIN && (t < 0 ? -t : t) >= ts_ && (t < 0 ? -t : t) <= length_;
    forms::setValid(field_, valid);
    executeEnabled_ = valid;
}

bool ShiftForm::execute() {
    if (!executeEnabled_) return false;
    executeEnabled_ = false;
    const std::int64_t q = field_.time / ts_ * ts_;  // towards zero
    if (q != field_.time) {
        const std::string typed = field_.text;
        forms::writeTime(field_, q, field_.unit);
        prompter_.tell(forms::gridAdjustMessage(
            std::vector<GridAdjustment>{{"シフト時間", typed, field_.unit, field_.text}}));
    }
    shiftLevels(working_.get(), scratch_.get(), n_, q / ts_, static_cast<ShiftMethod>(method_));
    std::swap(working_, scratch_);
    computePreview();
    test();
    okEnabled_ = true;
    return true;
}

void ShiftForm::accept() {
    if (!okEnabled_ || !target_) return;
    if (n_) std::memcpy(target_, working_.get(), n_);
    accepted_ = true;
}

void ShiftForm::setPreviewWidth(int width) {
    previewWidth_ = width;
    computePreview();
}

void ShiftForm::computePreview() {
    if (!original_) return;
    computeLevelColumns(original_.get(), n_, previewWidth_, originalColumns_);
    computeLevelColumns(working_.get(), n_, previewWidth_, workingColumns_);
}

bool ShiftFormEditor::run(document::EditRequest<document::ShiftSettings>& request, document::EditOutcome& outcome) {
    if (request.channel < 0 || request.channel >= kChannels) return false;
    ShiftForm form(prompter_);
    configure(form);
    form.load(request.settings);
    if (!form.open(request.tracks.digital[static_cast<std::size_t>(request.channel)], request.samplingTime, 0,
                   request.totalTime, request.channel)) {
        prompter_.tell(ShiftForm::kMemoryMessage, PromptIcon::Warning);
        return false;
    }
    if (!drive_(form) || !form.accepted()) return false;
    request.settings = form.settings();
    outcome.start = 0;
    outcome.period = request.totalTime;
    return true;
}

}  // namespace lyr::digital
