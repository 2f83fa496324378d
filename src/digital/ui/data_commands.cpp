#include "digital/ui/data_commands.h"

#include <algorithm>

#include "digital/ui/data_dialogs.h"

namespace lyr::digital {

std::vector<int> DataCommands::commandIds() const {
    std::vector<int> ids{ID_DIGITAL_SERIAL, ID_DIGITAL_PARALLEL};
    ids.insert(ids.end(), kSerialIds.begin(), kSerialIds.end());
    return ids;
}

void DataCommands::run(int id) {
    std::optional<document::EditRange> range;
    if (id == ID_DIGITAL_PARALLEL) {
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
