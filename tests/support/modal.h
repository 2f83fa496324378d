#pragma once
// Drives the modal dialog a command is about to open: `act` runs on it once
// its loop has started; a dialog `act` leaves open is rejected so that the
// test goes on. A dialog of another type (or none) fails the test.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>

namespace lyr::test {

template <class D>
void whenModal(QObject* context, std::function<void(D&)> act) {
    QTimer::singleShot(0, context, [act] {
        auto* dlg = qobject_cast<D*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        act(*dlg);
        if (dlg->isVisible()) dlg->reject();
    });
}

}  // namespace lyr::test
