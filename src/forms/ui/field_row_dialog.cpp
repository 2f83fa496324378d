#include "forms/ui/field_row_dialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QValidator>
#include <QVBoxLayout>

#include "document/quantities.h"
#include "document/ui/readout.h"
#include "document/ui/ui_fonts.h"
#include "document/ui/ui_text.h"

namespace lyr::forms {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

QLabel* makeMarker(const QString& name, QWidget* parent) {
    auto* marker = new QLabel(QStringLiteral("×"), parent);
    marker->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    marker->setAccessibleName(name + QStringLiteral("の入力が正しくありません"));
    QSizePolicy keep = marker->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    marker->setSizePolicy(keep);
    return marker;
}

namespace {

class TypingLimit : public QValidator {
public:
    TypingLimit(int maxChars, QObject* parent) : QValidator(parent), max_(maxChars) {}
    State validate(QString& text, int&) const override {
        return text.size() <= max_ ? Acceptable : Invalid;
    }

private:
    int max_;
};

}  // namespace

void limitTyping(QLineEdit* edit, int maxChars) { edit->setValidator(new TypingLimit(maxChars, edit)); }

FieldRowDialog::FieldRowDialog(EditFrame& form, const std::array<const char*, 4>& applyTexts, QWidget* parent)
    : QDialog(parent), form_(form) {
    setWindowTitle(q(form.title()));
    setFont(ui::japaneseUiFont(9));
    rows_.resize(form.fieldCount());

    top_ = new QVBoxLayout(this);
    top_->setSizeConstraint(QLayout::SetFixedSize);  // a dialog of fixed layout, like its template

    // Edit start and the four apply buttons.
    auto* startRow = new QHBoxLayout;
    const FieldRow& s = buildRow(EditFrame::kStartField);
    startRow->addWidget(s.marker);
    startRow->addWidget(s.label);
    startRow->addWidget(s.edit);
    startRow->addWidget(s.unitBox);
    startRow->addSpacing(24);
    for (int m = 0; m < 4; ++m) {
        auto* button = new QPushButton(QString::fromUtf8(applyTexts[static_cast<std::size_t>(m)]), this);
        button->setAutoDefault(false);
        button->setObjectName(QStringLiteral("apply%1").arg(m));
        startRow->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, m] { apply(m); });
        apply_[static_cast<std::size_t>(m)] = button;
    }
    startRow->addStretch(1);
    top_->addLayout(startRow);

    // The radio group of the editor's fields, if it has one.
    radios_ = new QButtonGroup(this);
    connect(radios_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (showing_ || !checked) return;
        form_.selectRadio(id);
        showForm();
    });
}

FieldRowDialog::FieldRow& FieldRowDialog::buildRow(std::size_t i) {
    FieldRow& row = rows_.at(i);
    if (row.marker) return row;
    const FormField& f = form_.field(i);
    const QString name = q(f.label) + q(f.symbol);  // "時間(t1)："
    const QString key = q(f.key);
    row.marker = makeMarker(markerName(f), this);
    row.marker->setObjectName(QStringLiteral("marker_") + key);
    const bool hasEdit = f.kind != FieldKind::Option && f.kind != FieldKind::Choice;
    if (hasEdit) {
        row.edit = new QLineEdit(this);
        row.edit->setFixedWidth(90);
        row.edit->setAccessibleName(name);
        row.edit->setObjectName(QStringLiteral("edit_") + key);
    }
    if (f.radio >= 0) {
        row.radio = new QRadioButton(name, this);
        row.radio->setObjectName(QStringLiteral("radio_") + key);
        radios_->addButton(row.radio, f.radio);
    } else {
        row.label = new QLabel(name, this);
    }
    if (f.kind == FieldKind::Readout) {
        row.edit->setReadOnly(true);
        ui::makeReadout(row.edit, q(f.label));
        if (!f.unitText.empty()) {
            row.readoutUnit = new QLineEdit(this);
            row.readoutUnit->setReadOnly(true);
            row.readoutUnit->setFixedWidth(70);
            ui::makeReadout(row.readoutUnit, q(f.label) + QStringLiteral("の単位"));
            row.readoutUnit->setObjectName(QStringLiteral("readoutUnit_") + key);
            row.label->setText(QString());
        }
    } else if (f.kind == FieldKind::Time || !f.choices.empty()) {
        row.unitBox = new QComboBox(this);
        if (f.choices.empty())
            for (auto u : document::kStandardTimeUnits) row.unitBox->addItem(QString::fromUtf8(u.data(), u.size()));
        else
            for (const auto& c : f.choices) row.unitBox->addItem(q(c));
        row.unitBox->setAccessibleName(f.kind == FieldKind::Choice ? q(f.label) : q(f.label) + QStringLiteral("の単位"));
        row.unitBox->setObjectName(QStringLiteral("unit_") + key);
        const bool timeUnits = f.choices.empty();
        connect(row.unitBox, &QComboBox::currentIndexChanged, this, [this, i, timeUnits](int index) {
            if (showing_) return;
            if (timeUnits)
                form_.setUnit(i, index);
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

QString FieldRowDialog::markerName(const FormField& f) const {
    QString name = q(f.label) + q(f.symbol);  // "時間(t1)": tells the rows of one label apart
    if (name.endsWith(QStringLiteral("："))) name.chop(1);
    return name;
}

void FieldRowDialog::placeRow(QGridLayout* grid, int r, std::size_t i, int column) {
    const FieldRow& fr = buildRow(i);
    grid->addWidget(fr.marker, r, column);
    grid->addWidget(fr.radio ? static_cast<QWidget*>(fr.radio) : fr.label, r, column + 1);
    if (fr.edit) grid->addWidget(fr.edit, r, column + 2);
    if (fr.unitBox) grid->addWidget(fr.unitBox, r, column + (fr.edit ? 3 : 2));
    if (fr.unitText) grid->addWidget(fr.unitText, r, column + 3);
    if (fr.readoutUnit) grid->addWidget(fr.readoutUnit, r, column + 3);
}

QPushButton* FieldRowDialog::makeCreateButton(QWidget* parent) {
    create_ = new QPushButton(q(form_.createText()), parent);
    create_->setAutoDefault(false);
    create_->setObjectName(QStringLiteral("create"));
    connect(create_, &QPushButton::clicked, this, [this] {
        create_->setEnabled(false);  // a long creation is not started twice
        form_.createSegment();
        showForm();
    });
    return create_;
}

QHBoxLayout* FieldRowDialog::makeRangeLabels(QWidget* parent, int minimumWidth) {
    auto* labels = new QHBoxLayout;
    startLabel_ = new QLabel(parent);
    endLabel_ = new QLabel(parent);
    startLabel_->setObjectName(QStringLiteral("startTime"));
    endLabel_->setObjectName(QStringLiteral("endTime"));
    ui::makeReadout(startLabel_, QStringLiteral("StartTime"));
    ui::makeReadout(endLabel_, QStringLiteral("EndTime"));
    startLabel_->setMinimumWidth(minimumWidth);
    endLabel_->setMinimumWidth(minimumWidth);
    endLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    labels->addWidget(startLabel_);
    labels->addStretch(1);
    labels->addWidget(endLabel_);
    return labels;
}

void FieldRowDialog::appendRowStops(std::vector<QWidget*>& order, std::size_t i) const {
    const FieldRow& fr = rows_.at(i);
    if (fr.radio) order.push_back(fr.radio);
    if (fr.edit && !fr.edit->isReadOnly()) order.push_back(fr.edit);
    if (fr.unitBox) order.push_back(fr.unitBox);
}

std::vector<QWidget*> FieldRowDialog::startStops() const {
    std::vector<QWidget*> order;
    appendRowStops(order, EditFrame::kStartField);
    for (QPushButton* b : apply_) order.push_back(b);
    return order;
}

void FieldRowDialog::setTabChain(const std::vector<QWidget*>& order) {
    for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
    lastTabStop_ = order.empty() ? nullptr : order.back();
}

void FieldRowDialog::appendTabStops(const std::vector<QWidget*>& widgets) {
    for (QWidget* w : widgets) {
        if (lastTabStop_) setTabOrder(lastTabStop_, w);
        lastTabStop_ = w;
    }
}

void FieldRowDialog::showForm() {
    showing_ = true;
    bool anyChecked = false;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        FieldRow& row = rows_[i];
        if (!row.marker) continue;
        const FormField& f = form_.field(i);
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
    if (create_) {
        create_->setText(ui::tr(form_.createText()));  // "コピー" / "再コピー" follow the form
        create_->setEnabled(form_.createEnabled());
    }
    for (QPushButton* b : apply_) b->setEnabled(form_.applyEnabled());
    if (startLabel_) startLabel_->setText(q(form_.startLabel()));
    if (endLabel_) endLabel_->setText(q(form_.endLabel()));
    showPreview();
    showing_ = false;
}

void FieldRowDialog::apply(int mode) {
    if (applyMode(mode)) {
        accept();
        return;
    }
    showForm();  // cancelled at the confirmation: the dialog stays open
}

}  // namespace lyr::forms
