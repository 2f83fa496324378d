#pragma once
// "外部データの変換": the shared frame widget over the external form, with
// the file row ("参照・読込", a dropped file), the progress bar, the data
// count and the overview graph of the source.
#include <functional>

#include <QString>

#include "analog/external_form.h"
#include "analog/ui/analog_edit_dialog.h"
#include "document/block_reader.h"

class QProgressBar;

namespace lyr::analog {

class OverviewGraph;

class CExternalDlg : public AnalogEditDialog, private document::ReadProgress {
    Q_OBJECT
public:
    // The filter of "参照・読込".
    static const char* const kFileFilter;
    explicit CExternalDlg(ExternalForm& form, QWidget* parent = nullptr);

    QLineEdit* fileName() const { return fileName_; }
    QPushButton* browseButton() const { return browse_; }
    QProgressBar* progressBar() const { return progress_; }
    OverviewGraph* overview() const { return overview_; }
    QLabel* maxLabel() const { return max_; }
    QLabel* minLabel() const { return min_; }
    QLabel* originLabel() const { return origin_; }
    QLabel* durationLabel() const { return duration_; }
    // How "参照・読込" chooses the file (an open-file dialog unless replaced);
    // an empty answer reads nothing.
    std::function<QString()> chooseFile;
    // Reads a file as "参照・読込" or a drop does.
    void loadFile(const QString& path);
    void showForm() override;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void setPercent(int percent) override;

    ExternalForm& external_;
    QLineEdit* fileName_ = nullptr;
    QPushButton* browse_ = nullptr;
    QProgressBar* progress_ = nullptr;
    OverviewGraph* overview_ = nullptr;
    QLabel* max_ = nullptr;
    QLabel* min_ = nullptr;
    QLabel* origin_ = nullptr;
    QLabel* duration_ = nullptr;
};

}  // namespace lyr::analog
