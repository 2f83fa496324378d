#include "interchange/export_form.h"

#include <algorithm>

namespace lyr::interchange {

const std::vector<ExportForm::FormatChoice>& ExportForm::formatChoices() {
    static const std::vector<FormatChoice> choices = {
        {"CSV (*.csv)", Format::Csv, WavSamples::Float32, "csv", "CSVﾌｧｲﾙ (*.csv)|*.csv||"},
        {"WAV 32ビット浮動小数点 (*.wav)", Format::Wav, WavSamples::Float32, "wav", "WAVﾌｧｲﾙ (*.wav)|*.wav||"},
        {"WAV 16ビットPCM (*.wav)", Format::Wav, WavSamples::Pcm16, "wav", "WAVﾌｧｲﾙ (*.wav)|*.wav||"},
        {"NumPy (*.npy)", Format::Npy, WavSamples::Float32, "npy", "NPYﾌｧｲﾙ (*.npy)|*.npy||"},
        {"VCD (*.vcd)", Format::Vcd, WavSamples::Float32, "vcd", "VCDﾌｧｲﾙ (*.vcd)|*.vcd||"},
    };
    return choices;
}

ExportForm::ExportForm(const document::CSYNDoc& doc, std::uint32_t cursor, std::optional<std::uint32_t> mark)
    : doc_(doc), cursor_(cursor), mark_(mark) {}

void ExportForm::setFormat(int index) {
    if (index < 0 || index >= static_cast<int>(formatChoices().size())) return;
    // A file chosen for another extension is chosen again (with its own
    // overwrite question).
    if (std::string(formatChoice().extension) != formatChoices()[static_cast<std::size_t>(index)].extension)
        path_.clear();
    format_ = index;
    if (!contentChoice()) content_ = Content::Analog;
}

void ExportForm::setContent(Content content) {
    if (contentChoice()) content_ = content;
}

void ExportForm::setRange(Range range) { range_ = range == Range::CursorToMark && !mark_ ? Range::Whole : range; }

std::uint32_t ExportForm::first() const {
    return range_ == Range::CursorToMark ? std::min(cursor_, *mark_) : 0;
}

std::uint32_t ExportForm::count() const {
    const std::uint32_t n = doc_.sampleCount();
    if (range_ == Range::Whole) return n;
    const std::uint32_t last = std::min(std::max(cursor_, *mark_), n == 0 ? 0 : n - 1);
    return n == 0 || first() > last ? 0 : last - first() + 1;
}

std::string ExportForm::rangeText() const {
    const std::uint32_t n = count();
    if (n == 0) return "（0 サンプル）";
    return std::to_string(first()) + " ～ " + std::to_string(first() + n - 1) + " （" + std::to_string(n) +
           " サンプル）";
}

void ExportForm::setPath(const std::string& path) { path_ = path; }

bool ExportForm::write(Prompter& prompter, document::ReadProgress* progress) {
    if (!canWrite()) return false;
    Samples s;
    const std::uint32_t from = first();
    s.analog = doc_.analog() + from;
    for (int k = 0; k < 8; ++k) s.channels[static_cast<std::size_t>(k)] = doc_.digital(k) + from;
    s.count = count();
    s.samplingTime = doc_.samplingTime();
    s.firstIndex = from;
    ExportOptions o;
    o.format = formatChoice().format;
    o.wav = formatChoice().wav;
    o.content = content_;
    const ExportResult r = exportSamples(path_, s, o, progress);
    if (!r.ok) {
        prompter.tell(r.message, PromptIcon::Warning);
        return false;
    }
    if (r.rateRounded) prompter.tell(rateNote(r.rateHz), PromptIcon::Information);
    if (r.clipped > 0) prompter.tell(clippedNote(r.clipped), PromptIcon::Information);
    return true;
}

std::string rateNote(std::int64_t rateHz) {
    return "サンプリング時間の逆数が整数の Hz にならないため、サンプリング周波数を " + std::to_string(rateHz) +
           " Hz に丸めました。";
}

std::string clippedNote(std::uint64_t clipped) {
    return "±1 V を超える " + std::to_string(clipped) + " サンプルをクリップしました。";
}

}  // namespace lyr::interchange
