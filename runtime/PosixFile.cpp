#include "runtime/PosixFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
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

namespace {

// Where the write must land: the target of a symbolic link, so the link itself stays.
std::string WriteTarget(const std::string& path)
{
    char resolved[PATH_MAX];
    struct stat status;
    if (::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode) && ::realpath(path.c_str(), resolved))
        return resolved;
    return path;
}

// Removes the temporary file after a failure, keeping errno as the failure set it.
bool Abandon(const std::string& temporary)
{
    int error = errno;
    ::unlink(temporary.c_str());
    errno = error;
    return false;
}

} // namespace

bool ReplaceFileAtomically(const std::string& path, std::string_view content)
{
    std::string target = WriteTarget(path);
    if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0) return false;
    std::string temporary = target + ".XXXXXX";
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) return false;
    struct stat existing;
    bool ok = true;
    if (::stat(target.c_str(), &existing) == 0) ok = ::fchmod(fd, existing.st_mode & 07777) == 0;
    ok = ok && WriteAll(fd, content) && ::fsync(fd) == 0;
    if (!ok) {
        int error = errno;
        ::close(fd);
        errno = error;
        return Abandon(temporary);
    }
    if (::close(fd) != 0 || ::rename(temporary.c_str(), target.c_str()) != 0) return Abandon(temporary);
    int folder = ::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return true;
}
