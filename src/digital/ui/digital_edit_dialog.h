#pragma once
// The shared frame widget of the digital editors: the edit start with its
// unit and "×" marker, the four combining buttons "置換", "OR", "AND", "XOR",
// the edit channel box (editors that have one), a group for the editor's own
// controls (fieldGrid()), "作成", the preview and its StartTime / EndTime
// readouts. It presents a DigitalEditFrame form and forwards every edit.
// A concrete dialog adds its rows with addFieldRow() into fieldGrid(), then
// calls finish(); it extends showForm() for its own controls.
#include <QDialog>
#include <vector>

#include "digital/digital_edit_frame.h"
#include "digital/ui/level_preview.h"

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace lyr::digital {

class DigitalEditDialog : public QDialog {
    Q_OBJECT
public:
    struct Options {
        bool channelBox = true;    // an edit channel box "編集ﾁｬﾈﾙ："
        bool createButton = true;  // "作成" under the editor's rows
        QSize preview{382, 90};
    };
    // The form must be open (DigitalEditFrame::open) before the dialog is built.
    DigitalEditDialog(DigitalEditFrame& form, const Options& options, QWidget* parent = nullptr);

    struct FieldRow {
        QLabel* marker = nullptr;
        QLabel* label = nullptr;
        QLineEdit* edit = nullptr;
        QComboBox* unitBox = nullptr;  // time fields
        QLabel* unitText = nullptr;    // fixed unit ("回")
    };
    const FieldRow& row(std::size_t field) const { return rows_.at(field); }
    QPushButton* createButton() const { return create_; }
    QPushButton* applyButton(DigitalApplyMode mode) const { return apply_[static_cast<int>(mode)]; }
    QComboBox* channelBox() const { return channel_; }
    QLabel* startLabel() const { return startLabel_; }
    QLabel* endLabel() const { return endLabel_; }
    LevelPreview* preview() const { return preview_; }
    DigitalEditFrame& form() { return form_; }

    // Shows the form's state in the controls.
    virtual void showForm();

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
    FieldRow& addFieldRow(int gridRow, std::size_t field, int column = 0);
    FieldRow& addFieldRow(QGridLayout* grid, int gridRow, std::size_t field, int column = 0);
    // After the rows: places "作成" and the preview, sets the tab order.
    void finish();
    // Layers of the preview; the default draws every buffer in the frame's colours.
    virtual std::vector<LevelPreview::Layer> previewLayers() const;
    virtual void apply(DigitalApplyMode mode);
    // While showForm() writes into the controls (their signals are ignored).
    bool showing_ = false;

private:
    FieldRow makeRow(std::size_t field);

    DigitalEditFrame& form_;
    Options options_;
    std::vector<FieldRow> rows_;
    QPushButton* create_ = nullptr;
    QPushButton* apply_[4] = {};
    QComboBox* channel_ = nullptr;
    QLabel* startLabel_ = nullptr;
    QLabel* endLabel_ = nullptr;
    LevelPreview* preview_ = nullptr;
    QGroupBox* group_ = nullptr;
    QGridLayout* grid_ = nullptr;
    QVBoxLayout* groupColumn_ = nullptr;
};

// The channel names of the channel boxes, "CH0" ... "CH7".
void fillChannelBox(QComboBox* box);
// "×" beside a field, keeping its room when hidden; accessible name
// "<name>の入力が正しくありません".
QLabel* makeMarker(const QString& name, QWidget* parent);

}  // namespace lyr::digital
