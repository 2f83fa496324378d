#pragma once
// The shared frame widget of the analog editors: edit start, the four apply
// buttons, the group with the period, the sketch, the editor's own fields,
// "作成" and the preview graph with its range labels. It presents an
// AnalogEditFrame form and forwards every edit to it.
#include <QDialog>
#include <vector>

#include "analog/analog_edit_frame.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace lyr::analog {

class PreviewGraph;
class SketchView;

class AnalogEditDialog : public QDialog {
    Q_OBJECT
public:
    // The form must be open (AnalogEditFrame::open) before the dialog is built.
    AnalogEditDialog(AnalogEditFrame& form, QWidget* parent = nullptr);

    struct FieldRow {
        QLabel* marker = nullptr;
        QLabel* label = nullptr;
        QRadioButton* radio = nullptr;
        QLineEdit* edit = nullptr;
        QComboBox* unitBox = nullptr;
        QLabel* unitText = nullptr;
        QLineEdit* readoutUnit = nullptr;
    };
    const FieldRow& row(std::size_t field) const { return rows_[field]; }
    QPushButton* createButton() const { return create_; }
    QPushButton* applyButton(AnalogApplyMode mode) const { return apply_[static_cast<int>(mode)]; }
    QLabel* startLabel() const { return startLabel_; }
    QLabel* endLabel() const { return endLabel_; }
    PreviewGraph* graph() const { return graph_; }
    AnalogEditFrame& form() { return form_; }

    // Shows the form's state in the controls.
    void showForm();

private:
    FieldRow buildRow(std::size_t field);
    void apply(AnalogApplyMode mode);

    AnalogEditFrame& form_;
    std::vector<FieldRow> rows_;
    QPushButton* create_ = nullptr;
    QPushButton* apply_[4] = {};
    QLabel* startLabel_ = nullptr;
    QLabel* endLabel_ = nullptr;
    PreviewGraph* graph_ = nullptr;
    SketchView* sketch_ = nullptr;
    bool showing_ = false;
};

}  // namespace lyr::analog
