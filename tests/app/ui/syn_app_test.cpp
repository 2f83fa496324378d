// The program's start: the settings file, the instance lock, the file named
// on the command line.
#include "app/ui/syn_app.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTest>
#include <QTextStream>
#include <fstream>
#include <sstream>

#include "app/ui/app_startup.h"
#include "app/ui/main_frame.h"
#include "document/waveform_file.h"
#include "support/documents.h"
#include "support/qt_app.h"
#include "support/scripted_prompter.h"
#include "support/waveform_files.h"

namespace lyr::app {
namespace {

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { lyr::test::qtApp(); }

    void writeIni(const std::string& text) { std::ofstream(ini) << text; }
    std::string iniText() const {
        std::stringstream ss;
        ss << std::ifstream(ini).rdbuf();
        return ss.str();
    }
    std::unique_ptr<CSYNApp> start(QStringList extra = {}) {
        QStringList args{QStringLiteral("--settings"), QString::fromStdString(ini)};
        args += extra;
        auto a = std::make_unique<CSYNApp>(args);
        a->setLockDirectory(QString::fromStdString(dir.path().string()));
        a->setShowWindow(false);
        return a;
    }

    lyr::test::ScratchFolder dir;
    std::string ini = dir.file("LYR.INI");
    lyr::test::ScriptedPrompter prompter;
};

TEST_F(StartupTest, OldVersionIsRewrittenAndOtherEntriesStay) {
    writeIni("[LYR]\nVersion=1.3\n\n[PGX-500]\nMaxNumber=3\n\n[PGX-500.Device1]\nSerialNo=PG0001\nDescription=PGX-500 A\n");
    auto a = start();
    ASSERT_TRUE(a->initInstance(&prompter));
    EXPECT_TRUE(a->startupDone());
    EXPECT_EQ(a->maxNumber(), 3);
    EXPECT_EQ(a->settingsPath(), QString::fromStdString(ini));
    const std::string text = iniText();
    for (const char* kept : {"[LYR]\nVersion=1.4", "[PGX-500]\nMaxNumber=3", "SerialNo=PG0001"})
        EXPECT_NE(text.find(kept), std::string::npos) << kept << " in " << text;
    EXPECT_EQ(a->settings()->value("PGX-500.Device1", "Description"), "PGX-500 A");
    EXPECT_FALSE(a->document()->hasWaveform());
    EXPECT_EQ(a->mainFrame()->windowTitle(), QStringLiteral("LYR"));
    EXPECT_TRUE(a->mainFrame()->acceptDrops());
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(StartupTest, InstancesCountAgainstMaxNumber) {
    writeIni("[LYR]\nVersion=1.4\n[PGX-500]\nMaxNumber=abc\n");  // unreadable: one instance
    auto first = start();
    ASSERT_TRUE(first->initInstance(&prompter));
    auto second = start();
    EXPECT_FALSE(second->initInstance(&prompter));
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_EQ(prompter.asked[0].text, "既に起動しています。");
    EXPECT_EQ(second->mainFrame(), nullptr);
    first.reset();  // once the first has ended, the next one starts
    EXPECT_TRUE(start()->initInstance(&prompter));

    writeIni("[PGX-500]\nMaxNumber=2\n");
    auto one = start(), two = start();
    EXPECT_TRUE(one->initInstance(&prompter));
    EXPECT_TRUE(two->initInstance(&prompter));
    EXPECT_EQ(prompter.asked.size(), 1u);
}

TEST_F(StartupTest, MissingLockFolderAndCrashedInstanceClaimNothing) {
    auto a = start();
    a->setLockDirectory(QString::fromStdString((dir.path() / "no" / "such" / "folder").string()));
    EXPECT_TRUE(a->initInstance(&prompter));
    a.reset();

    // A process that has ended leaves its lock file behind.
    QProcess gone;
    gone.start(QStringLiteral("true"));
    ASSERT_TRUE(gone.waitForFinished());
    const qint64 deadPid = gone.processId() > 1 ? gone.processId() : 999999;
    InstanceLock probe(QString::fromStdString(dir.path().string()));
    {
        QFile f(probe.path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        QTextStream(&f) << deadPid << "\nlyr\n" << QSysInfo::machineHostName() << "\n";
    }
    EXPECT_TRUE(start()->initInstance(&prompter));
    EXPECT_TRUE(prompter.asked.empty());
}

TEST_F(StartupTest, CommandLineFileIsOpenedByItsExtensionAfterTheDeviceSelection) {
    auto doc = lyr::test::newDoc(20, 64);
    const std::string wave = dir.file("START.LYR");
    ASSERT_TRUE(document::saveWaveformFile(wave, *doc, {}).ok);

    auto a = start({QString::fromStdString(wave)});
    int selectedWith = 0;
    a->deviceSelection = [&](CMainFrame& frame, int maxNumber, SettingsStore& settings) {
        EXPECT_FALSE(frame.document().hasWaveform());
        EXPECT_EQ(settings.value("LYR", "Version"), "1.4");
        frame.lifecycle().setTitlePrefix("[PG0001] ");
        selectedWith = maxNumber;
    };
    ASSERT_TRUE(a->initInstance(&prompter));
    EXPECT_EQ(selectedWith, 1);
    EXPECT_EQ(a->document()->sampleCount(), 64u);
    EXPECT_EQ(a->mainFrame()->windowTitle(), QStringLiteral("[PG0001] START.LYR - LYR"));

    // Another kind of file is ignored; a missing one ends the program with its message.
    a.reset();
    std::ofstream(dir.file("notes.txt")) << "x";
    auto other = start({QString::fromStdString(dir.file("notes.txt"))});
    ASSERT_TRUE(other->initInstance(&prompter));
    EXPECT_FALSE(other->document()->hasWaveform());
    EXPECT_TRUE(prompter.asked.empty());
    other.reset();
    auto missing = start({QString::fromStdString(dir.file("gone.lyr"))});
    EXPECT_FALSE(missing->initInstance(&prompter));
    ASSERT_EQ(prompter.asked.size(), 1u);
    EXPECT_NE(prompter.asked[0].text.find("ファイルオープンエラーです。"), std::string::npos);
    EXPECT_FALSE(missing->startupDone());
}

// A shown window appears first and takes the file once it has been painted;
// the document is still empty when initInstance returns.
TEST_F(StartupTest, AShownWindowOpensTheCommandLineFileAfterItsFirstPaint) {
    auto doc = lyr::test::newDoc(20, 64);
    const std::string wave = dir.file("LATER.lyr");
    ASSERT_TRUE(document::saveWaveformFile(wave, *doc, {}).ok);
    auto a = start({QString::fromStdString(wave)});
    a->setShowWindow(true);
    ASSERT_TRUE(a->initInstance(&prompter));
    EXPECT_TRUE(a->mainFrame()->isVisible());
    EXPECT_FALSE(a->document()->hasWaveform());
    for (int i = 0; i < 500 && !a->document()->hasWaveform(); ++i) QTest::qWait(10);
    ASSERT_TRUE(a->document()->hasWaveform());
    EXPECT_EQ(a->document()->sampleCount(), 64u);
    EXPECT_TRUE(a->mainFrame()->windowTitle().contains(QStringLiteral("LATER.lyr")));
    EXPECT_TRUE(prompter.asked.empty());
}

// A missing file is made with the version and MaxNumber 1.
TEST_F(StartupTest, EnvironmentNamesTheSettingsFileAndAMissingOneIsMade) {
    const std::string envIni = dir.file("env.ini");
    qputenv("LYR_SETTINGS", QByteArray::fromStdString(envIni));
    CSYNApp a(QStringList{});
    a.setLockDirectory(QString::fromStdString(dir.path().string()));
    a.setShowWindow(false);
    const bool ok = a.initInstance(&prompter);
    qunsetenv("LYR_SETTINGS");
    ASSERT_TRUE(ok);
    EXPECT_EQ(a.settingsPath(), QString::fromStdString(envIni));
    EXPECT_EQ(a.maxNumber(), 1);
    std::stringstream text;
    text << std::ifstream(envIni).rdbuf();
    EXPECT_NE(text.str().find("[LYR]\nVersion=1.4"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("[PGX-500]\nMaxNumber=1"), std::string::npos) << text.str();
}

}  // namespace
}  // namespace lyr::app
