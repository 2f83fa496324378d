#include "digital/ui/digital_edit_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lyr::digital {

void fillChannelBox(QComboBox* box) {
    for (int k = 0; k < kChannels; ++k) box->addItem(QStringLiteral("CH%1").arg(k));
}

DigitalEditDialog::DigitalEditDialog(DigitalEditFrame& form, const Options& options, QWidget* parent)
    : FieldRowDialog(form, {"置換", "OR", "AND", "XOR"}, parent), form_(form), options_(options) {
    if (options_.channelBox) {
        auto* channelRow = new QHBoxLayout;
        channel_ = new QComboBox(this);
        channel_->setObjectName(QStringLiteral("channel"));
        fillChannelBox(channel_);
        auto* label = new QLabel(QStringLiteral("編集ﾁｬﾈﾙ："), this);
        label->setBuddy(channel_);
        channel_->setAccessibleName(QStringLiteral("編集ﾁｬﾈﾙ"));
        channelRow->addSpacing(row(DigitalEditFrame::kStartField).marker->sizeHint().width() + 6);
        channelRow->addWidget(label);
        channelRow->addWidget(channel_);
        channelRow->addStretch(1);
        topLayout()->addLayout(channelRow);
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
    topLayout()->addWidget(group_);
}

const DigitalEditDialog::FieldRow& DigitalEditDialog::addFieldRow(int gridRow, std::size_t i, int column) {
    return addFieldRow(grid_, gridRow, i, column);
}

const DigitalEditDialog::FieldRow& DigitalEditDialog::addFieldRow(QGridLayout* grid, int gridRow, std::size_t i,
                                                                  int column) {
    placeRow(grid, gridRow, i, column);
    return row(i);
}

void DigitalEditDialog::finish() {
    if (options_.createButton) {
        QPushButton* create = makeCreateButton(group_);
        auto* row = new QHBoxLayout;
        row->addStretch(1);
        row->addWidget(create);
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
    boxColumn->addLayout(makeRangeLabels(box, 150));
    box->setFixedWidth(options_.preview.width());
    groupColumn_->addWidget(box, 0, Qt::AlignHCenter);
    grid_->setColumnStretch(grid_->columnCount(), 1);
    form_.setPreviewWidth(preview_->band().width());

    // Tab order as the rows read: edit start, the combining buttons, the
    // channel, then the group's rows and "作成".
    std::vector<QWidget*> order = startStops();
    if (channel_) order.push_back(channel_);
    for (std::size_t i = 1; i < form_.fieldCount(); ++i) appendRowStops(order, i);
    if (createButton()) order.push_back(createButton());
    setTabChain(order);
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
    FieldRowDialog::showForm();
    showing_ = true;
    if (channel_ && channel_->currentIndex() != form_.channel()) channel_->setCurrentIndex(form_.channel());
    showing_ = false;
}

void DigitalEditDialog::showPreview() {
    if (preview_) preview_->update();
}

}  // namespace lyr::digital
