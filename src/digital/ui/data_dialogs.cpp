#include "digital/ui/data_dialogs.h"
#include "document/ui/readout.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
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
#include <QRadioButton>
#include <QUrl>
#include <QVBoxLayout>
#include <limits>

namespace lyr::digital {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// Qt takes the patterns of a filter from its last parentheses, blank separated.
const QString kTextFilter = QStringLiteral("TXTﾌｧｲﾙ (*.txt *.csv);;すべてのﾌｧｲﾙ (*.*)");
const QString kWordFilter =
    QStringLiteral("TXTﾌｧｲﾙ (*.txt *.csv);;LYRﾌｧｲﾙ (*.lyr);;NPYﾌｧｲﾙ (*.npy);;VCDﾌｧｲﾙ (*.vcd);;すべてのﾌｧｲﾙ (*.*)");

// The longest dropped path that is read, in characters.
constexpr int kMaxDroppedPath = 1024;

// The bar under the source rows, drawn at once as the reading goes on.
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

}  // namespace

QString wordFileFilter() { return kWordFilter; }

DataSourceDialog::DataSourceDialog(DigitalEditFrame& form, EntrySource& source, const Options& options,
                                   const QString& filter, QWidget* parent)
    : DigitalEditDialog(form, options, parent), source_(source) {
    setAcceptDrops(true);
    chooseFile = [this, filter] {
        return QFileDialog::getOpenFileName(this, QStringLiteral("開く"), QString(), filter);
    };
}

int DataSourceDialog::addSourceRows(int r) {
    QGridLayout* grid = fieldGrid();

    auto* group = new QButtonGroup(this);
    const char* names[2] = {"直接入力", "ファイル"};
    for (int s = 0; s < 2; ++s) {
        sources_[s] = new QRadioButton(QString::fromUtf8(names[s]), this);
        sources_[s]->setObjectName(s == 0 ? QStringLiteral("sourceDirect") : QStringLiteral("sourceFile"));
        group->addButton(sources_[s], s);
    }
    connect(group, &QButtonGroup::idClicked, this, [this](int s) {
        if (showing_) return;
        source_.setSource(s);
        showForm();
    });

    textMarker_ = makeMarker(QStringLiteral("直接入力"), this);
    textMarker_->setObjectName(QStringLiteral("marker_text"));
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("edit_text"));
    text_->setAccessibleName(QStringLiteral("直接入力"));
    text_->setMinimumWidth(300);
    text_->setMaxLength(std::numeric_limits<int>::max());  // the text has no length limit
    connect(text_, &QLineEdit::textEdited, this, [this](const QString& t) {
        form().setText(source_.textField(), t.toStdString());
        showForm();
    });
    grid->addWidget(textMarker_, r, 0);
    grid->addWidget(sources_[0], r, 1);
    grid->addWidget(text_, r++, 2, 1, 4);

    path_ = new QLineEdit(this);
    path_->setObjectName(QStringLiteral("path"));
    path_->setReadOnly(true);
    ui::makeReadout(path_, QStringLiteral("ファイル名"));
    browse_ = new QPushButton(QStringLiteral("参照・読込"), this);
    browse_->setObjectName(QStringLiteral("browse"));
    browse_->setAutoDefault(false);
    connect(browse_, &QPushButton::clicked, this, [this] {
        const QString path = chooseFile();
        if (!path.isEmpty()) loadFile(path);
    });
    grid->addWidget(sources_[1], r, 1);
    grid->addWidget(path_, r, 2, 1, 3);
    grid->addWidget(browse_, r++, 5);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("progress"));
    progress_->setAccessibleName(QStringLiteral("読み込みの進み具合"));
    progress_->setRange(0, 100);
    progress_->setTextVisible(false);
    progress_->setMaximumHeight(12);
    QSizePolicy keep = progress_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    progress_->setSizePolicy(keep);
    progress_->hide();
    grid->addWidget(progress_, r++, 2, 1, 4);
    return r;
}

void DataSourceDialog::loadFile(const QString& path) {
    path_->setText(path);  // the caret at the end keeps the file name in view
    progress_->setValue(0);
    progress_->show();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    BarProgress bar(progress_);
    source_.loadFile(path.toStdString(), &bar, [] { QApplication::restoreOverrideCursor(); });
    progress_->hide();
    showForm();
}

void DataSourceDialog::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void DataSourceDialog::dropEvent(QDropEvent* e) {
    const QList<QUrl> urls = e->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return;
    const QString path = urls.first().toLocalFile();
    // A longer path would be cut and name another file: it is not read.
    if (path.size() > kMaxDroppedPath) return;
    e->acceptProposedAction();
    loadFile(path);
}

void DataSourceDialog::showForm() {
    DigitalEditDialog::showForm();
    if (!text_) return;
    showing_ = true;
    const FormField& f = form().field(source_.textField());
    if (text_->text() != q(f.text)) text_->setText(q(f.text));
    text_->setEnabled(f.enabled);
    textMarker_->setVisible(f.markerShown);
    sources_[source_.source()]->setChecked(true);
    const QString path = q(source_.path());
    if (path_->text() != path) path_->setText(path);
    browse_->setEnabled(source_.browseEnabled());
    showing_ = false;
}

// ---- serial ----

CDigitalSerialDlg::CDigitalSerialDlg(SerialForm& form, QWidget* parent)
    : DataSourceDialog(form, form, Options{}, kTextFilter, parent) {
    addFieldRow(0, DataSourceForm::kTime);
    addSourceRows(1);
    finish();
    setTabOrder(row(DataSourceForm::kTime).unitBox, sourceButton(0));
    setTabOrder(sourceButton(0), textEdit());
    setTabOrder(textEdit(), sourceButton(1));
    setTabOrder(sourceButton(1), pathEdit());
    setTabOrder(pathEdit(), browseButton());
    setTabOrder(browseButton(), createButton());
}

// ---- parallel ----

CDigitalParallelDlg::CDigitalParallelDlg(ParallelForm& form, QWidget* parent)
    : DataSourceDialog(form, form, Options{false, true, QSize(382, 36)}, kWordFilter, parent), parallel_(form) {
    addFieldRow(0, DataSourceForm::kTime);
    int r = addSourceRows(1);
    order_ = new QComboBox(this);
    order_->setObjectName(QStringLiteral("bitOrder"));
    order_->addItems({QStringLiteral("BIT7：CH7－BIT0：CH0"), QStringLiteral("BIT7：CH0－BIT0：CH7")});
    order_->setAccessibleName(QStringLiteral("ビット順"));
    auto* orderLabel = new QLabel(QStringLiteral("ビット順："), this);
    orderLabel->setBuddy(order_);
    fieldGrid()->addWidget(orderLabel, r, 1);
    fieldGrid()->addWidget(order_, r, 2, 1, 3);
    connect(order_, &QComboBox::currentIndexChanged, this, [this](int order) {
        if (showing_) return;
        parallel_.setBitOrder(order);
        showForm();
    });
    finish();

    // One row per channel above the readouts, in the place of the frame's
    // single preview: the check box that sends the result to it, and its segment.
    QWidget* box = preview()->parentWidget();
    auto* column = qobject_cast<QVBoxLayout*>(box->layout());
    auto* rows = new QGridLayout;
    rows->setVerticalSpacing(2);
    for (int k = 0; k < kChannels; ++k) {
        checks_[k] = new QCheckBox(QStringLiteral("CH%1").arg(k), box);
        checks_[k]->setObjectName(QStringLiteral("channel%1").arg(k));
        previews_[k] = new LevelPreview(QSize(382, 36), box);
        previews_[k]->setObjectName(QStringLiteral("preview%1").arg(k));
        previews_[k]->setAccessibleName(QStringLiteral("CH%1のプレビュー").arg(k));
        previews_[k]->layers = [this, k] {
            std::vector<LevelPreview::Layer> layers;
            const auto buffer = static_cast<std::size_t>(k);
            if (!parallel_.previewShown()) return layers;
            const bool current = parallel_.previewCurrent() && parallel_.bufferHighlighted(buffer);
            layers.push_back({&parallel_.previewColumns(buffer), levelColour(current ? kLevelCurrent : kLevelPale)});
            return layers;
        };
        rows->addWidget(checks_[k], k, 0);
        rows->addWidget(previews_[k], k, 1);
        connect(checks_[k], &QCheckBox::toggled, this, [this, k](bool on) {
            if (showing_) return;
            parallel_.setChannelChecked(k, on);
            showForm();
        });
    }
    preview()->hide();
    if (column) column->insertLayout(0, rows);
    box->setFixedWidth(382 + checks_[0]->sizeHint().width() + rows->horizontalSpacing() + 8);
    form.setPreviewWidth(previews_[0]->band().width());

    setTabOrder(row(DataSourceForm::kTime).unitBox, sourceButton(0));
    setTabOrder(sourceButton(0), textEdit());
    setTabOrder(textEdit(), sourceButton(1));
    setTabOrder(sourceButton(1), pathEdit());
    setTabOrder(pathEdit(), browseButton());
    setTabOrder(browseButton(), order_);
    setTabOrder(order_, createButton());
    QWidget* last = createButton();
    for (QCheckBox* c : checks_) {
        setTabOrder(last, c);
        last = c;
    }
    showForm();
}

void CDigitalParallelDlg::showForm() {
    DataSourceDialog::showForm();
    if (!order_) return;
    showing_ = true;
    if (order_->currentIndex() != parallel_.bitOrder()) order_->setCurrentIndex(parallel_.bitOrder());
    for (int k = 0; k < kChannels; ++k) {
        if (!checks_[k]) continue;
        checks_[k]->setChecked((parallel_.channelMask() >> k) & 1);
        previews_[k]->update();
    }
    showing_ = false;
}

}  // namespace lyr::digital
