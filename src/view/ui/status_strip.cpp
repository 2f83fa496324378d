#include "view/ui/status_strip.h"
#include "document/ui/readout.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace lyr::view {

namespace {

// Widths in digits: times such as "-10.48576 mS" (the units and the point are
// narrower than digits), voltages "-1.0000 V", channel levels one digit.
constexpr int kTimeChars = 13;
constexpr int kVoltChars = 8;

// A right-aligned read-only readout whose label is its buddy.
QLineEdit* readout(QWidget* parent, const QString& accessible, int chars) {
    auto* e = new QLineEdit(parent);
    e->setReadOnly(true);
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    e->setFocusPolicy(Qt::TabFocus);
    ui::makeReadout(e, accessible);
    const QFontMetrics fm(e->font());
    // A one-digit level field needs only the frame around its digit.
    e->setFixedWidth(fm.horizontalAdvance(QLatin1Char('0')) * chars + (chars > 1 ? 12 : 8));
    return e;
}

QLabel* labelFor(QWidget* parent, const QString& text, QLineEdit* buddy) {
    auto* l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

// A time readout in the grid at (row, column + 1) with its
// label at (row, column).
QLineEdit* gridReadout(QWidget* parent, QGridLayout* grid, const QString& text, int row, int column) {
    QLineEdit* e = readout(parent, text, kTimeChars);
    grid->addWidget(labelFor(parent, text, e), row, column);
    grid->addWidget(e, row, column + 1);
    return e;
}

void setText(QLineEdit* e, const std::string& s) {
    const QString q = QString::fromStdString(s);
    if (e->text() != q) e->setText(q);
}

}  // namespace

StatusStrip::StatusStrip(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("StatusStrip"));
    setAccessibleName(QStringLiteral("ステータス"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(4);

    // Untitled group: selectors (placed by their owner) and the time base.
    auto* base = new QWidget(this);
    auto* baseGrid = new QGridLayout(base);
    baseGrid->setContentsMargins(0, 0, 0, 0);
    baseGrid->setHorizontalSpacing(4);
    baseGrid->setVerticalSpacing(2);
    // Two rows, as the other groups: selectors on the left, the time base on
    // the right, so that the strip stays narrow.
    selectorArea_ = new QGridLayout;
    selectorArea_->setContentsMargins(0, 0, 0, 0);
    baseGrid->addLayout(selectorArea_, 0, 0, 2, 1);
    total_ = gridReadout(base, baseGrid, QStringLiteral("トータル時間"), 0, 1);
    sampling_ = gridReadout(base, baseGrid, QStringLiteral("サンプリング"), 1, 1);
    row->addWidget(base);

    // Cursor and time-mark groups share one shape.
    auto makePointGroup = [&](const QString& title, QLineEdit*& time, QLineEdit*& volts,
                              std::array<QLineEdit*, 8>& levels, bool withButtons) {
        auto* box = new QGroupBox(title, this);
        auto* grid = new QGridLayout(box);
        grid->setContentsMargins(4, 2, 4, 2);
        grid->setHorizontalSpacing(3);
        grid->setVerticalSpacing(2);
        time = readout(box, title + QStringLiteral(" 時間"), kTimeChars);
        volts = readout(box, title + QStringLiteral(" 電圧"), kVoltChars);
        auto* top = new QHBoxLayout;
        top->setSpacing(3);
        top->addWidget(labelFor(box, QStringLiteral("時間"), time));
        top->addWidget(time);
        top->addWidget(labelFor(box, QStringLiteral("電圧"), volts));
        top->addWidget(volts);
        if (withButtons) {
            auto button = [&](const QString& text, const QString& name) {
                auto* b = new QPushButton(text, box);
                b->setAccessibleName(name);
                b->setToolTip(name);
                b->setFixedWidth(QFontMetrics(b->font()).horizontalAdvance(QStringLiteral("≪")) + 12);
                top->addWidget(b);
                return b;
            };
            stepLeft_ = button(QStringLiteral("←"), QStringLiteral("カーソルを一つ左へ"));
            stepRight_ = button(QStringLiteral("→"), QStringLiteral("カーソルを一つ右へ"));
            halfLeft_ = button(QStringLiteral("≪"), QStringLiteral("カーソルを半画面左へ"));
            halfRight_ = button(QStringLiteral("≫"), QStringLiteral("カーソルを半画面右へ"));
        }
        grid->addLayout(top, 0, 0);
        // The channel levels in two rows of four keep the group as narrow as
        // its time and voltage row, so that the four groups fit side by side.
        auto* bottom = new QGridLayout;
        bottom->setHorizontalSpacing(1);
        bottom->setVerticalSpacing(2);
        for (int ch = 0; ch < 8; ++ch) {
            levels[ch] = readout(box, title + QStringLiteral(" CH%1").arg(ch), 1);
            QLabel* label = labelFor(box, QStringLiteral("CH%1").arg(ch), levels[ch]);
            label->setContentsMargins(ch % 4 ? 8 : 0, 0, 1, 0);
            bottom->addWidget(label, ch / 4, 2 * (ch % 4));
            bottom->addWidget(levels[ch], ch / 4, 2 * (ch % 4) + 1);
        }
        bottom->setColumnStretch(8, 1);
        grid->addLayout(bottom, 1, 0);
        row->addWidget(box);
    };
    makePointGroup(QStringLiteral("カーソル"), cursorTime_, cursorVolts_, cursorLevels_, true);
    makePointGroup(QStringLiteral("タイムマーク"), markTime_, markVolts_, markLevels_, false);

    auto* interval = new QGroupBox(QStringLiteral("インターバル"), this);
    auto* ig = new QGridLayout(interval);
    ig->setContentsMargins(4, 2, 4, 2);
    cursorMinusMark_ = gridReadout(interval, ig, QStringLiteral("カーソル－タイムマーク"), 0, 0);
    mouseMinusCursor_ = gridReadout(interval, ig, QStringLiteral("マウス－カーソル"), 1, 0);
    row->addWidget(interval);
    row->addStretch(1);

    connect(stepLeft_, &QPushButton::clicked, this, &StatusStrip::stepLeft);
    connect(stepRight_, &QPushButton::clicked, this, &StatusStrip::stepRight);
    connect(halfLeft_, &QPushButton::clicked, this, &StatusStrip::halfPageLeft);
    connect(halfRight_, &QPushButton::clicked, this, &StatusStrip::halfPageRight);
}

void StatusStrip::showReadouts(const Readouts& r, const std::string& mouse) {
    setText(total_, r.totalTime);
    setText(sampling_, r.samplingTime);
    setText(cursorTime_, r.cursor.time);
    setText(cursorVolts_, r.cursor.volts);
    setText(markTime_, r.mark.time);
    setText(markVolts_, r.mark.volts);
    for (int ch = 0; ch < 8; ++ch) {
        setText(cursorLevels_[ch], r.cursor.levels[ch]);
        setText(markLevels_[ch], r.mark.levels[ch]);
    }
    setText(cursorMinusMark_, r.cursorMinusMark);
    setText(mouseMinusCursor_, mouse);
}

}  // namespace lyr::view
