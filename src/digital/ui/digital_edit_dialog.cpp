#include "digital/ui/digital_edit_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/quantities.h"
#include "document/ui/ui_fonts.h"
#include "document/ui/readout.h"

namespace lyr::digital {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

void fillChannelBox(QComboBox* box) {
    for (int k = 0; k < kChannels; ++k) box->addItem(QStringLiteral("CH%1").arg(k));
}

QLabel* makeMarker(const QString& name, QWidget* parent) {
    auto* marker = new QLabel(QStringLiteral("×"), parent);
    marker->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    marker->setAccessibleName(name + QStringLiteral("の入力が正しくありません"));
    QSizePolicy keep = marker->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    marker->setSizePolicy(keep);
    return marker;
}

DigitalEditDialog::DigitalEditDialog(DigitalEditFrame& form, const Options& options, QWidget* parent)
    : QDialog(parent), form_(form), options_(options) {
    setWindowTitle(q(form.title()));
    setFont(ui::japaneseUiFont(9));
    rows_.resize(form.fieldCount());

    auto* top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize);

    // Edit start and the four combining buttons.
    auto* startRow = new QHBoxLayout;
    FieldRow& s = rows_[DigitalEditFrame::kStartField];
    s = makeRow(DigitalEditFrame::kStartField);
    startRow->addWidget(s.marker);
    startRow->addWidget(s.label);
    startRow->addWidget(s.edit);
    startRow->addWidget(s.unitBox);
    startRow->addSpacing(24);
    const char* texts[4] = {"置換", "OR", "AND", "XOR"};
    for (int m = 0; m < 4; ++m) {
        apply_[m] = new QPushButton(QString::fromUtf8(texts[m]), this);
        apply_[m]->setAutoDefault(false);
        apply_[m]->setObjectName(QStringLiteral("apply%1").arg(m));
        startRow->addWidget(apply_[m]);
        connect(apply_[m], &QPushButton::clicked, this, [this, m] { apply(static_cast<DigitalApplyMode>(m)); });
    }
    startRow->addStretch(1);
    top->addLayout(startRow);

    if (options_.channelBox) {
        auto* channelRow = new QHBoxLayout;
        channel_ = new QComboBox(this);
        channel_->setObjectName(QStringLiteral("channel"));
        fillChannelBox(channel_);
        auto* label = new QLabel(QStringLiteral("編集ﾁｬﾈﾙ："), this);
        label->setBuddy(channel_);
        channel_->setAccessibleName(QStringLiteral("編集ﾁｬﾈﾙ"));
        channelRow->addSpacing(s.marker->sizeHint().width() + 6);
        channelRow->addWidget(label);
        channelRow->addWidget(channel_);
        channelRow->addStretch(1);
        top->addLayout(channelRow);
        connect(channel_, &QComboBox::currentIndexChanged, this, [this](int index) {
            if (showing_) return;
            form_.setChannel(index);
            showForm();
        });
    }

    group_ = new QGroupBox(this);
    groupColumn_ = new QVBoxLayout(group_);
    grid_ = new QGridLayout;
    grid_->setHorizontalSpacing(4);
    groupColumn_->addLayout(grid_);
    top->addWidget(group_);
}

DigitalEditDialog::FieldRow DigitalEditDialog::makeRow(std::size_t i) {
    const FormField& f = form_.field(i);
    FieldRow row;
    const QString name = q(f.label) + q(f.symbol);  // "時間(t1)："
    QString bare = name;
    if (bare.endsWith(QStringLiteral("："))) bare.chop(1);
    row.marker = makeMarker(bare, this);
    row.edit = new QLineEdit(this);
    row.edit->setFixedWidth(90);
    row.edit->setAccessibleName(name);
    const QString key = q(f.key);
    row.edit->setObjectName(QStringLiteral("edit_") + key);
    row.marker->setObjectName(QStringLiteral("marker_") + key);
    row.label = new QLabel(name, this);
    row.label->setBuddy(row.edit);
    if (f.kind == FieldKind::Time) {
        row.unitBox = new QComboBox(this);
        for (auto u : document::kStandardTimeUnits) row.unitBox->addItem(QString::fromUtf8(u.data(), u.size()));
        row.unitBox->setAccessibleName(q(f.label) + QStringLiteral("の単位"));
        row.unitBox->setObjectName(QStringLiteral("unit_") + key);
        connect(row.unitBox, &QComboBox::currentIndexChanged, this, [this, i](int index) {
            if (showing_) return;
            form_.setUnit(i, index);
            showForm();
        });
    } else {
        row.unitText = new QLabel(q(f.unitText), this);
    }
    connect(row.edit, &QLineEdit::textEdited, this, [this, i](const QString& text) {
        form_.setText(i, text.toStdString());
        showForm();
    });
    return row;
}

DigitalEditDialog::FieldRow& DigitalEditDialog::addFieldRow(int gridRow, std::size_t i, int column) {
    return addFieldRow(grid_, gridRow, i, column);
}

DigitalEditDialog::FieldRow& DigitalEditDialog::addFieldRow(QGridLayout* grid, int gridRow, std::size_t i,
                                                            int column) {
    FieldRow& row = rows_[i];
    row = makeRow(i);
    grid->addWidget(row.marker, gridRow, column);
    grid->addWidget(row.label, gridRow, column + 1);
    grid->addWidget(row.edit, gridRow, column + 2);
    if (row.unitBox) grid->addWidget(row.unitBox, gridRow, column + 3);
    if (row.unitText) grid->addWidget(row.unitText, gridRow, column + 3);
    return row;
}

void DigitalEditDialog::finish() {
    if (options_.createButton) {
        create_ = new QPushButton(QStringLiteral("作成"), group_);
        create_->setAutoDefault(false);
        create_->setObjectName(QStringLiteral("create"));
        connect(create_, &QPushButton::clicked, this, [this] {
            form_.createSegment();
            showForm();
        });
        auto* row = new QHBoxLayout;
        row->addStretch(1);
        row->addWidget(create_);
        row->addStretch(1);
        groupColumn_->addLayout(row);
    }
    // The preview with its readouts under its two ends.
    auto* box = new QWidget(group_);
    auto* boxColumn = new QVBoxLayout(box);
    boxColumn->setContentsMargins(0, 0, 0, 0);
    preview_ = new LevelPreview(options_.preview, box);
    preview_->layers = [this] { return previewLayers(); };
    boxColumn->addWidget(preview_);
    auto* labels = new QHBoxLayout;
    startLabel_ = new QLabel(box);
    endLabel_ = new QLabel(box);
    startLabel_->setObjectName(QStringLiteral("startTime"));
    endLabel_->setObjectName(QStringLiteral("endTime"));
    ui::makeReadout(startLabel_, QStringLiteral("StartTime"));
    ui::makeReadout(endLabel_, QStringLiteral("EndTime"));
    startLabel_->setMinimumWidth(150);
    endLabel_->setMinimumWidth(150);
    endLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    labels->addWidget(startLabel_);
    labels->addStretch(1);
    labels->addWidget(endLabel_);
    boxColumn->addLayout(labels);
    box->setFixedWidth(options_.preview.width());
    groupColumn_->addWidget(box, 0, Qt::AlignHCenter);
    grid_->setColumnStretch(grid_->columnCount(), 1);
    form_.setPreviewWidth(preview_->band().width());

    // Tab order as the rows read: edit start, the combining buttons, the
    // channel, then the group's rows and "作成".
    std::vector<QWidget*> order;
    const FieldRow& s = rows_[DigitalEditFrame::kStartField];
    order.push_back(s.edit);
    order.push_back(s.unitBox);
    for (QPushButton* b : apply_) order.push_back(b);
    if (channel_) order.push_back(channel_);
    for (std::size_t i = 1; i < rows_.size(); ++i) {
        if (!rows_[i].edit) continue;
        order.push_back(rows_[i].edit);
        if (rows_[i].unitBox) order.push_back(rows_[i].unitBox);
    }
    if (create_) order.push_back(create_);
    for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
    showForm();
}

std::vector<LevelPreview::Layer> DigitalEditDialog::previewLayers() const {
    std::vector<LevelPreview::Layer> layers;
    if (!form_.previewShown()) return layers;
    for (std::size_t k = 0; k < form_.bufferCount(); ++k) {
        const bool current = form_.previewCurrent() && form_.bufferHighlighted(k);
        layers.push_back({&form_.previewColumns(k), levelColour(current ? kLevelCurrent : kLevelPale)});
    }
    return layers;
}

void DigitalEditDialog::showForm() {
    showing_ = true;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        FieldRow& row = rows_[i];
        if (!row.edit) continue;
        const FormField& f = form_.field(i);
        const QString text = q(f.text);
        if (row.edit->text() != text) row.edit->setText(text);
        if (row.unitBox && row.unitBox->currentIndex() != f.unit) row.unitBox->setCurrentIndex(f.unit);
        row.edit->setEnabled(f.enabled);
        if (row.unitBox) row.unitBox->setEnabled(f.enabled);
        row.marker->setVisible(f.markerShown);
    }
    if (channel_ && channel_->currentIndex() != form_.channel()) channel_->setCurrentIndex(form_.channel());
    if (create_) create_->setEnabled(form_.createEnabled());
    for (QPushButton* b : apply_) b->setEnabled(form_.applyEnabled());
    if (startLabel_) startLabel_->setText(q(form_.startLabel()));
    if (endLabel_) endLabel_->setText(q(form_.endLabel()));
    if (preview_) preview_->update();
    showing_ = false;
}

void DigitalEditDialog::apply(DigitalApplyMode mode) {
    if (form_.applyDigitalSegment(mode)) {
        accept();
        return;
    }
    showForm();  // cancelled at the question: the dialog stays open
}

}  // namespace lyr::digital
