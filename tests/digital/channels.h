#pragma once
// Eight full-capacity channel arrays, and a form of the digital frame opened
// over them, for the digital form tests.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "digital/digital_edit_frame.h"
#include "document/editor_contract.h"
#include "support/scripted_prompter.h"

namespace lyr::digital::test {

struct Channels {
    Channels() {
        for (auto& c : data) c.assign(DigitalEditFrame::kCapacity, 0);
    }
    ChannelRefs refs() {
        ChannelRefs r{};
        for (int k = 0; k < kChannels; ++k) r[static_cast<std::size_t>(k)] = data[static_cast<std::size_t>(k)].data();
        return r;
    }
    void set(int ch, std::initializer_list<int> levels) {
        std::size_t i = 0;
        for (int v : levels) data[static_cast<std::size_t>(ch)][i++] = static_cast<std::uint8_t>(v);
    }
    std::vector<int> first(int ch, std::size_t n) const {
        return std::vector<int>(data[static_cast<std::size_t>(ch)].begin(), data[static_cast<std::size_t>(ch)].begin() + static_cast<std::ptrdiff_t>(n));
    }
    std::array<std::vector<std::uint8_t>, kChannels> data;
};

// A form over n samples of ts ns on CH0, opened at `start` (ns) with the
// remembered settings and text.
template <class Form>
struct OpenedForm {
    OpenedForm(std::int64_t ts, std::int64_t n, typename Form::Settings s = {}, std::string text = {},
               std::int64_t start = 0)
        : form(prompter) {
        document::EditRequest<typename Form::Settings> r;
        r.settings = s;
        r.text = std::move(text);
        r.channel = 0;
        form.load(r);
        EXPECT_TRUE(form.open(channels.refs(), ts * n, ts, start));
    }
    std::vector<int> segment(std::size_t buffer = 0) const {
        return std::vector<int>(form.segment(buffer), form.segment(buffer) + form.segmentSamples());
    }
    lyr::test::ScriptedPrompter prompter;
    Channels channels;
    Form form;
};

}  // namespace lyr::digital::test
