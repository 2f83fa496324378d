#pragma once
// The main window's arrangement of its commands: the one function that
// decides every enabling rule, and the layout of the menus, the context
// popups and the toolbar, by CommandId (src/document/command_ids.h). The
// texts, prompts, tooltips and rules are the rows each command set declares
// (src/document/command_row.h).
#include <cstdint>
#include <string>
#include <vector>

#include "document/command_row.h"

namespace lyr::app {

inline constexpr int kChannelCount = kCommandChannels;

// What the enabling rules read.
struct FrameState {
    bool hasWaveform = false;
    bool editAllowed = true;
    bool undoAvailable = false;
    bool clipboardValid = false;
    bool deviceSpecified = false;
};

// The frame's part of a command's rule; busy is the command's own busy flag
// (the guard for the selectors). Rules of kind File and View hold only the
// frame's part: the command set that runs the command adds its own.
bool commandEnabled(CommandRule rule, const FrameState& state, bool busy);

// --- menus, popups and the toolbar as data ---

struct MenuItem {
    enum class Kind { Command, Separator, Submenu };
    Kind kind = Kind::Command;
    CommandId id = CommandId::None;  // Command
    std::string text;             // Command: a text other than the table's; Submenu: its title
    std::vector<MenuItem> items;  // Submenu
};

struct MenuLayout {
    std::string title;
    std::vector<MenuItem> items;
};

// The language submenu of "ヘルプ(&H)": the same in both languages, so that
// it is found whichever language is shown.
inline constexpr const char* kLanguageMenuTitle = "&Language / 言語";

// The menu bar, left to right.
const std::vector<MenuLayout>& mainMenus();
// Each menu of the bar by its place in mainMenus(), for code that needs one
// menu without reading its title.
enum class MainMenu { File, Edit, Analog, Digital, Zoom, Cursor, TimeMark, Output, Help };
const MenuLayout& mainMenu(MainMenu which);

// The context popups and the region of the view each belongs to.
enum class PopupKind { Analog, Cursor, TimeMark, Zoom, Channel };
// "Cursor", "TimeMark", "Zoom", or "CH0".."CH7" (channel 0..7). The analog
// popup is the main menu's "アナログ(&A)".
MenuLayout contextPopup(PopupKind kind, int channel = -1);

// Toolbar buttons in order; CommandId::None marks a separator.
const std::vector<CommandId>& toolbarCommands();

}  // namespace lyr::app
