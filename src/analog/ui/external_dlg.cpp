#include "analog/ui/external_dlg.h"

#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>

#include "analog/ui/analog_graphs.h"
#include "document/ui/readout.h"

namespace lyr::analog {

const char* const CExternalDlg::kFileFilter =
    "CSVﾌｧｲﾙ (*.csv *.txt);;LYRﾌｧｲﾙ (*.lyr);;SYNﾌｧｲﾙ (*.syn);;WAVﾌｧｲﾙ (*.wav);;NPYﾌｧｲﾙ (*.npy);;すべてのﾌｧｲﾙ (*.*)";

namespace {

constexpr std::size_t kMaxDroppedPath = 1024;

}  // namespace

CExternalDlg::CExternalDlg(ExternalForm& form, QWidget* parent)
    : AnalogEditDialog(form, parent,
                       {kOwnRow, kOwnRow, ExternalForm::kCount, ExternalForm::kInterval, kOwnRow, ExternalForm::kFrom,
                        ExternalForm::kFromIndex, AnalogEditFrame::kPeriodField, ExternalForm::kFactor,
                        ExternalForm::kOffset, ExternalForm::kInterpolation}),
      external_(form) {
    external_.setProgress(this);
    setAcceptDrops(true);

    // The file row and the progress bar.
    auto* fileLabel = new QLabel(QStringLiteral("ﾌｧｲﾙ名："), this);
    fileName_ = new QLineEdit(this);
    fileName_->setReadOnly(true);
    fileName_->setObjectName(QStringLiteral("fileName"));
    ui::makeReadout(fileName_, QStringLiteral("ﾌｧｲﾙ名"));
    fileName_->setMinimumWidth(220);
    fileLabel->setBuddy(fileName_);
    browse_ = new QPushButton(QStringLiteral("参照・読込"), this);
    browse_->setObjectName(QStringLiteral("browse"));
    browse_->setAutoDefault(false);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(fileName_, 1);
    fileRow->addWidget(browse_);
    leftGrid()->addWidget(fileLabel, ownRow(0), 1);
    // The path runs past the unit column, which keeps the width of its boxes.
    leftGrid()->addLayout(fileRow, ownRow(0), 2, 1, 3);
    leftGrid()->setColumnStretch(4, 1);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 100);
    progress_->setAccessibleName(QStringLiteral("読み込みの進み具合"));
    QSizePolicy keep = progress_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    progress_->setSizePolicy(keep);
    progress_->hide();
    leftGrid()->addWidget(progress_, ownRow(1), 1, 1, 4);

    // The overview with its value labels.
    auto* box = new QGridLayout;
    box->setHorizontalSpacing(4);
    box->setVerticalSpacing(0);
    max_ = new QLabel(this);
    min_ = new QLabel(this);
    origin_ = new QLabel(this);
    duration_ = new QLabel(this);
    ui::makeReadout(max_, QStringLiteral("MaxValue"));
    ui::makeReadout(min_, QStringLiteral("MinValue"));
    ui::makeReadout(origin_, QStringLiteral("0"));
    ui::makeReadout(duration_, QStringLiteral("ExtEndTime"));
    max_->setObjectName(QStringLiteral("maxValue"));
    min_->setObjectName(QStringLiteral("minValue"));
    origin_->setObjectName(QStringLiteral("origin"));
    duration_->setObjectName(QStringLiteral("extEndTime"));
    max_->setAlignment(Qt::AlignRight | Qt::AlignTop);
    min_->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    duration_->setAlignment(Qt::AlignRight);
    overview_ = new OverviewGraph(form, this);
    box->addWidget(max_, 0, 0);
    box->addWidget(min_, 1, 0);
    box->addWidget(overview_, 0, 1, 2, 2);
    box->addWidget(origin_, 2, 1, Qt::AlignLeft);
    box->addWidget(duration_, 2, 2, Qt::AlignRight);
    box->setColumnMinimumWidth(0, 44);
    leftGrid()->addLayout(box, ownRow(2), 1, 1, 3);

    // Eight characters to type; the intervals the program writes show whole.
    forms::limitTyping(row(ExternalForm::kInterval).edit, 8);
    appendTabStops({browse_});
    setTabOrder(row(AnalogEditFrame::kStartField).unitBox, fileName_);

    chooseFile = [this] {
        return QFileDialog::getOpenFileName(this, QString(), QString(), QString::fromUtf8(kFileFilter));
    };
    connect(browse_, &QPushButton::clicked, this, [this] {
        const QString path = chooseFile();
        if (!path.isEmpty()) loadFile(path);
    });
    external_.setOverviewRect(overview_->plotRect());
    showForm();
}

void CExternalDlg::loadFile(const QString& path) {
    fileName_->setText(path);
    fileName_->setCursorPosition(path.size());  // the end of the path in view
    progress_->setValue(0);
    progress_->show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    external_.loadSource(path.toStdString());
    QApplication::restoreOverrideCursor();
    progress_->hide();
    showForm();
}

void CExternalDlg::setPercent(int percent) {
    progress_->setValue(percent);
    progress_->repaint();
}

void CExternalDlg::showForm() {
    AnalogEditDialog::showForm();
    if (!fileName_) return;  // still being built
    const QString name = QString::fromStdString(external_.fileName());
    if (fileName_->text() != name) {
        fileName_->setText(name);
        fileName_->setCursorPosition(name.size());
    }
    max_->setText(QString::fromStdString(external_.maxLabel()));
    min_->setText(QString::fromStdString(external_.minLabel()));
    origin_->setText(QString::fromUtf8(external_.originLabel()));
    duration_->setText(QString::fromStdString(external_.durationLabel()));
    overview_->update();
}

void CExternalDlg::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CExternalDlg::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty()) return;
    const QString path = urls.first().toLocalFile();  // the first dropped file
    if (path.isEmpty() || path.toUtf8().size() > static_cast<qsizetype>(kMaxDroppedPath)) return;
    event->acceptProposedAction();
    loadFile(path);
}

}  // namespace lyr::analog
