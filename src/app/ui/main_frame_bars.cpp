// The main window's bars: toolbar 128 with its vector glyphs and pressed
// buttons, the status bar with its message and indicator panes, and the two
// bit-allocation selectors in the status strip.
#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include "app/ui/command_icons.h"
#include "app/ui/command_router.h"
#include "app/ui/main_frame.h"
#include "document/ui/ui_text.h"
#include "view/ui/status_strip.h"
#include "view/ui/syn_view.h"

namespace lyr::app {

void CMainFrame::buildToolBar() {
    toolBar_ = new QToolBar(QStringLiteral("ToolBar"), this);
    toolBar_->setObjectName(QStringLiteral("MainToolBar"));
    toolBar_->setIconSize(QSize(20, 20));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    addToolBar(Qt::TopToolBarArea, toolBar_);
    router_->setButtonPresser([this](CommandId id, bool pressed) { pressCommandButton(id, pressed); });
    connect(router_, &CommandRouter::statesUpdated, this, &CMainFrame::tidyToolBar);
}

void CMainFrame::fillToolBar() {
    // A command no set runs has no button; tidyToolBar drops the gaps it leaves.
    for (CommandId id : toolbarCommands()) {
        if (id == CommandId::None) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* a = commandAction(id);
        const CommandRow* row = router_->row(id);
        if (!a || !row) continue;
        a->setIcon(commandIcon(row->glyph));
        a->setIconVisibleInMenu(false);  // the menus show text only
        toolBar_->addAction(a);
        if (auto* b = qobject_cast<QToolButton*>(toolBar_->widgetForAction(a))) {
            b->setAutoRaise(true);  // flat
            b->setAccessibleName(a->toolTip());
        }
    }
    tidyToolBar();
}

QToolButton* CMainFrame::toolButton(CommandId id) const {
    QAction* a = commandAction(id);
    return a && toolBar_ ? qobject_cast<QToolButton*>(toolBar_->widgetForAction(a)) : nullptr;
}

void CMainFrame::pressCommandButton(CommandId id, bool pressed) {
    if (QToolButton* b = toolButton(id)) b->setDown(pressed);
}

void CMainFrame::tidyToolBar() {
    // A gap shows only between two groups that both have a visible button.
    const QList<QAction*> all = toolBar_->actions();
    bool before = false;
    QAction* pending = nullptr;
    for (QAction* a : all) {
        if (a->isSeparator()) {
            if (pending) pending->setVisible(false);
            pending = before ? a : nullptr;
            if (!before) a->setVisible(false);
            before = false;
            continue;
        }
        if (!a->isVisible()) continue;
        if (pending) {
            pending->setVisible(true);
            pending = nullptr;
        }
        before = true;
    }
    if (pending) pending->setVisible(false);
}

void CMainFrame::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    // Shown whenever no command prompt covers it.
    readyPane_ = new QLabel(ui::tr("ﾚﾃﾞｨ"), bar);
    readyPane_->setObjectName(QStringLiteral("readyPane"));
    bar->addWidget(readyPane_, 1);
    for (const char* text : {"ｶﾅ", "CAP", "NUM", "SCRL"}) {
        auto* pane = new QLabel(ui::tr(text), bar);
        pane->setObjectName(QStringLiteral("pane_") + QString::fromUtf8(text));
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 12);
        // The lock states are not readable on every platform: the panes stay dim.
        pane->setEnabled(false);
        bar->addPermanentWidget(pane);
        indicatorPanes_.push_back(pane);
    }
}

QString CMainFrame::statusMessage() const {
    const QString shown = statusBar()->currentMessage();
    return shown.isEmpty() ? readyPane_->text() : shown;
}

void CMainFrame::buildSelectors() {
    view::StatusStrip* strip = viewParts_.strip;
    QGridLayout* area = strip->selectorArea();
    resolutionList_ = new QComboBox(strip);
    resolutionList_->setObjectName(QStringLiteral("analogResolution"));
    for (int r = 14; r >= 8; --r) resolutionList_->addItem(ui::tr(QStringLiteral("%1ビット").arg(r)));
    channelList_ = new QComboBox(strip);
    channelList_->setObjectName(QStringLiteral("digitalChannels"));
    for (int k = 1; k <= 7; ++k) channelList_->addItem(ui::tr(QStringLiteral("0～%1").arg(k)));
    auto* resolutionLabel = new QLabel(ui::tr("アナログ分解能"), strip);
    resolutionLabel->setBuddy(resolutionList_);
    auto* channelLabel = new QLabel(ui::tr("ディジタルCH"), strip);
    channelLabel->setBuddy(channelList_);
    area->addWidget(resolutionLabel, 0, 0);
    area->addWidget(resolutionList_, 0, 1);
    area->addWidget(channelLabel, 1, 0);
    area->addWidget(channelList_, 1, 1);
    for (QComboBox* box : {resolutionList_, channelList_}) box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    // The strip scrolls sideways rather than squeeze its readouts: its width now includes the selectors.
    strip->setMinimumWidth(strip->sizeHint().width());
    {
        const QSignalBlocker a(resolutionList_), b(channelList_);
        resolutionList_->setCurrentIndex(14 - doc_.analogResolution());
        channelList_->setCurrentIndex(14 - doc_.analogResolution());
    }
    connect(resolutionList_, &QComboBox::currentIndexChanged, this,
            [this](int i) { selectorChanged(resolutionGuard_, i); });
    connect(channelList_, &QComboBox::currentIndexChanged, this, [this](int i) { selectorChanged(channelGuard_, i); });
}

void CMainFrame::selectorChanged(bool& guard, int index) {
    if (guard || index < 0) return;
    guard = true;
    setAnalogResolutionFromSelector(14 - index);
    guard = false;
    updateSelectorStates();
}

void CMainFrame::setAnalogResolutionFromSelector(int r) {
    if (r < 8 || r > 14) return;
    {
        const QSignalBlocker a(resolutionList_), b(channelList_);
        resolutionList_->setCurrentIndex(14 - r);
        channelList_->setCurrentIndex(14 - r);
    }
    // The document announces it: the view redraws, the commands re-evaluate.
    doc_.setAnalogResolution(r);
}

void CMainFrame::updateSelectorStates() {
    if (!resolutionList_) return;
    const FrameState s = frameState();
    resolutionList_->setEnabled(commandEnabled(CommandRule::Selector, s, resolutionGuard_));
    channelList_->setEnabled(commandEnabled(CommandRule::Selector, s, channelGuard_));
}

}  // namespace lyr::app
