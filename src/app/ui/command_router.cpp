#include "app/ui/command_router.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

#include "document/ui/ui_text.h"
#include "view/ui/syn_view.h"

namespace lyr::app {

CommandRouter::CommandRouter(StateSource state, QWidget* actionParent)
    : QObject(actionParent), state_(std::move(state)), actionParent_(actionParent) {}

CommandRouter::~CommandRouter() = default;

const CommandRow* CommandRouter::row(CommandId id) const {
    for (const CommandRow& r : rows_)
        if (r.id == id) return &r;
    return nullptr;
}

ui::CommandSet* CommandRouter::add(ui::CommandSet* set) {
    set->setParent(this);
    for (const CommandRow& r : set->rows()) {
        if (r.id == CommandId::None || setFor(r.id)) continue;
        auto* a = new QAction(ui::tr(r.menuText), actionParent_);
        a->setData(commandNumber(r.id));
        if (!r.prompt.empty()) a->setStatusTip(ui::tr(r.prompt));
        if (!r.tooltip.empty()) a->setToolTip(ui::tr(r.tooltip));
        a->setEnabled(false);
        const CommandId id = r.id;
        connect(a, &QAction::triggered, this, [this, id] { run(id); });
        actions_.insert(commandNumber(id), a);
        sets_.insert(commandNumber(id), set);
        rows_.push_back(r);
    }
    tidyMenus();
    updateStates();
    return set;
}

bool CommandRouter::isEnabled(CommandId id) const {
    ui::CommandSet* set = setFor(id);
    const CommandRow* r = row(id);
    return set && r && commandEnabled(r->rule, state_(), busy(id)) && set->available(id);
}

void CommandRouter::attachView(view::CSYNView* view) {
    if (view_) disconnect(this, nullptr, view_, nullptr);
    view_ = view;
    if (!view) return;
    connect(view, &view::CSYNView::viewChanged, this, &CommandRouter::updateStates);
}

void CommandRouter::press(CommandId id, bool pressed) {
    if (presser_) presser_(id, pressed);
}

void CommandRouter::run(CommandId id) {
    press(id, true);
    if (busy(id)) return;  // its dialog is open; that run releases the button
    if (!isEnabled(id)) {
        press(id, false);
        return;
    }
    ui::CommandSet* set = setFor(id);
    const QPointer<CommandRouter> alive(this);
    busy_[commandNumber(id)] = true;
    updateStates();
    press(id, true);  // greying the button lifts it; it stays drawn pressed while the command runs
    set->run(id);
    if (!alive) return;  // the window went away while the command ran
    busy_[commandNumber(id)] = false;
    press(id, false);
    updateStates();
    emit commandFinished(id);
}

void CommandRouter::updateStates() {
    const FrameState s = state_();
    for (const CommandRow& r : rows_) {
        ui::CommandSet* set = setFor(r.id);
        action(r.id)->setEnabled(commandEnabled(r.rule, s, busy(r.id)) && set->available(r.id));
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
                QAction* a = router.action(item.id);  // nullptr: no set runs it
                if (!a) break;
                if (item.text.empty()) {
                    menu->addAction(a);
                } else {
                    // Same command under another name: a twin that follows the original.
                    auto* twin = new QAction(ui::tr(item.text), menu);
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
    auto* menu = new QMenu(ui::tr(layout.title), parent);
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
    std::vector<CommandId> shown;
    QHash<ui::CommandSet*, bool> sets;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator() || a->menu()) continue;
        const CommandId id = commandFromNumber(a->data().toInt());
        shown.push_back(id);
        if (ui::CommandSet* set = setFor(id)) sets.insert(set, true);
    }
    for (auto it = sets.cbegin(); it != sets.cend(); ++it) it.key()->prepareMenu(shown);
    updateStates();
}

}  // namespace lyr::app
