#pragma once
// The main window's commands as data: each command identifier with its menu
// text, status-bar prompt, tooltip and enabling rule, the one function that
// decides every enabling rule, and the layout of the menus, the context
// popups and the toolbar. The widgets build everything from these tables.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lyr::app {

// How a command is enabled (beyond its busy flag, which always disables it).
enum class CommandRule {
    Always,         // exit, about
    File,           // new, open, save, save as: the document lifecycle decides
    Editing,        // a waveform exists and editing is not locked
    EditingUndo,    // the editing rule and the document has something to undo
    EditingPaste,   // the editing rule and a channel has been copied
    WaveformIdle,   // a waveform exists (the edit lock, the cursor's time entry)
    View,           // the view decides (zoom, cursor, time mark, strip steps)
    Output,         // a device is designated for output
    Selector,       // the bit-allocation selectors: waveform and editing allowed
};

// Identifiers that other code names.
namespace cmd {
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileSave = 32800;
inline constexpr int kFileSaveAs = 32801;
inline constexpr int kAppExit = 57665;
inline constexpr int kAppAbout = 57664;
inline constexpr int kUndo = 57643;
inline constexpr int kTotalTime = 32843;
inline constexpr int kEditLock = 32842;
inline constexpr int kOutput = 32771;
inline constexpr int kAnalogEquation = 32990;
inline constexpr int kDigitalProtocol = 32991;
inline constexpr int kDigitalClock = 32874;
inline constexpr int kDigitalSerial = 32909;
inline constexpr int kDigitalParallel = 32916;
inline constexpr int kDigitalModify = 32847;
inline constexpr int kDigitalSwap = 32956;
inline constexpr int kResolutionSelector = 1221;
inline constexpr int kChannelSelector = 1207;
}  // namespace cmd

// The per-channel command families, in the order of their rows.
enum class ChannelFamily { Clock, Serial, Modify, Shift, Invert, Copy, Paste, Clear, Protocol };
inline constexpr int kChannelFamilyCount = 9;
inline constexpr int kChannelCount = 8;

// The identifier of a family's command for channel ch (0..7).
int channelCommandId(ChannelFamily family, int ch);

struct CommandInfo {
    int id = 0;
    std::string menuText;  // "正弦波(&S)"; empty for commands without a menu entry
    std::string prompt;    // status-bar prompt
    std::string tooltip;
    CommandRule rule = CommandRule::Always;
    int channel = -1;      // 0..7 for the per-channel families
};

// Every command of the main window, in a stable order.
const std::vector<CommandInfo>& commandTable();
// The row of an identifier, or nullptr.
const CommandInfo* findCommand(int id);

// What the enabling rules read.
struct FrameState {
    bool hasWaveform = false;
    bool editAllowed = true;
    bool undoAvailable = false;
    bool clipboardValid = false;
    bool deviceSpecified = false;
};

// The frame's rule for a command; busy is the command's own busy flag (the
// guard for the selectors). Rules of kind File and View hold only the frame's
// part: the command set that runs the command adds its own.
bool commandEnabled(const CommandInfo& command, const FrameState& state, bool busy);
bool commandEnabled(int id, const FrameState& state, bool busy);

// --- menus, popups and the toolbar as data ---

struct MenuItem {
    enum class Kind { Command, Separator, Submenu };
    Kind kind = Kind::Command;
    int id = 0;                   // Command
    std::string text;             // Command: a text other than the table's; Submenu: its title
    std::vector<MenuItem> items;  // Submenu
};

struct MenuLayout {
    std::string title;
    std::vector<MenuItem> items;
};

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

// Toolbar buttons in order; 0 marks a separator.
const std::vector<int>& toolbarCommands();

}  // namespace lyr::app
