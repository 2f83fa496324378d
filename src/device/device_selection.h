#pragma once
// Which unit this run works with: the list of units known from the settings
// file ("PGX-500.Device1" ...) and those connected now, the selection form of
// the dialog, and the start-up step that ends in the main window's device
// fields and title prefix.
#include <string>
#include <vector>

#include "device/d2xx.h"

namespace lyr::device {

inline constexpr const char* kSelectCaption = "PGX-500指定";
inline constexpr const char* kSerialColumn = "シリアルNo";
inline constexpr const char* kNameColumn = "表示名";
inline constexpr const char* kNameFieldLabel = "表示名入力：";
inline constexpr const char* kOkLabel = "OK";
inline constexpr const char* kNoDeviceLabel = "指定なし";
inline constexpr const char* kNoDevicePrefix = "[PGX-500指定なし] ";

inline constexpr const char* kDeviceSectionPrefix = "PGX-500.Device";
inline constexpr const char* kKeySerialNo = "SerialNo";
inline constexpr const char* kKeyDescription = "Description";
inline constexpr int kMaxKnownDevices = 256;
inline constexpr int kListSlotCount = 127;

// "PGX-500.Device" + n, n from 1.
std::string deviceSection(int n);

// The settings file as the device list sees it. beginRewrite/endRewrite
// bracket every read-and-rewrite of the sections, so that instances starting
// together take turns: the first re-reads the file (and holds the lock), the
// second writes it out (and lets the lock go).
class DeviceListStore {
public:
    virtual ~DeviceListStore() = default;
    virtual std::string value(const std::string& section, const std::string& key) const = 0;
    virtual void setValue(const std::string& section, const std::string& key, const std::string& value) = 0;
    virtual void removeSection(const std::string& section) = 0;
    virtual void beginRewrite() {}
    virtual void endRewrite() {}
};

struct DeviceEntry {
    std::string serial;
    std::string displayName;
    bool connected = false;
    bool operator==(const DeviceEntry&) const = default;
};

// At most kMaxKnownDevices entries, in list order.
struct DeviceList {
    std::vector<DeviceEntry> entries;
    int selection = -1;
};

// Reads sections 1 .. 256, drops those without a serial and writes the rest
// back as 1 .. k in their old order.
DeviceList readAndCompactDeviceSections(DeviceListStore& store);
// Marks the connected units of the list and appends the new ones (while the
// list has room). A listing failure changes nothing.
void refreshConnectedDevices(DeviceList& list, const D2xxApi& d2xx);
// Every entry back as sections 1 .. count. Entries another instance wrote
// meanwhile (serials this list lacks) are kept after them.
void writeDeviceSections(DeviceListStore& store, const DeviceList& list);

// The dialog's logic: the selection rule and the name field.
class DeviceSelectForm {
public:
    explicit DeviceSelectForm(DeviceList& list) : list_(list) {}
    // An item-changed or click notification; -1 when the click hit no row.
    void select(int index);
    // Every change of the name field.
    void setNameText(const std::string& text);

    const DeviceList& list() const { return list_; }
    int selection() const { return list_.selection; }
    bool okEnabled() const { return list_.selection != -1; }
    bool nameFieldEnabled() const { return list_.selection != -1; }
    const std::string& nameText() const { return nameText_; }

private:
    DeviceList& list_;
    std::string nameText_;
};

// The dialog, shown modally over a filled list; true for OK with a selection.
class DeviceChooser {
public:
    virtual ~DeviceChooser() = default;
    virtual bool choose(DeviceList& list) = 0;
};

// The main window's device fields after the selection.
struct DeviceSelection {
    bool specified = false;
    std::string serial;
    std::string description;
    std::string titlePrefix;
    bool titleSet = false;  // the document's title becomes the prefix
};

// "[" + description, else serial + "] ".
std::string titlePrefixFor(const std::string& serial, const std::string& description);

// The start-up step. Without a bound library: nothing chosen, no dialog, no
// settings access. Limit 1: the first unit of the model, no prefix.
DeviceSelection selectDevice(bool libraryBound, int limit, const D2xxApi* d2xx, DeviceListStore& store,
                             DeviceChooser& chooser);

}  // namespace lyr::device
