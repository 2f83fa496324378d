#include "app/command_table.h"

namespace lyr::app {

namespace {

using C = CommandId;
using F = ChannelFamily;

MenuItem command(CommandId id, std::string text = {}) { return {MenuItem::Kind::Command, id, std::move(text), {}}; }
MenuItem separator() { return {MenuItem::Kind::Separator, C::None, {}, {}}; }
MenuItem submenu(std::string title, std::vector<MenuItem> items) {
    return {MenuItem::Kind::Submenu, C::None, std::move(title), std::move(items)};
}

std::vector<MenuItem> zoomItems() {
    return {command(C::WholeView), command(C::StandardZoom), command(C::MaxZoom), command(C::ZoomIn),
            command(C::ZoomOut),   separator(),              command(C::SetStandard), command(C::ResetStandard)};
}
std::vector<MenuItem> cursorItems() {
    return {command(C::CursorToStart), command(C::CursorToMark),     command(C::CursorToLastEdit),
            command(C::CursorBack),    command(C::CursorForward),    command(C::CursorToPosition),
            separator(),               command(C::MarkAtCursor, "タイムマークを設置")};
}
std::vector<MenuItem> markItems() {
    return {command(C::MarkAtCursor),   command(C::MarkAtStart), command(C::MarkAtLastEdit),
            command(C::MarkAtPosition), separator(),             command(C::MarkToCursor),
            command(C::MarkToStart),    command(C::MarkToLastEdit), command(C::MarkToPosition),
            separator(),                command(C::DeleteMark)};
}
std::vector<MenuItem> analogItems() {
    return {command(C::Sine),  command(C::Rectangle), command(C::Dc),       command(C::Ramp),
            command(C::Exp),   command(C::Noise),     separator(),          command(C::Manual),
            command(C::External), separator(),        command(C::Equation)};
}
// The main menu's channel popups carry the whole-channel operations only.
std::vector<MenuItem> mainChannelItems(int ch) {
    auto id = [ch](ChannelFamily f) { return command(channelCommand(f, ch)); };
    return {id(F::Invert), id(F::Shift), separator(), id(F::Copy), id(F::Paste), id(F::Clear)};
}
std::vector<MenuItem> contextChannelItems(int ch) {
    auto id = [ch](ChannelFamily f) { return command(channelCommand(f, ch)); };
    return {id(F::Clock), id(F::Serial), command(C::DigitalParallel), id(F::Protocol), id(F::Modify),
            separator(),  id(F::Shift),  command(C::DigitalSwap),     separator(),     id(F::Invert),
            id(F::Copy),  id(F::Paste),  id(F::Clear)};
}

std::vector<MenuLayout> buildMenus() {
    std::vector<MenuItem> digital = {command(C::DigitalClock), command(C::DigitalSerial), command(C::DigitalParallel),
                                     command(C::DigitalModify), command(C::DigitalSwap), separator()};
    for (int ch = 0; ch < kChannelCount; ++ch)
        digital.push_back(submenu("CH" + std::to_string(ch) + "(&" + std::to_string(ch) + ")", mainChannelItems(ch)));
    digital.push_back(separator());
    digital.push_back(command(C::DigitalProtocol));
    return {
        {"ファイル(&F)",
         {command(C::FileNew), command(C::FileOpen), command(C::FileSave), command(C::FileSaveAs), separator(),
          command(C::FileExport), separator(), command(C::AppExit)}},
        {"編集(&E)", {command(C::Undo), separator(), command(C::TotalTime), command(C::EditLock)}},
        {"アナログ(&A)", analogItems()},
        {"ディジタル(&D)", std::move(digital)},
        {"ズーム(&Z)", zoomItems()},
        {"カーソル(&C)", cursorItems()},
        {"タイムマーク(&T)", markItems()},
        {"出力(&O)", {command(C::Output)}},
        {"ヘルプ(&H)",
         {command(C::AppAbout), separator(),
          submenu(kLanguageMenuTitle, {command(C::LanguageJapanese), command(C::LanguageEnglish)})}},
    };
}

}  // namespace

bool commandEnabled(CommandRule rule, const FrameState& s, bool busy) {
    if (busy) return false;
    const bool editing = s.hasWaveform && s.editAllowed;
    switch (rule) {
        case CommandRule::Always:
        case CommandRule::File:
        case CommandRule::View: return true;
        case CommandRule::Editing: return editing;
        case CommandRule::EditingUndo: return editing && s.undoAvailable;
        case CommandRule::EditingPaste: return editing && s.clipboardValid;
        case CommandRule::WaveformIdle: return s.hasWaveform;
        case CommandRule::Output: return s.deviceSpecified;
        case CommandRule::Selector: return editing;
    }
    return false;
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

const std::vector<CommandId>& toolbarCommands() {
    static const std::vector<CommandId> bar = {
        C::FileNew, C::FileOpen, C::FileSave, C::None,
        C::Undo, C::None,
        C::Sine, C::Rectangle, C::Dc, C::Ramp, C::Exp, C::Noise, C::Manual, C::External, C::Equation, C::None,
        C::DigitalClock, C::DigitalSerial, C::DigitalParallel, C::DigitalModify, C::DigitalSwap, C::None,
        C::WholeView, C::StandardZoom, C::MaxZoom, C::ZoomIn, C::ZoomOut, C::None,
        C::Output, C::None,
        C::AppAbout};
    return bar;
}

}  // namespace lyr::app
