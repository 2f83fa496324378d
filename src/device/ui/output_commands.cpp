#include "device/ui/output_commands.h"

#include "device/output_window.h"
#include "device/ui/output_dlg.h"
#include "device/ui/output_select_dlg.h"
#include "document/syn_doc.h"

namespace lyr::device {

OutputCommands::OutputCommands(const ui::CommandEnv& env, const DeviceLibrary& library, QObject* parent)
    : ui::CommandSet(env, parent), library_(library) {
    if (env.doc) env.doc->addObserver(this);
}

OutputCommands::~OutputCommands() {
    closeOutputWindow();
    if (env().doc) doc().removeObserver(this);
}

DeviceSelection OutputCommands::selectDevice(int maxNumber, const QString& settingsPath) {
    IniDeviceListStore store(settingsPath);
    DialogDeviceChooser chooser(env().dialogParent);
    return selectDevice(maxNumber, store, chooser);
}

DeviceSelection OutputCommands::selectDevice(int maxNumber, DeviceListStore& store, DeviceChooser& chooser) {
    const DeviceSelection s =
        device::selectDevice(library_.bound(), maxNumber, library_.bound() ? &library_.api() : nullptr, store, chooser);
    deviceSpecified_ = s.specified;
    deviceSerial_ = s.serial;
    deviceDescription_ = s.description;
    titlePrefix_ = s.titlePrefix;
    return s;
}

void OutputCommands::run(CommandId id) {
    if (id != CommandId::Output) return;
    if (setOutputButtonPressed) setOutputButtonPressed(true);
    if (window_)
        bringOutputWindowToFront();
    else if (deviceSpecified_ && library_.bound())
        openOutputWindow();
    if (setOutputButtonPressed) setOutputButtonPressed(false);
}

void OutputCommands::openOutputWindow() {
    const std::string title = bareDocumentTitle ? bareDocumentTitle() : std::string();
    auto* dlg = new COutputDlg(library_.api(), prompter(), env().dialogParent, deviceWorker_);
    dlg->setAttribute(Qt::WA_DeleteOnClose, false);
    window_ = dlg;
    connect(dlg, &COutputDlg::closeRequested, this, &OutputCommands::windowCloseRequested);
    dlg->show();
    if (!dlg->openWindow(openingFor(doc(), deviceSerial_, deviceDescription_, title))) {
        window_ = nullptr;
        dlg->hide();
        dlg->deleteLater();
        emit outputWindowClosed();
        return;
    }
    doc().setOutputWindow(dlg);
}

void OutputCommands::windowCloseRequested() {
    if (!window_) return;
    window_->form().close();  // the timer stops first
    pullOutputSettings();
    closeOutputWindow();
}

void OutputCommands::pullOutputSettings() {
    if (!window_) return;
    doc().setOutputSettingsExceptResolution(window_->form().pullSettings());
}

void OutputCommands::closeOutputWindow() {
    if (!window_) return;
    COutputDlg* dlg = window_;
    window_ = nullptr;
    if (env().doc && doc().outputWindow() == dlg) doc().setOutputWindow(nullptr);
    dlg->form().close();
    dlg->hide();
    // Later: the request to close may come from inside the window's own handlers.
    dlg->deleteLater();
    emit outputWindowClosed();
}

void OutputCommands::bringOutputWindowToFront() {
    if (window_) window_->bringOutputWindowToFront();
}

void OutputCommands::setOutputTitle(const std::string& bareTitle) {
    if (window_) window_->setOutputTitle(QString::fromStdString(bareTitle));
}

}  // namespace lyr::device
