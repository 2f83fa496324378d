// The document commands over the real document and real files.
#include "app/document_store.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/lifecycle.h"
#include "lifecycle_fake.h"
#include "support/documents.h"
#include "support/scripted_prompter.h"
#include "support/waveform_files.h"

namespace lyr::app {
namespace {

namespace fs = std::filesystem;
namespace wf = document::wavefile;

class RealDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        doc = lyr::test::makeDoc();
        store = std::make_unique<DocumentStore>(*doc);
        life = std::make_unique<DocumentLifecycle>(*store, prompter, dialogs, waveTime);
        life->hooks().storeViewState = [this] { return view; };
        life->hooks().restoreViewState = [this](const document::ViewStateRecord& r) { restored = r; };
    }
    std::string path(const std::string& name) const { return folder.file(name); }

    lyr::test::ScratchFolder folder;
    std::unique_ptr<document::CSYNDoc> doc;
    std::unique_ptr<DocumentStore> store;
    lyr::test::ScriptedPrompter prompter;
    test::FakeDialogs dialogs;
    test::FakeWaveTime waveTime;
    std::unique_ptr<DocumentLifecycle> life;
    document::ViewStateRecord view;
    document::ViewStateRecord restored;
};

TEST_F(RealDocumentTest, UpperCaseSynOpensAsLyrAndSaveWritesItBeside) {
    lyr::test::LegacyFile legacy;  // 100 samples of 200 ns, CH0 high
    legacy.u = 10;
    legacy.n = 100;
    legacy.analog.assign(100, 0.5);
    legacy.channels[0].assign(100, 1);
    legacy.output.startControl = 2;  // external trigger
    lyr::test::putFileBytes(path("OLD.SYN"), legacy.bytes());
    life->setTitlePrefix("[B] ");
    ASSERT_TRUE(life->openPath(path("OLD.SYN")));
    EXPECT_EQ(life->documentPath(), path("OLD.lyr"));
    EXPECT_EQ(life->title(), "[B] OLD.lyr");
    EXPECT_EQ(doc->sampleCount(), 100u);
    EXPECT_EQ(doc->samplingTime(), 200);
    EXPECT_EQ(doc->digital(0)[5], 1);

    // Only the output settings differ from the file: Save is enabled for them.
    auto s = doc->outputSettings();
    s.outputMode = 1;
    doc->setOutputSettings(s);
    EXPECT_FALSE(store->changes().modified);
    EXPECT_TRUE(store->changes().outputSettingsChanged);
    EXPECT_TRUE(life->canSave());
    ASSERT_TRUE(life->save());
    EXPECT_TRUE(dialogs.filters.empty());  // written beside it without asking
    EXPECT_TRUE(prompter.asked.empty());
    EXPECT_TRUE(fs::exists(path("OLD.SYN")));
    ASSERT_TRUE(fs::exists(path("OLD.lyr")));
    EXPECT_EQ(fs::file_size(path("OLD.lyr")), wf::currentFileSize(100));
    EXPECT_FALSE(life->canSave());

    // The saved file reads back as a current-version file.
    ASSERT_TRUE(life->openPath(path("OLD.lyr")));
    EXPECT_EQ(doc->outputSettings().outputMode, 1);
    EXPECT_EQ(doc->outputSettings().startControl, 2);
}

// The store reports the document's own flags; saving clears every one.
TEST_F(RealDocumentTest, ChangesFollowTheDocumentAndASaveClearsThem) {
    auto flags = [this] {
        const ChangeState c = store->changes();
        return std::array<bool, 4>{c.hasWaveform, c.modified, c.resolutionChanged, c.outputSettingsChanged};
    };
    EXPECT_EQ(flags(), (std::array<bool, 4>{false, false, false, false}));
    ASSERT_TRUE(life->newWaveform());
    EXPECT_EQ(flags(), (std::array<bool, 4>{true, false, false, false}));
    ASSERT_TRUE(doc->setAnalogResolution(9));  // the bit allocation alone
    EXPECT_EQ(flags(), (std::array<bool, 4>{true, false, true, false}));
    doc->takeAnalogSnapshot();
    doc->analog()[0] = 1.0;
    doc->commitAnalogEdit();
    auto s = doc->outputSettings();
    s.repeatCount = 5;
    doc->setOutputSettings(s);
    EXPECT_EQ(flags(), (std::array<bool, 4>{true, true, true, true}));

    prompter.script({PromptAnswer::Yes});
    dialogs.answers.push_back(path("all.lyr"));
    EXPECT_TRUE(life->close());
    EXPECT_EQ(flags(), (std::array<bool, 4>{true, false, false, false}));
    EXPECT_EQ(life->title(), "all.lyr");
}

TEST_F(RealDocumentTest, ExtrasAndViewTravelThroughTheFile) {
    ASSERT_TRUE(life->newWaveform());
    StoredExtras e;
    e.editLocked = true;
    e.reservedFlag1 = 1;
    life->setExtras(e);
    view.cursor = 123;
    view.zoomSpans[0] = 500;
    dialogs.answers.push_back(path("x.lyr"));
    ASSERT_TRUE(life->saveAs());

    ASSERT_TRUE(life->newWaveform());
    EXPECT_TRUE(life->editAllowed());
    ASSERT_TRUE(life->openPath(path("x.lyr")));
    EXPECT_FALSE(life->editAllowed());
    EXPECT_EQ(life->extras().reservedFlag1, 1);
    EXPECT_EQ(restored.cursor, 123u);
    EXPECT_EQ(restored.zoomSpans[0], 500u);
}

TEST_F(RealDocumentTest, RefusedFileLeavesDocumentAndTitle) {
    ASSERT_TRUE(life->newWaveform());
    doc->takeAnalogSnapshot();
    doc->analog()[2] = 0.75;
    doc->commitAnalogEdit();
    std::ofstream(path("bad.lyr")) << "too short";
    EXPECT_FALSE(life->openPath(path("bad.lyr")));
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, "ファイルフォーマットエラーです。");
    EXPECT_EQ(doc->analog()[2], 0.75);
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(life->title(), "無題");
}

TEST_F(RealDocumentTest, FailedSaveKeepsTheDocumentModifiedAndAnInPlaceSaveIsTold) {
    ASSERT_TRUE(life->newWaveform());
    dialogs.answers.push_back(path("keep.lyr"));
    ASSERT_TRUE(life->saveAs());

    // The disk fills up half-way through the next save of the same file (the
    // file itself stays as it was: WaveformFileRaw.FailedWriteLeavesThePreviousFileAsItWas).
    doc->takeAnalogSnapshot();
    doc->analog()[1] = -0.5;
    doc->commitAnalogEdit();
    struct DiskFull : wf::IoSeam {
        std::size_t allowWrite(std::size_t n) override { return n / 2; }
    } full;
    {
        lyr::test::SeamInstalled installed(&full);
        EXPECT_FALSE(life->save());
    }
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, "ファイル書き込みエラーです。");
    EXPECT_TRUE(doc->isModified());
    EXPECT_EQ(life->documentPath(), path("keep.lyr"));

    // A folder that takes no temporary file: saved in place, and the user is told.
    struct FolderRefuses : wf::IoSeam {
        bool folderRefusesNewFile() override { return true; }
    } refuses;
    {
        lyr::test::TemporaryFolderAt tmp(folder.path() / "tmp");
        lyr::test::SeamInstalled installed(&refuses);
        EXPECT_TRUE(life->save());
        EXPECT_TRUE(fs::is_empty(folder.path() / "tmp"));  // the copy of the old bytes is gone
    }
    ASSERT_EQ(prompter.asked.size(), 2u);
    EXPECT_EQ(prompter.asked[1].text, wf::kMsgSavedInPlace);
    EXPECT_FALSE(doc->isModified());
}

}  // namespace
}  // namespace lyr::app
