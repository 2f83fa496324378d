#include "digital/modify_form.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "document/levels.h"
#include "document/quantities.h"

namespace lyr::digital {

namespace doc = lyr::document;
using forms::timeField;

ModifyForm::ModifyForm(Prompter& prompter) : DigitalEditFrame(prompter) {
    addField(timeField("copy-start", "ｺﾋﾟｰ開始", "："));
    addField(timeField("copy-period", "ｺﾋﾟｰ期間", "："));
    setBufferCount(2);
}

void ModifyForm::load(const document::EditRequest<Settings>& request) {
    modify_ = request.settings.modify;
    shift_ = request.settings.shift;
    auto valid = [](int c) { return c >= 0 && c < kChannels; };
    channel_ = valid(modify_.editChannel) ? modify_.editChannel : 0;
    copyChannel_ = valid(modify_.copyChannel) ? modify_.copyChannel : 0;
}

void ModifyForm::store(document::EditRequest<Settings>& request) const { request.settings = settings(); }

ModifyForm::Settings ModifyForm::settings() const {
    Settings s{modify_, shift_};
    s.modify.copyPeriod = field(kCopyPeriod).time;
    s.modify.copyPeriodUnit = field(kCopyPeriod).unit;
    s.modify.editChannel = channel_;
    s.modify.copyChannel = copyChannel_;
    return s;
}

void ModifyForm::fillFields() {
    const FormField& s = field(kStartField);
    fillTime(f(kCopyStart), s.time, s.unit);
    fillTime(f(kCopyPeriod), modify_.copyPeriod, modify_.copyPeriodUnit);
    locked_ = false;
}

void ModifyForm::setCopyChannel(int channel) {
    if (channel < 0 || channel >= kChannels || locked_) return;
    if (channel != copyChannel_) {
        copyChannel_ = channel;
        markSegmentStale();
    }
    refreshControls();
}

void ModifyForm::testKindFields() {
    const std::int64_t ts = samplingTime(), t = totalTime();
    FormField& cs = f(kCopyStart);
    setValid(cs, readTime(cs) && cs.time >= 0 && cs.time <= t - ts);
    FormField& cp = f(kCopyPeriod);
    setValid(cp, readTime(cp) && cp.time >= ts && cp.time <= t);
    setPeriod(cp.time, cp.valid);
    copyStartLabel_.clear();
    copyEndLabel_.clear();
    if (cs.valid && cp.valid) {
        const int u = labelUnit();
        const std::string name = doc::unitName(u);
        std::string a, b;
        if (doc::formatTimeIn(cs.time, u, a)) copyStartLabel_ = a + " " + name;
        if (doc::formatTimeIn(cs.time + cp.time, u, b)) copyEndLabel_ = b + " " + name;
    }
    cs.enabled = cp.enabled = !locked_;
}

bool ModifyForm::kindFieldsValid() const { return field(kCopyStart).valid && field(kCopyPeriod).valid; }

bool ModifyForm::pressCopy() {
    if (locked_) {
        locked_ = false;  // unlock only: the loaded piece stays
        refreshControls();
        return true;
    }
    if (!createEnabled()) return false;
    return createSegment();
}

bool ModifyForm::build() {
    FormField& cs = f(kCopyStart);
    FormField& cp = f(kCopyPeriod);
    if (!readTime(cs) || !readTime(cp)) return false;
    const std::int64_t ts = samplingTime(), t = totalTime();
    // The piece is cut at T before it is moved onto the grid.
    if (cs.time + cp.time > t) writeTime(cp, t - cs.time, cp.unit);
    std::vector<GridAdjustment> changes;
    truncateToGrid(cs, "コピー開始", changes);
    truncateToGrid(cp, "コピー期間", changes);
    tellAdjustments(changes);
    setPeriod(cp.time, cp.time >= ts && cp.time <= t);
    if (cs.time < 0 || cs.time > t - ts || !periodValid()) return false;
    const std::size_t first = static_cast<std::size_t>(cs.time / ts);
    const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(cp.time / ts), sampleCount() - first);
    const std::uint8_t* from = channelData(copyChannel_);
    if (!from) return false;
    std::memcpy(buffer(kCopied), from + first, count);
    std::memcpy(buffer(kEdited), from + first, count);
    locked_ = true;
    return true;
}

bool ModifyForm::invertPiece() {
    if (!copied()) return false;
    document::invertLevels(buffer(kEdited), segmentSamples());
    computePreview();
    return true;
}

bool ModifyForm::shiftPiece(const std::function<bool(ShiftForm&)>& drive) {
    if (!copied()) return false;
    ShiftForm form(prompter());
    form.setAllocator(allocator());
    form.load(shift_);
    if (!form.open(buffer(kEdited), samplingTime(), field(kCopyStart).time, period(), copyChannel_)) {
        prompter().tell(ShiftForm::kMemoryMessage, PromptIcon::Warning);
        return false;
    }
    if (!drive(form) || !form.accepted()) return false;
    shift_ = form.settings();
    computePreview();
    return true;
}

void ModifyForm::setBand(const Band& band) {
    band_ = band;
    band_.width = std::max(band_.width, 1);
    band_.height = std::max(band_.height, 1);
    setPreviewWidth(band_.width);
}

bool ModifyForm::nearBand(int x, int y) const {
    const int right = band_.left + band_.width - 1, bottom = band_.top + band_.height - 1;
    return x >= band_.left - 16 && x <= right + 17 && y >= band_.top - 16 && y <= bottom + 16;
}

bool ModifyForm::press(int x, int y) {
    drawing_ = false;
    if (!copied() || !nearBand(x, y)) return false;
    drawing_ = true;
    drawLine(x, y, x, y);
    lastX_ = x;
    lastY_ = y;
    return true;
}

void ModifyForm::move(int x, int y, bool buttonHeld) {
    if (!buttonHeld) {
        drawing_ = false;
        return;
    }
    if (!drawing_ || !copied() || !nearBand(x, y)) return;
    if (lastX_ <= x)
        drawLine(lastX_, lastY_, x, y);
    else
        drawLine(x, y, lastX_, lastY_);
    lastX_ = x;
    lastY_ = y;
}

void ModifyForm::drawLine(int x0, int y0, int x1, int y1) {
    const std::size_t n = segmentSamples();
    if (n == 0) return;
    const double w = band_.width, h = band_.height;
    const double f = static_cast<double>(n) / w;
    const auto i0 = static_cast<std::int64_t>(std::floor(f * (x0 - band_.left) + 0.5));
    const std::int64_t count = static_cast<std::int64_t>(std::floor(f * (x1 - band_.left) + 0.5)) - i0 + 1;
    const double o = 1.0 - (y0 - band_.top) / h;
    const double t = (1.0 - (y1 - band_.top) / h - o) / static_cast<double>(count);
    std::uint8_t* piece = buffer(kEdited);
    // Only the samples inside the piece are written.
    const std::int64_t kFirst = std::max<std::int64_t>(0, -i0);
    const std::int64_t kEnd = std::min<std::int64_t>(count, static_cast<std::int64_t>(n) - i0);
    for (std::int64_t k = kFirst; k < kEnd; ++k)
        piece[i0 + k] = o + t * static_cast<double>(k) > 0.5 ? 1 : 0;
    const int widen = static_cast<int>(std::floor(2.0 * w / static_cast<double>(n) + 2.0)) + 1;
    dirtyFirst_ = std::clamp(x0 - band_.left - widen, 0, band_.width - 1);
    dirtyLast_ = std::clamp(x1 - band_.left + widen, 0, band_.width - 1);
    computePreview();
}

}  // namespace lyr::digital
