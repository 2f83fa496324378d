// Every window the program opens, reached the way a user reaches it (the
// start-up selection, New, each command of the main window), read as an
// assistive tool reads it: each control has a name, each "×" marker says
// what is wrong, each dialog has its caption.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdlib>

#include "app/command_table.h"
#include "app/ui/main_frame.h"
#include "support/qt_app.h"
#include "support/scripted_prompter.h"

namespace lyr::app {
namespace {

class SmallWaveform : public WaveTimeChooser {
public:
    bool choose(std::int64_t& total, std::uint32_t& s, std::uint32_t& n) override {
        s = 10;
        n = 100000;
        total = std::int64_t{s} * n;
        return true;
    }
};

bool insideComboBox(const QWidget* w, const QWidget* window) {
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (qobject_cast<const QComboBox*>(p)) return true;
    return false;
}

QString describe(const QWidget* w) {
    return QStringLiteral("%1 '%2'").arg(QString::fromLatin1(w->metaObject()->className()), w->objectName());
}

// The controls of a window an assistive tool cannot name (the name Qt gives
// it: its own accessible name, its text, or its buddy label's text), and the
// markers that carry no name of their own.
QStringList unnamedControls(QWidget& window) {
    QStringList missing;
    if (window.windowTitle().isEmpty()) missing << QStringLiteral("the window's caption");
    for (QWidget* w : window.findChildren<QWidget*>()) {
        // A combo box's popup and a list's header are named through their owner.
        if (insideComboBox(w, &window) || qobject_cast<QHeaderView*>(w)) continue;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (label->text() == QStringLiteral("×") && label->accessibleName().isEmpty()) missing << describe(w);
            continue;
        }
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                             qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractSpinBox*>(w) ||
                             qobject_cast<QAbstractItemView*>(w);
        if (!control || !w->isVisibleTo(&window)) continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        if (!a || a->text(QAccessible::Name).trimmed().isEmpty()) missing << describe(w);
    }
    return missing;
}

class Accessibility : public ::testing::Test {
protected:
    void SetUp() override {
        test::qtApp();
        ASSERT_TRUE(dir_.isValid());
        setenv("LYR_D2XX_LIBRARY", (std::string(LYR_BINARY_DIR) + "/libpgxsim.so").c_str(), 1);
        setenv("PGXSIM_STATE", (dir_.path() + "/state").toLocal8Bit().constData(), 1);
        setenv("PGXSIM_CLOCK", (dir_.path() + "/clock").toLocal8Bit().constData(), 1);
        unsetenv("PGXSIM_FAULT");
        unsetenv("PGXSIM_DEVICES");
        std::string message;
        doc_ = document::CSYNDoc::create(message);
        ASSERT_TRUE(doc_) << message;
        frame_ = std::make_unique<CMainFrame>(*doc_);
        frame_->setPrompter(&prompter_);
        frame_->resize(1200, 800);
        frame_->show();
    }
    void TearDown() override {
        frame_.reset();
        unsetenv("LYR_D2XX_LIBRARY");
        unsetenv("PGXSIM_STATE");
        unsetenv("PGXSIM_CLOCK");
    }

    // Runs `open`; every dialog it shows (modal or not) is read and closed.
    void walk(const QString& what, const std::function<void()>& open) {
        auto readAndClose = [this, what] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* dlg = qobject_cast<QDialog*>(w);
                if (!dlg || !dlg->isVisible()) continue;
                const QStringList missing = unnamedControls(*dlg);
                EXPECT_TRUE(missing.isEmpty()) << what.toStdString() << " (" << dlg->windowTitle().toStdString()
                                               << "): " << missing.join(QStringLiteral(", ")).toStdString();
                titles_ << dlg->windowTitle();
                dlg->reject();
            }
        };
        QTimer::singleShot(0, frame_.get(), readAndClose);
        open();
        readAndClose();  // a window that stays open after its command
        QApplication::processEvents();
    }

    QTemporaryDir dir_;
    test::ScriptedPrompter prompter_;
    SmallWaveform chooser_;
    std::unique_ptr<document::CSYNDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
    QStringList titles_;
};

TEST_F(Accessibility, EveryWindowNamesItsControls) {
    walk(QStringLiteral("device selection"), [this] { frame_->selectDevice(2, dir_.path() + "/LYR.INI"); });
    frame_->selectDevice(1, dir_.path() + "/LYR.INI");  // the first unit, for the output window
    walk(QStringLiteral("new"), [this] { frame_->newAction()->trigger(); });
    frame_->setWaveTimeChooser(&chooser_);
    ASSERT_TRUE(frame_->lifecycle().newWaveform());

    const QStringList missing = unnamedControls(*frame_);
    EXPECT_TRUE(missing.isEmpty()) << "main window: " << missing.join(QStringLiteral(", ")).toStdString();

    // Every command but those that leave, lock, undo or ask for a file name.
    const std::set<int> skipped = {cmd::kFileNew, cmd::kFileOpen, cmd::kFileSave, cmd::kFileSaveAs,
                                   cmd::kAppExit, cmd::kEditLock, cmd::kUndo};
    int commands = 0;
    for (const CommandInfo& c : commandTable()) {
        QAction* action = frame_->commandAction(c.id);
        if (skipped.count(c.id) || !action || !action->isVisible()) continue;
        frame_->updateCommandStates();
        if (!action->isEnabled()) continue;
        ++commands;
        walk(QString::fromStdString(c.menuText.empty() ? std::to_string(c.id) : c.menuText),
             [action] { action->trigger(); });
    }
    // The selection, New, the analog and digital editors, the output window,
    // the time entry and the about box at least.
    EXPECT_GE(commands, 20);
    EXPECT_GE(titles_.size(), 14) << titles_.join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(titles_.filter(QStringLiteral("波形出力")).size(), 1);
}

}  // namespace
}  // namespace lyr::app
