#include "digital/ui/bus_pattern_dlg.h"
#include "document/ui/readout.h"
#include "document/ui/ui_text.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace lyr::digital {

namespace {

// The form's texts as shown: in the chosen language.
QString q(const std::string& s) { return ui::tr(s); }

constexpr QSize kPreviewSize{382, 36};

// The object names of the option boxes, by Option.
const char* const kOptionNames[] = {"dataBits", "parity",   "stopBits", "idle",       "uartOrder", "spiMode",
                                    "spiOrder", "wordBits", "chipSelect", "direction", "after"};

// The names of the lines by protocol and role, as the previews label them.
const char* const kLineNames[3][3] = {{"DATA", "", ""}, {"SCK", "MOSI", "CS"}, {"SCL", "SDA", ""}};

QString withoutColon(QString label) {
    if (label.endsWith(QStringLiteral("："))) label.chop(1);
    return label;
}

// Why a marker shows, as its tooltip and description.
void explain(QLabel* marker, const QString& why) {
    marker->setToolTip(why);
    marker->setAccessibleDescription(why);
}

}  // namespace

CDigitalProtocolDlg::CDigitalProtocolDlg(BusPatternForm& form, QWidget* parent)
    : DataSourceDialog(form, form, Options{false, true, kPreviewSize}, wordFileFilter(), parent), bus_(form) {
    QGridLayout* grid = fieldGrid();

    protocol_ = new QComboBox(this);
    protocol_->setObjectName(QStringLiteral("protocol"));
    protocol_->addItems({QStringLiteral("UART"), QStringLiteral("SPI"), QStringLiteral("I2C")});
    protocol_->setAccessibleName(QStringLiteral("プロトコル"));
    auto* protocolLabel = new QLabel(QStringLiteral("プロトコル："), this);
    protocolLabel->setBuddy(protocol_);
    grid->addWidget(protocolLabel, 0, 1);
    // The protocol and what follows its pattern share the first row.
    auto* first = new QGridLayout;
    first->setHorizontalSpacing(4);
    first->addWidget(protocol_, 0, 0);
    first->setColumnMinimumWidth(1, 24);
    first->setColumnStretch(4, 1);
    grid->addLayout(first, 0, 2, 1, 4);
    connect(protocol_, &QComboBox::currentIndexChanged, this, [this](int p) {
        if (showing_) return;
        bus_.setProtocol(static_cast<BusProtocol>(p));
        showForm();
    });

    addOption(first, 0, 2, After, QStringLiteral("パターン後："),
              {QStringLiteral("アイドル"), QStringLiteral("変更しない")});

    addFieldRow(1, BusPatternForm::kRate);
    auto* achievedLabel = new QLabel(QStringLiteral("実際のレート："), this);
    achieved_ = new QLabel(this);
    achieved_->setObjectName(QStringLiteral("achievedRate"));
    ui::makeReadout(achieved_, QStringLiteral("実際のレートと誤差"));
    achieved_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    achievedLabel->setBuddy(achieved_);
    grid->addWidget(achievedLabel, 2, 1);
    grid->addWidget(achieved_, 2, 2, 1, 4);

    // A page of options per protocol, all as tall as the tallest so that the
    // dialog keeps its size when the protocol changes.
    pages_ = new QStackedWidget(this);
    pages_->setObjectName(QStringLiteral("pages"));
    auto page = [this](const QString& name) {
        auto* w = new QWidget(pages_);
        w->setObjectName(name);
        auto* g = new QGridLayout(w);
        g->setContentsMargins(0, 4, 0, 4);
        g->setHorizontalSpacing(4);
        g->setColumnMinimumWidth(4, 16);
        g->setColumnStretch(8, 1);
        g->setRowStretch(5, 1);
        pages_->addWidget(w);
        return g;
    };
    const QString bits = QStringLiteral("ビット");
    {
        QGridLayout* g = page(QStringLiteral("pageUart"));
        addLine(g, 0, BusProtocol::Uart, 0, QStringLiteral("データCH："));
        addOption(g, 0, 5, DataBits, QStringLiteral("データビット："),
                  {QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8")}, bits);
        addOption(g, 1, 1, Parity, QStringLiteral("パリティ："),
                  {QStringLiteral("なし"), QStringLiteral("偶数"), QStringLiteral("奇数"), QStringLiteral("マーク"),
                   QStringLiteral("スペース")});
        addOption(g, 1, 5, StopBits, QStringLiteral("ストップビット："), {QStringLiteral("1"), QStringLiteral("2")},
                  bits);
        addOption(g, 2, 1, Idle, QStringLiteral("アイドルレベル："), {QStringLiteral("0"), QStringLiteral("1")});
        addOption(g, 2, 5, UartOrder, QStringLiteral("ビット順："),
                  {QStringLiteral("LSBファースト"), QStringLiteral("MSBファースト")});
        addFieldRow(g, 3, BusPatternForm::kGap);
    }
    {
        QGridLayout* g = page(QStringLiteral("pageSpi"));
        addLine(g, 0, BusProtocol::Spi, 0, QStringLiteral("SCK CH："));
        addLine(g, 1, BusProtocol::Spi, 1, QStringLiteral("MOSI CH："));
        addLine(g, 2, BusProtocol::Spi, 2, QStringLiteral("CS CH："));
        addOption(g, 0, 5, SpiMode, QStringLiteral("モード："),
                  {QStringLiteral("0 (CPOL=0, CPHA=0)"), QStringLiteral("1 (CPOL=0, CPHA=1)"),
                   QStringLiteral("2 (CPOL=1, CPHA=0)"), QStringLiteral("3 (CPOL=1, CPHA=1)")});
        addOption(g, 1, 5, SpiOrder, QStringLiteral("ビット順："),
                  {QStringLiteral("MSBファースト"), QStringLiteral("LSBファースト")});
        addOption(g, 2, 5, WordBits, QStringLiteral("ワード長："), {QStringLiteral("8"), QStringLiteral("16")},
                  bits);
        addOption(g, 3, 5, ChipSelect, QStringLiteral("CSの論理："),
                  {QStringLiteral("アクティブL"), QStringLiteral("アクティブH")});
        addFieldRow(g, 3, BusPatternForm::kLead);
        addFieldRow(g, 4, BusPatternForm::kLag);
    }
    {
        QGridLayout* g = page(QStringLiteral("pageI2c"));
        addLine(g, 0, BusProtocol::I2c, 0, QStringLiteral("SCL CH："));
        addLine(g, 1, BusProtocol::I2c, 1, QStringLiteral("SDA CH："));
        addFieldRow(g, 2, BusPatternForm::kAddress);
        addOption(g, 0, 5, Direction, QStringLiteral("方向："),
                  {QStringLiteral("書き込み (W)"), QStringLiteral("読み出し (R)")});
        repeated_ = new QCheckBox(QStringLiteral("リピーテッドスタートで終える"), this);
        repeated_->setObjectName(QStringLiteral("repeatedStart"));
        g->addWidget(repeated_, 1, 5, 1, 3);
        connect(repeated_, &QCheckBox::toggled, this, [this](bool on) {
            if (showing_) return;
            bus_.setRepeatedStart(on);
            showForm();
        });
    }
    grid->addWidget(pages_, 3, 0, 1, 6);
    grid->setColumnStretch(4, 1);  // the room the pages need beyond the rows widens the path
    // Empty lead and lag times are one clock period.
    row(BusPatternForm::kLead).edit->setPlaceholderText(QStringLiteral("1クロック"));
    row(BusPatternForm::kLag).edit->setPlaceholderText(QStringLiteral("1クロック"));

    const int r = addSourceRows(4);
    sourceButton(0)->setText(QStringLiteral("直接入力(16進)"));
    problem_ = new QLabel(this);
    problem_->setObjectName(QStringLiteral("problem"));
    ui::makeReadout(problem_, QStringLiteral("作成できない理由"));
    problem_->setStyleSheet(QStringLiteral("color: red;"));
    problem_->setMinimumHeight(problem_->fontMetrics().height());
    grid->addWidget(problem_, r, 1, 1, 5);

    explain(row(DigitalEditFrame::kStartField).marker,
            QStringLiteral("編集開始が正しくありません：0以上、トータル時間からサンプリング時間を引いた時間以下"));
    explain(row(BusPatternForm::kRate).marker,
            QStringLiteral("レートが正しくありません：1ビット（SPI・I2Cは1クロックの半分）がサンプリング時間以上になる値"));
    explain(row(BusPatternForm::kGap).marker, QStringLiteral("バイト間隔が正しくありません：0以上、トータル時間以下の時間"));
    explain(row(BusPatternForm::kLead).marker,
            QStringLiteral("リード時間が正しくありません：空欄（1クロック）、または0以上、トータル時間以下の時間"));
    explain(row(BusPatternForm::kLag).marker,
            QStringLiteral("ラグ時間が正しくありません：空欄（1クロック）、または0以上、トータル時間以下の時間"));
    explain(row(BusPatternForm::kAddress).marker,
            QStringLiteral("アドレスが正しくありません：7ビット（0～127、0x00～0x7F）"));
    explain(textMarker(), QStringLiteral("データが正しくありません：16進数字だけを区切らずに（2桁で1バイト）"));

    // The pages' labels and fields in line with the rows around them.
    std::vector<QGridLayout*> grids{grid};
    for (int i = 0; i < pages_->count(); ++i) grids.push_back(qobject_cast<QGridLayout*>(pages_->widget(i)->layout()));
    int labelWidth = 0;
    for (QGridLayout* g : grids) {
        for (int i = 0; i < g->count(); ++i) {
            int r = 0, c = 0, rows = 0, columns = 0;
            g->getItemPosition(i, &r, &c, &rows, &columns);
            if (c == 1 && columns == 1) labelWidth = std::max(labelWidth, g->itemAt(i)->sizeHint().width());
        }
    }
    for (QGridLayout* g : grids) g->setColumnMinimumWidth(1, labelWidth);

    finish();
    buildPreviews();
    setKeyboardOrder();
    showForm();
}

QComboBox* CDigitalProtocolDlg::addLine(QGridLayout* grid, int r, BusProtocol protocol, int role,
                                        const QString& label) {
    auto* box = new QComboBox(this);
    fillChannelBox(box);
    const int p = static_cast<int>(protocol);
    box->setObjectName(QStringLiteral("line%1_%2").arg(p).arg(role));
    box->setAccessibleName(withoutColon(label));
    auto* text = new QLabel(label, this);
    text->setBuddy(box);
    grid->addWidget(text, r, 1);
    grid->addWidget(box, r, 2);
    lines_[p][role] = box;
    connect(box, &QComboBox::currentIndexChanged, this, [this, role](int channel) {
        if (showing_) return;
        bus_.setRoleChannel(role, channel);
        showForm();
    });
    return box;
}

QComboBox* CDigitalProtocolDlg::addOption(QGridLayout* grid, int r, int column, Option option, const QString& label,
                                          const QStringList& items, const QString& unit) {
    auto* box = new QComboBox(this);
    box->addItems(items);
    box->setObjectName(QString::fromLatin1(kOptionNames[option]));
    box->setAccessibleName(withoutColon(label));
    auto* text = new QLabel(label, this);
    text->setBuddy(box);
    grid->addWidget(text, r, column);
    grid->addWidget(box, r, column + 1);
    if (!unit.isEmpty()) grid->addWidget(new QLabel(unit, this), r, column + 2);
    options_[option] = box;
    connect(box, &QComboBox::currentIndexChanged, this, [this, option](int index) {
        if (showing_) return;
        setOption(option, index);
        showForm();
    });
    return box;
}

void CDigitalProtocolDlg::setOption(Option option, int i) {
    switch (option) {
    case DataBits: bus_.setDataBits(5 + i); break;
    case Parity: bus_.setParity(static_cast<digital::Parity>(i)); break;
    case StopBits: bus_.setStopBits(1 + i); break;
    case Idle: bus_.setIdle(i); break;
    case UartOrder: bus_.setLsbFirst(i == 0); break;
    case SpiMode: bus_.setSpiMode(i); break;
    case SpiOrder: bus_.setMsbFirst(i == 0); break;
    case WordBits: bus_.setWordBits(i == 0 ? 8 : 16); break;
    case ChipSelect: bus_.setChipSelectActiveLow(i == 0); break;
    case Direction: bus_.setRead(i == 1); break;
    case After: bus_.setAfterIdle(i == 0); break;
    case kOptionCount: break;
    }
}

int CDigitalProtocolDlg::optionIndex(Option option) const {
    const BusPatternForm::Settings s = bus_.settings();
    switch (option) {
    case DataBits: return s.dataBits - 5;
    case Parity: return s.parity;
    case StopBits: return s.stopBits - 1;
    case Idle: return s.idle;
    case UartOrder: return s.lsbFirst ? 0 : 1;
    case SpiMode: return s.spiMode;
    case SpiOrder: return s.msbFirst ? 0 : 1;
    case WordBits: return s.wordBits == 16 ? 1 : 0;
    case ChipSelect: return s.csActiveLow ? 0 : 1;
    case Direction: return s.read ? 1 : 0;
    case After: return s.afterIdle ? 0 : 1;
    case kOptionCount: break;
    }
    return 0;
}

// One row per line above the readouts, in the place of the frame's single
// preview: the line's name and channel, and its levels.
void CDigitalProtocolDlg::buildPreviews() {
    QWidget* box = preview()->parentWidget();
    auto* column = qobject_cast<QVBoxLayout*>(box->layout());
    auto* rows = new QGridLayout;
    rows->setVerticalSpacing(2);
    const int labelWidth = fontMetrics().horizontalAdvance(QStringLiteral("MOSI")) + 8;
    for (int k = 0; k < 3; ++k) {
        lineLabels_[k] = new QLabel(box);
        lineLabels_[k]->setObjectName(QStringLiteral("lineName%1").arg(k));
        lineLabels_[k]->setFixedWidth(labelWidth);
        previews_[k] = new LevelPreview(kPreviewSize, box);
        previews_[k]->setObjectName(QStringLiteral("preview%1").arg(k));
        previews_[k]->layers = [this, k] {
            std::vector<LevelPreview::Layer> layers;
            if (!bus_.previewShown() || k >= bus_.roleCount()) return layers;
            const bool current = bus_.previewCurrent() && bus_.bufferHighlighted(static_cast<std::size_t>(k));
            layers.push_back({&bus_.previewColumns(static_cast<std::size_t>(k)),
                              levelColour(current ? kLevelCurrent : kLevelPale)});
            return layers;
        };
        rows->addWidget(lineLabels_[k], k, 0);
        rows->addWidget(previews_[k], k, 1);
    }
    // The pattern's layout in time, idle lines included, under its lines.
    layout_ = new QLabel(box);
    layout_->setObjectName(QStringLiteral("layout"));
    layout_->setWordWrap(true);
    rows->addWidget(layout_, 3, 0, 1, 2);
    preview()->hide();
    if (column) column->insertLayout(0, rows);
    box->setFixedWidth(kPreviewSize.width() + labelWidth + rows->horizontalSpacing() + 8);
    bus_.setPreviewWidth(previews_[0]->band().width());
}

// The keyboard goes as the dialog reads: edit start, the combining buttons,
// protocol, rate, the current page row by row, the bytes, "作成".
void CDigitalProtocolDlg::setKeyboardOrder() {
    const FieldRow& start = row(DigitalEditFrame::kStartField);
    std::vector<QWidget*> order{start.edit, start.unitBox};
    for (int m = 0; m < 4; ++m) order.push_back(applyButton(static_cast<DigitalApplyMode>(m)));
    order.push_back(protocol_);
    order.push_back(options_[After]);
    order.push_back(row(BusPatternForm::kRate).edit);
    auto field = [&](std::size_t i) {
        order.push_back(row(i).edit);
        order.push_back(row(i).unitBox ? static_cast<QWidget*>(row(i).unitBox) : nullptr);
    };
    const int uart = 0, spi = 1, i2c = 2;
    order.insert(order.end(), {lines_[uart][0], options_[DataBits], options_[Parity], options_[StopBits],
                               options_[Idle], options_[UartOrder]});
    field(BusPatternForm::kGap);
    order.insert(order.end(), {lines_[spi][0], options_[SpiMode], lines_[spi][1], options_[SpiOrder], lines_[spi][2],
                               options_[WordBits]});
    field(BusPatternForm::kLead);
    order.push_back(options_[ChipSelect]);
    field(BusPatternForm::kLag);
    order.insert(order.end(), {lines_[i2c][0], options_[Direction], lines_[i2c][1], repeated_});
    field(BusPatternForm::kAddress);
    order.insert(order.end(), {sourceButton(0), textEdit(), sourceButton(1), pathEdit(), browseButton(),
                               createButton()});
    std::erase(order, nullptr);
    for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void CDigitalProtocolDlg::showForm() {
    DataSourceDialog::showForm();
    if (!previews_[2]) return;  // still being built
    showing_ = true;
    const int p = static_cast<int>(bus_.protocol());
    if (protocol_->currentIndex() != p) protocol_->setCurrentIndex(p);
    pages_->setCurrentIndex(p);
    for (auto& page : lines_)
        for (int role = 0; role < 3; ++role)
            if (page[role] && page[role]->currentIndex() != bus_.roleChannel(role))
                page[role]->setCurrentIndex(bus_.roleChannel(role));
    for (int o = 0; o < kOptionCount; ++o) {
        const int i = optionIndex(static_cast<Option>(o));
        if (options_[o]->currentIndex() != i) options_[o]->setCurrentIndex(i);
    }
    repeated_->setChecked(bus_.settings().repeatedStart);
    const FieldRow& rate = row(BusPatternForm::kRate);
    if (rate.unitText) rate.unitText->setText(q(bus_.field(BusPatternForm::kRate).unitText));
    achieved_->setText(q(bus_.achievedRateText()));
    problem_->setText(q(bus_.problemMessage()));
    layout_->setText(q(bus_.layoutText()));
    layout_->setAccessibleName(layout_->text());
    layout_->setAccessibleDescription(ui::tr("パターンの構成"));
    bool resized = false;
    for (int k = 0; k < 3; ++k) {
        const bool driven = k < bus_.roleCount();
        resized = resized || previews_[k]->isHidden() == driven;
        lineLabels_[k]->setVisible(driven);
        previews_[k]->setVisible(driven);
        if (!driven) continue;
        const QString channel = QStringLiteral("CH%1").arg(bus_.roleChannel(k));
        lineLabels_[k]->setText(QString::fromLatin1(kLineNames[p][k]) + QLatin1Char('\n') + channel);
        previews_[k]->setAccessibleName(ui::tr(channel + QStringLiteral("のプレビュー")));
        previews_[k]->update();
    }
    // The frame's column does not hear of its preview rows coming and going:
    // tell it, so that the dialog fits the lines shown.
    if (resized) {
        previews_[0]->parentWidget()->updateGeometry();
        group()->updateGeometry();
    }
    showing_ = false;
}

}  // namespace lyr::digital
