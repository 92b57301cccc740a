#include "runtime/FileLocations.h"

#include "runtime/FileSystem.h"
#include "runtime/RuntimeMessages.h"
#include "runtime/TextFile.h"

#include <cstdlib>

namespace {

constexpr const char* ProgramFolderName = "Tickerpost/";

std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

bool IsAbsolute(const std::string& path)
{
    return !path.empty() && path.front() == '/';
}

// The program's folder below the base folder `variable` names, or below `fallback` in the home
// folder when `variable` is unset or relative (XDG base directory rules: such a value is invalid).
std::string XdgFolder(const std::string& variable, const std::string& home, const char* fallback)
{
    if (IsAbsolute(variable)) return variable + "/" + ProgramFolderName;
    if (!IsAbsolute(home)) throw Exception(HomeFolderUnknownMessage());
    return home + "/" + fallback + "/" + ProgramFolderName;
}

// Creates every missing folder of `path` (ending in "/") with mode 0700; existing ones stay as
// they are.
void CreatePrivateFolders(const std::string& path)
{
    for (size_t end = path.find('/', 1); end != std::string::npos; end = path.find('/', end + 1)) {
        const std::string folder = path.substr(0, end);
        if (int error = CreateFolder(folder, NewFileMode::OwnerOnly)) throw InOutErrorForPath(error, folder);
    }
}

} // namespace

XdgEnvironment CurrentXdgEnvironment()
{
    XdgEnvironment environment{Variable("XDG_CONFIG_HOME"), Variable("XDG_DATA_HOME"), Variable("HOME")};
    if (environment.Home.empty()) environment.Home = UserDatabaseHomeFolder();
    return environment;
}

FileLocations LocateFiles(const std::string& programFolder, const XdgEnvironment& environment)
{
    if (PathExists(programFolder + "user.ini")) return FileLocations(programFolder);
    FileLocations locations(XdgFolder(environment.ConfigHome, environment.Home, ".config"),
                            XdgFolder(environment.DataHome, environment.Home, ".local/share"));
    CreatePrivateFolders(locations.SettingsFolder);
    CreatePrivateFolders(locations.DataFolder);
    return locations;
}
