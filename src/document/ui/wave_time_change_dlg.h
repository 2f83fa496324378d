#pragma once
// CWaveTimeChangeDlg ("トータル時間の変更"): a new total time for the waveform at
// its own sampling time, with the two nearest sample counts. The widget only
// presents lyr::document::WaveTimeChangeForm.
#include <QDialog>
#include <array>
#include <cstdint>

#include "document/ui/time_candidate_rows.h"
#include "document/wave_time_change.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace lyr::document {

class CWaveTimeChangeDlg : public QDialog {
    Q_OBJECT
public:
    CWaveTimeChangeDlg(std::int64_t total, std::int64_t sampling, std::uint32_t count, QWidget* parent = nullptr);

    // After OK: the chosen candidate. Before, the values the dialog opened with.
    std::int64_t requestedTotal() const { return form_.requestedTotal(); }
    std::int64_t requestedSampling() const { return form_.requestedSampling(); }
    std::uint32_t requestedCount() const { return form_.requestedCount(); }
    const WaveTimeChangeForm& form() const { return form_; }

    QLineEdit* totalEdit() const { return totalEdit_; }
    QComboBox* totalUnit() const { return totalUnitList_; }
    QRadioButton* candidateButton(int row) const { return candidates_.button(row); }
    QLineEdit* candidateText(int row, int column) const { return candidates_.text(row, column); }
    QPushButton* okButton() const { return ok_; }

public slots:
    void accept() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void showForm();

    WaveTimeChangeForm form_;
    bool updating_ = false;
    QLineEdit* totalEdit_ = nullptr;
    QComboBox* totalUnitList_ = nullptr;
    QLabel* totalMark_ = nullptr;
    TimeCandidateRows candidates_;
    QPushButton* ok_ = nullptr;
};

}  // namespace lyr::document
