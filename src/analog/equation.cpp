#include "analog/equation.h"

#include <muParser.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "analog/generators.h"

namespace lyr::analog {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

// Position in the period of a phase, 0 <= q < 1.
double cyclePosition(double phase) {
    const double q = phase / kTwoPi;
    return q - std::floor(q);
}

double squareWave(double phase) { return cyclePosition(phase) < 0.5 ? 1.0 : -1.0; }

double triangleWave(double phase) {
    const double q = cyclePosition(phase);
    if (q < 0.25) return 4.0 * q;
    if (q < 0.75) return 2.0 - 4.0 * q;
    return 4.0 * q - 4.0;
}

double floorOf(double x) { return std::floor(x); }
double power(double x, double y) { return std::pow(x, y); }

// The first comma outside any parenthesis: where a second expression starts.
int topLevelComma(const std::string& text) {
    int depth = 0;
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '(') ++depth;
        else if (text[k] == ')') --depth;
        else if (text[k] == ',' && depth == 0) return static_cast<int>(k);
    }
    return -1;
}

}  // namespace

struct Equation::Impl {
    mu::Parser parser;
    double t = 0, i = 0, ts = 0, period = 0;
    bool ok = false;
    // noise(): silent while parsing, the noise editor's draws while evaluating.
    bool drawing = false;
    RuntimeRandom random;
    double* table = nullptr;
    bool tableBuilt = false;
    double dx = 0;

    static double noise(void* data) {
        auto* self = static_cast<Impl*>(data);
        if (!self->drawing || !self->table) return 0.0;
        if (!self->tableBuilt) {
            self->dx = buildNoiseTable(1.0, self->table);
            self->tableBuilt = true;
        }
        const int r1 = self->random.draw();
        const int r2 = self->random.draw();
        return noiseSampleFromDraws(r1, r2, self->table, self->dx);
    }

    Impl() {
        parser.DefineVar("t", &t);
        parser.DefineVar("i", &i);
        parser.DefineVar("Ts", &ts);
        parser.DefineVar("T", &period);
        parser.DefineConst("pi", kPi);
        parser.DefineFun("floor", floorOf);
        parser.DefineFun("pow", power);
        parser.DefineFun("square", squareWave);
        parser.DefineFun("triangle", triangleWave);
        // Not optimised away: every call is a new draw.
        parser.DefineFunUserData("noise", noise, this, false);
    }
};

Equation::Equation() : impl_(std::make_unique<Impl>()) {}
Equation::~Equation() = default;

bool Equation::compiled() const { return impl_->ok; }

bool Equation::compile(const std::string& text, EquationError& error) {
    Impl& m = *impl_;
    m.ok = false;
    m.drawing = false;
    m.t = m.i = 0;
    m.ts = m.period = 1;
    try {
        m.parser.SetExpr(text);
        (void)m.parser.Eval();  // parses; errors surface here
    } catch (const mu::Parser::exception_type& e) {
        error.message = e.GetMsg();
        const int pos = e.GetPos();
        error.position = pos < 0 ? -1 : std::min(pos, static_cast<int>(text.size()));
        return false;
    }
    if (m.parser.GetNumResults() != 1) {
        error.message = "Only one expression is allowed";
        error.position = topLevelComma(text);
        return false;
    }
    error = {};
    m.ok = true;
    return true;
}

std::uint64_t Equation::evaluate(double* out, std::uint64_t count, double samplingSeconds, double periodSeconds,
                                 std::uint32_t seed, double* noiseTable) {
    Impl& m = *impl_;
    std::uint64_t first = count;
    if (!m.ok) {
        for (std::uint64_t k = 0; k < count; ++k) out[k] = std::numeric_limits<double>::quiet_NaN();
        return 0;
    }
    m.random.seed(seed);
    if (m.table != noiseTable) m.tableBuilt = false;
    m.table = noiseTable;
    m.drawing = true;
    std::uint64_t k = 0;
    try {
        for (; k < count; ++k) {
            // Every variable again for each sample: an assignment in the text
            // ("T = 1") changes that sample only.
            m.t = static_cast<double>(k) * samplingSeconds;
            m.i = static_cast<double>(k);
            m.ts = samplingSeconds;
            m.period = periodSeconds;
            const double v = m.parser.Eval();
            out[k] = v;
            if (!std::isfinite(v) && first == count) first = k;
        }
    } catch (const mu::Parser::exception_type&) {
        if (first == count) first = k;
        for (; k < count; ++k) out[k] = std::numeric_limits<double>::quiet_NaN();
    }
    m.drawing = false;
    return first;
}

}  // namespace lyr::analog
