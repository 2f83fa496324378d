#include "view/time_entry.h"

#include "document/quantities.h"

namespace lyr::view {

namespace {

std::string timeText(std::int64_t ns) {
    int unit = 0;
    std::string text = document::formatTimeAuto(ns, unit);
    return text + " " + document::unitName(unit);
}

TimeEntryRequest request(const char* title, std::int64_t samplingNs, std::uint32_t n, std::uint32_t cursor,
                         std::uint32_t mark, bool markExists, bool allowEnd) {
    TimeEntryRequest r;
    r.title = title;
    r.samplingNs = samplingNs;
    r.sampleCount = n;
    r.cursor = cursor;
    r.mark = mark;
    r.markExists = markExists;
    r.allowEnd = allowEnd;
    return r;
}

}  // namespace

TimeEntryRequest cursorPositionRequest(std::int64_t samplingNs, std::uint32_t n, std::uint32_t cursor,
                                       bool markSet, std::uint32_t mark) {
    return request("カーソル位置の指定", samplingNs, n, cursor, mark, markSet, /*allowEnd=*/true);
}

TimeEntryRequest markPlaceRequest(std::int64_t samplingNs, std::uint32_t n, std::uint32_t cursor,
                                  std::uint32_t mark) {
    return request("タイムマーク位置の指定", samplingNs, n, cursor, mark, /*markExists=*/false, /*allowEnd=*/false);
}

TimeEntryRequest markMoveRequest(std::int64_t samplingNs, std::uint32_t n, std::uint32_t cursor,
                                 std::uint32_t mark) {
    return request("タイムマーク位置の指定", samplingNs, n, cursor, mark, /*markExists=*/true, /*allowEnd=*/false);
}

TimeEntryForm::TimeEntryForm(const TimeEntryRequest& request) : request_(request) {
    const std::int64_t ts = request_.samplingNs;
    end_ = static_cast<std::int64_t>(request_.sampleCount) * ts;
    cursorNs_ = static_cast<std::int64_t>(request_.cursor) * ts;
    markNs_ = static_cast<std::int64_t>(request_.mark) * ts;
    const int initial = request_.initialReference;
    if (initial >= 0 && initial <= 3) reference_ = static_cast<ReferencePoint>(initial);
    // A disabled option cannot stay selected.
    if (!referenceEnabled(reference_)) reference_ = ReferencePoint::FromStart;
    evaluate();
}

bool TimeEntryForm::referenceEnabled(ReferencePoint p) const {
    return p != ReferencePoint::FromTimeMark || request_.markExists;
}

void TimeEntryForm::setReference(ReferencePoint p) {
    if (!referenceEnabled(p)) return;
    reference_ = p;
    evaluate();
}

void TimeEntryForm::setUnit(int unit) {
    unit_ = (unit >= 0 && unit <= 3) ? unit : -1;
    evaluate();
}

void TimeEntryForm::setText(const std::string& text) {
    text_ = text;
    evaluate();
}

void TimeEntryForm::evaluate() {
    valid_ = false;
    okEnabled_ = false;
    fields_ = {};
    std::int64_t value = 0;
    if (unit_ < 0 || request_.samplingNs == 0 || !document::parseTime(text_, unit_, value)) return;
    std::int64_t base = 0;
    switch (reference_) {
        case ReferencePoint::FromStart: base = 0; break;
        case ReferencePoint::FromCursor: base = cursorNs_; break;
        case ReferencePoint::FromTimeMark: base = markNs_; break;
        case ReferencePoint::FromEnd: base = end_; break;
    }
    // Saturated parses must not wrap around into the waveform.
    std::int64_t t = 0;
    if (__builtin_add_overflow(value, base, &t)) return;
    if (t < 0 || t > end_) return;
    t_ = t;
    valid_ = true;
    fields_[0] = timeText(t);
    fields_[1] = timeText(t - cursorNs_);
    if (request_.markExists) fields_[2] = timeText(t - markNs_);
    fields_[3] = timeText(t - end_);
    okEnabled_ = request_.allowEnd || t != end_;
}

bool TimeEntryForm::accept(std::uint32_t& index) {
    if (!okEnabled_) return false;
    index = static_cast<std::uint32_t>(t_ / request_.samplingNs);
    request_.resultIndex = index;
    return true;
}

}  // namespace lyr::view
