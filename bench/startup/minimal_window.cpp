// The baseline of the start-up measurement: a bare Qt window with a menu
// bar, shown the way the editor shows its main window.
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("minimal"));
    for (const char* name : {"File", "Edit", "View", "Help"})
        window.menuBar()->addMenu(QString::fromLatin1(name))->addAction(QStringLiteral("Item"));
    if (QScreen* screen = QGuiApplication::primaryScreen()) window.setGeometry(screen->availableGeometry());
    window.showMaximized();
    return app.exec();
}
