#include "platform/testing/ProgramRun.hpp"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace zelvana::platform::testing {

ProgramRun::ProgramRun(const std::filesystem::path& program, std::vector<std::string> arguments,
                       std::filesystem::path output, std::optional<std::filesystem::path> errors,
                       std::optional<std::filesystem::path> folder)
    : output_(std::move(output)), errors_(std::move(errors)) {
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    // Appending: the programs this one starts may write to the same file.
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output_.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0600);
    if (folder) posix_spawn_file_actions_addchdir_np(&actions, folder->c_str());
    if (errors_) {
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors_->c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC | O_APPEND, 0600);
    } else {
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    }
    if (posix_spawn(&pid_, words[0].c_str(), &actions, nullptr, argv.data(), environ) != 0) {
        pid_ = 0;
    }
    posix_spawn_file_actions_destroy(&actions);
}

ProgramRun::~ProgramRun() {
    killNow();
}

std::optional<int> ProgramRun::waitForExit(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!status_ && pid_ > 0) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            status_ = status;
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return status_;
}

void ProgramRun::killNow() {
    if (pid_ <= 0 || status_) return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    status_ = status;
}

bool ProgramRun::exitedCleanly() const {
    return status_ && WIFEXITED(*status_) && WEXITSTATUS(*status_) == 0;
}

namespace {

std::string contents(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace

std::string ProgramRun::output() const {
    return contents(output_);
}

std::string ProgramRun::errors() const {
    return errors_ ? contents(*errors_) : std::string();
}

}  // namespace zelvana::platform::testing
