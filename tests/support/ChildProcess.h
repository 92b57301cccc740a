#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// A program started for a test. Its standard output is read through a pipe; its standard error
// goes to a file (kept for the failure message). Terminated and waited for when this goes.
class ChildProcess
{
public:
    ChildProcess(const std::vector<std::string>& argv, const std::string& errorFile);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The next line of its output without the line end; nullopt at its end or after `timeout`.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
    // Reads its output to the end, waits for it to exit and returns its exit status (-1 when a
    // signal ended it).
    int Wait(std::string& output);
    bool Running();
    // SIGTERM, then waits for the exit.
    void Terminate();
    // What it wrote to its standard error so far.
    std::string ErrorText() const;

private:
    int Reap(int options);

    pid_t pid_ = -1;
    int output_ = -1;
    std::string pending_;
    std::string errorFile_;
    std::optional<int> status_;
};

// Runs Debian's /usr/bin/python3 on a script given as text and returns what it printed. Throws
// std::runtime_error with its error output when it fails.
std::string RunPython(const std::string& script, const std::vector<std::string>& arguments = {});
