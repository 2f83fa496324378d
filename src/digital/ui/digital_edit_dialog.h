#pragma once
// The shared frame widget of the digital editors: the field-row dialog with
// the four combining buttons "置換", "OR", "AND", "XOR", the edit channel box
// (editors that have one), a group for the editor's own controls
// (fieldGrid()), "作成", the preview and its StartTime / EndTime readouts. It
// presents a DigitalEditFrame form.
// A concrete dialog adds its rows with addFieldRow() into fieldGrid(), then
// calls finish(); it extends showForm() for its own controls.
#include <vector>

#include "digital/digital_edit_frame.h"
#include "digital/ui/level_preview.h"
#include "forms/ui/field_row_dialog.h"

class QGroupBox;

namespace lyr::digital {

using forms::makeMarker;

class DigitalEditDialog : public forms::FieldRowDialog {
    Q_OBJECT
public:
    struct Options {
        bool channelBox = true;    // an edit channel box "編集ﾁｬﾈﾙ："
        bool createButton = true;  // "作成" under the editor's rows
        QSize preview{382, 90};
    };
    // The form must be open (DigitalEditFrame::open) before the dialog is built.
    DigitalEditDialog(DigitalEditFrame& form, const Options& options, QWidget* parent = nullptr);

    QPushButton* applyButton(DigitalApplyMode mode) const { return applyButtonAt(static_cast<int>(mode)); }
    QComboBox* channelBox() const { return channel_; }
    LevelPreview* preview() const { return preview_; }
    DigitalEditFrame& form() { return form_; }

    void showForm() override;

protected:
    // The group's grid for the editor's rows; the column layout is marker,
    // label, edit, unit.
    QGridLayout* fieldGrid() const { return grid_; }
    QGroupBox* group() const { return group_; }
    // The group's column: the grid, then what a dialog adds, then (finish)
    // "作成", the preview and its readouts.
    QVBoxLayout* groupColumn() const { return groupColumn_; }
    // Builds the row of a field of the form into the grid at the given row
    // (into fieldGrid() unless another grid is named).
    const FieldRow& addFieldRow(int gridRow, std::size_t field, int column = 0);
    const FieldRow& addFieldRow(QGridLayout* grid, int gridRow, std::size_t field, int column = 0);
    // After the rows: places "作成" and the preview, sets the tab order.
    void finish();
    // Layers of the preview; the default draws every buffer in the frame's colours.
    virtual std::vector<LevelPreview::Layer> previewLayers() const;
    bool applyMode(int mode) override { return form_.applyDigitalSegment(static_cast<DigitalApplyMode>(mode)); }
    void showPreview() override;

private:
    DigitalEditFrame& form_;
    Options options_;
    QComboBox* channel_ = nullptr;
    LevelPreview* preview_ = nullptr;
    QGroupBox* group_ = nullptr;
    QGridLayout* grid_ = nullptr;
    QVBoxLayout* groupColumn_ = nullptr;
};

// The channel names of the channel boxes, "CH0" ... "CH7".
void fillChannelBox(QComboBox* box);

}  // namespace lyr::digital
