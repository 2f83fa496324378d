#pragma once
// Waveform stretches for the interchange tests, the independent readers they
// are checked with (Python's csv and wave, numpy, libsndfile through ctypes,
// sigrok-cli) and the expected values handed to them as raw bytes.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <cstdint>
#include <string>
#include <vector>

#include "interchange/export.h"
#include "support/program_run.h"
#include "support/scratch_folder.h"
#include "support/waveform_files.h"

namespace lyr::test {

// The analog track and eight channels of a stretch, owned.
struct Stretch {
    std::vector<double> analog;
    std::array<std::vector<std::uint8_t>, 8> channels;
    std::int64_t ts = 10;
    std::uint32_t first = 0;

    explicit Stretch(std::size_t n = 0) : analog(n) {
        for (auto& c : channels) c.assign(n, 0);
    }
    std::size_t size() const { return analog.size(); }
    interchange::Samples samples() const {
        interchange::Samples s;
        s.analog = analog.data();
        for (std::size_t k = 0; k < 8; ++k) s.channels[k] = channels[k].data();
        s.count = static_cast<std::uint32_t>(analog.size());
        s.samplingTime = ts;
        s.firstIndex = first;
        return s;
    }
    std::uint8_t word(std::size_t i) const {
        unsigned w = 0;
        for (unsigned k = 0; k < 8; ++k) w |= unsigned(channels[k][i] != 0) << k;
        return static_cast<std::uint8_t>(w);
    }
    // The values as little-endian doubles, then the words: what the Python checks compare with.
    void writeExpected(const std::string& path) const {
        std::vector<std::uint8_t> bytes(analog.size() * 9);
        for (std::size_t i = 0; i < analog.size(); ++i) {
            std::uint64_t b;
            std::memcpy(&b, &analog[i], 8);
            for (int j = 0; j < 8; ++j) bytes[8 * i + std::size_t(j)] = std::uint8_t(b >> (8 * j));
            bytes[8 * analog.size() + i] = word(i);
        }
        putFileBytes(path, bytes);
    }
};

// A stretch with every kind of value: a sine with exact and inexact
// decimals, values beyond +-1 V, negative zero, and channels that toggle at
// different rates.
inline Stretch mixedStretch(std::size_t n, std::int64_t ts) {
    Stretch s(n);
    s.ts = ts;
    for (std::size_t i = 0; i < n; ++i) {
        s.analog[i] = std::sin(double(i) * 0.01) * 1.25;
        for (std::size_t k = 0; k < 8; ++k) s.channels[k][i] = std::uint8_t(((i >> k) & 1) ? (k + 1) : 0);
    }
    if (n > 3) {
        s.analog[1] = 0.1;
        s.analog[2] = -0.0;
        s.analog[3] = 1e-300;
    }
    return s;
}

// /usr/bin/python3 (the one with numpy) running script with args; fails the
// test with its output when it does not exit 0.
inline RunResult python(const ScratchFolder& dir, const std::string& script, const std::vector<std::string>& args) {
    std::vector<std::string> all{"-c", script};
    all.insert(all.end(), args.begin(), args.end());
    RunResult r = runProgram("/usr/bin/python3", all, dir.path());
    EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    return r;
}

}  // namespace lyr::test
