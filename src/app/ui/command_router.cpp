#include "app/ui/command_router.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include "view/ui/syn_view.h"

namespace lyr::app {

CommandRouter::CommandRouter(StateSource state, QWidget* actionParent)
    : QObject(actionParent), state_(std::move(state)), actionParent_(actionParent) {
    for (const CommandInfo& c : commandTable()) {
        if (c.rule == CommandRule::Selector) continue;  // combo boxes, not actions
        auto* a = new QAction(QString::fromStdString(c.menuText), actionParent);
        a->setData(c.id);
        if (!c.prompt.empty()) a->setStatusTip(QString::fromStdString(c.prompt));
        if (!c.tooltip.empty()) a->setToolTip(QString::fromStdString(c.tooltip));
        a->setVisible(false);  // until a set runs it
        a->setEnabled(false);
        const int id = c.id;
        connect(a, &QAction::triggered, this, [this, id] { run(id); });
        actions_.insert(id, a);
    }
}

CommandRouter::~CommandRouter() = default;

ui::CommandSet* CommandRouter::add(ui::CommandSet* set) {
    set->setParent(this);
    for (int id : set->commandIds()) {
        QAction* a = action(id);
        if (!a) continue;
        sets_.insert(id, set);
        a->setVisible(true);
    }
    connect(set, &ui::CommandSet::edited, this, &CommandRouter::edited);
    connect(set, &ui::CommandSet::editedWhole, this, &CommandRouter::editedWhole);
    connect(set, &ui::CommandSet::undone, this, &CommandRouter::undone);
    connect(set, &ui::CommandSet::documentChanged, this, &CommandRouter::documentChanged);
    connect(set, &ui::CommandSet::analogOutOfRange, this, &CommandRouter::analogOutOfRange);
    tidyMenus();
    updateStates();
    return set;
}

bool CommandRouter::isEnabled(int id) const {
    ui::CommandSet* set = setFor(id);
    return set && commandEnabled(id, state_(), busy(id)) && set->available(id);
}

void CommandRouter::attachView(view::CSYNView* view) {
    if (view_) disconnect(this, nullptr, view_, nullptr);
    view_ = view;
    if (!view) return;
    connect(this, &CommandRouter::edited, view, [view](qint64 first, qint64 end) {
        view->afterEdit(static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(end));
    });
    connect(this, &CommandRouter::editedWhole, view, &view::CSYNView::afterWholeEdit);
    connect(this, &CommandRouter::undone, view, &view::CSYNView::afterUndo);
    connect(view, &view::CSYNView::viewChanged, this, &CommandRouter::updateStates);
}

void CommandRouter::press(int id, bool pressed) {
    if (presser_) presser_(id, pressed);
}

void CommandRouter::run(int id) {
    press(id, true);
    if (busy(id)) return;  // its dialog is open; that run releases the button
    if (!isEnabled(id)) {
        press(id, false);
        return;
    }
    ui::CommandSet* set = setFor(id);
    const QPointer<CommandRouter> alive(this);
    busy_[id] = true;
    updateStates();
    press(id, true);  // greying the button lifts it; it stays drawn pressed while the command runs
    set->run(id);
    if (!alive) return;  // the window went away while the command ran
    busy_[id] = false;
    press(id, false);
    updateStates();
    emit commandFinished(id);
}

void CommandRouter::updateStates() {
    const FrameState s = state_();
    for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
        ui::CommandSet* set = setFor(it.key());
        it.value()->setEnabled(set && commandEnabled(it.key(), s, busy(it.key())) && set->available(it.key()));
    }
    emit statesUpdated();
}

namespace {
void fillMenu(CommandRouter& router, QMenu* menu, const std::vector<MenuItem>& items) {
    for (const MenuItem& item : items) {
        switch (item.kind) {
            case MenuItem::Kind::Separator: menu->addSeparator(); break;
            case MenuItem::Kind::Submenu: {
                QMenu* sub = router.buildMenu({item.text, item.items}, menu);
                menu->addMenu(sub);
                break;
            }
            case MenuItem::Kind::Command: {
                QAction* a = router.action(item.id);
                if (!a) break;
                if (item.text.empty()) {
                    menu->addAction(a);
                } else {
                    // Same command under another name: a twin that follows the original.
                    auto* twin = new QAction(QString::fromStdString(item.text), menu);
                    twin->setData(a->data());
                    twin->setStatusTip(a->statusTip());
                    twin->setToolTip(a->toolTip());
                    auto follow = [a, twin] {
                        twin->setEnabled(a->isEnabled());
                        twin->setVisible(a->isVisible());
                    };
                    follow();
                    QObject::connect(a, &QAction::changed, twin, follow);
                    QObject::connect(twin, &QAction::triggered, a, &QAction::trigger);
                    menu->addAction(twin);
                }
                break;
            }
        }
    }
}

bool hasVisibleEntry(QMenu* menu) {
    for (QAction* a : menu->actions())
        if (!a->isSeparator() && a->isVisible()) return true;
    return false;
}
}  // namespace

QMenu* CommandRouter::buildMenu(const MenuLayout& layout, QWidget* parent) {
    auto* menu = new QMenu(QString::fromStdString(layout.title), parent);
    menu->setSeparatorsCollapsible(true);
    fillMenu(*this, menu, layout.items);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { prepareMenu(menu); });
    menus_.push_back(menu);
    tidyMenus();
    return menu;
}

void CommandRouter::tidyMenus() {
    // Submenus are built (and listed) before the menus holding them.
    for (const QPointer<QMenu>& m : menus_)
        if (m) m->menuAction()->setVisible(hasVisibleEntry(m));
}

void CommandRouter::prepareMenu(QMenu* menu) {
    std::vector<int> shown;
    QHash<ui::CommandSet*, bool> sets;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator() || a->menu()) continue;
        const int id = a->data().toInt();
        shown.push_back(id);
        if (ui::CommandSet* set = setFor(id)) sets.insert(set, true);
    }
    for (auto it = sets.cbegin(); it != sets.cend(); ++it) it.key()->prepareMenu(shown);
    updateStates();
}

}  // namespace lyr::app
