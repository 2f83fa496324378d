#include "digital/ui/data_commands.h"

#include <algorithm>

#include "digital/ui/data_dialogs.h"
#include "digital/ui/protocol_dlg.h"

namespace lyr::digital {

std::vector<int> DataCommands::commandIds() const {
    std::vector<int> ids{ID_DIGITAL_SERIAL, ID_DIGITAL_PARALLEL, ID_DIGITAL_PROTOCOL};
    ids.insert(ids.end(), kSerialIds.begin(), kSerialIds.end());
    ids.insert(ids.end(), kProtocolIds.begin(), kProtocolIds.end());
    return ids;
}

void DataCommands::run(int id) {
    std::optional<document::EditRange> range;
    const auto protocolChannel = std::find(kProtocolIds.begin(), kProtocolIds.end(), id);
    if (id == ID_DIGITAL_PROTOCOL || protocolChannel != kProtocolIds.end()) {
        const int k = id == ID_DIGITAL_PROTOCOL ? document::AllChannels : int(protocolChannel - kProtocolIds.begin());
        ProtocolDialogEditor editor(env().dialogParent, env().prompter);
        range = doc().EditDigitalProtocol(env().cursor(), editor, k);
    } else if (id == ID_DIGITAL_PARALLEL) {
        ParallelDialogEditor editor(env().dialogParent, env().prompter);
        range = doc().EditDigitalParallel(env().cursor(), editor);
    } else {
        const auto channel = std::find(kSerialIds.begin(), kSerialIds.end(), id);
        if (id != ID_DIGITAL_SERIAL && channel == kSerialIds.end()) return;
        const int k = id == ID_DIGITAL_SERIAL ? document::AllChannels : int(channel - kSerialIds.begin());
        SerialDialogEditor editor(env().dialogParent, env().prompter);
        range = doc().EditDigitalSerial(env().cursor(), k, editor);
    }
    if (!range) return;
    emit edited(range->first, range->end);
    emit documentChanged();
}

}  // namespace lyr::digital
