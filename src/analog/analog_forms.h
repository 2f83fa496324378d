#pragma once
// The forms of the six generator editors over the analog edit frame. Each
// opens with its remembered settings record (load before open) and gives the
// record to remember back after an apply (settings()).
#include <cstdint>
#include <memory>
#include <optional>

#include "analog/analog_edit_frame.h"
#include "document/settings_records.h"

namespace lyr::analog {

class SineForm : public AnalogEditFrame {
public:
    using Settings = document::SineSettings;
    static constexpr std::size_t kSinePeriod = 2, kDelay = 3, kPhase = 4, kAmplitude = 5, kOffset = 6,
                                 kRepeat = 7;
    explicit SineForm(Prompter& prompter);
    const char* title() const override { return "正弦波の作成"; }
    const char* memoryMessage() const override { return "正弦波作成のためのメモリが確保できませんでした"; }
    void load(const Settings& s) { settings_ = s; }
    Settings settings() const;

protected:
    void fillFields() override;
    void testKindFields() override;
    bool kindFieldsValid() const override;
    bool readKindFields() override;
    bool generate(double* segment) override;
    void buildSketch(double* samples, std::size_t& count, SketchDisplayList& list) override;
    void unitChanged(std::size_t field) override;
    void modeChanged() override;

private:
    void testDelay();
    void testPhase();
    Settings settings_;
};

class RectangleForm : public AnalogEditFrame {
public:
    using Settings = document::RectangleSettings;
    static constexpr std::size_t kT1 = 2, kT2 = 3, kT3 = 4, kT4 = 5, kV1 = 6, kV2 = 7, kT0 = 8, kV0 = 9,
                                 kRepeat = 10;
    explicit RectangleForm(Prompter& prompter);
    const char* title() const override { return "矩形波の作成"; }
    const char* memoryMessage() const override { return "矩形波作成のためのメモリが確保できませんでした"; }
    void load(const Settings& s) { settings_ = s; }
    Settings settings() const;
    bool cycleValid() const { return cycleValid_; }

protected:
    void fillFields() override;
    void testKindFields() override;
    bool kindFieldsValid() const override;
    bool readKindFields() override;
    bool generate(double* segment) override;
    void buildSketch(double* samples, std::size_t& count, SketchDisplayList& list) override;
    void unitChanged(std::size_t field) override;
    void modeChanged() override;

private:
    std::int64_t cycle() const;
    Settings settings_;
    bool cycleValid_ = false;
};

class DcForm : public AnalogEditFrame {
public:
    using Settings = document::DcSettings;
    static constexpr std::size_t kV0 = 2;
    explicit DcForm(Prompter& prompter);
    const char* title() const override { return "直流波形の作成"; }
    const char* memoryMessage() const override { return "直流波形作成のためのメモリが確保できませんでした"; }
    void load(const Settings& s) { settings_ = s; }
    Settings settings() const;

protected:
    void fillFields() override;
    void testKindFields() override;
    bool kindFieldsValid() const override;
    bool readKindFields() override;
    bool generate(double* segment) override;
    void buildSketch(double* samples, std::size_t& count, SketchDisplayList& list) override;

private:
    Settings settings_;
};

// Ramp and exponential share the two level fields v0 != v1.
class RampForm : public AnalogEditFrame {
public:
    using Settings = document::RampSettings;
    static constexpr std::size_t kV0 = 2, kV1 = 3;
    explicit RampForm(Prompter& prompter);
    const char* title() const override { return "ランプ波形の作成"; }
    const char* memoryMessage() const override { return "ランプ波形作成のためのメモリが確保できませんでした"; }
    void load(const Settings& s) { settings_ = s; }
    Settings settings() const;

protected:
    void fillFields() override;
    void testKindFields() override;
    bool kindFieldsValid() const override;
    bool readKindFields() override;
    bool generate(double* segment) override;
    void buildSketch(double* samples, std::size_t& count, SketchDisplayList& list) override;

private:
    Settings settings_;
};

class ExpForm : public AnalogEditFrame {
public:
    using Settings = document::ExpSettings;
    static constexpr std::size_t kV0 = 2, kV1 = 3, kTau = 4;
    explicit ExpForm(Prompter& prompter);
    const char* title() const override { return "指数関数波形の作成"; }
    const char* memoryMessage() const override { return "指数関数波形作成のためのメモリが確保できませんでした"; }
    void load(const Settings& s) { settings_ = s; }
    Settings settings() const;

protected:
    void fillFields() override;
    void testKindFields() override;
    bool kindFieldsValid() const override;
    bool readKindFields() override;
    bool generate(double* segment) override;
    void buildSketch(double* samples, std::size_t& count, SketchDisplayList& list) override;

private:
    Settings settings_;
};

class NoiseForm : public AnalogEditFrame {
public:
    using Settings = document::NoiseSettings;
    static constexpr std::size_t kAmplitude = 2, kConverted = 3;
    static constexpr int kRms = 0, kPeakToPeak = 1;
    explicit NoiseForm(Prompter& prompter);
    const char* title() const override { return "ランダムノイズの作成"; }
    const char* memoryMessage() const override {
        return "ランダムノイズ作成のためのメモリが確保できませんでした";
    }
    bool hasSketch() const override { return false; }
    void load(const Settings& s) { settings_ = s; }
    Settings settings() const;
    double sigma() const { return sigma_; }
    // A fixed seed makes every creation reproducible; without one each
    // creation takes a fresh seed from the clock.
    void setSeed(std::optional<std::uint32_t> seed) { seed_ = seed; }
    std::uint32_t lastSeed() const { return lastSeed_; }

protected:
    void fillFields() override;
    void testKindFields() override;
    bool kindFieldsValid() const override;
    bool readKindFields() override;
    bool generate(double* segment) override;
    bool allocateWork() override;

private:
    Settings settings_;
    double sigma_ = 0.0;
    std::optional<std::uint32_t> seed_;
    std::uint32_t lastSeed_ = 0;
    std::unique_ptr<double[]> table_;
};

}  // namespace lyr::analog
