#pragma once
// "数式波形の作成": the analog edit frame over an expression (see equation.h).
// The expression is parsed on every keystroke (its marker carries the
// parser's message and position); create evaluates it once per sample and
// refuses a segment with a sample that is no number, naming that sample's time.
// Values beyond ±1 V are kept as they are; the device clips them.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "analog/analog_forms.h"
#include "analog/equation.h"

namespace lyr::analog {

class EquationForm : public GeneratorForm<document::EquationSettings> {
public:
    static constexpr std::size_t kExpression = 2;
    explicit EquationForm(Prompter& prompter);
    bool hasSketch() const override { return false; }

    // Why the expression does not parse ("位置 N: message"); empty when it does.
    const std::string& expressionError() const { return error_; }
    // Earlier expressions, newest first, as the record brought them.
    const std::vector<std::string>& history() const { return history_; }
    // A fixed seed for noise() makes creations reproducible; without one each
    // creation takes a fresh seed from the clock, as the noise editor does.
    void setSeed(std::optional<std::uint32_t> seed) { seed_ = seed; }
    std::uint32_t lastSeed() const { return lastSeed_; }

    bool createSegment() override;

protected:
    void fillKindFields(const Settings& s) override;
    void storeFields(Settings& s) const override;
    void testKindFields() override;
    bool readKindFields() override;
    bool generate(double* segment) override;
    bool allocateWork() override;

private:
    // Samples of the segment evaluated; the index of the first that is no number, or the count.
    std::uint64_t evaluate(double* segment, std::uint64_t count);

    Equation equation_;
    std::string compiledText_;
    bool compiledOnce_ = false;
    std::string error_;
    std::vector<std::string> history_;
    std::optional<std::uint32_t> seed_;
    std::uint32_t lastSeed_ = 0;
    std::unique_ptr<double[]> table_;
};

// The history after an applied expression: it goes first, an equal older
// entry goes, and at most ten remain.
std::vector<std::string> rememberExpression(const std::vector<std::string>& history, const std::string& expression);

// The message that refuses a segment whose sample at t (ns from the segment
// start) is NaN or infinite.
std::string notANumberMessage(std::int64_t t);

}  // namespace lyr::analog
