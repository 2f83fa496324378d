#pragma once
// CommandRouter: every command of the main window in one place, by
// CommandId. It makes one QAction per row a registered command set declares
// (menu text, status-bar prompt, tooltip, data = the command number), runs
// each command through its set, owns the busy flags and decides the enabling
// from the row's rule, the frame's state and the set's own rule. Menus and
// popups are built from the layouts of src/app/command_table.h.
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

    // The action of a command some registered set runs, or nullptr.
    QAction* action(CommandId id) const { return actions_.value(commandNumber(id), nullptr); }
    // The row a registered set declared for the command, or nullptr.
    const CommandRow* row(CommandId id) const;
    // Every registered row, in the order the sets were added.
    const std::vector<CommandRow>& rows() const { return rows_; }
    // Registers a set (the router becomes its parent) and makes an action for
    // each of its rows; a command already registered keeps its first set.
    ui::CommandSet* add(ui::CommandSet* set);
    ui::CommandSet* setFor(CommandId id) const { return sets_.value(commandNumber(id), nullptr); }

    bool busy(CommandId id) const { return busy_.value(commandNumber(id), false); }
    // The whole rule: the row's rule, the busy flag and the set's own.
    bool isEnabled(CommandId id) const;

    // The view whose zoom, cursor and mark changes re-evaluate the enabling.
    void attachView(view::CSYNView* view);
    // Draws a command's toolbar button pressed or plain.
    void setButtonPresser(std::function<void(CommandId id, bool pressed)> presser) { presser_ = std::move(presser); }

    // A menu or popup from the layout data; its entries re-evaluate when it opens.
    QMenu* buildMenu(const MenuLayout& layout, QWidget* parent);
    // Hides the menus (and their entries in a menu bar) that have nothing to show.
    void tidyMenus();

public slots:
    // The command pattern: press its button, guard against re-entry, set the
    // busy flag, run, clear the flag, release the button.
    void run(CommandId id);
    // Re-evaluates every action's enabling.
    void updateStates();

signals:
    void statesUpdated();
    // A command ran to its end (its dialog, if any, has closed).
    void commandFinished(CommandId id);

private:
    void prepareMenu(QMenu* menu);
    void press(CommandId id, bool pressed);

    StateSource state_;
    QWidget* actionParent_;
    QHash<int, QAction*> actions_;
    QHash<int, ui::CommandSet*> sets_;
    QHash<int, bool> busy_;
    std::vector<QPointer<QMenu>> menus_;
    QPointer<view::CSYNView> view_;
    std::function<void(CommandId, bool)> presser_;
    std::vector<CommandRow> rows_;
};

}  // namespace lyr::app
