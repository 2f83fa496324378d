#pragma once
// Runs a form's dialog modally as the document's editor: FormEditorT opens
// the form from the request and applies it, the dialog plays the user's part.
// Messages go to the given prompter, or to message boxes over the dialog
// while it is open.
#include <QDialog>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "document/editor_contract.h"
#include "document/ui/message_prompter.h"

namespace lyr::ui {

template <class Form, class Dialog, class FormEditorT>
class ModalDialogEditor : public document::Editor<typename Form::Settings> {
public:
    using Settings = typename Form::Settings;
    explicit ModalDialogEditor(QWidget* parent, Prompter* prompter = nullptr)
        : parent_(parent), boxes_(parent), prompter_(prompter) {}

    bool run(document::EditRequest<Settings>& request, document::EditOutcome& outcome) override {
        Prompter& p = prompter_ ? *prompter_ : boxes_;
        FormEditorT editor(p, [this](Form& form) {
            Dialog dialog(form, parent_);
            boxes_.setParent(&dialog);
            const bool applied = dialog.exec() == QDialog::Accepted;
            boxes_.setParent(parent_);
            return applied;
        });
        if constexpr (requires { editor.configure = configure; }) editor.configure = configure;
        return editor.run(request, outcome);
    }

    // Called on each fresh form before it opens, where the form editor takes
    // such a call (an allocator that runs short, a fixed noise seed).
    std::function<void(Form&)> configure = [](Form&) {};

private:
    QPointer<QWidget> parent_;
    MessagePrompter boxes_;
    Prompter* prompter_;
};

}  // namespace lyr::ui
