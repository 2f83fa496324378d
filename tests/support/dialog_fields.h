#pragma once
// The editor dialogs name a field's controls by its key: the line edit
// "edit_KEY", its unit box "unit_KEY" and its "×" marker "marker_KEY".
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "support/qt_app.h"

namespace lyr::test {

inline void typeInto(QWidget& dlg, const char* key, const QString& text) {
    retype(child<QLineEdit>(dlg, QStringLiteral("edit_") + QString::fromLatin1(key)), text);
}

inline void chooseUnit(QWidget& dlg, const char* key, int index) {
    child<QComboBox>(dlg, QStringLiteral("unit_") + QString::fromLatin1(key))->setCurrentIndex(index);
}

inline bool markerShown(QWidget& dlg, const char* key) {
    return !child<QLabel>(dlg, QStringLiteral("marker_") + QString::fromLatin1(key))->isHidden();
}

}  // namespace lyr::test
