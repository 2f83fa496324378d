#include "digital/swap_form.h"

#include <cstring>

namespace lyr::digital {

void swapLevels(std::uint8_t* a, std::uint8_t* b, std::uint8_t* buffer, std::size_t n) {
    if (n == 0 || a == b) return;
    std::memcpy(buffer, a, n);
    std::memcpy(a, b, n);
    std::memcpy(b, buffer, n);
}

bool SwapForm::open(const Settings& s) {
    settings_ = s;
    buffer_ = allocator().bytes(forms::EditFrame::kCapacity);
    if (!buffer_) return false;
    a_ = s.swapA >= 0 && s.swapA < kChannels ? s.swapA : 0;
    b_ = s.swapB >= 0 && s.swapB < kChannels ? s.swapB : 1;
    if (a_ == b_) b_ = a_ == 7 ? 6 : a_ + 1;
    accepted_ = false;
    return true;
}

void SwapForm::setA(int v) {
    if (v < 0 || v >= kChannels) return;
    a_ = v;
    if (b_ == v) b_ = other(v);
}

void SwapForm::setB(int v) {
    if (v < 0 || v >= kChannels) return;
    b_ = v;
    if (a_ == v) a_ = other(v);
}

void SwapForm::accept(const ChannelRefs& channels, std::size_t n) {
    if (!buffer_ || a_ == b_) return;
    swapLevels(channels[static_cast<std::size_t>(a_)], channels[static_cast<std::size_t>(b_)], buffer_.get(), n);
    accepted_ = true;
}

SwapForm::Settings SwapForm::settings() const {
    Settings s = settings_;
    s.swapA = a_;
    s.swapB = b_;
    return s;
}

bool SwapFormEditor::run(document::EditRequest<document::SwapSettings>& request, document::EditOutcome& outcome) {
    SwapForm form(prompter_);
    configure(form);
    if (!form.open(request.settings)) {
        prompter_.tell(SwapForm::kMemoryMessage, PromptIcon::Warning);
        return false;
    }
    if (!drive_(form)) return false;
    form.accept(request.tracks.digital, request.sampleCount);
    if (!form.accepted()) return false;
    request.settings = form.settings();
    outcome.start = 0;
    outcome.period = request.totalTime;
    return true;
}

}  // namespace lyr::digital
