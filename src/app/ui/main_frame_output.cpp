// The main window's side of the output window: the output command, the device
// designated at start-up and the title prefix, and the lifecycle steps that
// hand the window's settings back and close it. The logic is in src/device/ui.
#include "app/ui/command_router.h"
#include "app/ui/main_frame.h"
#include "device/ui/output_commands.h"

namespace lyr::app {

void CMainFrame::buildOutput() {
    outputCommands_ = new device::OutputCommands(commandEnv(), deviceLibrary_);
    // A unit that stops answering must not freeze the editor.
    outputCommands_->setDeviceWorker(true);
    outputCommands_->bareDocumentTitle = [this] { return bareTitle(lifecycle_->documentPath()); };
    connect(outputCommands_, &device::OutputCommands::outputWindowClosed, this, &CMainFrame::updateCommandStates);
    router_->add(outputCommands_);
    deviceSpecified_ = [this] { return outputCommands_->deviceSpecified(); };

    LifecycleHooks& h = lifecycle_->hooks();
    h.pullOutputSettings = [this] { outputCommands_->pullOutputSettings(); };
    h.closeOutputWindow = [this] { outputCommands_->closeOutputWindow(); };
}

void CMainFrame::selectDevice(int maxNumber, const QString& settingsPath) {
    const device::DeviceSelection s = outputCommands_->selectDevice(maxNumber, settingsPath);
    if (s.titleSet) lifecycle_->setTitlePrefix(s.titlePrefix);
    updateCommandStates();
}

}  // namespace lyr::app
