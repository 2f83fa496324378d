#include "analog/ui/analog_edit_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "analog/ui/analog_graphs.h"

namespace lyr::analog {

namespace {

std::vector<std::size_t> generatorRows(const AnalogEditFrame& form) {
    std::vector<std::size_t> rows;
    for (std::size_t i = AnalogEditFrame::kPeriodField; i < form.fieldCount(); ++i) rows.push_back(i);
    return rows;
}

constexpr std::array<const char*, 4> kApplyTexts{"置換", "加算", "減算", "乗算"};

}  // namespace

AnalogEditDialog::AnalogEditDialog(AnalogEditFrame& form, QWidget* parent)
    : FieldRowDialog(form, kApplyTexts, parent), form_(form) {
    build(generatorRows(form));
}

AnalogEditDialog::AnalogEditDialog(AnalogEditFrame& form, QWidget* parent, const std::vector<std::size_t>& leftRows)
    : FieldRowDialog(form, kApplyTexts, parent), form_(form) {
    build(leftRows);
}

void AnalogEditDialog::build(const std::vector<std::size_t>& leftRows) {
    AnalogEditFrame& form = form_;
    // Every row exists from the start; an editor places the ones not in leftRows.
    for (std::size_t i = 0; i < form.fieldCount(); ++i) buildRow(i);

    // The group: fields on the left, preview on the right.
    auto* group = new QGroupBox(this);
    auto* groupLayout = new QHBoxLayout(group);
    grid_ = new QGridLayout;
    QGridLayout* grid = grid_;
    grid->setHorizontalSpacing(4);
    grid->setColumnMinimumWidth(0, 10);
    int r = 0;
    bool sketchPlaced = false;
    for (std::size_t i : leftRows) {
        if (i == kOwnRow) {
            ownRows_.push_back(r++);
            continue;
        }
        placeRow(grid, r++, i);
        if (i == AnalogEditFrame::kPeriodField && form.hasSketch() && !sketchPlaced) {
            sketch_ = new SketchView(form, group);
            grid->addWidget(sketch_, r++, 1, 1, 3, Qt::AlignLeft);
            sketchPlaced = true;
        }
    }
    QPushButton* create = makeCreateButton(group);
    grid->addWidget(create, r++, 1, 1, 3, Qt::AlignHCenter);
    nextRow_ = r;
    grid->setRowStretch(50, 1);
    groupLayout->addLayout(grid);

    right_ = new QVBoxLayout;
    QVBoxLayout* right = right_;
    graph_ = new PreviewGraph(form, group);
    right->addWidget(graph_);
    QHBoxLayout* labels = makeRangeLabels(group, 120);
    labels->insertSpacing(0, PreviewGraph::kTextMargin);
    right->addLayout(labels);
    right->addStretch(1);
    if (!form.hasSketch() && leftRows == generatorRows(form)) groupLayout->addSpacing(90);  // the noise graph sits further right
    groupLayout->addLayout(right);
    topLayout()->addWidget(group);

    // Tab order as the rows read: edit start, the apply buttons, then the group.
    std::vector<QWidget*> order = startStops();
    for (std::size_t i : leftRows)
        if (i != kOwnRow) appendRowStops(order, i);
    order.push_back(create);
    setTabChain(order);

    form_.setPlotRect(graph_->plotRect());
    if (sketch_) form_.setSketchRect(sketch_->plotRect());
    showForm();
}

void AnalogEditDialog::showPreview() { graph_->update(); }

}  // namespace lyr::analog
