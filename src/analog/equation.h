#pragma once
// The equation of the equation editor: an expression of t (seconds from the
// segment start), i (sample index), Ts, T (the period, seconds) and pi, parsed
// once by muparser and then evaluated for every sample of the segment.
//
// Functions besides muparser's own (sin, cos, tan, exp, log = ln, sqrt, abs,
// sign, min, max, ...): floor(x), pow(x, y), square(p) and triangle(p) of a
// phase p in radians (period 2 pi, in step with sin: square is +1 in the first
// half, triangle rises from 0 to 1 at pi/2), and noise(): a Gaussian sample of
// deviation 1 drawn as the random-noise editor draws its samples.
#include <cstdint>
#include <memory>
#include <string>

namespace lyr::analog {

struct EquationError {
    std::string message;  // the parser's own message
    int position = -1;    // character position (from 0) in the text; -1 when it names none
};

class Equation {
public:
    Equation();
    ~Equation();
    Equation(const Equation&) = delete;
    Equation& operator=(const Equation&) = delete;

    // Parses text. False, with the parser's message and position, when it does
    // not parse or holds more than one expression.
    bool compile(const std::string& text, EquationError& error);
    bool compiled() const;

    // Evaluates samples 0 .. count - 1 into out: t = k Ts, i = k. noise()
    // draws from `seed` with the noise editor's generator over noiseTable
    // (kNoiseTableSize doubles of work space, filled on the first draw).
    // Returns the index of the first sample that is NaN or infinite (the rest
    // are still computed), or count when every sample is a number.
    std::uint64_t evaluate(double* out, std::uint64_t count, double samplingSeconds, double periodSeconds,
                           std::uint32_t seed, double* noiseTable);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace lyr::analog
