#include "document/waveform_file.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace lyr::document {

namespace {

using namespace wavefile;

// A file's samples fit in the document's spare buffers.
static_assert(kMaxFileSamples <= kMaxSamples);

std::string nameText(const SignalName& name) {
    const auto end = std::find(name.begin(), name.end(), '\0');
    return std::string(name.begin(), end);
}

SignalName nameField(const std::string& text) {
    SignalName name{};
    std::memcpy(name.data(), text.data(), std::min(text.size(), name.size()));
    return name;
}

OpenResult refused(FileFormat format, const std::string& message) {
    OpenResult r;
    r.ok = false;
    r.message = message;
    r.format = format;
    return r;
}

OpenResult opened(FileFormat format, std::uint32_t formatVersion, bool fullImport) {
    OpenResult r;
    r.ok = true;
    r.message = kMsgOk;
    r.format = format;
    r.formatVersion = formatVersion;
    r.fullImport = fullImport;
    return r;
}

// The document's time is always Ts × N, whatever the header's unit field
// said when its product was checked.
std::uint64_t totalTimeOf(std::uint32_t samplingUnits, std::uint32_t sampleCount) {
    return std::uint64_t(samplingUnits) * std::uint64_t(kTimeUnitNs) * sampleCount;
}

// The analog samples were read into the document's spare track and become
// its track without a copy; the packed levels are spread over the channels.
void takeSamples(CSYNDoc& doc, const WaveformFileContents& c, std::uint32_t n) {
    doc.adoptSpareAnalog();
    std::uint8_t* channels[8];
    for (int k = 0; k < 8; ++k) channels[k] = doc.digital(k);
    unpackDigital(c.digital.data(), n, channels);
}

}  // namespace

SaveResult saveWaveformFile(const std::string& path, const CSYNDoc& doc, const StoredExtras& extras) {
    const DocumentFileRecord record = doc.exportForFile();
    HeaderFields h;
    static_cast<TimeBaseIdentity&>(h) = record;
    for (std::size_t i = 0; i < kSignalNameCount; ++i) h.signalNames[i] = nameText(record.signalNames[i]);
    h.flags.reservedFlag1 = extras.reservedFlag1 ? 1 : 0;
    h.flags.editLocked = extras.editLocked ? 1 : 0;
    h.flags.reservedFlag2 = extras.reservedFlag2 ? 1 : 0;
    h.flags.reservedFlag3 = extras.reservedFlag3 ? 1 : 0;
    h.deviceText = std::string(cutText(extras.deviceText, kDeviceTextWidth));
    h.viewState = extras.viewState.toDwords();
    h.outputSettings = record.outputSettings;
    h.formatVersion = kFormatVersion;

    SettingsBlock block{};
    encodeEditorSettings(record.editorSettings, std::span<std::uint8_t>(block.data(), block.size()),
                         ByteFieldWidth::Dword);

    const std::uint8_t* digital[8];
    for (int k = 0; k < 8; ++k) digital[k] = doc.digital(k);
    const FileResult r = writeWaveformFile(path, h, block, doc.analog(), digital);
    return {r.ok, r.message, r.notice};
}

OpenResult openWaveformFile(const std::string& path, CSYNDoc& doc, StoredExtras& extras) {
    // Read straight into memory the document owns and has touched before:
    // no fresh allocation, no page faults, no copy afterwards. Until the
    // samples are taken, only the spare buffers have changed.
    WaveformFileContents c;
    c.analog.lend(doc.spareAnalog(), kMaxSamples);
    c.digital.lend(doc.spareBytes(), kMaxSamples);
    const FileResult read = readWaveformFile(path, kFormatVersion, c);
    if (!read.ok) return refused(FileFormat::Lyr, read.message);

    const HeaderFields& h = c.header;
    const std::uint32_t n = h.sampleCount;
    const bool full = h.formatVersion == kFormatVersion;

    DocumentFileRecord record;
    record.samplingUnits = h.samplingUnits;
    record.sampleCount = n;
    record.totalTime = totalTimeOf(h.samplingUnits, n);
    record.outputSettings = h.outputSettings;
    bool imported = false;
    if (full) {
        // The total time is rebuilt on 10 ns steps, so the unit field must say
        // 10 too: a file stored with another unit would otherwise be saved with
        // a total time its own header check refuses.
        record.timeUnitNs = std::uint32_t(kTimeUnitNs);
        record.timeUnitReserved = h.timeUnitReserved;
        record.revisionId = h.revisionId;
        record.documentId = h.documentId;
        record.modificationCount = h.modificationCount;
        for (std::size_t i = 0; i < kSignalNameCount; ++i) record.signalNames[i] = nameField(h.signalNames[i]);
        if (!decodeEditorSettings(std::span<const std::uint8_t>(c.settingsBlock.data(), c.settingsBlock.size()),
                                  record.editorSettings, ByteFieldWidth::Dword))
            return refused(FileFormat::Lyr, kMsgFormatError);
        imported = doc.importFromFile(record);
    } else {
        // Files of another version may not carry a bit allocation at all;
        // they open with the default one, as converted legacy files do.
        const std::uint8_t r = record.outputSettings.analogResolution;
        if (r < 8 || r > 14) record.outputSettings.analogResolution = 12;
        imported = doc.importReducedFromFile(record);
    }
    // The document refuses values it cannot hold (an analog resolution
    // outside 8 ... 14); it then has not changed.
    if (!imported) return refused(FileFormat::Lyr, kMsgFormatError);
    takeSamples(doc, c, n);

    if (full) {
        extras.editLocked = h.flags.editLocked != 0;
        extras.reservedFlag1 = h.flags.reservedFlag1;
        extras.reservedFlag2 = h.flags.reservedFlag2;
        extras.reservedFlag3 = h.flags.reservedFlag3;
        extras.deviceText = h.deviceText;
        extras.viewState = ViewStateRecord::fromDwords(h.viewState);
    } else {
        extras = StoredExtras{};
    }
    return opened(FileFormat::Lyr, h.formatVersion, full);
}

OpenResult openLegacyFile(const std::string& path, CSYNDoc& doc, StoredExtras& extras) {
    WaveformFileContents c;
    const FileResult read = readLegacyFile(path, c);
    if (!read.ok) return refused(FileFormat::Syn, read.message);

    const HeaderFields& h = c.header;
    const LegacyTimeBase tb = convertLegacyTimeBase(h.samplingUnits, h.sampleCount);

    DocumentFileRecord record;
    record.samplingUnits = tb.samplingUnits;
    record.sampleCount = tb.sampleCount;
    record.totalTime = totalTimeOf(tb.samplingUnits, tb.sampleCount);
    record.outputSettings = h.outputSettings;
    record.outputSettings.analogResolution = 12;
    if (!doc.importReducedFromFile(record)) return refused(FileFormat::Syn, kMsgFormatError);

    // Only the import can refuse, and it changes nothing when it does; the
    // samples are repeated straight into the tracks after it.
    expandLegacyAnalog(c.analog.data(), h.sampleCount, tb.repeat, doc.analog());
    std::uint8_t* channels[8];
    for (int k = 0; k < 8; ++k) channels[k] = doc.digital(k);
    expandLegacyDigital(c.digital.data(), h.sampleCount, tb.repeat, channels);

    extras = StoredExtras{};
    return opened(FileFormat::Syn, h.formatVersion, false);
}

std::optional<FileFormat> formatOfPath(const std::string& path) {
    if (path.size() < 3) return std::nullopt;
    std::string ext = path.substr(path.size() - 3);
    for (char& ch : ext)
        if (ch >= 'A' && ch <= 'Z') ch = char(ch - 'A' + 'a');
    if (ext == "lyr") return FileFormat::Lyr;
    if (ext == "syn") return FileFormat::Syn;
    return std::nullopt;
}

std::string convertedLegacyPath(const std::string& path) {
    if (path.size() < 3) return path;
    return path.substr(0, path.size() - 3) + "lyr";
}

}  // namespace lyr::document
