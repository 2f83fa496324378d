#pragma once
// The analog edit frame as a form: the fields with their texts, units,
// markers and enabling; create with the quantisation of the period; apply
// with the confirmation of the edit start and the cut at the end of the
// waveform; the Empty / Current / Stale states. A widget presents it; tests
// and lyrtool drive it directly.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "analog/analog_apply.h"
#include "analog/generators.h"
#include "analog/preview.h"
#include "document/editor_contract.h"
#include "document/prompter.h"
#include "document/quantities.h"
#include "forms/edit_frame.h"

namespace lyr::analog {

using forms::FieldKind;
using forms::FormField;
using forms::GridAdjustment;
using forms::kInvalidParameters;
using forms::BufferAllocator;
using forms::heapAllocator;

class AnalogEditFrame : public forms::EditFrame {
public:
    static constexpr std::size_t kPeriodField = 1;

    explicit AnalogEditFrame(Prompter& prompter);
    ~AnalogEditFrame() override;

    virtual bool hasSketch() const { return true; }

    // Allocates the buffers, computes the sketch and fills the fields from the
    // settings the concrete form holds. False when memory is short: the caller
    // shows memoryMessage() and ends as cancelled.
    bool open(double* analog, std::int64_t totalTime, std::int64_t samplingTime, std::int64_t editStart);
    bool open(const document::TrackRefs& tracks, std::int64_t totalTime, std::int64_t samplingTime,
              std::int64_t editStart) {
        return open(tracks.analog, totalTime, samplingTime, editStart);
    }

    bool applySegment(AnalogApplyMode mode);

    // Values last read.
    std::int64_t period() const override { return field(kPeriodField).time; }
    bool periodValid() const override { return field(kPeriodField).valid; }
    document::TimeUnit periodUnit() const { return field(kPeriodField).unit; }

    const double* segment() const { return segment_.get(); }
    std::uint64_t segmentCount() const { return segmentCount_; }

    // Preview and sketch columns.
    void setPlotRect(const PlotRect& rect);
    double plotCount() const { return static_cast<double>(segmentCount_); }
    const PlotRect& plotRect() const { return plotRect_; }
    const PreviewColumns& previewColumns() const { return preview_; }
    // Columns drawn beneath the preview (the manual editor's reference copy).
    virtual const PreviewColumns* underlayColumns() const { return nullptr; }
    void setSketchRect(const PlotRect& rect);
    const PreviewColumns& sketchColumns() const { return sketchColumns_; }
    const SketchDisplayList& sketchList() const { return sketchList_; }
    // Whether the columns of the graphs are computed at all: the command line
    // shows none and turns them off before the form opens.
    void setGraphsDrawn(bool drawn) { graphsDrawn_ = drawn; }
    bool graphsDrawn() const { return graphsDrawn_; }

protected:
    static void writeVolts(FormField& field, double value);
    // A stored repeat count: the record holds the count's 32 bits; it is
    // written back as the unsigned number that was entered, so a count above
    // 2^31 - 1 opens valid again.
    static void fillCount(FormField& field, std::int32_t stored);
    // The count as the record stores it (its 32 bits).
    static std::int32_t storedCount(const FormField& field) { return static_cast<std::int32_t>(field.count); }
    // A repeat count reads and is not 0.
    static void testCount(FormField& field) { setValid(field, readCount(field) && field.count != 0); }

    // Where the segment lies, for the generators.
    SegmentSpan span() const;
    double* analog() { return analog_; }
    double* segmentBuffer() { return segment_.get(); }
    // The segment holds count samples now: its preview is computed and it is current.
    void segmentReady(std::uint64_t count);
    // No segment any more (Empty); the preview is gone.
    void discardSegment();
    // The preview again after the segment's samples changed.
    void recomputePreview() { computePreview(); }
    // The period moved down onto the grid, with its message; false when it
    // does not read.
    bool quantisePeriod();

    // The concrete editor.
    virtual void testKindFields() = 0;        // in the editor's order, derived fields included
    // Every field after the frame's two that is not a readout is valid.
    virtual bool kindFieldsValid() const;
    // For create: each of those fields read by its kind; false when any does not read.
    virtual bool readKindFields();
    virtual bool generate(double* segment) = 0;
    virtual void buildSketch(double* samples, std::size_t& count, SketchDisplayList& list);
    virtual void plotRectChanged() {}
    virtual bool allocateWork() { return true; }  // extra buffers of the editor, on opening

private:
    bool reserveBuffers() final;
    void testFields() final;
    bool fieldsValid() const final;
    bool buildSegment() final;
    void computePreview() final;

    double* analog_ = nullptr;
    std::unique_ptr<double[]> segment_;
    std::unique_ptr<double[]> sketchSamples_;
    std::uint64_t segmentCount_ = 0;
    std::size_t sketchCount_ = 0;
    bool graphsDrawn_ = true;
    PlotRect plotRect_{0, 0, 399, 239};
    PlotRect sketchRect_{0, 0, 159, 79};
    PreviewColumns preview_;
    PreviewColumns sketchColumns_;
    SketchDisplayList sketchList_;
};

// Texts of the frame.
using forms::gridAdjustMessage;

}  // namespace lyr::analog
