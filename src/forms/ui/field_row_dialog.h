#pragma once
// The dialog both edit families build on: the edit start row with its four
// apply buttons, one row of controls per field of the form (marker "×",
// label or radio button, edit, unit box or unit text), the button that makes
// the segment and the StartTime / EndTime readouts. It presents an EditFrame
// and forwards every edit to it; a dialog of a family places the rows, the
// preview and its own controls.
#include <QDialog>
#include <array>
#include <vector>

#include "forms/edit_frame.h"

class QButtonGroup;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace lyr::forms {

class FieldRowDialog : public QDialog {
    Q_OBJECT
public:
    struct FieldRow {
        QLabel* marker = nullptr;
        QLabel* label = nullptr;
        QRadioButton* radio = nullptr;
        QLineEdit* edit = nullptr;
        QComboBox* unitBox = nullptr;   // time units or the field's choices
        QLabel* unitText = nullptr;     // fixed unit ("V", "回")
        QLineEdit* readoutUnit = nullptr;
    };
    // The row of a field; empty where the dialog did not build it.
    const FieldRow& row(std::size_t field) const { return rows_.at(field); }
    QPushButton* createButton() const { return create_; }
    QLabel* startLabel() const { return startLabel_; }
    QLabel* endLabel() const { return endLabel_; }

    // Shows the form's state in the controls.
    virtual void showForm();

protected:
    // The form must be open before the dialog is built. applyTexts name the
    // four apply buttons beside the edit start, in the order of the modes.
    FieldRowDialog(EditFrame& form, const std::array<const char*, 4>& applyTexts, QWidget* parent);

    QVBoxLayout* topLayout() const { return top_; }
    QPushButton* applyButtonAt(int mode) const { return apply_[static_cast<std::size_t>(mode)]; }
    // Builds the controls of a field once and returns them.
    FieldRow& buildRow(std::size_t field);
    // Places a built row into a grid: marker, label or radio, edit, unit, from column on.
    void placeRow(QGridLayout* grid, int gridRow, std::size_t field, int column = 0);
    // The button that makes the segment, with the form's text.
    QPushButton* makeCreateButton(QWidget* parent);
    // The StartTime / EndTime readouts under the two ends of a preview.
    QHBoxLayout* makeRangeLabels(QWidget* parent, int minimumWidth);
    // Appends a row's keyboard stops: its radio, its edit unless read-only, its unit box.
    void appendRowStops(std::vector<QWidget*>& order, std::size_t field) const;
    // The edit start row's stops and the apply buttons.
    std::vector<QWidget*> startStops() const;
    // Chains the widgets in this keyboard order; later widgets follow with appendTabStops.
    void setTabChain(const std::vector<QWidget*>& order);
    void appendTabStops(const std::vector<QWidget*>& widgets);

    // The apply button of mode was pressed: true when the segment went into
    // the document (the dialog then closes).
    virtual bool applyMode(int mode) = 0;
    // Repaints the preview.
    virtual void showPreview() = 0;
    // What a field's "×" marker names: its label and symbol.
    virtual QString markerName(const FormField& field) const;

    // While showForm() writes into the controls (their signals are ignored).
    bool showing_ = false;

private:
    void apply(int mode);

    EditFrame& form_;
    std::vector<FieldRow> rows_;
    QVBoxLayout* top_ = nullptr;
    std::array<QPushButton*, 4> apply_{};
    QPushButton* create_ = nullptr;
    QLabel* startLabel_ = nullptr;
    QLabel* endLabel_ = nullptr;
    QButtonGroup* radios_ = nullptr;
    QWidget* lastTabStop_ = nullptr;
};

// "×" beside a field, keeping its room when hidden; accessible name
// "<name>の入力が正しくありません".
QLabel* makeMarker(const QString& name, QWidget* parent);

// Typing makes the text no longer than maxChars; a longer text the program
// sets stays whole (and can be shortened).
void limitTyping(QLineEdit* edit, int maxChars);

}  // namespace lyr::forms
