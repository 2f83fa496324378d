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

#include "digital/digital_apply.h"
#include "digital/level_columns.h"
#include "document/editor_contract.h"
#include "document/prompter.h"
#include "forms/edit_frame.h"

namespace lyr::digital {

using forms::BufferAllocator;
using forms::FieldKind;
using forms::FormField;
using forms::GridAdjustment;
using forms::kInvalidParameters;

inline constexpr int kChannels = 8;
using ChannelRefs = std::array<std::uint8_t*, kChannels>;

class DigitalEditFrame : public forms::EditFrame {
public:
    explicit DigitalEditFrame(Prompter& prompter);
    ~DigitalEditFrame() override;

    // Reserves the work buffers, fills the edit start (in the readout unit,
    // chosen from T) and the editor's fields, then tests them. False when
    // memory is short: the caller shows memoryMessage() and ends as cancelled.
    bool open(const ChannelRefs& channels, std::int64_t totalTime, std::int64_t samplingTime,
              std::int64_t editStart);
    bool open(const document::TrackRefs& tracks, std::int64_t totalTime, std::int64_t samplingTime,
              std::int64_t editStart) {
        return open(tracks.digital, totalTime, samplingTime, editStart);
    }

    void setChannel(int channel);

    // "置換", "OR", "AND", "XOR": false when not allowed or when the user
    // cancels the edit-start question (nothing written, the dialog stays).
    bool applyDigitalSegment(DigitalApplyMode mode);

    int channel() const { return channel_; }
    // The segment's length as last computed (clipped to T, not to the end of
    // the waveform after the edit start) and whether it is valid.
    std::int64_t period() const override { return period_; }
    bool periodValid() const override { return periodValid_; }

    // Work buffers (kCapacity bytes each) and the samples of the segment.
    std::size_t bufferCount() const { return buffers_.size(); }
    const std::uint8_t* segment(std::size_t buffer = 0) const { return buffers_[buffer].get(); }
    std::size_t segmentSamples() const { return static_cast<std::size_t>(period_ / samplingTime()); }
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
    // Before open(): how many work buffers the editor needs (default one).
    void setBufferCount(std::size_t count) { bufferCount_ = count; }
    std::uint8_t* buffer(std::size_t k) { return buffers_[k].get(); }

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

    // The concrete editor.
    virtual void testKindFields() = 0;        // its fields and the period (setPeriod)
    virtual bool kindFieldsValid() const = 0; // "作成" enabled (period included)
    virtual bool build() = 0;                 // create; false when it cannot be made
    virtual void channelChanged() {}
    virtual bool allocateWork() { return true; }         // extra buffers, on opening
    // The channels written on apply, each with its buffer (default: the edit
    // channel with buffer 0).
    virtual std::vector<std::pair<int, std::size_t>> targets() const { return {{channel_, 0}}; }
    // Recomputes the preview columns of every buffer.
    void computePreview() override;

    int channel_ = 0;

private:
    bool reserveBuffers() final;
    void testFields() final { testKindFields(); }
    bool fieldsValid() const final { return kindFieldsValid(); }
    bool buildSegment() final { return !buffers_.empty() && build(); }

    ChannelRefs channels_{};
    std::int64_t period_ = 0;
    bool periodValid_ = false;
    std::size_t bufferCount_ = 1;
    std::vector<std::unique_ptr<std::uint8_t[]>> buffers_;
    std::vector<LevelColumns> columns_;
    int previewWidth_ = 380;
};

}  // namespace lyr::digital
