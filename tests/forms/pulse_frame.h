#pragma once
// A smallest editor over the edit-frame base, for its tests: t1 high then t2
// low, written into one byte track. It holds no rule of its own beyond the
// two times, so every behaviour the tests see is the base's.
#include <cstdint>
#include <cstring>
#include <vector>

#include "forms/edit_frame.h"

namespace lyr::test {

class PulseFrame : public forms::EditFrame {
public:
    static constexpr std::size_t kT1 = 1, kT2 = 2;
    explicit PulseFrame(Prompter& prompter) : EditFrame(prompter) {
        addField(forms::timeField("t1", "時間", "(t1)："));
        addField(forms::timeField("t2", "時間", "(t2)："));
    }
    const char* title() const override { return "パルス"; }
    const char* memoryMessage() const override { return "メモリ不足"; }

    bool open(std::vector<std::uint8_t>& track, std::int64_t totalTime, std::int64_t samplingTime,
              std::int64_t editStart) {
        track_ = track.data();
        return openFrame(totalTime, samplingTime, editStart);
    }
    // "置換": the pulse into the track at the edit start.
    bool apply() {
        std::uint64_t first = 0, count = 0;
        if (!applyEnabled() || !confirmStart(first, count)) return false;
        std::memcpy(track_ + first, segment_.get(), count);
        markAccepted();
        return true;
    }
    std::int64_t period() const override { return field(kT1).time + field(kT2).time; }
    bool periodValid() const override { return field(kT1).valid && field(kT2).valid; }

    bool keepStale = true;
    int previews = 0;

protected:
    bool reserveBuffers() override {
        segment_ = allocator().bytes(kCapacity);
        return segment_ != nullptr;
    }
    void fillFields() override {
        for (std::size_t i : {kT1, kT2}) forms::fillTime(f(i), 20, document::kUnitNs);
    }
    void testFields() override {
        for (std::size_t i : {kT1, kT2}) forms::setValid(f(i), forms::readTime(f(i)) && f(i).time >= samplingTime());
    }
    bool fieldsValid() const override { return periodValid(); }
    bool buildSegment() override {
        if (!periodValid() || field(kT1).time % samplingTime() != 0 || field(kT2).time % samplingTime() != 0)
            return false;
        const auto n1 = static_cast<std::size_t>(field(kT1).time / samplingTime());
        const auto n2 = static_cast<std::size_t>(field(kT2).time / samplingTime());
        std::memset(segment_.get(), 1, n1);
        std::memset(segment_.get() + n1, 0, n2);
        return true;
    }
    void computePreview() override { ++previews; }
    bool keepsStalePreview() const override { return keepStale; }

private:
    std::uint8_t* track_ = nullptr;
    std::unique_ptr<std::uint8_t[]> segment_;
};

}  // namespace lyr::test
