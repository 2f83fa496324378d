#pragma once
// The digital edit frame as a form, shared by every editor that generates a
// run of levels and merges it into channels (clock, serial, parallel,
// modification):
//   - the edit start field with its unit, tested 0 <= start <= T - Ts;
//   - the edit channel (editors that have one);
//   - one or more work buffers of 1,048,576 bytes, the segment(s);
//   - create: the concrete form builds the segment (reading its fields,
//     moving times onto the grid with one message, setting the period); a
//     failure tells "パラメータが不正です";
//   - apply (applyDigitalSegment): the edit start moved onto the grid after an
//     OK/Cancel question, the segment cut at the end of the waveform, each
//     target channel combined with its buffer by DigitalApplyMode;
//   - the Empty / Current / Stale states of the preview and the StartTime /
//     EndTime readouts.
// A concrete form adds its fields after the start field (addField), says
// which of its fields generate the segment (isGenerationField), tests them
// (testKindFields, setting the period with setPeriod) and builds the segment
// (build). A widget presents the form; tests and lyrtool drive it directly.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "analog/form_fields.h"
#include "digital/digital_apply.h"
#include "digital/level_columns.h"
#include "document/prompter.h"

namespace lyr::digital {

using analog::FieldKind;
using analog::FormField;
using analog::GridAdjustment;

inline constexpr int kChannels = 8;
using ChannelRefs = std::array<std::uint8_t*, kChannels>;

class DigitalEditFrame {
public:
    enum class State { Empty, Current, Stale };
    static constexpr std::size_t kStartField = 0;
    static constexpr std::size_t kCapacity = 1048576;

    explicit DigitalEditFrame(Prompter& prompter);
    virtual ~DigitalEditFrame();
    DigitalEditFrame(const DigitalEditFrame&) = delete;
    DigitalEditFrame& operator=(const DigitalEditFrame&) = delete;

    virtual const char* title() const = 0;
    virtual const char* memoryMessage() const = 0;

    // Reserves the work buffers, fills the edit start (in the readout unit,
    // chosen from T) and the editor's fields, then tests them. False when
    // memory is short: the caller shows memoryMessage() and ends as cancelled.
    bool open(const ChannelRefs& channels, std::int64_t totalTime, std::int64_t samplingTime,
              std::int64_t editStart);

    // The widget's change notifications. A text counts as changed only when
    // it differs from the text before; a change of a generation field makes a
    // current preview stale, any other change only re-tests.
    void setText(std::size_t field, const std::string& text);
    void setUnit(std::size_t field, int unit);
    void setChannel(int channel);

    // Re-runs the tests, the enabling rules and the readouts.
    void refreshControls();
    // "作成": builds the segment; false (after "パラメータが不正です") when it
    // cannot be made.
    bool createSegment();
    // "置換", "OR", "AND", "XOR": false when not allowed or when the user
    // cancels the edit-start question (nothing written, the dialog stays).
    bool applyDigitalSegment(DigitalApplyMode mode);

    // What the widget shows.
    std::size_t fieldCount() const { return fields_.size(); }
    const FormField& field(std::size_t i) const { return fields_[i]; }
    std::size_t fieldIndex(const std::string& key) const;  // fieldCount() when unknown
    int channel() const { return channel_; }
    bool createEnabled() const { return createEnabled_; }
    bool applyEnabled() const { return applyEnabled_; }
    const std::string& startLabel() const { return startLabel_; }  // "" when hidden
    const std::string& endLabel() const { return endLabel_; }
    State state() const;
    bool previewShown() const { return previewShown_; }
    bool previewCurrent() const { return previewCurrent_; }
    bool accepted() const { return accepted_; }
    int labelUnit() const { return labelUnit_; }

    std::int64_t start() const { return fields_[kStartField].time; }
    bool startValid() const { return fields_[kStartField].valid; }
    // The segment's length as last computed (clipped to T, not to the end of
    // the waveform after the edit start) and whether it is valid.
    std::int64_t period() const { return period_; }
    bool periodValid() const { return periodValid_; }
    std::int64_t totalTime() const { return totalTime_; }
    std::int64_t samplingTime() const { return samplingTime_; }
    std::uint32_t sampleCount() const { return static_cast<std::uint32_t>(totalTime_ / samplingTime_); }  // N

    // Work buffers (kCapacity bytes each) and the samples of the segment.
    std::size_t bufferCount() const { return buffers_.size(); }
    const std::uint8_t* segment(std::size_t buffer = 0) const { return buffers_[buffer].get(); }
    std::size_t segmentSamples() const { return static_cast<std::size_t>(period_ / samplingTime_); }
    // The document's channel arrays the form was opened with.
    std::uint8_t* channelData(int channel) const { return channels_[static_cast<std::size_t>(channel)]; }

    // Preview: the band's width in pixels; one column set per buffer.
    void setPreviewWidth(int width);
    int previewWidth() const { return previewWidth_; }
    const LevelColumns& previewColumns(std::size_t buffer = 0) const { return columns_[buffer]; }
    // A buffer drawn in the current colour while the preview is current
    // (the parallel editor greys out channels that receive nothing).
    virtual bool bufferHighlighted(std::size_t /*buffer*/) const { return true; }

protected:
    // Concrete forms add their fields after the start field.
    std::size_t addField(FormField f);
    FormField& f(std::size_t i) { return fields_[i]; }
    Prompter& prompter() { return prompter_; }
    // Before open(): how many work buffers the editor needs (default one).
    void setBufferCount(std::size_t count) { bufferCount_ = count; }
    std::uint8_t* buffer(std::size_t k) { return buffers_[k].get(); }

    // Field helpers.
    static bool readTime(FormField& field) { return analog::detail::readTime(field); }
    static bool readCount(FormField& field) { return analog::detail::readCount(field); }
    static void setValid(FormField& field, bool valid) { analog::detail::setValid(field, valid); }
    static void writeTime(FormField& field, std::int64_t value, int unit) {
        analog::detail::writeTime(field, value, unit);
    }
    // A stored time and unit into a field (an unset unit gives an empty text).
    static void fillTime(FormField& field, std::int64_t value, int unit) {
        field.unit = document::standardTimeUnit(unit);
        writeTime(field, value, unit);
    }
    // Moves a field's time down onto the sampling grid (towards zero) and
    // rewrites its text; records the change under name for gridMessage.
    bool truncateToGrid(FormField& field, const std::string& name, std::vector<GridAdjustment>& changes);
    // Tells the grid message when anything was moved (OK button only).
    void tellAdjustments(const std::vector<GridAdjustment>& changes);
    // The period as the tests computed it (0 and invalid when unknown).
    void setPeriod(std::int64_t period, bool valid) {
        period_ = period;
        periodValid_ = valid;
    }
    // A generation setting changed outside setText/setUnit (a level, a
    // source switch): a current preview becomes stale.
    void markSegmentStale();
    // Recomputes the preview columns of every buffer.
    void computePreview();

    // The concrete editor.
    virtual void fillFields() = 0;            // from the loaded settings, on opening
    virtual void testKindFields() = 0;        // its fields and the period (setPeriod)
    virtual bool kindFieldsValid() const = 0; // "作成" enabled (period included)
    virtual bool build() = 0;                 // create; false when it cannot be made
    virtual bool isGenerationField(std::size_t i) const { return i != kStartField; }
    virtual void unitChanged(std::size_t /*field*/) {}
    virtual void channelChanged() {}
    virtual bool applyAllowed() const { return true; }  // beyond preview and start
    // Whether a stale preview stays drawn (pale) or is emptied.
    virtual bool keepsStalePreview() const { return true; }
    virtual bool allocateWork() { return true; }         // extra buffers, on opening
    // The channels written on apply, each with its buffer (default: the edit
    // channel with buffer 0).
    virtual std::vector<std::pair<int, std::size_t>> targets() const { return {{channel_, 0}}; }

    int channel_ = 0;

private:
    void setRangeLabels();

    Prompter& prompter_;
    std::vector<FormField> fields_;
    ChannelRefs channels_{};
    std::int64_t totalTime_ = 0;
    std::int64_t samplingTime_ = 10;
    std::int64_t period_ = 0;
    bool periodValid_ = false;
    int labelUnit_ = 0;
    std::size_t bufferCount_ = 1;
    std::vector<std::unique_ptr<std::uint8_t[]>> buffers_;
    std::vector<LevelColumns> columns_;
    int previewWidth_ = 380;
    bool previewShown_ = false;
    bool previewCurrent_ = false;
    bool createEnabled_ = false;
    bool applyEnabled_ = false;
    bool accepted_ = false;
    std::string startLabel_, endLabel_;
};

// Reserves a work buffer of n bytes; nullptr when memory is short. Every
// digital editor reserves its buffers through this when it opens.
std::unique_ptr<std::uint8_t[]> reserveLevels(std::size_t n);
// Makes the reservations of the next editor that opens fail as if memory
// were short (memory message tests); the opening editor clears it.
void failNextReservation(bool fail);
void reservationsDone();

inline constexpr const char* kInvalidParameters = "パラメータが不正です";

}  // namespace lyr::digital
