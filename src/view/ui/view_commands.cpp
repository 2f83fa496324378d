#include "view/ui/view_commands.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>

#include "view/ui/get_time_dlg.h"
#include "view/ui/status_strip.h"

namespace lyr::view {

namespace {

struct CommandText {
    ViewCommand command;
    int id;
    const char* text;
    const char* prompt;
    const char* tip;
};

// Menu text, status-bar prompt and tooltip of each command.
constexpr CommandText kTexts[] = {
    {ViewCommand::WholeView, 32776, "全体表示(&N)", "[ズーム]  データの全体を表示", "全体表示"},
    {ViewCommand::StandardZoom, 32829, "標準拡大(&S)", "[ズーム]  標準拡大", "標準拡大"},
    {ViewCommand::MaxZoom, 32805, "最大表示(&M)", "[ズーム]  最大表示", "最大表示"},
    {ViewCommand::ZoomIn, 32774, "拡大(&U)", "[ズーム]  拡大", "拡大"},
    {ViewCommand::ZoomOut, 32775, "縮小(&D)", "[ズーム]  縮小", "縮小"},
    {ViewCommand::SetStandard, 32839, "現在の拡大を標準に設定(&C)", "[ズーム]  現在の拡大を標準拡大に設定", "標準に設定"},
    {ViewCommand::ResetStandard, 32840, "既定標準拡大に戻す(&I)", "[ズーム]  標準拡大を既定値に戻す", "既定標準に戻す"},
    {ViewCommand::CursorToStart, 32791, "開始点へ移動", "カーソルを開始点へ移動", "開始点へ移動"},
    {ViewCommand::CursorToMark, 32792, "タイムマークへ移動", "カーソルをタイムマークへ移動", "タイムマークへ移動"},
    {ViewCommand::CursorBack, 32790, "一つ前へ移動", "カーソルを一つ前へ移動", "一つ前へ移動"},
    {ViewCommand::CursorForward, 32803, "一つ後へ移動", "カーソルを一つ後へ移動", "一つ後へ移動"},
    {ViewCommand::CursorToLastEdit, 32823, "最終編集後へ移動", "カーソルを最終編集後へ移動", "最終編集後へ移動"},
    {ViewCommand::CursorToPosition, 32802, "指定位置へ移動", "カーソルを指定位置へ移動", "指定位置へ移動"},
    {ViewCommand::MarkAtCursor, 32827, "カーソル位置に設置", "カーソル位置にタイムマークを設置", "タイムマークを設置"},
    {ViewCommand::MarkAtStart, 32822, "開始点に設置", "開始点にタイムマークを設置", "開始点にタイムマーク設置"},
    {ViewCommand::MarkAtLastEdit, 32825, "最終編集後に設置", "最終編集後にタイムマークを設置", "最終編集後にタイムマーク設置"},
    {ViewCommand::MarkAtPosition, 32804, "指定位置に設置", "タイムマークを指定位置に設置", "指定位置にタイムマーク設置"},
    {ViewCommand::MarkToCursor, 32809, "カーソル位置へ移動", "タイムマークをカーソル位置へ移動", "カーソル位置へ移動"},
    {ViewCommand::MarkToStart, 32821, "開始点へ移動", "タイムマークを開始点へ移動", "開始点へ移動"},
    {ViewCommand::MarkToLastEdit, 32826, "最終編集後へ移動", "タイムマークを最終編集後へ移動", "最終編集後へ移動"},
    {ViewCommand::MarkToPosition, 32808, "指定位置へ移動", "タイムマークを指定位置へ移動", "指定位置へ移動"},
    {ViewCommand::DeleteMark, 32795, "削除", "タイムマークを削除", "タイムマーク削除"},
    {ViewCommand::StepLeft, 1015, "←", "", ""},
    {ViewCommand::StepRight, 1016, "→", "", ""},
    {ViewCommand::HalfPageLeft, 1117, "≪", "", ""},
    {ViewCommand::HalfPageRight, 1118, "≫", "", ""},
};

bool needsTimeEntry(ViewCommand c) {
    return c == ViewCommand::CursorToPosition || c == ViewCommand::MarkAtPosition ||
           c == ViewCommand::MarkToPosition;
}

}  // namespace

ViewCommands::ViewCommands(CSYNView& view, StatusStrip* strip, QWidget* dialogParent)
    : QObject(&view), view_(view), strip_(strip), dialogParent_(dialogParent) {
    for (const CommandText& t : kTexts) {
        auto* a = new QAction(QString::fromUtf8(t.text), this);
        a->setData(t.id);
        if (*t.prompt) a->setStatusTip(QString::fromUtf8(t.prompt));
        if (*t.tip) a->setToolTip(QString::fromUtf8(t.tip));
        const ViewCommand c = t.command;
        connect(a, &QAction::triggered, this, [this, c] { trigger(c); });
        actions_[static_cast<int>(c)] = a;
    }
    markHere_ = new QAction(QStringLiteral("タイムマークを設置"), this);
    markHere_->setData(32827);
    markHere_->setStatusTip(QStringLiteral("カーソル位置にタイムマークを設置"));
    markHere_->setToolTip(QStringLiteral("タイムマークを設置"));
    connect(markHere_, &QAction::triggered, this, [this] { trigger(ViewCommand::MarkAtCursor); });

    auto fillZoom = [this](QMenu* m) {
        for (ViewCommand c : {ViewCommand::WholeView, ViewCommand::StandardZoom, ViewCommand::MaxZoom,
                              ViewCommand::ZoomIn, ViewCommand::ZoomOut})
            m->addAction(action(c));
        m->addSeparator();
        m->addAction(action(ViewCommand::SetStandard));
        m->addAction(action(ViewCommand::ResetStandard));
    };
    auto fillCursor = [this](QMenu* m) {
        for (ViewCommand c : {ViewCommand::CursorToStart, ViewCommand::CursorToMark, ViewCommand::CursorToLastEdit,
                              ViewCommand::CursorBack, ViewCommand::CursorForward, ViewCommand::CursorToPosition})
            m->addAction(action(c));
        m->addSeparator();
        m->addAction(markHere_);
    };
    auto fillMark = [this](QMenu* m) {
        for (ViewCommand c : {ViewCommand::MarkAtCursor, ViewCommand::MarkAtStart, ViewCommand::MarkAtLastEdit,
                              ViewCommand::MarkAtPosition})
            m->addAction(action(c));
        m->addSeparator();
        for (ViewCommand c : {ViewCommand::MarkToCursor, ViewCommand::MarkToStart, ViewCommand::MarkToLastEdit,
                              ViewCommand::MarkToPosition})
            m->addAction(action(c));
        m->addSeparator();
        m->addAction(action(ViewCommand::DeleteMark));
    };
    zoomMenu_ = new QMenu(QStringLiteral("ズーム(&Z)"), &view_);
    cursorMenu_ = new QMenu(QStringLiteral("カーソル(&C)"), &view_);
    markMenu_ = new QMenu(QStringLiteral("タイムマーク(&T)"), &view_);
    zoomPopup_ = new QMenu(QStringLiteral("Zoom"), &view_);
    cursorPopup_ = new QMenu(QStringLiteral("Cursor"), &view_);
    markPopup_ = new QMenu(QStringLiteral("TimeMark"), &view_);
    fillZoom(zoomMenu_);
    fillZoom(zoomPopup_);
    fillCursor(cursorMenu_);
    fillCursor(cursorPopup_);
    fillMark(markMenu_);
    fillMark(markPopup_);
    // Only a menu that shows "最終編集後へ移動" runs its re-arming test.
    for (QMenu* m : {cursorMenu_, cursorPopup_}) connect(m, &QMenu::aboutToShow, this, &ViewCommands::prepareMenu);
    for (QMenu* m : {zoomMenu_, markMenu_, zoomPopup_, markPopup_})
        connect(m, &QMenu::aboutToShow, this, &ViewCommands::updateStates);

    if (strip_) {
        connect(strip_, &StatusStrip::stepLeft, this, [this] { trigger(ViewCommand::StepLeft); });
        connect(strip_, &StatusStrip::stepRight, this, [this] { trigger(ViewCommand::StepRight); });
        connect(strip_, &StatusStrip::halfPageLeft, this, [this] { trigger(ViewCommand::HalfPageLeft); });
        connect(strip_, &StatusStrip::halfPageRight, this, [this] { trigger(ViewCommand::HalfPageRight); });
    }
    connect(&view_, &CSYNView::viewChanged, this, &ViewCommands::updateStates);
    connect(&view_, &CSYNView::readoutsChanged, this, &ViewCommands::showReadouts);
    connect(&view_, &CSYNView::contextMenuRequested, this, &ViewCommands::showPopup);
    updateStates();
    showReadouts();
}

ViewCommands::~ViewCommands() = default;

QList<QAction*> ViewCommands::zoomToolbarActions() const {
    return {action(ViewCommand::WholeView), action(ViewCommand::StandardZoom), action(ViewCommand::MaxZoom),
            action(ViewCommand::ZoomIn), action(ViewCommand::ZoomOut)};
}

void ViewCommands::addMenusTo(QMenuBar* bar, QAction* before) {
    for (QMenu* m : {zoomMenu_, cursorMenu_, markMenu_}) {
        if (before) bar->insertMenu(before, m);
        else bar->addMenu(m);
    }
}

void ViewCommands::prepareMenu() {
    menuOpening_ = true;
    updateStates();
    menuOpening_ = false;
}

void ViewCommands::updateStates() {
    const ViewState& s = view_.state();
    // "最終編集後へ移動" first: its test may re-arm back/forward, which the
    // menu shows after it.
    constexpr int kLastEdit = static_cast<int>(ViewCommand::CursorToLastEdit);
    for (int k = -1; k < kViewCommandCount; ++k) {
        if (k == kLastEdit) continue;
        const int i = k < 0 ? kLastEdit : k;
        const auto c = static_cast<ViewCommand>(i);
        bool on;
        if (c == ViewCommand::CursorToLastEdit && !menuOpening_) {
            // Outside a menu the test must not re-arm history navigation.
            on = view_.isEnabled(ViewCommand::CursorToPosition) && !s.history().empty &&
                 s.cursor() != s.history().peekNewest();
        } else {
            on = view_.isEnabled(c);
        }
        actions_[i]->setEnabled(on && !busy_[i]);
    }
    markHere_->setEnabled(actions_[static_cast<int>(ViewCommand::MarkAtCursor)]->isEnabled());
    if (strip_) {
        strip_->stepLeftButton()->setEnabled(action(ViewCommand::StepLeft)->isEnabled());
        strip_->stepRightButton()->setEnabled(action(ViewCommand::StepRight)->isEnabled());
        strip_->halfPageLeftButton()->setEnabled(action(ViewCommand::HalfPageLeft)->isEnabled());
        strip_->halfPageRightButton()->setEnabled(action(ViewCommand::HalfPageRight)->isEnabled());
    }
}

void ViewCommands::showReadouts() {
    if (strip_) strip_->showReadouts(view_.readouts(), view_.mouseReadout());
}

void ViewCommands::trigger(ViewCommand c) {
    if (busy_[static_cast<int>(c)]) return;
    if (needsTimeEntry(c)) {
        runTimeEntry(c);
        return;
    }
    view_.runCommand(c);
}

void ViewCommands::runTimeEntry(ViewCommand c) {
    if (!view_.isEnabled(c)) return;
    const document::CSYNDoc& doc = view_.document();
    const ViewState& s = view_.state();
    const auto ts = static_cast<std::uint32_t>(doc.samplingTime());
    TimeEntryRequest req;
    if (c == ViewCommand::CursorToPosition) req = cursorPositionRequest(ts, s.sampleCount(), s.cursor(), s.markSet(), s.mark());
    else if (c == ViewCommand::MarkAtPosition) req = markPlaceRequest(ts, s.sampleCount(), s.cursor(), s.mark());
    else req = markMoveRequest(ts, s.sampleCount(), s.cursor(), s.mark());

    bool& busy = busy_[static_cast<int>(c)];
    busy = true;
    updateStates();
    std::optional<std::uint32_t> index;
    if (runner_) {
        index = runner_(req);
    } else {
        // The window that was active gets the keyboard back when the dialog closes, also
        // where no window manager hands it back; otherwise its shortcuts stay dead.
        const QPointer<QWidget> active = QApplication::activeWindow();
        CGetTimeDlg dlg(req, dialogParent_);
        if (dlg.exec() == QDialog::Accepted) index = dlg.resultIndex();
        if (active && active->isVisible()) active->activateWindow();
    }
    busy = false;
    if (index) view_.runCommandAt(c, *index);
    updateStates();
}

QMenu* ViewCommands::popupFor(ViewRegion region, int lane) const {
    switch (region) {
        case ViewRegion::AnalogPlot: return analogPopup_;
        case ViewRegion::CursorHandle: return cursorPopup_;
        case ViewRegion::MarkHandle: return markPopup_;
        case ViewRegion::ZoomStrip: return zoomPopup_;
        case ViewRegion::Lane: return lanePopup_ ? lanePopup_(lane) : nullptr;
        case ViewRegion::None: break;
    }
    return nullptr;
}

void ViewCommands::showPopup(ViewRegion region, int lane, QPoint globalPos) {
    if (QMenu* m = popupFor(region, lane)) m->popup(globalPos);
}

}  // namespace lyr::view
