#include "view/ui/get_time_dlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "document/quantities.h"
#include "document/ui/readout.h"
#include "document/ui/ui_text.h"

namespace lyr::view {

CGetTimeDlg::CGetTimeDlg(const TimeEntryRequest& request, QWidget* parent)
    : QDialog(parent), form_(request) {
    setWindowTitle(QStringLiteral("時間指定"));
    if (!form_.caption().empty()) setWindowTitle(ui::tr(form_.caption()));

    auto* outer = new QVBoxLayout(this);
    auto* group = new QGroupBox(QStringLiteral("指定方法"), this);
    auto* grid = new QGridLayout(group);
    auto* buttons = new QButtonGroup(this);
    static const char* const kOptions[4] = {"開始点基準の絶対時間", "ｶｰｿﾙ基準の相対時間", "ﾀｲﾑﾏｰｸ基準の相対時間",
                                            "終了点基準の相対時間"};
    for (int i = 0; i < 4; ++i) {
        options_[i] = new QRadioButton(QString::fromUtf8(kOptions[i]), group);
        buttons->addButton(options_[i], i);
        fields_[i] = new QLineEdit(group);
        fields_[i]->setReadOnly(true);
        fields_[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        ui::makeReadout(fields_[i], QString::fromUtf8(kOptions[i]));
        fields_[i]->setMinimumWidth(140);
        grid->addWidget(options_[i], i, 0);
        grid->addWidget(fields_[i], i, 1);
        options_[i]->setEnabled(form_.referenceEnabled(static_cast<ReferencePoint>(i)));
    }
    options_[static_cast<int>(form_.reference())]->setChecked(true);
    outer->addWidget(group);

    auto* entry = new QHBoxLayout;
    timeEdit_ = new QLineEdit(this);
    timeEdit_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* label = new QLabel(QStringLiteral("指定時間："), this);
    label->setBuddy(timeEdit_);
    unitList_ = new QComboBox(this);
    for (auto u : document::kStandardTimeUnits) unitList_->addItem(QString::fromLatin1(u.data(), static_cast<int>(u.size())));
    unitList_->setCurrentIndex(-1);  // no unit until the user picks one
    unitList_->setAccessibleName(QStringLiteral("指定時間の単位"));
    entry->addWidget(label);
    entry->addWidget(timeEdit_, 1);
    entry->addWidget(unitList_);
    outer->addLayout(entry);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setDefault(true);
    row->addWidget(ok_);
    outer->addLayout(row);

    connect(buttons, &QButtonGroup::idClicked, this, [this](int id) {
        form_.setReference(static_cast<ReferencePoint>(id));
        refresh();
    });
    connect(unitList_, &QComboBox::currentIndexChanged, this, [this](int i) {
        form_.setUnit(i);
        refresh();
    });
    connect(timeEdit_, &QLineEdit::textChanged, this, [this](const QString& t) {
        form_.setText(t.toStdString());
        refresh();
    });
    connect(ok_, &QPushButton::clicked, this, &CGetTimeDlg::accept);
    refresh();
    timeEdit_->setFocus();
}

void CGetTimeDlg::refresh() {
    for (int i = 0; i < 4; ++i) fields_[i]->setText(QString::fromStdString(form_.fields()[i]));
    ok_->setEnabled(form_.okEnabled());
}

void CGetTimeDlg::accept() {
    std::uint32_t index = 0;
    if (!form_.accept(index)) return;  // OK stays disabled for such entries
    resultIndex_ = index;
    QDialog::accept();
}

}  // namespace lyr::view
