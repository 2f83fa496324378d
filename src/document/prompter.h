#pragma once
// How logic asks the user something. Widgets answer with a message box,
// tests with scripted answers; forms never show anything themselves.
#include <string>

namespace lyr {

enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptIcon { None, Information, Warning, Question, Error };
enum class PromptAnswer { Ok, Cancel, Yes, No };

class Prompter {
public:
    virtual ~Prompter() = default;
    // text is UTF-8; the answer is one of the buttons offered.
    virtual PromptAnswer ask(const std::string& text, PromptButtons buttons,
                             PromptIcon icon = PromptIcon::None) = 0;
    // A plain notice with only an OK button.
    void tell(const std::string& text, PromptIcon icon = PromptIcon::Information) {
        ask(text, PromptButtons::Ok, icon);
    }
};

}  // namespace lyr
