#pragma once
// The analog editors as a command set: sine, rectangle, DC, ramp,
// exponential, random noise, manual modification and external data. Each runs the document's editor operation at
// the cursor and reports the edited range.
#include "document/ui/command_set.h"

namespace lyr::analog {

class AnalogCommands : public ui::CommandSet {
    Q_OBJECT
public:
    static constexpr int kSine = 32773, kRectangle = 32782, kDc = 32783, kRamp = 32784, kExp = 32785,
                         kNoise = 32786, kManual = 32787, kExternal = 32793;

    AnalogCommands(const ui::CommandEnv& env, QObject* parent = nullptr);

    std::vector<int> commandIds() const override;
    void run(int id) override;

private:
    template <class Editor, class Operation>
    void runEditor(Operation operation);
};

}  // namespace lyr::analog
