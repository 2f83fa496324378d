#pragma once
// The zoom, cursor and time-mark commands and the strip's step buttons as a
// command set: the frame routes their identifiers here, asks available(id)
// for the view's rules and calls run(id). The three time-entry commands open
// CGetTimeDlg first.
#include <functional>
#include <optional>

#include "document/ui/command_set.h"
#include "view/time_entry.h"
#include "view/ui/syn_view.h"

namespace lyr::view {

class ViewCommands : public ui::CommandSet {
    Q_OBJECT
public:
    ViewCommands(CSYNView& view, const ui::CommandEnv& env, QObject* parent = nullptr);

    // The command identifier of a view command, and back (nothing for others).
    static CommandId idOf(ViewCommand c);
    static std::optional<ViewCommand> commandOf(CommandId id);

    CommandRows rows() const override;
    bool available(CommandId id) const override;
    void prepareMenu(const std::vector<CommandId>& shown) override;
    void run(CommandId id) override;

    bool available(ViewCommand c) const { return available(idOf(c)); }
    void run(ViewCommand c) { run(idOf(c)); }

    // Runs the time entry; returns the chosen index or nothing when cancelled.
    // The default opens CGetTimeDlg.
    using TimeEntryRunner = std::function<std::optional<std::uint32_t>(const TimeEntryRequest&)>;
    void setTimeEntryRunner(TimeEntryRunner runner) { runner_ = std::move(runner); }

private:
    void runTimeEntry(ViewCommand c);

    CSYNView& view_;
    TimeEntryRunner runner_;
};

}  // namespace lyr::view
