#include "digital/ui/data_commands.h"

#include "digital/ui/data_dialogs.h"
#include "digital/ui/bus_pattern_dlg.h"

namespace lyr::digital {

CommandRows DataCommands::rows() const {
    using C = CommandId;
    const auto e = CommandRule::Editing;
    CommandRows rows = {
        {C::DigitalSerial, "作成(シリアル)(&S)", "[ディジタル]  作成(シリアル)", "作成(シリアル)", e, Glyph::DigitalSerial},
        {C::DigitalParallel, "作成(パラレル)(&P)", "[ディジタル]  作成(パラレル)", "作成(パラレル)", e,
         Glyph::DigitalParallel},
        {C::DigitalProtocol, "作成(プロトコル)(&B)", "[ディジタル]  UART、SPI、I2Cのバスパターンの作成",
         "作成(プロトコル)", e},
    };
    for (CommandRows family : {channelRows(ChannelFamily::Serial, "作成(シリアル)(&R)", "作成(シリアル)", e),
                               channelRows(ChannelFamily::Protocol, "作成(プロトコル)(&B)", "作成(プロトコル)", e)})
        rows.insert(rows.end(), family.begin(), family.end());
    return rows;
}

void DataCommands::run(CommandId id) {
    const auto c = channelCommandOf(id);
    if (id == CommandId::DigitalProtocol || (c && c->family == ChannelFamily::Protocol)) {
        const int k = c ? c->channel : document::AllChannels;
        ProtocolDialogEditor editor(env().dialogParent, env().prompter);
        doc().EditDigitalProtocol(env().cursor(), editor, k);
    } else if (id == CommandId::DigitalParallel) {
        ParallelDialogEditor editor(env().dialogParent, env().prompter);
        doc().EditDigitalParallel(env().cursor(), editor);
    } else {
        if (id != CommandId::DigitalSerial && !(c && c->family == ChannelFamily::Serial)) return;
        const int k = c ? c->channel : document::AllChannels;
        SerialDialogEditor editor(env().dialogParent, env().prompter);
        doc().EditDigitalSerial(env().cursor(), k, editor);
    }
}

}  // namespace lyr::digital
