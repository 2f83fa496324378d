// Preloaded into the real `lyr` by the latency test: it opens "波形出力" as
// soon as the output command is enabled, then for LYR_LATENCY_MS (5000) runs
// a 10 ms timer on the GUI thread and keeps the worst lateness of its ticks
// (from a quarter second on, once the new window has been laid out and drawn),
// the statuses the window showed meanwhile, and closes the program. The
// report in LYR_LATENCY_REPORT reads:
//   window open
//   ticks <n> max_late_ms <ms>
//   status <text>        (each status shown, in order)
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>

namespace {

constexpr int kTickMs = 10;
constexpr int kSettleMs = 250;

class LatencyDriver : public QObject {
public:
    explicit LatencyDriver(QObject* parent) : QObject(parent) {
        report_.setFileName(qEnvironmentVariable("LYR_LATENCY_REPORT"));
        report_.open(QIODevice::WriteOnly | QIODevice::Text);
        const int ms = qEnvironmentVariableIntValue("LYR_LATENCY_MS");
        measureMs_ = ms > 0 ? ms : 5000;
        timer_.setTimerType(Qt::PreciseTimer);
        connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
        timer_.start(kTickMs);
        // A window that never opens ends the run with what was reached.
        QTimer::singleShot(40000, this, [this] {
            write(QStringLiteral("gave up"));
            QCoreApplication::exit(4);
        });
    }

private:
    void write(const QString& line) {
        report_.write((line + QLatin1Char('\n')).toUtf8());
        report_.flush();
    }

    static QMainWindow* mainWindow() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* m = qobject_cast<QMainWindow*>(w); m && m->isVisible()) return m;
        return nullptr;
    }
    static QWidget* outputWindow() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("COutputDlg") && w->isVisible()) return w;
        return nullptr;
    }

    void tick() {
        // A question on the way out (nothing should have changed) is answered No.
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            write(QStringLiteral("asked: ") + box->text());
            if (QAbstractButton* no = box->button(QMessageBox::No)) no->click();
            else box->reject();
            return;
        }
        if (!opened_.isValid()) {
            openWindow();
            return;
        }
        if (!settled_.isValid()) {
            if (opened_.elapsed() < kSettleMs) return;
            settled_.start();
            lastNs_ = 0;
        }
        const qint64 now = settled_.nsecsElapsed();
        const double late = (now - lastNs_) / 1e6 - kTickMs;
        lastNs_ = now;
        ++ticks_;
        if (late > maxLateMs_) maxLateMs_ = late;
        if (QWidget* w = outputWindow()) {
            if (auto* status = w->findChild<QLineEdit*>(QStringLiteral("statusLine")); status && status->text() != lastStatus_) {
                lastStatus_ = status->text();
                statuses_ << lastStatus_;
            }
        }
        if (now / 1000000 < measureMs_) return;
        timer_.stop();
        write(QStringLiteral("ticks %1 max_late_ms %2").arg(ticks_).arg(maxLateMs_, 0, 'f', 1));
        for (const QString& s : statuses_) write(QStringLiteral("status ") + s);
        if (QMainWindow* m = mainWindow()) m->close();
    }

    void openWindow() {
        QMainWindow* m = mainWindow();
        if (!m) return;
        for (QAction* a : m->findChildren<QAction*>()) {
            if (a->text() != QStringLiteral("波形データ出力(&W)") || !a->isEnabled()) continue;
            a->trigger();
            if (!outputWindow()) return;
            write(QStringLiteral("window open"));
            opened_.start();
            return;
        }
    }

    QFile report_;
    QTimer timer_;
    QElapsedTimer opened_, settled_;
    qint64 lastNs_ = 0;
    int measureMs_ = 5000;
    int ticks_ = 0;
    double maxLateMs_ = 0;
    QString lastStatus_;
    QStringList statuses_;
};

void startDriver() {
    if (qEnvironmentVariableIsEmpty("LYR_LATENCY_REPORT")) return;
    new LatencyDriver(QCoreApplication::instance());
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(startDriver)
