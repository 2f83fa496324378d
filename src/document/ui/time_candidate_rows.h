#pragma once
// The candidate rows the time dialogs share: per row a radio button "設定 N"
// and four read-only texts (total, sampling time, count, time error).
#include <array>
#include <vector>

#include "document/wave_time.h"

class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace lyr::document {

class TimeCandidateRows {
public:
    // The table of `rows` rows in a group box of `owner`; the buttons form
    // one group, each button's id is its row.
    QGroupBox* build(QWidget* owner, int rows);

    QButtonGroup* group() const { return group_; }
    QRadioButton* button(int row) const { return buttons_.at(static_cast<std::size_t>(row)); }
    QLineEdit* text(int row, int column) const {
        return texts_.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
    }

    // Shows each row of the form; no button is checked while none is selected.
    template <class Form>
    void show(const Form& form) {
        setExclusive(false);
        for (int r = 0; r < static_cast<int>(buttons_.size()); ++r)
            showRow(r, form.candidate(r), form.selectedCandidate() == r);
        setExclusive(true);
    }

private:
    void setExclusive(bool on);
    void showRow(int row, const TimeCandidate& c, bool selected);

    QButtonGroup* group_ = nullptr;
    std::vector<QRadioButton*> buttons_;
    std::vector<std::array<QLineEdit*, 4>> texts_;
};

}  // namespace lyr::document
