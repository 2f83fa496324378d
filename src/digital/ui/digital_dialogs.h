#pragma once
// The digital editors' dialogs: the clock editor CDigitalDlg and the
// modification editor CDigitalModifyDlg over the shared frame widget, the
// shift editor CDigitalShiftDlg and the swap editor CDigitalSwapDlg; and the
// editors the document runs them through.
#include <QDialog>

#include "digital/clock_form.h"
#include "forms/form_editor.h"
#include "digital/modify_form.h"
#include "digital/shift_form.h"
#include "digital/swap_form.h"
#include "digital/ui/digital_edit_dialog.h"
#include "document/ui/modal_dialog_editor.h"

class QButtonGroup;
class QRadioButton;

namespace lyr::digital {

class CDigitalDlg : public DigitalEditDialog {
    Q_OBJECT
public:
    explicit CDigitalDlg(ClockForm& form, QWidget* parent = nullptr);
    QComboBox* levelBox(int row) const { return levels_[row]; }
    void showForm() override;

private:
    ClockForm& clock_;
    QComboBox* levels_[2] = {};
};

class CDigitalShiftDlg : public QDialog {
    Q_OBJECT
public:
    explicit CDigitalShiftDlg(ShiftForm& form, QWidget* parent = nullptr);
    QLineEdit* shiftEdit() const { return edit_; }
    QComboBox* unitBox() const { return unit_; }
    QLabel* marker() const { return marker_; }
    QRadioButton* methodButton(int method) const { return methods_[method]; }
    QPushButton* executeButton() const { return execute_; }
    QPushButton* okButton() const { return ok_; }
    LevelPreview* preview() const { return preview_; }
    void showForm();

private:
    ShiftForm& form_;
    QLineEdit* edit_ = nullptr;
    QComboBox* unit_ = nullptr;
    QLabel* marker_ = nullptr;
    QRadioButton* methods_[3] = {};
    QPushButton* execute_ = nullptr;
    QPushButton* ok_ = nullptr;
    LevelPreview* preview_ = nullptr;
    bool showing_ = false;
};

class CDigitalSwapDlg : public QDialog {
    Q_OBJECT
public:
    explicit CDigitalSwapDlg(SwapForm& form, QWidget* parent = nullptr);
    QComboBox* boxA() const { return a_; }
    QComboBox* boxB() const { return b_; }
    QPushButton* okButton() const { return ok_; }

private:
    void showForm();
    SwapForm& form_;
    QComboBox* a_ = nullptr;
    QComboBox* b_ = nullptr;
    QPushButton* ok_ = nullptr;
    bool showing_ = false;
};

class CDigitalModifyDlg : public DigitalEditDialog {
    Q_OBJECT
public:
    explicit CDigitalModifyDlg(ModifyForm& form, QWidget* parent = nullptr);
    QComboBox* copyChannelBox() const { return copyChannel_; }
    QPushButton* copyButton() const { return copy_; }
    QPushButton* invertButton() const { return invert_; }
    QPushButton* shiftButton() const { return shift_; }
    QLabel* copyStartLabel() const { return copyStart_; }
    QLabel* copyEndLabel() const { return copyEnd_; }
    void showForm() override;

protected:
    std::vector<LevelPreview::Layer> previewLayers() const override;

private:
    void updateBand();
    ModifyForm& modify_;
    QComboBox* copyChannel_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* invert_ = nullptr;
    QPushButton* shift_ = nullptr;
    QLabel* copyStart_ = nullptr;
    QLabel* copyEnd_ = nullptr;
};

// The digital dialogs as the document's editors.
template <class Form, class Dialog>
using DigitalDialogEditor = ui::ModalDialogEditor<Form, Dialog, forms::FormEditor<Form>>;
using ClockDialogEditor = DigitalDialogEditor<ClockForm, CDigitalDlg>;
using ModifyDialogEditor = DigitalDialogEditor<ModifyForm, CDigitalModifyDlg>;
using ShiftDialogEditor = ui::ModalDialogEditor<ShiftForm, CDigitalShiftDlg, ShiftFormEditor>;
using SwapDialogEditor = ui::ModalDialogEditor<SwapForm, CDigitalSwapDlg, SwapFormEditor>;

}  // namespace lyr::digital
