#pragma once
// "エクスポート": the format, what a NumPy array holds, the range and the file
// (through the save dialog of the file commands), then the write with its
// progress bar. The choices and the write are ExportForm's.
#include <QDialog>

#include "app/lifecycle.h"
#include "document/prompter.h"
#include "interchange/export_form.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace lyr::app {

class CExportDlg : public QDialog {
    Q_OBJECT
public:
    CExportDlg(interchange::ExportForm& form, FileDialogs& dialogs, Prompter& prompter, QWidget* parent = nullptr);

    QComboBox* formatBox() const { return format_; }
    QRadioButton* analogButton() const { return analog_; }
    QRadioButton* digitalButton() const { return digital_; }
    QRadioButton* wholeButton() const { return whole_; }
    QRadioButton* markButton() const { return markRange_; }
    QLabel* rangeReadout() const { return rangeText_; }
    QLineEdit* fileEdit() const { return file_; }
    QPushButton* browseButton() const { return browse_; }
    QPushButton* writeButton() const { return write_; }
    QProgressBar* progressBar() const { return progress_; }

    // "参照...": the save dialog, then the overwrite question for a file that exists.
    void browse();
    // "書き出し": writes and closes on success.
    void writeFile();

private:
    void refresh();

    interchange::ExportForm& form_;
    FileDialogs& dialogs_;
    Prompter& prompter_;
    QComboBox* format_ = nullptr;
    QRadioButton* analog_ = nullptr;
    QRadioButton* digital_ = nullptr;
    QRadioButton* whole_ = nullptr;
    QRadioButton* markRange_ = nullptr;
    QLabel* rangeText_ = nullptr;
    QLineEdit* file_ = nullptr;
    QPushButton* browse_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    QPushButton* write_ = nullptr;
};

}  // namespace lyr::app
