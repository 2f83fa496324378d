#pragma once
// CMainFrame: the program's one main window. It owns the menus and their
// actions, routes each command to the operation that implements it and shows
// the document's title in its caption. The document-level commands run
// through DocumentLifecycle; the window only wires them to widgets.
//
// Extending: add a QAction member per command, create it in the matching
// build*Menu function (or a new one called from buildMenus) and put the
// handler in your own source file as a CMainFrame member.
#include <QMainWindow>
#include <memory>

#include "app/document_store.h"
#include "app/lifecycle.h"
#include "document/prompter.h"
#include "document/syn_doc.h"
#include "device/device_library.h"
#include "view/ui/view_frame.h"

class QAction;
class QDragEnterEvent;
class QDropEvent;
class QMenu;

namespace lyr::ui {
class MessagePrompter;
}
namespace lyr::analog {
class AnalogCommands;
}
namespace lyr::device {
class OutputCommands;
}

namespace lyr::app {

class QtFileDialogs;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    // The caption when no document title is set, and its suffix otherwise.
    static constexpr const char* kProgramTitle = "LYR";

    explicit CMainFrame(document::CSYNDoc& doc, QWidget* parent = nullptr);
    ~CMainFrame() override;

    document::CSYNDoc& document() { return doc_; }
    DocumentLifecycle& lifecycle() { return *lifecycle_; }

    // Where the commands ask the user. By default a message box; tests and
    // other callers may put their own in (nullptr returns to the default).
    Prompter& prompter();
    void setPrompter(Prompter* prompter) { prompter_ = prompter; }
    // The total-time dialog of New and the file dialogs, replaceable likewise.
    void setWaveTimeChooser(WaveTimeChooser* chooser) { chooser_ = chooser; }
    void setFileDialogs(FileDialogs* dialogs) { fileDialogs_ = dialogs; }

    // The waveform area in the middle of the window (a plain panel until the
    // view is put in). The frame takes ownership.
    QWidget* centralView() const { return centralWidget(); }
    QString documentTitle() const { return documentTitle_; }

    QAction* newAction() const { return actNew_; }
    QAction* openAction() const { return actOpen_; }
    QAction* saveAction() const { return actSave_; }
    QAction* saveAsAction() const { return actSaveAs_; }
    QAction* aboutAction() const { return actAbout_; }
    QMenu* helpMenu() const { return helpMenu_; }
    QAction* exitAction() const { return actExit_; }
    QMenu* fileMenu() const { return fileMenu_; }
    analog::AnalogCommands* analogCommands() const { return analogCommands_; }
    // The waveform view, its status strip and menus (src/view/ui).
    const view::ViewFrame& viewParts() const { return viewParts_; }
    // The D2XX library, bound once while the window is made and released when
    // it closes; unbound, every device feature stays off.
    bool deviceLibraryBound() const { return deviceLibrary_.bound(); }
    const device::DeviceLibrary& deviceLibrary() const { return deviceLibrary_; }
    // The output command, the device state and the output window (main_frame_output.cpp).
    device::OutputCommands* outputCommands() const { return outputCommands_; }
    QAction* outputAction() const { return actOutput_; }
    // The start-up device selection; the title prefix goes into every title.
    void selectDevice(int maxNumber, const QString& settingsPath);

public slots:
    void setCentralView(QWidget* view);
    // Caption: "title - LYR", or "LYR" for an empty title.
    void setDocumentTitle(const QString& title);
    // Enables each command by its rule; run before a menu opens and after each command.
    void updateCommandStates();

    void onFileNew();
    void onAppExit();
    // File commands and the about box (main_frame_file.cpp).
    void onFileOpen();
    void onFileSave();
    void onFileSaveAs();
    void onAppAbout();
    // A file given on the command line: opened as Open opens it.
    bool openStartupFile(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    class ForwardPrompter;
    class ForwardChooser;
    class ForwardFileDialogs;

    void buildActions();
    void buildMenus();
    void buildFileMenu();
    void buildFileActions();  // Open, Save, Save as, About (main_frame_file.cpp)
    void buildHelpMenu();     // the last menu
    void buildOutput(Prompter* prompter);  // the output command and its lifecycle steps
    void updateFileCommandStates();
    QtFileDialogs& qtFileDialogs();
    void connectLifecycle();
    // After a new waveform or a reset: the view starts over.
    void resetView();
    // Makes this window active again once a command's modal dialog has closed.
    void takeKeyboardBack();
    // The plain panel shows grey without a waveform and white with one.
    void refreshPlaceholder();

    document::CSYNDoc& doc_;
    std::unique_ptr<DocumentStore> store_;
    std::unique_ptr<ui::MessagePrompter> messagePrompter_;
    std::unique_ptr<ForwardPrompter> forwardPrompter_;
    std::unique_ptr<ForwardChooser> forwardChooser_;
    std::unique_ptr<ForwardFileDialogs> forwardFileDialogs_;
    std::unique_ptr<DocumentLifecycle> lifecycle_;
    Prompter* prompter_ = nullptr;
    WaveTimeChooser* chooser_ = nullptr;
    FileDialogs* fileDialogs_ = nullptr;
    std::unique_ptr<QtFileDialogs> qtFileDialogs_;

    QString documentTitle_;
    QWidget* placeholder_ = nullptr;

    QMenu* fileMenu_ = nullptr;
    QAction* actNew_ = nullptr;   // 57600 新規作成
    QAction* actExit_ = nullptr;  // 57665 LYRの終了
    QAction* actOpen_ = nullptr;    // 57601 開く
    QAction* actSave_ = nullptr;    // 32800 上書き保存
    QAction* actSaveAs_ = nullptr;  // 32801 名前を付けて保存
    QAction* actAbout_ = nullptr;   // 57664 LYR のバージョン情報
    QMenu* helpMenu_ = nullptr;
    analog::AnalogCommands* analogCommands_ = nullptr;  // "アナログ(&A)" and undo
    device::DeviceLibrary deviceLibrary_;
    device::OutputCommands* outputCommands_ = nullptr;
    QAction* actOutput_ = nullptr;  // 32771 波形データ出力
    view::ViewFrame viewParts_;  // CSYNView, StatusStrip, "ズーム(&Z)" "カーソル(&C)" "タイムマーク(&T)"
};

}  // namespace lyr::app
