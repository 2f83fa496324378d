#pragma once
// The shared frame widget of the analog editors: edit start, the four apply
// buttons, the group with the period, the sketch, the editor's own fields,
// the button that makes the segment and the preview graph with its range
// labels. It presents an AnalogEditFrame form and forwards every edit to it.
// Editors with controls of their own place the frame's rows they want in the
// group and add the rest below (see the protected constructor).
#include <QDialog>
#include <limits>
#include <vector>

#include "analog/analog_edit_frame.h"

class QButtonGroup;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

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
    virtual void showForm();

protected:
    // In the group's left column: the rows of these fields in this order, a
    // free grid row for the editor's own controls at each kOwnRow, then the
    // button that makes the segment. The other rows are built but placed by
    // the editor (placeRow).
    static constexpr std::size_t kOwnRow = std::numeric_limits<std::size_t>::max();
    AnalogEditDialog(AnalogEditFrame& form, QWidget* parent, const std::vector<std::size_t>& leftRows);
    QGridLayout* leftGrid() const { return grid_; }
    int ownRow(std::size_t k) const { return ownRows_[k]; }
    int nextRow() const { return nextRow_; }
    QVBoxLayout* rightColumn() const { return right_; }
    void placeRow(QGridLayout* grid, int r, std::size_t field);
    // Widgets the editor adds go into the keyboard order after the group's rows.
    void appendTabStops(const std::vector<QWidget*>& widgets);

private:
    void build(const std::vector<std::size_t>& leftRows);
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
    QButtonGroup* radios_ = nullptr;
    QGridLayout* grid_ = nullptr;
    QVBoxLayout* right_ = nullptr;
    std::vector<int> ownRows_;
    int nextRow_ = 0;
    QWidget* lastTabStop_ = nullptr;
    bool showing_ = false;
};

}  // namespace lyr::analog
