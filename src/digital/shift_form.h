#pragma once
// The shift editor's form: shifts a run of n levels (a whole channel, or the
// modification editor's piece) by a signed time, filling the vacated samples
// with 0, with 1 or with the samples pushed out (rotate). Executions work on
// a working copy and add up; OK copies the working copy into the target.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "digital/digital_edit_frame.h"
#include "document/editor_contract.h"

namespace lyr::digital {

enum class ShiftMethod : int { FillZero = 0, FillOne = 1, Rotate = 2 };

// out[i + k] = in[i] for a positive shift of k samples, out[i] = in[i + k]
// for a negative one (k = |shift|); the vacated samples get 0, 1 or, when
// rotating, the samples pushed out at the other end. |shift| <= n; in and out
// do not overlap.
void shiftLevels(const std::uint8_t* in, std::uint8_t* out, std::size_t n, std::int64_t shift, ShiftMethod method);

class ShiftForm : public forms::UsesAllocator {
public:
    using Settings = document::ShiftSettings;
    static constexpr const char* kMemoryMessage = "ディジタルシフトのためのメモリが確保できませんでした";
    static constexpr const char* kMethodNames[3] = {"0を埋める", "1を埋める", "ローテート"};

    explicit ShiftForm(Prompter& prompter);
    void load(const Settings& s) { settings_ = s; }
    Settings settings() const;

    // target: n = length / Ts levels; start and length (ns) of the piece, the
    // channel for the caption. False when the buffers cannot be reserved.
    bool open(std::uint8_t* target, std::int64_t samplingTime, std::int64_t start, std::int64_t length, int channel);
    std::string title() const;  // "ディジタルシフト － CH 3"

    void setText(const std::string& text);
    void setUnit(int unit);
    void setMethod(int method);
    int method() const { return method_; }
    const FormField& shiftField() const { return field_; }
    bool executeEnabled() const { return executeEnabled_; }
    bool okEnabled() const { return okEnabled_; }
    const std::string& startLabel() const { return startLabel_; }
    const std::string& endLabel() const { return endLabel_; }

    // "実行": false when the shift is not valid.
    bool execute();
    // "OK": the working copy into the target.
    void accept();
    bool accepted() const { return accepted_; }

    std::size_t samples() const { return n_; }
    const std::uint8_t* original() const { return original_.get(); }
    const std::uint8_t* working() const { return working_.get(); }
    void setPreviewWidth(int width);
    int previewWidth() const { return previewWidth_; }
    const LevelColumns& originalColumns() const { return originalColumns_; }
    const LevelColumns& workingColumns() const { return workingColumns_; }

private:
    void test();
    void computePreview();

    Prompter& prompter_;
    Settings settings_;
    FormField field_;
    int method_ = 0;
    std::uint8_t* target_ = nullptr;
    std::int64_t ts_ = 10, length_ = 0;
    int channel_ = 0;
    std::size_t n_ = 0;
    std::unique_ptr<std::uint8_t[]> original_, working_, scratch_;
    bool executeEnabled_ = false, okEnabled_ = false, accepted_ = false;
    std::string startLabel_, endLabel_;
    int previewWidth_ = 380;
    LevelColumns originalColumns_, workingColumns_;
};

// The per-channel shift command's editor: the form on the whole channel
// (start 0, length T); `drive` plays the user's part and returns whether the
// form ended with OK.
class ShiftFormEditor : public document::ShiftEditor {
public:
    ShiftFormEditor(Prompter& prompter, std::function<bool(ShiftForm&)> drive)
        : prompter_(prompter), drive_(std::move(drive)) {}
    bool run(document::EditRequest<document::ShiftSettings>& request, document::EditOutcome& outcome) override;
    // Called on the fresh form before it opens (an allocator that runs short).
    std::function<void(ShiftForm&)> configure = [](ShiftForm&) {};

private:
    Prompter& prompter_;
    std::function<bool(ShiftForm&)> drive_;
};

}  // namespace lyr::digital
