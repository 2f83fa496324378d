#include "document/ui/wave_time_change_dlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "document/quantities.h"
#include "document/ui/dialog_keys.h"
#include "document/ui/time_candidate_rows.h"
#include "document/ui/ui_fonts.h"

namespace lyr::document {

CWaveTimeChangeDlg::CWaveTimeChangeDlg(std::int64_t total, std::int64_t sampling, std::uint32_t count,
                                       QWidget* parent)
    : QDialog(parent), form_(total, sampling, count) {
    setWindowTitle(QStringLiteral("トータル時間の変更"));
    setFont(lyr::ui::japaneseUiFont());
    buildControls();
    showForm();
    totalEdit_->setFocus();
    totalEdit_->selectAll();
}

void CWaveTimeChangeDlg::buildControls() {
    auto* top = new QVBoxLayout(this);

    auto* input = new QGroupBox(this);
    auto* row = new QHBoxLayout(input);
    auto* label = new QLabel(QStringLiteral("トータル時間"), input);
    totalEdit_ = new QLineEdit(input);
    totalEdit_->setObjectName("totalEdit");
    label->setBuddy(totalEdit_);
    totalUnitList_ = new QComboBox(input);
    totalUnitList_->setObjectName("totalUnit");
    totalUnitList_->setAccessibleName(QStringLiteral("トータル時間の単位"));
    for (auto u : kTotalTimeUnits) totalUnitList_->addItem(QString::fromUtf8(u.data(), static_cast<qsizetype>(u.size())));
    totalMark_ = new QLabel(QStringLiteral("×"), input);
    totalMark_->setObjectName("totalMark");
    totalMark_->setAccessibleName(QStringLiteral("トータル時間が不正です"));
    totalMark_->setStyleSheet(QStringLiteral("color: red;"));
    QSizePolicy keep = totalMark_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    totalMark_->setSizePolicy(keep);
    row->addWidget(label);
    row->addWidget(totalEdit_, 1);
    row->addWidget(totalUnitList_);
    row->addWidget(totalMark_);
    top->addWidget(input);

    top->addWidget(candidates_.build(this, 2));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName("okButton");
    // Enter must not close the dialog, so OK is never the default button.
    ok_->setAutoDefault(false);
    ok_->setDefault(false);
    buttons->addWidget(ok_);
    top->addLayout(buttons);

    connect(totalEdit_, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (updating_) return;
        form_.setTotalText(t.toStdString());
        showForm();
    });
    connect(totalUnitList_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (updating_) return;
        form_.setTotalUnit(i);
        showForm();
    });
    connect(candidates_.group(), &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (updating_ || !on) return;
        form_.selectCandidate(id);
        showForm();
    });
    connect(ok_, &QPushButton::clicked, this, &CWaveTimeChangeDlg::accept);
}

void CWaveTimeChangeDlg::showForm() {
    updating_ = true;
    const QString text = QString::fromStdString(form_.totalText());
    if (totalEdit_->text() != text) totalEdit_->setText(text);
    totalUnitList_->setCurrentIndex(form_.totalUnit());
    totalMark_->setVisible(!form_.inputValid());
    candidates_.show(form_);
    ok_->setEnabled(form_.okEnabled());
    updating_ = false;
}

void CWaveTimeChangeDlg::accept() {
    if (!form_.accept()) return;
    QDialog::accept();
}

void CWaveTimeChangeDlg::keyPressEvent(QKeyEvent* event) {
    if (!ui::takeEnterKey(event)) QDialog::keyPressEvent(event);
}

}  // namespace lyr::document
