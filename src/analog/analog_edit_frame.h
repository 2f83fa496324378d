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
#include "analog/buffer_allocator.h"
#include "analog/generators.h"
#include "analog/preview.h"
#include "document/prompter.h"
#include "document/quantities.h"

namespace lyr::analog {

enum class FieldKind {
    Time,     // text + unit box (nS, uS, mS, S)
    Real,     // text + fixed unit text, or a box of choices
    Count,    // unsigned count + fixed unit text
    Readout,  // read-only value text + read-only unit text
    Text,     // free text without a unit (bits, hexadecimal words)
    Option,   // a radio button of the group without a text of its own
    Choice,   // a box of choices alone (FormField::choices)
};

struct FormField {
    // What the field is.
    FieldKind kind = FieldKind::Real;
    std::string key;       // option name of the command line, e.g. "sine-period"
    std::string label;     // "周期"
    std::string symbol;    // "(t1)："
    std::string unitText;  // "V", "度", "回"; for a readout the (changing) unit text
    std::vector<std::string> choices;  // a box of these entries instead of time units
    int radio = -1;        // position in the dialog's radio group, -1 none

    // Its state.
    std::string text;
    document::TimeUnit unit = document::kUnitNone;  // time fields
    int choice = -1;       // fields with choices: the entry selected, -1 none
    bool enabled = true;
    bool markerShown = false;
    bool valid = false;
    std::int64_t time = 0;
    double real = 0.0;
    std::uint32_t count = 1;
};

class AnalogEditFrame {
public:
    enum class State { Empty, Current, Stale };
    static constexpr std::size_t kStartField = 0;
    static constexpr std::size_t kPeriodField = 1;
    static constexpr std::size_t kCapacity = 1048576;

    explicit AnalogEditFrame(Prompter& prompter);
    virtual ~AnalogEditFrame();
    AnalogEditFrame(const AnalogEditFrame&) = delete;
    AnalogEditFrame& operator=(const AnalogEditFrame&) = delete;

    virtual const char* title() const = 0;
    virtual const char* memoryMessage() const = 0;
    virtual bool hasSketch() const { return true; }

    // Allocates the buffers, computes the sketch and fills the fields from the
    // settings the concrete form holds. False when memory is short: the caller
    // shows memoryMessage() and ends as cancelled.
    bool open(double* analog, std::int64_t totalTime, std::uint32_t samplingTime, std::int64_t editStart);

    // The widget's change notifications.
    void setText(std::size_t field, const std::string& text);
    void setUnit(std::size_t field, document::TimeUnit unit);
    void setChoice(std::size_t field, int choice);
    // The radio button selected in the dialog's group (FormField::radio);
    // the concrete forms name the choices with their own enums.
    void selectRadio(int radio);
    int selectedRadio() const { return radio_; }

    void refreshControls();
    // The button that makes the segment ("作成" here; a copy or a conversion
    // in the editors that take their segment from elsewhere).
    virtual bool createSegment();
    virtual const char* createText() const { return "作成"; }
    bool applySegment(AnalogApplyMode mode);
    void markSegmentStale();

    // What the widget shows.
    std::size_t fieldCount() const { return fields_.size(); }
    const FormField& field(std::size_t i) const { return fields_[i]; }
    std::size_t fieldIndex(const std::string& key) const;  // fieldCount() when unknown
    bool createEnabled() const { return createEnabled_; }
    bool applyEnabled() const { return applyEnabled_; }
    const std::string& startLabel() const { return startLabel_; }
    const std::string& endLabel() const { return endLabel_; }
    State state() const;
    bool previewShown() const { return previewShown_; }
    bool previewCurrent() const { return previewCurrent_; }
    bool accepted() const { return accepted_; }
    document::TimeUnit labelUnit() const { return labelUnit_; }

    // Values last read.
    std::int64_t start() const { return fields_[kStartField].time; }
    std::int64_t period() const { return fields_[kPeriodField].time; }
    document::TimeUnit periodUnit() const { return fields_[kPeriodField].unit; }
    std::int64_t totalTime() const { return totalTime_; }
    std::uint32_t samplingTime() const { return samplingTime_; }

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

    // Where open() takes the buffers from (the heap unless set; tests inject
    // one that runs short). It must outlive the form.
    void setAllocator(BufferAllocator& allocator) { allocator_ = &allocator; }

protected:
    // Concrete forms add their fields after the two frame fields.
    std::size_t addField(FormField f);
    FormField& f(std::size_t i) { return fields_[i]; }

    // Readers: parse the text into the value (0, or 1 for counts, when it
    // does not read) and return whether it read.
    bool readTime(FormField& field);
    bool readReal(FormField& field);
    bool readCount(FormField& field);
    static void setValid(FormField& field, bool valid) {
        field.valid = valid;
        field.markerShown = !valid;
    }
    // Writes a time into a field in its unit; an unset unit gives an empty field.
    void writeTime(FormField& field, std::int64_t value, document::TimeUnit unit);
    // The same, choosing the stored unit for the field first (a unit index
    // outside 0..3 selects none).
    void fillTime(FormField& field, std::int64_t value, std::int32_t storedUnit);
    void writeVolts(FormField& field, double value);
    // A stored repeat count: the record holds the count's 32 bits; it is
    // written back as the unsigned number that was entered, so a count above
    // 2^31 - 1 opens valid again.
    static void fillCount(FormField& field, std::int32_t stored);
    // The count as the record stores it (its 32 bits).
    static std::int32_t storedCount(const FormField& field) { return static_cast<std::int32_t>(field.count); }
    // A repeat count reads and is not 0.
    void testCount(FormField& field) { setValid(field, readCount(field) && field.count != 0); }

    Prompter& prompter() { return prompter_; }
    BufferAllocator& allocator() { return *allocator_; }
    template <class Choice>
    Choice radioAs() const { return static_cast<Choice>(radio_); }
    // The selection without the notification (filling from the settings).
    void setRadio(int radio) { radio_ = radio; }
    // Where the segment lies, for the generators.
    SegmentSpan span() const { return {totalTime_, samplingTime_, start(), period()}; }
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
    virtual void fillFields() = 0;            // from the settings, on opening
    virtual void testKindFields() = 0;        // in the editor's order, derived fields included
    // Every field after the frame's two that is not a readout is valid.
    virtual bool kindFieldsValid() const;
    // For create: each of those fields read by its kind; false when any does not read.
    virtual bool readKindFields();
    virtual bool generate(double* segment) = 0;
    virtual void buildSketch(double* samples, std::size_t& count, SketchDisplayList& list);
    virtual void unitChanged(std::size_t /*field*/) {}
    virtual void radioChanged() {}
    virtual bool isGenerationField(std::size_t i) const;
    // A generation field changed (text or unit): the segment turns stale.
    virtual void generationChanged(std::size_t /*field*/) { markSegmentStale(); }
    // Any field's text or unit changed, before the controls are refreshed.
    virtual void fieldEdited(std::size_t /*field*/) {}
    virtual void plotRectChanged() {}
    virtual bool allocateWork() { return true; }  // extra buffers of the editor, on opening

private:
    void setRangeLabels();
    void computePreview();

    Prompter& prompter_;
    BufferAllocator* allocator_ = &heapAllocator();
    int radio_ = 0;
    std::vector<FormField> fields_;
    double* analog_ = nullptr;
    std::int64_t totalTime_ = 0;
    std::uint32_t samplingTime_ = 10;
    document::TimeUnit labelUnit_ = document::kUnitNs;
    std::unique_ptr<double[]> segment_;
    std::unique_ptr<double[]> sketchSamples_;
    std::uint64_t segmentCount_ = 0;
    std::size_t sketchCount_ = 0;
    bool previewShown_ = false;
    bool graphsDrawn_ = true;
    bool previewCurrent_ = false;
    bool createEnabled_ = false;
    bool applyEnabled_ = false;
    bool accepted_ = false;
    std::string startLabel_, endLabel_;
    PlotRect plotRect_{0, 0, 399, 239};
    PlotRect sketchRect_{0, 0, 159, 79};
    PreviewColumns preview_;
    PreviewColumns sketchColumns_;
    SketchDisplayList sketchList_;
};

// Texts of the frame.
inline constexpr const char* kInvalidParameters = "パラメータが不正です";
std::string gridAdjustMessage(const std::string& fieldName, const std::string& typed, document::TimeUnit unit,
                              const std::string& adjusted);

}  // namespace lyr::analog
