// Programs started with posix_spawn and reaped with waitpid.
#include "platform/programs/programs.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/game_error.h"

extern char** environ;

namespace taviro::platform {
namespace {

class ChildProcess final : public RunningProgram {
public:
    explicit ChildProcess(pid_t pid) : pid_(pid) {}
    // A program still running when the player lets go of it is left to run; only its exit
    // status is collected, so that it leaves no zombie behind.
    ~ChildProcess() override {
        if (running_) waitpid(pid_, nullptr, WNOHANG);
    }

    bool Running() override {
        if (!running_) return false;
        int status = 0;
        pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_ || (done < 0 && errno != EINTR)) running_ = false;
        return running_;
    }

private:
    pid_t pid_;
    bool running_ = true;
};

}  // namespace

std::unique_ptr<RunningProgram> StartProgram(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) throw errors::FileNotFound();
    std::string folder = std::filesystem::path(path).parent_path().string();

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // The program starts in its own folder, as the desktop starts programs it opens.
    if (!folder.empty()) posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    std::string program = path;
    char* arguments[] = {program.data(), nullptr};
    pid_t pid = 0;
    int failed = posix_spawn(&pid, path.c_str(), &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) throw GameError(failed, std::strerror(failed));
    return std::make_unique<ChildProcess>(pid);
}

}  // namespace taviro::platform
