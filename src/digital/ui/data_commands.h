#pragma once
// The serial and parallel data commands by identifier: "作成(シリアル)(&S)" and
// "作成(パラレル)(&P)" of the "ディジタル(&D)" menu, and each channel's
// "作成(シリアル)(&R)" of the "CH0" .. "CH7" popups. The frame owns the actions,
// busy flags and the editing rule.
#include "digital/ui/digital_commands.h"

namespace lyr::digital {

inline constexpr int ID_DIGITAL_SERIAL = 32909;
inline constexpr int ID_DIGITAL_PARALLEL = 32916;
inline constexpr ChannelIds kSerialIds{32911, 32912, 32913, 32914, 32942, 32945, 32948, 32951};

class DataCommands : public ui::CommandSet {
    Q_OBJECT
public:
    explicit DataCommands(const ui::CommandEnv& env, QObject* parent = nullptr) : CommandSet(env, parent) {}
    std::vector<int> commandIds() const override;
    void run(int id) override;
};

}  // namespace lyr::digital
