#pragma once
// COutputSelectDlg: "PGX-500指定", the start-up choice of the unit. A two-column
// list of the known and connected units (connected ones in red), the display
// name field, "OK" and "指定なし". It presents DeviceSelectForm.
#include <QDialog>
#include <QString>
#include <memory>

#include "device/device_selection.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace lyr::device {

class COutputSelectDlg : public QDialog {
    Q_OBJECT
public:
    // The list stays the caller's and keeps the choice and the names typed.
    explicit COutputSelectDlg(DeviceList& list, QWidget* parent = nullptr);

    QTreeWidget* listView() const { return list_; }
    QLineEdit* nameEdit() const { return name_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* noDeviceButton() const { return none_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void applySelection(int index);
    void fitNameColumn();

    DeviceSelectForm form_;
    QTreeWidget* list_ = nullptr;
    QLineEdit* name_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* none_ = nullptr;
    bool applying_ = false;
};

// The dialog as the start-up selection shows it.
class DialogDeviceChooser : public DeviceChooser {
public:
    explicit DialogDeviceChooser(QWidget* parent) : parent_(parent) {}
    bool choose(DeviceList& list) override;

private:
    QWidget* parent_;
};

// The device list in the settings file, read and written through QSettings;
// each rewrite holds a lock file beside the settings file so that instances
// starting together take turns.
class IniDeviceListStore : public DeviceListStore {
public:
    explicit IniDeviceListStore(const QString& settingsPath);
    ~IniDeviceListStore() override;
    std::string value(const std::string& section, const std::string& key) const override;
    void setValue(const std::string& section, const std::string& key, const std::string& value) override;
    void removeSection(const std::string& section) override;
    void beginRewrite() override;
    void endRewrite() override;
    static QString lockPath(const QString& settingsPath);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace lyr::device
