#include "app/ui/syn_app.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QTranslator>
#include <QWindow>
#include <functional>
#include <string>
#include <vector>

#include "app/ui/app_startup.h"
#include "app/ui/main_frame.h"
#include "document/syn_doc.h"
#include "document/ui/message_prompter.h"
#include "document/ui/ui_fonts.h"
#include "document/ui/ui_text.h"
#include "document/waveform_file_format.h"

namespace lyr::app {

namespace {

// Runs a call once, on the turn of the event loop after the window's first
// exposure was handled (and so painted), or after half a second when no
// exposure comes at all.
class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWindow* window, std::function<void()> call) : QObject(window), call_(std::move(call)) {
        // Already painted (a dialog at start-up ran the event loop): next turn.
        if (window->isExposed()) {
            QTimer::singleShot(0, this, [this] { fire(); });
            return;
        }
        window->installEventFilter(this);
        QTimer::singleShot(500, this, [this] { fire(); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed())
            QTimer::singleShot(0, this, [this] { fire(); });
        return false;
    }

private:
    void fire() {
        if (!call_) return;
        parent()->removeEventFilter(this);
        auto call = std::move(call_);
        call_ = nullptr;
        deleteLater();
        call();
    }
    std::function<void()> call_;
};

void afterFirstPaint(QWindow* window, std::function<void()> call) { new FirstPaintWatch(window, std::move(call)); }

}  // namespace

std::unique_ptr<document::CSYNDoc> createDocument(Prompter& prompter,
                                                  document::CSYNDoc::BlockAllocator allocate) {
    std::string message;
    std::unique_ptr<document::CSYNDoc> doc = document::CSYNDoc::create(message, allocate);
    if (!doc) prompter.tell(message, PromptIcon::Error);
    return doc;
}

CSYNApp::CSYNApp(QStringList arguments) : arguments_(std::move(arguments)) {}

CSYNApp::~CSYNApp() {
    frame_.reset();  // the window goes before the document it shows
}

SettingsStore* CSYNApp::settings() const { return settings_.get(); }

QString CSYNApp::settingsPath() const { return settings_ ? settings_->path() : QString(); }

bool CSYNApp::initInstance(Prompter* prompter) {
    ui::MessagePrompter boxes;
    Prompter& ask = prompter ? *prompter : boxes;

    std::vector<std::string> args;
    for (const QString& a : arguments_) args.push_back(a.toStdString());
    const CommandLine line = parseCommandLine(args);
    if (!line.error.empty()) {
        ask.tell(line.error, PromptIcon::Error);
        return false;
    }

    // The settings file: Version kept current, MaxNumber filled in and read.
    settings_ = std::make_unique<IniSettingsStore>(settingsFilePath(line));
    maxNumber_ = applyStartupSettings(*settings_);
    settings_->sync();

    if (singleInstanceRule(maxNumber_)) {
        lock_ = std::make_unique<InstanceLock>(lockDir_);
        if (!lock_->acquire()) {
            ask.tell(kAlreadyRunningMessage, PromptIcon::Warning);
            return false;
        }
    }

    // A file named on the command line must at least open, or the program ends.
    const QString file = QString::fromStdString(line.file);
    if (!file.isEmpty()) {
        QFile probe(file);
        if (!probe.open(QIODevice::ReadOnly)) {
            ask.tell(file.toStdString() + "\n" + document::wavefile::kMsgOpenError, PromptIcon::Error);
            return false;
        }
    }

    doc_ = createDocument(ask);
    if (!doc_) return false;
    readEquationMemory(*settings_, doc_->equationSettings());
    frame_ = std::make_unique<CMainFrame>(*doc_);
    frame_->setSettingsStore(settings_.get());
    frame_->setLanguage(language_);
    if (prompter) frame_->setPrompter(prompter);
    if (showWindow_) {
        // Fill the screen first: without a window manager (a bare X server)
        // the maximise request alone leaves the window at its default size.
        if (QScreen* screen = QGuiApplication::primaryScreen())
            frame_->setGeometry(screen->availableGeometry());
        frame_->showMaximized();
    }

    if (deviceSelection) deviceSelection(*frame_, maxNumber_, *settings_);
    if (!file.isEmpty()) {
        // A shown window opens the file once it has been painted, so that
        // the window appears as early as without a file.
        if (showWindow_ && frame_->windowHandle())
            afterFirstPaint(frame_->windowHandle(), [frame = frame_.get(), file] { frame->openStartupFile(file); });
        else
            frame_->openStartupFile(file);
    }
    startupDone_ = true;
    return true;
}

namespace {

// The options --help lists; --settings and the file are read by parseCommandLine.
void describeCommandLine(QCommandLineParser& parser) {
    parser.setApplicationDescription(QString::fromUtf8(kAboutProductLine));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(QStringLiteral("settings"),
                                       QStringLiteral("Use FILE as the settings file instead of LYR.INI."),
                                       QStringLiteral("FILE")));
    parser.addOption(QCommandLineOption(QStringLiteral("lang"),
                                       QStringLiteral("The language of the texts: ja (Japanese, the default) or en "
                                                      "(English). Without it: LYR_LANG, else Language in LYR.INI."),
                                       QStringLiteral("ja|en")));
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A .lyr or .syn file to open."),
                                 QStringLiteral("[file]"));
}

bool asksForHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "-h" || a == "--help" || a == "-?" || a == "--help-all" || a == "-v" || a == "--version")
            return true;
    }
    return false;
}

}  // namespace

bool loadQtTranslations(QCoreApplication& app, Language language) {
    auto* translator = new QTranslator(&app);
    const QString name = language == Language::English ? QStringLiteral("qtbase_en") : QStringLiteral("qtbase_ja");
    if (!translator->load(name, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

bool installLanguage(QCoreApplication& app, Language language) {
    loadQtTranslations(app, language);
    if (language != Language::English) return true;
    auto* catalogue = new QTranslator(&app);
    if (!catalogue->load(QStringLiteral(":/i18n/lyr_en.qm"))) {
        delete catalogue;
        return false;
    }
    ui::setTextCatalogue(catalogue);
    ui::installWindowTranslator(&app);
    return true;
}

Language languageForRun(const QStringList& arguments) {
    std::vector<std::string> args;
    for (const QString& a : arguments) args.push_back(a.toStdString());
    const CommandLine line = parseCommandLine(args);
    const QSettings file(settingsFilePath(line), QSettings::IniFormat);
    const QString stored =
        file.value(QString::fromLatin1(kSectionProgram) + QLatin1Char('/') + QString::fromLatin1(kKeyLanguage))
            .toString();
    return chooseLanguage(line.error.empty() ? line.language : std::string(),
                          qEnvironmentVariable(kLanguageEnvironment).toStdString(), stored.toStdString());
}

int runApplication(int argc, char** argv) {
    if (asksForHelpOrVersion(argc, argv)) {
        // Answered without a window system, so it also works without a display.
        QCoreApplication core(argc, argv);
        QCoreApplication::setApplicationName(QString::fromUtf8(kProgramName));
        QCoreApplication::setApplicationVersion(QString::fromUtf8(kVersionText));
        QCommandLineParser parser;
        describeCommandLine(parser);
        parser.process(core);  // prints and exits
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("LYR"));
    QApplication::setApplicationVersion(QString::fromUtf8(kVersionText));
    QApplication::setFont(ui::japaneseUiFont());

    QStringList arguments = QApplication::arguments();
    if (!arguments.isEmpty()) arguments.removeFirst();
    const Language language = languageForRun(arguments);
    installLanguage(app, language);
    CSYNApp lyr(arguments);
    lyr.setLanguage(language);
    lyr.deviceSelection = [&lyr](CMainFrame& frame, int maxNumber, SettingsStore&) {
        frame.selectDevice(maxNumber, lyr.settingsPath());
    };
    if (!lyr.initInstance()) return 1;
    return app.exec();
}

}  // namespace lyr::app
