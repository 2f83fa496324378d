#include "support/scripted_prompter.h"

#include <gtest/gtest.h>

namespace lyr::test {

PromptAnswer ScriptedPrompter::ask(const std::string& text, PromptButtons buttons, PromptIcon icon) {
    asked.push_back({text, buttons, icon});
    if (!answers_.empty()) {
        PromptAnswer a = answers_.front();
        answers_.pop_front();
        return a;
    }
    if (buttons == PromptButtons::Ok) return PromptAnswer::Ok;
    ADD_FAILURE() << "unexpected question: " << text;
    return PromptAnswer::Cancel;
}

}  // namespace lyr::test
