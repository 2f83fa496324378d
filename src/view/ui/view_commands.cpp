#include "view/ui/view_commands.h"

#include <QApplication>
#include <QPointer>
#include <algorithm>
#include <array>
#include <utility>

#include "view/ui/get_time_dlg.h"

namespace lyr::view {

namespace {

constexpr std::array<std::pair<ViewCommand, int>, 26> kIds{{
    {ViewCommand::WholeView, 32776},      {ViewCommand::StandardZoom, 32829},   {ViewCommand::MaxZoom, 32805},
    {ViewCommand::ZoomIn, 32774},         {ViewCommand::ZoomOut, 32775},        {ViewCommand::SetStandard, 32839},
    {ViewCommand::ResetStandard, 32840},  {ViewCommand::CursorToStart, 32791},  {ViewCommand::CursorToMark, 32792},
    {ViewCommand::CursorBack, 32790},     {ViewCommand::CursorForward, 32803},  {ViewCommand::CursorToLastEdit, 32823},
    {ViewCommand::CursorToPosition, 32802}, {ViewCommand::MarkAtCursor, 32827}, {ViewCommand::MarkAtStart, 32822},
    {ViewCommand::MarkAtLastEdit, 32825}, {ViewCommand::MarkAtPosition, 32804}, {ViewCommand::MarkToCursor, 32809},
    {ViewCommand::MarkToStart, 32821},    {ViewCommand::MarkToLastEdit, 32826}, {ViewCommand::MarkToPosition, 32808},
    {ViewCommand::DeleteMark, 32795},     {ViewCommand::StepLeft, 1015},        {ViewCommand::StepRight, 1016},
    {ViewCommand::HalfPageLeft, 1117},    {ViewCommand::HalfPageRight, 1118},
}};

bool needsTimeEntry(ViewCommand c) {
    return c == ViewCommand::CursorToPosition || c == ViewCommand::MarkAtPosition ||
           c == ViewCommand::MarkToPosition;
}

}  // namespace

ViewCommands::ViewCommands(CSYNView& view, const ui::CommandEnv& env, QObject* parent)
    : ui::CommandSet(env, parent), view_(view) {}

int ViewCommands::idOf(ViewCommand c) {
    for (const auto& [command, id] : kIds)
        if (command == c) return id;
    return 0;
}

std::optional<ViewCommand> ViewCommands::commandOf(int id) {
    for (const auto& [command, i] : kIds)
        if (i == id) return command;
    return std::nullopt;
}

std::vector<int> ViewCommands::commandIds() const {
    std::vector<int> ids;
    for (const auto& entry : kIds) ids.push_back(entry.second);
    return ids;
}

bool ViewCommands::available(int id) const {
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

void ViewCommands::prepareMenu(const std::vector<int>& shown) {
    // "最終編集後へ移動" runs its own test when a menu shows it; that test may
    // re-arm back/forward, which the same menu shows after it.
    if (std::find(shown.begin(), shown.end(), idOf(ViewCommand::CursorToLastEdit)) != shown.end())
        view_.isEnabled(ViewCommand::CursorToLastEdit);
}

void ViewCommands::run(int id) {
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
    const auto ts = static_cast<std::uint32_t>(doc.samplingTime());
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
