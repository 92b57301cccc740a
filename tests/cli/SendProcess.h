#pragma once

#include "tests/support/TempFolder.h"

#include <sys/types.h>

#include <string>
#include <vector>

// What a run of tickerpost-send left: its exit status (-1 when a signal ended it) and its output.
struct SendRun
{
    int Status = -1;
    std::string Out;
    std::string Err;
};

// tickerpost-send started with `arguments`, `input` as its standard input (a file, so never a
// terminal) and `environment` ("NAME=value") added to the test's own. It is ended after a minute
// at the latest, so a hang fails the test instead of stopping it.
class SendProcess
{
public:
    explicit SendProcess(const std::vector<std::string>& arguments, const std::string& input = {},
                         const std::vector<std::string>& environment = {});
    SendProcess(const SendProcess&) = delete;
    SendProcess& operator=(const SendProcess&) = delete;
    SendRun Wait();

private:
    TempFolder files_{"tickerpost-send-run"};
    pid_t pid_ = -1;
};

inline SendRun RunSend(const std::vector<std::string>& arguments, const std::string& input = {},
                       const std::vector<std::string>& environment = {})
{
    return SendProcess(arguments, input, environment).Wait();
}
