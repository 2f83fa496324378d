#pragma once
// The zoom, cursor and time-mark commands of the main window: their actions
// with texts, prompts and tooltips, the menus "ズーム(&Z)", "カーソル(&C)" and
// "タイムマーク(&T)", the context popups "Zoom", "Cursor" and "TimeMark", the
// strip's step buttons and readouts, and the three time-entry commands.
#include <QObject>
#include <QPoint>
#include <array>
#include <functional>
#include <optional>

#include "view/time_entry.h"
#include "view/ui/syn_view.h"

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace lyr::view {

class StatusStrip;

inline constexpr int kViewCommandCount = static_cast<int>(ViewCommand::HalfPageRight) + 1;

class ViewCommands : public QObject {
    Q_OBJECT
public:
    // strip may be null. Dialogs open over dialogParent.
    ViewCommands(CSYNView& view, StatusStrip* strip, QWidget* dialogParent);
    ~ViewCommands() override;

    QAction* action(ViewCommand c) const { return actions_[static_cast<int>(c)]; }
    // "タイムマークを設置": the cursor popup's name for "mark at cursor".
    QAction* markAtCursorShort() const { return markHere_; }
    // Whole view, standard, maximum, zoom in, zoom out: the toolbar's zoom buttons.
    QList<QAction*> zoomToolbarActions() const;

    QMenu* zoomMenu() const { return zoomMenu_; }
    QMenu* cursorMenu() const { return cursorMenu_; }
    QMenu* markMenu() const { return markMenu_; }
    QMenu* zoomPopup() const { return zoomPopup_; }
    QMenu* cursorPopup() const { return cursorPopup_; }
    QMenu* markPopup() const { return markPopup_; }
    // Adds the three menus to a menu bar, before `before` when given.
    void addMenusTo(QMenuBar* bar, QAction* before = nullptr);

    // Popups of the regions other commands own: the analog plot and the lanes.
    void setAnalogPopup(QMenu* menu) { analogPopup_ = menu; }
    void setLanePopupProvider(std::function<QMenu*(int)> provider) { lanePopup_ = std::move(provider); }
    QMenu* popupFor(ViewRegion region, int lane) const;

    // Runs the time entry; returns the chosen index or nothing when cancelled.
    // The default opens CGetTimeDlg.
    using TimeEntryRunner = std::function<std::optional<std::uint32_t>(const TimeEntryRequest&)>;
    void setTimeEntryRunner(TimeEntryRunner runner) { runner_ = std::move(runner); }

public slots:
    // Re-evaluates every command's enabling rule.
    void updateStates();
    void showReadouts();

private:
    void trigger(ViewCommand c);
    void runTimeEntry(ViewCommand c);
    void prepareMenu();
    void showPopup(ViewRegion region, int lane, QPoint globalPos);

    CSYNView& view_;
    StatusStrip* strip_;
    QWidget* dialogParent_;
    std::array<QAction*, kViewCommandCount> actions_{};
    QAction* markHere_ = nullptr;
    std::array<bool, kViewCommandCount> busy_{};
    QMenu* zoomMenu_ = nullptr;
    QMenu* cursorMenu_ = nullptr;
    QMenu* markMenu_ = nullptr;
    QMenu* zoomPopup_ = nullptr;
    QMenu* cursorPopup_ = nullptr;
    QMenu* markPopup_ = nullptr;
    QMenu* analogPopup_ = nullptr;
    std::function<QMenu*(int)> lanePopup_;
    TimeEntryRunner runner_;
    bool menuOpening_ = false;
};

}  // namespace lyr::view
