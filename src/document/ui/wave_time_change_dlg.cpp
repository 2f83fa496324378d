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
#include "document/ui/ui_fonts.h"

namespace lyr::document {

namespace {
const char* const kColumnTitles[4] = {"トータル時間", "サンプリング時間", "サンプリングデータ数", "時間誤差"};
}  // namespace

CWaveTimeChangeDlg::CWaveTimeChangeDlg(std::int64_t total, std::uint32_t sampling, std::uint32_t count,
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

    auto* table = new QGroupBox(this);
    auto* grid = new QGridLayout(table);
    for (int c = 0; c < 4; ++c) {
        auto* head = new QLabel(QString::fromUtf8(kColumnTitles[c]), table);
        head->setAlignment(Qt::AlignCenter);
        grid->addWidget(head, 0, c + 1);
    }
    candidateGroup_ = new QButtonGroup(this);
    for (int r = 0; r < 2; ++r) {
        auto* b = new QRadioButton(QStringLiteral("設定 %1").arg(r + 1), table);
        b->setObjectName(QStringLiteral("candidate%1").arg(r));
        candidateButtons_[static_cast<std::size_t>(r)] = b;
        candidateGroup_->addButton(b, r);
        grid->addWidget(b, r + 1, 0);
        for (int c = 0; c < 4; ++c) {
            auto* t = new QLineEdit(table);
            t->setReadOnly(true);
            t->setFocusPolicy(Qt::ClickFocus);
            t->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            t->setObjectName(QStringLiteral("candidateText%1%2").arg(r).arg(c));
            t->setAccessibleName(QStringLiteral("設定 %1 %2").arg(r + 1).arg(QString::fromUtf8(kColumnTitles[c])));
            t->setMinimumWidth(c == 3 ? 150 : 120);
            candidateTexts_[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = t;
            grid->addWidget(t, r + 1, c + 1);
        }
    }
    top->addWidget(table);

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
    connect(candidateGroup_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
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
    // A group of exclusive buttons cannot show "none" while exclusive.
    candidateGroup_->setExclusive(false);
    for (int r = 0; r < 2; ++r) {
        const TimeCandidate& c = form_.candidate(r);
        QRadioButton* b = candidateButtons_[static_cast<std::size_t>(r)];
        b->setEnabled(c.enabled);
        b->setChecked(form_.selectedCandidate() == r);
        const std::string* texts[4] = {&c.totalText, &c.samplingText, &c.countText, &c.errorText};
        for (int k = 0; k < 4; ++k) {
            QLineEdit* e = candidateTexts_[static_cast<std::size_t>(r)][static_cast<std::size_t>(k)];
            const QString q = QString::fromStdString(*texts[k]);
            if (e->text() != q) e->setText(q);
        }
    }
    candidateGroup_->setExclusive(true);
    ok_->setEnabled(form_.okEnabled());
    updating_ = false;
}

void CWaveTimeChangeDlg::accept() {
    if (!form_.accept()) return;
    QDialog::accept();
}

void CWaveTimeChangeDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace lyr::document
