#pragma once

#include "tests/support/FileBytes.h"

#include <string>

// A fresh folder under the system's temporary folder, removed with everything in it when this goes.
class TempFolder
{
public:
    explicit TempFolder(const std::string& prefix = "tickerpost-test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    // The folder's path ending in "/", as the program folder is given.
    std::string Folder() const { return path_ + "/"; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

    void Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;

private:
    std::string path_;
};
