#pragma once
// The swap editor's form: two channel boxes that never show the same
// channel; OK exchanges the two channels' samples through a work buffer.
#include <cstdint>
#include <functional>
#include <memory>

#include "digital/digital_edit_frame.h"
#include "document/editor_contract.h"

namespace lyr::digital {

// Exchanges n levels of a and b through buffer (n bytes).
void swapLevels(std::uint8_t* a, std::uint8_t* b, std::uint8_t* buffer, std::size_t n);

class SwapForm : public forms::UsesAllocator {
public:
    using Settings = document::SwapSettings;
    static constexpr const char* kTitle = "ディジタルデータスワップ";
    static constexpr const char* kMemoryMessage = "ディジタルデータスワップのためのメモリが確保できませんでした";

    explicit SwapForm(Prompter&) {}
    // Reserves the buffer and shows the remembered pair (made different when
    // equal). False when memory is short.
    bool open(const Settings& s);
    int a() const { return a_; }
    int b() const { return b_; }
    // Choosing in one box the channel the other shows moves the other box.
    void setA(int channel);
    void setB(int channel);
    // "OK": exchanges the first n levels of the two channels.
    void accept(const ChannelRefs& channels, std::size_t n);
    bool accepted() const { return accepted_; }
    Settings settings() const;

private:
    static int other(int v) { return v > 6 ? v - 1 : v + 1; }
    Settings settings_;
    int a_ = 0, b_ = 1;
    std::unique_ptr<std::uint8_t[]> buffer_;
    bool accepted_ = false;
};

// The swap command's editor; `drive` returns whether the form ended with OK.
class SwapFormEditor : public document::SwapEditor {
public:
    SwapFormEditor(Prompter& prompter, std::function<bool(SwapForm&)> drive)
        : prompter_(prompter), drive_(std::move(drive)) {}
    bool run(document::EditRequest<document::SwapSettings>& request, document::EditOutcome& outcome) override;
    // Called on the fresh form before it opens (an allocator that runs short).
    std::function<void(SwapForm&)> configure = [](SwapForm&) {};

private:
    Prompter& prompter_;
    std::function<bool(SwapForm&)> drive_;
};

}  // namespace lyr::digital
