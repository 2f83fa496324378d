#include "analog/ui/analog_commands.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "analog/ui/analog_dialogs.h"
#include "view/ui/syn_view.h"
#include "view/ui/view_commands.h"

namespace lyr::analog {

namespace {

struct CommandText {
    int id;
    const char* menu;
    const char* prompt;
    const char* tip;
};

const CommandText kTexts[7] = {
    {32773, "正弦波(&S)", "[アナログ]  正弦波の作成", "正弦波"},
    {32782, "矩形波(&P)", "[アナログ]  矩形波の作成", "矩形波"},
    {32783, "直流波形(&D)", "[アナログ]  直流波形の作成", "直流"},
    {32784, "ランプ波形(&R)", "[アナログ]  ランプ波形の作成", "ランプ"},
    {32785, "指数関数波形(&E)", "[アナログ]  指数関数波形の作成", "指数関数"},
    {32786, "ランダムノイズ(&N)", "[アナログ]  ランダムノイズの作成", "ノイズ"},
    {57643, "元に戻す(&U)", "直前に行った動作を元に戻す", "元に戻す"},
};

}  // namespace

AnalogCommands::AnalogCommands(document::CSYNDoc& doc, QWidget* window, Prompter* prompter)
    : QObject(window), doc_(doc), window_(window), prompter_(prompter) {
    menu_ = new QMenu(QStringLiteral("アナログ(&A)"), window);
    for (int i = 0; i < 7; ++i) {
        auto* a = new QAction(QString::fromUtf8(kTexts[i].menu), this);
        a->setStatusTip(QString::fromUtf8(kTexts[i].prompt));
        a->setToolTip(QString::fromUtf8(kTexts[i].tip));
        a->setData(kTexts[i].id);
        const auto c = static_cast<AnalogCommand>(i);
        connect(a, &QAction::triggered, this, [this, c] { run(c); });
        actions_[i] = a;
        if (c != AnalogCommand::Undo) menu_->addAction(a);
    }
    actions_[6]->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::ALT | Qt::Key_Backspace)});
    connect(menu_, &QMenu::aboutToShow, this, &AnalogCommands::updateStates);
    findView = [this]() -> view::CSYNView* {
        return window_ ? window_->findChild<view::CSYNView*>() : nullptr;
    };
    updateStates();
}

AnalogCommands::~AnalogCommands() = default;

bool AnalogCommands::editingRule(AnalogCommand c) const {
    return doc_.hasWaveform() && editAllowed() && !busy_[static_cast<int>(c)];
}

void AnalogCommands::updateStates() {
    for (int i = 0; i < 6; ++i) actions_[i]->setEnabled(editingRule(static_cast<AnalogCommand>(i)));
    actions_[6]->setEnabled(editingRule(AnalogCommand::Undo) && doc_.undoAvailable());
    // A right click on the analog plot shows this menu.
    if (view::CSYNView* v = findView ? findView() : nullptr)
        if (auto* vc = v->findChild<view::ViewCommands*>(QString(), Qt::FindDirectChildrenOnly))
            vc->setAnalogPopup(menu_);
}

std::uint32_t AnalogCommands::cursor() {
    view::CSYNView* v = findView ? findView() : nullptr;
    return v ? v->state().cursor() : 0;
}

template <class Editor, class Operation>
void AnalogCommands::runEditor(AnalogCommand c, Operation operation) {
    Editor editor(window_, prompter_);
    const auto range = (doc_.*operation)(cursor(), editor);
    if (range) {
        if (view::CSYNView* v = findView ? findView() : nullptr)
            v->afterEdit(static_cast<std::uint32_t>(range->first), static_cast<std::uint32_t>(range->end));
        emit documentChanged();
    }
    (void)c;
}

void AnalogCommands::runUndo() {
    if (doc_.modificationCount() == 0) return;
    const auto kind = doc_.undo();
    if (!kind) return;
    if (view::CSYNView* v = findView ? findView() : nullptr) v->afterUndo(*kind == document::kUndoTimeBase);
    emit documentChanged();
}

void AnalogCommands::run(AnalogCommand c) {
    const int i = static_cast<int>(c);
    if (busy_[i]) return;  // its dialog is already open
    updateStates();
    if (!actions_[i]->isEnabled()) return;
    busy_[i] = true;
    updateStates();
    switch (c) {
    case AnalogCommand::Sine: runEditor<SineDialogEditor>(c, &document::CSYNDoc::EditAnalogSine); break;
    case AnalogCommand::Rectangle:
        runEditor<RectangleDialogEditor>(c, &document::CSYNDoc::EditAnalogRectangle);
        break;
    case AnalogCommand::Dc: runEditor<DcDialogEditor>(c, &document::CSYNDoc::EditAnalogDc); break;
    case AnalogCommand::Ramp: runEditor<RampDialogEditor>(c, &document::CSYNDoc::EditAnalogRamp); break;
    case AnalogCommand::Exp: runEditor<ExpDialogEditor>(c, &document::CSYNDoc::EditAnalogExp); break;
    case AnalogCommand::Noise: runEditor<NoiseDialogEditor>(c, &document::CSYNDoc::EditAnalogNoise); break;
    case AnalogCommand::Undo: runUndo(); break;
    }
    busy_[i] = false;
    updateStates();
    // Give the keyboard back to the main window after an editor dialog, so that its
    // shortcuts (Ctrl+Z) work at once even where no window manager reactivates it.
    if (c != AnalogCommand::Undo && window_ && window_->isVisible()) window_->activateWindow();
}

AnalogCommands* installAnalogCommands(QMainWindow& window, document::CSYNDoc& doc, QAction* menuBefore,
                                      Prompter* prompter) {
    auto* commands = new AnalogCommands(doc, &window, prompter);
    QMenuBar* bar = window.menuBar();
    QMenu* edit = nullptr;
    for (QAction* a : bar->actions())
        if (a->menu() && a->text() == QStringLiteral("編集(&E)")) edit = a->menu();
    if (!edit) {
        edit = new QMenu(QStringLiteral("編集(&E)"), &window);
        if (menuBefore)
            bar->insertMenu(menuBefore, edit);
        else
            bar->addMenu(edit);
    }
    edit->insertAction(edit->actions().isEmpty() ? nullptr : edit->actions().first(), commands->undoAction());
    QObject::connect(edit, &QMenu::aboutToShow, commands, &AnalogCommands::updateStates);
    if (menuBefore)
        bar->insertMenu(menuBefore, commands->menu());
    else
        bar->addMenu(commands->menu());
    // The shortcuts work while the menus are closed, too.
    window.addAction(commands->undoAction());
    return commands;
}

}  // namespace lyr::analog
