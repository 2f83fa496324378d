#include "app/ui/syn_app.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QTextStream>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/ui/app_startup.h"
#include "app/ui/main_frame.h"
#include "document/waveform_file.h"
#include "app/lifecycle_fake.h"
#include "support/scripted_prompter.h"
#include "support/qt_app.h"

namespace lyr::app {
namespace {

namespace fs = std::filesystem;

std::string slurp(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        lyr::test::qtApp();
        dir = test::freshScratchDir("lyr_startup");
        ini = (dir / "LYR.INI").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    void writeIni(const std::string& text) { std::ofstream(ini) << text; }
    std::unique_ptr<CSYNApp> start(QStringList extra = {}) {
        QStringList args{QStringLiteral("--settings"), QString::fromStdString(ini)};
        args += extra;
        auto a = std::make_unique<CSYNApp>(args);
        a->setLockDirectory(QString::fromStdString(dir.string()));
        a->setShowWindow(false);
        return a;
    }

    fs::path dir;
    std::string ini;
    lyr::test::ScriptedPrompter prompter;
};

TEST_F(StartupTest, OldVersionIsRewrittenAndOtherEntriesStay) {
    writeIni("[LYR]\nVersion=1.3\n\n[PGX-500]\nMaxNumber=3\n\n[PGX-500.Device1]\nSerialNo=PG0001\nDescription=PGX-500 A\n");
    auto a = start();
    ASSERT_TRUE(a->initInstance(&prompter));
    EXPECT_TRUE(a->startupDone());
    EXPECT_EQ(a->maxNumber(), 3);
    EXPECT_EQ(a->settingsPath(), QString::fromStdString(ini));
    const std::string text = slurp(ini);
    EXPECT_NE(text.find("Version=1.4"), std::string::npos) << text;
    EXPECT_NE(text.find("MaxNumber=3"), std::string::npos);
    EXPECT_NE(text.find("SerialNo=PG0001"), std::string::npos);
    EXPECT_EQ(a->settings()->value("PGX-500.Device1", "Description"), "PGX-500 A");
    EXPECT_FALSE(a->document()->hasWaveform());
    EXPECT_EQ(a->mainFrame()->windowTitle(), QStringLiteral("LYR"));
    EXPECT_TRUE(a->mainFrame()->acceptDrops());
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(StartupTest, MissingFileIsCreatedWithVersionAndMaxNumberOne) {
    auto a = start();
    ASSERT_TRUE(a->initInstance(&prompter));
    EXPECT_EQ(a->maxNumber(), 1);
    const std::string text = slurp(ini);
    EXPECT_NE(text.find("[LYR]\nVersion=1.4"), std::string::npos) << text;
    EXPECT_NE(text.find("[PGX-500]\nMaxNumber=1"), std::string::npos) << text;
}

TEST_F(StartupTest, SecondInstanceIsRefusedWhenMaxNumberIsOne) {
    writeIni("[LYR]\nVersion=1.4\n[PGX-500]\nMaxNumber=abc\n");
    auto first = start();
    ASSERT_TRUE(first->initInstance(&prompter));
    auto second = start();
    EXPECT_FALSE(second->initInstance(&prompter));
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, "既に起動しています。");
    EXPECT_EQ(second->mainFrame(), nullptr);
    // Once the first has ended, the next one starts.
    first.reset();
    auto third = start();
    EXPECT_TRUE(third->initInstance(&prompter));
}

TEST_F(StartupTest, SeveralInstancesWithMaxNumberTwo) {
    writeIni("[PGX-500]\nMaxNumber=2\n");
    auto first = start();
    auto second = start();
    EXPECT_TRUE(first->initInstance(&prompter));
    EXPECT_TRUE(second->initInstance(&prompter));
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(StartupTest, AFolderWithoutLocksDoesNotClaimAnotherInstance) {
    auto a = start();
    a->setLockDirectory(QString::fromStdString((dir / "no" / "such" / "folder").string()));
    EXPECT_TRUE(a->initInstance(&prompter));
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(StartupTest, LockOfACrashedInstanceIsTakenOver) {
    // A process that has ended leaves its lock file behind.
    QProcess gone;
    gone.start(QStringLiteral("true"));
    ASSERT_TRUE(gone.waitForFinished());
    const qint64 deadPid = gone.processId() ? gone.processId() : 999999;
    InstanceLock probe(QString::fromStdString(dir.string()));
    {
        QFile f(probe.path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        QTextStream(&f) << (deadPid > 1 ? deadPid : 999999) << "\nlyr\n" << QSysInfo::machineHostName() << "\n";
    }
    auto a = start();
    EXPECT_TRUE(a->initInstance(&prompter));
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(StartupTest, CommandLineFileIsOpenedByItsExtension) {
    std::string message;
    auto doc = document::CSYNDoc::create(message);
    ASSERT_TRUE(doc);
    ASSERT_TRUE(doc->newWaveform(20, 64));
    const std::string wave = (dir / "START.LYR").string();
    ASSERT_TRUE(document::saveWaveformFile(wave, *doc, {}).ok);

    auto a = start({QString::fromStdString(wave)});
    // The device selection runs before the file is opened, with MaxNumber and the settings.
    int selectedWith = 0;
    a->deviceSelection = [&](CMainFrame& frame, int maxNumber, SettingsStore& settings) {
        EXPECT_FALSE(frame.document().hasWaveform());
        EXPECT_EQ(settings.value("LYR", "Version"), "1.4");
        frame.lifecycle().setTitlePrefix("[PG0001] ");
        EXPECT_EQ(frame.documentTitle(), QStringLiteral("[PG0001] "));  // no waveform yet
        selectedWith = maxNumber;
    };
    ASSERT_TRUE(a->initInstance(&prompter));
    EXPECT_EQ(selectedWith, 1);
    ASSERT_TRUE(a->document()->hasWaveform());
    EXPECT_EQ(a->document()->sampleCount(), 64u);
    EXPECT_EQ(a->mainFrame()->windowTitle(), QStringLiteral("[PG0001] START.LYR - LYR"));
    EXPECT_TRUE(a->startupDone());
}

TEST_F(StartupTest, CommandLineFileOfAnotherKindIsIgnored) {
    const std::string other = (dir / "notes.txt").string();
    std::ofstream(other) << "x";
    auto a = start({QString::fromStdString(other)});
    ASSERT_TRUE(a->initInstance(&prompter));
    EXPECT_FALSE(a->document()->hasWaveform());
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(StartupTest, MissingCommandLineFileEndsTheProgram) {
    auto a = start({QString::fromStdString((dir / "gone.lyr").string())});
    EXPECT_FALSE(a->initInstance(&prompter));
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_NE(prompter.asked[0].text.find("ファイルオープンエラーです。"), std::string::npos);
    EXPECT_FALSE(a->startupDone());
}

TEST_F(StartupTest, EnvironmentNamesTheSettingsFile) {
    const std::string envIni = (dir / "env.ini").string();
    qputenv("LYR_SETTINGS", QByteArray::fromStdString(envIni));
    CSYNApp a(QStringList{});
    a.setLockDirectory(QString::fromStdString(dir.string()));
    a.setShowWindow(false);
    const bool ok = a.initInstance(&prompter);
    qunsetenv("LYR_SETTINGS");
    ASSERT_TRUE(ok);
    EXPECT_EQ(a.settingsPath(), QString::fromStdString(envIni));
    EXPECT_TRUE(fs::exists(envIni));
}

}  // namespace
}  // namespace lyr::app
