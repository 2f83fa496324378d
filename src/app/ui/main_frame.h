#pragma once
// CMainFrame: the program's one main window. Every command is routed by its
// CommandId through the CommandRouter (src/app/ui/command_router.h): the
// command sets declare their rows, the frame registers the sets and builds
// the menus, popups, toolbar and accelerators from the rows and the layouts
// of src/app/command_table.h.
//
// Adding a command group: write a lyr::ui::CommandSet
// (src/document/ui/command_set.h), register it with one line in
// CMainFrame::registerCommandSets() and add its module to lyr_ui_module(app ...).
#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

#include "app/app_settings.h"
#include "app/command_table.h"
#include "app/document_store.h"
#include "app/lifecycle.h"
#include "device/device_library.h"
#include "document/prompter.h"
#include "document/syn_doc.h"
#include "document/ui/command_set.h"
#include "view/ui/view_frame.h"

class QAction;
class QComboBox;
class QDragEnterEvent;
class QLabel;
class QToolBar;
class QToolButton;
class QDropEvent;
class QMenu;

namespace lyr::ui {
class MessagePrompter;
}
namespace lyr::device {
class OutputCommands;
}

namespace lyr::app {

class CommandRouter;
class FunctionCommands;
class QtFileDialogs;

// The frame re-evaluates its commands on everything the document announces.
class CMainFrame : public QMainWindow, private document::DocumentObserver {
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

    // What a command set is given: the document, this window for dialogs, the
    // prompter and the view's cursor.
    ui::CommandEnv commandEnv();
    CommandRouter& router() const { return *router_; }
    // The state every enabling rule reads.
    FrameState frameState() const;
    // Whether a device is designated for output; the device selection sets it.
    void setDeviceSpecifiedSource(std::function<bool()> source);

    // The waveform area in the middle of the window (a plain panel until the
    // view is put in). The frame takes ownership.
    QWidget* centralView() const { return centralWidget(); }
    QString documentTitle() const { return documentTitle_; }

    QAction* commandAction(CommandId id) const;
    QAction* newAction() const { return commandAction(CommandId::FileNew); }
    QAction* openAction() const { return commandAction(CommandId::FileOpen); }
    QAction* saveAction() const { return commandAction(CommandId::FileSave); }
    QAction* saveAsAction() const { return commandAction(CommandId::FileSaveAs); }
    QAction* aboutAction() const { return commandAction(CommandId::AppAbout); }
    QAction* exitAction() const { return commandAction(CommandId::AppExit); }
    QAction* undoAction() const { return commandAction(CommandId::Undo); }
    // A menu of the menu bar by its title ("ファイル(&F)"), or nullptr.
    QMenu* menu(MainMenu which) const { return menus_.at(static_cast<std::size_t>(which)); }
    QMenu* fileMenu() const { return menu(MainMenu::File); }
    QMenu* helpMenu() const { return menu(MainMenu::Help); }
    // The context popup a right click at p (view coordinates) opens, or nullptr.
    QMenu* popupAt(QPoint p) const;
    QMenu* popup(PopupKind kind, int channel = -1) const;
    // Toolbar 128, its button of a command (nullptr without one), the status
    // bar's message ("ﾚﾃﾞｨ" when idle) and the two bit-allocation selectors.
    QToolBar* toolBar() const { return toolBar_; }
    QToolButton* toolButton(CommandId id) const;
    QString statusMessage() const;
    const std::vector<QLabel*>& indicatorPanes() const { return indicatorPanes_; }
    QComboBox* resolutionSelector() const { return resolutionList_; }
    QComboBox* channelSelector() const { return channelList_; }
    // Both selectors show 14 - r, the document takes R = r, the view redraws.
    void setAnalogResolutionFromSelector(int r);
    // Draws a command's toolbar button pressed or plain.
    void pressCommandButton(CommandId id, bool pressed);
    // The total-time change dialog; replaceable for tests (nullptr: the real one).
    class TotalTimeChooser {
    public:
        virtual ~TotalTimeChooser() = default;
        // In: the waveform's total, sampling time and count; out on true: the chosen ones.
        virtual bool choose(std::int64_t& total, std::int64_t& sampling, std::uint32_t& count) = 0;
    };
    void setTotalTimeChooser(TotalTimeChooser* chooser) { totalTimeChooser_ = chooser; }
    // The waveform view, its status strip (src/view/ui).
    const view::ViewFrame& viewParts() const { return viewParts_; }
    // The D2XX library, bound once while the window is made and released when
    // it closes; unbound, every device feature stays off.
    bool deviceLibraryBound() const { return deviceLibrary_.bound(); }
    const device::DeviceLibrary& deviceLibrary() const { return deviceLibrary_; }
    // The output command, the device state and the output window (main_frame_output.cpp).
    device::OutputCommands* outputCommands() const { return outputCommands_; }
    QAction* outputAction() const { return commandAction(CommandId::Output); }
    // The settings file the equation editor's expression and history are
    // written to after each of its runs; without one they last for the run.
    void setSettingsStore(SettingsStore* store) { settings_ = store; }
    // The language the texts are shown in; "Language / 言語" checks it and
    // stores the user's choice for the next start in the settings file.
    void setLanguage(Language language);
    Language language() const { return language_; }
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
    void onFileExport();
    void onAppAbout();
    // A file given on the command line: opened as Open opens it.
    bool openStartupFile(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // What the document announces: every change may enable or disable commands.
    void samplesChanged(const document::EditRange&) override { updateCommandStates(); }
    void channelsChanged() override { updateCommandStates(); }
    void timeBaseChanged() override { updateCommandStates(); }
    void undone(std::int32_t) override { updateCommandStates(); }
    void settingsChanged() override { updateCommandStates(); }
    void clipboardChanged() override { updateCommandStates(); }
    void lockChanged(bool) override { updateCommandStates(); }

    class ForwardPrompter;
    class ForwardChooser;
    class ForwardFileDialogs;

    void registerCommandSets();
    void addFrameCommands();
    void addFileCommands();  // main_frame_file.cpp
    void buildMenus();
    void buildToolBar();    // main_frame_bars.cpp, with the status bar and the selectors
    void fillToolBar();     // the buttons, once the command sets are registered
    void tidyToolBar();
    void buildStatusBar();
    void buildSelectors();
    void selectorChanged(bool& guard, int index);
    void updateSelectorStates();
    void changeTotalTime();
    void buildOutput();  // the output command and its lifecycle steps (main_frame_output.cpp)
    void buildPopups();
    void connectView();
    void showContextMenu(QPoint globalPos);
    QtFileDialogs& qtFileDialogs();
    void connectLifecycle();
    void undo();
    void toggleEditLock();
    void chooseLanguage(Language language);
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
    // The file dialogs the commands use (the set ones, else Qt's).
    FileDialogs& exportFileDialogs();
    std::unique_ptr<DocumentLifecycle> lifecycle_;
    Prompter* prompter_ = nullptr;
    WaveTimeChooser* chooser_ = nullptr;
    FileDialogs* fileDialogs_ = nullptr;
    std::unique_ptr<QtFileDialogs> qtFileDialogs_;
    std::function<bool()> deviceSpecified_;

    QString documentTitle_;
    QWidget* placeholder_ = nullptr;

    SettingsStore* settings_ = nullptr;
    Language language_ = Language::Japanese;
    CommandRouter* router_ = nullptr;
    FunctionCommands* frameCommands_ = nullptr;  // file, undo, edit lock, about, exit
    std::vector<QMenu*> menus_;                  // the menu bar's, left to right
    QMenu* analogPopup_ = nullptr;
    QMenu* cursorPopup_ = nullptr;
    QMenu* markPopup_ = nullptr;
    QMenu* zoomPopup_ = nullptr;
    std::array<QMenu*, kChannelCount> channelPopups_{};
    QToolBar* toolBar_ = nullptr;
    QLabel* readyPane_ = nullptr;
    std::vector<QLabel*> indicatorPanes_;
    QComboBox* resolutionList_ = nullptr;  // "アナログ分解能"
    QComboBox* channelList_ = nullptr;     // "ディジタルCH"
    bool resolutionGuard_ = false;
    bool channelGuard_ = false;
    TotalTimeChooser* totalTimeChooser_ = nullptr;
    device::DeviceLibrary deviceLibrary_;
    device::OutputCommands* outputCommands_ = nullptr;
    view::ViewFrame viewParts_;  // CSYNView and StatusStrip
};

}  // namespace lyr::app
