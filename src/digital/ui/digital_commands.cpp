#include "digital/ui/digital_commands.h"

#include "digital/ui/digital_dialogs.h"

namespace lyr::digital {

CommandRows channelRows(ChannelFamily family, const char* menuText, const char* word, CommandRule rule,
                        const char* promptWordFromCh2) {
    CommandRows rows;
    for (int ch = 0; ch < kCommandChannels; ++ch) {
        const std::string name = "CH" + std::to_string(ch) + " ";
        const std::string promptWord = promptWordFromCh2 && ch >= 2 ? promptWordFromCh2 : word;
        rows.push_back({channelCommand(family, ch), menuText, "[ディジタル]  " + name + promptWord, name + word, rule,
                        Glyph::None, ch});
    }
    return rows;
}

CommandRows DigitalCommands::rows() const {
    using C = CommandId;
    using F = ChannelFamily;
    const auto e = CommandRule::Editing;
    CommandRows rows = {
        {C::DigitalClock, "作成(クロック)(&C)", "[ディジタル]  作成(クロック)", "作成(クロック)", e, Glyph::DigitalClock},
        {C::DigitalModify, "修正(&M)", "[ディジタル]  修正", "修正", e, Glyph::DigitalModify},
        {C::DigitalSwap, "スワップ(&W)", "[ディジタル]  データスワップ", "データスワップ", e, Glyph::DigitalSwap},
    };
    for (CommandRows family : {channelRows(F::Clock, "作成(クロック)(&G)", "作成(クロック)", e),
                               channelRows(F::Modify, "修正(&M)", "修正", e),
                               channelRows(F::Shift, "シフト(&S)", "シフト", e),
                               channelRows(F::Invert, "反転(&I)", "反転", e, "データ反転"),
                               channelRows(F::Copy, "コピー(&C)", "コピー", e),
                               channelRows(F::Paste, "貼り付け(&P)", "貼り付け", CommandRule::EditingPaste),
                               channelRows(F::Clear, "クリア(&L)", "クリア", e)})
        rows.insert(rows.end(), family.begin(), family.end());
    return rows;
}

bool DigitalCommands::available(CommandId id) const {
    const auto c = channelCommandOf(id);
    if (c && c->family == ChannelFamily::Paste) return doc().clipboardValid();
    return true;
}

void DigitalCommands::run(CommandId id) {
    document::CSYNDoc& d = doc();
    QWidget* parent = env().dialogParent;
    Prompter* prompter = env().prompter;
    if (id == CommandId::DigitalClock || id == CommandId::DigitalModify) {
        const std::uint32_t cursor = env().cursor();
        if (id == CommandId::DigitalClock) {
            ClockDialogEditor editor(parent, prompter);
            d.EditDigitalClock(cursor, document::AllChannels, editor);
        } else {
            ModifyDialogEditor editor(parent, prompter);
            d.EditDigitalModify(cursor, document::AllChannels, editor);
        }
        return;
    }
    if (id == CommandId::DigitalSwap) {
        SwapDialogEditor editor(parent, prompter);
        d.EditDigitalSwap(editor);
        return;
    }
    const auto c = channelCommandOf(id);
    if (!c) return;
    const int ch = c->channel;
    switch (c->family) {
    case ChannelFamily::Clock: {
        ClockDialogEditor editor(parent, prompter);
        d.EditDigitalClock(env().cursor(), ch, editor);
        break;
    }
    case ChannelFamily::Modify: {
        ModifyDialogEditor editor(parent, prompter);
        d.EditDigitalModify(env().cursor(), ch, editor);
        break;
    }
    case ChannelFamily::Shift: {
        ShiftDialogEditor editor(parent, prompter);
        d.EditDigitalShift(ch, editor);
        break;
    }
    case ChannelFamily::Invert: d.invertChannel(ch); break;
    case ChannelFamily::Copy: d.copyChannel(ch); break;
    case ChannelFamily::Paste: d.pasteChannel(ch); break;
    case ChannelFamily::Clear: d.clearChannel(ch); break;
    case ChannelFamily::Serial:
    case ChannelFamily::Protocol: break;  // the data commands run these
    }
}

}  // namespace lyr::digital
