#pragma once
// The contract between the main frame and a group of commands (an editor
// family, the view's steps, the output command). A set declares the rows of
// the commands it runs (texts, prompt, tooltip, rule, glyph) beside its
// handlers; the frame makes the actions, menus, toolbar buttons and
// accelerators from them and owns the busy flags, all by CommandId. A set
// only runs a command it is handed; what it changed the document announces
// to its observers (the view, the output window, the frame). It never looks
// for the widgets it affects.
#include <QObject>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

#include "document/command_row.h"
#include "document/prompter.h"
#include "document/syn_doc.h"

namespace lyr::ui {

// What a command set is given by the frame that wires it.
struct CommandEnv {
    document::CSYNDoc* doc = nullptr;
    QWidget* dialogParent = nullptr;  // dialogs open over it
    Prompter* prompter = nullptr;     // messages and questions
    // The view's cursor index, read when a command starts (0 without a view).
    std::function<std::uint32_t()> cursor = [] { return 0u; };
};

class CommandSet : public QObject {
    Q_OBJECT
public:
    explicit CommandSet(const CommandEnv& env, QObject* parent = nullptr) : QObject(parent), env_(env) {}

    // The rows of the commands this set runs.
    virtual CommandRows rows() const = 0;
    // Their identifiers, in the order of the rows.
    std::vector<CommandId> commandIds() const {
        std::vector<CommandId> ids;
        for (const CommandRow& r : rows()) ids.push_back(r.id);
        return ids;
    }
    // A rule of the set's own beyond the frame's rule for the identifier (the
    // view's zoom and cursor rules, for example). The frame asks it only when
    // its own rule allows the command.
    virtual bool available(CommandId /*id*/) const { return true; }
    // A menu showing these identifiers is about to open: a set whose rule
    // changes state when a menu asks it (the view's last-edit test) runs it here.
    virtual void prepareMenu(const std::vector<CommandId>& /*shown*/) {}
    // Runs the command (modal dialogs return before this does). The frame has
    // already checked the rule and set the command's busy flag.
    virtual void run(CommandId id) = 0;

protected:
    const CommandEnv& env() const { return env_; }
    document::CSYNDoc& doc() const { return *env_.doc; }
    Prompter& prompter() const { return *env_.prompter; }

private:
    CommandEnv env_;
};

}  // namespace lyr::ui
