#pragma once
// The Prompter of the running program: a message box titled "LYR" with the
// buttons the question offers.
#include <QPointer>
#include <QWidget>

#include "document/prompter.h"

namespace lyr::ui {

class MessagePrompter : public Prompter {
public:
    explicit MessagePrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    PromptAnswer ask(const std::string& text, PromptButtons buttons,
                     PromptIcon icon = PromptIcon::None) override;

private:
    QPointer<QWidget> parent_;
};

}  // namespace lyr::ui
