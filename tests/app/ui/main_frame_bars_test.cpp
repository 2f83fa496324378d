// The main window's toolbar, status bar, bit-allocation selectors and the
// total-time change, driven through the real window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QEnterEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <cmath>
#include <tuple>

#include "analog/ui/analog_dialogs.h"
#include "app/command_table.h"
#include "app/ui/command_router.h"
#include "app/ui/main_frame.h"
#include "document/ui/wave_time_change_dlg.h"
#include "support/main_frame.h"
#include "support/modal.h"
#include "view/ui/status_strip.h"
#include "view/ui/syn_view.h"
#include "view/ui/view_frame.h"

namespace lyr::app {
namespace {

class FrameBarsTest : public lyr::test::MainFrameTest {
protected:
    // A waveform as New makes it, with the view reset.
    void newWaveform(std::int64_t ts, std::int64_t n) {
        ASSERT_TRUE(doc->newWaveform(ts, n));
        frame->lifecycle().hooks().resetView();
        frame->setAnalogResolutionFromSelector(doc->analogResolution());
    }
};

TEST_F(FrameBarsTest, ToolbarButtonsTooltipsPromptsAndStatusBar) {
    // Every button in the order of the table, with its tooltip and prompt, flat and with an image.
    std::vector<CommandId> shown;
    for (QAction* a : frame->toolBar()->actions()) {
        if (a->isSeparator() || !a->isVisible()) continue;
        const CommandId id = commandFromNumber(a->data().toInt());
        shown.push_back(id);
        const CommandRow* row = frame->router().row(id);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(a->toolTip().toStdString(), row->tooltip);
        EXPECT_EQ(a->statusTip().toStdString(), row->prompt);
        QToolButton* b = frame->toolButton(id);
        ASSERT_NE(b, nullptr);
        EXPECT_TRUE(b->autoRaise());
        EXPECT_FALSE(a->icon().pixmap(64, 64).isNull()) << commandNumber(id);
    }
    std::vector<CommandId> expected;
    for (CommandId id : toolbarCommands())
        if (id != CommandId::None && frame->router().setFor(id)) expected.push_back(id);
    EXPECT_EQ(shown, expected);
    EXPECT_GE(shown.size(), 18u);
    EXPECT_EQ(frame->toolButton(CommandId::WholeView)->toolTip(), QStringLiteral("全体表示"));

    // The message pane: "ﾚﾃﾞｨ" when idle, the prompt of the highlighted command otherwise.
    EXPECT_EQ(frame->statusMessage(), QStringLiteral("ﾚﾃﾞｨ"));
    // The pointer comes to rest on a button.
    QToolButton* zoomIn = frame->toolButton(CommandId::ZoomIn);
    QEnterEvent enter(QPointF(2, 2), zoomIn->mapToGlobal(QPointF(2, 2)), zoomIn->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(zoomIn, &enter);
    EXPECT_EQ(frame->statusMessage(), QStringLiteral("[ズーム]  拡大"));
    frame->statusBar()->clearMessage();
    EXPECT_EQ(frame->statusMessage(), QStringLiteral("ﾚﾃﾞｨ"));
    QStringList panes;
    for (QLabel* l : frame->indicatorPanes()) panes << l->text();
    EXPECT_EQ(panes, (QStringList{"ｶﾅ", "CAP", "NUM", "SCRL"}));
    EXPECT_GE(frame->minimumWidth(), 710);
    EXPECT_GE(frame->minimumHeight(), 500);
    // The status strip shows every group side by side at 1280 wide; in the
    // narrowest window it scrolls sideways, neither squeezed nor cut below.
    view::StatusStrip* strip = frame->viewParts().strip;
    QScrollArea* stripArea = frame->viewParts().stripScroller;
    for (const auto& [size, scrolls] : {std::pair{QSize(1280, 800), false}, std::pair{QSize(710, 500), true}}) {
        frame->resize(size);
        // The bar shows in one layout pass; the strip's height follows in the next ones.
        for (int pass = 0; pass < 3; ++pass) QApplication::processEvents();
        EXPECT_EQ(strip->sizeHint().width() > stripArea->viewport()->width(), scrolls) << size.width();
        EXPECT_EQ(stripArea->horizontalScrollBar()->isVisible(), scrolls) << size.width();
        EXPECT_GE(strip->width(), strip->sizeHint().width()) << size.width();
        EXPECT_GE(stripArea->viewport()->height(), strip->sizeHint().height()) << size.width();
        // No room is kept for a scrollbar that is not shown.
        const int bar = scrolls ? stripArea->horizontalScrollBar()->height() : 0;
        EXPECT_EQ(stripArea->height(), strip->sizeHint().height() + bar) << size.width();
    }
    frame->resize(1280, 800);
    // The glyphs are drawn at the size asked for.
    frame->toolBar()->setIconSize(QSize(48, 48));
    EXPECT_EQ(frame->commandAction(CommandId::Sine)->icon().pixmap(48, 48).toImage().size(), QSize(48, 48));

    if (!qEnvironmentVariableIsSet("LYR_GRAB")) return;
    lyr::test::grabIfAsked(*frame->toolBar(), QStringLiteral("main_frame_toolbar_large"));
    frame->toolBar()->setIconSize(QSize(16, 16));
    newWaveform(100, 100000);
    for (std::uint32_t i = 0; i < 100000; ++i) {
        doc->analog()[i] = 0.7 * std::sin(2 * M_PI * i / 20000.0);
        doc->digital(0)[i] = (i / 2500) % 2;
        doc->digital(5)[i] = (i / 7000) % 3 == 0;
    }
    frame->viewParts().view->refreshView();
    frame->commandAction(CommandId::MarkAtCursor)->trigger();  // a time mark at the cursor
    frame->viewParts().view->setCursorIndex(30000);
    QApplication::processEvents();
    lyr::test::grabIfAsked(*frame, QStringLiteral("main_frame_whole"));
    // The longest readouts of the finest sampling time, in the narrowest window.
    newWaveform(10, 1048576);
    for (std::uint32_t i = 0; i < 1048576; ++i) {
        doc->digital(0)[i] = (i / 50000) % 2;
        doc->digital(5)[i] = (i / 130000) % 3 == 0;
    }
    frame->viewParts().view->refreshView();
    frame->viewParts().view->setCursorIndex(1048575);
    frame->commandAction(CommandId::MarkAtCursor)->trigger();
    frame->viewParts().view->setCursorIndex(0);
    frame->resize(710, 500);
    for (int pass = 0; pass < 3; ++pass) QApplication::processEvents();
    lyr::test::grabIfAsked(*frame, QStringLiteral("main_frame_minimum"));
    stripArea->horizontalScrollBar()->setValue(stripArea->horizontalScrollBar()->maximum());
    lyr::test::grabIfAsked(*frame, QStringLiteral("main_frame_minimum_scrolled"));
    frame->resize(1280, 800);
    const std::tuple<QMenu*, QPoint, const char*> menus[] = {
        {frame->popup(PopupKind::Channel, 5), QPoint(200, 600), "main_frame_popup_ch5"},
        {frame->menu(MainMenu::Digital), QPoint(200, 30), "main_frame_menu_digital"}};
    for (const auto& [menu, at, name] : menus) {
        menu->popup(frame->mapToGlobal(at));
        lyr::test::grabIfAsked(*menu, QString::fromLatin1(name));
        menu->hide();
    }
}

TEST_F(FrameBarsTest, ButtonPressedWhileItsCommandRuns) {
    newWaveform(10, 10000);
    bool downWhileOpen = false;
    lyr::test::whenModal<QDialog>(frame.get(), [&](QDialog& dlg) {
        downWhileOpen = frame->toolButton(CommandId::Sine)->isDown();
        dlg.close();
    });
    frame->commandAction(CommandId::Sine)->trigger();
    EXPECT_TRUE(downWhileOpen);
    EXPECT_FALSE(frame->toolButton(CommandId::Sine)->isDown());
}

TEST_F(FrameBarsTest, SelectorsMoveTogetherAndFollowTheRule) {
    QComboBox* analog = frame->resolutionSelector();
    QComboBox* digital = frame->channelSelector();
    EXPECT_EQ(analog->count(), 7);
    EXPECT_EQ(analog->itemText(0), QStringLiteral("14ビット"));
    EXPECT_EQ(digital->itemText(6), QStringLiteral("0～7"));
    EXPECT_FALSE(analog->isEnabled());  // no waveform yet
    newWaveform(10, 10000);
    ASSERT_TRUE(analog->isEnabled());
    EXPECT_EQ(analog->currentText(), QStringLiteral("12ビット"));
    EXPECT_EQ(digital->currentText(), QStringLiteral("0～3"));
    EXPECT_FALSE(frame->saveAction()->isEnabled());

    analog->setCurrentIndex(analog->findText(QStringLiteral("10ビット")));
    EXPECT_EQ(digital->currentText(), QStringLiteral("0～5"));
    EXPECT_EQ(doc->analogResolution(), 10);
    EXPECT_FALSE(doc->isModified());
    EXPECT_TRUE(frame->saveAction()->isEnabled());  // the allocation is worth saving
    digital->setCurrentIndex(6);
    EXPECT_EQ(analog->currentText(), QStringLiteral("8ビット"));
    EXPECT_EQ(doc->analogResolution(), 8);

    frame->commandAction(CommandId::EditLock)->trigger();
    EXPECT_FALSE(analog->isEnabled());
    EXPECT_FALSE(digital->isEnabled());
}

// Answers the total-time change with a fixed count.
class FixedTotal : public CMainFrame::TotalTimeChooser {
public:
    std::uint32_t count = 0;
    bool choose(std::int64_t& total, std::int64_t& sampling, std::uint32_t& n) override {
        n = count ? count : n;
        total = sampling * n;
        return true;
    }
};

TEST_F(FrameBarsTest, TotalTimeChangeThroughTheDialogThenUndo) {
    newWaveform(10, 1000);
    for (std::uint32_t i = 0; i < 1000; ++i) doc->analog()[i] = 0.5;
    view::CSYNView* view = frame->viewParts().view;
    view->setCursorIndex(900);
    bool seen = false;
    lyr::test::whenModal<document::CWaveTimeChangeDlg>(frame.get(), [&seen](document::CWaveTimeChangeDlg& dlg) {
        seen = true;
        EXPECT_EQ(dlg.totalEdit()->text(), QStringLiteral("10"));  // 10 uS
        lyr::test::retype(dlg.totalEdit(), QStringLiteral("5"));
        QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
    });
    frame->commandAction(CommandId::TotalTime)->trigger();
    ASSERT_TRUE(seen);
    EXPECT_EQ(doc->sampleCount(), 500u);
    EXPECT_EQ(view->state().sampleCount(), 500u);
    EXPECT_EQ(view->state().cursor(), 0u);  // the view starts over
    EXPECT_TRUE(frame->undoAction()->isEnabled());

    frame->undoAction()->trigger();
    EXPECT_EQ(doc->sampleCount(), 1000u);
    EXPECT_EQ(view->state().sampleCount(), 1000u);
    EXPECT_EQ(doc->analog()[999], 0.5);

    // The current count changes nothing and records no undo step.
    FixedTotal same;
    frame->setTotalTimeChooser(&same);
    frame->commandAction(CommandId::TotalTime)->trigger();
    EXPECT_FALSE(doc->undoAvailable());
    // A count the document refuses tells so and changes nothing.
    FixedTotal tooMany;
    tooMany.count = 2000000;
    frame->setTotalTimeChooser(&tooMany);
    frame->commandAction(CommandId::TotalTime)->trigger();
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, "不正なパラメータです。");
    EXPECT_EQ(doc->sampleCount(), 1000u);
}

}  // namespace
}  // namespace lyr::app
