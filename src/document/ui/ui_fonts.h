#pragma once
// The user-interface font: the Japanese system gothic when it exists, else a
// CJK-capable font, so that Japanese texts always render.
#include <QFont>

namespace lyr::ui {

// "MS Gothic" / "ＭＳ ゴシック", falling back to Noto Sans CJK JP.
QFont japaneseUiFont(int pointSize = 9);

}  // namespace lyr::ui
