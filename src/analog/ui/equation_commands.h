#pragma once
// "数式波形(&Q)": the equation editor as a command set. It runs the document's
// equation operation at the cursor with CEquationDlg and reports the edited range.
#include "document/ui/command_set.h"

namespace lyr::analog {

class EquationCommands : public ui::CommandSet {
    Q_OBJECT
public:
    EquationCommands(const ui::CommandEnv& env, QObject* parent = nullptr);
    CommandRows rows() const override;
    void run(CommandId id) override;
};

}  // namespace lyr::analog
