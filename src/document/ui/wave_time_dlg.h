#pragma once
// CWaveTimeDlg ("トータル時間の設定"): the time base of a new waveform, from a
// total time or from a sampling time and count, with up to three candidates.
// The widget only presents lyr::document::WaveTimeForm.
#include <QDialog>
#include <array>
#include <cstdint>

#include "document/ui/time_candidate_rows.h"
#include "document/wave_time.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace lyr::document {

class CWaveTimeDlg : public QDialog {
    Q_OBJECT
public:
    CWaveTimeDlg(std::int64_t requestedTotal, std::int64_t requestedSampling,
                 std::uint32_t requestedCount, QWidget* parent = nullptr);

    // After OK: the chosen candidate. Before, the values the dialog opened with.
    std::int64_t requestedTotal() const { return form_.requestedTotal(); }
    std::int64_t requestedSampling() const { return form_.requestedSampling(); }
    std::uint32_t requestedCount() const { return form_.requestedCount(); }

    const WaveTimeForm& form() const { return form_; }

public slots:
    void accept() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void showForm();

    WaveTimeForm form_;
    bool updating_ = false;

    QRadioButton* timeMode_ = nullptr;
    QRadioButton* samplingMode_ = nullptr;
    QLineEdit* totalEdit_ = nullptr;
    QComboBox* totalUnit_ = nullptr;
    QLineEdit* samplingEdit_ = nullptr;
    QComboBox* samplingUnit_ = nullptr;
    QLineEdit* countEdit_ = nullptr;
    // "×" beside the field of the current mode while its text does not read.
    QLabel* totalMark_ = nullptr;
    QLabel* samplingMark_ = nullptr;
    TimeCandidateRows candidates_;
    QPushButton* ok_ = nullptr;
};

}  // namespace lyr::document
