#pragma once
// A command set made of functions: each identifier gets what it runs and,
// optionally, a rule of its own. The frame's own commands (file, undo, edit
// lock) use it, and so can a small group that needs no class of its own.
#include <QHash>
#include <functional>

#include "document/ui/command_set.h"

namespace lyr::app {

class FunctionCommands : public ui::CommandSet {
    Q_OBJECT
public:
    using ui::CommandSet::CommandSet;

    void add(int id, std::function<void()> run, std::function<bool()> available = {}) {
        entries_.insert(id, {std::move(run), std::move(available)});
        order_.push_back(id);
    }

    std::vector<int> commandIds() const override { return order_; }
    bool available(int id) const override {
        const auto it = entries_.constFind(id);
        return it != entries_.cend() && (!it->available || it->available());
    }
    void run(int id) override {
        const auto it = entries_.constFind(id);
        if (it != entries_.cend() && it->run) it->run();
    }

private:
    struct Entry {
        std::function<void()> run;
        std::function<bool()> available;
    };
    QHash<int, Entry> entries_;
    std::vector<int> order_;
};

}  // namespace lyr::app
