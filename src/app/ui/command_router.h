#pragma once
// CommandRouter: every command of the main window in one place, by command
// identifier. It makes one QAction per identifier of the command table (menu
// text, status-bar prompt, tooltip, data = identifier), runs each command
// through the command set registered for it, owns the busy flags and decides
// the enabling from the table's rule, the frame's state and the set's own
// rule. Menus and popups are built from the table's layout.
//
// A command group joins with one call: router.add(new MyCommands(env, parent)).
#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

#include "app/command_table.h"
#include "document/ui/command_set.h"

class QAction;
class QMenu;
class QWidget;

namespace lyr::view {
class CSYNView;
}

namespace lyr::app {

class CommandRouter : public QObject {
    Q_OBJECT
public:
    using StateSource = std::function<FrameState()>;
    // actionParent holds the actions so that their shortcuts work in its window.
    CommandRouter(StateSource state, QWidget* actionParent);
    ~CommandRouter() override;

    // The action of an identifier (every table row but the two selectors).
    QAction* action(int id) const { return actions_.value(id, nullptr); }
    // Registers a set (the router becomes its parent). Its commands become
    // visible; identifiers the table does not know are ignored.
    ui::CommandSet* add(ui::CommandSet* set);
    ui::CommandSet* setFor(int id) const { return sets_.value(id, nullptr); }

    bool busy(int id) const { return busy_.value(id, false); }
    // The whole rule: the table's rule, the busy flag and the set's own.
    bool isEnabled(int id) const;

    // The view that hears what the sets report (edits, undo).
    void attachView(view::CSYNView* view);
    // Draws a command's toolbar button pressed or plain.
    void setButtonPresser(std::function<void(int id, bool pressed)> presser) { presser_ = std::move(presser); }

    // A menu or popup from the layout data; its entries re-evaluate when it opens.
    QMenu* buildMenu(const MenuLayout& layout, QWidget* parent);
    // Hides the menus (and their entries in a menu bar) that have nothing to show.
    void tidyMenus();

public slots:
    // The command pattern: press its button, guard against re-entry, set the
    // busy flag, run, clear the flag, release the button.
    void run(int id);
    // Re-evaluates every action's enabling.
    void updateStates();

signals:
    void statesUpdated();
    // A command ran to its end (its dialog, if any, has closed).
    void commandFinished(int id);
    // Forwarded from the sets.
    void edited(qint64 first, qint64 end);
    void editedWhole();
    void undone(bool timeBaseRestored);
    void documentChanged();
    void analogOutOfRange();

private:
    void prepareMenu(QMenu* menu);
    void press(int id, bool pressed);

    StateSource state_;
    QWidget* actionParent_;
    QHash<int, QAction*> actions_;
    QHash<int, ui::CommandSet*> sets_;
    QHash<int, bool> busy_;
    std::vector<QPointer<QMenu>> menus_;
    QPointer<view::CSYNView> view_;
    std::function<void(int, bool)> presser_;
};

}  // namespace lyr::app
