#pragma once
// A Prompter that answers from a script and records every question.
#include <deque>
#include <string>
#include <vector>

#include "document/prompter.h"

namespace lyr::test {

class ScriptedPrompter : public Prompter {
public:
    struct Question {
        std::string text;
        PromptButtons buttons;
        PromptIcon icon;
    };
    // Answers are used in order; when none is left an OK-only box is
    // answered Ok and any other question fails the test.
    void script(std::initializer_list<PromptAnswer> answers) { answers_.insert(answers_.end(), answers); }
    PromptAnswer ask(const std::string& text, PromptButtons buttons, PromptIcon icon) override;

    std::vector<Question> asked;
    std::size_t remaining() const { return answers_.size(); }

private:
    std::deque<PromptAnswer> answers_;
};

}  // namespace lyr::test
