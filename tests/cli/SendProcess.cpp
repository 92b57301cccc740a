#include "tests/cli/SendProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

extern char** environ;

SendProcess::SendProcess(const std::vector<std::string>& arguments, const std::string& input,
                         const std::vector<std::string>& environment)
{
    files_.Write("in", input);
    std::vector<std::string> argv = {"/usr/bin/timeout", "60", TP_SEND_PROGRAM};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    std::vector<char*> env(environment.size());
    for (std::size_t i = 0; i < environment.size(); ++i) env[i] = const_cast<char*>(environment[i].c_str());
    for (char** variable = environ; *variable; ++variable) env.push_back(*variable);
    env.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, files_.File("in").c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, files_.File("out").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, files_.File("err").c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int rc = ::posix_spawn(&pid_, argv[0].c_str(), &actions, nullptr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) throw std::runtime_error("cannot start tickerpost-send");
}

SendRun SendProcess::Wait()
{
    int status = 0;
    SendRun run;
    if (::waitpid(pid_, &status, 0) == pid_ && WIFEXITED(status)) run.Status = WEXITSTATUS(status);
    run.Out = files_.Read("out");
    run.Err = files_.Read("err");
    return run;
}
