// The command registry and where the commands print.
#include <cstdarg>
#include <cstdio>

#include "command.h"

namespace lyrtool {

namespace {
std::vector<Command>& registry() {
    static std::vector<Command> list;
    return list;
}

// The capture of the current call on this thread, if any.
thread_local CapturedOutput* capture = nullptr;

std::string format(const char* fmt, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    std::string text(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
    if (n > 0) std::vsnprintf(text.data(), text.size() + 1, fmt, args);
    return text;
}
}  // namespace

bool registerCommand(const Command& command) {
    registry().push_back(command);
    return true;
}

const std::vector<Command>& commands() { return registry(); }

int usageError(const char* name, const std::string& message) {
    printErr("lyrtool %s: %s\nTry 'lyrtool %s --help'.\n", name, message.c_str(), name);
    return kUsage;
}

void writeOut(const std::string& text) {
    if (capture) capture->out += text;
    else std::fwrite(text.data(), 1, text.size(), stdout);
}

void writeErr(const std::string& text) {
    if (capture) capture->err += text;
    else std::fwrite(text.data(), 1, text.size(), stderr);
}

void printOut(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    writeOut(format(fmt, args));
    va_end(args);
}

void printErr(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    writeErr(format(fmt, args));
    va_end(args);
}

CapturedOutput::CapturedOutput() : previous_(capture) { capture = this; }
CapturedOutput::~CapturedOutput() { capture = previous_; }

}  // namespace lyrtool
