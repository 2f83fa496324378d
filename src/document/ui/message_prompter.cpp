#include "document/ui/message_prompter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

#include "document/ui/ui_text.h"

namespace lyr::ui {

PromptAnswer MessagePrompter::ask(const std::string& text, PromptButtons buttons, PromptIcon icon) {
    QMessageBox box(parent_);
    box.setWindowTitle(QStringLiteral("LYR"));
    box.setText(tr(text));
    switch (icon) {
        case PromptIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        case PromptIcon::Information: box.setIcon(QMessageBox::Information); break;
        case PromptIcon::Warning: box.setIcon(QMessageBox::Warning); break;
        case PromptIcon::Question: box.setIcon(QMessageBox::Question); break;
        case PromptIcon::Error: box.setIcon(QMessageBox::Critical); break;
    }
    QMessageBox::StandardButtons set;
    QMessageBox::StandardButton fallback = QMessageBox::Ok;
    switch (buttons) {
        case PromptButtons::Ok: set = QMessageBox::Ok; break;
        case PromptButtons::OkCancel:
            set = QMessageBox::Ok | QMessageBox::Cancel;
            fallback = QMessageBox::Cancel;
            break;
        case PromptButtons::YesNo:
            set = QMessageBox::Yes | QMessageBox::No;
            fallback = QMessageBox::No;
            break;
        case PromptButtons::YesNoCancel:
            set = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
            fallback = QMessageBox::Cancel;
            break;
    }
    box.setStandardButtons(set);
    // Closing the box without a button counts as the safe answer.
    box.setEscapeButton(fallback);
    box.setDefaultButton(buttons == PromptButtons::OkCancel || buttons == PromptButtons::Ok
                             ? QMessageBox::Ok
                             : QMessageBox::Yes);
    // The window that was active gets the keyboard back when the box closes, also where no
    // window manager hands it back; otherwise its shortcuts and fields stay dead.
    const QPointer<QWidget> active = QApplication::activeWindow();
    const int result = box.exec();
    if (active && active->isVisible()) active->activateWindow();
    switch (result) {
        case QMessageBox::Ok: return PromptAnswer::Ok;
        case QMessageBox::Yes: return PromptAnswer::Yes;
        case QMessageBox::No: return PromptAnswer::No;
        case QMessageBox::Cancel: return PromptAnswer::Cancel;
        default: break;
    }
    switch (fallback) {
        case QMessageBox::No: return PromptAnswer::No;
        case QMessageBox::Cancel: return PromptAnswer::Cancel;
        default: return PromptAnswer::Ok;
    }
}

}  // namespace lyr::ui
