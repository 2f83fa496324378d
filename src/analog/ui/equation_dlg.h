#pragma once
// "数式波形の作成": the shared frame widget over the equation form. The
// expression row spans the group; its "×" marker carries the parser's message
// as its tooltip, and the history box below puts an earlier expression back.
#include "analog/equation_form.h"
#include "analog/ui/analog_edit_dialog.h"

class QComboBox;

namespace lyr::analog {

class CEquationDlg : public AnalogEditDialog {
    Q_OBJECT
public:
    explicit CEquationDlg(EquationForm& form, QWidget* parent = nullptr);
    QLineEdit* expressionEdit() const { return row(EquationForm::kExpression).edit; }
    QLabel* expressionMarker() const { return row(EquationForm::kExpression).marker; }
    QComboBox* historyBox() const { return history_; }
    void showForm() override;

private:
    EquationForm& equation_;
    QComboBox* history_ = nullptr;
};

}  // namespace lyr::analog
