#pragma once
// The data commands by identifier: "作成(シリアル)(&S)", "作成(パラレル)(&P)"
// and "作成(プロトコル)(&B)" of the "ディジタル(&D)" menu, and each channel's
// "作成(シリアル)(&R)" and "作成(プロトコル)(&B)" of the "CH0" .. "CH7" popups
// (the bus pattern then starts with that channel as its first line). The
// frame owns the actions, busy flags and the editing rule.
#include "digital/ui/digital_commands.h"

namespace lyr::digital {

inline constexpr int ID_DIGITAL_SERIAL = 32909;
inline constexpr int ID_DIGITAL_PARALLEL = 32916;
inline constexpr ChannelIds kSerialIds{32911, 32912, 32913, 32914, 32942, 32945, 32948, 32951};
inline constexpr int ID_DIGITAL_PROTOCOL = 32991;
inline constexpr ChannelIds kProtocolIds{32992, 32993, 32994, 32995, 32996, 32997, 32998, 32999};

class DataCommands : public ui::CommandSet {
    Q_OBJECT
public:
    explicit DataCommands(const ui::CommandEnv& env, QObject* parent = nullptr) : CommandSet(env, parent) {}
    std::vector<int> commandIds() const override;
    void run(int id) override;
};

}  // namespace lyr::digital
