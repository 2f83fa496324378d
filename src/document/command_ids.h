#pragma once
// Every command of the main window by its one identifier, with the system's
// command numbers as values. This is the only place a command number is
// written: menus, popups, the toolbar, accelerators, the strip's buttons and
// the command sets all name these.
#include <array>
#include <cstdint>
#include <optional>

namespace lyr {

enum class CommandId : std::int32_t {
    None = 0,  // no command: a separator in a toolbar order
    // The file commands, exit, about, undo, the total-time change and the edit lock.
    FileNew = 57600,
    FileOpen = 57601,
    FileSave = 32800,
    FileSaveAs = 32801,
    FileExport = 33000,
    AppExit = 57665,
    AppAbout = 57664,
    Undo = 57643,
    TotalTime = 32843,
    EditLock = 32842,
    // The analog editors.
    Sine = 32773,
    Rectangle = 32782,
    Dc = 32783,
    Ramp = 32784,
    Exp = 32785,
    Noise = 32786,
    Manual = 32787,
    External = 32793,
    Equation = 32990,
    // The digital editors of the "ディジタル(&D)" menu.
    DigitalClock = 32874,
    DigitalSerial = 32909,
    DigitalParallel = 32916,
    DigitalProtocol = 32991,
    DigitalModify = 32847,
    DigitalSwap = 32956,
    // Zoom.
    WholeView = 32776,
    StandardZoom = 32829,
    MaxZoom = 32805,
    ZoomIn = 32774,
    ZoomOut = 32775,
    SetStandard = 32839,
    ResetStandard = 32840,
    // Cursor.
    CursorToStart = 32791,
    CursorToMark = 32792,
    CursorToLastEdit = 32823,
    CursorBack = 32790,
    CursorForward = 32803,
    CursorToPosition = 32802,
    // Time mark.
    MarkAtCursor = 32827,
    MarkAtStart = 32822,
    MarkAtLastEdit = 32825,
    MarkAtPosition = 32804,
    MarkToCursor = 32809,
    MarkToStart = 32821,
    MarkToLastEdit = 32826,
    MarkToPosition = 32808,
    DeleteMark = 32795,
    // The status strip's buttons "←", "→", "≪", "≫".
    StepLeft = 1015,
    StepRight = 1016,
    HalfPageLeft = 1117,
    HalfPageRight = 1118,
    // Output.
    Output = 32771,
    // The language of the texts from the next start ("Language / 言語").
    LanguageJapanese = 33010,
    LanguageEnglish = 33011,
    // The bit-allocation selectors "アナログ分解能" and "ディジタルCH" (combo boxes, not actions).
    ResolutionSelector = 1221,
    ChannelSelector = 1207,
    // The per-channel families, CH0 .. CH7 each.
    ClockCh0 = 32777, ClockCh1 = 32778, ClockCh2 = 32779, ClockCh3 = 32780,
    ClockCh4 = 32941, ClockCh5 = 32944, ClockCh6 = 32947, ClockCh7 = 32950,
    SerialCh0 = 32911, SerialCh1 = 32912, SerialCh2 = 32913, SerialCh3 = 32914,
    SerialCh4 = 32942, SerialCh5 = 32945, SerialCh6 = 32948, SerialCh7 = 32951,
    ModifyCh0 = 32848, ModifyCh1 = 32849, ModifyCh2 = 32850, ModifyCh3 = 32851,
    ModifyCh4 = 32943, ModifyCh5 = 32946, ModifyCh6 = 32949, ModifyCh7 = 32952,
    ShiftCh0 = 32853, ShiftCh1 = 32854, ShiftCh2 = 32855, ShiftCh3 = 32856,
    ShiftCh4 = 32922, ShiftCh5 = 32927, ShiftCh6 = 32932, ShiftCh7 = 32937,
    InvertCh0 = 32810, InvertCh1 = 32811, InvertCh2 = 32812, InvertCh3 = 32813,
    InvertCh4 = 32921, InvertCh5 = 32926, InvertCh6 = 32931, InvertCh7 = 32936,
    CopyCh0 = 32880, CopyCh1 = 32888, CopyCh2 = 32889, CopyCh3 = 32890,
    CopyCh4 = 32923, CopyCh5 = 32928, CopyCh6 = 32933, CopyCh7 = 32938,
    PasteCh0 = 32881, PasteCh1 = 32891, PasteCh2 = 32892, PasteCh3 = 32893,
    PasteCh4 = 32924, PasteCh5 = 32929, PasteCh6 = 32934, PasteCh7 = 32939,
    ClearCh0 = 32902, ClearCh1 = 32906, ClearCh2 = 32907, ClearCh3 = 32908,
    ClearCh4 = 32925, ClearCh5 = 32930, ClearCh6 = 32935, ClearCh7 = 32940,
    ProtocolCh0 = 32992, ProtocolCh1 = 32993, ProtocolCh2 = 32994, ProtocolCh3 = 32995,
    ProtocolCh4 = 32996, ProtocolCh5 = 32997, ProtocolCh6 = 32998, ProtocolCh7 = 32999,
};

// The per-channel command families, in the order of their rows.
enum class ChannelFamily { Clock, Serial, Modify, Shift, Invert, Copy, Paste, Clear, Protocol };
inline constexpr int kChannelFamilyCount = 9;
inline constexpr int kCommandChannels = 8;

// Indexed by ChannelFamily, then by channel.
inline constexpr std::array<std::array<CommandId, kCommandChannels>, kChannelFamilyCount> kChannelCommands{{
    {{CommandId::ClockCh0, CommandId::ClockCh1, CommandId::ClockCh2, CommandId::ClockCh3, CommandId::ClockCh4, CommandId::ClockCh5, CommandId::ClockCh6, CommandId::ClockCh7}},
    {{CommandId::SerialCh0, CommandId::SerialCh1, CommandId::SerialCh2, CommandId::SerialCh3, CommandId::SerialCh4, CommandId::SerialCh5, CommandId::SerialCh6, CommandId::SerialCh7}},
    {{CommandId::ModifyCh0, CommandId::ModifyCh1, CommandId::ModifyCh2, CommandId::ModifyCh3, CommandId::ModifyCh4, CommandId::ModifyCh5, CommandId::ModifyCh6, CommandId::ModifyCh7}},
    {{CommandId::ShiftCh0, CommandId::ShiftCh1, CommandId::ShiftCh2, CommandId::ShiftCh3, CommandId::ShiftCh4, CommandId::ShiftCh5, CommandId::ShiftCh6, CommandId::ShiftCh7}},
    {{CommandId::InvertCh0, CommandId::InvertCh1, CommandId::InvertCh2, CommandId::InvertCh3, CommandId::InvertCh4, CommandId::InvertCh5, CommandId::InvertCh6, CommandId::InvertCh7}},
    {{CommandId::CopyCh0, CommandId::CopyCh1, CommandId::CopyCh2, CommandId::CopyCh3, CommandId::CopyCh4, CommandId::CopyCh5, CommandId::CopyCh6, CommandId::CopyCh7}},
    {{CommandId::PasteCh0, CommandId::PasteCh1, CommandId::PasteCh2, CommandId::PasteCh3, CommandId::PasteCh4, CommandId::PasteCh5, CommandId::PasteCh6, CommandId::PasteCh7}},
    {{CommandId::ClearCh0, CommandId::ClearCh1, CommandId::ClearCh2, CommandId::ClearCh3, CommandId::ClearCh4, CommandId::ClearCh5, CommandId::ClearCh6, CommandId::ClearCh7}},
    {{CommandId::ProtocolCh0, CommandId::ProtocolCh1, CommandId::ProtocolCh2, CommandId::ProtocolCh3, CommandId::ProtocolCh4, CommandId::ProtocolCh5, CommandId::ProtocolCh6, CommandId::ProtocolCh7}},
}};

// The identifier of a family's command for channel ch (0..7).
constexpr CommandId channelCommand(ChannelFamily family, int ch) {
    return kChannelCommands[static_cast<std::size_t>(family)][static_cast<std::size_t>(ch)];
}

// The family and channel of a per-channel identifier; nothing for the others.
struct ChannelCommand {
    ChannelFamily family;
    int channel;
};
constexpr std::optional<ChannelCommand> channelCommandOf(CommandId id) {
    for (int f = 0; f < kChannelFamilyCount; ++f)
        for (int ch = 0; ch < kCommandChannels; ++ch)
            if (kChannelCommands[static_cast<std::size_t>(f)][static_cast<std::size_t>(ch)] == id)
                return ChannelCommand{static_cast<ChannelFamily>(f), ch};
    return std::nullopt;
}

// The number as Qt's action data and the hash tables carry it, and back.
constexpr std::int32_t commandNumber(CommandId id) { return static_cast<std::int32_t>(id); }
constexpr CommandId commandFromNumber(std::int32_t number) { return static_cast<CommandId>(number); }

}  // namespace lyr
