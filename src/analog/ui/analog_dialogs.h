#pragma once
// The analog dialogs, each the shared frame widget over its form, and the
// editors the document runs them through.
#include <QPointer>

#include "analog/form_editor.h"
#include "analog/ui/analog_edit_dialog.h"
#include "analog/ui/external_dlg.h"
#include "analog/ui/manual_dlg.h"
#include "document/ui/message_prompter.h"

namespace lyr::analog {

class CSinDlg : public AnalogEditDialog {
    Q_OBJECT
public:
    explicit CSinDlg(SineForm& form, QWidget* parent = nullptr) : AnalogEditDialog(form, parent) {}
};

class CRectangleDlg : public AnalogEditDialog {
    Q_OBJECT
public:
    explicit CRectangleDlg(RectangleForm& form, QWidget* parent = nullptr) : AnalogEditDialog(form, parent) {}
};

class CDcDlg : public AnalogEditDialog {
    Q_OBJECT
public:
    explicit CDcDlg(DcForm& form, QWidget* parent = nullptr) : AnalogEditDialog(form, parent) {}
};

class CRampDlg : public AnalogEditDialog {
    Q_OBJECT
public:
    explicit CRampDlg(RampForm& form, QWidget* parent = nullptr) : AnalogEditDialog(form, parent) {}
};

class CExpDlg : public AnalogEditDialog {
    Q_OBJECT
public:
    explicit CExpDlg(ExpForm& form, QWidget* parent = nullptr) : AnalogEditDialog(form, parent) {}
};

class CNoiseDlg : public AnalogEditDialog {
    Q_OBJECT
public:
    explicit CNoiseDlg(NoiseForm& form, QWidget* parent = nullptr) : AnalogEditDialog(form, parent) {}
};

// Runs a dialog modally as the document's editor. Messages go to the given
// prompter, or to message boxes over the dialog when none is given.
template <class Form, class Dialog>
class DialogEditor : public document::Editor<typename Form::Settings> {
public:
    using Settings = typename Form::Settings;
    explicit DialogEditor(QWidget* parent, Prompter* prompter = nullptr)
        : parent_(parent), boxes_(parent), prompter_(prompter) {}

    bool run(document::EditRequest<Settings>& request, document::EditOutcome& outcome) override {
        Prompter& p = prompter_ ? *prompter_ : boxes_;
        FormEditor<Form> editor(p, [this](Form& form) {
            Dialog dialog(form, parent_);
            boxes_.setParent(&dialog);
            const bool applied = dialog.exec() == QDialog::Accepted;
            boxes_.setParent(parent_);
            return applied;
        });
        editor.configure = configure;
        return editor.run(request, outcome);
    }

    // Called on each fresh form before it opens (see FormEditor::configure).
    std::function<void(Form&)> configure = [](Form&) {};

private:
    QPointer<QWidget> parent_;
    ui::MessagePrompter boxes_;
    Prompter* prompter_;
};

using SineDialogEditor = DialogEditor<SineForm, CSinDlg>;
using RectangleDialogEditor = DialogEditor<RectangleForm, CRectangleDlg>;
using DcDialogEditor = DialogEditor<DcForm, CDcDlg>;
using RampDialogEditor = DialogEditor<RampForm, CRampDlg>;
using ExpDialogEditor = DialogEditor<ExpForm, CExpDlg>;
using NoiseDialogEditor = DialogEditor<NoiseForm, CNoiseDlg>;
using ManualDialogEditor = DialogEditor<ManualForm, CManualDlg>;
using ExternalDialogEditor = DialogEditor<ExternalForm, CExternalDlg>;

}  // namespace lyr::analog
