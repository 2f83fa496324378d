#include "document/ui/wave_time_dlg.h"

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
#include "document/ui/ui_text.h"

namespace lyr::document {

namespace {

// The form's texts as shown: in the chosen language.
QString qs(std::string_view s) { return ui::tr(QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()))); }

}  // namespace

CWaveTimeDlg::CWaveTimeDlg(std::int64_t requestedTotal, std::int64_t requestedSampling,
                           std::uint32_t requestedCount, QWidget* parent)
    : QDialog(parent), form_(requestedTotal, requestedSampling, requestedCount) {
    setWindowTitle(QStringLiteral("トータル時間の設定"));
    setFont(lyr::ui::japaneseUiFont());
    buildControls();
    showForm();
    totalEdit_->setFocus();
}

void CWaveTimeDlg::buildControls() {
    auto* top = new QVBoxLayout(this);

    // Input: the two modes, each with its own fields.
    auto* input = new QGroupBox(this);
    auto* grid = new QGridLayout(input);
    timeMode_ = new QRadioButton(QStringLiteral("時間入力"), input);
    timeMode_->setObjectName("timeMode");
    samplingMode_ = new QRadioButton(QStringLiteral("サンプリング入力"), input);
    samplingMode_->setObjectName("samplingMode");
    auto* modeGroup = new QButtonGroup(this);
    modeGroup->addButton(timeMode_, WaveTimeForm::TimeInput);
    modeGroup->addButton(samplingMode_, WaveTimeForm::SamplingInput);

    auto makeUnitList = [input](auto units, const char* name) {
        auto* box = new QComboBox(input);
        for (auto u : units) box->addItem(qs(u));
        box->setObjectName(name);
        return box;
    };

    totalEdit_ = new QLineEdit(input);
    totalEdit_->setObjectName("totalEdit");
    totalUnit_ = makeUnitList(kTotalTimeUnits, "totalUnit");
    totalUnit_->setAccessibleName(QStringLiteral("トータル時間の単位"));
    auto* totalLabel = new QLabel(QStringLiteral("トータル時間"), input);
    totalLabel->setBuddy(totalEdit_);

    samplingEdit_ = new QLineEdit(input);
    samplingEdit_->setObjectName("samplingEdit");
    samplingUnit_ = makeUnitList(kSamplingUnits, "samplingUnit");
    samplingUnit_->setAccessibleName(QStringLiteral("サンプリング時間の単位"));
    auto* samplingLabel = new QLabel(QStringLiteral("サンプリング時間"), input);
    samplingLabel->setBuddy(samplingEdit_);

    countEdit_ = new QLineEdit(input);
    countEdit_->setObjectName("countEdit");
    auto* countLabel = new QLabel(QStringLiteral("サンプリングデータ数"), input);
    countLabel->setBuddy(countEdit_);

    auto makeMark = [input](const char* name, const QString& accessible) {
        auto* mark = new QLabel(QStringLiteral("×"), input);
        mark->setObjectName(name);
        mark->setAccessibleName(accessible);
        mark->setStyleSheet(QStringLiteral("color: red;"));
        // Keeps its place while hidden so that the fields do not move.
        QSizePolicy keep = mark->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        mark->setSizePolicy(keep);
        mark->hide();
        return mark;
    };
    totalMark_ = makeMark("totalMark", QStringLiteral("トータル時間が不正です"));
    samplingMark_ = makeMark("samplingMark", QStringLiteral("サンプリング時間が不正です"));

    grid->addWidget(timeMode_, 0, 0);
    grid->addWidget(totalLabel, 0, 1);
    grid->addWidget(totalEdit_, 0, 2);
    grid->addWidget(totalUnit_, 0, 3);
    grid->addWidget(totalMark_, 0, 4);
    grid->addWidget(samplingMode_, 1, 0);
    grid->addWidget(samplingLabel, 1, 1);
    grid->addWidget(samplingEdit_, 1, 2);
    grid->addWidget(samplingUnit_, 1, 3);
    grid->addWidget(samplingMark_, 1, 4);
    grid->addWidget(countLabel, 2, 1);
    grid->addWidget(countEdit_, 2, 2);
    grid->setColumnStretch(2, 1);
    top->addWidget(input);

    // Candidates: three rows of four read-only texts.
    top->addWidget(candidates_.build(this, 3));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName("okButton");
    // Enter must not close the dialog, so OK is never the default button.
    ok_->setAutoDefault(false);
    ok_->setDefault(false);
    buttons->addWidget(ok_);
    top->addLayout(buttons);

    connect(modeGroup, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (updating_ || !on) return;
        form_.setMode(id);
        showForm();
        (id == WaveTimeForm::TimeInput ? totalEdit_ : samplingEdit_)->setFocus();
    });
    connect(totalEdit_, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (updating_) return;
        form_.setTotalText(t.toStdString());
        showForm();
    });
    connect(totalUnit_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (updating_) return;
        form_.setTotalUnit(i);
        showForm();
    });
    connect(samplingEdit_, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (updating_) return;
        form_.setSamplingText(t.toStdString());
        showForm();
    });
    connect(samplingUnit_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (updating_) return;
        form_.setSamplingUnit(i);
        showForm();
    });
    connect(countEdit_, &QLineEdit::textChanged, this, [this](const QString& t) {
        if (updating_) return;
        form_.setCountText(t.toStdString());
        showForm();
    });
    connect(candidates_.group(), &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (updating_ || !on) return;
        form_.selectCandidate(id);
        showForm();
    });
    connect(ok_, &QPushButton::clicked, this, &CWaveTimeDlg::accept);
}

void CWaveTimeDlg::showForm() {
    updating_ = true;
    timeMode_->setChecked(form_.mode() == WaveTimeForm::TimeInput);
    samplingMode_->setChecked(form_.mode() == WaveTimeForm::SamplingInput);
    auto setText = [](QLineEdit* e, const std::string& s) {
        QString q = QString::fromStdString(s);
        if (e->text() != q) e->setText(q);
    };
    setText(totalEdit_, form_.totalText());
    setText(samplingEdit_, form_.samplingText());
    setText(countEdit_, form_.countText());
    totalUnit_->setCurrentIndex(form_.totalUnit());
    samplingUnit_->setCurrentIndex(form_.samplingUnit());

    totalEdit_->setEnabled(form_.timeGroupEnabled());
    totalUnit_->setEnabled(form_.timeGroupEnabled());
    samplingEdit_->setEnabled(form_.samplingGroupEnabled());
    samplingUnit_->setEnabled(form_.samplingGroupEnabled());
    countEdit_->setEnabled(form_.samplingGroupEnabled());
    totalMark_->setVisible(form_.timeGroupEnabled() && !form_.inputValid());
    samplingMark_->setVisible(form_.samplingGroupEnabled() && !form_.inputValid());

    candidates_.show(form_);
    ok_->setEnabled(form_.okEnabled());
    updating_ = false;
}

void CWaveTimeDlg::accept() {
    if (!form_.accept()) return;
    QDialog::accept();
}

void CWaveTimeDlg::keyPressEvent(QKeyEvent* event) {
    if (!ui::takeEnterKey(event)) QDialog::keyPressEvent(event);
}

}  // namespace lyr::document
