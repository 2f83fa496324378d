#pragma once
// The toolbar's images: one small vector glyph per command, painted at the
// size asked for, so they stay crisp at any scale.
#include <QIcon>

namespace lyr::app {

// The icon of a toolbar command; a null icon for an identifier without a glyph.
QIcon commandIcon(int id);

}  // namespace lyr::app
