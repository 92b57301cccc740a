#pragma once

#include <string>

// The folders that hold the program's files, each ending in "/": user.ini in SettingsFolder,
// Kontakte.vcf and the archive folder "Sent" in DataFolder.
struct FileLocations
{
    // Every file in one folder: the portable use, a program folder with its own user.ini.
    FileLocations(std::string folder) : SettingsFolder(folder), DataFolder(std::move(folder)) {}
    FileLocations(std::string settingsFolder, std::string dataFolder)
        : SettingsFolder(std::move(settingsFolder)), DataFolder(std::move(dataFolder))
    {
    }

    std::string SettingsFolder;
    std::string DataFolder;
};

// The variables the XDG base directory rules read; an empty text stands for an unset variable.
struct XdgEnvironment
{
    std::string ConfigHome; // XDG_CONFIG_HOME
    std::string DataHome;   // XDG_DATA_HOME
    std::string Home;       // HOME
};

// The process's environment; an unset or empty HOME is taken from the user's passwd entry.
XdgEnvironment CurrentXdgEnvironment();

// Decides where the program's files live. A user.ini in `programFolder` (ending in "/") keeps
// every file there, as a portable copy carries its settings. Otherwise the XDG base directory
// rules apply: user.ini in $XDG_CONFIG_HOME/Tickerpost/ and the data in
// $XDG_DATA_HOME/Tickerpost/, a variable that is unset or not an absolute path standing for
// ~/.config and ~/.local/share. Those folders are created when missing, with mode 0700, since they
// hold the password, the contacts and the texts sent; EInOutError when one cannot be created, and
// Exception when no absolute home folder is known.
FileLocations LocateFiles(const std::string& programFolder, const XdgEnvironment& environment);
