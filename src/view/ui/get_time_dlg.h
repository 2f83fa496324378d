#pragma once
// CGetTimeDlg ("時間指定"): a position typed as a time from the start, the
// cursor, the time mark or the end. The logic is TimeEntryForm's.
#include <QDialog>
#include <array>

#include "view/time_entry.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace lyr::view {

class CGetTimeDlg : public QDialog {
    Q_OBJECT
public:
    explicit CGetTimeDlg(const TimeEntryRequest& request, QWidget* parent = nullptr);

    // Valid after the dialog ended with OK.
    std::uint32_t resultIndex() const { return resultIndex_; }
    const TimeEntryForm& form() const { return form_; }

    QLineEdit* timeEdit() const { return timeEdit_; }
    QComboBox* unitList() const { return unitList_; }
    QRadioButton* referenceOption(int i) const { return options_[i]; }
    QLineEdit* positionField(int i) const { return fields_[i]; }
    QPushButton* okButton() const { return ok_; }

public slots:
    void accept() override;

private:
    void refresh();

    TimeEntryForm form_;
    std::uint32_t resultIndex_ = 0;
    std::array<QRadioButton*, 4> options_{};
    std::array<QLineEdit*, 4> fields_{};
    QLineEdit* timeEdit_ = nullptr;
    QComboBox* unitList_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace lyr::view
