// The file commands through the real window, with scripted file dialogs:
// one path per command, the drop, the close box, the lock a file carries and
// the version box.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <filesystem>

#include "app/lifecycle_fake.h"
#include "app/ui/about_dlg.h"
#include "document/waveform_file.h"
#include "support/main_frame.h"
#include "support/modal.h"
#include "support/waveform_files.h"

namespace lyr::app {
namespace {

namespace fs = std::filesystem;

class FileCommands : public lyr::test::MainFrameTest {
protected:
    void SetUp() override {
        MainFrameTest::SetUp();
        frame->setWaveTimeChooser(&waveTime);
        frame->setFileDialogs(&dialogs);
    }
    std::string path(const std::string& name) const { return dir.file(name); }
    void edit() {
        doc->takeAnalogSnapshot();
        doc->analog()[3] = 0.25;
        doc->commitAnalogEdit();
        frame->updateCommandStates();
    }
    void drop(const std::string& file) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
        const QPointF at(100, 100);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame.get(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame.get(), &drop);
    }

    lyr::test::ScratchFolder dir;
    test::FakeDialogs dialogs;
    test::FakeWaveTime waveTime;
};

TEST_F(FileCommands, NewSaveAsOpenSaveAndTheirStates) {
    EXPECT_FALSE(frame->saveAction()->isEnabled());
    EXPECT_FALSE(frame->saveAsAction()->isEnabled());
    EXPECT_TRUE(frame->openAction()->isEnabled());

    frame->newAction()->trigger();
    ASSERT_EQ(doc->sampleCount(), 500u);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("無題 - LYR"));
    EXPECT_FALSE(frame->saveAction()->isEnabled());  // nothing to save yet
    EXPECT_TRUE(frame->saveAsAction()->isEnabled());

    // Save as: the name without extension gets ".lyr".
    dialogs.answers.push_back(path("wave"));
    frame->saveAsAction()->trigger();
    ASSERT_TRUE(fs::exists(path("wave.lyr")));
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
    EXPECT_EQ(doc->analog()[3], 0.0);

    // Open brings back the saved waveform.
    doc->analog()[7] = 0.5;
    dialogs.answers.push_back(path("wave.lyr"));
    frame->openAction()->trigger();
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("wave.lyr - LYR"));
    EXPECT_EQ(doc->analog()[7], 0.0);
    EXPECT_FALSE(frame->saveAction()->isEnabled());
}

TEST_F(FileCommands, DroppedFileOpensAfterThePromptAndTheCloseBoxAsks) {
    frame->newAction()->trigger();
    dialogs.answers.push_back(path("dropped.lyr"));
    frame->saveAsAction()->trigger();
    frame->newAction()->trigger();
    edit();

    prompter.script({PromptAnswer::No});
    drop(path("dropped.lyr"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("dropped.lyr - LYR"));
    EXPECT_EQ(doc->analog()[3], 0.0);

    edit();
    prompter.script({PromptAnswer::Cancel});
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    EXPECT_EQ(prompter.asked.back().text, "ファイル dropped.lyr の内容は変更されています。\n\n変更を保存しますか？");
    prompter.script({PromptAnswer::Yes});
    const auto before = lyr::test::fileBytes(path("dropped.lyr"));
    EXPECT_TRUE(frame->close());
    EXPECT_NE(lyr::test::fileBytes(path("dropped.lyr")), before);
}

TEST_F(FileCommands, EditLockFromTheStartFromTheFileAndNewLiftsIt) {
    auto source = lyr::test::newDoc(10, 100);
    document::StoredExtras locked;
    locked.editLocked = true;
    ASSERT_TRUE(document::saveWaveformFile(path("locked.lyr"), *source, locked).ok);

    // Before the first waveform nothing may be edited: the greyed "編集禁止(&D)" carries its check mark.
    QAction* lock = frame->commandAction(CommandId::EditLock);
    EXPECT_FALSE(lock->isEnabled());
    EXPECT_TRUE(lock->isChecked());
    EXPECT_FALSE(frame->lifecycle().editAllowed());

    QAction* sine = frame->commandAction(CommandId::Sine);  // 正弦波
    dialogs.answers.push_back(path("locked.lyr"));
    frame->openAction()->trigger();
    ASSERT_TRUE(doc->hasWaveform());
    EXPECT_FALSE(sine->isEnabled());
    EXPECT_TRUE(frame->commandAction(CommandId::EditLock)->isChecked());  // 編集禁止 carries its check mark

    frame->newAction()->trigger();
    EXPECT_TRUE(sine->isEnabled());
    EXPECT_FALSE(frame->commandAction(CommandId::EditLock)->isChecked());
}

// The accelerators reach their commands from the main window: Ctrl+S saves
// (asking for a name the first time), Alt+Backspace undoes, Ctrl+O opens.
TEST_F(FileCommands, CtrlSAltBackspaceAndCtrlO) {
    QApplication::setActiveWindow(frame.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    frame->newAction()->trigger();
    edit();
    auto keys = [this](QKeySequence k) {
        QWidget* focus = QApplication::focusWidget();
        QTest::keySequence(focus ? focus : frame.get(), k);
    };
    dialogs.answers.push_back(path("keys.lyr"));
    keys(QKeySequence(Qt::CTRL | Qt::Key_S));
    ASSERT_TRUE(fs::exists(path("keys.lyr")));
    EXPECT_TRUE(dialogs.answers.empty());
    EXPECT_FALSE(doc->isModified());

    edit();
    doc->analog()[3] = 0.5;
    keys(QKeySequence(Qt::ALT | Qt::Key_Backspace));
    EXPECT_EQ(doc->analog()[3], 0.25);

    // The undo went back to the saved state: Open asks nothing.
    doc->analog()[9] = 0.75;  // not an edit: the file shows it is gone
    dialogs.answers.push_back(path("keys.lyr"));
    keys(QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_TRUE(dialogs.answers.empty());
    EXPECT_EQ(doc->analog()[9], 0.0);
    EXPECT_EQ(doc->analog()[3], 0.25);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("keys.lyr - LYR"));
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(FileCommands, AboutShowsTheVersionAndClosesWithOkOrEnter) {
    for (bool enter : {false, true}) {
        bool seen = false;
        lyr::test::whenModal<CAboutDlg>(frame.get(), [&seen, enter](CAboutDlg& dlg) {
            seen = true;
            EXPECT_EQ(dlg.windowTitle(), QStringLiteral("LYRのﾊﾞｰｼﾞｮﾝ情報"));
            EXPECT_EQ(dlg.versionLabel()->text(), QStringLiteral("LYR Version 1.4"));
            EXPECT_EQ(dlg.productLabel()->text(), QStringLiteral("PGX-500 波形データ編集・書き込みプログラム"));
            EXPECT_FALSE(dlg.versionLabel()->accessibleName().isEmpty());
            lyr::test::grabIfAsked(dlg, QStringLiteral("about_dlg"));
            if (enter)
                QTest::keyClick(&dlg, Qt::Key_Return);
            else
                QTest::mouseClick(dlg.okButton(), Qt::LeftButton);
            EXPECT_FALSE(dlg.isVisible());
            EXPECT_EQ(dlg.result(), QDialog::Accepted);
        });
        frame->aboutAction()->trigger();
        EXPECT_TRUE(seen);
    }
}

}  // namespace
}  // namespace lyr::app
