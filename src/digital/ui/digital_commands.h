#pragma once
// The digital editing commands by identifier: "作成(クロック)(&C)", "修正(&M)",
// "スワップ(&W)" of the "ディジタル(&D)" menu and the per-channel families
// (clock, modify, shift, invert, copy, paste, clear) of the "CH0" .. "CH7"
// popups. The frame owns the actions, busy flags and the editing rule;
// paste additionally needs something copied (available()).
#include <array>

#include "document/ui/command_set.h"

namespace lyr::digital {

inline constexpr int ID_DIGITAL_CLOCK = 32874;
inline constexpr int ID_DIGITAL_MODIFY = 32847;
inline constexpr int ID_DIGITAL_SWAP = 32956;

// One identifier per channel, CH0 .. CH7.
using ChannelIds = std::array<int, 8>;
inline constexpr ChannelIds kClockIds{32777, 32778, 32779, 32780, 32941, 32944, 32947, 32950};
inline constexpr ChannelIds kModifyIds{32848, 32849, 32850, 32851, 32943, 32946, 32949, 32952};
inline constexpr ChannelIds kShiftIds{32853, 32854, 32855, 32856, 32922, 32927, 32932, 32937};
inline constexpr ChannelIds kInvertIds{32810, 32811, 32812, 32813, 32921, 32926, 32931, 32936};
inline constexpr ChannelIds kCopyIds{32880, 32888, 32889, 32890, 32923, 32928, 32933, 32938};
inline constexpr ChannelIds kPasteIds{32881, 32891, 32892, 32893, 32924, 32929, 32934, 32939};
inline constexpr ChannelIds kClearIds{32902, 32906, 32907, 32908, 32925, 32930, 32935, 32940};

class DigitalCommands : public ui::CommandSet {
    Q_OBJECT
public:
    explicit DigitalCommands(const ui::CommandEnv& env, QObject* parent = nullptr) : CommandSet(env, parent) {}

    std::vector<int> commandIds() const override;
    // Paste waits for the first copy.
    bool available(int id) const override;
    void run(int id) override;
};

}  // namespace lyr::digital
