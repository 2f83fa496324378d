#pragma once
// A command set made of functions: each row gets what it runs and,
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

    void add(CommandRow row, std::function<void()> run, std::function<bool()> available = {}) {
        entries_.insert(commandNumber(row.id), {std::move(run), std::move(available)});
        rows_.push_back(std::move(row));
    }

    CommandRows rows() const override { return rows_; }
    bool available(CommandId id) const override {
        const auto it = entries_.constFind(commandNumber(id));
        return it != entries_.cend() && (!it->available || it->available());
    }
    void run(CommandId id) override {
        const auto it = entries_.constFind(commandNumber(id));
        if (it != entries_.cend() && it->run) it->run();
    }

private:
    struct Entry {
        std::function<void()> run;
        std::function<bool()> available;
    };
    QHash<int, Entry> entries_;
    CommandRows rows_;
};

}  // namespace lyr::app
