#pragma once
// The time position entry ("時間指定"): a time typed relative to the start,
// the cursor, the time mark or the end becomes a sample index inside the
// waveform.
#include <array>
#include <cstdint>
#include <string>

namespace lyr::view {

enum class ReferencePoint : int {
    FromStart = 0,
    FromCursor = 1,
    FromTimeMark = 2,
    FromEnd = 3,
};

struct TimeEntryRequest {
    std::string title = "時間指定";
    bool markExists = true;
    std::int64_t samplingNs = 20;  // Ts
    std::uint32_t sampleCount = 100;  // N
    std::uint32_t cursor = 0;
    std::uint32_t mark = 0;
    std::uint32_t resultIndex = 0;  // output
    std::int32_t initialReference = 0;
    bool allowEnd = false;
};

// Requests of the three callers.
TimeEntryRequest cursorPositionRequest(std::int64_t samplingNs, std::uint32_t n, std::uint32_t cursor,
                                       bool markSet, std::uint32_t mark);
TimeEntryRequest markPlaceRequest(std::int64_t samplingNs, std::uint32_t n, std::uint32_t cursor,
                                  std::uint32_t mark);
TimeEntryRequest markMoveRequest(std::int64_t samplingNs, std::uint32_t n, std::uint32_t cursor,
                                 std::uint32_t mark);

class TimeEntryForm {
public:
    explicit TimeEntryForm(const TimeEntryRequest& request);

    // Window caption; empty means keep the dialog's own.
    const std::string& caption() const { return request_.title; }
    bool referenceEnabled(ReferencePoint p) const;
    ReferencePoint reference() const { return reference_; }
    int unit() const { return unit_; }  // -1 while none is chosen
    const std::string& text() const { return text_; }

    void setReference(ReferencePoint p);
    void setUnit(int unit);
    void setText(const std::string& text);

    bool valid() const { return valid_; }
    bool okEnabled() const { return okEnabled_; }
    std::int64_t candidateNs() const { return t_; }
    // The four read-only fields: the position from start, cursor, mark, end.
    const std::array<std::string, 4>& fields() const { return fields_; }

    // OK: the sample at or before the position; false while OK is disabled.
    bool accept(std::uint32_t& index);

private:
    void evaluate();

    TimeEntryRequest request_;
    ReferencePoint reference_ = ReferencePoint::FromStart;
    int unit_ = -1;
    std::string text_;
    std::int64_t end_ = 0;
    std::int64_t cursorNs_ = 0;
    std::int64_t markNs_ = 0;
    std::int64_t t_ = 0;
    bool valid_ = false;
    bool okEnabled_ = false;
    std::array<std::string, 4> fields_;
};

}  // namespace lyr::view
