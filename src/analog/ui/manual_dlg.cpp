#include "analog/ui/manual_dlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "analog/ui/analog_graphs.h"
#include "document/ui/readout.h"
#include "forms/ui/stroke_margin.h"

namespace lyr::analog {

CManualDlg::CManualDlg(ManualForm& form, QWidget* parent)
    : AnalogEditDialog(form, parent, {ManualForm::kCopyStart, ManualForm::kCopyPeriod}), manual_(form) {
    auto* group = new QGroupBox(QStringLiteral("演算による修正"), this);
    group->setObjectName(QStringLiteral("modifyGroup"));
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(4);
    grid->setColumnMinimumWidth(0, 10);
    std::vector<QWidget*> order;
    int r = 0;
    for (std::size_t i : {ManualForm::kGain, ManualForm::kShift, ManualForm::kDc, ManualForm::kUpper,
                          ManualForm::kLower}) {
        placeRow(grid, r++, i);
        order.push_back(row(i).radio);
        if (row(i).edit) order.push_back(row(i).edit);
    }
    modify_ = new QPushButton(QStringLiteral("修正実行"), group);
    modify_->setObjectName(QStringLiteral("modify"));
    modify_->setAutoDefault(false);
    grid->addWidget(modify_, r, 1, 1, 3, Qt::AlignHCenter);
    order.push_back(modify_);
    leftGrid()->addWidget(group, nextRow(), 0, 1, 4);
    appendTabStops(order);
    connect(modify_, &QPushButton::clicked, this, [this] {
        modify_->setEnabled(false);
        manual_.executeModification();
        showForm();
    });

    // The copy range above the graph, the edit range below it.
    auto* labels = new QHBoxLayout;
    labels->addSpacing(PreviewGraph::kTextMargin);
    copyStart_ = new QLabel(this);
    copyEnd_ = new QLabel(this);
    copyStart_->setObjectName(QStringLiteral("copyStartTime"));
    copyEnd_->setObjectName(QStringLiteral("copyEndTime"));
    ui::makeReadout(copyStart_, QStringLiteral("CopyStartTime"));
    ui::makeReadout(copyEnd_, QStringLiteral("CopyEndTime"));
    copyStart_->setMinimumWidth(120);
    copyEnd_->setMinimumWidth(120);
    copyEnd_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    labels->addWidget(copyStart_);
    labels->addStretch(1);
    labels->addWidget(copyEnd_);
    rightColumn()->insertLayout(0, labels);

    graph()->setCursor(Qt::CrossCursor);
    // A stroke may start in the margin around the plot, beyond the graph's own widget.
    new forms::StrokeMargin(
        graph(), {[this](QPoint p) {
                      int first = 0, last = 0;
                      if (!manual_.strokePress(p.x(), p.y(), first, last)) return false;
                      redrawColumns(first, last);
                      return true;
                  },
                  [this](QPoint p, bool held) {
                      int first = 0, last = 0;
                      if (!held)
                          manual_.strokeRelease();
                      else if (manual_.strokeMove(p.x(), p.y(), first, last))
                          redrawColumns(first, last);
                  },
                  [this] { manual_.strokeRelease(); }});
    showForm();
}

void CManualDlg::showForm() {
    AnalogEditDialog::showForm();
    if (!modify_) return;  // still being built
    modify_->setEnabled(manual_.modifyEnabled());
    copyStart_->setText(QString::fromStdString(manual_.copyStartLabel()));
    copyEnd_->setText(QString::fromStdString(manual_.copyEndLabel()));
}

void CManualDlg::redrawColumns(int first, int last) {
    graph()->update(QRect(first, 0, last - first + 1, graph()->height()));
}

}  // namespace lyr::analog
