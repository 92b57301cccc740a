#include "cli/SendOptions.h"

#include "cli/CliMessages.h"

#include <getopt.h>

namespace {

enum LongOnly { DirOption = 256, DryRunOption, VerboseOption, ReplaceOption, HelpOption, VersionOption };

const option LongOptions[] = {
    {"text", required_argument, nullptr, 'm'},        {"dir", required_argument, nullptr, DirOption},
    {"dry-run", no_argument, nullptr, DryRunOption},  {"verbose", no_argument, nullptr, VerboseOption},
    {"replace", no_argument, nullptr, ReplaceOption}, {"help", no_argument, nullptr, HelpOption},
    {"version", no_argument, nullptr, VersionOption}, {nullptr, 0, nullptr, 0},
};

// The option as the user wrote it, without a value given with "=".
std::string WrittenOption(const char* argument)
{
    const std::string written = argument;
    return written.substr(0, written.find('='));
}

// The German message for getopt_long's '?' or ':' at the argument it just passed.
std::string OptionError(int result, int argc, char* const argv[])
{
    const char* argument = argv[std::min(optind, argc) - 1];
    const std::string written = WrittenOption(argument);
    if (result == ':') return CliMessages::MissingValue(written);
    const bool longWithValue = written.starts_with("--") && written.size() < std::string(argument).size();
    for (const option* known = LongOptions; longWithValue && known->name; ++known)
        if (written == std::string("--") + known->name) return CliMessages::UnexpectedValue(written);
    if (!written.starts_with("--") && optopt != 0)
        return CliMessages::UnknownOption(std::string("-") + char(optopt));
    return CliMessages::UnknownOption(written);
}

} // namespace

ParsedOptions ParseSendOptions(int argc, char* const argv[])
{
    ParsedOptions parsed;
    SendOptions& options = parsed.Options;
    opterr = 0;
    optind = 0; // glibc starts afresh, so a second parse in one process works too
    for (int result; (result = getopt_long(argc, argv, ":m:", LongOptions, nullptr)) != -1;) {
        switch (result) {
        case 'm':
            options.Text = optarg;
            break;
        case DirOption:
            options.Folder = optarg;
            break;
        case DryRunOption:
            options.DryRun = true;
            break;
        case VerboseOption:
            options.Verbose = true;
            break;
        case ReplaceOption:
            options.Replace = true;
            break;
        case HelpOption:
            options.Help = true;
            break;
        case VersionOption:
            options.Version = true;
            break;
        default:
            parsed.Error = OptionError(result, argc, argv);
            return parsed;
        }
    }
    for (int i = optind; i < argc; ++i) options.Recipients.emplace_back(argv[i]);
    if (options.Recipients.empty() && !options.Help && !options.Version)
        parsed.Error = CliMessages::NoRecipient;
    return parsed;
}
