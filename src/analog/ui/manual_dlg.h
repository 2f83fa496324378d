#pragma once
// "波形の修正": the shared frame widget over the manual form, with the copy
// rows, the group "演算による修正" and strokes drawn on the graph.
#include "analog/manual_form.h"
#include "analog/ui/analog_edit_dialog.h"

namespace lyr::analog {

class CManualDlg : public AnalogEditDialog {
    Q_OBJECT
public:
    explicit CManualDlg(ManualForm& form, QWidget* parent = nullptr);
    QPushButton* modifyButton() const { return modify_; }
    QLabel* copyStartLabel() const { return copyStart_; }
    QLabel* copyEndLabel() const { return copyEnd_; }
    void showForm() override;

private:
    void redrawColumns(int first, int last);

    ManualForm& manual_;
    QPushButton* modify_ = nullptr;
    QLabel* copyStart_ = nullptr;
    QLabel* copyEnd_ = nullptr;
};

}  // namespace lyr::analog
