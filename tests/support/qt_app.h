#pragma once
// The one QApplication of a widget test program: made on first use (before
// any widget), shared by every test of the program and never destroyed.
#include <QApplication>

namespace lyr::test {

inline QApplication& qtApp() {
    static int argc = 1;
    static char name[] = "lyr_widget_test";
    static char* argv[] = {name, nullptr};
    static QApplication* a = qApp ? nullptr : new QApplication(argc, argv);
    (void)a;
    return *qApp;
}

}  // namespace lyr::test
