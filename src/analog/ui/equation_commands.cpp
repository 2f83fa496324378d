#include "analog/ui/equation_commands.h"

#include "analog/ui/analog_dialogs.h"
#include "analog/ui/equation_dlg.h"

namespace lyr::analog {

EquationCommands::EquationCommands(const ui::CommandEnv& env, QObject* parent) : ui::CommandSet(env, parent) {}

void EquationCommands::run(int id) {
    if (id != kEquation) return;
    DialogEditor<EquationForm, CEquationDlg> editor(env().dialogParent, env().prompter);
    const auto range = doc().EditAnalogEquation(env().cursor(), editor);
    if (!range) return;
    emit edited(range->first, range->end);
    emit documentChanged();
}

}  // namespace lyr::analog
