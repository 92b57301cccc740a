#include "runtime/PosixFile.h"

#include <cerrno>
#include <unistd.h>

bool ReadAll(int fd, std::string& content)
{
    char buffer[65536];
    for (;;) {
        ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count == 0) return true;
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return false;
        content.append(buffer, static_cast<size_t>(count));
    }
}

bool WriteAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        ssize_t count = ::write(fd, data.data(), data.size());
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return false;
        data.remove_prefix(static_cast<size_t>(count));
    }
    return true;
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}
