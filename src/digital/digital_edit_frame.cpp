#include "digital/digital_edit_frame.h"

#include "document/quantities.h"

namespace lyr::digital {

DigitalEditFrame::DigitalEditFrame(Prompter& prompter) : EditFrame(prompter) {}

DigitalEditFrame::~DigitalEditFrame() = default;

bool DigitalEditFrame::open(const ChannelRefs& channels, std::int64_t totalTime, std::int64_t samplingTime,
                            std::int64_t editStart) {
    channels_ = channels;
    return openFrame(totalTime, samplingTime, editStart);
}

bool DigitalEditFrame::reserveBuffers() {
    buffers_.clear();
    bool ok = true;
    for (std::size_t k = 0; k < bufferCount_ && ok; ++k) {
        buffers_.push_back(allocator().bytes(kCapacity));
        ok = buffers_.back() != nullptr;
    }
    if (!ok || !allocateWork()) {
        buffers_.clear();
        return false;
    }
    columns_.assign(bufferCount_, LevelColumns{});
    return true;
}

void DigitalEditFrame::setChannel(int channel) {
    if (channel < 0 || channel >= kChannels) return;
    channel_ = channel;
    channelChanged();
    refreshControls();
}

bool DigitalEditFrame::truncateToGrid(FormField& field, const std::string& name,
                                      std::vector<GridAdjustment>& changes) {
    const std::int64_t q = field.time / samplingTime() * samplingTime();  // towards zero
    if (q == field.time) return false;
    GridAdjustment a{name, field.text, field.unit, {}};
    writeTime(field, q, field.unit);
    a.adjusted = field.text;
    changes.push_back(std::move(a));
    return true;
}

void DigitalEditFrame::tellAdjustments(const std::vector<GridAdjustment>& changes) {
    if (!changes.empty()) prompter().tell(forms::gridAdjustMessage(changes));
}

bool DigitalEditFrame::applyDigitalSegment(DigitalApplyMode mode) {
    if (!applyEnabled()) return false;
    std::uint64_t first = 0, count = 0;
    if (!confirmStart(first, count)) return false;
    for (const auto& [ch, k] : targets())
        if (ch >= 0 && ch < kChannels && channels_[static_cast<std::size_t>(ch)] && k < buffers_.size())
            combineDigital(channels_[static_cast<std::size_t>(ch)] + first, buffers_[k].get(), count, mode);
    markAccepted();
    return true;
}

void DigitalEditFrame::setPreviewWidth(int width) {
    previewWidth_ = width;
    if (previewShown()) computePreview();
}

void DigitalEditFrame::computePreview() {
    for (std::size_t k = 0; k < buffers_.size(); ++k)
        computeLevelColumns(buffers_[k].get(), segmentSamples(), previewWidth_, columns_[k]);
}

}  // namespace lyr::digital
