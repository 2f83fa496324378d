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
#include <QTimer>

#include "app/command_table.h"
#include "app/lifecycle_fake.h"
#include "app/ui/command_router.h"
#include "app/ui/main_frame.h"
#include "support/main_frame.h"

namespace lyr::app {
namespace {

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

// Read-only readouts whose accessible name hides the text they show (a name
// of its own that does not contain that text): a screen reader would never
// read the value.
QStringList hiddenReadouts(QWidget& window) {
    QStringList hidden;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisibleTo(&window) || insideComboBox(w, &window)) continue;
        QString shown;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            if (label->text() == QStringLiteral("×") || label->textFormat() == Qt::RichText) continue;  // markers
            shown = label->text();
        } else if (auto* edit = qobject_cast<QLineEdit*>(w); edit && edit->isReadOnly()) {
            shown = edit->text();
        } else {
            continue;
        }
        shown.remove(QLatin1Char('&'));
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        if (!shown.trimmed().isEmpty() && a && !a->text(QAccessible::Name).contains(shown.trimmed()))
            hidden << describe(w) + QStringLiteral(" shows '%1' named '%2'").arg(shown, a->text(QAccessible::Name));
    }
    return hidden;
}

class Accessibility : public lyr::test::SimulatedUnitFrameTest {
protected:
    // Runs `open`; every dialog it shows (modal or not) is read and closed.
    void walk(const QString& what, const std::function<void()>& open) {
        auto readAndClose = [this, what] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* dlg = qobject_cast<QDialog*>(w);
                if (!dlg || !dlg->isVisible()) continue;
                const QStringList missing = unnamedControls(*dlg);
                EXPECT_TRUE(missing.isEmpty()) << what.toStdString() << " (" << dlg->windowTitle().toStdString()
                                               << "): " << missing.join(QStringLiteral(", ")).toStdString();
                const QStringList hidden = hiddenReadouts(*dlg);
                EXPECT_TRUE(hidden.isEmpty()) << what.toStdString() << " (" << dlg->windowTitle().toStdString()
                                              << "): " << hidden.join(QStringLiteral(", ")).toStdString();
                titles_ << dlg->windowTitle();
                dlg->reject();
            }
        };
        QTimer::singleShot(0, frame.get(), readAndClose);
        open();
        readAndClose();  // a window that stays open after its command
        QApplication::processEvents();
    }

    test::FakeWaveTime chooser_;
    QStringList titles_;
};

TEST_F(Accessibility, EveryWindowNamesItsControls) {
    walk(QStringLiteral("device selection"), [this] { frame->selectDevice(2, settingsFile()); });
    frame->selectDevice(1, settingsFile());  // the first unit, for the output window
    walk(QStringLiteral("new"), [this] { frame->newAction()->trigger(); });
    chooser_.answerTs = 10;
    chooser_.answerN = 100000;
    frame->setWaveTimeChooser(&chooser_);
    ASSERT_TRUE(frame->lifecycle().newWaveform());

    const QStringList missing = unnamedControls(*frame);
    EXPECT_TRUE(missing.isEmpty()) << "main window: " << missing.join(QStringLiteral(", ")).toStdString();
    const QStringList hidden = hiddenReadouts(*frame);
    EXPECT_TRUE(hidden.isEmpty()) << "main window: " << hidden.join(QStringLiteral(", ")).toStdString();

    // Every command but those that leave, lock, undo or ask for a file name.
    const std::set<CommandId> skipped = {CommandId::FileNew, CommandId::FileOpen, CommandId::FileSave,
                                         CommandId::FileSaveAs, CommandId::AppExit, CommandId::EditLock,
                                         CommandId::Undo};
    int commands = 0;
    for (const CommandRow& c : frame->router().rows()) {
        QAction* action = frame->commandAction(c.id);
        if (skipped.count(c.id) || !action || !action->isVisible()) continue;
        frame->updateCommandStates();
        if (!action->isEnabled()) continue;
        ++commands;
        walk(QString::fromStdString(c.menuText), [action] { action->trigger(); });
    }
    // The selection, New, the analog and digital editors, the output window,
    // the time entry and the about box at least.
    EXPECT_GE(commands, 20);
    EXPECT_GE(titles_.size(), 14) << titles_.join(QStringLiteral(" | ")).toStdString();
    EXPECT_EQ(titles_.filter(QStringLiteral("波形出力")).size(), 1);
}

}  // namespace
}  // namespace lyr::app
