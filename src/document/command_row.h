#pragma once
// What a command set declares for each command it runs: its menu text,
// status-bar prompt, tooltip, enabling rule and toolbar glyph. The frame
// makes the actions, menus, popups and toolbar buttons from these rows.
#include <string>
#include <vector>

#include "document/command_ids.h"

namespace lyr {

// How a command is enabled (beyond its busy flag, which always disables it).
enum class CommandRule {
    Always,        // exit, about
    File,          // new, open, save, save as: the document lifecycle decides
    Editing,       // a waveform exists and editing is not locked
    EditingUndo,   // the editing rule and the document has something to undo
    EditingPaste,  // the editing rule and a channel has been copied
    WaveformIdle,  // a waveform exists (the edit lock, the cursor's time entry)
    View,          // the view decides (zoom, cursor, time mark, strip steps)
    Output,        // a device is designated for output
    Selector,      // the bit-allocation selectors: waveform and editing allowed
};

// The toolbar image of a command (drawn by the frame); None: no button image.
enum class Glyph {
    None,
    New, Open, Save, Undo,
    Sine, Rectangle, Dc, Ramp, Exp, Noise, Manual, External, Equation,
    DigitalClock, DigitalSerial, DigitalParallel, DigitalModify, DigitalSwap,
    WholeView, StandardZoom, MaxZoom, ZoomIn, ZoomOut,
    Output, About,
};

struct CommandRow {
    CommandId id = CommandId::None;
    std::string menuText;  // "正弦波(&S)"
    std::string prompt;    // status-bar prompt; empty for the strip's buttons
    std::string tooltip;
    CommandRule rule = CommandRule::Always;
    Glyph glyph = Glyph::None;
    int channel = -1;  // 0..7 for the per-channel families
};

using CommandRows = std::vector<CommandRow>;

}  // namespace lyr
