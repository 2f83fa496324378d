#pragma once
// For dialogs where Enter does nothing: the key is taken before QDialog would
// press the default button and close the window.
#include <QKeyEvent>

namespace lyr::ui {

// True, with the event taken, for Return and Enter.
inline bool takeEnterKey(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) return false;
    event->accept();
    return true;
}

}  // namespace lyr::ui
