#include "analog/equation_form.h"

#include <algorithm>

#include "forms/form_fields.h"
#include "analog/generators.h"
#include "document/quantities.h"

namespace lyr::analog {

std::vector<std::string> rememberExpression(const std::vector<std::string>& history, const std::string& expression) {
    std::vector<std::string> out{expression};
    for (const std::string& e : history) {
        if (out.size() == document::EquationSettings::kHistorySize) break;
        if (e != expression && !e.empty()) out.push_back(e);
    }
    return out;
}

std::string notANumberMessage(std::int64_t t) {
    return "t = " + document::formatTimeWithUnit(t) + " で式の値が数値になりません（NaN または無限大）";
}

EquationForm::EquationForm(Prompter& prompter)
    : GeneratorForm(prompter, "数式波形の作成", "数式波形作成のためのメモリが確保できませんでした") {
    FormField expression = forms::field(FieldKind::Text, "expr", "式", "：");
    addField(expression);
}

bool EquationForm::allocateWork() {
    table_ = allocator().doubles(kNoiseTableSize);
    return table_ != nullptr;
}

void EquationForm::fillKindFields(const Settings& s) {
    f(kExpression).text = s.expression;
    history_ = s.history;
    compiledOnce_ = false;
}

void EquationForm::storeFields(Settings& s) const {
    s.expression = field(kExpression).text;
    s.history = rememberExpression(history_, s.expression);
}

void EquationForm::testKindFields() {
    FormField& e = f(kExpression);
    // Parsed again only when the text changed: the other fields' keystrokes cost nothing.
    if (!compiledOnce_ || e.text != compiledText_) {
        EquationError err;
        const bool ok = equation_.compile(e.text, err);
        compiledText_ = e.text;
        compiledOnce_ = true;
        error_.clear();
        if (!ok) {
            error_ = err.position >= 0 ? "位置 " + std::to_string(err.position) + ": " + err.message : err.message;
        }
    }
    setValid(e, equation_.compiled());
}

bool EquationForm::readKindFields() {
    testKindFields();
    return equation_.compiled();
}

std::uint64_t EquationForm::evaluate(double* segment, std::uint64_t count) {
    lastSeed_ = seed_ ? *seed_ : clockNoiseSeed();
    const double ts = static_cast<double>(samplingTime()) * 1e-9;
    const double period = static_cast<double>(this->period()) * 1e-9;
    return equation_.evaluate(segment, count, ts, period, lastSeed_, table_.get());
}

bool EquationForm::generate(double* segment) {
    const std::uint64_t n = periodSamples(period(), samplingTime());
    return evaluate(segment, n) == n;
}

bool EquationForm::createSegment() {
    const bool read = readTime(f(kPeriodField));
    bool ok = readKindFields() && read && quantisePeriod();
    const std::uint64_t n = ok ? periodSamples(period(), samplingTime()) : 0;
    if (!ok) {
        prompter().tell(kInvalidParameters, PromptIcon::Warning);
    } else if (const std::uint64_t bad = evaluate(segmentBuffer(), n); bad < n) {
        prompter().tell(notANumberMessage(static_cast<std::int64_t>(bad) * samplingTime()), PromptIcon::Warning);
        ok = false;
    }
    if (ok) segmentReady(n);
    else discardSegment();
    refreshControls();
    return ok;
}

}  // namespace lyr::analog
