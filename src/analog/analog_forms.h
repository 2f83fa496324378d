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

// What the six generator forms share: their settings record with the period
// and its unit, the title and memory message, and the filling of the period.
template <class S>
class GeneratorForm : public AnalogEditFrame {
public:
    using Settings = S;
    const char* title() const final { return title_; }
    const char* memoryMessage() const final { return memoryMessage_; }
    void load(const Settings& s) { settings_ = s; }
    Settings settings() const {
        Settings s{};
        s.period = period();
        s.periodUnit = periodUnit();
        storeFields(s);
        return s;
    }

protected:
    GeneratorForm(Prompter& prompter, const char* title, const char* memoryMessage)
        : AnalogEditFrame(prompter), title_(title), memoryMessage_(memoryMessage) {}
    void fillFields() final {
        fillTime(f(kPeriodField), settings_.period, settings_.periodUnit);
        fillKindFields(settings_);
    }
    // The kind's own fields from the record, and back.
    virtual void fillKindFields(const Settings& s) = 0;
    virtual void storeFields(Settings& s) const = 0;

private:
    const char* title_;
    const char* memoryMessage_;
    Settings settings_;
};

class SineForm : public GeneratorForm<document::SineSettings> {
public:
    static constexpr std::size_t kSinePeriod = 2, kDelay = 3, kPhase = 4, kAmplitude = 5, kOffset = 6,
                                 kRepeat = 7;
    // Which of the radio pair is entered; the other is derived.
    enum class PhaseMode { Delay = 0, StartPhase = 1 };
    explicit SineForm(Prompter& prompter);
    void setPhaseMode(PhaseMode m) { selectRadio(static_cast<int>(m)); }
    PhaseMode phaseMode() const { return radioAs<PhaseMode>(); }

protected:
    void fillKindFields(const Settings& s) override;
    void storeFields(Settings& s) const override;
    void testKindFields() override;
    bool generate(double* segment) override;
    void buildSketch(double* samples, std::size_t& count, SketchDisplayList& list) override;
    void unitChanged(std::size_t field) override;
    void radioChanged() override;

private:
    void testDelay();
    void testPhase();
};

class RectangleForm : public GeneratorForm<document::RectangleSettings> {
public:
    static constexpr std::size_t kT1 = 2, kT2 = 3, kT3 = 4, kT4 = 5, kV1 = 6, kV2 = 7, kT0 = 8, kV0 = 9,
                                 kRepeat = 10;
    // Which of the radio pair is entered: the start position or the start level.
    enum class LevelMode { Position = 0, Level = 1 };
    explicit RectangleForm(Prompter& prompter);
    void setLevelMode(LevelMode m) { selectRadio(static_cast<int>(m)); }
    LevelMode levelMode() const { return radioAs<LevelMode>(); }
    bool cycleValid() const { return cycleValid_; }

protected:
    void fillKindFields(const Settings& s) override;
    void storeFields(Settings& s) const override;
    void testKindFields() override;
    bool kindFieldsValid() const override;
    bool generate(double* segment) override;
    void buildSketch(double* samples, std::size_t& count, SketchDisplayList& list) override;
    void unitChanged(std::size_t field) override;
    void radioChanged() override;

private:
    std::int64_t cycle() const;
    bool cycleValid_ = false;
};

class DcForm : public GeneratorForm<document::DcSettings> {
public:
    static constexpr std::size_t kV0 = 2;
    explicit DcForm(Prompter& prompter);

protected:
    void fillKindFields(const Settings& s) override;
    void storeFields(Settings& s) const override;
    void testKindFields() override;
    bool generate(double* segment) override;
    void buildSketch(double* samples, std::size_t& count, SketchDisplayList& list) override;
};

// Ramp and exponential share the two level fields v0 != v1.
class RampForm : public GeneratorForm<document::RampSettings> {
public:
    static constexpr std::size_t kV0 = 2, kV1 = 3;
    explicit RampForm(Prompter& prompter);

protected:
    void fillKindFields(const Settings& s) override;
    void storeFields(Settings& s) const override;
    void testKindFields() override;
    bool generate(double* segment) override;
    void buildSketch(double* samples, std::size_t& count, SketchDisplayList& list) override;
};

class ExpForm : public GeneratorForm<document::ExpSettings> {
public:
    static constexpr std::size_t kV0 = 2, kV1 = 3, kTau = 4;
    explicit ExpForm(Prompter& prompter);

protected:
    void fillKindFields(const Settings& s) override;
    void storeFields(Settings& s) const override;
    void testKindFields() override;
    bool generate(double* segment) override;
    void buildSketch(double* samples, std::size_t& count, SketchDisplayList& list) override;
};

class NoiseForm : public GeneratorForm<document::NoiseSettings> {
public:
    static constexpr std::size_t kAmplitude = 2, kConverted = 3;
    // The entries of the amplitude's box.
    enum class AmplitudeUnit { Rms = 0, PeakToPeak = 1 };
    explicit NoiseForm(Prompter& prompter);
    bool hasSketch() const override { return false; }
    void setAmplitudeUnit(AmplitudeUnit u) { setChoice(kAmplitude, static_cast<int>(u)); }
    AmplitudeUnit amplitudeUnit() const { return static_cast<AmplitudeUnit>(field(kAmplitude).choice); }
    double sigma() const { return sigma_; }
    // A fixed seed makes every creation reproducible; without one each
    // creation takes a fresh seed from the clock.
    void setSeed(std::optional<std::uint32_t> seed) { seed_ = seed; }
    std::uint32_t lastSeed() const { return lastSeed_; }

protected:
    void fillKindFields(const Settings& s) override;
    void storeFields(Settings& s) const override;
    void testKindFields() override;
    bool readKindFields() override;
    bool generate(double* segment) override;
    bool allocateWork() override;

private:
    double sigma_ = 0.0;
    std::optional<std::uint32_t> seed_;
    std::uint32_t lastSeed_ = 0;
    std::unique_ptr<double[]> table_;
};

}  // namespace lyr::analog
