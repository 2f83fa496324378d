#pragma once
// The main window's analog commands: the "アナログ(&A)" menu with the six
// generator editors and the undo command "元に戻す(&U)". Each editor command
// follows the editing rule (a waveform exists, editing is not locked, the
// command is not already running), runs the document's operation with the
// view's cursor and hands the edited range to the view.
#include <QObject>
#include <array>
#include <cstdint>
#include <functional>

#include "document/prompter.h"
#include "document/syn_doc.h"

class QAction;
class QMainWindow;
class QMenu;
class QWidget;

namespace lyr::view {
class CSYNView;
}

namespace lyr::analog {

enum class AnalogCommand { Sine, Rectangle, Dc, Ramp, Exp, Noise, Undo };

class AnalogCommands : public QObject {
    Q_OBJECT
public:
    // window: the main window; its central widget is taken as the view when
    // it is one. prompter: where messages go (message boxes when null).
    AnalogCommands(document::CSYNDoc& doc, QWidget* window, Prompter* prompter = nullptr);
    ~AnalogCommands() override;

    QMenu* menu() const { return menu_; }
    QAction* action(AnalogCommand c) const { return actions_[static_cast<int>(c)]; }
    QAction* undoAction() const { return action(AnalogCommand::Undo); }

    // The main window's edit lock: editing commands run only while this is true.
    std::function<bool()> editAllowed = [] { return true; };
    // The view the commands report to; by default the CSYNView inside the
    // window, when there is one.
    std::function<view::CSYNView*()> findView;

    bool busy(AnalogCommand c) const { return busy_[static_cast<int>(c)]; }

public slots:
    // Enables each command by its rule.
    void updateStates();
    void run(lyr::analog::AnalogCommand c);

signals:
    // An edit or an undo changed the document (titles and other commands follow).
    void documentChanged();

private:
    template <class Editor, class Operation>
    void runEditor(AnalogCommand c, Operation operation);
    void runUndo();
    bool editingRule(AnalogCommand c) const;
    std::uint32_t cursor();

    document::CSYNDoc& doc_;
    QWidget* window_;
    Prompter* prompter_;
    QMenu* menu_ = nullptr;
    std::array<QAction*, 7> actions_{};
    std::array<bool, 7> busy_{};
};

// Creates the commands for a main window: the "アナログ(&A)" menu goes before
// menuBefore (or last), and undo into the "編集(&E)" menu, which is created
// before the analog menu when the window has none.
AnalogCommands* installAnalogCommands(QMainWindow& window, document::CSYNDoc& doc, QAction* menuBefore = nullptr,
                                      Prompter* prompter = nullptr);

}  // namespace lyr::analog
