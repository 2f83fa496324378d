// The analog menu and undo command in a main window, with the view.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "analog/ui/analog_commands.h"
#include "analog/ui/analog_dialogs.h"
#include "support/scripted_prompter.h"
#include "view/ui/syn_view.h"
#include "view/ui/view_commands.h"
#include "view/ui/view_frame.h"
#include "support/qt_app.h"

namespace lyr::analog {
namespace {

// Types a DC edit into the modal dialog that is about to open and applies it.
void driveDc(const char* period, const char* level, bool apply = true) {
    QTimer::singleShot(0, [=] {
        auto* dlg = qobject_cast<CDcDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->findChild<QComboBox*>("unit_period")->setCurrentIndex(0);
        QTest::keyClicks(dlg->findChild<QLineEdit*>("edit_period"), period);
        auto* v0 = dlg->findChild<QLineEdit*>("edit_v0");
        v0->selectAll();
        QTest::keyClicks(v0, level);
        QTest::mouseClick(dlg->findChild<QPushButton*>("create"), Qt::LeftButton);
        if (apply)
            QTest::mouseClick(dlg->findChild<QPushButton*>("apply0"), Qt::LeftButton);
        else
            dlg->reject();
    });
}

class AnalogCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        lyr::test::qtApp();
        std::string message;
        doc = document::CSYNDoc::create(message);
        ASSERT_TRUE(doc);
        owned = std::make_unique<QMainWindow>();
        commands = installAnalogCommands(window(), *doc, nullptr, &prompter);
    }
    QMainWindow& window() { return *owned; }
    std::unique_ptr<document::CSYNDoc> doc;
    std::unique_ptr<QMainWindow> owned;
    test::ScriptedPrompter prompter;
    AnalogCommands* commands = nullptr;
};

TEST_F(AnalogCommandsTest, MenusAndTheirTexts) {
    QStringList menus;
    for (QAction* a : window().menuBar()->actions()) menus << a->text();
    EXPECT_EQ(menus, (QStringList{"編集(&E)", "アナログ(&A)"}));
    QStringList entries;
    for (QAction* a : commands->menu()->actions()) entries << a->text();
    EXPECT_EQ(entries, (QStringList{"正弦波(&S)", "矩形波(&P)", "直流波形(&D)", "ランプ波形(&R)", "指数関数波形(&E)",
                                    "ランダムノイズ(&N)"}));
    EXPECT_EQ(commands->action(AnalogCommand::Noise)->statusTip(), QStringLiteral("[アナログ]  ランダムノイズの作成"));
    EXPECT_EQ(commands->undoAction()->text(), QStringLiteral("元に戻す(&U)"));
    EXPECT_EQ(commands->undoAction()->shortcuts().size(), 2);
    EXPECT_EQ(commands->undoAction()->shortcuts()[1], QKeySequence(Qt::ALT | Qt::Key_Backspace));
}

TEST_F(AnalogCommandsTest, EditingRuleAndUndoThroughTheView) {
    commands->updateStates();
    EXPECT_FALSE(commands->action(AnalogCommand::Sine)->isEnabled());  // no waveform yet
    EXPECT_FALSE(commands->undoAction()->isEnabled());
    ASSERT_TRUE(doc->newWaveform(10, 1000));
    const view::ViewFrame parts = view::installView(window(), *doc);
    view::CSYNView* view = parts.view;
    window().setCentralWidget(view);
    window().resize(900, 600);
    window().show();
    view->resetView();
    view->setCursorIndex(100);
    commands->updateStates();
    EXPECT_TRUE(commands->action(AnalogCommand::Dc)->isEnabled());
    EXPECT_EQ(parts.commands->popupFor(view::ViewRegion::AnalogPlot, -1), commands->menu());
    EXPECT_FALSE(commands->undoAction()->isEnabled());

    driveDc("500", "0.5");
    commands->action(AnalogCommand::Dc)->trigger();
    EXPECT_EQ(doc->analog()[100], 0.5);
    EXPECT_EQ(doc->analog()[149], 0.5);
    EXPECT_EQ(view->state().cursor(), 150u);  // after the edit
    EXPECT_TRUE(commands->undoAction()->isEnabled());
    EXPECT_FALSE(commands->busy(AnalogCommand::Dc));

    // Ctrl+Z undoes it
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
    QTest::keySequence(&window(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(doc->analog()[100], 0.0);
    EXPECT_FALSE(doc->isModified());
    EXPECT_FALSE(commands->undoAction()->isEnabled());
    EXPECT_EQ(view->state().cursor(), 100u);  // back to the start of the undone edit

    // a cancelled dialog changes nothing
    driveDc("500", "0.5", false);
    commands->action(AnalogCommand::Dc)->trigger();
    EXPECT_EQ(doc->analog()[100], 0.0);
    EXPECT_FALSE(commands->undoAction()->isEnabled());

    // the edit lock greys every editing command out
    commands->editAllowed = [] { return false; };
    commands->updateStates();
    for (auto c : {AnalogCommand::Sine, AnalogCommand::Rectangle, AnalogCommand::Dc, AnalogCommand::Ramp,
                   AnalogCommand::Exp, AnalogCommand::Noise, AnalogCommand::Undo})
        EXPECT_FALSE(commands->action(c)->isEnabled());
}

TEST_F(AnalogCommandsTest, BusyWhileTheDialogIsOpen) {
    ASSERT_TRUE(doc->newWaveform(10, 1000));
    bool seenBusy = false;
    QTimer::singleShot(0, [&] {
        seenBusy = commands->busy(AnalogCommand::Sine) && !commands->action(AnalogCommand::Sine)->isEnabled();
        commands->run(AnalogCommand::Sine);  // a second entry while open does nothing
        QApplication::activeModalWidget()->close();
    });
    commands->run(AnalogCommand::Sine);
    EXPECT_TRUE(seenBusy);
    EXPECT_FALSE(commands->busy(AnalogCommand::Sine));
    EXPECT_TRUE(commands->action(AnalogCommand::Sine)->isEnabled());
    EXPECT_FALSE(doc->isModified());
}

}  // namespace
}  // namespace lyr::analog
