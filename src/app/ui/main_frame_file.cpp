// The file commands of the main window (new is in main_frame.cpp): open,
// save, save as, a dropped file, a file named at start-up, and the about box.
// Every decision is DocumentLifecycle's; these only connect widgets to it.
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>

#include "app/ui/about_dlg.h"
#include "app/ui/file_dialogs.h"
#include "app/ui/main_frame.h"

namespace lyr::app {

void CMainFrame::buildFileActions() {
    actOpen_ = new QAction(QStringLiteral("開く(&O)..."), this);
    actOpen_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    actOpen_->setStatusTip(QStringLiteral("既存のファイルを開く"));
    actOpen_->setToolTip(QStringLiteral("開く"));
    connect(actOpen_, &QAction::triggered, this, &CMainFrame::onFileOpen);

    actSave_ = new QAction(QStringLiteral("上書き保存(&S)"), this);
    actSave_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    actSave_->setStatusTip(QStringLiteral("作業中のファイルを上書きして保存"));
    actSave_->setToolTip(QStringLiteral("保存"));
    connect(actSave_, &QAction::triggered, this, &CMainFrame::onFileSave);

    actSaveAs_ = new QAction(QStringLiteral("名前を付けて保存(&A)..."), this);
    actSaveAs_->setStatusTip(QStringLiteral("作業中のファイルを新しい名前で保存"));
    actSaveAs_->setToolTip(QStringLiteral("名前をつけて保存"));
    connect(actSaveAs_, &QAction::triggered, this, &CMainFrame::onFileSaveAs);

    actAbout_ = new QAction(QStringLiteral("LYR のバージョン情報(&A)"), this);
    actAbout_->setStatusTip(QStringLiteral("プログラムの情報、バージョンそして著作権を表示"));
    actAbout_->setToolTip(QStringLiteral("バージョン情報"));
    connect(actAbout_, &QAction::triggered, this, &CMainFrame::onAppAbout);

    // Files may be dropped on the window from start-up on.
    setAcceptDrops(true);
}

void CMainFrame::buildHelpMenu() {
    helpMenu_ = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    helpMenu_->addAction(actAbout_);
}

void CMainFrame::updateFileCommandStates() {
    actOpen_->setEnabled(lifecycle_->canOpen());
    actSave_->setEnabled(lifecycle_->canSave());
    actSaveAs_->setEnabled(lifecycle_->canSaveAs());
    actAbout_->setEnabled(true);
}

QtFileDialogs& CMainFrame::qtFileDialogs() {
    if (!qtFileDialogs_) qtFileDialogs_ = std::make_unique<QtFileDialogs>(this);
    return *qtFileDialogs_;
}

void CMainFrame::onFileOpen() {
    lifecycle_->open();
    updateCommandStates();
    takeKeyboardBack();
}

void CMainFrame::onFileSave() {
    lifecycle_->save();
    updateCommandStates();
    takeKeyboardBack();
}

void CMainFrame::onFileSaveAs() {
    lifecycle_->saveAs();
    updateCommandStates();
    takeKeyboardBack();
}

void CMainFrame::onAppAbout() {
    CAboutDlg dlg(this);
    dlg.exec();
    takeKeyboardBack();
}

bool CMainFrame::openStartupFile(const QString& path) {
    const bool opened = lifecycle_->openPath(path.toStdString());
    updateCommandStates();
    return opened;
}

namespace {
// The first dropped file that is on this machine.
QString firstLocalFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls()) return {};
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}
}  // namespace

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!firstLocalFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QString path = firstLocalFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    lifecycle_->drop(path.toStdString());
    updateCommandStates();
}

}  // namespace lyr::app
