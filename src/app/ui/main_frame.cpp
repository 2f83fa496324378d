#include "app/ui/main_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QPushButton>

#include "analog/ui/analog_commands.h"
#include "analog/ui/equation_commands.h"
#include "app/ui/command_router.h"
#include "app/ui/function_commands.h"
#include "app/ui/file_dialogs.h"
#include "digital/ui/data_commands.h"
#include "digital/ui/digital_commands.h"
#include "device/ui/output_commands.h"
#include "document/ui/message_prompter.h"
#include "document/ui/ui_fonts.h"
#include "document/ui/ui_text.h"
#include "document/ui/wave_time_change_dlg.h"
#include "document/ui/wave_time_dlg.h"
#include "view/ui/status_strip.h"
#include "view/ui/syn_view.h"
#include "view/ui/view_commands.h"

namespace lyr::app {

// The lifecycle is built once with references; these forward to whatever
// prompter, chooser and file dialogs the frame holds at the time of asking.
class CMainFrame::ForwardPrompter : public Prompter {
public:
    explicit ForwardPrompter(CMainFrame& frame) : frame_(frame) {}
    PromptAnswer ask(const std::string& text, PromptButtons buttons, PromptIcon icon) override {
        return frame_.prompter().ask(text, buttons, icon);
    }

private:
    CMainFrame& frame_;
};

class CMainFrame::ForwardChooser : public WaveTimeChooser {
public:
    explicit ForwardChooser(CMainFrame& frame) : frame_(frame) {}
    bool choose(std::int64_t& total, std::int64_t& sampling, std::uint32_t& count) override {
        if (frame_.chooser_) return frame_.chooser_->choose(total, sampling, count);
        document::CWaveTimeDlg dlg(total, sampling, count, &frame_);
        if (dlg.exec() != QDialog::Accepted) return false;
        total = dlg.requestedTotal();
        sampling = dlg.requestedSampling();
        count = dlg.requestedCount();
        return true;
    }

private:
    CMainFrame& frame_;
};

class CMainFrame::ForwardFileDialogs : public FileDialogs {
public:
    explicit ForwardFileDialogs(CMainFrame& frame) : frame_(frame) {}
    // Without file dialogs put in, the Qt file dialogs ask.
    std::optional<std::string> openFileName(const std::string& filter) override {
        if (frame_.fileDialogs_) return frame_.fileDialogs_->openFileName(filter);
        return frame_.qtFileDialogs().openFileName(filter);
    }
    std::optional<std::string> saveFileName(const std::string& filter, const std::string& extension,
                                            const std::string& initialName) override {
        if (frame_.fileDialogs_) return frame_.fileDialogs_->saveFileName(filter, extension, initialName);
        return frame_.qtFileDialogs().saveFileName(filter, extension, initialName);
    }

private:
    CMainFrame& frame_;
};

CMainFrame::CMainFrame(document::CSYNDoc& doc, QWidget* parent)
    : QMainWindow(parent),
      doc_(doc),
      store_(std::make_unique<DocumentStore>(doc)),
      messagePrompter_(std::make_unique<ui::MessagePrompter>(this)),
      forwardPrompter_(std::make_unique<ForwardPrompter>(*this)),
      forwardChooser_(std::make_unique<ForwardChooser>(*this)),
      forwardFileDialogs_(std::make_unique<ForwardFileDialogs>(*this)),
      lifecycle_(std::make_unique<DocumentLifecycle>(*store_, *forwardPrompter_, *forwardFileDialogs_,
                                                     *forwardChooser_)),
      deviceSpecified_([] { return false; }) {
    setFont(ui::japaneseUiFont());
    setMinimumSize(710, 500);
    setDocumentTitle({});

    placeholder_ = new QWidget(this);
    placeholder_->setObjectName(QStringLiteral("viewPlaceholder"));
    placeholder_->setAccessibleName(QStringLiteral("波形"));
    placeholder_->setAutoFillBackground(true);
    setCentralWidget(placeholder_);
    refreshPlaceholder();

    // A missing or incomplete library is not an error: no device features.
    device::bindDeviceLibrary(deviceLibrary_);
    router_ = new CommandRouter([this] { return frameState(); }, this);
    buildToolBar();
    buildStatusBar();
    // The waveform view with its status strip under the toolbar (src/view/ui).
    viewParts_ = view::installView(*this, doc_);
    setCentralView(viewParts_.view);
    buildSelectors();

    registerCommandSets();
    fillToolBar();
    buildMenus();
    buildPopups();
    connectView();
    connectLifecycle();
    connect(router_, &CommandRouter::commandFinished, this, &CMainFrame::takeKeyboardBack);
    doc_.addObserver(this);
    updateCommandStates();
    ui::translateWidgetTree(this);
}

CMainFrame::~CMainFrame() {
    doc_.removeObserver(this);
    // The window's unit goes before the library it is reached through.
    if (outputCommands_) outputCommands_->closeOutputWindow();
}

void CMainFrame::registerCommandSets() {
    addFrameCommands();
    router_->add(new view::ViewCommands(*viewParts_.view, commandEnv()));
    router_->add(new analog::AnalogCommands(commandEnv()));
    router_->add(new analog::EquationCommands(commandEnv()));
    // The equation's expression and history live in the settings file: written after each run.
    connect(router_, &CommandRouter::commandFinished, this, [this](CommandId id) {
        if (id == CommandId::Equation && settings_) writeEquationMemory(*settings_, doc_.equationSettings());
    });
    router_->add(new digital::DigitalCommands(commandEnv()));
    router_->add(new digital::DataCommands(commandEnv()));
    buildOutput();
}

FileDialogs& CMainFrame::exportFileDialogs() { return *forwardFileDialogs_; }

Prompter& CMainFrame::prompter() {
    if (prompter_) return *prompter_;
    return *messagePrompter_;
}

ui::CommandEnv CMainFrame::commandEnv() {
    ui::CommandEnv env;
    env.doc = &doc_;
    env.dialogParent = this;
    env.prompter = forwardPrompter_.get();
    env.cursor = [this]() -> std::uint32_t { return viewParts_.view ? viewParts_.view->state().cursor() : 0u; };
    return env;
}

FrameState CMainFrame::frameState() const {
    FrameState s;
    s.hasWaveform = doc_.hasWaveform();
    s.editAllowed = lifecycle_->editAllowed();
    s.undoAvailable = doc_.undoAvailable();
    s.clipboardValid = doc_.clipboardValid();
    s.deviceSpecified = deviceSpecified_ && deviceSpecified_();
    return s;
}

void CMainFrame::setDeviceSpecifiedSource(std::function<bool()> source) {
    deviceSpecified_ = std::move(source);
    updateCommandStates();
}

QAction* CMainFrame::commandAction(CommandId id) const { return router_ ? router_->action(id) : nullptr; }

void CMainFrame::addFrameCommands() {
    using R = CommandRule;
    frameCommands_ = new FunctionCommands(commandEnv());
    frameCommands_->add({CommandId::FileNew, "新規作成(&N)", "新規にファイルを作成", "新規ファイル", R::File, Glyph::New},
                        [this] { onFileNew(); }, [this] { return lifecycle_->canNew(); });
    addFileCommands();
    frameCommands_->add({CommandId::AppExit, "LYRの終了(&X)", "SYNを終了し、ファイルの保存を指示", "終了", R::Always},
                        [this] { onAppExit(); });
    frameCommands_->add({CommandId::Undo, "元に戻す(&U)", "直前に行った動作を元に戻す", "元に戻す", R::EditingUndo,
                         Glyph::Undo},
                        [this] { undo(); });
    frameCommands_->add({CommandId::TotalTime, "トータル時間変更(&T)", "作業中のファイルのトータル時間を変更",
                         "トータル時間の変更", R::Editing},
                        [this] { changeTotalTime(); });
    frameCommands_->add({CommandId::EditLock, "編集禁止(&D)", "編集の禁止、解禁を設定します", "編集禁止、解禁",
                         R::WaveformIdle},
                        [this] { toggleEditLock(); });
    router_->add(frameCommands_);

    newAction()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    openAction()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    saveAction()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    undoAction()->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    commandAction(CommandId::EditLock)->setCheckable(true);
    auto* languages = new QActionGroup(this);
    for (CommandId id : {CommandId::LanguageJapanese, CommandId::LanguageEnglish}) {
        commandAction(id)->setCheckable(true);
        languages->addAction(commandAction(id));
    }
    setLanguage(language_);
    // The shortcuts work while the menus are closed, too.
    for (QAction* a : {newAction(), openAction(), saveAction(), undoAction()}) addAction(a);
}

void CMainFrame::undo() {
    // The document announces the undo and its kind to the view, the output window and this frame.
    if (doc_.modificationCount() != 0) doc_.undo();
}

void CMainFrame::changeTotalTime() {
    std::int64_t total = doc_.totalTime();
    std::int64_t sampling = doc_.samplingTime();
    std::uint32_t count = doc_.sampleCount();
    if (totalTimeChooser_) {
        if (!totalTimeChooser_->choose(total, sampling, count)) return;
    } else {
        document::CWaveTimeChangeDlg dlg(total, sampling, count, this);
        if (dlg.exec() != QDialog::Accepted) return;
        total = dlg.requestedTotal();
        sampling = dlg.requestedSampling();
        count = dlg.requestedCount();
    }
    // The current count changes nothing and records no undo step.
    if (sampling == doc_.samplingTime() && count == doc_.sampleCount()) return;
    // The new time base is announced: the output window hands back its choices
    // and closes, the view starts over.
    if (!doc_.changeTotalTime(sampling, count)) prompter().tell(kInvalidParameterMessage, PromptIcon::Warning);
}

void CMainFrame::toggleEditLock() { lifecycle_->setEditAllowed(!lifecycle_->editAllowed()); }

void CMainFrame::buildMenus() {
    for (const MenuLayout& layout : mainMenus()) {
        QMenu* m = router_->buildMenu(layout, this);
        menuBar()->addMenu(m);
        menus_.push_back(m);
    }
    router_->tidyMenus();
}

void CMainFrame::buildPopups() {
    analogPopup_ = menu(MainMenu::Analog);  // the main menu's own popup
    cursorPopup_ = router_->buildMenu(contextPopup(PopupKind::Cursor), this);
    markPopup_ = router_->buildMenu(contextPopup(PopupKind::TimeMark), this);
    zoomPopup_ = router_->buildMenu(contextPopup(PopupKind::Zoom), this);
    for (int ch = 0; ch < kChannelCount; ++ch)
        channelPopups_[ch] = router_->buildMenu(contextPopup(PopupKind::Channel, ch), this);
    router_->tidyMenus();
}

QMenu* CMainFrame::popup(PopupKind kind, int channel) const {
    switch (kind) {
        case PopupKind::Analog: return analogPopup_;
        case PopupKind::Cursor: return cursorPopup_;
        case PopupKind::TimeMark: return markPopup_;
        case PopupKind::Zoom: return zoomPopup_;
        case PopupKind::Channel:
            return channel >= 0 && channel < kChannelCount ? channelPopups_[channel] : nullptr;
    }
    return nullptr;
}

QMenu* CMainFrame::popupAt(QPoint p) const {
    const view::CSYNView* v = viewParts_.view;
    if (!v || !doc_.hasWaveform()) return nullptr;
    // The view answers with the first of its hit tests that matches.
    QMenu* m = nullptr;
    const view::ViewHit hit = v->hitTest(p);
    switch (hit.region) {
        case view::ViewRegion::AnalogPlot: m = popup(PopupKind::Analog); break;
        case view::ViewRegion::CursorHandle: m = popup(PopupKind::Cursor); break;
        case view::ViewRegion::MarkHandle: m = popup(PopupKind::TimeMark); break;
        case view::ViewRegion::ZoomStrip: m = popup(PopupKind::Zoom); break;
        case view::ViewRegion::Lane: m = popup(PopupKind::Channel, hit.lane); break;
        case view::ViewRegion::None: break;
    }
    // A popup whose commands are not built yet shows nothing.
    return m && m->menuAction()->isVisible() ? m : nullptr;
}

void CMainFrame::showContextMenu(QPoint globalPos) {
    if (!viewParts_.view) return;
    if (QMenu* m = popupAt(viewParts_.view->mapFromGlobal(globalPos))) m->popup(globalPos);
}

void CMainFrame::connectView() {
    view::CSYNView* v = viewParts_.view;
    router_->attachView(v);
    connect(v, &view::CSYNView::contextMenuRequested, this,
            [this](view::ViewRegion, int, QPoint globalPos) { showContextMenu(globalPos); });
    view::StatusStrip* strip = viewParts_.strip;
    connect(strip, &view::StatusStrip::stepLeft, router_, [this] { router_->run(CommandId::StepLeft); });
    connect(strip, &view::StatusStrip::stepRight, router_, [this] { router_->run(CommandId::StepRight); });
    connect(strip, &view::StatusStrip::halfPageLeft, router_, [this] { router_->run(CommandId::HalfPageLeft); });
    connect(strip, &view::StatusStrip::halfPageRight, router_, [this] { router_->run(CommandId::HalfPageRight); });
    connect(router_, &CommandRouter::statesUpdated, strip, [this, strip] {
        strip->stepLeftButton()->setEnabled(router_->isEnabled(CommandId::StepLeft));
        strip->stepRightButton()->setEnabled(router_->isEnabled(CommandId::StepRight));
        strip->halfPageLeftButton()->setEnabled(router_->isEnabled(CommandId::HalfPageLeft));
        strip->halfPageRightButton()->setEnabled(router_->isEnabled(CommandId::HalfPageRight));
    });
}

void CMainFrame::connectLifecycle() {
    LifecycleHooks& h = lifecycle_->hooks();
    h.titleChanged = [this](const std::string& title) {
        setDocumentTitle(QString::fromStdString(title));
        if (outputCommands_) outputCommands_->setOutputTitle(bareTitle(lifecycle_->documentPath()));
        refreshPlaceholder();
    };
    h.resetView = [this] { resetView(); };
    h.setAnalogResolutionFromSelector = [this](int r) { setAnalogResolutionFromSelector(r); };
    h.unloadDeviceLibrary = [this] { device::unbindDeviceLibrary(deviceLibrary_); };
    h.restoreViewState = [this](const document::ViewStateRecord& r) {
        if (viewParts_.view) viewParts_.view->restoreViewState(r);
    };
    h.storeViewState = [this] {
        return viewParts_.view ? viewParts_.view->storeViewState() : document::ViewStateRecord{};
    };
}

void CMainFrame::setCentralView(QWidget* view) {
    if (!view || view == centralWidget()) return;
    if (centralWidget() == placeholder_) placeholder_ = nullptr;
    setCentralWidget(view);  // deletes the previous central widget
}

void CMainFrame::setDocumentTitle(const QString& title) {
    documentTitle_ = title;
    const QString program = QString::fromLatin1(kProgramTitle);
    setWindowTitle(title.isEmpty() ? program : ui::tr(title) + QStringLiteral(" - ") + program);
}

void CMainFrame::updateCommandStates() {
    if (!router_) return;
    router_->updateStates();
    commandAction(CommandId::EditLock)->setChecked(!lifecycle_->editAllowed());
    updateSelectorStates();
}

void CMainFrame::onFileNew() {
    lifecycle_->newWaveform();
    updateCommandStates();
    takeKeyboardBack();
}

void CMainFrame::takeKeyboardBack() {
    // Where no window manager hands the focus back after a modal dialog, no window is
    // active and the menu shortcuts (Ctrl+N, Ctrl+Z, ...) would do nothing.
    if (isVisible() && !QApplication::activeModalWidget()) activateWindow();
}

void CMainFrame::onAppExit() { close(); }

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (lifecycle_->close())
        event->accept();
    else
        event->ignore();
}

void CMainFrame::resetView() {
    if (viewParts_.view) viewParts_.view->resetView();
    refreshPlaceholder();
}

void CMainFrame::refreshPlaceholder() {
    if (!placeholder_) return;
    QPalette p = placeholder_->palette();
    p.setColor(QPalette::Window, doc_.hasWaveform() ? QColor(255, 255, 255) : QColor(127, 127, 127));
    placeholder_->setPalette(p);
    placeholder_->update();
}

}  // namespace lyr::app
