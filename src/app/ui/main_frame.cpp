#include "app/ui/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>

#include "analog/ui/analog_commands.h"
#include "app/ui/file_dialogs.h"
#include "device/ui/output_commands.h"
#include "document/ui/message_prompter.h"
#include "document/ui/ui_fonts.h"
#include "document/ui/wave_time_dlg.h"
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
    bool choose(std::int64_t& total, std::uint32_t& sampling, std::uint32_t& count) override {
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
                                                     *forwardChooser_)) {
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
    buildActions();
    buildMenus();
    connectLifecycle();
    updateCommandStates();
}

CMainFrame::~CMainFrame() {
    // The window's unit goes before the library it is reached through.
    if (outputCommands_) outputCommands_->closeOutputWindow();
}

Prompter& CMainFrame::prompter() {
    if (prompter_) return *prompter_;
    return *messagePrompter_;
}

void CMainFrame::buildActions() {
    actNew_ = new QAction(QStringLiteral("新規作成(&N)"), this);
    actNew_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    actNew_->setStatusTip(QStringLiteral("新規にファイルを作成"));
    actNew_->setToolTip(QStringLiteral("新規ファイル"));
    connect(actNew_, &QAction::triggered, this, &CMainFrame::onFileNew);

    actExit_ = new QAction(QStringLiteral("LYRの終了(&X)"), this);
    actExit_->setStatusTip(QStringLiteral("SYNを終了し、ファイルの保存を指示"));
    actExit_->setToolTip(QStringLiteral("終了"));
    connect(actExit_, &QAction::triggered, this, &CMainFrame::onAppExit);

    buildFileActions();
}

void CMainFrame::buildMenus() {
    buildFileMenu();
    // "編集(&E)" with undo and "アナログ(&A)"; handlers in src/analog/ui/analog_commands.cpp
    analogCommands_ = analog::installAnalogCommands(*this, doc_, nullptr, forwardPrompter_.get());
    // The edit lock travels with the file flags the file commands keep.
    analogCommands_->editAllowed = [this] { return lifecycle_->editAllowed(); };
    connect(analogCommands_, &analog::AnalogCommands::documentChanged, this, &CMainFrame::updateCommandStates);
    // The waveform view with its status strip and menus; handlers in src/view/ui
    viewParts_ = view::installView(*this, doc_);
    setCentralView(viewParts_.view);
    viewParts_.commands->setAnalogPopup(analogCommands_->menu());  // right click on the analog plot
    buildOutput(forwardPrompter_.get());
    buildHelpMenu();  // stays last
}

void CMainFrame::buildFileMenu() {
    fileMenu_ = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    fileMenu_->addAction(actNew_);
    fileMenu_->addAction(actOpen_);
    fileMenu_->addAction(actSave_);
    fileMenu_->addAction(actSaveAs_);
    fileMenu_->addSeparator();
    fileMenu_->addAction(actExit_);
    connect(fileMenu_, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);
}

void CMainFrame::connectLifecycle() {
    LifecycleHooks& h = lifecycle_->hooks();
    h.titleChanged = [this](const std::string& title) {
        setDocumentTitle(QString::fromStdString(title));
        if (outputCommands_) outputCommands_->setOutputTitle(bareTitle(lifecycle_->documentPath()));
        refreshPlaceholder();
    };
    h.resetView = [this] { resetView(); };
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
    setWindowTitle(title.isEmpty() ? program : title + QStringLiteral(" - ") + program);
}

void CMainFrame::updateCommandStates() {
    actNew_->setEnabled(lifecycle_->canNew());
    actExit_->setEnabled(true);
    updateFileCommandStates();
    if (outputCommands_) actOutput_->setEnabled(outputCommands_->available(device::ID_OUTPUT));
    if (analogCommands_) analogCommands_->updateStates();
    if (viewParts_.commands) viewParts_.commands->updateStates();
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
