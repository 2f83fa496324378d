#include "analog/ui/analog_edit_dialog.h"

#include <QAbstractButton>
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

#include "analog/ui/analog_graphs.h"
#include "document/quantities.h"
#include "document/ui/ui_fonts.h"
#include "document/ui/readout.h"
#include "document/ui/ui_text.h"

namespace lyr::analog {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

namespace {

std::vector<std::size_t> generatorRows(const AnalogEditFrame& form) {
    std::vector<std::size_t> rows;
    for (std::size_t i = AnalogEditFrame::kPeriodField; i < form.fieldCount(); ++i) rows.push_back(i);
    return rows;
}

}  // namespace

AnalogEditDialog::AnalogEditDialog(AnalogEditFrame& form, QWidget* parent) : QDialog(parent), form_(form) {
    build(generatorRows(form));
}

AnalogEditDialog::AnalogEditDialog(AnalogEditFrame& form, QWidget* parent, const std::vector<std::size_t>& leftRows)
    : QDialog(parent), form_(form) {
    build(leftRows);
}

void AnalogEditDialog::placeRow(QGridLayout* grid, int r, std::size_t i) {
    const FieldRow& fr = rows_[i];
    grid->addWidget(fr.marker, r, 0);
    grid->addWidget(fr.radio ? static_cast<QWidget*>(fr.radio) : fr.label, r, 1);
    if (fr.edit) grid->addWidget(fr.edit, r, 2);
    if (fr.unitBox) grid->addWidget(fr.unitBox, r, fr.edit ? 3 : 2);
    if (fr.unitText) grid->addWidget(fr.unitText, r, 3);
    if (fr.readoutUnit) grid->addWidget(fr.readoutUnit, r, 3);
}

void AnalogEditDialog::build(const std::vector<std::size_t>& leftRows) {
    AnalogEditFrame& form = form_;
    setWindowTitle(q(form.title()));
    setFont(ui::japaneseUiFont(9));
    rows_.resize(form.fieldCount());
    for (std::size_t i = 0; i < form.fieldCount(); ++i) rows_[i] = buildRow(i);

    auto* top = new QVBoxLayout(this);
    top->setSizeConstraint(QLayout::SetFixedSize);  // a dialog of fixed layout, like its template

    // Edit start and the four apply buttons.
    auto* startRow = new QHBoxLayout;
    const FieldRow& s = rows_[AnalogEditFrame::kStartField];
    startRow->addWidget(s.marker);
    startRow->addWidget(s.label);
    startRow->addWidget(s.edit);
    startRow->addWidget(s.unitBox);
    startRow->addSpacing(24);
    const char* applyTexts[4] = {"置換", "加算", "減算", "乗算"};
    for (int m = 0; m < 4; ++m) {
        apply_[m] = new QPushButton(QString::fromUtf8(applyTexts[m]), this);
        apply_[m]->setAutoDefault(false);
        apply_[m]->setObjectName(QStringLiteral("apply%1").arg(m));
        startRow->addWidget(apply_[m]);
        connect(apply_[m], &QPushButton::clicked, this, [this, m] { apply(static_cast<AnalogApplyMode>(m)); });
    }
    startRow->addStretch(1);
    top->addLayout(startRow);

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
    create_ = new QPushButton(q(form.createText()), group);
    create_->setAutoDefault(false);
    create_->setObjectName(QStringLiteral("create"));
    connect(create_, &QPushButton::clicked, this, [this] {
        create_->setEnabled(false);
        form_.createSegment();
        showForm();
    });
    grid->addWidget(create_, r++, 1, 1, 3, Qt::AlignHCenter);
    nextRow_ = r;
    grid->setRowStretch(50, 1);
    groupLayout->addLayout(grid);

    right_ = new QVBoxLayout;
    QVBoxLayout* right = right_;
    graph_ = new PreviewGraph(form, group);
    right->addWidget(graph_);
    auto* labels = new QHBoxLayout;
    labels->addSpacing(PreviewGraph::kTextMargin);
    startLabel_ = new QLabel(group);
    endLabel_ = new QLabel(group);
    startLabel_->setObjectName(QStringLiteral("startTime"));
    endLabel_->setObjectName(QStringLiteral("endTime"));
    ui::makeReadout(startLabel_, QStringLiteral("StartTime"));
    ui::makeReadout(endLabel_, QStringLiteral("EndTime"));
    startLabel_->setMinimumWidth(120);
    endLabel_->setMinimumWidth(120);
    endLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    labels->addWidget(startLabel_);
    labels->addStretch(1);
    labels->addWidget(endLabel_);
    right->addLayout(labels);
    right->addStretch(1);
    if (!form.hasSketch() && leftRows == generatorRows(form)) groupLayout->addSpacing(90);  // the noise graph sits further right
    groupLayout->addLayout(right);
    top->addWidget(group);

    // The radio group of the editor, if it has one.
    radios_ = new QButtonGroup(this);
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].radio) radios_->addButton(rows_[i].radio, form.field(i).radio);
    connect(radios_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (showing_ || !checked) return;
        form_.selectRadio(id);
        showForm();
    });

    // Tab order as the rows read: edit start, the apply buttons, then the group.
    std::vector<QWidget*> order;
    auto addRow = [&](const FieldRow& fr) {
        if (fr.radio) order.push_back(fr.radio);
        if (fr.edit && !fr.edit->isReadOnly()) order.push_back(fr.edit);
        if (fr.unitBox) order.push_back(fr.unitBox);
    };
    addRow(rows_[AnalogEditFrame::kStartField]);
    for (QPushButton* b : apply_) order.push_back(b);
    for (std::size_t i : leftRows)
        if (i != kOwnRow) addRow(rows_[i]);
    order.push_back(create_);
    for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
    lastTabStop_ = order.back();

    form_.setPlotRect(graph_->plotRect());
    if (sketch_) form_.setSketchRect(sketch_->plotRect());
    showForm();
}

void AnalogEditDialog::appendTabStops(const std::vector<QWidget*>& widgets) {
    for (QWidget* w : widgets) {
        setTabOrder(lastTabStop_, w);
        lastTabStop_ = w;
    }
}

AnalogEditDialog::FieldRow AnalogEditDialog::buildRow(std::size_t i) {
    const FormField& f = form_.field(i);
    FieldRow row;
    const QString name = q(f.label);
    row.marker = new QLabel(QStringLiteral("×"), this);
    row.marker->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    row.marker->setAccessibleName(name + QStringLiteral("の入力が正しくありません"));
    QSizePolicy keep = row.marker->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    row.marker->setSizePolicy(keep);
    const QString key = q(f.key);
    row.marker->setObjectName(QStringLiteral("marker_") + key);
    const bool hasEdit = f.kind != FieldKind::Option && f.kind != FieldKind::Choice;
    if (hasEdit) {
        row.edit = new QLineEdit(this);
        row.edit->setFixedWidth(90);
        row.edit->setAccessibleName(name + q(f.symbol));
        row.edit->setObjectName(QStringLiteral("edit_") + key);
    }
    if (f.radio >= 0) {
        row.radio = new QRadioButton(name + q(f.symbol), this);
        row.radio->setObjectName(QStringLiteral("radio_") + key);
    } else {
        row.label = new QLabel(name + q(f.symbol), this);
    }
    if (f.kind == FieldKind::Readout) {
        row.edit->setReadOnly(true);
        ui::makeReadout(row.edit, name);
        if (!f.unitText.empty()) {
            row.readoutUnit = new QLineEdit(this);
            row.readoutUnit->setReadOnly(true);
            row.readoutUnit->setFixedWidth(70);
            ui::makeReadout(row.readoutUnit, name + QStringLiteral("の単位"));
            row.readoutUnit->setObjectName(QStringLiteral("readoutUnit_") + key);
            row.label->setText(QString());
        }
    } else if (f.kind == FieldKind::Time || !f.choices.empty()) {
        row.unitBox = new QComboBox(this);
        if (f.choices.empty())
            for (auto u : document::kStandardTimeUnits) row.unitBox->addItem(QString::fromUtf8(u.data(), u.size()));
        else
            for (const auto& c : f.choices) row.unitBox->addItem(q(c));
        row.unitBox->setAccessibleName(f.kind == FieldKind::Choice ? name : name + QStringLiteral("の単位"));
        row.unitBox->setObjectName(QStringLiteral("unit_") + key);
        const bool timeUnits = f.choices.empty();
        connect(row.unitBox, &QComboBox::currentIndexChanged, this, [this, i, timeUnits](int index) {
            if (showing_) return;
            if (timeUnits)
                form_.setUnit(i, document::standardTimeUnit(index));
            else
                form_.setChoice(i, index);
            showForm();
        });
    } else if (hasEdit) {
        row.unitText = new QLabel(q(f.unitText), this);
    }
    if (row.label) row.label->setBuddy(row.edit ? static_cast<QWidget*>(row.edit) : row.unitBox);
    if (row.edit)
        connect(row.edit, &QLineEdit::textEdited, this, [this, i](const QString& text) {
            form_.setText(i, text.toStdString());
            showForm();
        });
    return row;
}

void AnalogEditDialog::showForm() {
    showing_ = true;
    bool anyChecked = false;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const FormField& f = form_.field(i);
        FieldRow& row = rows_[i];
        const QString text = q(f.text);
        if (row.edit && row.edit->text() != text) row.edit->setText(text);
        const int boxIndex = f.choices.empty() ? static_cast<int>(f.unit) : f.choice;
        if (row.unitBox && row.unitBox->currentIndex() != boxIndex) row.unitBox->setCurrentIndex(boxIndex);
        if (row.readoutUnit) row.readoutUnit->setText(q(f.unitText));
        if (row.edit && f.kind != FieldKind::Readout) row.edit->setEnabled(f.enabled);
        if (row.unitBox) row.unitBox->setEnabled(f.enabled);
        if (row.radio && form_.selectedRadio() == f.radio) {
            row.radio->setChecked(true);
            anyChecked = true;
        }
        row.marker->setVisible(f.markerShown);
    }
    if (!anyChecked && !radios_->buttons().isEmpty()) {
        // No choice at all: an exclusive group cannot uncheck its last button.
        radios_->setExclusive(false);
        for (QAbstractButton* b : radios_->buttons()) b->setChecked(false);
        radios_->setExclusive(true);
    }
    create_->setText(ui::tr(form_.createText()));  // "コピー" / "再コピー" follow the form
    create_->setEnabled(form_.createEnabled());
    for (QPushButton* b : apply_) b->setEnabled(form_.applyEnabled());
    startLabel_->setText(q(form_.startLabel()));
    endLabel_->setText(q(form_.endLabel()));
    graph_->update();
    showing_ = false;
}

void AnalogEditDialog::apply(AnalogApplyMode mode) {
    if (form_.applySegment(mode)) {
        accept();
        return;
    }
    showForm();  // cancelled at the confirmation: the dialog stays open
}

}  // namespace lyr::analog
