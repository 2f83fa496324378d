#include "analog/ui/equation_dlg.h"
#include "document/ui/ui_text.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace lyr::analog {

namespace {
const char* const kHelp =
    "変数: t (秒), i, Ts, T, pi\n"
    "関数: sin cos tan exp log sqrt abs sign min max floor pow\n"
    "square(位相) triangle(位相) noise()  比較: < > == ?:";
}

CEquationDlg::CEquationDlg(EquationForm& form, QWidget* parent)
    : AnalogEditDialog(form, parent, {AnalogEditFrame::kPeriodField, kOwnRow, kOwnRow, kOwnRow}), equation_(form) {
    QGridLayout* grid = leftGrid();
    // The expression: marker, label and a text as wide as the group.
    const FieldRow& e = row(EquationForm::kExpression);
    grid->addWidget(e.marker, ownRow(0), 0);
    grid->addWidget(e.label, ownRow(0), 1);
    grid->addWidget(e.edit, ownRow(0), 2, 1, 2);
    e.edit->setMinimumWidth(260);
    e.edit->setMaximumWidth(QWIDGETSIZE_MAX);
    if (e.unitText) e.unitText->hide();

    auto* historyLabel = new QLabel(QStringLiteral("履歴："), this);
    history_ = new QComboBox(this);
    history_->setObjectName(QStringLiteral("history"));
    history_->setAccessibleName(QStringLiteral("式の履歴"));
    history_->setMinimumWidth(260);
    for (const std::string& h : form.history()) history_->addItem(QString::fromStdString(h));
    history_->setCurrentIndex(-1);
    historyLabel->setBuddy(history_);
    grid->addWidget(historyLabel, ownRow(1), 1);
    grid->addWidget(history_, ownRow(1), 2, 1, 2);
    connect(history_, &QComboBox::activated, this, [this](int index) {
        if (index < 0) return;
        equation_.setText(EquationForm::kExpression, history_->itemText(index).toStdString());
        showForm();
    });

    auto* help = new QLabel(QString::fromUtf8(kHelp), this);
    help->setObjectName(QStringLiteral("help"));
    grid->addWidget(help, ownRow(2), 1, 1, 3);
    // The keyboard goes period, expression, history, then the create button.
    setTabOrder(row(AnalogEditFrame::kPeriodField).unitBox, e.edit);
    setTabOrder(e.edit, history_);
    showForm();
}

void CEquationDlg::showForm() {
    AnalogEditDialog::showForm();
    if (!history_) return;  // still being built
    const QString why = ui::tr(equation_.expressionError());
    expressionMarker()->setToolTip(why);
    expressionMarker()->setAccessibleDescription(why);
}

}  // namespace lyr::analog
