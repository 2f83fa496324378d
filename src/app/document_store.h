#pragma once
// The document and its waveform files behind the commands of the main window
// (and of lyrtool, which opens and saves files the way the editor does).
#include <string>

#include "app/lifecycle.h"
#include "document/syn_doc.h"
#include "document/waveform_file.h"

namespace lyr::app {

class DocumentStore : public WaveformStore {
public:
    explicit DocumentStore(document::CSYNDoc& doc) : doc_(doc) {}

    ChangeState changes() const override;
    int analogResolution() const override { return doc_.analogResolution(); }
    bool newWaveform(std::int64_t samplingTimeNs, std::uint32_t sampleCount) override;
    OpenOutcome open(const std::string& path, FileFormat format, StoredExtras& extras) override;
    bool save(const std::string& path, const StoredExtras& extras, std::string& message) override;
    bool editAllowed() const override { return doc_.editAllowed(); }
    void setEditAllowed(bool allowed) override { doc_.setEditAllowed(allowed); }

    document::CSYNDoc& document() { return doc_; }

private:
    document::CSYNDoc& doc_;
};

// Opens a file as the editor does: the reader by the last three characters of
// the name (a legacy file is converted). Refuses other names with an empty
// message, as the editor ignores them.
document::OpenResult openAsEditor(const std::string& path, document::CSYNDoc& doc,
                                  StoredExtras& extras);

}  // namespace lyr::app
