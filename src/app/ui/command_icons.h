#pragma once
// The toolbar's images: one small vector glyph per command, painted at the
// size asked for, so they stay crisp at any scale.
#include <QIcon>

#include "document/command_row.h"

namespace lyr::app {

// The icon of a command row's glyph; a null icon for Glyph::None.
QIcon commandIcon(Glyph glyph);

}  // namespace lyr::app
