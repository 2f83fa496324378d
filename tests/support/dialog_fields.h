#pragma once
// The editor dialogs name a field's controls by its key: the line edit
// "edit_KEY", its unit box "unit_KEY" and its "×" marker "marker_KEY".
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <initializer_list>

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

// One field as a user fills it: the unit first (its index in the box, -1 to
// leave it), then the text.
struct Entry {
    const char* key;
    const char* text;
    int unit = -1;
};

inline void fill(QWidget& dlg, std::initializer_list<Entry> entries) {
    for (const Entry& e : entries) {
        if (e.unit >= 0) chooseUnit(dlg, e.key, e.unit);
        typeInto(dlg, e.key, QString::fromUtf8(e.text));
    }
}

// Clicks the push button of that object name.
inline void click(QWidget& dlg, const char* name) { clickButton(dlg, QString::fromLatin1(name)); }

}  // namespace lyr::test
