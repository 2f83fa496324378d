#include "analog/ui/equation_commands.h"

#include "analog/ui/analog_dialogs.h"
#include "analog/ui/equation_dlg.h"

namespace lyr::analog {

EquationCommands::EquationCommands(const ui::CommandEnv& env, QObject* parent) : ui::CommandSet(env, parent) {}

CommandRows EquationCommands::rows() const {
    return {{CommandId::Equation, "数式波形(&Q)", "[アナログ]  数式による波形の作成", "数式波形", CommandRule::Editing,
             Glyph::Equation}};
}

void EquationCommands::run(CommandId id) {
    if (id != CommandId::Equation) return;
    DialogEditor<EquationForm, CEquationDlg> editor(env().dialogParent, env().prompter);
    doc().EditAnalogEquation(env().cursor(), editor);
}

}  // namespace lyr::analog
