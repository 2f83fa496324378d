#pragma once
// Helpers of the widget tests: the one QApplication of a test program, the
// screenshots taken on request and the lookup of a dialog's controls by object name.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

namespace lyr::test {

// Made on first use (before any widget), shared by every test of the
// program and never destroyed.
inline QApplication& qtApp() {
    // A runtime folder of the program's own (removed at exit): not the user's,
    // where a running editor keeps its lock, nor Qt's shared fallback in /tmp.
    static QTemporaryDir runtime;
    if (!qApp && runtime.isValid()) qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    static int argc = 1;
    static char name[] = "lyr_widget_test";
    static char* argv[] = {name, nullptr};
    static QApplication* a = qApp ? nullptr : new QApplication(argc, argv);
    (void)a;
    return *qApp;
}

// Saves a screenshot of w as NAME.png into the folder LYR_GRAB names (made when
// missing); without LYR_GRAB nothing is written.
inline void grabIfAsked(QWidget& w, const QString& name) {
    const QString dir = qEnvironmentVariable("LYR_GRAB");
    if (dir.isEmpty() || !QDir().mkpath(dir)) return;
    w.grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

// The child of that type and name; a missing one fails the test.
template <class W>
W* child(QWidget& parent, const QString& name) {
    W* w = parent.findChild<W*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
}

// Replaces the text of e as a user does: focus, select all, delete, type.
inline void retype(QLineEdit* e, const QString& text) {
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClicks(e, text);
}

// Clicks the push button of that name with the mouse.
inline void clickButton(QWidget& parent, const QString& name) {
    QTest::mouseClick(child<QPushButton>(parent, name), Qt::LeftButton);
}

// A mouse event at a point of a window as the mouse delivers it: to the
// widget under the point, passed on to its parents while they ignore it.
// button is the one pressed or released (Qt::NoButton for a move); held, the
// buttons down during it.
inline void mouseAt(QWidget& window, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                    Qt::MouseButtons held) {
    QWidget* w = window.childAt(pos);
    if (!w) w = &window;
    const QPointF local = w->mapFrom(&window, QPointF(pos));
    QMouseEvent e(type, local, w->mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

}  // namespace lyr::test
