// Commands routed by identifier: menus and popups from the table, busy flags,
// the pressed button, the edit lock, and the context popups chosen by the
// view's hit tests.
#include "app/ui/command_router.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "app/ui/function_commands.h"
#include "app/ui/main_frame.h"
#include "support/main_frame.h"
#include "view/ui/status_strip.h"
#include "view/ui/syn_view.h"

namespace lyr::app {
namespace {

QStringList texts(const QList<QAction*>& actions) {
    QStringList t;
    for (QAction* a : actions)
        if (!a->isSeparator() && a->isVisible()) t << a->text();
    return t;
}

QAction* entry(QMenu* menu, const QString& text) {
    for (QAction* a : menu->actions())
        if (a->text() == text) return a;
    return nullptr;
}

TEST(CommandRouter, BusyGuardPressedButtonAndRules) {
    lyr::test::qtApp();
    QWidget window;
    FrameState state;
    state.hasWaveform = true;
    CommandRouter router([&state] { return state; }, &window);
    std::vector<std::pair<CommandId, bool>> presses;
    router.setButtonPresser([&presses](CommandId id, bool down) { presses.emplace_back(id, down); });

    const CommandId sine = CommandId::Sine, whole = CommandId::WholeView;
    auto* set = new FunctionCommands(ui::CommandEnv{});
    int runs = 0;
    bool seenBusy = false;
    set->add({sine, "正弦波(&S)", "[アナログ]  正弦波の作成", "正弦波", CommandRule::Editing}, [&] {
        ++runs;
        seenBusy = router.busy(sine) && !router.action(sine)->isEnabled();
        router.run(sine);  // a second entry while it runs does nothing
    });
    bool viewRule = false;
    set->add({whole, "全体表示(&N)", "", "", CommandRule::View}, [&] { ++runs; }, [&viewRule] { return viewRule; });
    EXPECT_EQ(router.action(sine), nullptr);  // nothing runs it yet
    router.add(set);
    ASSERT_NE(router.action(sine), nullptr);
    EXPECT_EQ(router.action(CommandId::Rectangle), nullptr);
    EXPECT_EQ(router.action(sine)->text(), QStringLiteral("正弦波(&S)"));
    EXPECT_EQ(router.action(sine)->statusTip(), QStringLiteral("[アナログ]  正弦波の作成"));
    EXPECT_EQ(router.action(sine)->toolTip(), QStringLiteral("正弦波"));
    EXPECT_EQ(commandFromNumber(router.action(sine)->data().toInt()), sine);
    // A second set declaring the same command does not take it over.
    auto* other = new FunctionCommands(ui::CommandEnv{});
    other->add({sine, "x", "x", "x", CommandRule::Always}, [&] { runs += 100; });
    router.add(other);
    EXPECT_EQ(router.setFor(sine), set);
    EXPECT_EQ(router.row(sine)->rule, CommandRule::Editing);

    router.action(sine)->trigger();
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(seenBusy);
    EXPECT_FALSE(router.busy(sine));
    EXPECT_TRUE(router.action(sine)->isEnabled());
    // Pressed (again once greyed), pressed by the refused second entry, released once at the end.
    EXPECT_EQ(presses,
              (std::vector<std::pair<CommandId, bool>>{{sine, true}, {sine, true}, {sine, true}, {sine, false}}));

    // The row's rule and the set's rule both count.
    EXPECT_TRUE(router.isEnabled(sine));
    EXPECT_FALSE(router.isEnabled(whole));
    viewRule = true;
    EXPECT_TRUE(router.isEnabled(whole));
    state.editAllowed = false;
    router.updateStates();
    EXPECT_FALSE(router.action(sine)->isEnabled());
    EXPECT_TRUE(router.action(whole)->isEnabled());
    router.run(sine);  // refused by the rule: not run, button released
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(presses.back(), std::make_pair(sine, false));

    // Menus show only the commands some set runs; a twin entry follows its command.
    QMenu* zoom = router.buildMenu(contextPopup(PopupKind::Zoom), &window);
    EXPECT_EQ(texts(zoom->actions()), QStringList{QStringLiteral("全体表示(&N)")});
    QMenu* cursor = router.buildMenu(contextPopup(PopupKind::Cursor), &window);
    EXPECT_FALSE(cursor->menuAction()->isVisible());
}

using FrameRoutingTest = lyr::test::MainFrameTest;

TEST_F(FrameRoutingTest, MenusFromTheTableAndTheEditLock) {
    EXPECT_EQ(texts(frame->menuBar()->actions()),
              (QStringList{"ファイル(&F)", "編集(&E)", "アナログ(&A)", "ディジタル(&D)", "ズーム(&Z)",
                           "カーソル(&C)", "タイムマーク(&T)", "出力(&O)", "ヘルプ(&H)"}));
    EXPECT_EQ(texts(frame->fileMenu()->actions()), (QStringList{"新規作成(&N)", "開く(&O)...", "上書き保存(&S)",
                                                             "名前を付けて保存(&A)...", "エクスポート(&E)...",
                                                             "LYRの終了(&X)"}));
    EXPECT_EQ(texts(frame->menu(MainMenu::Edit)->actions()), (QStringList{"元に戻す(&U)", "トータル時間変更(&T)", "編集禁止(&D)"}));
    EXPECT_EQ(texts(frame->menu(MainMenu::Cursor)->actions()).back(), QStringLiteral("タイムマークを設置"));
    // No waveform: editing, undo, the lock and the time entry are off; file commands on.
    using C = CommandId;
    QAction* lock = frame->commandAction(C::EditLock);
    for (C id : {C::Sine, C::Undo, C::EditLock, C::CursorToPosition, C::WholeView, C::FileExport})
        EXPECT_FALSE(frame->commandAction(id)->isEnabled()) << commandNumber(id);
    for (C id : {C::FileNew, C::FileOpen, C::AppAbout, C::AppExit})
        EXPECT_TRUE(frame->commandAction(id)->isEnabled()) << commandNumber(id);
    EXPECT_EQ(frame->popupAt(QPoint(300, 300)), nullptr);  // no popup without a waveform

    ASSERT_TRUE(doc->newWaveform(10, 100000));
    frame->viewParts().view->resetView();
    frame->updateCommandStates();
    EXPECT_TRUE(frame->commandAction(C::Sine)->isEnabled());
    EXPECT_TRUE(lock->isEnabled());
    EXPECT_FALSE(lock->isChecked());
    // The strip's step buttons run through the router and follow the view's rules.
    view::StatusStrip* strip = frame->viewParts().strip;
    EXPECT_FALSE(strip->stepLeftButton()->isEnabled());
    strip->stepRightButton()->click();
    EXPECT_EQ(frame->viewParts().view->state().cursor(), 1u);
    EXPECT_TRUE(strip->stepLeftButton()->isEnabled());
    lock->trigger();
    EXPECT_TRUE(lock->isChecked());
    EXPECT_FALSE(frame->lifecycle().editAllowed());
    EXPECT_FALSE(frame->commandAction(C::Sine)->isEnabled());
    EXPECT_TRUE(frame->commandAction(C::CursorToPosition)->isEnabled());  // view commands keep working
    EXPECT_TRUE(frame->commandAction(C::FileExport)->isEnabled());        // and writing the waveform out
    EXPECT_TRUE(frame->commandAction(C::StandardZoom)->isEnabled());
    lock->trigger();
    EXPECT_TRUE(frame->commandAction(C::Sine)->isEnabled());
}

TEST_F(FrameRoutingTest, RightClickOnALaneOpensItsChannelPopup) {
    ASSERT_TRUE(doc->newWaveform(10, 100000));
    view::CSYNView* v = frame->viewParts().view;
    v->resetView();
    const view::Layout& l = v->layout();
    const QPoint lane5(l.plot.left + 50, (l.laneArea[5].top + l.laneArea[5].bottom) / 2);
    QMenu* popup = frame->popupAt(lane5);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->title(), QStringLiteral("CH5"));
    EXPECT_EQ(frame->popupAt(QPoint(l.plot.left + 5, l.plot.top + 5))->title(), QStringLiteral("アナログ(&A)"));
    EXPECT_EQ(frame->popupAt(QPoint(300, l.timeLabels.top + 1))->title(), QStringLiteral("Zoom"));

    // The real right click shows it.
    QContextMenuEvent click(QContextMenuEvent::Mouse, lane5, v->mapToGlobal(lane5));
    QApplication::sendEvent(v, &click);
    EXPECT_TRUE(popup->isVisible());
    QAction* invert = entry(popup, QStringLiteral("反転(&I)"));
    ASSERT_NE(invert, nullptr);
    EXPECT_EQ(invert->statusTip(), QStringLiteral("[ディジタル]  CH5 データ反転"));
    popup->hide();
    const int renders = v->fullRenderCount();
    invert->trigger();
    for (int ch = 0; ch < kChannelCount; ++ch) EXPECT_EQ(doc->digital(ch)[77], ch == 5 ? 1 : 0) << ch;
    EXPECT_GT(v->fullRenderCount(), renders);  // the whole view was refreshed
}

// A right click on the cursor's handle opens "Cursor", on the time mark's
// handle "TimeMark"; their entries run the view's commands.
TEST_F(FrameRoutingTest, CursorAndTimeMarkPopups) {
    ASSERT_TRUE(doc->newWaveform(10, 10000));
    view::CSYNView* v = frame->viewParts().view;
    v->resetView();
    v->setCursorIndex(2000);
    const view::Layout& l = v->layout();
    auto rightClick = [v](QPoint at) {
        QContextMenuEvent click(QContextMenuEvent::Mouse, at, v->mapToGlobal(at));
        QApplication::sendEvent(v, &click);
    };

    const QPoint cursorHandle(v->state().cursorX() + 2, l.cursorStrip.top + 1);
    QMenu* cursor = frame->popupAt(cursorHandle);
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->title(), QStringLiteral("Cursor"));
    EXPECT_EQ(texts(cursor->actions()),
              (QStringList{"開始点へ移動", "タイムマークへ移動", "最終編集後へ移動", "一つ前へ移動", "一つ後へ移動",
                           "指定位置へ移動", "タイムマークを設置"}));
    rightClick(cursorHandle);
    EXPECT_TRUE(cursor->isVisible());
    cursor->hide();
    QAction* placeMark = entry(cursor, QStringLiteral("タイムマークを設置"));
    ASSERT_NE(placeMark, nullptr);
    EXPECT_EQ(placeMark->statusTip(), QStringLiteral("カーソル位置にタイムマークを設置"));
    placeMark->trigger();
    ASSERT_TRUE(v->state().markSet());
    EXPECT_EQ(v->state().mark(), 2000u);

    entry(cursor, QStringLiteral("開始点へ移動"))->trigger();
    EXPECT_EQ(v->state().cursor(), 0u);
    const QPoint markHandle(v->state().markX(), l.markStrip.bottom);
    QMenu* mark = frame->popupAt(markHandle);
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(mark->title(), QStringLiteral("TimeMark"));
    EXPECT_EQ(texts(mark->actions()),
              (QStringList{"カーソル位置に設置", "開始点に設置", "最終編集後に設置", "指定位置に設置", "カーソル位置へ移動",
                           "開始点へ移動", "最終編集後へ移動", "指定位置へ移動", "削除"}));
    rightClick(markHandle);
    EXPECT_TRUE(mark->isVisible());
    mark->hide();
    entry(mark, QStringLiteral("カーソル位置へ移動"))->trigger();
    EXPECT_EQ(v->state().mark(), 0u);
    entry(mark, QStringLiteral("削除"))->trigger();
    EXPECT_FALSE(v->state().markSet());
    // Without the mark its handle is gone, and so is its popup.
    EXPECT_NE(frame->popupAt(markHandle), mark);
}

}  // namespace
}  // namespace lyr::app
