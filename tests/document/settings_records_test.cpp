#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

#include "document/settings_records.h"
#include "document/view_state_record.h"
#include "support/editor_settings.h"

using namespace lyr::document;

namespace {

using lyr::test::scrambledEditorSettings;

template <class R>
std::vector<std::string> fieldNames() {
    std::vector<std::string> names;
    R r;
    R::forEachField(r, [&](const char* name, auto&) { names.emplace_back(name); });
    return names;
}

}  // namespace

TEST(SettingsRecords, SizesAndFileOffsetsOfEveryRecord) {
    std::vector<std::size_t> natural, dword;
    EditorSettings s;
    EditorSettings::forEachRecord(s, [&](const char*, auto& r) {
        using R = std::remove_cvref_t<decltype(r)>;
        natural.push_back(recordSize<R>(ByteFieldWidth::Natural));
        dword.push_back(recordSize<R>(ByteFieldWidth::Dword));
        EXPECT_EQ(recordSize<R>(ByteFieldWidth::Natural), R::kByteSize) << R::kName;
    });
    EXPECT_EQ(natural, (std::vector<std::size_t>{68, 104, 20, 28, 40, 20, 48, 32, 34, 20, 21, 20, 28, 20}));
    // Offsets inside the file's settings block, byte fields widened to dwords.
    std::vector<std::size_t> offsets;
    std::size_t at = 0;
    for (auto d : dword) {
        offsets.push_back(at);
        at += d;
    }
    EXPECT_EQ(offsets, (std::vector<std::size_t>{0, 68, 172, 192, 220, 260, 280, 328, 360, 400, 420,
                                                 444, 464, 492}));
    EXPECT_EQ(at, kEditorSettingsDwordSize);
    std::size_t sum = 0;
    for (auto n : natural) sum += n;
    EXPECT_EQ(sum, kEditorSettingsNaturalSize);
}

TEST(SettingsRecords, DefaultsOfAFreshSet) {
    EditorSettings s = scrambledEditorSettings();
    s.resetToDefaults();
    // The values that are not zero, and a few zero ones next to them.
    EXPECT_EQ(std::tuple(s.sine.periodUnit, s.sine.sinePeriodUnit, s.sine.delayUnit), std::tuple(-1, -1, -1));
    EXPECT_EQ(s.sine.repeatCount, 1);
    EXPECT_EQ(s.sine.phaseMode, 0);
    EXPECT_EQ(s.rectangle.t4Unit, -1);
    EXPECT_EQ(s.rectangle.repeatCount, 1);
    EXPECT_EQ(s.exp.timeConstantUnit, -1);
    EXPECT_EQ(s.noise.sigma, 0.0);
    EXPECT_EQ(std::tuple(s.manual.gainFactor, s.manual.upperLimit, s.manual.lowerLimit), std::tuple(1.0, 1.0, -1.0));
    EXPECT_EQ(s.manual.copyPeriodUnit, -1);
    EXPECT_EQ(s.external.amplitudeFactor, 1.0);
    EXPECT_EQ(s.external.sourceIntervalUnit, -1);
    EXPECT_EQ(std::tuple(s.clock.level1, s.clock.level2, s.clock.repeat, s.clock.unit1),
              std::tuple(std::uint8_t{1}, std::uint8_t{0}, 1u, -1));
    EXPECT_EQ(s.serial.bitTimeUnit, -1);
    EXPECT_EQ(s.parallel.channelMask, 0xFF);
    EXPECT_EQ(s.parallel.intervalUnit, -1);
    EXPECT_EQ(s.modify.copyPeriodUnit, -1);
    EXPECT_EQ(s.shift.shiftUnit, -1);
    EXPECT_EQ(std::tuple(s.swap.swapA, s.swap.swapB), std::tuple(0, 1));
    EXPECT_EQ(s, EditorSettings{});
}

TEST(SettingsRecords, FieldNamesAreListedOnceInStoredOrder) {
    EXPECT_EQ(fieldNames<ClockSettings>(), (std::vector<std::string>{"t1", "t2", "unit1", "unit2", "level1",
                                                                     "level2", "repeat", "channel"}));
    EXPECT_EQ(fieldNames<SineSettings>(),
              (std::vector<std::string>{"period", "periodUnit", "sinePeriod", "sinePeriodUnit", "delay",
                                        "delayUnit", "startPhase", "amplitude", "offset", "repeatCount",
                                        "phaseMode"}));
    EditorSettings s;
    EditorSettings::forEachRecord(s, [&](const char* recordName, auto& r) {
        const auto names = fieldNames<std::remove_cvref_t<decltype(r)>>();
        EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size()) << recordName;
    });
}

TEST(SettingsRecords, WholeBlockRoundTripsInBothLayouts) {
    const EditorSettings original = scrambledEditorSettings();
    ASSERT_NE(original, EditorSettings{});
    for (auto w : {ByteFieldWidth::Natural, ByteFieldWidth::Dword}) {
        std::vector<std::uint8_t> bytes(editorSettingsSize(w), 0xEE);
        ASSERT_EQ(encodeEditorSettings(original, bytes, w), editorSettingsSize(w));
        EditorSettings back;
        ASSERT_TRUE(decodeEditorSettings(bytes, back, w));
        EXPECT_EQ(back, original);
        // Re-encoding the decoded block gives the same bytes.
        std::vector<std::uint8_t> again(bytes.size());
        encodeEditorSettings(back, again, w);
        EXPECT_EQ(again, bytes);
    }
}

TEST(SettingsRecords, LittleEndianBytesAtTheirOffsets) {
    EditorSettings s;
    s.sine.period = 0x0102030405060708;
    s.sine.periodUnit = 2;
    s.sine.startPhase = 1.0;  // 0x3FF0000000000000
    s.clock.level1 = 0xAB;
    s.clock.repeat = 0x11223344;
    s.parallel.channelMask = 0x5A;
    s.swap.swapB = -2;

    std::vector<std::uint8_t> b(kEditorSettingsDwordSize);
    encodeEditorSettings(s, b, ByteFieldWidth::Dword);
    EXPECT_EQ(std::vector<std::uint8_t>(b.begin(), b.begin() + 12),
              (std::vector<std::uint8_t>{8, 7, 6, 5, 4, 3, 2, 1, 2, 0, 0, 0}));
    // startPhase follows the three times with their units (9 dwords).
    EXPECT_EQ(b[36 + 7], 0x3F);
    EXPECT_EQ(b[36 + 6], 0xF0);
    // ClockSettings at 360: t1, t2, unit1, unit2 (24 bytes), then level1 widened.
    EXPECT_EQ((std::vector<std::uint8_t>(b.begin() + 384, b.begin() + 388)),
              (std::vector<std::uint8_t>{0xAB, 0, 0, 0}));
    EXPECT_EQ((std::vector<std::uint8_t>(b.begin() + 392, b.begin() + 396)),
              (std::vector<std::uint8_t>{0x44, 0x33, 0x22, 0x11}));
    // ParallelSettings at 420: interval, unit, bitOrder (16 bytes), then the mask.
    EXPECT_EQ(b[436], 0x5A);
    EXPECT_EQ(b[437], 0);
    // SwapSettings at 492: swapB is the second dword.
    EXPECT_EQ((std::vector<std::uint8_t>(b.begin() + 496, b.begin() + 500)),
              (std::vector<std::uint8_t>{0xFE, 0xFF, 0xFF, 0xFF}));

    std::vector<std::uint8_t> n(kEditorSettingsNaturalSize);
    encodeEditorSettings(s, n, ByteFieldWidth::Natural);
    EXPECT_EQ(n[384], 0xAB);  // level1 is one byte here
    EXPECT_EQ(n[385], 0);     // level2
    EXPECT_EQ((std::vector<std::uint8_t>(n.begin() + 386, n.begin() + 390)),
              (std::vector<std::uint8_t>{0x44, 0x33, 0x22, 0x11}));
}

TEST(SettingsRecords, WidenedByteFieldReadsOnlyTheLowByte) {
    std::vector<std::uint8_t> b(kEditorSettingsDwordSize);
    encodeEditorSettings(EditorSettings{}, b, ByteFieldWidth::Dword);
    b[384] = 0x00;
    b[385] = 0x01;  // dword 0x100: low byte 0
    b[436] = 0x0F;
    b[438] = 0x77;
    EditorSettings s;
    ASSERT_TRUE(decodeEditorSettings(b, s, ByteFieldWidth::Dword));
    EXPECT_EQ(s.clock.level1, 0);
    EXPECT_EQ(s.parallel.channelMask, 0x0F);
    EXPECT_EQ(s.parallel.source, 0);  // the next field is not disturbed
}

TEST(SettingsRecords, ShortBuffersAreRefusedAndChangeNothing) {
    const EditorSettings original = scrambledEditorSettings();
    std::vector<std::uint8_t> small(kEditorSettingsNaturalSize - 1, 0x55);
    EXPECT_EQ(encodeEditorSettings(original, small, ByteFieldWidth::Natural), 0u);
    EXPECT_EQ(small, std::vector<std::uint8_t>(kEditorSettingsNaturalSize - 1, 0x55));
    EditorSettings s = original;
    std::vector<std::uint8_t> shortDword(kEditorSettingsDwordSize - 1);
    EXPECT_FALSE(decodeEditorSettings(shortDword, s, ByteFieldWidth::Dword));
    EXPECT_EQ(s, original);
    ClockSettings c;
    std::vector<std::uint8_t> tiny(10);
    EXPECT_FALSE(decodeRecord(std::span<const std::uint8_t>(tiny), c, ByteFieldWidth::Natural));
}

TEST(ViewStateRecord, OrderOfTheStoredDwords) {
    ViewStateRecord r;
    r.cursor = 11;
    r.scroll = 12;
    r.cursorX = -3;
    r.markSet = 1;
    r.mark = 14;
    r.markX = 15;
    r.history[0] = 100;
    r.history[127] = 227;
    r.oldest = 5;
    r.next = 6;
    r.current = 7;
    r.empty = 1;
    r.onHistory = 1;
    r.viewFlag = 1;
    r.zoomSpans[0] = 1000;
    r.zoomSpans[31] = 31;
    r.standardZoom = 2;
    r.maxZoom = 4;
    r.zoom = 3;
    const auto d = r.toDwords();
    ASSERT_EQ(d.size(), 178u);
    const std::pair<int, std::uint32_t> stored[] = {
        {0, 11},   {2, 0xFFFFFFFD}, {3, 1},   {5, 15},   {6, 100},    {133, 227}, {134, 5}, {136, 7}, {137, 1},
        {138, 0},  {140, 1},        {142, 1}, {143, 1000}, {174, 31}, {175, 2},   {176, 4}, {177, 3}};
    for (const auto& [at, value] : stored) EXPECT_EQ(d[at], value) << at;

    std::array<std::uint8_t, ViewStateRecord::kByteSize> bytes{};
    ASSERT_TRUE(r.encode(bytes));
    EXPECT_EQ(bytes[8], 0xFD);  // cursorX, little-endian
    EXPECT_EQ(bytes[11], 0xFF);
    ViewStateRecord back;
    ASSERT_TRUE(back.decode(bytes));
    EXPECT_EQ(back, r);
}

TEST(ViewStateRecord, FlagsAreNormalisedAndShortInputRefused) {
    std::array<std::uint32_t, ViewStateRecord::kDwordCount> d{};
    d[3] = 7;      // markSet
    d[4] = 7;      // mark index stays as stored
    d[141] = 0x100;  // zoomEnabled
    const auto r = ViewStateRecord::fromDwords(d);
    EXPECT_EQ(r.markSet, 1u);
    EXPECT_EQ(r.mark, 7u);
    EXPECT_EQ(r.zoomEnabled, 1u);
    ViewStateRecord unchanged = r;
    std::vector<std::uint8_t> shortBytes(ViewStateRecord::kByteSize - 1);
    EXPECT_FALSE(unchanged.decode(shortBytes));
    EXPECT_EQ(unchanged, r);
    EXPECT_FALSE(r.encode(shortBytes));
}
