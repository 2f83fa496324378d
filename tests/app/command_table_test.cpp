// The main window's arrangement: the identifiers' per-channel families, the
// layout's integrity, and every enabling rule in the situations that matter.
#include "app/command_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <vector>

namespace lyr::app {
namespace {

using C = CommandId;

// Each per-channel identifier maps back to its family and channel.
TEST(CommandTable, PerChannelIdentifiersAndTheirWayBack) {
    for (int f = 0; f < kChannelFamilyCount; ++f)
        for (int ch = 0; ch < kCommandChannels; ++ch) {
            const auto family = static_cast<ChannelFamily>(f);
            const auto back = channelCommandOf(channelCommand(family, ch));
            ASSERT_TRUE(back) << f << " " << ch;
            EXPECT_EQ(back->family, family);
            EXPECT_EQ(back->channel, ch);
        }
    EXPECT_FALSE(channelCommandOf(C::DigitalClock));
    EXPECT_FALSE(channelCommandOf(C::None));
    // 72 distinct numbers, none shared with another command of the main table.
    std::set<CommandId> ids;
    for (const auto& family : kChannelCommands)
        for (CommandId id : family) EXPECT_TRUE(ids.insert(id).second) << commandNumber(id);
    for (C id : {C::FileNew, C::Sine, C::DigitalClock, C::DigitalSerial, C::DigitalProtocol, C::WholeView, C::StepLeft,
                 C::Output, C::ResolutionSelector})
        EXPECT_TRUE(ids.insert(id).second) << commandNumber(id);
}

void collect(const std::vector<MenuItem>& items, std::multiset<CommandId>& ids, std::vector<std::string>& subs) {
    for (const MenuItem& item : items) {
        if (item.kind == MenuItem::Kind::Command) ids.insert(item.id);
        if (item.kind == MenuItem::Kind::Submenu) {
            subs.push_back(item.text);
            collect(item.items, ids, subs);
        }
    }
}

TEST(CommandTable, MenusPopupsAndToolbar) {
    std::multiset<CommandId> inMenus;
    std::vector<std::string> titles, subs;
    for (const MenuLayout& m : mainMenus()) {
        titles.push_back(m.title);
        collect(m.items, inMenus, subs);
    }
    const std::pair<MainMenu, const char*> menuBar[] = {
        {MainMenu::File, "ファイル(&F)"},   {MainMenu::Edit, "編集(&E)"},         {MainMenu::Analog, "アナログ(&A)"},
        {MainMenu::Digital, "ディジタル(&D)"}, {MainMenu::Zoom, "ズーム(&Z)"},     {MainMenu::Cursor, "カーソル(&C)"},
        {MainMenu::TimeMark, "タイムマーク(&T)"}, {MainMenu::Output, "出力(&O)"}, {MainMenu::Help, "ヘルプ(&H)"},
    };
    ASSERT_EQ(titles.size(), std::size(menuBar));
    for (std::size_t i = 0; i < titles.size(); ++i) {
        EXPECT_EQ(titles[i], menuBar[i].second);
        EXPECT_EQ(mainMenu(menuBar[i].first).title, menuBar[i].second);
    }
    // The eight channel popups and "ヘルプ(&H)"'s language choice.
    EXPECT_EQ(subs.size(), 9u);
    EXPECT_EQ(subs.front(), "CH0(&0)");
    EXPECT_EQ(subs[7], "CH7(&7)");
    EXPECT_EQ(subs.back(), kLanguageMenuTitle);
    // The main menu's channel popups carry invert, shift, copy, paste and clear only.
    for (int f = 0; f < kChannelFamilyCount; ++f) {
        const auto family = static_cast<ChannelFamily>(f);
        const bool inMain = family == ChannelFamily::Invert || family == ChannelFamily::Shift ||
                            family == ChannelFamily::Copy || family == ChannelFamily::Paste ||
                            family == ChannelFamily::Clear;
        for (int ch = 0; ch < kChannelCount; ++ch)
            EXPECT_EQ(inMenus.count(channelCommand(family, ch)), inMain ? 1u : 0u) << f << " " << ch;
    }
    // The strip's buttons and the selectors have no menu entry; the mark-at-cursor
    // command shows in two menus.
    for (C id : {C::StepLeft, C::StepRight, C::HalfPageLeft, C::HalfPageRight, C::ResolutionSelector,
                 C::ChannelSelector})
        EXPECT_EQ(inMenus.count(id), 0u) << commandNumber(id);
    EXPECT_EQ(inMenus.count(C::MarkAtCursor), 2u);
    EXPECT_EQ(inMenus.count(C::CursorToPosition), 1u);

    // "CH5": all nine families of CH5, parallel and swap, nothing of another channel.
    std::multiset<CommandId> popupIds;
    const MenuLayout ch5 = contextPopup(PopupKind::Channel, 5);
    EXPECT_EQ(ch5.title, "CH5");
    collect(ch5.items, popupIds, subs);
    EXPECT_EQ(popupIds.size(), 11u);
    for (int f = 0; f < kChannelFamilyCount; ++f)
        EXPECT_EQ(popupIds.count(channelCommand(static_cast<ChannelFamily>(f), 5)), 1u) << f;
    EXPECT_EQ(popupIds.count(C::DigitalParallel) + popupIds.count(C::DigitalSwap), 2u);
    EXPECT_TRUE(contextPopup(PopupKind::Channel, 8).items.empty());
    EXPECT_EQ(contextPopup(PopupKind::Cursor).title, "Cursor");
    EXPECT_EQ(contextPopup(PopupKind::TimeMark).title, "TimeMark");
    EXPECT_EQ(contextPopup(PopupKind::Zoom).title, "Zoom");
    EXPECT_EQ(contextPopup(PopupKind::Analog).title, "アナログ(&A)");

    const std::vector<CommandId>& bar = toolbarCommands();
    EXPECT_EQ(std::count(bar.begin(), bar.end(), C::None), 6);  // separators
    EXPECT_EQ(bar.size(), 25u + 6u);
    // The equation editor: last in "アナログ(&A)" after a separator, its button after external data.
    const MenuLayout& analog = mainMenu(MainMenu::Analog);
    ASSERT_GE(analog.items.size(), 2u);
    EXPECT_EQ(analog.items.back().id, C::Equation);
    EXPECT_EQ(analog.items[analog.items.size() - 2].kind, MenuItem::Kind::Separator);
    EXPECT_EQ(*(std::find(bar.begin(), bar.end(), C::External) + 1), C::Equation);
    // The bus patterns: last in "ディジタル(&D)" after a separator.
    const MenuLayout& digital = mainMenu(MainMenu::Digital);
    ASSERT_GE(digital.items.size(), 2u);
    EXPECT_EQ(digital.items.back().id, C::DigitalProtocol);
    EXPECT_EQ(digital.items[digital.items.size() - 2].kind, MenuItem::Kind::Separator);
}

// Each rule in the situations of the frame.
TEST(CommandTable, EnablingInEverySituation) {
    enum Situation { NoWaveform, Waveform, EditLock, NoDevice, Copied, NothingToUndo, Busy, kSituations };
    FrameState base;
    base.hasWaveform = true;
    base.editAllowed = true;
    base.undoAvailable = true;
    base.deviceSpecified = true;
    auto stateOf = [&](Situation s) {
        FrameState f = base;
        if (s == NoWaveform) f = FrameState{false, true, false, false, true};
        if (s == EditLock) f.editAllowed = false;
        if (s == NoDevice) f.deviceSpecified = false;
        if (s == Copied) f.clipboardValid = true;
        if (s == NothingToUndo) f.undoAvailable = false;
        return f;
    };
    using Row = std::array<bool, kSituations>;
    const std::pair<CommandRule, Row> cases[] = {
        {CommandRule::Always, {true, true, true, true, true, true, false}},
        {CommandRule::File, {true, true, true, true, true, true, false}},
        {CommandRule::View, {true, true, true, true, true, true, false}},
        {CommandRule::Editing, {false, true, false, true, true, true, false}},
        {CommandRule::Selector, {false, true, false, true, true, true, false}},
        {CommandRule::EditingUndo, {false, true, false, true, true, false, false}},
        {CommandRule::EditingPaste, {false, false, false, false, true, false, false}},
        {CommandRule::WaveformIdle, {false, true, true, true, true, true, false}},
        {CommandRule::Output, {true, true, true, false, true, true, false}},
    };
    for (const auto& [rule, row] : cases)
        for (int s = NoWaveform; s < kSituations; ++s)
            EXPECT_EQ(commandEnabled(rule, stateOf(static_cast<Situation>(s)), s == Busy), row[s])
                << static_cast<int>(rule) << " situation " << s;
}

}  // namespace
}  // namespace lyr::app
