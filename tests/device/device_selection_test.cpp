// The start-up device selection: the settings file's device list, the units
// found connected (simulated units) and the dialog's selection rule.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <tuple>

#include "device/device_selection.h"
#include "simulated_unit.h"

namespace lyr::device {
namespace {

class MapStore : public DeviceListStore {
public:
    std::string value(const std::string& section, const std::string& key) const override {
        ++reads;
        auto s = sections.find(section);
        if (s == sections.end()) return {};
        auto k = s->second.find(key);
        return k == s->second.end() ? std::string() : k->second;
    }
    void setValue(const std::string& section, const std::string& key, const std::string& value) override {
        EXPECT_TRUE(locked) << "written outside a rewrite";
        sections[section][key] = value;
    }
    void removeSection(const std::string& section) override {
        EXPECT_TRUE(locked) << "removed outside a rewrite";
        sections.erase(section);
    }
    void beginRewrite() override {
        EXPECT_FALSE(locked);
        locked = true;
    }
    void endRewrite() override { locked = false; }
    void put(int n, const std::string& serial, const std::string& name) {
        sections[deviceSection(n)] = {{kKeySerialNo, serial}, {kKeyDescription, name}};
    }
    std::string serialAt(int n) const { return value(deviceSection(n), kKeySerialNo); }

    std::map<std::string, std::map<std::string, std::string>> sections;
    mutable int reads = 0;
    bool locked = false;
};

// The dialog: plays a script on the form and answers OK or 指定なし.
class ScriptedChooser : public DeviceChooser {
public:
    bool choose(DeviceList& list) override {
        ++shown;
        seen = list;
        DeviceSelectForm form(list);
        if (script) script(form);
        return answer;
    }
    std::function<void(DeviceSelectForm&)> script;
    bool answer = false;
    int shown = 0;
    DeviceList seen;
};

class DeviceSelection_ : public ::testing::Test {
protected:
    void SetUp() override {
        unit_.model.setDevices({{"B", "PGX-500"}, {"NEW1", "PGX-500"}, {"X9", "Other"}});
        store_.put(1, "A", "first");
        store_.put(3, "B", "");
        store_.put(5, "", "no serial");
        store_.put(7, "C", "third");
    }
    DeviceSelection run(int limit = 2, bool bound = true) {
        return selectDevice(bound, limit, bound ? &unit_.api() : nullptr, store_, chooser_);
    }

    test::SimulatedUnit unit_;
    MapStore store_;
    ScriptedChooser chooser_;
};

TEST_F(DeviceSelection_, FileEntriesCompactedPlusTheNewUnitAndNamesKeptWithoutChoice) {
    chooser_.script = [](DeviceSelectForm& f) {
        f.select(3);
        EXPECT_TRUE(f.okEnabled());
        EXPECT_EQ(f.nameText(), "");
        f.setNameText("Bench");
        f.select(0);
        EXPECT_EQ(f.nameText(), "first");
    };
    const DeviceSelection s = run();
    ASSERT_EQ(chooser_.seen.entries.size(), 4u);
    const DeviceEntry expected[] = {{"A", "first", false}, {"B", "", true}, {"C", "third", false}, {"NEW1", "", true}};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(chooser_.seen.entries[i], expected[i]) << i;
    EXPECT_EQ(chooser_.seen.selection, -1);
    EXPECT_EQ(store_.sections.size(), 4u);
    for (int n = 1; n <= 4; ++n) EXPECT_EQ(store_.serialAt(n), expected[n - 1].serial);
    EXPECT_EQ(store_.value(deviceSection(4), kKeyDescription), "Bench");
    EXPECT_EQ(std::tuple(s.specified, s.titleSet, s.titlePrefix), std::tuple(false, true, "[PGX-500指定なし] "));
}

TEST_F(DeviceSelection_, OkGivesTheUnitAndItsPrefix) {
    struct Case {
        int row;
        const char* typed;  // null: the name is left as it is
        const char* serial;
        const char* prefix;
    };
    const Case cases[] = {{0, nullptr, "A", "[first] "}, {1, nullptr, "B", "[B] "}, {3, "Bench", "NEW1", "[Bench] "}};
    for (const Case& c : cases) {
        chooser_.answer = true;
        chooser_.script = [&](DeviceSelectForm& f) {
            f.select(c.row);
            if (c.typed) f.setNameText(c.typed);
        };
        const DeviceSelection s = run();
        EXPECT_EQ(std::tuple(s.specified, s.serial, s.titlePrefix), std::tuple(true, c.serial, c.prefix)) << c.row;
    }
}

TEST_F(DeviceSelection_, AClickBelowTheLastRowClearsTheSelection) {
    DeviceList list;
    list.entries = {{"A", "first", false}, {"B", "", true}};
    DeviceSelectForm f(list);
    f.select(0);
    ASSERT_TRUE(f.okEnabled());
    f.select(-1);
    EXPECT_FALSE(f.okEnabled());
    EXPECT_FALSE(f.nameFieldEnabled());
    EXPECT_EQ(f.nameText(), "");
    f.setNameText("typed with no row");
    EXPECT_EQ(list.entries[0].displayName, "first");
    f.select(5);
    EXPECT_EQ(f.selection(), -1);
    // OK with nothing selected is no choice.
    chooser_.answer = true;
    EXPECT_FALSE(run().specified);
}

TEST_F(DeviceSelection_, AFullListTakesNoConnectedUnit) {
    store_.sections.clear();
    for (int n = 1; n <= kMaxKnownDevices; ++n) store_.put(n, "S" + std::to_string(n), "");
    store_.put(9, "B", "");
    run();
    ASSERT_EQ(chooser_.seen.entries.size(), 256u);
    for (const DeviceEntry& e : chooser_.seen.entries) EXPECT_FALSE(e.connected) << e.serial;
    EXPECT_EQ(store_.sections.size(), 256u);
    EXPECT_EQ(store_.serialAt(256), "S256");
}

TEST_F(DeviceSelection_, LimitOneAndNoLibraryNeedNoDialogNorSettings) {
    const DeviceSelection one = run(1), none = run(2, false);
    EXPECT_EQ(std::tuple(one.specified, one.serial, one.titlePrefix, one.titleSet), std::tuple(true, "", "", false));
    EXPECT_EQ(std::tuple(none.specified, none.titlePrefix), std::tuple(false, std::string()));
    EXPECT_EQ(std::tuple(chooser_.shown, store_.reads, store_.sections.size()), std::tuple(0, 0, 4u));
}

TEST_F(DeviceSelection_, AFailedListingShowsTheFileOnly) {
    unit_.fault([](pgxsim::Faults& f) { f.unplugged = true; });
    run();
    ASSERT_EQ(chooser_.seen.entries.size(), 3u);
    for (const DeviceEntry& e : chooser_.seen.entries) EXPECT_FALSE(e.connected);
}

// Another instance rewrote the list while this one's dialog was open: what
// it added stays, after this instance's own entries.
TEST_F(DeviceSelection_, EntriesAnotherInstanceAddedMeanwhileStay) {
    chooser_.script = [this](DeviceSelectForm&) {
        store_.sections.clear();
        store_.put(1, "C", "third");
        store_.put(2, "OTHER", "theirs");
    };
    run();
    EXPECT_EQ(store_.sections.size(), 5u);
    EXPECT_EQ(store_.serialAt(4), "NEW1");
    EXPECT_EQ(store_.serialAt(5), "OTHER");
    EXPECT_EQ(store_.value(deviceSection(5), kKeyDescription), "theirs");
}

}  // namespace
}  // namespace lyr::device
