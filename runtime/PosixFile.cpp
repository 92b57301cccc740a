#include "runtime/PosixFile.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
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

constexpr std::string_view TemporaryInfix = ".tickerpost-";
// mkstemp's placeholder; glibc fills it with letters and digits.
constexpr std::string_view TemporaryPlaceholder = "XXXXXX";

// Where the write must land: the target of a symbolic link, so the link itself stays.
std::string WriteTarget(const std::string& path)
{
    char resolved[PATH_MAX];
    struct stat status;
    if (::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode) && ::realpath(path.c_str(), resolved))
        return resolved;
    return path;
}

std::string NameOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsTemporaryName(std::string_view name, std::string_view prefix)
{
    if (name.size() != prefix.size() + TemporaryPlaceholder.size() || !name.starts_with(prefix)) return false;
    for (char c : name.substr(prefix.size()))
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    return true;
}

// Removes the temporaries of `target` that a killed write left behind. A running write holds a
// lock on its temporary (see ReplaceFileAtomically), so a second copy of the program at work on
// the same file keeps its own.
void RemoveStaleTemporaries(const std::string& target)
{
    const std::string folder = FolderOf(target);
    const std::string prefix = NameOf(target) + std::string(TemporaryInfix);
    DIR* listing = ::opendir(folder.c_str());
    if (!listing) return;
    while (const dirent* entry = ::readdir(listing)) {
        if (!IsTemporaryName(entry->d_name, prefix)) continue;
        const std::string temporary = folder + "/" + entry->d_name;
        int fd = ::open(temporary.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(temporary.c_str());
        ::close(fd);
    }
    ::closedir(listing);
}

mode_t ModeForNewFile(NewFileMode newFileMode)
{
    if (newFileMode == NewFileMode::OwnerOnly) return 0600;
    mode_t umask = ::umask(0);
    ::umask(umask);
    return 0666 & ~umask;
}

mode_t FinalMode(const std::string& target, NewFileMode newFileMode)
{
    struct stat existing;
    if (::stat(target.c_str(), &existing) == 0) return existing.st_mode & 07777;
    return ModeForNewFile(newFileMode);
}

// Writes the whole content to the open temporary and gives it its final mode; false with errno on failure.
bool FillTemporary(int fd, std::string_view content, mode_t mode)
{
    return WriteAll(fd, content) && ::fsync(fd) == 0 && ::fchmod(fd, mode) == 0;
}

// Removes the temporary file after a failure, keeping errno as the failure set it.
bool Abandon(const std::string& temporary)
{
    int error = errno;
    ::unlink(temporary.c_str());
    errno = error;
    return false;
}

void SyncFolder(const std::string& folder)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

bool ReplaceFileAtomically(const std::string& path, std::string_view content, NewFileMode newFileMode)
{
    const std::string target = WriteTarget(path);
    if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0) return false;
    RemoveStaleTemporaries(target);
    std::string temporary = target + std::string(TemporaryInfix) + std::string(TemporaryPlaceholder);
    int fd = ::mkstemp(temporary.data());
    if (fd < 0) return false;
    // Marks the temporary as in use for RemoveStaleTemporaries; the lock goes with the descriptor.
    ::flock(fd, LOCK_EX);
    if (!FillTemporary(fd, content, FinalMode(target, newFileMode))) {
        int error = errno;
        ::close(fd);
        errno = error;
        return Abandon(temporary);
    }
    if (::close(fd) != 0 || ::rename(temporary.c_str(), target.c_str()) != 0) return Abandon(temporary);
    SyncFolder(FolderOf(target));
    return true;
}

int LockFileExclusively(const std::string& path, int timeoutMs)
{
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return -1;
    constexpr int PauseMs = 5;
    for (int waited = 0; ::flock(fd, LOCK_EX | LOCK_NB) != 0; waited += PauseMs) {
        const int error = errno;
        if ((error != EWOULDBLOCK && error != EINTR) || waited >= timeoutMs) {
            ::close(fd);
            errno = error;
            return -1;
        }
        ::usleep(PauseMs * 1000);
    }
    return fd;
}

void ReleaseLockFile(int fd)
{
    if (fd >= 0) ::close(fd);
}

bool CreateNewFile(const std::string& path, std::string_view content)
{
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    if (!WriteAll(fd, content)) {
        int error = errno;
        ::close(fd);
        errno = error;
        return Abandon(path);
    }
    if (::close(fd) != 0) return Abandon(path);
    return true;
}
