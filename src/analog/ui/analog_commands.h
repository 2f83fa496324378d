#pragma once
// The analog editors as a command set: sine, rectangle, DC, ramp,
// exponential, random noise, manual modification and external data. Each runs the document's editor operation at
// the cursor and reports the edited range.
#include "document/ui/command_set.h"

namespace lyr::analog {

class AnalogCommands : public ui::CommandSet {
    Q_OBJECT
public:
    AnalogCommands(const ui::CommandEnv& env, QObject* parent = nullptr);

    CommandRows rows() const override;
    void run(CommandId id) override;

private:
    template <class Editor, class Operation>
    void runEditor(Operation operation);
};

}  // namespace lyr::analog
