#include "analog/ui/analog_commands.h"

#include "analog/ui/analog_dialogs.h"

namespace lyr::analog {

AnalogCommands::AnalogCommands(const ui::CommandEnv& env, QObject* parent) : ui::CommandSet(env, parent) {}

CommandRows AnalogCommands::rows() const {
    using C = CommandId;
    const auto e = CommandRule::Editing;
    return {
        {C::Sine, "正弦波(&S)", "[アナログ]  正弦波の作成", "正弦波", e, Glyph::Sine},
        {C::Rectangle, "矩形波(&P)", "[アナログ]  矩形波の作成", "矩形波", e, Glyph::Rectangle},
        {C::Dc, "直流波形(&D)", "[アナログ]  直流波形の作成", "直流", e, Glyph::Dc},
        {C::Ramp, "ランプ波形(&R)", "[アナログ]  ランプ波形の作成", "ランプ", e, Glyph::Ramp},
        {C::Exp, "指数関数波形(&E)", "[アナログ]  指数関数波形の作成", "指数関数", e, Glyph::Exp},
        {C::Noise, "ランダムノイズ(&N)", "[アナログ]  ランダムノイズの作成", "ノイズ", e, Glyph::Noise},
        {C::Manual, "波形修正(&M)", "[アナログ]  マニュアル操作による波形修正", "波形修正", e, Glyph::Manual},
        {C::External, "外部データ(&F)", "[アナログ]  外部データの読み込み、変換", "外部データ", e, Glyph::External},
    };
}

template <class Editor, class Operation>
void AnalogCommands::runEditor(Operation operation) {
    Editor editor(env().dialogParent, env().prompter);
    (doc().*operation)(env().cursor(), editor);
}

void AnalogCommands::run(CommandId id) {
    switch (id) {
        case CommandId::Sine: runEditor<SineDialogEditor>(&document::CSYNDoc::EditAnalogSine); break;
        case CommandId::Rectangle: runEditor<RectangleDialogEditor>(&document::CSYNDoc::EditAnalogRectangle); break;
        case CommandId::Dc: runEditor<DcDialogEditor>(&document::CSYNDoc::EditAnalogDc); break;
        case CommandId::Ramp: runEditor<RampDialogEditor>(&document::CSYNDoc::EditAnalogRamp); break;
        case CommandId::Exp: runEditor<ExpDialogEditor>(&document::CSYNDoc::EditAnalogExp); break;
        case CommandId::Noise: runEditor<NoiseDialogEditor>(&document::CSYNDoc::EditAnalogNoise); break;
        case CommandId::Manual: runEditor<ManualDialogEditor>(&document::CSYNDoc::EditAnalogManual); break;
        case CommandId::External: runEditor<ExternalDialogEditor>(&document::CSYNDoc::EditAnalogExternal); break;
        default: break;
    }
}

}  // namespace lyr::analog
