#pragma once
// The serial editor CDigitalSerialDlg and the parallel editor
// CDigitalParallelDlg over the shared frame widget (the bus-pattern editor
// shares their source rows): the entry time, the source pair "直接入力" / "ファイル" with the text field and the read-only path,
// "参照・読込", the progress bar of a file being read, files dropped on the
// dialog; the parallel editor adds the bit order and a check box and a
// preview per channel. The editors the document runs them through follow.
#include <QPointer>
#include <functional>

#include "digital/data_forms.h"
#include "digital/ui/digital_dialogs.h"

class QCheckBox;
class QProgressBar;

namespace lyr::digital {

// The file filter of the word files ("TXTﾌｧｲﾙ", "LYRﾌｧｲﾙ", "NPYﾌｧｲﾙ", "VCDﾌｧｲﾙ", "すべてのﾌｧｲﾙ").
QString wordFileFilter();

class DataSourceDialog : public DigitalEditDialog {
    Q_OBJECT
public:
    QRadioButton* sourceButton(int source) const { return sources_[source]; }
    QLineEdit* textEdit() const { return text_; }
    QLabel* textMarker() const { return textMarker_; }
    QLineEdit* pathEdit() const { return path_; }
    QPushButton* browseButton() const { return browse_; }
    QProgressBar* progressBar() const { return progress_; }
    void showForm() override;

    // Asks for the file to read ("" when cancelled); a file-open dialog with
    // the editor's filter unless a test replaces it.
    std::function<QString()> chooseFile;
    // Reads a file as "参照・読込" or a drop does.
    void loadFile(const QString& path);

protected:
    DataSourceDialog(DigitalEditFrame& form, EntrySource& source, const Options& options, const QString& filter,
                     QWidget* parent);
    // The source rows from the given grid row on; returns the next row.
    int addSourceRows(int gridRow);
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    EntrySource& source_;
    QRadioButton* sources_[2] = {};
    QLineEdit* text_ = nullptr;
    QLabel* textMarker_ = nullptr;
    QLineEdit* path_ = nullptr;
    QPushButton* browse_ = nullptr;
    QProgressBar* progress_ = nullptr;
};

class CDigitalSerialDlg : public DataSourceDialog {
    Q_OBJECT
public:
    explicit CDigitalSerialDlg(SerialForm& form, QWidget* parent = nullptr);
};

class CDigitalParallelDlg : public DataSourceDialog {
    Q_OBJECT
public:
    explicit CDigitalParallelDlg(ParallelForm& form, QWidget* parent = nullptr);
    QComboBox* bitOrderBox() const { return order_; }
    QCheckBox* channelCheck(int k) const { return checks_[k]; }
    LevelPreview* channelPreview(int k) const { return previews_[k]; }
    void showForm() override;

protected:
    // The channels are drawn in their own boxes.
    std::vector<LevelPreview::Layer> previewLayers() const override { return {}; }

private:
    ParallelForm& parallel_;
    QComboBox* order_ = nullptr;
    QCheckBox* checks_[kChannels] = {};
    LevelPreview* previews_[kChannels] = {};
};

using SerialDialogEditor = DigitalDialogEditor<SerialForm, CDigitalSerialDlg>;
using ParallelDialogEditor = DigitalDialogEditor<ParallelForm, CDigitalParallelDlg>;

}  // namespace lyr::digital
