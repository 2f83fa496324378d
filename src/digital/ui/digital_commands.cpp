#include "digital/ui/digital_commands.h"

#include "digital/ui/digital_dialogs.h"

namespace lyr::digital {

namespace {

enum class Family { Clock, Modify, Shift, Invert, Copy, Paste, Clear, None };

constexpr std::array<const ChannelIds*, 7> kFamilies{&kClockIds, &kModifyIds, &kShiftIds, &kInvertIds,
                                                     &kCopyIds,  &kPasteIds,  &kClearIds};

// The family and channel of a per-channel identifier.
Family familyOf(int id, int& channel) {
    for (std::size_t f = 0; f < kFamilies.size(); ++f)
        for (int k = 0; k < kChannels; ++k)
            if ((*kFamilies[f])[static_cast<std::size_t>(k)] == id) {
                channel = k;
                return static_cast<Family>(f);
            }
    return Family::None;
}

}  // namespace

std::vector<int> DigitalCommands::commandIds() const {
    std::vector<int> ids{ID_DIGITAL_CLOCK, ID_DIGITAL_MODIFY, ID_DIGITAL_SWAP};
    for (const ChannelIds* family : kFamilies) ids.insert(ids.end(), family->begin(), family->end());
    return ids;
}

bool DigitalCommands::available(int id) const {
    int channel = 0;
    if (familyOf(id, channel) == Family::Paste) return doc().clipboardValid();
    return true;
}

void DigitalCommands::run(int id) {
    document::CSYNDoc& d = doc();
    QWidget* parent = env().dialogParent;
    Prompter* prompter = env().prompter;
    auto reportRange = [this](const std::optional<document::EditRange>& range) {
        if (!range) return;
        emit edited(range->first, range->end);
        emit documentChanged();
    };
    auto reportWhole = [this](bool changed) {
        if (!changed) return;
        emit editedWhole();
        emit documentChanged();
    };
    if (id == ID_DIGITAL_CLOCK || id == ID_DIGITAL_MODIFY) {
        const std::uint32_t cursor = env().cursor();
        if (id == ID_DIGITAL_CLOCK) {
            ClockDialogEditor editor(parent, prompter);
            reportRange(d.EditDigitalClock(cursor, document::AllChannels, editor));
        } else {
            ModifyDialogEditor editor(parent, prompter);
            reportRange(d.EditDigitalModify(cursor, document::AllChannels, editor));
        }
        return;
    }
    if (id == ID_DIGITAL_SWAP) {
        SwapDialogEditor editor(parent, prompter);
        reportWhole(d.EditDigitalSwap(editor).has_value());
        return;
    }
    int ch = 0;
    switch (familyOf(id, ch)) {
    case Family::Clock: {
        ClockDialogEditor editor(parent, prompter);
        reportRange(d.EditDigitalClock(env().cursor(), ch, editor));
        break;
    }
    case Family::Modify: {
        ModifyDialogEditor editor(parent, prompter);
        reportRange(d.EditDigitalModify(env().cursor(), ch, editor));
        break;
    }
    case Family::Shift: {
        ShiftDialogEditor editor(parent, prompter);
        reportWhole(d.EditDigitalShift(ch, editor).has_value());
        break;
    }
    case Family::Invert:
        d.invertChannel(ch);
        reportWhole(true);
        break;
    case Family::Copy:
        d.copyChannel(ch);
        emit documentChanged();  // paste becomes available; not an edit
        break;
    case Family::Paste:
        reportWhole(d.pasteChannel(ch));
        break;
    case Family::Clear:
        d.clearChannel(ch);
        reportWhole(true);
        break;
    case Family::None: break;
    }
}

}  // namespace lyr::digital
