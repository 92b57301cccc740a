#pragma once

#include <optional>
#include <string>
#include <vector>

// The command line of tickerpost-send: GNU-style options (long ones as "--opt=value" or
// "--opt value", "--" ends the options) anywhere among the recipients. Texts are as given (UTF-8).
struct SendOptions
{
    std::vector<std::string> Recipients;
    std::optional<std::string> Text;   // -m/--text; otherwise standard input
    std::optional<std::string> Folder; // --dir
    bool DryRun = false;
    bool Verbose = false;
    bool Replace = false;
    bool Help = false;
    bool Version = false;
};

// The options, or the German message of a wrong usage (an unknown option, a missing value, no
// recipient while neither --help nor --version is asked for).
struct ParsedOptions
{
    SendOptions Options;
    std::string Error;
};

ParsedOptions ParseSendOptions(int argc, char* const argv[]);
