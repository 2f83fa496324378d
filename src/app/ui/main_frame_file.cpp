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
#include "app/ui/export_dlg.h"
#include "app/ui/file_dialogs.h"
#include "app/ui/function_commands.h"
#include "app/ui/main_frame.h"
#include "view/ui/syn_view.h"

namespace lyr::app {

void CMainFrame::addFileCommands() {
    using R = CommandRule;
    frameCommands_->add({CommandId::FileOpen, "開く(&O)...", "既存のファイルを開く", "開く", R::File, Glyph::Open},
                        [this] { onFileOpen(); }, [this] { return lifecycle_->canOpen(); });
    frameCommands_->add({CommandId::FileSave, "上書き保存(&S)", "作業中のファイルを上書きして保存", "保存", R::File,
                         Glyph::Save},
                        [this] { onFileSave(); }, [this] { return lifecycle_->canSave(); });
    frameCommands_->add({CommandId::FileSaveAs, "名前を付けて保存(&A)...", "作業中のファイルを新しい名前で保存",
                         "名前をつけて保存", R::File},
                        [this] { onFileSaveAs(); }, [this] { return lifecycle_->canSaveAs(); });
    // A waveform can be written out also while editing is locked.
    frameCommands_->add({CommandId::FileExport, "エクスポート(&E)...",
                         "波形を CSV、WAV、NumPy、VCD 形式のファイルに書き出す", "エクスポート", R::WaveformIdle},
                        [this] { onFileExport(); });
    frameCommands_->add({CommandId::AppAbout, "LYR のバージョン情報(&A)",
                         "プログラムの情報、バージョンそして著作権を表示", "バージョン情報", R::Always, Glyph::About},
                        [this] { onAppAbout(); });
    // Each choice is named in the language it chooses; the prompt is translated.
    frameCommands_->add({CommandId::LanguageJapanese, "日本語(&J)", "表示言語を日本語にします（次回の起動から）", {},
                         R::Always},
                        [this] { chooseLanguage(Language::Japanese); });
    frameCommands_->add({CommandId::LanguageEnglish, "English(&E)", "表示言語を英語にします（次回の起動から）", {},
                         R::Always},
                        [this] { chooseLanguage(Language::English); });
    // Files may be dropped on the window from start-up on.
    setAcceptDrops(true);
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

void CMainFrame::onFileExport() {
    const view::ViewState* state = viewParts_.view ? &viewParts_.view->state() : nullptr;
    // The range reaches from the cursor to the time mark while one is set.
    std::optional<std::uint32_t> mark;
    if (state && state->markSet()) mark = state->mark();
    interchange::ExportForm form(doc_, state ? state->cursor() : 0u, mark);
    CExportDlg dlg(form, exportFileDialogs(), prompter(), this);
    dlg.exec();
    takeKeyboardBack();
}

void CMainFrame::onAppAbout() {
    CAboutDlg dlg(this);
    dlg.exec();
    takeKeyboardBack();
}

void CMainFrame::setLanguage(Language language) {
    language_ = language;
    commandAction(CommandId::LanguageJapanese)->setChecked(language == Language::Japanese);
    commandAction(CommandId::LanguageEnglish)->setChecked(language == Language::English);
}

void CMainFrame::chooseLanguage(Language language) {
    if (settings_) settings_->setValue(kSectionProgram, kKeyLanguage, languageCode(language));
    setLanguage(language);
    // Said in the language chosen: the one the user reads.
    prompter().tell(language == Language::English
                        ? "The display language is now English. It takes effect at the next start."
                        : "表示言語を日本語にしました。次回の起動から有効になります。",
                    PromptIcon::Information);
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
