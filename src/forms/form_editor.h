#pragma once
// Runs one editor form against the document's editor contract. The form is
// opened with the request (tracks, T, Ts, edit start, remembered settings);
// `drive` plays the user's part (a dialog's modal loop, a script of a test or
// of lyrtool) and returns whether the form may apply. An applied form hands
// what the document remembers and the range it used back to the document.
#include <functional>

#include "document/editor_contract.h"
#include "document/prompter.h"

namespace lyr::forms {

template <class Form>
class FormEditor : public document::Editor<typename Form::Settings> {
public:
    using Settings = typename Form::Settings;
    // drive(form) runs once the form is open; true when the form ended by an
    // apply. The memory message is told when the buffers cannot be reserved.
    FormEditor(Prompter& prompter, std::function<bool(Form&)> drive) : prompter_(prompter), drive_(std::move(drive)) {}

    bool run(document::EditRequest<Settings>& request, document::EditOutcome& outcome) override {
        Form form(prompter_);
        configure(form);
        // A form that remembers more than its settings record (a text, a
        // channel) takes the whole request; the others their record.
        if constexpr (requires { form.load(request); })
            form.load(request);
        else
            form.load(request.settings);
        if (!form.open(request.tracks, request.totalTime, request.samplingTime, request.start)) {
            prompter_.tell(form.memoryMessage(), PromptIcon::Warning);
            return false;
        }
        if (!drive_(form) || !form.accepted()) return false;
        if constexpr (requires { form.store(request); })
            form.store(request);
        else
            request.settings = form.settings();
        const std::int64_t ts = request.samplingTime;
        outcome.start = form.start() / ts * ts;
        outcome.period = form.period();
        return true;
    }

    // Called on the fresh form before it opens (e.g. a fixed noise seed, an
    // allocator that runs short).
    std::function<void(Form&)> configure = [](Form&) {};

private:
    Prompter& prompter_;
    std::function<bool(Form&)> drive_;
};

}  // namespace lyr::forms
