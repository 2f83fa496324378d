#include "support/program_run.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

extern char** environ;

namespace lyr::test {

namespace fs = std::filesystem;

namespace {

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

}  // namespace

RunResult runProgram(const std::string& program, const std::vector<std::string>& args, const fs::path& folder,
                     const std::map<std::string, std::string>& extra, int timeoutMs) {
    RunResult result;
    const fs::path runtime = folder / "runtime", home = folder / "home";
    fs::create_directories(runtime);
    fs::create_directories(home);
    fs::permissions(runtime, fs::perms::owner_all, fs::perm_options::replace);
    std::map<std::string, std::string> env = {{"XDG_RUNTIME_DIR", runtime.string()},
                                              {"HOME", home.string()},
                                              {"XDG_CONFIG_HOME", (home / ".config").string()},
                                              {"LYR_SETTINGS", (folder / "LYR.INI").string()}};
    for (const auto& [k, v] : extra) env[k] = v;

    std::vector<std::string> envStrings;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (!env.count(entry.substr(0, entry.find('=')))) envStrings.push_back(entry);
    }
    for (const auto& [k, v] : env)
        if (v != kUnset) envStrings.push_back(k + "=" + v);
    std::vector<char*> envp, argv;
    for (auto& s : envStrings) envp.push_back(s.data());
    envp.push_back(nullptr);
    std::string prog = program;
    std::vector<std::string> argCopy = args;
    argv.push_back(prog.data());
    for (auto& a : argCopy) argv.push_back(a.data());
    argv.push_back(nullptr);

    const std::string outPath = (folder / "stdout").string(), errPath = (folder / "stderr").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, prog.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) return result;

    // A watchdog ends a program that hangs; the wait itself blocks.
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    std::thread watchdog([&] {
        std::unique_lock<std::mutex> lock(mutex);
        if (!ended.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return done; })) {
            result.timedOut = true;
            kill(pid, SIGKILL);
        }
    });
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        done = true;
    }
    ended.notify_one();
    watchdog.join();
    if (!result.timedOut) result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = slurp(outPath);
    result.err = slurp(errPath);
    return result;
}

}  // namespace lyr::test
