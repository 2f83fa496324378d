#pragma once
// The status strip under the toolbar: time base, cursor, time-mark and
// interval readouts written by the view, and the four cursor step buttons.
// The bit-allocation selectors go into selectorArea().
#include <QWidget>
#include <array>

#include "view/readouts.h"

class QLineEdit;
class QPushButton;
class QGridLayout;

namespace lyr::view {

class StatusStrip : public QWidget {
    Q_OBJECT
public:
    explicit StatusStrip(QWidget* parent = nullptr);

    // Place for the two bit-allocation selectors, left in the untitled group:
    // "アナログ分解能" with its list in row 0, "ディジタルCH" in row 1
    // (label in column 0, list in column 1).
    QGridLayout* selectorArea() const { return selectorArea_; }

    void showReadouts(const Readouts& r, const std::string& mouseMinusCursor);

    QLineEdit* totalTimeField() const { return total_; }
    QLineEdit* samplingField() const { return sampling_; }
    QLineEdit* cursorTimeField() const { return cursorTime_; }
    QLineEdit* cursorVoltsField() const { return cursorVolts_; }
    QLineEdit* cursorLevelField(int ch) const { return cursorLevels_[ch]; }
    QLineEdit* markTimeField() const { return markTime_; }
    QLineEdit* markVoltsField() const { return markVolts_; }
    QLineEdit* markLevelField(int ch) const { return markLevels_[ch]; }
    QLineEdit* cursorMinusMarkField() const { return cursorMinusMark_; }
    QLineEdit* mouseMinusCursorField() const { return mouseMinusCursor_; }
    QPushButton* stepLeftButton() const { return stepLeft_; }
    QPushButton* stepRightButton() const { return stepRight_; }
    QPushButton* halfPageLeftButton() const { return halfLeft_; }
    QPushButton* halfPageRightButton() const { return halfRight_; }

signals:
    void stepLeft();
    void stepRight();
    void halfPageLeft();
    void halfPageRight();

private:
    QGridLayout* selectorArea_ = nullptr;
    QLineEdit* total_ = nullptr;
    QLineEdit* sampling_ = nullptr;
    QLineEdit* cursorTime_ = nullptr;
    QLineEdit* cursorVolts_ = nullptr;
    std::array<QLineEdit*, 8> cursorLevels_{};
    QLineEdit* markTime_ = nullptr;
    QLineEdit* markVolts_ = nullptr;
    std::array<QLineEdit*, 8> markLevels_{};
    QLineEdit* cursorMinusMark_ = nullptr;
    QLineEdit* mouseMinusCursor_ = nullptr;
    QPushButton* stepLeft_ = nullptr;
    QPushButton* stepRight_ = nullptr;
    QPushButton* halfLeft_ = nullptr;
    QPushButton* halfRight_ = nullptr;
};

}  // namespace lyr::view
