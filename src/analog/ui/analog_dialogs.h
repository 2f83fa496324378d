#pragma once
// The analog dialogs, each the shared frame widget over its form, and the
// editors the document runs them through.

#include "analog/analog_forms.h"
#include "forms/form_editor.h"
#include "analog/ui/analog_edit_dialog.h"
#include "analog/ui/external_dlg.h"
#include "analog/ui/manual_dlg.h"
#include "document/ui/modal_dialog_editor.h"

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

// A dialog run modally as the document's editor.
template <class Form, class Dialog>
using DialogEditor = ui::ModalDialogEditor<Form, Dialog, forms::FormEditor<Form>>;

using SineDialogEditor = DialogEditor<SineForm, CSinDlg>;
using RectangleDialogEditor = DialogEditor<RectangleForm, CRectangleDlg>;
using DcDialogEditor = DialogEditor<DcForm, CDcDlg>;
using RampDialogEditor = DialogEditor<RampForm, CRampDlg>;
using ExpDialogEditor = DialogEditor<ExpForm, CExpDlg>;
using NoiseDialogEditor = DialogEditor<NoiseForm, CNoiseDlg>;
using ManualDialogEditor = DialogEditor<ManualForm, CManualDlg>;
using ExternalDialogEditor = DialogEditor<ExternalForm, CExternalDlg>;

}  // namespace lyr::analog
