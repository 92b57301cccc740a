#include "runtime/FileLocations.h"

#include "tests/support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

mode_t ModeOf(const std::string& path)
{
    struct stat status
    {
    };
    ::stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

} // namespace

// Paths in the table starting with "/" stand below a fresh test folder.
TEST(FileLocationsTest, PortableFolderOrPrivateXdgFolders)
{
    struct Case
    {
        const char* label;
        bool userIniBesideTheProgram;
        const char* configHome; // "" for unset
        const char* dataHome;
        const char* settingsFolder;
        const char* dataFolder;
    };
    for (const Case& c : {
             Case{"a user.ini beside the program keeps every file there", true, "/cfg", "/dat", "/program/",
                  "/program/"},
             Case{"XDG variables set", false, "/cfg", "/dat", "/cfg/Tickerpost/", "/dat/Tickerpost/"},
             Case{"XDG variables unset: below the home folder", false, "", "", "/home/.config/Tickerpost/",
                  "/home/.local/share/Tickerpost/"},
             Case{"relative XDG values are ignored", false, "cfg", "dat", "/home/.config/Tickerpost/",
                  "/home/.local/share/Tickerpost/"},
         }) {
        SCOPED_TRACE(c.label);
        TempFolder root;
        auto below = [&](const std::string& path) {
            return path.starts_with('/') ? root.Path() + path : path;
        };
        std::filesystem::create_directory(below("/program"));
        if (c.userIniBesideTheProgram) root.Write("program/user.ini", "[SMS]\r\n");

        const FileLocations files =
            LocateFiles(below("/program/"), {below(c.configHome), below(c.dataHome), below("/home")});

        EXPECT_EQ(files.SettingsFolder, below(c.settingsFolder));
        EXPECT_EQ(files.DataFolder, below(c.dataFolder));
        if (c.userIniBesideTheProgram) {
            EXPECT_FALSE(std::filesystem::exists(below("/cfg")));
            EXPECT_FALSE(std::filesystem::exists(below("/home")));
        } else {
            EXPECT_EQ(ModeOf(files.SettingsFolder), 0700u);
            EXPECT_EQ(ModeOf(files.DataFolder), 0700u);
        }
    }
}
