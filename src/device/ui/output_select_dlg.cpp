#include "device/ui/output_select_dlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "document/ui/ui_fonts.h"
#include "document/ui/ui_text.h"

namespace lyr::device {

namespace {
// The form's texts as shown: in the chosen language.
QString qs(const std::string& s) { return ui::tr(s); }
QString qs(const char* s) { return ui::tr(s); }
// What the user wrote (names, serial numbers): never translated.
QString text(const std::string& s) { return QString::fromStdString(s); }
constexpr int kSerialColumnWidth = 70;
}  // namespace

COutputSelectDlg::COutputSelectDlg(DeviceList& list, QWidget* parent) : QDialog(parent), form_(list) {
    setWindowTitle(qs(kSelectCaption));
    setObjectName(QStringLiteral("COutputSelectDlg"));
    setFont(ui::japaneseUiFont());
    auto* top = new QVBoxLayout(this);

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("deviceList"));
    list_->setAccessibleName(QStringLiteral("PGX-500一覧"));
    list_->setColumnCount(2);
    list_->setHeaderLabels({qs(kSerialColumn), qs(kNameColumn)});
    list_->setRootIsDecorated(false);
    list_->setItemsExpandable(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->header()->setSectionResizeMode(QHeaderView::Fixed);
    list_->header()->setSectionsClickable(false);
    list_->header()->setSectionsMovable(false);
    list_->header()->setStretchLastSection(false);
    list_->setColumnWidth(0, kSerialColumnWidth);
    list_->setMinimumSize(320, 200);
    // The selected row stays visible while the name field has the focus.
    QPalette p = list_->palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::HighlightedText));
    list_->setPalette(p);
    for (const DeviceEntry& e : form_.list().entries) {
        auto* item = new QTreeWidgetItem(list_, {text(e.serial), text(e.displayName)});
        if (!e.connected) continue;
        for (int c = 0; c < 2; ++c) {
            item->setForeground(c, QColor(255, 0, 0));
            // What the red says, for those who do not see it.
            item->setData(c, Qt::AccessibleDescriptionRole, QStringLiteral("接続中"));
        }
    }
    list_->viewport()->installEventFilter(this);
    top->addWidget(list_);

    auto* nameRow = new QHBoxLayout;
    name_ = new QLineEdit(this);
    name_->setObjectName(QStringLiteral("nameEdit"));
    auto* nameLabel = new QLabel(qs(kNameFieldLabel), this);
    nameLabel->setBuddy(name_);
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(name_, 1);
    top->addLayout(nameRow);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    ok_ = new QPushButton(qs(kOkLabel), this);
    ok_->setObjectName(QStringLiteral("okButton"));
    none_ = new QPushButton(qs(kNoDeviceLabel), this);
    none_->setObjectName(QStringLiteral("noDeviceButton"));
    buttons->addWidget(ok_);
    buttons->addWidget(none_);
    top->addLayout(buttons);

    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(none_, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (!applying_) applySelection(item ? list_->indexOfTopLevelItem(item) : -1);
    });
    connect(list_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { applySelection(list_->indexOfTopLevelItem(item)); });
    connect(name_, &QLineEdit::textEdited, this, [this](const QString& typed) {
        form_.setNameText(typed.toStdString());
        const int row = form_.selection();
        if (row >= 0) list_->topLevelItem(row)->setText(1, text(form_.list().entries[row].displayName));
    });
    applySelection(-1);
}

void COutputSelectDlg::applySelection(int index) {
    applying_ = true;
    form_.select(index);
    if (form_.selection() == -1) {
        list_->clearSelection();
        list_->setCurrentItem(nullptr);
    } else if (QTreeWidgetItem* item = list_->topLevelItem(form_.selection()); item != list_->currentItem()) {
        list_->setCurrentItem(item);
    }
    ok_->setEnabled(form_.okEnabled());
    name_->setEnabled(form_.nameFieldEnabled());
    name_->setText(text(form_.nameText()));
    applying_ = false;
}

bool COutputSelectDlg::eventFilter(QObject* watched, QEvent* event) {
    // A click below the last row selects nothing.
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!list_->itemAt(mouse->position().toPoint())) {
            applySelection(-1);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void COutputSelectDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    fitNameColumn();
}

void COutputSelectDlg::fitNameColumn() {
    // Measured once shown, so a vertical scroll bar is already taken off.
    list_->setColumnWidth(1, std::max(40, list_->viewport()->width() - kSerialColumnWidth));
}

bool DialogDeviceChooser::choose(DeviceList& list) {
    COutputSelectDlg dlg(list, parent_);
    return dlg.exec() == QDialog::Accepted;
}

struct IniDeviceListStore::Impl {
    explicit Impl(const QString& path) : settings(path, QSettings::IniFormat), lock(lockPath(path)) {
        lock.setStaleLockTime(0);  // held briefly; stale only when its process is gone
    }
    QSettings settings;
    QLockFile lock;
    bool locked = false;
};

IniDeviceListStore::IniDeviceListStore(const QString& settingsPath) : impl_(std::make_unique<Impl>(settingsPath)) {}

IniDeviceListStore::~IniDeviceListStore() { endRewrite(); }

QString IniDeviceListStore::lockPath(const QString& settingsPath) {
    // Not the settings file's own name + ".lock": QSettings takes that one
    // itself while it writes.
    return settingsPath + QStringLiteral(".devices.lock");
}

static QString groupKey(const std::string& section, const std::string& key) {
    return qs(section) + QLatin1Char('/') + qs(key);
}

std::string IniDeviceListStore::value(const std::string& section, const std::string& key) const {
    const QVariant v = impl_->settings.value(groupKey(section, key));
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QStringLiteral(", ")).toStdString();
    return v.toString().toStdString();
}

void IniDeviceListStore::setValue(const std::string& section, const std::string& key, const std::string& value) {
    impl_->settings.setValue(groupKey(section, key), qs(value));
}

void IniDeviceListStore::removeSection(const std::string& section) { impl_->settings.remove(qs(section)); }

void IniDeviceListStore::beginRewrite() {
    // A holder that never lets go does not keep this instance from starting.
    impl_->locked = impl_->lock.tryLock(10000);
    impl_->settings.sync();  // what other instances wrote
}

void IniDeviceListStore::endRewrite() {
    impl_->settings.sync();
    if (impl_->locked) impl_->lock.unlock();
    impl_->locked = false;
}

}  // namespace lyr::device
