#pragma once
// Moved to support/ so that every test folder can build waveform files.
#include "support/waveform_files.h"
