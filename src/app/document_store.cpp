#include "app/document_store.h"

namespace lyr::app {

ChangeState DocumentStore::changes() const {
    return ChangeState{doc_.hasWaveform(), doc_.isModified(), doc_.resolutionChanged(),
                       doc_.outputSettingsChanged()};
}

bool DocumentStore::newWaveform(std::int64_t samplingTimeNs, std::uint32_t sampleCount) {
    return doc_.newWaveform(samplingTimeNs, sampleCount);
}

document::OpenResult openAsEditor(const std::string& path, document::CSYNDoc& doc,
                                  StoredExtras& extras) {
    const auto format = document::formatOfPath(path);
    if (!format) return document::OpenResult{};
    if (*format == FileFormat::Syn) return document::openLegacyFile(path, doc, extras);
    return document::openWaveformFile(path, doc, extras);
}

OpenOutcome DocumentStore::open(const std::string& path, FileFormat format, StoredExtras& extras) {
    const document::OpenResult r = format == FileFormat::Syn
                                       ? document::openLegacyFile(path, doc_, extras)
                                       : document::openWaveformFile(path, doc_, extras);
    return OpenOutcome{r.ok, r.message, r.ok && r.fullImport};
}

bool DocumentStore::save(const std::string& path, const StoredExtras& extras, std::string& message) {
    const document::SaveResult r = document::saveWaveformFile(path, doc_, extras);
    message = r.ok ? r.notice : r.message;
    if (r.ok) doc_.markSaved();
    return r.ok;
}

}  // namespace lyr::app
