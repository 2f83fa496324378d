#pragma once
// The export dialog's logic: the format (with WAV's two sample kinds), what
// an array holds where the format lets one choose, the range (the whole
// waveform, or from the cursor to the time mark while one is set) and the
// file; writing tells its failure and its notes through the prompter.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "document/block_reader.h"
#include "document/prompter.h"
#include "document/syn_doc.h"
#include "interchange/export.h"

namespace lyr::interchange {

class ExportForm {
public:
    // One entry of the format list.
    struct FormatChoice {
        const char* label;      // "CSV (*.csv)"
        Format format;
        WavSamples wav;
        const char* extension;  // "csv"
        const char* filter;     // for the save dialog: "description|pattern||"
    };
    static const std::vector<FormatChoice>& formatChoices();

    enum class Range { Whole = 0, CursorToMark = 1 };

    // The waveform of doc, the view's cursor and its time mark (if set).
    ExportForm(const document::CSYNDoc& doc, std::uint32_t cursor, std::optional<std::uint32_t> mark);

    void setFormat(int index);
    int format() const { return format_; }
    const FormatChoice& formatChoice() const { return formatChoices()[static_cast<std::size_t>(format_)]; }
    // Analog or digital can be chosen for a NumPy array only; the others keep
    // what they hold (WAV the analog track, CSV and VCD both).
    bool contentChoice() const { return formatHasContentChoice(formatChoice().format); }
    void setContent(Content content);
    Content content() const { return content_; }

    // The cursor-to-mark range exists while the mark is set.
    bool markRange() const { return mark_.has_value(); }
    void setRange(Range range);
    Range range() const { return range_; }
    // The samples written: from the earlier of cursor and mark to the later,
    // both included, or the whole waveform.
    std::uint32_t first() const;
    std::uint32_t count() const;
    // "0 ～ 1048575 （1048576 サンプル）"
    std::string rangeText() const;

    // The file chosen in the save dialog; a format of another extension clears it.
    void setPath(const std::string& path);
    const std::string& path() const { return path_; }
    bool canWrite() const { return !path_.empty() && count() > 0; }

    // Writes the file. A failure is told as a warning, the notes (a rounded
    // WAV rate, clipped PCM samples) as information; true when written.
    bool write(Prompter& prompter, document::ReadProgress* progress);

private:
    const document::CSYNDoc& doc_;
    std::uint32_t cursor_;
    std::optional<std::uint32_t> mark_;
    int format_ = 0;
    Content content_ = Content::Analog;
    Range range_ = Range::Whole;
    std::string path_;
};

// The notes after a write, as the editor shows them.
std::string rateNote(std::int64_t rateHz);
std::string clippedNote(std::uint64_t clipped);

}  // namespace lyr::interchange
