// The main window's side of the output window: the output command, the device
// designated at start-up and the title prefix, and the lifecycle steps that
// hand the window's settings back and close it. The logic is in src/device/ui.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/ui/main_frame.h"
#include "device/ui/output_commands.h"

namespace lyr::app {

void CMainFrame::buildOutput(Prompter* prompter) {
    ui::CommandEnv env;
    env.doc = &doc_;
    env.dialogParent = this;
    env.prompter = prompter;
    outputCommands_ = new device::OutputCommands(env, deviceLibrary_, this);
    outputCommands_->bareDocumentTitle = [this] { return bareTitle(lifecycle_->documentPath()); };
    connect(outputCommands_, &device::OutputCommands::outputWindowClosed, this, &CMainFrame::updateCommandStates);

    actOutput_ = new QAction(QString::fromUtf8(device::kOutputMenuText), this);
    actOutput_->setStatusTip(QString::fromUtf8(device::kOutputPrompt));
    actOutput_->setToolTip(QString::fromUtf8(device::kOutputTooltip));
    connect(actOutput_, &QAction::triggered, this, [this] {
        outputCommands_->run(device::ID_OUTPUT);
        updateCommandStates();
    });
    QMenu* menu = menuBar()->addMenu(QStringLiteral("出力(&O)"));
    menu->addAction(actOutput_);
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updateCommandStates);

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
