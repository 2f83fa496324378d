#pragma once
// The manual modification editor: a stretch of the waveform is copied into
// a reference copy and a working copy, the working copy is reshaped by mouse
// strokes and five operations, and applied at an edit start like any
// segment. The working copy is the frame's segment, the copy length its
// period.
#include <cstdint>
#include <memory>

#include "analog/analog_edit_frame.h"
#include "document/settings_records.h"

namespace lyr::analog {

enum class ModifyOperation { None = -1, Gain = 0, LevelShift = 1, DcRemoval = 2, UpperLimit = 3, LowerLimit = 4 };

// One operation over n samples: x * value, x + value, x - mean (summed in
// extended precision before any sample changes), min(x, value), max(x, value).
void modifySamples(double* x, std::size_t n, ModifyOperation op, double value);

// A straight stroke from (x1, y1) to (x2, y2) (x1 <= x2) over the plot of
// count samples: the samples under it follow the line; indices outside
// 0 ... count - 1 are skipped.
void strokeSamples(double* x, std::int64_t count, const PlotRect& plot, int x1, int y1, int x2, int y2);

class ManualForm : public AnalogEditFrame {
public:
    using Settings = document::ManualSettings;
    // The period field is the copy length; the copy start follows it.
    static constexpr std::size_t kCopyPeriod = kPeriodField, kCopyStart = 2, kGain = 3, kShift = 4, kDc = 5,
                                 kUpper = 6, kLower = 7;
    // The margin around the plot where a stroke may start and go on.
    static constexpr int kMarginLeft = 16, kMarginTop = 16, kMarginBottom = 16, kMarginRight = 17;

    explicit ManualForm(Prompter& prompter);
    const char* title() const override { return "波形の修正"; }
    const char* memoryMessage() const override { return "アナログ波形修正のためのメモリが確保できませんでした"; }
    bool hasSketch() const override { return false; }
    void load(const Settings& s) { settings_ = s; }
    Settings settings() const;

    // "コピー" / "再コピー".
    bool createSegment() override { return copyRange(); }
    const char* createText() const override { return copyLocked_ ? "再コピー" : "コピー"; }
    bool copyRange();
    // "修正実行".
    bool executeModification();
    bool modifyEnabled() const { return modifyEnabled_; }
    void setOperation(ModifyOperation op) { selectRadio(static_cast<int>(op)); }
    ModifyOperation operation() const { return radioAs<ModifyOperation>(); }

    bool hasWorkingCopy() const { return state() == State::Current; }
    bool copyLocked() const { return copyLocked_; }
    const std::string& copyStartLabel() const { return copyStartLabel_; }
    const std::string& copyEndLabel() const { return copyEndLabel_; }
    const double* referenceCopy() const { return reference_.get(); }
    const PreviewColumns& referenceColumns() const { return referenceColumns_; }
    const PreviewColumns* underlayColumns() const override {
        return hasWorkingCopy() ? &referenceColumns_ : nullptr;
    }

    // Mouse strokes over the plot. press: true when the stroke starts (a
    // working copy and the point within the widened plot). move: false when
    // ignored; otherwise first/last give the columns to redraw.
    bool strokePress(int x, int y, int& first, int& last);
    bool strokeMove(int x, int y, int& first, int& last);
    void strokeRelease() { stroking_ = false; }
    bool stroking() const { return stroking_; }

protected:
    void fillFields() override;
    void testKindFields() override;
    bool kindFieldsValid() const override;
    bool generate(double*) override { return false; }
    bool isGenerationField(std::size_t i) const override { return i == kCopyStart || i == kCopyPeriod; }
    void generationChanged(std::size_t) override { discardSegment(); }
    void radioChanged() override {}
    bool allocateWork() override;
    void plotRectChanged() override;

private:
    bool insideMargin(int x, int y) const;
    void strokeBetween(int x1, int y1, int x2, int y2, int& first, int& last);
    void computeReference();
    bool failCopy();

    Settings settings_;
    std::unique_ptr<double[]> reference_;
    PreviewColumns referenceColumns_;
    bool copyLocked_ = false;
    bool modifyEnabled_ = false;
    bool stroking_ = false;
    int lastX_ = 0, lastY_ = 0;
    std::string copyStartLabel_, copyEndLabel_;
};

}  // namespace lyr::analog
