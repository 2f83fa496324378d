#pragma once
// Runs one digital editor form against the document's editor contract. The
// form is opened with the request (channel arrays, T, Ts, edit start, the
// remembered settings: Form::load(request)); `drive` plays the user's part (a
// dialog's modal loop, a test's or lyrtool's script) and returns whether the
// form may apply. An applied form stores what the document remembers back
// into the request (Form::store(request)) and reports the range it used.
#include <functional>

#include "digital/digital_edit_frame.h"
#include "document/editor_contract.h"

namespace lyr::digital {

template <class Form>
class DigitalFormEditor : public document::Editor<typename Form::Settings> {
public:
    using Settings = typename Form::Settings;
    DigitalFormEditor(Prompter& prompter, std::function<bool(Form&)> drive)
        : prompter_(prompter), drive_(std::move(drive)) {}

    bool run(document::EditRequest<Settings>& request, document::EditOutcome& outcome) override {
        Form form(prompter_);
        form.load(request);
        if (!form.open(request.tracks.digital, request.totalTime, request.samplingTime, request.start)) {
            prompter_.tell(form.memoryMessage(), PromptIcon::Warning);
            return false;
        }
        if (!drive_(form) || !form.accepted()) return false;
        form.store(request);
        const std::int64_t ts = request.samplingTime;
        outcome.start = form.start() / ts * ts;
        outcome.period = form.period();
        return true;
    }

private:
    Prompter& prompter_;
    std::function<bool(Form&)> drive_;
};

}  // namespace lyr::digital
