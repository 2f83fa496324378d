#include "device/ui/output_dlg.h"

#include <algorithm>

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "document/ui/dialog_keys.h"
#include "document/ui/ui_fonts.h"
#include "document/ui/ui_text.h"

namespace lyr::device {

namespace {
// The form's texts as shown: in the chosen language.
QString qs(const std::string& s) { return ui::tr(s); }
QString qs(const char* s) { return ui::tr(s); }

// A read-only readout is named by what it shows, or by what it is (its
// description, set when it is made) while it shows nothing.
template <class W>
void showReadout(W* w, const QString& text) {
    if (w->text() != text) w->setText(text);
    const QString name = text.isEmpty() ? w->accessibleDescription() : text;
    if (w->accessibleName() != name) w->setAccessibleName(name);
}
}  // namespace

// The poll timer as a window timer.
class COutputDlg::WindowTimer : public PollTimer {
public:
    explicit WindowTimer(QObject* owner) : timer(owner) { timer.setObjectName(QStringLiteral("pollTimer")); }
    void start(int intervalMs) override { timer.start(intervalMs); }
    void stop() override { timer.stop(); }
    QTimer timer;
};

COutputDlg::COutputDlg(const D2xxApi& d2xx, Prompter& prompter, QWidget* parent, bool deviceWorker)
    : QDialog(parent), timer_(std::make_unique<WindowTimer>(this)) {
    if (deviceWorker) {
        // Results come back as queued calls; Qt drops those still queued
        // when the window goes.
        worker_ = std::make_unique<DeviceWorker>([this](DeviceExecutor::Task call) {
            QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
        });
    }
    form_ = std::make_unique<OutputWindowForm>(d2xx, *timer_, prompter, nullptr, worker_.get());
    setWindowTitle(qs(kOutputCaption));
    setObjectName(QStringLiteral("COutputDlg"));
    setFont(ui::japaneseUiFont());
    setModal(false);
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    buildControls();
    connect(&timer_->timer, &QTimer::timeout, this, [this] { form_->timerTick(); });
    form_->changed = [this] { showForm(); };
    if (worker_) {
        // The window stays usable meanwhile: busy, not waiting.
        form_->waitCursor = [this](bool on) {
            if (on)
                setCursor(Qt::BusyCursor);
            else
                unsetCursor();
        };
    } else {
        form_->waitCursor = [](bool on) {
            if (on)
                QApplication::setOverrideCursor(Qt::WaitCursor);
            else
                QApplication::restoreOverrideCursor();
        };
    }
}

COutputDlg::~COutputDlg() {
    form_->changed = nullptr;
    // Waits for the exchange in flight and lets the unit go while the
    // library is still there; the worker ends after the form.
    form_->close();
    form_.reset();
    worker_.reset();
}

bool COutputDlg::openWindow(const OutputOpening& opening) { return form_->open(opening); }

QGroupBox* COutputDlg::buildGroup(int group, QWidget* parent) {
    const OutputGroupLabels& labels = groupLabels(group);
    auto* box = new QGroupBox(qs(labels.title ? labels.title : labels.frame), parent);
    box->setObjectName(QStringLiteral("group%1").arg(group));
    auto* layout = new QVBoxLayout(box);
    auto* buttons = new QButtonGroup(box);
    for (int v = 0; v < labels.optionCount; ++v) {
        // Room for the unit's mark from the start, so that it never clips.
        auto* b = new QRadioButton(qs(labels.options[v]) + qs(DEVICE_MARK), box);
        b->setMinimumWidth(b->sizeHint().width());
        b->setText(qs(labels.options[v]));
        b->setObjectName(QStringLiteral("option%1_%2").arg(group).arg(v));
        buttons->addButton(b, v);
        layout->addWidget(b);
        options_[group][v] = b;
    }
    connect(buttons, &QButtonGroup::idClicked, this, [this, group](int v) { form_->chooseOption(group, v); });
    groupBoxes_[group] = box;
    return box;
}

void COutputDlg::buildControls() {
    auto* top = new QVBoxLayout(this);
    auto* upper = new QHBoxLayout;

    // 出力モード with the count beside "繰り返し".
    QGroupBox* mode = buildGroup(GroupOutputMode, this);
    auto* countRow = new QHBoxLayout;
    repeatEdit_ = new QLineEdit(mode);
    repeatEdit_->setObjectName(QStringLiteral("repeatEdit"));
    repeatEdit_->setAccessibleName(QStringLiteral("繰り返し回数"));
    repeatEdit_->setMaximumWidth(70);
    timesLabel_ = new QLabel(qs(kTimesLabel), mode);
    timesLabel_->setBuddy(repeatEdit_);
    deviceRepeat_ = new QLineEdit(mode);
    deviceRepeat_->setObjectName(QStringLiteral("deviceRepeat"));
    deviceRepeat_->setAccessibleDescription(QStringLiteral("PGX-500の繰り返し回数"));
    deviceRepeat_->setReadOnly(true);
    deviceRepeat_->setFocusPolicy(Qt::ClickFocus);
    deviceRepeat_->setMaximumWidth(70);
    countRow->addSpacing(20);
    countRow->addWidget(repeatEdit_);
    countRow->addWidget(timesLabel_);
    countRow->addWidget(deviceRepeat_);
    countRow->addStretch(1);
    static_cast<QVBoxLayout*>(mode->layout())->addLayout(countRow);
    static_cast<QVBoxLayout*>(mode->layout())->addStretch(1);
    connect(repeatEdit_, &QLineEdit::textEdited, this,
            [this](const QString& text) { form_->setRepeatText(text.toStdString()); });
    upper->addWidget(mode);

    // Frames holding two groups each.
    auto pair = [this](const char* title, int first, int second) {
        auto* frame = new QGroupBox(qs(title), this);
        frame->setObjectName(QStringLiteral("frame%1").arg(first));
        auto* row = new QHBoxLayout(frame);
        row->addWidget(buildGroup(first, frame));
        row->addWidget(buildGroup(second, frame));
        return frame;
    };
    upper->addWidget(pair(groupLabels(GroupAnalogStop).frame, GroupAnalogStop, GroupDigitalStop));
    upper->addWidget(pair(groupLabels(GroupSyncPolarity).frame, GroupSyncPolarity, GroupSyncPulseWidth));
    top->addLayout(upper);

    auto* lower = new QHBoxLayout;
    lower->addWidget(buildGroup(GroupStartControl, this));
    lower->addWidget(buildGroup(GroupTriggerMode, this));
    lower->addWidget(buildGroup(GroupTriggerPolarity, this));
    lower->addWidget(buildGroup(GroupRetrigger, this));
    top->addLayout(lower);

    // The status line and the unit's allocation.
    auto* statusRow = new QHBoxLayout;
    status_ = new QLineEdit(this);
    status_->setObjectName(QStringLiteral("statusLine"));
    status_->setAccessibleDescription(QStringLiteral("状態"));
    status_->setReadOnly(true);
    status_->setFocusPolicy(Qt::ClickFocus);
    status_->setMinimumWidth(180);
    version_ = new QLabel(this);
    version_->setObjectName(QStringLiteral("versionText"));
    version_->setAccessibleDescription(QStringLiteral("ファームウェアのバージョン"));
    version_->hide();
    deviceResolution_ = new QLabel(this);
    deviceResolution_->setObjectName(QStringLiteral("deviceResolution"));
    deviceResolution_->setAccessibleDescription(QStringLiteral("PGX-500のアナログ分解能"));
    deviceResolution_->setMinimumWidth(170);
    deviceChannels_ = new QLabel(this);
    deviceChannels_->setObjectName(QStringLiteral("deviceChannels"));
    deviceChannels_->setAccessibleDescription(QStringLiteral("PGX-500のディジタルCH"));
    deviceChannels_->setMinimumWidth(150);
    statusRow->addWidget(status_);
    statusRow->addWidget(version_);
    statusRow->addSpacing(12);
    statusRow->addWidget(deviceResolution_);
    statusRow->addWidget(deviceChannels_);
    statusRow->addStretch(1);
    top->addLayout(statusRow);

    auto* buttonRow = new QHBoxLayout;
    auto makeButton = [this, buttonRow](const char* text, const char* name) {
        auto* b = new QPushButton(qs(text), this);
        b->setObjectName(QString::fromLatin1(name));
        // Enter does nothing in this window: no button is ever the default.
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setMinimumWidth(110);
        buttonRow->addWidget(b);
        return b;
    };
    transfer_ = makeButton(kTransferLabel, "transferButton");
    startStop_ = makeButton(kStartLabel, "startStopButton");
    forceStop_ = makeButton(kForceStopLabel, "forceStopButton");
    buttonRow->addStretch(1);
    top->addLayout(buttonRow);

    // The transfer's bytes sent, and the way to stop it between two chunks.
    auto* progressRow = new QHBoxLayout;
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("transferProgress"));
    progress_->setAccessibleDescription(QStringLiteral("データ転送の進み具合"));
    progress_->setRange(0, 1);
    progress_->setValue(0);
    progress_->setEnabled(false);
    cancel_ = new QPushButton(qs(kCancelTransferLabel), this);
    cancel_->setObjectName(QStringLiteral("cancelButton"));
    cancel_->setAutoDefault(false);
    cancel_->setDefault(false);
    cancel_->setEnabled(false);
    // It stays a plain arrow while the window shows that it is busy.
    cancel_->setCursor(Qt::ArrowCursor);
    progressRow->addWidget(progress_, 1);
    progressRow->addWidget(cancel_);
    top->addLayout(progressRow);
    connect(cancel_, &QPushButton::clicked, this, [this] { form_->cancelTransfer(); });
    for (QWidget* readout : std::initializer_list<QWidget*>{status_, version_, deviceRepeat_, deviceResolution_,
                                                            deviceChannels_})
        readout->setAccessibleName(readout->accessibleDescription());
    progress_->setAccessibleName(progress_->text());
    connect(transfer_, &QPushButton::clicked, this, [this] { form_->transfer(); });
    connect(startStop_, &QPushButton::clicked, this, [this] { form_->startStop(); });
    connect(forceStop_, &QPushButton::clicked, this, [this] { form_->forceStopOutput(); });
}

void COutputDlg::showForm() {
    if (showing_) return;
    showing_ = true;
    const OutputWindowForm& f = *form_;
    setWindowTitle(qs(f.caption()));
    for (int g = 0; g < kOutputGroupCount; ++g) {
        for (int v = 0; v < groupLabels(g).optionCount; ++v) {
            QRadioButton* b = options_[g][v];
            const QString text = qs(f.optionLabel(g, v));
            if (b->text() != text) b->setText(text);
            b->setEnabled(f.optionEnabled(g, v));
            if (f.controls().choice[g] == v && !b->isChecked()) b->setChecked(true);
        }
        if (isTriggerGroup(g)) groupBoxes_[g]->setEnabled(f.triggerGroupsEnabled());
    }
    const QString repeat = qs(f.controls().repeatText);
    if (repeatEdit_->text() != repeat) repeatEdit_->setText(repeat);
    const bool counting = f.repeatFieldEnabled();
    repeatEdit_->setEnabled(counting);
    timesLabel_->setEnabled(counting);
    deviceRepeat_->setEnabled(counting);
    auto setText = [](auto* w, const QString& t) {
        if (w->text() != t) w->setText(t);
    };
    showReadout(deviceRepeat_, qs(f.deviceRepeatText()));
    showReadout(deviceResolution_, qs(f.deviceResolutionText()));
    showReadout(deviceChannels_, qs(f.deviceChannelsText()));
    showReadout(status_, qs(f.statusLine()));
    showReadout(version_, qs(f.version()));
    const ButtonState& b = f.buttons();
    setText(startStop_, qs(b.startLabelIsStart ? kStartLabel : kStopLabel));
    transfer_->setEnabled(b.transferEnabled);
    startStop_->setEnabled(b.startStopEnabled);
    forceStop_->setEnabled(b.forceStopEnabled);
    // The bar keeps the last transfer's end until the next one starts.
    if (f.transferring()) {
        const int total = static_cast<int>(std::max<std::uint32_t>(f.progressTotal(), 1));
        if (progress_->maximum() != total) progress_->setRange(0, total);
        progress_->setValue(static_cast<int>(f.progressBytes()));
    }
    progress_->setEnabled(f.transferring());
    if (progress_->accessibleName() != progress_->text()) progress_->setAccessibleName(progress_->text());
    cancel_->setEnabled(f.transferring() && !f.cancelRequested());
    showing_ = false;
}

void COutputDlg::bringOutputWindowToFront() {
    if (isMinimized()) setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void COutputDlg::analogResolutionChanged(std::uint8_t analogResolution) {
    form_->setOutputResolution(analogResolution);
}

void COutputDlg::setOutputTitle(const QString& documentTitle) { form_->setOutputTitle(documentTitle.toStdString()); }

void COutputDlg::reject() { emit closeRequested(); }

void COutputDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    emit closeRequested();
}

void COutputDlg::keyPressEvent(QKeyEvent* event) {
    if (!ui::takeEnterKey(event)) QDialog::keyPressEvent(event);
}

}  // namespace lyr::device
