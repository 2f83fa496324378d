#pragma once
// The external data editor: a source of numbers (a text file, or the analog
// track of a waveform file) with its own sampling interval is resampled onto
// the waveform's sampling time, scaled and offset, and applied as a segment.
#include <cstdint>
#include <memory>
#include <string>

#include "analog/analog_edit_frame.h"
#include "document/block_reader.h"
#include "document/settings_records.h"

namespace lyr::analog {

enum class Interpolation { None = 0, Linear = 1 };

struct ResampleParams {
    const double* source = nullptr;
    std::uint32_t sourceCount = 0;
    std::int64_t sourceInterval = 0;   // ns between two source values
    std::int64_t conversionStart = 0;  // ns into the source
    std::int64_t period = 0;           // ns, a multiple of Ts
    std::uint32_t samplingTime = 10;
    double factor = 1.0;
    double offset = 0.0;
    Interpolation interpolation = Interpolation::None;
};

// Zeroes floor(period / Ts) samples, then fills those that lie within the
// source: value x factor + offset, linear interpolation in extended
// precision between neighbours, the last source value held. False when a
// sample would lie past the source (the arguments do not fit).
bool resampleSource(double* segment, const ResampleParams& p);

// The note after a WAV source whose rate gives no whole number of ns.
std::string wavRateNote(std::int64_t rateHz, std::int64_t intervalNs);

class ExternalForm : public AnalogEditFrame {
public:
    using Settings = document::ExternalSettings;
    static constexpr std::size_t kInterval = 2, kFrom = 3, kFromIndex = 4, kFactor = 5, kOffset = 6,
                                 kInterpolation = 7, kCount = 8;
    // The radio pair of the conversion start.
    enum class StartMode { Time = 0, Index = 1 };

    explicit ExternalForm(Prompter& prompter);
    const char* title() const override { return "外部データの変換"; }
    const char* memoryMessage() const override { return "外部波形読込みのためのメモリが確保できませんでした"; }
    bool hasSketch() const override { return false; }
    void load(const Settings& s) { settings_ = s; }
    Settings settings() const;

    // "ﾃﾞｰﾀ変換".
    bool createSegment() override { return convertSource(); }
    const char* createText() const override { return "ﾃﾞｰﾀ変換"; }
    bool convertSource();

    // Reads a source file: ".lyr" and ".syn" (any case) through the waveform
    // readers, ".wav" (its first channel; the rate sets the interval) and
    // ".npy" (a 1-D array of numbers), anything else as numbers. Messages go
    // to the prompter; false when nothing was loaded.
    bool loadSource(const std::string& path);
    void setProgress(document::ReadProgress* progress) { progress_ = progress; }
    const std::string& fileName() const { return fileName_; }

    void setStartMode(StartMode m) { selectRadio(static_cast<int>(m)); }
    StartMode startMode() const { return radioAs<StartMode>(); }
    void setInterpolation(Interpolation i) { setChoice(kInterpolation, static_cast<int>(i)); }

    bool sourceLoaded() const { return sourceLoaded_; }
    std::uint32_t sourceCount() const { return sourceCount_; }
    const double* sourceSamples() const { return source_.get(); }
    std::int64_t sourceDuration() const { return sourceDuration_; }
    // The overview graph: "MaxValue", "MinValue", the "0" under its left end
    // and "ExtEndTime" (all empty without a source).
    const std::string& maxLabel() const { return maxLabel_; }
    const char* originLabel() const { return sourceLoaded_ ? "0" : ""; }
    const std::string& minLabel() const { return minLabel_; }
    const std::string& durationLabel() const { return durationLabel_; }
    void setOverviewRect(const PlotRect& rect);
    const PreviewColumns& overviewColumns() const { return overviewColumns_; }

protected:
    void fillFields() override;
    void testKindFields() override;
    bool kindFieldsValid() const override;
    bool generate(double*) override { return false; }
    bool isGenerationField(std::size_t i) const override;
    void fieldEdited(std::size_t i) override;
    void radioChanged() override;
    bool allocateWork() override;

private:
    void testConversionStart();
    void intervalRule();
    void conversionStartChanged();
    void writePeriodAuto(std::int64_t ns);
    void sourceDone();
    void computeOverview();
    bool loadWaveform(const std::string& path, bool legacy);
    bool loadWav(const std::string& path);

    Settings settings_;
    std::unique_ptr<double[]> source_;
    std::unique_ptr<double[]> overview_;
    std::uint32_t sourceCount_ = 0;
    bool sourceLoaded_ = false;
    std::int64_t sourceDuration_ = 0;
    double sourceMax_ = 0.0, sourceMin_ = 0.0;
    std::string fileName_;
    std::string maxLabel_, minLabel_, durationLabel_;
    PlotRect overviewRect_{0, 0, 199, 59};
    PreviewColumns overviewColumns_;
    document::ReadProgress* progress_ = nullptr;
};

}  // namespace lyr::analog
