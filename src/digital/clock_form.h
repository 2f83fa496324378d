#pragma once
// The clock editor's form: a repeated two-level pulse train on one channel.
// Row 1 holds t1 at level1, row 2 t2 at the complementary level2; the
// period is (t1 + t2) x repeat, clipped to T.
#include <cstdint>

#include "digital/digital_edit_frame.h"
#include "document/editor_contract.h"

namespace lyr::digital {

class ClockForm : public DigitalEditFrame {
public:
    using Settings = document::ClockSettings;
    static constexpr std::size_t kT1 = 1, kT2 = 2, kRepeat = 3;
    explicit ClockForm(Prompter& prompter);
    const char* title() const override { return "ディジタルデータの作成　（ クロック ）"; }
    const char* memoryMessage() const override { return "ディジタル波形作成のためのメモリが確保できませんでした"; }

    void load(const document::EditRequest<Settings>& request);
    void store(document::EditRequest<Settings>& request) const;
    Settings settings() const;

    // The level of row 1 (0 or 1); row 2 always takes the other level.
    void setLevel1(int level);
    void setLevel2(int level) { setLevel1(1 - level); }
    int level1() const { return level1_; }
    int level2() const { return level2_; }

protected:
    void fillFields() override;
    void testKindFields() override;
    bool kindFieldsValid() const override;
    bool build() override;
    void unitChanged(std::size_t field) override;

private:
    Settings settings_;
    int level1_ = 1, level2_ = 0;
};

// (t1 + t2) x repeat, clipped to T (never overflowing); negative when a time is.
std::int64_t clockPeriod(std::int64_t t1, std::int64_t t2, std::uint32_t repeat, std::int64_t totalTime);

// n samples of cycles of n1 samples at level1 then n2 at level2, from the
// first sample of the first phase.
void fillClock(std::uint8_t* segment, std::size_t n, std::size_t n1, std::uint8_t level1, std::size_t n2,
               std::uint8_t level2);

}  // namespace lyr::digital
