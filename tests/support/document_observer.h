#pragma once
// Records what a document announces, for the tests of the commands that
// change it. Registered while it lives.
#include <cstdint>
#include <vector>

#include "document/syn_doc.h"

namespace lyr::test {

class RecordingObserver : public document::DocumentObserver {
public:
    explicit RecordingObserver(document::CSYNDoc& doc) : doc_(doc) { doc_.addObserver(this); }
    ~RecordingObserver() override { doc_.removeObserver(this); }
    RecordingObserver(const RecordingObserver&) = delete;
    RecordingObserver& operator=(const RecordingObserver&) = delete;

    void samplesChanged(const document::EditRange& range) override { ranges.push_back(range); }
    void channelsChanged() override { ++channels; }
    void timeBaseChanged() override { ++timeBases; }
    void undone(std::int32_t kind) override { undoKinds.push_back(kind); }
    void settingsChanged() override { ++settings; }
    void clipboardChanged() override { ++clipboards; }
    void lockChanged(bool allowed) override { locks.push_back(allowed); }

    std::vector<document::EditRange> ranges;
    int channels = 0, timeBases = 0, settings = 0, clipboards = 0;
    std::vector<std::int32_t> undoKinds;
    std::vector<bool> locks;

private:
    document::CSYNDoc& doc_;
};

}  // namespace lyr::test
