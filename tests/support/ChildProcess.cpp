#include "tests/support/ChildProcess.h"

#include "tests/support/TempFolder.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& errorFile)
    : errorFile_(errorFile)
{
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    int rc = ::posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    output_ = pipeEnds[0];
    if (rc != 0) {
        ::close(output_);
        throw std::runtime_error("cannot start " + argv[0]);
    }
}

ChildProcess::~ChildProcess()
{
    Terminate();
    ::close(output_);
}

std::optional<std::string> ChildProcess::ReadLine(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        size_t end = pending_.find('\n');
        if (end != std::string::npos) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return line;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline -
                                                                          std::chrono::steady_clock::now());
        pollfd fd{output_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&fd, 1, static_cast<int>(left.count())) <= 0) return std::nullopt;
        char buffer[4096];
        ssize_t n = ::read(output_, buffer, sizeof buffer);
        if (n <= 0) return std::nullopt;
        pending_.append(buffer, static_cast<size_t>(n));
    }
}

int ChildProcess::Wait(std::string& output)
{
    char buffer[4096];
    for (ssize_t n; (n = ::read(output_, buffer, sizeof buffer)) > 0;)
        pending_.append(buffer, static_cast<size_t>(n));
    output = std::move(pending_);
    pending_.clear();
    return Reap(0);
}

bool ChildProcess::Running()
{
    Reap(WNOHANG);
    return !status_;
}

void ChildProcess::Terminate()
{
    if (!Running()) return;
    ::kill(pid_, SIGTERM);
    Reap(0);
}

int ChildProcess::Reap(int options)
{
    if (!status_) {
        int status = 0;
        if (::waitpid(pid_, &status, options) == pid_) status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return status_.value_or(0);
}

std::string ChildProcess::ErrorText() const
{
    std::ifstream file(errorFile_);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string RunPython(const std::string& script, const std::vector<std::string>& arguments)
{
    TempFolder folder("tickerpost-python");
    std::vector<std::string> argv = {"/usr/bin/python3", "-c", script};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    ChildProcess python(argv, folder.File("stderr"));
    std::string output;
    if (python.Wait(output) != 0) throw std::runtime_error("python3 failed: " + python.ErrorText());
    return output;
}
