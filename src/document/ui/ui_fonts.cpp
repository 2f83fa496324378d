#include "document/ui/ui_fonts.h"

#include <QStringList>

namespace lyr::ui {

QFont japaneseUiFont(int pointSize) {
    QFont f;
    f.setFamilies(QStringList{QStringLiteral("MS Gothic"), QStringLiteral("ＭＳ ゴシック"),
                              QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP")});
    f.setPointSize(pointSize);
    return f;
}

}  // namespace lyr::ui
