#pragma once
// An analog editor form opened over a track of its own, with a scripted
// prompter, as the form tests, the document tests and the dialog tests use it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "analog/analog_forms.h"
#include "support/scripted_prompter.h"

namespace lyr::test {

template <class F>
struct OpenForm {
    // n samples of `fill` V at ts ns (the rest of the track 0 V), opened at edit start 0.
    explicit OpenForm(std::int64_t ts, std::size_t n, typename F::Settings settings = {}, double fill = 0.0)
        : track(1048576, 0.0), form(prompter) {
        std::fill_n(track.begin(), n, fill);
        form.load(settings);
        EXPECT_TRUE(form.open(track.data(), ts * static_cast<std::int64_t>(n), static_cast<std::uint32_t>(ts), 0));
    }
    // Types the text into a field, choosing its unit first when one is given.
    void set(std::size_t field, const std::string& text, document::TimeUnit unit = document::kUnitNone) {
        if (unit != document::kUnitNone) form.setUnit(field, unit);
        form.setText(field, text);
    }
    bool marked(std::size_t field) const { return form.field(field).markerShown; }
    std::vector<double> samples(std::size_t first, std::size_t end) const {
        return std::vector<double>(track.begin() + static_cast<std::ptrdiff_t>(first),
                                   track.begin() + static_cast<std::ptrdiff_t>(end));
    }

    ScriptedPrompter prompter;
    std::vector<double> track;
    F form;
};

}  // namespace lyr::test
