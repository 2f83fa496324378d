// The command table: texts of the per-channel families, the layout's
// integrity, and every command's enabling in the situations that matter.
#include "app/command_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <vector>

namespace lyr::app {
namespace {

// The file commands' texts, and the per-channel families following one pattern.
TEST(CommandTable, TextsOfTheFileCommandsAndThePerChannelPattern) {
    struct Case {
        ChannelFamily family;
        int ch;
        int id;
        const char* prompt;
        const char* tooltip;
        const char* menu;
    };
    const Case cases[] = {
        {{}, -1, cmd::kFileNew, "新規にファイルを作成", "新規ファイル", "新規作成(&N)"},
        {{}, -1, cmd::kFileOpen, "既存のファイルを開く", "開く", "開く(&O)..."},
        {{}, -1, cmd::kFileSave, "作業中のファイルを上書きして保存", "保存", "上書き保存(&S)"},
        {{}, -1, cmd::kFileSaveAs, "作業中のファイルを新しい名前で保存", "名前をつけて保存", "名前を付けて保存(&A)..."},
        {{}, -1, cmd::kAppExit, "SYNを終了し、ファイルの保存を指示", "終了", "LYRの終了(&X)"},
        {{}, -1, cmd::kAppAbout, "プログラムの情報、バージョンそして著作権を表示", "バージョン情報", "LYR のバージョン情報(&A)"},
        {ChannelFamily::Clock, 0, 32777, "[ディジタル]  CH0 作成(クロック)", "CH0 作成(クロック)", "作成(クロック)(&G)"},
        {ChannelFamily::Serial, 7, 32951, "[ディジタル]  CH7 作成(シリアル)", "CH7 作成(シリアル)", "作成(シリアル)(&R)"},
        {ChannelFamily::Invert, 1, 32811, "[ディジタル]  CH1 反転", "CH1 反転", "反転(&I)"},
        {ChannelFamily::Invert, 2, 32812, "[ディジタル]  CH2 データ反転", "CH2 反転", "反転(&I)"},
        {ChannelFamily::Invert, 5, 32926, "[ディジタル]  CH5 データ反転", "CH5 反転", "反転(&I)"},
        {ChannelFamily::Paste, 4, 32924, "[ディジタル]  CH4 貼り付け", "CH4 貼り付け", "貼り付け(&P)"},
        {ChannelFamily::Clear, 3, 32908, "[ディジタル]  CH3 クリア", "CH3 クリア", "クリア(&L)"},
        {ChannelFamily::Shift, 6, 32932, "[ディジタル]  CH6 シフト", "CH6 シフト", "シフト(&S)"},
        {ChannelFamily::Protocol, 3, 32995, "[ディジタル]  CH3 作成(プロトコル)", "CH3 作成(プロトコル)",
         "作成(プロトコル)(&B)"},
    };
    for (const Case& c : cases) {
        if (c.ch >= 0) {
            EXPECT_EQ(channelCommandId(c.family, c.ch), c.id);
        }
        const CommandInfo* info = findCommand(c.id);
        ASSERT_NE(info, nullptr) << c.id;
        EXPECT_EQ(info->prompt, c.prompt);
        EXPECT_EQ(info->tooltip, c.tooltip);
        EXPECT_EQ(info->menuText, c.menu);
        EXPECT_EQ(info->channel, c.ch);
    }
    // One row per identifier: the main table and the nine families of eight.
    std::set<int> ids;
    for (const CommandInfo& c : commandTable()) EXPECT_TRUE(ids.insert(c.id).second) << c.id;
    EXPECT_EQ(ids.size(), 53u + 72u);
}

void collect(const std::vector<MenuItem>& items, std::multiset<int>& ids, std::vector<std::string>& subs) {
    for (const MenuItem& item : items) {
        if (item.kind == MenuItem::Kind::Command) ids.insert(item.id);
        if (item.kind == MenuItem::Kind::Submenu) {
            subs.push_back(item.text);
            collect(item.items, ids, subs);
        }
    }
}

TEST(CommandTable, MenusPopupsAndToolbarNameKnownCommands) {
    std::multiset<int> inMenus;
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
    EXPECT_EQ(subs.size(), 8u);
    EXPECT_EQ(subs.front(), "CH0(&0)");
    EXPECT_EQ(subs.back(), "CH7(&7)");
    // Every command but the strip's buttons and the selectors has a menu entry.
    for (const CommandInfo& c : commandTable()) {
        const bool elsewhere = c.rule == CommandRule::Selector || (c.id >= 1000 && c.id < 1200);
        auto family = [&c](ChannelFamily f) { return c.id == channelCommandId(f, c.channel); };
        const bool popupOnly = c.channel >= 0 && (family(ChannelFamily::Clock) || family(ChannelFamily::Serial) ||
                                                  family(ChannelFamily::Modify) || family(ChannelFamily::Protocol));
        if (elsewhere || popupOnly) {
            EXPECT_EQ(inMenus.count(c.id), 0u) << c.id;
        } else {
            EXPECT_GE(inMenus.count(c.id), 1u) << c.id;
        }
    }
    // "CH5": all nine families of CH5, parallel and swap, nothing of another channel.
    std::multiset<int> popupIds;
    const MenuLayout ch5 = contextPopup(PopupKind::Channel, 5);
    EXPECT_EQ(ch5.title, "CH5");
    collect(ch5.items, popupIds, subs);
    EXPECT_EQ(popupIds.size(), 11u);
    for (int f = 0; f < kChannelFamilyCount; ++f)
        EXPECT_EQ(popupIds.count(channelCommandId(static_cast<ChannelFamily>(f), 5)), 1u) << f;
    EXPECT_EQ(popupIds.count(cmd::kDigitalParallel) + popupIds.count(cmd::kDigitalSwap), 2u);
    EXPECT_TRUE(contextPopup(PopupKind::Channel, 8).items.empty());
    EXPECT_EQ(contextPopup(PopupKind::Cursor).title, "Cursor");
    EXPECT_EQ(contextPopup(PopupKind::TimeMark).title, "TimeMark");
    EXPECT_EQ(contextPopup(PopupKind::Zoom).title, "Zoom");

    const std::vector<int>& bar = toolbarCommands();
    EXPECT_EQ(std::count(bar.begin(), bar.end(), 0), 6);  // separators
    EXPECT_EQ(bar.size(), 25u + 6u);
    // The equation editor: last in "アナログ(&A)" after a separator, its button after external data.
    const MenuLayout& analog = mainMenu(MainMenu::Analog);
    ASSERT_GE(analog.items.size(), 2u);
    EXPECT_EQ(analog.items.back().id, cmd::kAnalogEquation);
    EXPECT_EQ(analog.items[analog.items.size() - 2].kind, MenuItem::Kind::Separator);
    EXPECT_EQ(*(std::find(bar.begin(), bar.end(), 32793) + 1), cmd::kAnalogEquation);
    // The bus patterns: last in "ディジタル(&D)" after a separator.
    const MenuLayout& digital = mainMenus()[3];
    ASSERT_GE(digital.items.size(), 2u);
    EXPECT_EQ(digital.items.back().id, cmd::kDigitalProtocol);
    EXPECT_EQ(digital.items[digital.items.size() - 2].kind, MenuItem::Kind::Separator);
    for (int id : bar) {
        if (id) {
            EXPECT_TRUE(findCommand(id) && !findCommand(id)->tooltip.empty()) << id;
        }
    }
}

// The situations of the frame and what a few commands of each kind allow in them.
TEST(CommandTable, EnablingInEverySituation) {
    enum Situation { NoWaveform, Waveform, EditLock, NoDevice, Copied, Busy, kSituations };
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
        return f;
    };
    // Enabled in NoWaveform, Waveform, EditLock, NoDevice, Copied, Busy; for a
    // few commands of each kind (view: whole view, time mark at a time, strip step).
    using Row = std::array<bool, kSituations>;
    const std::pair<Row, std::vector<int>> cases[] = {
        {{true, true, true, true, true, false},
         {cmd::kFileNew, cmd::kFileSave, cmd::kAppExit, cmd::kAppAbout, 32776, 32804, 1118}},
        {{false, true, false, true, true, false},
         {cmd::kUndo, cmd::kTotalTime, 32773, 32793, cmd::kAnalogEquation, cmd::kDigitalSwap,
          channelCommandId(ChannelFamily::Invert, 0), channelCommandId(ChannelFamily::Copy, 3),
          channelCommandId(ChannelFamily::Protocol, 7), cmd::kResolutionSelector, cmd::kChannelSelector}},
        {{false, true, true, true, true, false}, {cmd::kEditLock, 32802}},  // and the cursor to a time
        {{false, false, false, false, true, false},
         {channelCommandId(ChannelFamily::Paste, 0), channelCommandId(ChannelFamily::Paste, 7)}},
        {{true, true, true, false, true, false}, {cmd::kOutput}},
    };
    for (const auto& [row, ids] : cases)
        for (int id : ids)
            for (int s = NoWaveform; s < kSituations; ++s)
                EXPECT_EQ(commandEnabled(id, stateOf(static_cast<Situation>(s)), s == Busy), row[s])
                    << id << " situation " << s;
    // A command's own busy flag disables every one of them.
    for (const CommandInfo& c : commandTable()) EXPECT_FALSE(commandEnabled(c, base, true)) << c.id;
    // Undo also needs something to undo; an unknown identifier is never enabled.
    FrameState nothingToUndo = base;
    nothingToUndo.undoAvailable = false;
    EXPECT_FALSE(commandEnabled(cmd::kUndo, nothingToUndo, false));
    EXPECT_FALSE(commandEnabled(12345, base, false));
}

}  // namespace
}  // namespace lyr::app
