#pragma once
// The edit frame both analog and digital editors build on: the edit start
// field, the editor's fields after it with their texts, units, markers and
// enabling; "作成" with its failure message; the confirmation that moves an
// edit start onto the sampling grid and the cut at the end of the waveform;
// the Empty / Current / Stale states of the preview; the StartTime / EndTime
// readouts; the work buffers from an injected allocator. A frame of a kind
// (analog, digital) holds the segment, its preview and how it is applied.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "document/prompter.h"
#include "document/quantities.h"
#include "forms/buffer_allocator.h"
#include "forms/form_fields.h"

namespace lyr::forms {

class EditFrame : public UsesAllocator {
public:
    enum class State { Empty, Current, Stale };
    static constexpr std::size_t kStartField = 0;
    static constexpr std::size_t kCapacity = 1048576;

    explicit EditFrame(Prompter& prompter);
    virtual ~EditFrame();
    EditFrame(const EditFrame&) = delete;
    EditFrame& operator=(const EditFrame&) = delete;

    virtual const char* title() const = 0;
    virtual const char* memoryMessage() const = 0;
    // The button that makes the segment ("作成" unless the editor takes its
    // segment from elsewhere).
    virtual const char* createText() const { return "作成"; }

    // The widget's change notifications. A text counts as changed only when
    // it differs from the text before; a change of a generation field makes
    // a current preview stale, any other change only re-tests.
    void setText(std::size_t field, const std::string& text);
    void setUnit(std::size_t field, int unit);
    void setChoice(std::size_t field, int choice);
    // The radio button selected in the dialog's group (FormField::radio);
    // the concrete forms name the choices with their own enums.
    void selectRadio(int radio);
    int selectedRadio() const { return radio_; }

    // Re-runs the tests, the enabling rules and the readouts.
    void refreshControls();
    // Makes the segment; false (after "パラメータが不正です") when it cannot
    // be made.
    virtual bool createSegment();
    // A generation setting changed: a current preview becomes stale.
    void markSegmentStale();

    // What the widget shows.
    std::size_t fieldCount() const { return fields_.size(); }
    const FormField& field(std::size_t i) const { return fields_[i]; }
    std::size_t fieldIndex(const std::string& key) const;  // fieldCount() when unknown
    bool createEnabled() const { return createEnabled_; }
    bool applyEnabled() const { return applyEnabled_; }
    const std::string& startLabel() const { return startLabel_; }  // "" when hidden
    const std::string& endLabel() const { return endLabel_; }
    State state() const;
    bool previewShown() const { return previewShown_; }
    bool previewCurrent() const { return previewCurrent_; }
    bool accepted() const { return accepted_; }
    document::TimeUnit labelUnit() const { return labelUnit_; }

    std::int64_t start() const { return fields_[kStartField].time; }
    bool startValid() const { return fields_[kStartField].valid; }
    // The segment's length as last read and whether it is valid.
    virtual std::int64_t period() const = 0;
    virtual bool periodValid() const = 0;
    std::int64_t totalTime() const { return totalTime_; }
    std::int64_t samplingTime() const { return samplingTime_; }
    std::uint32_t sampleCount() const { return static_cast<std::uint32_t>(totalTime_ / samplingTime_); }  // N

protected:
    // Concrete forms add their fields after the frame's.
    std::size_t addField(FormField f);
    FormField& f(std::size_t i) { return fields_[i]; }
    Prompter& prompter() { return prompter_; }
    template <class Choice>
    Choice radioAs() const { return static_cast<Choice>(radio_); }
    // The selection without the notification (filling from the settings).
    void setRadio(int radio) { radio_ = radio; }

    // Reserves the buffers (reserveBuffers), fills the edit start in the readout
    // unit chosen from T and the editor's fields, then tests them. False when
    // memory is short: the caller shows memoryMessage() and ends as cancelled.
    bool openFrame(std::int64_t totalTime, std::int64_t samplingTime, std::int64_t editStart);
    // Where the segment goes: its first sample and its sample count cut at
    // the end of the waveform. An edit start off the grid is moved down onto
    // it after an OK/Cancel question; false when the user cancels.
    bool confirmStart(std::uint64_t& first, std::uint64_t& count);
    // The segment was written into the document.
    void markAccepted() { accepted_ = true; }
    // The segment is made: its preview is computed and it is current.
    void showSegment();
    // No segment any more (Empty); the preview is gone.
    void dropSegment();

    // The frame of a kind and the concrete editor.
    virtual bool reserveBuffers() = 0;              // work buffers on opening; false when short
    virtual void fillFields() = 0;           // from the loaded settings, on opening
    virtual void testFields() = 0;           // every field after the start, derived ones included
    virtual bool fieldsValid() const = 0;    // "作成" enabled
    virtual bool applyAllowed() const { return true; }  // beyond a current preview and a valid start
    virtual bool buildSegment() = 0;         // "作成": reads the fields and fills the segment
    virtual void computePreview() = 0;
    virtual bool isGenerationField(std::size_t i) const;
    // A generation field changed (text, unit or choice): the segment turns stale.
    virtual void generationChanged(std::size_t /*field*/) { markSegmentStale(); }
    // Any field's text, unit or choice changed, before the controls are refreshed.
    virtual void fieldEdited(std::size_t /*field*/) {}
    virtual void unitChanged(std::size_t /*field*/) {}
    virtual void radioChanged() {}
    // Whether a stale preview stays drawn (pale) or is emptied.
    virtual bool keepsStalePreview() const { return true; }

private:
    // A text, unit or choice changed: the hooks in order, then the tests.
    void fieldChanged(std::size_t field, bool unit);
    void setRangeLabels();

    Prompter& prompter_;
    std::vector<FormField> fields_;
    int radio_ = 0;
    std::int64_t totalTime_ = 0;
    std::int64_t samplingTime_ = 10;
    document::TimeUnit labelUnit_ = document::kUnitNs;
    bool previewShown_ = false;
    bool previewCurrent_ = false;
    bool createEnabled_ = false;
    bool applyEnabled_ = false;
    bool accepted_ = false;
    std::string startLabel_, endLabel_;
};

}  // namespace lyr::forms
