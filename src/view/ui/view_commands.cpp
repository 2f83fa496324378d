#include "view/ui/view_commands.h"

#include <QApplication>
#include <QPointer>
#include <algorithm>
#include <vector>

#include "view/ui/get_time_dlg.h"

namespace lyr::view {

namespace {

struct ViewRow {
    ViewCommand command;
    CommandRow row;
};

// Every view command with its row, in menu order.
const std::vector<ViewRow>& viewRows() {
    using V = ViewCommand;
    using C = CommandId;
    const auto v = CommandRule::View;
    static const std::vector<ViewRow> rows = {
        {V::WholeView, {C::WholeView, "全体表示(&N)", "[ズーム]  データの全体を表示", "全体表示", v, Glyph::WholeView}},
        {V::StandardZoom, {C::StandardZoom, "標準拡大(&S)", "[ズーム]  標準拡大", "標準拡大", v, Glyph::StandardZoom}},
        {V::MaxZoom, {C::MaxZoom, "最大表示(&M)", "[ズーム]  最大表示", "最大表示", v, Glyph::MaxZoom}},
        {V::ZoomIn, {C::ZoomIn, "拡大(&U)", "[ズーム]  拡大", "拡大", v, Glyph::ZoomIn}},
        {V::ZoomOut, {C::ZoomOut, "縮小(&D)", "[ズーム]  縮小", "縮小", v, Glyph::ZoomOut}},
        {V::SetStandard,
         {C::SetStandard, "現在の拡大を標準に設定(&C)", "[ズーム]  現在の拡大を標準拡大に設定", "標準に設定", v}},
        {V::ResetStandard,
         {C::ResetStandard, "既定標準拡大に戻す(&I)", "[ズーム]  標準拡大を既定値に戻す", "既定標準に戻す", v}},
        {V::CursorToStart, {C::CursorToStart, "開始点へ移動", "カーソルを開始点へ移動", "開始点へ移動", v}},
        {V::CursorToMark, {C::CursorToMark, "タイムマークへ移動", "カーソルをタイムマークへ移動", "タイムマークへ移動", v}},
        {V::CursorToLastEdit,
         {C::CursorToLastEdit, "最終編集後へ移動", "カーソルを最終編集後へ移動", "最終編集後へ移動", v}},
        {V::CursorBack, {C::CursorBack, "一つ前へ移動", "カーソルを一つ前へ移動", "一つ前へ移動", v}},
        {V::CursorForward, {C::CursorForward, "一つ後へ移動", "カーソルを一つ後へ移動", "一つ後へ移動", v}},
        {V::CursorToPosition, {C::CursorToPosition, "指定位置へ移動", "カーソルを指定位置へ移動", "指定位置へ移動",
                               CommandRule::WaveformIdle}},
        {V::MarkAtCursor, {C::MarkAtCursor, "カーソル位置に設置", "カーソル位置にタイムマークを設置", "タイムマークを設置", v}},
        {V::MarkAtStart, {C::MarkAtStart, "開始点に設置", "開始点にタイムマークを設置", "開始点にタイムマーク設置", v}},
        {V::MarkAtLastEdit,
         {C::MarkAtLastEdit, "最終編集後に設置", "最終編集後にタイムマークを設置", "最終編集後にタイムマーク設置", v}},
        {V::MarkAtPosition,
         {C::MarkAtPosition, "指定位置に設置", "タイムマークを指定位置に設置", "指定位置にタイムマーク設置", v}},
        {V::MarkToCursor, {C::MarkToCursor, "カーソル位置へ移動", "タイムマークをカーソル位置へ移動", "カーソル位置へ移動", v}},
        {V::MarkToStart, {C::MarkToStart, "開始点へ移動", "タイムマークを開始点へ移動", "開始点へ移動", v}},
        {V::MarkToLastEdit, {C::MarkToLastEdit, "最終編集後へ移動", "タイムマークを最終編集後へ移動", "最終編集後へ移動", v}},
        {V::MarkToPosition, {C::MarkToPosition, "指定位置へ移動", "タイムマークを指定位置へ移動", "指定位置へ移動", v}},
        {V::DeleteMark, {C::DeleteMark, "削除", "タイムマークを削除", "タイムマーク削除", v}},
        {V::StepLeft, {C::StepLeft, "←", "", "", v}},
        {V::StepRight, {C::StepRight, "→", "", "", v}},
        {V::HalfPageLeft, {C::HalfPageLeft, "≪", "", "", v}},
        {V::HalfPageRight, {C::HalfPageRight, "≫", "", "", v}},
    };
    return rows;
}

bool needsTimeEntry(ViewCommand c) {
    return c == ViewCommand::CursorToPosition || c == ViewCommand::MarkAtPosition ||
           c == ViewCommand::MarkToPosition;
}

}  // namespace

ViewCommands::ViewCommands(CSYNView& view, const ui::CommandEnv& env, QObject* parent)
    : ui::CommandSet(env, parent), view_(view) {}

CommandId ViewCommands::idOf(ViewCommand c) {
    for (const ViewRow& r : viewRows())
        if (r.command == c) return r.row.id;
    return CommandId::None;
}

std::optional<ViewCommand> ViewCommands::commandOf(CommandId id) {
    for (const ViewRow& r : viewRows())
        if (r.row.id == id) return r.command;
    return std::nullopt;
}

CommandRows ViewCommands::rows() const {
    CommandRows rows;
    for (const ViewRow& r : viewRows()) rows.push_back(r.row);
    return rows;
}

bool ViewCommands::available(CommandId id) const {
    const auto c = commandOf(id);
    if (!c) return false;
    if (*c == ViewCommand::CursorToLastEdit) {
        // Outside a menu that shows it, the test must not re-arm history navigation.
        const ViewState& s = view_.state();
        return view_.isEnabled(ViewCommand::CursorToPosition) && !s.history().empty &&
               s.cursor() != s.history().peekNewest();
    }
    return view_.isEnabled(*c);
}

void ViewCommands::prepareMenu(const std::vector<CommandId>& shown) {
    // "最終編集後へ移動" runs its own test when a menu shows it; that test may
    // re-arm back/forward, which the same menu shows after it.
    if (std::find(shown.begin(), shown.end(), idOf(ViewCommand::CursorToLastEdit)) != shown.end())
        view_.isEnabled(ViewCommand::CursorToLastEdit);
}

void ViewCommands::run(CommandId id) {
    const auto c = commandOf(id);
    if (!c) return;
    if (needsTimeEntry(*c))
        runTimeEntry(*c);
    else
        view_.runCommand(*c);
}

void ViewCommands::runTimeEntry(ViewCommand c) {
    if (!view_.isEnabled(c)) return;
    const document::CSYNDoc& doc = view_.document();
    const ViewState& s = view_.state();
    const std::int64_t ts = doc.samplingTime();
    TimeEntryRequest req;
    if (c == ViewCommand::CursorToPosition) req = cursorPositionRequest(ts, s.sampleCount(), s.cursor(), s.markSet(), s.mark());
    else if (c == ViewCommand::MarkAtPosition) req = markPlaceRequest(ts, s.sampleCount(), s.cursor(), s.mark());
    else req = markMoveRequest(ts, s.sampleCount(), s.cursor(), s.mark());

    std::optional<std::uint32_t> index;
    if (runner_) {
        index = runner_(req);
    } else {
        // The window that was active gets the keyboard back when the dialog closes, also
        // where no window manager hands it back; otherwise its shortcuts stay dead.
        const QPointer<QWidget> active = QApplication::activeWindow();
        CGetTimeDlg dlg(req, env().dialogParent);
        if (dlg.exec() == QDialog::Accepted) index = dlg.resultIndex();
        if (active && active->isVisible()) active->activateWindow();
    }
    if (index) view_.runCommandAt(c, *index);
}

}  // namespace lyr::view
