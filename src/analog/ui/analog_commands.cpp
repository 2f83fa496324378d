#include "analog/ui/analog_commands.h"

#include "analog/ui/analog_dialogs.h"

namespace lyr::analog {

AnalogCommands::AnalogCommands(const ui::CommandEnv& env, QObject* parent) : ui::CommandSet(env, parent) {}

std::vector<int> AnalogCommands::commandIds() const {
    return {kSine, kRectangle, kDc, kRamp, kExp, kNoise, kManual, kExternal};
}

template <class Editor, class Operation>
void AnalogCommands::runEditor(Operation operation) {
    Editor editor(env().dialogParent, env().prompter);
    const auto range = (doc().*operation)(env().cursor(), editor);
    if (!range) return;
    emit edited(range->first, range->end);
    emit documentChanged();
}

void AnalogCommands::run(int id) {
    switch (id) {
        case kSine: runEditor<SineDialogEditor>(&document::CSYNDoc::EditAnalogSine); break;
        case kRectangle: runEditor<RectangleDialogEditor>(&document::CSYNDoc::EditAnalogRectangle); break;
        case kDc: runEditor<DcDialogEditor>(&document::CSYNDoc::EditAnalogDc); break;
        case kRamp: runEditor<RampDialogEditor>(&document::CSYNDoc::EditAnalogRamp); break;
        case kExp: runEditor<ExpDialogEditor>(&document::CSYNDoc::EditAnalogExp); break;
        case kNoise: runEditor<NoiseDialogEditor>(&document::CSYNDoc::EditAnalogNoise); break;
        case kManual: runEditor<ManualDialogEditor>(&document::CSYNDoc::EditAnalogManual); break;
        case kExternal: runEditor<ExternalDialogEditor>(&document::CSYNDoc::EditAnalogExternal); break;
        default: break;
    }
}

}  // namespace lyr::analog
