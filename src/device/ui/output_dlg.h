#pragma once
// COutputDlg: the modeless output window "波形出力". It presents
// OutputWindowForm: the nine radio groups with the unit's " *" marks, the
// repeat count, the status line, the unit's allocation and the three command
// buttons, with the transfer's progress and its "中止" button; its window
// timer drives the form's polls. With a device worker the unit is reached
// from a thread of the window's own and the window never waits on it.
#include <QDialog>
#include <QString>
#include <array>
#include <memory>

#include "device/output_window.h"
#include "document/prompter.h"
#include "document/syn_doc.h"

class QAbstractButton;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace lyr::device {

class COutputDlg : public QDialog, public document::OutputWindowLink {
    Q_OBJECT
public:
    COutputDlg(const D2xxApi& d2xx, Prompter& prompter, QWidget* parent = nullptr, bool deviceWorker = false);
    ~COutputDlg() override;

    // The opening steps; false when the window could not be made (the
    // message has been shown) and must be destroyed.
    bool openWindow(const OutputOpening& opening);
    OutputWindowForm& form() { return *form_; }

    // The document's side (OutputWindowLink).
    void bringOutputWindowToFront() override;
    void analogResolutionChanged(std::uint8_t analogResolution) override;
    void setOutputTitle(const QString& documentTitle);

    QPushButton* transferButton() const { return transfer_; }
    QPushButton* startStopButton() const { return startStop_; }
    QPushButton* forceStopButton() const { return forceStop_; }
    QPushButton* cancelButton() const { return cancel_; }
    QProgressBar* progressBar() const { return progress_; }
    QLineEdit* repeatEdit() const { return repeatEdit_; }
    QRadioButton* option(int group, int value) const { return options_[group][value]; }

signals:
    // Esc, the close box or the cancel command: the owner pulls the settings
    // and closes the window.
    void closeRequested();

public slots:
    // Shows the form's state in the controls.
    void showForm();
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    class WindowTimer;
    void buildControls();
    QGroupBox* buildGroup(int group, QWidget* parent);

    std::unique_ptr<WindowTimer> timer_;
    std::unique_ptr<DeviceExecutor> worker_;
    std::unique_ptr<OutputWindowForm> form_;
    std::array<std::array<QRadioButton*, 3>, kOutputGroupCount> options_{};
    std::array<QGroupBox*, kOutputGroupCount> groupBoxes_{};
    QLineEdit* repeatEdit_ = nullptr;
    QLabel* timesLabel_ = nullptr;
    QLineEdit* deviceRepeat_ = nullptr;
    QLineEdit* status_ = nullptr;
    QLabel* version_ = nullptr;
    QLabel* deviceResolution_ = nullptr;
    QLabel* deviceChannels_ = nullptr;
    QPushButton* transfer_ = nullptr;
    QPushButton* startStop_ = nullptr;
    QPushButton* forceStop_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    bool showing_ = false;
};

}  // namespace lyr::device
