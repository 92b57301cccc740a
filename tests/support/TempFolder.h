#pragma once

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
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};
