#pragma once
// The data commands by identifier: "作成(シリアル)(&S)", "作成(パラレル)(&P)"
// and "作成(プロトコル)(&B)" of the "ディジタル(&D)" menu, and each channel's
// "作成(シリアル)(&R)" and "作成(プロトコル)(&B)" of the "CH0" .. "CH7" popups
// (the bus pattern then starts with that channel as its first line). The
// frame owns the actions, busy flags and the editing rule.
#include "digital/ui/digital_commands.h"

namespace lyr::digital {

class DataCommands : public ui::CommandSet {
    Q_OBJECT
public:
    explicit DataCommands(const ui::CommandEnv& env, QObject* parent = nullptr) : CommandSet(env, parent) {}
    CommandRows rows() const override;
    void run(CommandId id) override;
};

}  // namespace lyr::digital
