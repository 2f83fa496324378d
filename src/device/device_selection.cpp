#include "device/device_selection.h"

#include <algorithm>
#include <array>

#include "device/device_link.h"

namespace lyr::device {

std::string deviceSection(int n) { return kDeviceSectionPrefix + std::to_string(n); }

namespace {

bool contains(const std::vector<DeviceEntry>& entries, const std::string& serial) {
    return std::any_of(entries.begin(), entries.end(), [&](const DeviceEntry& e) { return e.serial == serial; });
}

void writeEntry(DeviceListStore& store, int n, const DeviceEntry& e) {
    store.setValue(deviceSection(n), kKeySerialNo, e.serial);
    store.setValue(deviceSection(n), kKeyDescription, e.displayName);
}

}  // namespace

DeviceList readAndCompactDeviceSections(DeviceListStore& store) {
    DeviceList list;
    for (int n = 1; n <= kMaxKnownDevices; ++n) {
        const std::string section = deviceSection(n);
        DeviceEntry e;
        e.serial = store.value(section, kKeySerialNo);
        e.displayName = store.value(section, kKeyDescription);
        store.removeSection(section);
        if (e.serial.empty()) continue;
        list.entries.push_back(e);
        writeEntry(store, static_cast<int>(list.entries.size()), e);
    }
    return list;
}

void refreshConnectedDevices(DeviceList& list, const D2xxApi& d2xx) {
    if (list.entries.size() >= kMaxKnownDevices) return;
    std::vector<SerialSlot> slots(kListSlotCount);
    std::vector<SerialSlot*> pointers;
    for (SerialSlot& s : slots) pointers.push_back(&s);
    pointers.push_back(nullptr);
    DWORD count = 0;
    if (listDevices(d2xx, pointers.data(), count) != FT_OK) return;
    for (DWORD i = 0; i < count; ++i) {
        const std::string serial = slots[i].data();
        auto found = std::find_if(list.entries.begin(), list.entries.end(),
                                  [&](const DeviceEntry& e) { return e.serial == serial; });
        if (found != list.entries.end())
            found->connected = true;
        else if (list.entries.size() < kMaxKnownDevices)
            list.entries.push_back({serial, {}, true});
    }
}

void writeDeviceSections(DeviceListStore& store, const DeviceList& list) {
    std::vector<DeviceEntry> all = list.entries;
    // What another instance added while this one's dialog was open stays.
    for (int n = 1; n <= kMaxKnownDevices && all.size() < kMaxKnownDevices; ++n) {
        DeviceEntry e;
        e.serial = store.value(deviceSection(n), kKeySerialNo);
        if (e.serial.empty() || contains(all, e.serial)) continue;
        e.displayName = store.value(deviceSection(n), kKeyDescription);
        all.push_back(e);
    }
    for (std::size_t i = 0; i < all.size(); ++i) writeEntry(store, static_cast<int>(i + 1), all[i]);
    for (int n = static_cast<int>(all.size()) + 1; n <= kMaxKnownDevices; ++n) store.removeSection(deviceSection(n));
}

void DeviceSelectForm::select(int index) {
    if (index < -1 || index >= static_cast<int>(list_.entries.size())) index = -1;
    list_.selection = index;
    nameText_ = index == -1 ? std::string() : list_.entries[index].displayName;
}

void DeviceSelectForm::setNameText(const std::string& text) {
    nameText_ = text;
    if (list_.selection == -1) return;
    std::string& name = list_.entries[list_.selection].displayName;
    if (name != text) name = text;
}

std::string titlePrefixFor(const std::string& serial, const std::string& description) {
    return "[" + (description.empty() ? serial : description) + "] ";
}

DeviceSelection selectDevice(bool libraryBound, int limit, const D2xxApi* d2xx, DeviceListStore& store,
                             DeviceChooser& chooser) {
    DeviceSelection result;
    if (!libraryBound || d2xx == nullptr) return result;
    if (limit == 1) {
        result.specified = true;
        return result;
    }
    store.beginRewrite();
    DeviceList list = readAndCompactDeviceSections(store);
    store.endRewrite();
    refreshConnectedDevices(list, *d2xx);
    list.selection = -1;
    const bool ok = chooser.choose(list);

    store.beginRewrite();
    writeDeviceSections(store, list);
    store.endRewrite();

    result.titleSet = true;
    if (ok && list.selection >= 0 && list.selection < static_cast<int>(list.entries.size())) {
        const DeviceEntry& e = list.entries[list.selection];
        result.specified = true;
        result.serial = e.serial;
        result.description = e.displayName;
        result.titlePrefix = titlePrefixFor(e.serial, e.displayName);
    } else {
        result.titlePrefix = kNoDevicePrefix;
    }
    return result;
}

}  // namespace lyr::device
