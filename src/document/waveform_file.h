#pragma once
// Saving the document as a waveform file and opening one into it.
//
//   StoredExtras extras{...};                       // from the main window / view
//   auto saved = saveWaveformFile(path, doc, extras);
//   if (!saved.ok) prompter.tell(saved.message);   // nothing else changed
//
//   auto opened = openWaveformFile(path, doc, extras);   // ".lyr"
//   auto opened = openLegacyFile(path, doc, extras);     // ".syn" (converted)
//   if (!opened.ok) prompter.tell(opened.message);       // document and extras untouched
//   else if (opened.fullImport) view.restore(extras.viewState);
//   else view.resetView();                               // extras were reset
//
// Every result carries the message to show on failure; on success it is
// "正常終了しました。", which callers do not show. A file that does not read
// leaves the document and the extras exactly as they were. A failed save
// leaves the file it would have replaced byte for byte as it was.
//
// The section-level readers (samples and time base only, as the external-data
// and parallel editors need them) are in waveform_file_raw.h.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "document/syn_doc.h"
#include "document/view_state_record.h"
#include "document/waveform_file_raw.h"

namespace lyr::document {

// What the file carries for others besides the document: the main window's
// edit lock and three reserved flags, the device text and the view state.
struct StoredExtras {
    bool editLocked = false;  // stored as 1 when the main window's editAllowed is false
    std::uint8_t reservedFlag1 = 0;
    std::uint8_t reservedFlag2 = 0;
    std::uint8_t reservedFlag3 = 0;
    std::string deviceText;  // raw code page 932 bytes; cut to 16 bytes when saved
    ViewStateRecord viewState;
    bool operator==(const StoredExtras&) const = default;
};

using wavefile::FileFormat;

struct SaveResult {
    SaveResult() = default;
    SaveResult(bool ok_, std::string message_, std::string notice_ = {})
        : ok(ok_), message(std::move(message_)), notice(std::move(notice_)) {}
    bool ok = false;
    std::string message;
    std::string notice;  // on success, a text still to show (the file was rewritten in place)
};

struct OpenResult {
    bool ok = false;
    std::string message;
    FileFormat format = FileFormat::Lyr;  // which reader ran
    // The dword at offset 1,020 (3 for the current version).
    std::uint32_t formatVersion = 0;
    // True: a current-version file; the document made the full import and
    // the extras came from the file. False: a legacy or other-version file;
    // the document made the reduced import and the extras were reset (the
    // view must reset itself). Meaningful only when ok.
    bool fullImport = false;
};

// Writes a current-format (version 3) file of the document's waveform.
SaveResult saveWaveformFile(const std::string& path, const CSYNDoc& doc, const StoredExtras& extras);

// Reads a current-format file and, only when all of it read, imports it.
OpenResult openWaveformFile(const std::string& path, CSYNDoc& doc, StoredExtras& extras);

// Reads a legacy file and converts it: every sample repeated 1, 2 or 4 times
// by its sampling value, CH4..CH7 low, R = 12, reduced import.
OpenResult openLegacyFile(const std::string& path, CSYNDoc& doc, StoredExtras& extras);

// The reader a path is meant for, from its last three characters in any
// case: "lyr" or "syn"; nothing for any other name.
std::optional<FileFormat> formatOfPath(const std::string& path);

// The path a converted legacy file is saved to: its last three characters
// replaced by "lyr".
std::string convertedLegacyPath(const std::string& path);

}  // namespace lyr::document
