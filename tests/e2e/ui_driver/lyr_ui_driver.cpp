// Preloaded into the real `lyr` by the whole-program test: once the
// application object exists it plays the user's part through the widgets'
// names and texts, as a person at the screen would: choose the unit named by
// LYR_UI_DRIVER_SERIAL in "PGX-500指定", open "波形出力", transfer, start, and
// close the program. Each step it reaches is appended to LYR_UI_DRIVER_REPORT.
// With LYR_UI_DRIVER_LANG=en it looks for the English texts, and after each
// step reports every Japanese text a window or a menu shows ("japanese: ...").
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>
#include <functional>
#include <vector>

namespace {

bool english() { return qEnvironmentVariable("LYR_UI_DRIVER_LANG") == QStringLiteral("en"); }

QString text(const char* japanese, const char* inEnglish) {
    return english() ? QString::fromUtf8(inEnglish) : QString::fromUtf8(japanese);
}

bool hasJapanese(const QString& s) {
    for (const QChar c : s) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF)) return true;
    }
    return false;
}

void report(const QString& line) {
    QFile f(qEnvironmentVariable("LYR_UI_DRIVER_REPORT"));
    if (f.open(QIODevice::Append | QIODevice::Text)) f.write((line + QLatin1Char('\n')).toUtf8());
}

QWidget* topLevel(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible()) return w;
    return nullptr;
}

QMainWindow* mainWindow() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* m = qobject_cast<QMainWindow*>(w); m && m->isVisible()) return m;
    return nullptr;
}

template <class T>
T* named(QWidget* parent, const char* name) {
    return parent ? parent->findChild<T*>(QString::fromLatin1(name)) : nullptr;
}

// One step: tried on every tick until it reports that it is done.
struct Step {
    const char* name;
    std::function<bool()> done;
};

class Driver : public QObject {
public:
    explicit Driver(QObject* parent) : QObject(parent) {
        const QString serial = qEnvironmentVariable("LYR_UI_DRIVER_SERIAL");
        steps_ = {
            {"selected", [serial] {
                 QWidget* dlg = topLevel(QStringLiteral("COutputSelectDlg"));
                 auto* list = named<QTreeWidget>(dlg, "deviceList");
                 if (!list) return false;
                 for (int i = 0; i < list->topLevelItemCount(); ++i) {
                     if (list->topLevelItem(i)->text(0) != serial) continue;
                     list->setCurrentItem(list->topLevelItem(i));
                     auto* ok = named<QAbstractButton>(dlg, "okButton");
                     if (!ok || !ok->isEnabled()) return false;
                     ok->click();
                     return true;
                 }
                 return false;
             }},
            {"output window open", [] {
                 QMainWindow* m = mainWindow();
                 if (!m || !m->windowTitle().contains(QStringLiteral("wave.lyr"))) return false;
                 for (QAction* a : m->findChildren<QAction*>()) {
                     if (a->text() != text("波形データ出力(&W)", "&Waveform output...")) continue;
                     if (!a->isEnabled()) return false;
                     a->trigger();
                     return topLevel(QStringLiteral("COutputDlg")) != nullptr;
                 }
                 return false;
             }},
            {"transferred", [] { return clickWhenEnabled("transferButton", text("PGX-500 未設定", "PGX-500 not set up")); }},
            {"started", [] { return clickWhenEnabled("startStopButton", text("PGX-500 レディ", "PGX-500 ready")); }},
            {"running", [] {
                 auto* status = named<QLineEdit>(topLevel(QStringLiteral("COutputDlg")), "statusLine");
                 return status && status->text() == text("PGX-500 動作中", "PGX-500 running");
             }},
            {"closing", [] {
                 if (QMainWindow* m = mainWindow()) m->close();
                 return true;
             }},
        };
        connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
        timer_.start(20);
        // A step that never comes ends the run with the steps reached so far.
        QTimer::singleShot(40000, this, [] {
            report(QStringLiteral("gave up"));
            QCoreApplication::exit(4);
        });
    }

private:
    static bool clickWhenEnabled(const char* button, const QString& status) {
        QWidget* w = topLevel(QStringLiteral("COutputDlg"));
        auto* line = named<QLineEdit>(w, "statusLine");
        auto* b = named<QAbstractButton>(w, button);
        if (!line || !b || line->text() != status || !b->isEnabled()) return false;
        b->click();
        return true;
    }

    void tick() {
        // A question on the way out (nothing should have changed) is answered No.
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            report(QStringLiteral("asked: ") + box->text());
            if (QAbstractButton* no = box->button(QMessageBox::No)) no->click();
            else box->reject();
            return;
        }
        if (next_ >= steps_.size()) return;
        if (english()) findJapanese();
        if (steps_[next_].done()) report(QString::fromUtf8(steps_[next_++].name));
    }

    // Every text of the visible windows, their menus included; each found once.
    void findJapanese() {
        auto note = [this](const QString& s) {
            if (!hasJapanese(s) || s.contains(QStringLiteral("Language / "))) return;
            if (!seen_.contains(s)) report(QStringLiteral("japanese: ") + s);
            seen_ << s;
        };
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (!top->isVisible()) continue;
            QList<QWidget*> all = top->findChildren<QWidget*>();
            all.prepend(top);
            for (QWidget* w : all) {
                note(w->windowTitle());
                note(w->accessibleName());
                note(w->toolTip());
                if (auto* b = qobject_cast<QAbstractButton*>(w)) note(b->text());
                if (auto* e = qobject_cast<QLineEdit*>(w)) note(e->text());
                if (auto* l = qobject_cast<QLabel*>(w)) note(l->text());
                for (QAction* a : w->actions()) {
                    note(a->text());
                    note(a->statusTip());
                }
            }
        }
    }

    QTimer timer_;
    std::vector<Step> steps_;
    std::size_t next_ = 0;
    QStringList seen_;
};

void startDriver() {
    if (qEnvironmentVariableIsEmpty("LYR_UI_DRIVER_REPORT")) return;
    // Owned by the application, so that it goes when the program ends (the
    // leak check of the sanitizer run would report it otherwise).
    new Driver(QCoreApplication::instance());
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(startDriver)
