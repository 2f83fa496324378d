#include "app/lifecycle.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "lifecycle_fake.h"
#include "support/scratch_folder.h"
#include "support/scripted_prompter.h"

namespace lyr::app {
namespace {

using lyr::test::ScriptedPrompter;
using test::FakeDialogs;
using test::FakeStore;
using test::FakeWaveTime;

TEST(FileRules, TitlesSaveNamesAndDialogFilters) {
    EXPECT_EQ(documentTitle("", ""), "無題");
    EXPECT_EQ(documentTitle("[PG001] ", ""), "[PG001] 無題");
    EXPECT_EQ(documentTitle("[PG001] ", "/home/u/波形.lyr"), "[PG001] 波形.lyr");
    EXPECT_EQ(documentTitle("", "C:\\data\\w.lyr"), "w.lyr");
    EXPECT_EQ(withDefaultExtension("/d/wave", "lyr"), "/d/wave.lyr");
    EXPECT_EQ(withDefaultExtension("/d/wave.dat", "lyr"), "/d/wave.dat");
    EXPECT_EQ(withDefaultExtension("/d.x/wave", "lyr"), "/d.x/wave.lyr");
    EXPECT_EQ(filterEntries(kOpenFilter),
              (std::vector<std::string>{"LYRファイル (*.lyr)", "SYNファイル (*.syn)", "すべてのファイル (*.*)"}));
    EXPECT_EQ(filterEntries(kSaveFilter), (std::vector<std::string>{"LYRファイル (*.lyr)"}));
    EXPECT_EQ(filterEntries("Text|*.txt||"), (std::vector<std::string>{"Text (*.txt)"}));
}

TEST(SaveChangesText, EachChangeAddsItsLineAndAnEmptyLine) {
    const std::string ask = "変更を保存しますか？";
    const std::string output = "出力設定が変更されています。\n\n", resolution = "アナログ分解能設定が変更されています。\n\n";
    const std::tuple<ChangeState, const char*, std::string> cases[] = {
        {{true, true, false, true}, "", "無題 の内容は変更されています。\n\n" + output + ask},
        {{true, true, false, true}, "/d/a.lyr", "ファイル a.lyr の内容は変更されています。\n\n" + output + ask},
        {{true, false, true, false}, "/d/a.lyr", resolution + ask},
        {{true, true, true, true}, "", "無題 の内容は変更されています。\n\n" + resolution + output + ask},
        {{true, false, false, false}, "/a.lyr", ""},
        {{false, true, true, true}, "/a.lyr", ""},  // no waveform: nothing to save
    };
    for (const auto& [state, path, text] : cases) EXPECT_EQ(saveChangesMessage(state, path), text) << text;
}

class LifecycleTest : public ::testing::Test {
protected:
    LifecycleTest() : life(store, prompter, dialogs, waveTime) {
        auto& h = life.hooks();
        h.pullOutputSettings = [this] { events.push_back("pull"); };
        h.closeOutputWindow = [this] { events.push_back("close-output"); };
        h.resetView = [this] { events.push_back("reset-view"); };
        h.restoreViewState = [this](const document::ViewStateRecord& r) {
            events.push_back("restore-view " + std::to_string(r.cursor));
        };
        h.storeViewState = [] {
            document::ViewStateRecord r;
            r.cursor = 77;
            return r;
        };
        h.setAnalogResolutionFromSelector = [this](int r) { events.push_back("R " + std::to_string(r)); };
        h.titleChanged = [this](const std::string& t) { titles.push_back(t); };
        h.unloadDeviceLibrary = [this] { events.push_back("unload"); };
    }
    void modify() { store.state = {true, true, false, false}; }

    FakeStore store;
    ScriptedPrompter prompter;
    FakeDialogs dialogs;
    FakeWaveTime waveTime;
    DocumentLifecycle life;
    std::vector<std::string> events;
    std::vector<std::string> titles;
};

TEST_F(LifecycleTest, NewAsksTotalTimeWithDefaultsAndResetsEverything) {
    StoredExtras locked;
    locked.editLocked = true;
    locked.reservedFlag2 = 1;
    locked.deviceText = "DEV";
    life.setExtras(locked);
    EXPECT_EQ(life.title(), "");
    life.setTitlePrefix("[A] ");  // the prefix alone is the title until the first waveform
    EXPECT_EQ(titles.back(), "[A] ");
    ASSERT_TRUE(life.newWaveform());
    EXPECT_EQ(waveTime.seenTotal, 10000000);
    EXPECT_EQ(waveTime.seenTs, 10);
    EXPECT_EQ(waveTime.seenN, 1000000u);
    EXPECT_EQ(store.calls, (std::vector<std::string>{"new 20 500"}));
    EXPECT_EQ(events, (std::vector<std::string>{"pull", "close-output", "reset-view", "R 12"}));
    EXPECT_EQ(life.title(), "[A] 無題");
    EXPECT_EQ(titles.back(), "[A] 無題");
    EXPECT_TRUE(life.editAllowed());
    EXPECT_EQ(life.extras(), StoredExtras{});
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(LifecycleTest, NewRefusedByDocumentSaysInvalidParameter) {
    store.acceptNew = false;
    EXPECT_FALSE(life.newWaveform());
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, "不正なパラメータです。");
    // The output window was already closed; nothing else happened.
    EXPECT_EQ(events, (std::vector<std::string>{"pull", "close-output"}));
}

TEST_F(LifecycleTest, CancelAbandonsNewOpenCloseAndDrop) {
    modify();
    prompter.script({PromptAnswer::Cancel, PromptAnswer::Cancel, PromptAnswer::Cancel, PromptAnswer::Cancel});
    EXPECT_FALSE(life.newWaveform());
    dialogs.answers.push_back("/d/x.lyr");
    EXPECT_FALSE(life.open());
    EXPECT_FALSE(life.close());
    EXPECT_FALSE(life.drop("/d/y.lyr"));
    EXPECT_EQ(prompter.asked.size(), 4u);
    for (const auto& q : prompter.asked) {
        EXPECT_EQ(q.buttons, PromptButtons::YesNoCancel);
        EXPECT_EQ(q.icon, PromptIcon::Warning);
        EXPECT_EQ(q.text, "無題 の内容は変更されています。\n\n変更を保存しますか？");
    }
    EXPECT_TRUE(store.calls.empty());
    EXPECT_TRUE(dialogs.filters.empty());  // the open dialog never came up
    EXPECT_EQ(waveTime.seenTs, 0);        // nor the total-time dialog
    for (const auto& e : events) EXPECT_EQ(e, "pull");
    // Without a waveform there is nothing to save and nothing to ask.
    store.state = {false, true, true, true};
    EXPECT_TRUE(life.close());
    EXPECT_EQ(prompter.asked.size(), 4u);
}

TEST_F(LifecycleTest, NoDiscardsChangesAndContinues) {
    modify();
    prompter.script({PromptAnswer::No});
    dialogs.answers.push_back("/d/x.lyr");
    EXPECT_TRUE(life.open());
    EXPECT_EQ(dialogs.filters[0], kOpenFilter);
    EXPECT_EQ(store.calls, (std::vector<std::string>{"open-lyr /d/x.lyr"}));
    EXPECT_EQ(events, (std::vector<std::string>{"pull", "close-output", "reset-view", "R 12"}));
}

TEST_F(LifecycleTest, YesOnUntitledAsksForANameAndCancelThereAbandons) {
    modify();
    prompter.script({PromptAnswer::Yes});
    dialogs.answers.push_back(std::nullopt);
    EXPECT_FALSE(life.close());
    EXPECT_EQ(dialogs.initialNames, (std::vector<std::string>{"無題"}));
    EXPECT_EQ(dialogs.filters, (std::vector<std::string>{kSaveFilter}));
    EXPECT_EQ(dialogs.extensions, (std::vector<std::string>{"lyr"}));
    EXPECT_TRUE(store.calls.empty());
}

TEST_F(LifecycleTest, YesWithAFailedSaveAbandonsAndShowsTheWriterMessage) {
    ASSERT_TRUE(life.openPath("/d/a.lyr"));
    modify();
    store.acceptSave = false;
    prompter.script({PromptAnswer::Yes});
    EXPECT_FALSE(life.close());
    ASSERT_EQ(prompter.asked.size(), 2u);
    EXPECT_EQ(prompter.asked[0].text, "ファイル a.lyr の内容は変更されています。\n\n変更を保存しますか？");
    EXPECT_EQ(prompter.asked[1].text, "ファイル書き込みエラーです。");
    EXPECT_EQ(life.documentPath(), "/d/a.lyr");
    EXPECT_EQ(std::count(events.begin(), events.end(), "unload"), 0);
    // Nor does a failed save under another name take that name.
    titles.clear();
    EXPECT_FALSE(life.saveTo("/d/b.lyr"));
    EXPECT_EQ(life.documentPath(), "/d/a.lyr");
    EXPECT_TRUE(titles.empty());
}

TEST_F(LifecycleTest, YesSavesToTheCurrentPathThenCloses) {
    ASSERT_TRUE(life.openPath("/d/a.lyr"));
    store.state = {true, false, true, true};
    prompter.script({PromptAnswer::Yes});
    events.clear();
    EXPECT_TRUE(life.close());
    EXPECT_EQ(prompter.asked[0].text,
              "アナログ分解能設定が変更されています。\n\n出力設定が変更されています。\n\n変更を保存しますか？");
    EXPECT_EQ(store.calls.back(), "save /d/a.lyr");
    ASSERT_TRUE(store.saved.has_value());
    EXPECT_EQ(store.saved->viewState.cursor, 77u);
    EXPECT_EQ(events, (std::vector<std::string>{"pull", "close-output", "unload"}));
}

TEST_F(LifecycleTest, OtherExtensionDoesNothingAndSaysNothing) {
    modify();
    prompter.script({PromptAnswer::No});
    dialogs.answers.push_back("/d/data.csv");
    EXPECT_FALSE(life.open());
    EXPECT_TRUE(store.calls.empty());
    EXPECT_EQ(prompter.asked.size(), 1u);  // only the save-changes question
}

TEST_F(LifecycleTest, FullImportTakesFlagsDeviceTextAndView) {
    store.openOutcome = {true, "", true};
    store.fileExtras.editLocked = true;
    store.fileExtras.reservedFlag3 = 1;
    store.fileExtras.deviceText = "PGX-500 #2";
    store.fileExtras.viewState.cursor = 42;
    store.resolution = 9;
    ASSERT_TRUE(life.openPath("/d/a.LYR"));
    EXPECT_FALSE(life.editAllowed());
    EXPECT_EQ(life.extras().reservedFlag3, 1);
    EXPECT_EQ(life.deviceText(), "PGX-500 #2");
    EXPECT_EQ(events, (std::vector<std::string>{"restore-view 42", "R 9"}));

    // A save carries them; a reduced import afterwards clears them.
    store.state.modified = true;
    ASSERT_TRUE(life.save());
    EXPECT_TRUE(store.saved->editLocked);
    EXPECT_EQ(store.saved->reservedFlag3, 1);
    EXPECT_EQ(store.saved->deviceText, "PGX-500 #2");
    EXPECT_EQ(store.saved->viewState.cursor, 77u);  // the view's current state, not the loaded one
    store.openOutcome = {true, "", false};
    ASSERT_TRUE(life.openPath("/d/old.syn"));
    EXPECT_TRUE(life.editAllowed());
    EXPECT_EQ(life.deviceText(), "");
}

TEST_F(LifecycleTest, SaveEnablingRule) {
    // A waveform may always be saved under a name; Save needs some change (the bit allocation alone counts).
    const std::tuple<ChangeState, bool, bool> cases[] = {
        {{false, false, false, false}, false, false}, {{true, false, false, false}, false, true},
        {{true, false, true, false}, true, true},     {{true, false, false, true}, true, true},
        {{true, true, false, false}, true, true},
    };
    for (const auto& [state, save, saveAs] : cases) {
        store.state = state;
        EXPECT_EQ(life.canSave(), save) << state.modified << state.resolutionChanged << state.outputSettingsChanged;
        EXPECT_EQ(life.canSaveAs(), saveAs) << state.hasWaveform;
    }
}

TEST_F(LifecycleTest, SaveAsAddsExtensionAsksBeforeOverwriting) {
    store.state = {true, true, false, false};
    lyr::test::ScratchFolder scratch;
    const auto& dir = scratch.path();
    const std::string base = (dir / "exists").string();
    std::ofstream(base + ".lyr") << "x";

    // No brings the dialog back with that name; cancelling it then saves nothing.
    dialogs.answers.push_back(base);
    dialogs.answers.push_back(std::nullopt);
    prompter.script({PromptAnswer::No});
    EXPECT_FALSE(life.saveAs());
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, "exists.lyr は既に存在します。\n上書きしますか？");
    EXPECT_EQ(prompter.asked[0].buttons, PromptButtons::YesNo);
    EXPECT_EQ(dialogs.initialNames, (std::vector<std::string>{"無題", "exists.lyr"}));
    EXPECT_TRUE(store.calls.empty());

    // No, then another name that is free.
    prompter.asked.clear();
    dialogs.answers.push_back(base);
    dialogs.answers.push_back((dir / "fresh").string());
    prompter.script({PromptAnswer::No});
    EXPECT_TRUE(life.saveAs());
    EXPECT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(store.calls.back(), "save " + (dir / "fresh.lyr").string());
    store.calls.clear();

    dialogs.answers.push_back(base);
    prompter.script({PromptAnswer::Yes});
    EXPECT_TRUE(life.saveAs());
    EXPECT_EQ(store.calls.back(), "save " + base + ".lyr");
    EXPECT_EQ(life.title(), "exists.lyr");
}

}  // namespace
}  // namespace lyr::app
