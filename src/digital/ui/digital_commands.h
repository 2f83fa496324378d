#pragma once
// The digital editing commands by identifier: "作成(クロック)(&C)", "修正(&M)",
// "スワップ(&W)" of the "ディジタル(&D)" menu and the per-channel families
// (clock, modify, shift, invert, copy, paste, clear) of the "CH0" .. "CH7"
// popups. The frame owns the actions, busy flags and the editing rule;
// paste additionally needs something copied (available()).
#include "document/ui/command_set.h"

namespace lyr::digital {

// The rows of a per-channel family, CH0 .. CH7: prompt "[ディジタル]  CHk word",
// tooltip "CHk word"; promptWordFromCh2, when given, replaces the word in the
// prompts of CH2 .. CH7.
CommandRows channelRows(ChannelFamily family, const char* menuText, const char* word, CommandRule rule,
                        const char* promptWordFromCh2 = nullptr);

class DigitalCommands : public ui::CommandSet {
    Q_OBJECT
public:
    explicit DigitalCommands(const ui::CommandEnv& env, QObject* parent = nullptr) : CommandSet(env, parent) {}

    CommandRows rows() const override;
    // Paste waits for the first copy.
    bool available(CommandId id) const override;
    void run(CommandId id) override;
};

}  // namespace lyr::digital
