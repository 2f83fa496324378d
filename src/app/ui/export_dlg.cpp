#include "app/ui/export_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "document/ui/ui_text.h"

namespace lyr::app {

namespace ic = lyr::interchange;

namespace {

// The bar under the file row, drawn at once as the write goes on.
class BarProgress : public document::ReadProgress {
public:
    explicit BarProgress(QProgressBar* bar) : bar_(bar) {}
    void setPercent(int percent) override {
        bar_->setValue(percent);
        bar_->repaint();
    }

private:
    QProgressBar* bar_;
};

// The form's texts as shown: in the chosen language (a path stays as it is).
QString text(const std::string& s) { return ui::tr(s); }

}  // namespace

CExportDlg::CExportDlg(ic::ExportForm& form, FileDialogs& dialogs, Prompter& prompter, QWidget* parent)
    : QDialog(parent), form_(form), dialogs_(dialogs), prompter_(prompter) {
    setWindowTitle(QStringLiteral("エクスポート"));
    auto* grid = new QGridLayout;

    auto* formatLabel = new QLabel(QStringLiteral("形式(&F)："));
    format_ = new QComboBox;
    for (const auto& c : ic::ExportForm::formatChoices()) format_->addItem(QString::fromUtf8(c.label));
    format_->setAccessibleName(QStringLiteral("形式"));
    formatLabel->setBuddy(format_);
    grid->addWidget(formatLabel, 0, 0);
    grid->addWidget(format_, 0, 1, 1, 2);

    auto* content = new QGroupBox(QStringLiteral("内容"));
    analog_ = new QRadioButton(QStringLiteral("アナログ(&A)"));
    digital_ = new QRadioButton(QStringLiteral("ディジタル(&D)"));
    analog_->setAccessibleName(QStringLiteral("内容 アナログ"));
    digital_->setAccessibleName(QStringLiteral("内容 ディジタル"));
    digital_->setAccessibleDescription(QStringLiteral("NumPy 形式のときに選べます。CH0 ～ CH7 を 1 バイトにまとめます"));
    auto* contentRow = new QHBoxLayout(content);
    contentRow->addWidget(analog_);
    contentRow->addWidget(digital_);
    grid->addWidget(content, 1, 0, 1, 3);

    auto* range = new QGroupBox(QStringLiteral("範囲"));
    whole_ = new QRadioButton(QStringLiteral("波形全体(&W)"));
    markRange_ = new QRadioButton(QStringLiteral("カーソル～タイムマーク(&M)"));
    whole_->setAccessibleName(QStringLiteral("範囲 波形全体"));
    markRange_->setAccessibleName(QStringLiteral("範囲 カーソル～タイムマーク"));
    markRange_->setAccessibleDescription(QStringLiteral("タイムマークが設置されているときに選べます"));
    rangeText_ = new QLabel;
    auto* rangeBox = new QVBoxLayout(range);
    auto* rangeRow = new QHBoxLayout;
    rangeRow->addWidget(whole_);
    rangeRow->addWidget(markRange_);
    rangeBox->addLayout(rangeRow);
    rangeBox->addWidget(rangeText_);
    grid->addWidget(range, 2, 0, 1, 3);

    auto* fileLabel = new QLabel(QStringLiteral("ファイル名(&N)："));
    file_ = new QLineEdit;
    file_->setReadOnly(true);
    file_->setMinimumWidth(320);
    file_->setAccessibleName(QStringLiteral("ファイル名"));
    fileLabel->setBuddy(file_);
    browse_ = new QPushButton(QStringLiteral("参照(&B)..."));
    browse_->setAccessibleName(QStringLiteral("ファイル名を参照"));
    grid->addWidget(fileLabel, 3, 0);
    grid->addWidget(file_, 3, 1);
    grid->addWidget(browse_, 3, 2);

    progress_ = new QProgressBar;
    progress_->setRange(0, 100);
    progress_->setAccessibleName(QStringLiteral("書き込みの進み具合"));
    progress_->hide();
    grid->addWidget(progress_, 4, 0, 1, 3);

    buttons_ = new QDialogButtonBox;
    write_ = buttons_->addButton(QStringLiteral("書き出し"), QDialogButtonBox::AcceptRole);
    buttons_->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    auto* outer = new QVBoxLayout(this);
    outer->addLayout(grid);
    outer->addWidget(buttons_);

    format_->setCurrentIndex(form_.format());
    (form_.content() == ic::Content::Digital ? digital_ : analog_)->setChecked(true);
    (form_.range() == ic::ExportForm::Range::CursorToMark ? markRange_ : whole_)->setChecked(true);
    connect(format_, &QComboBox::currentIndexChanged, this, [this](int i) {
        form_.setFormat(i);
        refresh();
    });
    connect(digital_, &QRadioButton::toggled, this, [this](bool on) {
        form_.setContent(on ? ic::Content::Digital : ic::Content::Analog);
        refresh();
    });
    connect(markRange_, &QRadioButton::toggled, this, [this](bool on) {
        form_.setRange(on ? ic::ExportForm::Range::CursorToMark : ic::ExportForm::Range::Whole);
        refresh();
    });
    connect(browse_, &QPushButton::clicked, this, &CExportDlg::browse);
    connect(buttons_, &QDialogButtonBox::accepted, this, &CExportDlg::writeFile);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    refresh();
}

void CExportDlg::refresh() {
    analog_->setEnabled(form_.contentChoice());
    digital_->setEnabled(form_.contentChoice());
    if (!form_.contentChoice() && digital_->isChecked()) analog_->setChecked(true);
    markRange_->setEnabled(form_.markRange());
    const QString range = text(form_.rangeText());
    rangeText_->setText(range);
    rangeText_->setAccessibleName(ui::tr(QStringLiteral("書き出すサンプル ") + QString::fromStdString(form_.rangeText())));
    file_->setText(text(form_.path()));
    file_->setCursorPosition(file_->text().size());
    write_->setEnabled(form_.canWrite());
}

void CExportDlg::browse() {
    const auto& choice = form_.formatChoice();
    const std::string initial = form_.path().empty() ? std::string() : QFileInfo(text(form_.path())).fileName().toStdString();
    const auto chosen = dialogs_.saveFileName(choice.filter, choice.extension, initial);
    if (!chosen) return;
    if (QFileInfo::exists(text(*chosen)) &&
        prompter_.ask(*chosen + kOverwriteQuestion, PromptButtons::YesNo, PromptIcon::Warning) != PromptAnswer::Yes)
        return;
    form_.setPath(*chosen);
    refresh();
}

void CExportDlg::writeFile() {
    if (!form_.canWrite()) return;
    progress_->setValue(0);
    progress_->show();
    setEnabled(false);
    BarProgress bar(progress_);
    const bool written = form_.write(prompter_, &bar);
    setEnabled(true);
    progress_->hide();
    if (written) accept();
}

}  // namespace lyr::app
