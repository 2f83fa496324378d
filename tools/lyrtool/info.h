#pragma once
// What `lyrtool info --json` shows of an open waveform.
#include "common.h"
#include "json_writer.h"

namespace lyrtool {

// The waveform as the editor sees it after opening: time base, identifiers,
// names, flags, output settings, view state and editor settings.
Json waveformInfo(const OpenedWaveform& waveform);

}  // namespace lyrtool
