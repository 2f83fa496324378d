#pragma once
// The shared frame widget of the analog editors: the field-row dialog with
// "置換", "加算", "減算", "乗算", the group with the period, the sketch, the
// editor's own fields, the button that makes the segment and the preview
// graph with its range labels. It presents an AnalogEditFrame form.
// Editors with controls of their own place the frame's rows they want in the
// group and add the rest below (see the protected constructor).
#include <limits>
#include <vector>

#include "analog/analog_edit_frame.h"
#include "forms/ui/field_row_dialog.h"

namespace lyr::analog {

class PreviewGraph;
class SketchView;

class AnalogEditDialog : public forms::FieldRowDialog {
    Q_OBJECT
public:
    // The form must be open (AnalogEditFrame::open) before the dialog is built.
    AnalogEditDialog(AnalogEditFrame& form, QWidget* parent = nullptr);

    QPushButton* applyButton(AnalogApplyMode mode) const { return applyButtonAt(static_cast<int>(mode)); }
    PreviewGraph* graph() const { return graph_; }
    AnalogEditFrame& form() { return form_; }

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

    bool applyMode(int mode) override { return form_.applySegment(static_cast<AnalogApplyMode>(mode)); }
    void showPreview() override;
    // The analog markers name the label alone, as their texts are translated.
    QString markerName(const FormField& field) const override { return QString::fromStdString(field.label); }

private:
    void build(const std::vector<std::size_t>& leftRows);

    AnalogEditFrame& form_;
    PreviewGraph* graph_ = nullptr;
    SketchView* sketch_ = nullptr;
    QGridLayout* grid_ = nullptr;
    QVBoxLayout* right_ = nullptr;
    std::vector<int> ownRows_;
    int nextRow_ = 0;
};

}  // namespace lyr::analog
