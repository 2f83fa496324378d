// Preloaded into `lyr` by bench/startup/startup.sh: ends the program as soon as
// its main window is shown and the event loop runs, so that a whole-process
// timer (hyperfine) measures the start-up: settings, language, document, window.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

namespace {

void startProbe() {
    if (qEnvironmentVariableIsEmpty("LYR_STARTUP_PROBE")) return;
    auto* timer = new QTimer(QCoreApplication::instance());
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QMainWindow*>(w) && w->isVisible()) QCoreApplication::exit(0);
    });
    timer->start();
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(startProbe)
