#include "digital/ui/digital_dialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "document/quantities.h"
#include "document/ui/ui_fonts.h"
#include "document/ui/readout.h"
#include "document/ui/ui_text.h"
#include "forms/ui/stroke_margin.h"

namespace lyr::digital {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }

// "OK" and "キャンセル" in the platform's order, named for the tests.
QDialogButtonBox* okCancelButtons(QWidget* parent, QPushButton*& ok, QPushButton*& cancel) {
    auto* buttons = new QDialogButtonBox(parent);
    ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ok"));
    cancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cancel"));
    return buttons;
}

// What a title bar takes beside its caption: the icon, the close, minimise
// and maximise buttons and their margins.
constexpr int kTitleBarRoom = 140;

// Two readouts under the ends of a preview of the given width.
QWidget* readoutRow(QWidget* parent, int width, QLabel*& left, QLabel*& right, const QString& leftName,
                    const QString& rightName) {
    auto* box = new QWidget(parent);
    box->setFixedWidth(width);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    left = new QLabel(box);
    right = new QLabel(box);
    ui::makeReadout(left, leftName);
    ui::makeReadout(right, rightName);
    left->setObjectName(leftName);
    right->setObjectName(rightName);
    left->setMinimumWidth(150);
    right->setMinimumWidth(150);
    right->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    row->addWidget(left);
    row->addStretch(1);
    row->addWidget(right);
    return box;
}
}  // namespace

// ---- clock ---------------------------------------------------------------------

CDigitalDlg::CDigitalDlg(ClockForm& form, QWidget* parent)
    : DigitalEditDialog(form, Options{}, parent), clock_(form) {
    QGridLayout* grid = fieldGrid();
    for (int r = 0; r < 2; ++r) {
        const std::size_t field = r == 0 ? ClockForm::kT1 : ClockForm::kT2;
        addFieldRow(r, field);
        auto* box = new QComboBox(this);
        box->addItems({QStringLiteral("0"), QStringLiteral("1")});
        box->setObjectName(QStringLiteral("level%1").arg(r + 1));
        auto* label = new QLabel(QStringLiteral("レベル："), this);
        label->setBuddy(box);
        box->setAccessibleName(QStringLiteral("時間(t%1)のレベル").arg(r + 1));
        grid->addWidget(label, r, 4);
        grid->addWidget(box, r, 5);
        levels_[r] = box;
        connect(box, &QComboBox::currentIndexChanged, this, [this, r](int level) {
            if (showing_) return;
            if (r == 0)
                clock_.setLevel1(level);
            else
                clock_.setLevel2(level);
            showForm();
        });
    }
    addFieldRow(2, ClockForm::kRepeat);
    grid->setColumnMinimumWidth(4, 50);
    finish();
    setTabOrder(row(ClockForm::kT1).unitBox, levels_[0]);
    setTabOrder(levels_[0], row(ClockForm::kT2).edit);
    setTabOrder(row(ClockForm::kT2).unitBox, levels_[1]);
    setTabOrder(levels_[1], row(ClockForm::kRepeat).edit);
}

void CDigitalDlg::showForm() {
    DigitalEditDialog::showForm();
    showing_ = true;
    if (levels_[0]) levels_[0]->setCurrentIndex(clock_.level1() == 1 ? 1 : 0);
    if (levels_[1]) levels_[1]->setCurrentIndex(clock_.level2() == 1 ? 1 : 0);
    showing_ = false;
}

// ---- shift ----------------------------------------------------------------------

CDigitalShiftDlg::CDigitalShiftDlg(ShiftForm& form, QWidget* parent) : QDialog(parent), form_(form) {
    setWindowTitle(q(form.title()));
    setFont(ui::japaneseUiFont(9));
    auto* top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize);

    auto* shiftRow = new QHBoxLayout;
    marker_ = makeMarker(QStringLiteral("シフト時間"), this);
    marker_->setObjectName(QStringLiteral("marker_shift"));
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("edit_shift"));
    edit_->setFixedWidth(90);
    edit_->setAccessibleName(QStringLiteral("シフト時間："));
    auto* label = new QLabel(QStringLiteral("シフト時間："), this);
    label->setBuddy(edit_);
    unit_ = new QComboBox(this);
    unit_->setObjectName(QStringLiteral("unit_shift"));
    unit_->setAccessibleName(QStringLiteral("シフト時間の単位"));
    for (auto u : document::kStandardTimeUnits) unit_->addItem(QString::fromUtf8(u.data(), u.size()));
    execute_ = new QPushButton(QStringLiteral("実行"), this);
    execute_->setObjectName(QStringLiteral("execute"));
    execute_->setAutoDefault(false);
    shiftRow->addWidget(marker_);
    shiftRow->addWidget(label);
    shiftRow->addWidget(edit_);
    shiftRow->addWidget(unit_);
    shiftRow->addSpacing(16);
    shiftRow->addWidget(execute_);
    shiftRow->addStretch(1);
    top->addLayout(shiftRow);

    auto* methodRow = new QHBoxLayout;
    auto* group = new QButtonGroup(this);
    for (int m = 0; m < 3; ++m) {
        methods_[m] = new QRadioButton(QString::fromUtf8(ShiftForm::kMethodNames[m]), this);
        methods_[m]->setObjectName(QStringLiteral("method%1").arg(m));
        group->addButton(methods_[m], m);
        methodRow->addWidget(methods_[m]);
    }
    methodRow->addStretch(1);
    top->addLayout(methodRow);

    preview_ = new LevelPreview(QSize(382, 90), this);
    preview_->layers = [this] {
        return std::vector<LevelPreview::Layer>{{&form_.originalColumns(), levelColour(kLevelCopied)},
                                                {&form_.workingColumns(), levelColour(kLevelCurrent)}};
    };
    top->addWidget(preview_);
    QLabel *start = nullptr, *end = nullptr;
    top->addWidget(readoutRow(this, preview_->width(), start, end, QStringLiteral("StartTime"),
                              QStringLiteral("EndTime")));
    start->setText(q(form.startLabel()));
    end->setText(q(form.endLabel()));

    QPushButton* cancel = nullptr;
    QDialogButtonBox* buttons = okCancelButtons(this, ok_, cancel);
    top->addWidget(buttons);

    form_.setPreviewWidth(preview_->band().width());
    connect(edit_, &QLineEdit::textEdited, this, [this](const QString& t) {
        form_.setText(t.toStdString());
        showForm();
    });
    connect(unit_, &QComboBox::currentIndexChanged, this, [this](int u) {
        if (showing_) return;
        form_.setUnit(u);
        showForm();
    });
    connect(group, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (showing_ || !checked) return;
        form_.setMethod(id);
        showForm();
    });
    connect(execute_, &QPushButton::clicked, this, [this] {
        form_.execute();
        showForm();
    });
    connect(ok_, &QPushButton::clicked, this, [this] {
        form_.accept();
        if (form_.accepted()) accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(edit_, unit_);
    setTabOrder(unit_, execute_);
    setTabOrder(execute_, methods_[0]);
    showForm();
}

void CDigitalShiftDlg::showForm() {
    showing_ = true;
    const FormField& f = form_.shiftField();
    if (edit_->text() != q(f.text)) edit_->setText(q(f.text));
    if (unit_->currentIndex() != f.unit) unit_->setCurrentIndex(f.unit);
    marker_->setVisible(f.markerShown);
    methods_[form_.method()]->setChecked(true);
    execute_->setEnabled(form_.executeEnabled());
    ok_->setEnabled(form_.okEnabled());
    preview_->update();
    showing_ = false;
}


// ---- swap -----------------------------------------------------------------------

CDigitalSwapDlg::CDigitalSwapDlg(SwapForm& form, QWidget* parent) : QDialog(parent), form_(form) {
    setWindowTitle(QString::fromUtf8(SwapForm::kTitle));
    setFont(ui::japaneseUiFont(9));
    auto* top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize);
    auto* row = new QHBoxLayout;
    a_ = new QComboBox(this);
    b_ = new QComboBox(this);
    fillChannelBox(a_);
    fillChannelBox(b_);
    a_->setObjectName(QStringLiteral("swapA"));
    b_->setObjectName(QStringLiteral("swapB"));
    a_->setAccessibleName(QStringLiteral("入れ替えるチャネル1"));
    b_->setAccessibleName(QStringLiteral("入れ替えるチャネル2"));
    auto* arrow = new QLabel(QStringLiteral("⇔"), this);
    ui::makeReadout(arrow, QStringLiteral("入れ替え"));
    arrow->setAlignment(Qt::AlignCenter);
    arrow->setMinimumWidth(48);
    top->setContentsMargins(16, 16, 16, 12);
    row->addWidget(a_);
    row->addWidget(arrow);
    row->addWidget(b_);
    top->addLayout(row);
    // Wide enough for the caption beside the title bar's icon and buttons:
    // the two lists alone make a window that cuts it.
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    top->addStrut(QFontMetrics(titleFont).horizontalAdvance(windowTitle()) + kTitleBarRoom);
    QPushButton* cancel = nullptr;
    QDialogButtonBox* buttons = okCancelButtons(this, ok_, cancel);
    top->addWidget(buttons);
    connect(a_, &QComboBox::currentIndexChanged, this, [this](int v) {
        if (showing_) return;
        form_.setA(v);
        showForm();
    });
    connect(b_, &QComboBox::currentIndexChanged, this, [this](int v) {
        if (showing_) return;
        form_.setB(v);
        showForm();
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    showForm();
}

void CDigitalSwapDlg::showForm() {
    showing_ = true;
    a_->setCurrentIndex(form_.a());
    b_->setCurrentIndex(form_.b());
    showing_ = false;
}


// ---- modification ------------------------------------------------------------------

CDigitalModifyDlg::CDigitalModifyDlg(ModifyForm& form, QWidget* parent)
    : DigitalEditDialog(form, Options{true, false, QSize(382, 120)}, parent), modify_(form) {
    fieldGrid()->setColumnMinimumWidth(0, 10);
    QGridLayout* grid = fieldGrid();
    copyChannel_ = new QComboBox(this);
    copyChannel_->setObjectName(QStringLiteral("copyChannel"));
    fillChannelBox(copyChannel_);
    auto* label = new QLabel(QStringLiteral("ｺﾋﾟｰﾁｬﾈﾙ："), this);
    label->setBuddy(copyChannel_);
    copyChannel_->setAccessibleName(QStringLiteral("ｺﾋﾟｰﾁｬﾈﾙ"));
    grid->addWidget(label, 0, 1);
    grid->addWidget(copyChannel_, 0, 2);
    addFieldRow(1, ModifyForm::kCopyStart);
    addFieldRow(2, ModifyForm::kCopyPeriod);
    auto* buttons = new QHBoxLayout;
    copy_ = new QPushButton(QStringLiteral("コピー"), this);
    invert_ = new QPushButton(QStringLiteral("反転"), this);
    shift_ = new QPushButton(QStringLiteral("シフト"), this);
    copy_->setObjectName(QStringLiteral("copy"));
    invert_->setObjectName(QStringLiteral("invert"));
    shift_->setObjectName(QStringLiteral("shift"));
    for (QPushButton* b : {copy_, invert_, shift_}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    groupColumn()->addLayout(buttons);
    groupColumn()->addWidget(readoutRow(this, 382, copyStart_, copyEnd_, QStringLiteral("CopyStartTime"),
                                        QStringLiteral("CopyEndTime")),
                             0, Qt::AlignHCenter);

    connect(copyChannel_, &QComboBox::currentIndexChanged, this, [this](int c) {
        if (showing_) return;
        modify_.setCopyChannel(c);
        showForm();
    });
    connect(copy_, &QPushButton::clicked, this, [this] {
        copy_->setEnabled(false);  // while it runs
        modify_.pressCopy();
        showForm();
    });
    connect(invert_, &QPushButton::clicked, this, [this] {
        modify_.invertPiece();
        showForm();
    });
    connect(shift_, &QPushButton::clicked, this, [this] {
        modify_.shiftPiece([this](ShiftForm& f) {
            CDigitalShiftDlg dialog(f, this);
            return dialog.exec() == QDialog::Accepted;
        });
        showForm();
    });
    finish();
    setTabOrder(channelBox(), copyChannel_);
    setTabOrder(copyChannel_, row(ModifyForm::kCopyStart).edit);
    setTabOrder(row(ModifyForm::kCopyPeriod).unitBox, copy_);
    setTabOrder(copy_, invert_);
    setTabOrder(invert_, shift_);

    LevelPreview* p = preview();
    p->setAccessibleName(QStringLiteral("プレビュー（マウスで描画）"));
    updateBand();
    // A stroke may start up to 16 pixels around the band (17 to the right),
    // beyond the preview's own widget.
    new forms::StrokeMargin(p, {[this](QPoint pt) {
                                    if (!modify_.press(pt.x(), pt.y())) return false;
                                    preview()->update();
                                    return true;
                                },
                                [this](QPoint pt, bool held) {
                                    const bool was = modify_.drawing();
                                    modify_.move(pt.x(), pt.y(), held);
                                    if (!was || !modify_.drawing()) return;
                                    const QRect b = preview()->band();
                                    preview()->update(QRect(b.left() + modify_.dirtyFirst(), 0,
                                                            modify_.dirtyLast() - modify_.dirtyFirst() + 1,
                                                            preview()->height()));
                                },
                                [this] { modify_.release(); }});
    showForm();
}

void CDigitalModifyDlg::updateBand() {
    const QRect b = preview()->band();
    modify_.setBand({b.left(), b.top(), b.width(), b.height()});
}

std::vector<LevelPreview::Layer> CDigitalModifyDlg::previewLayers() const {
    if (!modify_.copied()) return {};
    return {{&modify_.previewColumns(ModifyForm::kCopied), levelColour(kLevelCopied)},
            {&modify_.previewColumns(ModifyForm::kEdited), levelColour(kLevelCurrent)}};
}

void CDigitalModifyDlg::showForm() {
    DigitalEditDialog::showForm();
    if (!copy_) return;  // still being built
    showing_ = true;
    if (copyChannel_->currentIndex() != modify_.copyChannel()) copyChannel_->setCurrentIndex(modify_.copyChannel());
    copyChannel_->setEnabled(!modify_.locked());
    copy_->setText(ui::tr(modify_.copyButtonText()));
    copy_->setEnabled(modify_.copyButtonEnabled());
    invert_->setEnabled(modify_.copied());
    shift_->setEnabled(modify_.copied());
    copyStart_->setText(q(modify_.copyStartLabel()));
    copyEnd_->setText(q(modify_.copyEndLabel()));
    showing_ = false;
}

}  // namespace lyr::digital
