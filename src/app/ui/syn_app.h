#pragma once
// CSYNApp: the start-up of the editor. It finds and keeps LYR.INI current,
// applies the instance rule, creates the document and the main window, runs
// the start-up device selection and opens a file named on the command line.
#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "app/app_settings.h"
#include "document/prompter.h"
#include "document/syn_doc.h"

namespace lyr::app {

class CMainFrame;
class IniSettingsStore;
class InstanceLock;

// Starts the editor: the application object, the document and the main window.
int runApplication(int argc, char** argv);

// Qt's own texts (file dialogs, standard buttons) in the language, from the
// Qt translations installed with Qt; false, changing nothing, when they are not.
bool loadQtTranslations(QCoreApplication& app, Language language = Language::Japanese);

// The program's texts in the language: for English, Qt's texts and the
// catalogue embedded in the program (":/i18n/lyr_en.qm"), which every shown
// text then goes through (src/document/ui/ui_text.h). Japanese needs no
// catalogue. False when the English catalogue could not be loaded.
bool installLanguage(QCoreApplication& app, Language language);

// The language of this run: --lang, LYR_LANG, "Language" in the settings file.
Language languageForRun(const QStringList& arguments);

// The program's one document with every track reserved. When the memory
// cannot be had, tells the user why and returns nullptr: start-up stops.
std::unique_ptr<document::CSYNDoc> createDocument(Prompter& prompter,
                                                  document::CSYNDoc::BlockAllocator allocate = nullptr);

class CSYNApp {
public:
    // arguments: the program's arguments without the program name.
    explicit CSYNApp(QStringList arguments);
    ~CSYNApp();
    CSYNApp(const CSYNApp&) = delete;
    CSYNApp& operator=(const CSYNApp&) = delete;

    // The start-up sequence. False: the program ends (the reason has been
    // shown through the prompter). Messages before the main window exists go
    // to `prompter` (a message box when null), which the main window then keeps.
    bool initInstance(Prompter* prompter = nullptr);

    // The start-up device selection with the MaxNumber value (1: no dialog)
    // and the settings file that holds the device list ("PGX-500.Device1" ...).
    // Empty until the device selection is wired in.
    std::function<void(CMainFrame&, int maxNumber, SettingsStore& settings)> deviceSelection;
    // Folder of the single-instance lock file (empty: the user's runtime folder).
    void setLockDirectory(const QString& dir) { lockDir_ = dir; }
    // Show the main window maximised (tests may keep it unshown).
    void setShowWindow(bool show) { showWindow_ = show; }
    // The language the texts are shown in (installLanguage has put it in).
    void setLanguage(Language language) { language_ = language; }

    CMainFrame* mainFrame() const { return frame_.get(); }
    document::CSYNDoc* document() const { return doc_.get(); }
    SettingsStore* settings() const;
    QString settingsPath() const;
    int maxNumber() const { return maxNumber_; }
    bool startupDone() const { return startupDone_; }

private:
    QStringList arguments_;
    QString lockDir_;
    bool showWindow_ = true;
    Language language_ = Language::Japanese;
    int maxNumber_ = 1;
    bool startupDone_ = false;
    std::unique_ptr<IniSettingsStore> settings_;
    std::unique_ptr<InstanceLock> lock_;
    std::unique_ptr<document::CSYNDoc> doc_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace lyr::app
