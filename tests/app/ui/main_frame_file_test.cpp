#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <filesystem>

#include "app/lifecycle_fake.h"
#include "app/ui/about_dlg.h"
#include "app/ui/main_frame.h"
#include "support/scripted_prompter.h"
#include "support/qt_app.h"

namespace lyr::app {
namespace {

namespace fs = std::filesystem;

class FileCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        lyr::test::qtApp();
        dir = test::freshScratchDir("lyr_file_commands");
        std::string message;
        doc = document::CSYNDoc::create(message);
        ASSERT_TRUE(doc) << message;
        frame = std::make_unique<CMainFrame>(*doc);
        frame->setPrompter(&prompter);
        frame->setWaveTimeChooser(&waveTime);
        frame->setFileDialogs(&dialogs);
        frame->resize(800, 600);
        frame->show();
    }
    void TearDown() override {
        frame.reset();
        doc.reset();
        fs::remove_all(dir);
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    void edit() {
        doc->takeAnalogSnapshot();
        doc->analog()[3] = 0.25;
        doc->commitAnalogEdit();
        frame->updateCommandStates();
    }

    fs::path dir;
    std::unique_ptr<document::CSYNDoc> doc;
    std::unique_ptr<CMainFrame> frame;
    lyr::test::ScriptedPrompter prompter;
    test::FakeDialogs dialogs;
    test::FakeWaveTime waveTime;
};

TEST_F(FileCommandsTest, NewSaveAsOpenAndTheirStates) {
    EXPECT_FALSE(frame->saveAction()->isEnabled());
    EXPECT_FALSE(frame->saveAsAction()->isEnabled());
    EXPECT_TRUE(frame->openAction()->isEnabled());

    frame->newAction()->trigger();
    ASSERT_TRUE(doc->hasWaveform());
    EXPECT_EQ(doc->sampleCount(), 500u);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("無題 - LYR"));
    EXPECT_FALSE(frame->saveAction()->isEnabled());  // nothing to save yet
    EXPECT_TRUE(frame->saveAsAction()->isEnabled());

    // Save as: the name without extension gets ".lyr".
    dialogs.answers.push_back(path("wave"));
    frame->saveAsAction()->trigger();
    ASSERT_TRUE(fs::exists(path("wave.lyr")));
    EXPECT_EQ(dialogs.initialNames.back(), "無題");
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("wave.lyr - LYR"));
    if (qEnvironmentVariableIsSet("LYR_GRAB")) {
        frame->fileMenu()->popup(frame->mapToGlobal(QPoint(0, 0)));
        lyr::test::grabIfAsked(*frame, QStringLiteral("main_frame_file"));
        lyr::test::grabIfAsked(*frame->fileMenu(), QStringLiteral("main_frame_file_menu"));
        frame->fileMenu()->hide();
    }

    // An edit enables Save; New asks about it and No discards it.
    edit();
    EXPECT_TRUE(frame->saveAction()->isEnabled());
    prompter.script({PromptAnswer::No});
    frame->newAction()->trigger();
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, "ファイル wave.lyr の内容は変更されています。\n\n変更を保存しますか？");
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("無題 - LYR"));
    EXPECT_EQ(doc->analog()[3], 0.0);

    // Open brings back the saved waveform (before the edit).
    doc->analog()[7] = 0.5;
    dialogs.answers.push_back(path("wave.lyr"));
    frame->openAction()->trigger();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("wave.lyr - LYR"));
    EXPECT_EQ(doc->analog()[7], 0.0);
    EXPECT_EQ(doc->sampleCount(), 500u);
    EXPECT_FALSE(frame->saveAction()->isEnabled());
    EXPECT_EQ(prompter.asked.size(), 1u);

    // Only the bit allocation changed: Save is enabled and writes without a dialog.
    doc->setAnalogResolution(10);
    frame->updateCommandStates();
    EXPECT_TRUE(frame->saveAction()->isEnabled());
    const auto before = dialogs.filters.size();
    frame->saveAction()->trigger();
    EXPECT_EQ(dialogs.filters.size(), before);
    EXPECT_FALSE(doc->resolutionChanged());
    EXPECT_FALSE(frame->saveAction()->isEnabled());
}

TEST_F(FileCommandsTest, FailedSaveAsKeepsTitleAndShowsTheMessage) {
    frame->newAction()->trigger();
    edit();
    dialogs.answers.push_back(path("missing/dir/x.lyr"));
    frame->saveAsAction()->trigger();
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, "ファイルオープンエラーです。");
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("無題 - LYR"));
    EXPECT_TRUE(doc->isModified());
}

TEST_F(FileCommandsTest, DroppedFileOpensAfterThePrompt) {
    frame->newAction()->trigger();
    dialogs.answers.push_back(path("dropped.lyr"));
    frame->saveAsAction()->trigger();
    frame->newAction()->trigger();
    edit();

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(path("dropped.lyr")))});
    const QPointF at(100, 100);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());

    // Cancel keeps the edited untitled waveform.
    prompter.script({PromptAnswer::Cancel});
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &drop);
    EXPECT_EQ(prompter.remaining(), 0u);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("無題 - LYR"));
    EXPECT_EQ(doc->analog()[3], 0.25);

    prompter.script({PromptAnswer::No});
    QDragEnterEvent enterAgain(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &enterAgain);
    QDropEvent again(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &again);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("dropped.lyr - LYR"));
    EXPECT_EQ(doc->analog()[3], 0.0);
}

TEST_F(FileCommandsTest, CloseAsksAndCancelKeepsTheWindow) {
    frame->newAction()->trigger();
    edit();
    prompter.script({PromptAnswer::Cancel});
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(prompter.asked.back().text, "無題 の内容は変更されています。\n\n変更を保存しますか？");

    prompter.script({PromptAnswer::Yes});
    dialogs.answers.push_back(path("closing.lyr"));
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(fs::exists(path("closing.lyr")));
}

TEST_F(FileCommandsTest, MenuTextsPromptsAndTooltips) {
    struct Row {
        QAction* action;
        const char* text;
        const char* prompt;
        const char* tip;
    };
    const Row rows[] = {
        {frame->newAction(), "新規作成(&N)", "新規にファイルを作成", "新規ファイル"},
        {frame->openAction(), "開く(&O)...", "既存のファイルを開く", "開く"},
        {frame->saveAction(), "上書き保存(&S)", "作業中のファイルを上書きして保存", "保存"},
        {frame->saveAsAction(), "名前を付けて保存(&A)...", "作業中のファイルを新しい名前で保存", "名前をつけて保存"},
        {frame->exitAction(), "LYRの終了(&X)", "SYNを終了し、ファイルの保存を指示", "終了"},
        {frame->aboutAction(), "LYR のバージョン情報(&A)", "プログラムの情報、バージョンそして著作権を表示",
         "バージョン情報"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.action->text(), QString::fromUtf8(r.text));
        EXPECT_EQ(r.action->statusTip(), QString::fromUtf8(r.prompt)) << r.text;
        EXPECT_EQ(r.action->toolTip(), QString::fromUtf8(r.tip)) << r.text;
    }
}

TEST_F(FileCommandsTest, EditLockComesFromTheFileAndNewLiftsIt) {
    std::string message;
    auto source = document::CSYNDoc::create(message);
    ASSERT_TRUE(source);
    ASSERT_TRUE(source->newWaveform(10, 100));
    document::StoredExtras locked;
    locked.editLocked = true;
    ASSERT_TRUE(document::saveWaveformFile(path("locked.lyr"), *source, locked).ok);

    QAction* sine = frame->commandAction(32773);  // 正弦波
    dialogs.answers.push_back(path("locked.lyr"));
    frame->openAction()->trigger();
    ASSERT_TRUE(doc->hasWaveform());
    EXPECT_FALSE(frame->lifecycle().editAllowed());
    EXPECT_FALSE(sine->isEnabled());
    EXPECT_TRUE(frame->commandAction(32842)->isChecked());  // 編集禁止 carries its check mark

    frame->newAction()->trigger();
    EXPECT_TRUE(frame->lifecycle().editAllowed());
    EXPECT_TRUE(sine->isEnabled());
}

TEST_F(FileCommandsTest, AboutOpensTheVersionBox) {
    ASSERT_TRUE(frame->aboutAction()->isEnabled());
    bool seen = false;
    QTimer::singleShot(0, frame.get(), [&seen] {
        auto* dlg = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        seen = true;
        QTest::mouseClick(dlg->okButton(), Qt::LeftButton);
    });
    frame->aboutAction()->trigger();
    EXPECT_TRUE(seen);
}

}  // namespace
}  // namespace lyr::app
