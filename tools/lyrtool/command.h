#pragma once
// Each lyrtool command lives in its own file and registers itself here.
#include <string>
#include <vector>

namespace lyrtool {

// Exit statuses shared by every command.
enum Exit : int {
    kOk = 0,
    kRefused = 1,    // a file or device refused the operation
    kUsage = 2,      // bad arguments
    kNoDevice = 3,   // no D2XX library or no device
};

struct Command {
    const char* name;
    const char* summary;  // one line for the command list
    const char* help;     // full text for `lyrtool NAME --help`
    int (*run)(const std::vector<std::string>& args);  // args after the name
    // When set, composes the help at run time (commands whose parts register themselves).
    std::string (*composeHelp)() = nullptr;
};

// Called from a static object in each command's file.
bool registerCommand(const Command& command);
const std::vector<Command>& commands();

// Prints "lyrtool NAME: message" and the hint to use --help; returns kUsage.
int usageError(const char* name, const std::string& message);

// Where the commands print: stdout and stderr, unless the caller captures
// the text of one call (the Python module makes return values and
// exceptions of it).
void writeOut(const std::string& text);
void writeErr(const std::string& text);
void printOut(const char* format, ...) __attribute__((format(printf, 1, 2)));
void printErr(const char* format, ...) __attribute__((format(printf, 1, 2)));

// While it lives, what this thread's commands print is collected here.
class CapturedOutput {
public:
    CapturedOutput();
    ~CapturedOutput();
    CapturedOutput(const CapturedOutput&) = delete;
    CapturedOutput& operator=(const CapturedOutput&) = delete;
    std::string out;
    std::string err;

private:
    CapturedOutput* previous_;
};

}  // namespace lyrtool
