#include "app/command_table.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace lyr::app {

namespace {

using R = CommandRule;

struct FamilyRow {
    std::array<int, kChannelCount> ids;
    const char* menuText;
    const char* word;  // in prompt and tooltip
};

// Indexed by ChannelFamily.
constexpr std::array<FamilyRow, kChannelFamilyCount> kFamilies{{
    {{32777, 32778, 32779, 32780, 32941, 32944, 32947, 32950}, "作成(クロック)(&G)", "作成(クロック)"},
    {{32911, 32912, 32913, 32914, 32942, 32945, 32948, 32951}, "作成(シリアル)(&R)", "作成(シリアル)"},
    {{32848, 32849, 32850, 32851, 32943, 32946, 32949, 32952}, "修正(&M)", "修正"},
    {{32853, 32854, 32855, 32856, 32922, 32927, 32932, 32937}, "シフト(&S)", "シフト"},
    {{32810, 32811, 32812, 32813, 32921, 32926, 32931, 32936}, "反転(&I)", "反転"},
    {{32880, 32888, 32889, 32890, 32923, 32928, 32933, 32938}, "コピー(&C)", "コピー"},
    {{32881, 32891, 32892, 32893, 32924, 32929, 32934, 32939}, "貼り付け(&P)", "貼り付け"},
    {{32902, 32906, 32907, 32908, 32925, 32930, 32935, 32940}, "クリア(&L)", "クリア"},
    {{32992, 32993, 32994, 32995, 32996, 32997, 32998, 32999}, "作成(プロトコル)(&B)", "作成(プロトコル)"},
}};

std::vector<CommandInfo> buildTable() {
    std::vector<CommandInfo> t = {
        {57600, "新規作成(&N)", "新規にファイルを作成", "新規ファイル", R::File},
        {57601, "開く(&O)...", "既存のファイルを開く", "開く", R::File},
        {32800, "上書き保存(&S)", "作業中のファイルを上書きして保存", "保存", R::File},
        {32801, "名前を付けて保存(&A)...", "作業中のファイルを新しい名前で保存", "名前をつけて保存", R::File},
        {57665, "LYRの終了(&X)", "SYNを終了し、ファイルの保存を指示", "終了", R::Always},
        {57664, "LYR のバージョン情報(&A)", "プログラムの情報、バージョンそして著作権を表示", "バージョン情報", R::Always},
        {57643, "元に戻す(&U)", "直前に行った動作を元に戻す", "元に戻す", R::EditingUndo},
        {32843, "トータル時間変更(&T)", "作業中のファイルのトータル時間を変更", "トータル時間の変更", R::Editing},
        {32842, "編集禁止(&D)", "編集の禁止、解禁を設定します", "編集禁止、解禁", R::WaveformIdle},
        {32773, "正弦波(&S)", "[アナログ]  正弦波の作成", "正弦波", R::Editing},
        {32782, "矩形波(&P)", "[アナログ]  矩形波の作成", "矩形波", R::Editing},
        {32783, "直流波形(&D)", "[アナログ]  直流波形の作成", "直流", R::Editing},
        {32784, "ランプ波形(&R)", "[アナログ]  ランプ波形の作成", "ランプ", R::Editing},
        {32785, "指数関数波形(&E)", "[アナログ]  指数関数波形の作成", "指数関数", R::Editing},
        {32786, "ランダムノイズ(&N)", "[アナログ]  ランダムノイズの作成", "ノイズ", R::Editing},
        {32787, "波形修正(&M)", "[アナログ]  マニュアル操作による波形修正", "波形修正", R::Editing},
        {32793, "外部データ(&F)", "[アナログ]  外部データの読み込み、変換", "外部データ", R::Editing},
        {cmd::kAnalogEquation, "数式波形(&Q)", "[アナログ]  数式による波形の作成", "数式波形", R::Editing},
        {32874, "作成(クロック)(&C)", "[ディジタル]  作成(クロック)", "作成(クロック)", R::Editing},
        {32909, "作成(シリアル)(&S)", "[ディジタル]  作成(シリアル)", "作成(シリアル)", R::Editing},
        {32916, "作成(パラレル)(&P)", "[ディジタル]  作成(パラレル)", "作成(パラレル)", R::Editing},
        {cmd::kDigitalProtocol, "作成(プロトコル)(&B)", "[ディジタル]  UART、SPI、I2Cのバスパターンの作成",
         "作成(プロトコル)", R::Editing},
        {32847, "修正(&M)", "[ディジタル]  修正", "修正", R::Editing},
        {32956, "スワップ(&W)", "[ディジタル]  データスワップ", "データスワップ", R::Editing},
        {32776, "全体表示(&N)", "[ズーム]  データの全体を表示", "全体表示", R::View},
        {32829, "標準拡大(&S)", "[ズーム]  標準拡大", "標準拡大", R::View},
        {32805, "最大表示(&M)", "[ズーム]  最大表示", "最大表示", R::View},
        {32774, "拡大(&U)", "[ズーム]  拡大", "拡大", R::View},
        {32775, "縮小(&D)", "[ズーム]  縮小", "縮小", R::View},
        {32839, "現在の拡大を標準に設定(&C)", "[ズーム]  現在の拡大を標準拡大に設定", "標準に設定", R::View},
        {32840, "既定標準拡大に戻す(&I)", "[ズーム]  標準拡大を既定値に戻す", "既定標準に戻す", R::View},
        {32791, "開始点へ移動", "カーソルを開始点へ移動", "開始点へ移動", R::View},
        {32792, "タイムマークへ移動", "カーソルをタイムマークへ移動", "タイムマークへ移動", R::View},
        {32823, "最終編集後へ移動", "カーソルを最終編集後へ移動", "最終編集後へ移動", R::View},
        {32790, "一つ前へ移動", "カーソルを一つ前へ移動", "一つ前へ移動", R::View},
        {32803, "一つ後へ移動", "カーソルを一つ後へ移動", "一つ後へ移動", R::View},
        {32802, "指定位置へ移動", "カーソルを指定位置へ移動", "指定位置へ移動", R::WaveformIdle},
        {32827, "カーソル位置に設置", "カーソル位置にタイムマークを設置", "タイムマークを設置", R::View},
        {32822, "開始点に設置", "開始点にタイムマークを設置", "開始点にタイムマーク設置", R::View},
        {32825, "最終編集後に設置", "最終編集後にタイムマークを設置", "最終編集後にタイムマーク設置", R::View},
        {32804, "指定位置に設置", "タイムマークを指定位置に設置", "指定位置にタイムマーク設置", R::View},
        {32809, "カーソル位置へ移動", "タイムマークをカーソル位置へ移動", "カーソル位置へ移動", R::View},
        {32821, "開始点へ移動", "タイムマークを開始点へ移動", "開始点へ移動", R::View},
        {32826, "最終編集後へ移動", "タイムマークを最終編集後へ移動", "最終編集後へ移動", R::View},
        {32808, "指定位置へ移動", "タイムマークを指定位置へ移動", "指定位置へ移動", R::View},
        {32795, "削除", "タイムマークを削除", "タイムマーク削除", R::View},
        {1015, "←", "", "", R::View},
        {1016, "→", "", "", R::View},
        {1117, "≪", "", "", R::View},
        {1118, "≫", "", "", R::View},
        {32771, "波形データ出力(&W)", "波形データの出力", "出力", R::Output},
        {1221, "", "", "", R::Selector},
        {1207, "", "", "", R::Selector},
    };
    for (int f = 0; f < kChannelFamilyCount; ++f) {
        const FamilyRow& row = kFamilies[f];
        const auto family = static_cast<ChannelFamily>(f);
        const CommandRule rule = family == ChannelFamily::Paste ? R::EditingPaste : R::Editing;
        for (int ch = 0; ch < kChannelCount; ++ch) {
            const std::string name = "CH" + std::to_string(ch) + " ";
            const std::string promptWord =
                family == ChannelFamily::Invert && ch >= 2 ? std::string("データ反転") : std::string(row.word);
            t.push_back({row.ids[ch], row.menuText, "[ディジタル]  " + name + promptWord, name + row.word, rule, ch});
        }
    }
    return t;
}

MenuItem command(int id, std::string text = {}) { return {MenuItem::Kind::Command, id, std::move(text), {}}; }
MenuItem separator() { return {MenuItem::Kind::Separator, 0, {}, {}}; }
MenuItem submenu(std::string title, std::vector<MenuItem> items) {
    return {MenuItem::Kind::Submenu, 0, std::move(title), std::move(items)};
}

std::vector<MenuItem> zoomItems() {
    return {command(32776), command(32829), command(32805), command(32774), command(32775),
            separator(),    command(32839), command(32840)};
}
std::vector<MenuItem> cursorItems() {
    return {command(32791), command(32792), command(32823), command(32790),
            command(32803), command(32802), separator(),    command(32827, "タイムマークを設置")};
}
std::vector<MenuItem> markItems() {
    return {command(32827), command(32822), command(32825), command(32804), separator(), command(32809),
            command(32821), command(32826), command(32808), separator(),    command(32795)};
}
std::vector<MenuItem> analogItems() {
    return {command(32773), command(32782), command(32783), command(32784), command(32785),
            command(32786), separator(),    command(32787), command(32793),
            separator(),    command(cmd::kAnalogEquation)};
}
// The main menu's channel popups carry the whole-channel operations only.
std::vector<MenuItem> mainChannelItems(int ch) {
    auto id = [ch](ChannelFamily f) { return command(channelCommandId(f, ch)); };
    return {id(ChannelFamily::Invert), id(ChannelFamily::Shift), separator(), id(ChannelFamily::Copy),
            id(ChannelFamily::Paste), id(ChannelFamily::Clear)};
}
std::vector<MenuItem> contextChannelItems(int ch) {
    auto id = [ch](ChannelFamily f) { return command(channelCommandId(f, ch)); };
    return {id(ChannelFamily::Clock), id(ChannelFamily::Serial), command(cmd::kDigitalParallel),
            id(ChannelFamily::Protocol), id(ChannelFamily::Modify), separator(), id(ChannelFamily::Shift), command(cmd::kDigitalSwap),
            separator(), id(ChannelFamily::Invert), id(ChannelFamily::Copy), id(ChannelFamily::Paste),
            id(ChannelFamily::Clear)};
}

std::vector<MenuLayout> buildMenus() {
    std::vector<MenuItem> digital = {command(cmd::kDigitalClock), command(cmd::kDigitalSerial),
                                     command(cmd::kDigitalParallel), command(cmd::kDigitalModify),
                                     command(cmd::kDigitalSwap), separator()};
    for (int ch = 0; ch < kChannelCount; ++ch)
        digital.push_back(submenu("CH" + std::to_string(ch) + "(&" + std::to_string(ch) + ")", mainChannelItems(ch)));
    digital.push_back(separator());
    digital.push_back(command(cmd::kDigitalProtocol));
    return {
        {"ファイル(&F)",
         {command(cmd::kFileNew), command(cmd::kFileOpen), command(cmd::kFileSave), command(cmd::kFileSaveAs),
          separator(), command(cmd::kAppExit)}},
        {"編集(&E)", {command(cmd::kUndo), separator(), command(cmd::kTotalTime), command(cmd::kEditLock)}},
        {"アナログ(&A)", analogItems()},
        {"ディジタル(&D)", std::move(digital)},
        {"ズーム(&Z)", zoomItems()},
        {"カーソル(&C)", cursorItems()},
        {"タイムマーク(&T)", markItems()},
        {"出力(&O)", {command(cmd::kOutput)}},
        {"ヘルプ(&H)", {command(cmd::kAppAbout)}},
    };
}

}  // namespace

int channelCommandId(ChannelFamily family, int ch) {
    return kFamilies[static_cast<int>(family)].ids[static_cast<std::size_t>(ch)];
}

const std::vector<CommandInfo>& commandTable() {
    static const std::vector<CommandInfo> table = buildTable();
    return table;
}

const CommandInfo* findCommand(int id) {
    static const std::unordered_map<int, std::size_t> index = [] {
        std::unordered_map<int, std::size_t> m;
        const auto& t = commandTable();
        for (std::size_t i = 0; i < t.size(); ++i) m.emplace(t[i].id, i);
        return m;
    }();
    const auto it = index.find(id);
    return it == index.end() ? nullptr : &commandTable()[it->second];
}

bool commandEnabled(const CommandInfo& command, const FrameState& s, bool busy) {
    if (busy) return false;
    const bool editing = s.hasWaveform && s.editAllowed;
    switch (command.rule) {
        case R::Always:
        case R::File:
        case R::View: return true;
        case R::Editing: return editing;
        case R::EditingUndo: return editing && s.undoAvailable;
        case R::EditingPaste: return editing && s.clipboardValid;
        case R::WaveformIdle: return s.hasWaveform;
        case R::Output: return s.deviceSpecified;
        case R::Selector: return editing;
    }
    return false;
}

bool commandEnabled(int id, const FrameState& state, bool busy) {
    const CommandInfo* c = findCommand(id);
    return c && commandEnabled(*c, state, busy);
}

const std::vector<MenuLayout>& mainMenus() {
    static const std::vector<MenuLayout> menus = buildMenus();
    return menus;
}

const MenuLayout& mainMenu(MainMenu which) { return mainMenus().at(static_cast<std::size_t>(which)); }

MenuLayout contextPopup(PopupKind kind, int channel) {
    switch (kind) {
        case PopupKind::Analog: return {"アナログ(&A)", analogItems()};
        case PopupKind::Cursor: return {"Cursor", cursorItems()};
        case PopupKind::TimeMark: return {"TimeMark", markItems()};
        case PopupKind::Zoom: return {"Zoom", zoomItems()};
        case PopupKind::Channel:
            if (channel < 0 || channel >= kChannelCount) return {};
            return {"CH" + std::to_string(channel), contextChannelItems(channel)};
    }
    return {};
}

const std::vector<int>& toolbarCommands() {
    static const std::vector<int> bar = {
        cmd::kFileNew, cmd::kFileOpen, cmd::kFileSave, 0,
        cmd::kUndo, 0,
        32773, 32782, 32783, 32784, 32785, 32786, 32787, 32793, cmd::kAnalogEquation, 0,
        cmd::kDigitalClock, cmd::kDigitalSerial, cmd::kDigitalParallel, cmd::kDigitalModify, cmd::kDigitalSwap, 0,
        32776, 32829, 32805, 32774, 32775, 0,
        cmd::kOutput, 0,
        cmd::kAppAbout};
    return bar;
}

}  // namespace lyr::app
