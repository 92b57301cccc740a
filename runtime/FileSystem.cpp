#include "runtime/FileSystem.h"

#include "runtime/AsciiText.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

struct FileStampMaker
{
    static long long Nanoseconds(const timespec& time)
    {
        return static_cast<long long>(time.tv_sec) * 1000000000LL + time.tv_nsec;
    }

    static FileStamp Of(const struct stat& status)
    {
        FileStamp stamp;
        stamp.exists_ = true;
        stamp.device_ = status.st_dev;
        stamp.inode_ = status.st_ino;
        stamp.size_ = status.st_size;
        stamp.modifiedNs_ = Nanoseconds(status.st_mtim);
        stamp.changedNs_ = Nanoseconds(status.st_ctim);
        return stamp;
    }
};

namespace {

// An open file descriptor, closed when it goes out of scope; Close() reports the close's own failure.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor()
    {
        if (fd_ >= 0) ::close(fd_);
    }

    bool IsOpen() const { return fd_ >= 0; }
    int Get() const { return fd_; }

    // Hands the descriptor over: it is no longer closed here.
    int Release()
    {
        int fd = fd_;
        fd_ = -1;
        return fd;
    }

    // 0, or the error number of the close.
    int Close()
    {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int fd_;
};

FileDescriptor OpenForReading(const std::string& path)
{
    return FileDescriptor(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
}

// Appends everything up to the end of the file to `content`: 0 or the error number.
int ReadAll(const FileDescriptor& file, std::string& content)
{
    char buffer[65536];
    for (;;) {
        ssize_t count = ::read(file.Get(), buffer, sizeof buffer);
        if (count == 0) return 0;
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return errno;
        content.append(buffer, static_cast<size_t>(count));
    }
}

// 0 or the error number.
int WriteAll(const FileDescriptor& file, std::string_view data)
{
    while (!data.empty()) {
        ssize_t count = ::write(file.Get(), data.data(), data.size());
        if (count < 0 && errno == EINTR) continue;
        if (count < 0) return errno;
        data.remove_prefix(static_cast<size_t>(count));
    }
    return 0;
}

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
        if (!IsAsciiLetterOrDigit(c)) return false;
    return true;
}

// Removes the temporaries of `target` that a killed write left behind. A running write holds a
// lock on its temporary (see ReplaceFileAtomically), so a second copy of the program at work on
// the same file keeps its own.
void RemoveStaleTemporaries(const std::string& target)
{
    const std::string folder = FolderOf(target);
    const std::string prefix = NameOf(target) + std::string(TemporaryInfix);
    std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(folder.c_str()), ::closedir);
    if (!listing) return;
    while (const dirent* entry = ::readdir(listing.get())) {
        if (!IsTemporaryName(entry->d_name, prefix)) continue;
        const std::string temporary = folder + "/" + entry->d_name;
        FileDescriptor file(::open(temporary.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        if (file.IsOpen() && ::flock(file.Get(), LOCK_EX | LOCK_NB) == 0) ::unlink(temporary.c_str());
    }
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

// Writes the whole content to the open temporary, gives it its final mode and closes it: 0 or the
// error number.
int FillTemporary(FileDescriptor& file, std::string_view content, mode_t mode)
{
    if (int error = WriteAll(file, content)) return error;
    if (::fsync(file.Get()) != 0 || ::fchmod(file.Get(), mode) != 0) return errno;
    return file.Close();
}

void SyncFolder(const std::string& folder)
{
    FileDescriptor file(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (file.IsOpen()) ::fsync(file.Get());
}

} // namespace

FileStamp StampOf(const std::string& path)
{
    struct stat status;
    if (::stat(path.c_str(), &status) != 0) return {};
    return FileStampMaker::Of(status);
}

int ReadWholeFile(const std::string& path, std::string& content)
{
    FileDescriptor file = OpenForReading(path);
    if (!file.IsOpen()) return errno;
    return ReadAll(file, content);
}

FileSnapshot ReadRegularFile(const std::string& path, std::uint64_t maxSize)
{
    FileSnapshot snapshot;
    FileDescriptor file = OpenForReading(path);
    struct stat status;
    if (!file.IsOpen() || ::fstat(file.Get(), &status) != 0) {
        snapshot.Error = errno;
    } else if (!S_ISREG(status.st_mode)) {
        snapshot.NotRegular = true;
    } else if (static_cast<std::uint64_t>(status.st_size) > maxSize) {
        snapshot.TooLarge = true;
    } else {
        snapshot.Stamp = FileStampMaker::Of(status);
        snapshot.Content.reserve(static_cast<size_t>(status.st_size));
        snapshot.Error = ReadAll(file, snapshot.Content);
    }
    return snapshot;
}

int WriteWholeFile(const std::string& path, std::string_view content)
{
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!file.IsOpen()) return errno;
    if (int error = WriteAll(file, content)) return error;
    return file.Close();
}

int ReplaceFileAtomically(const std::string& path, std::string_view content, NewFileMode newFileMode)
{
    const std::string target = WriteTarget(path);
    if (::access(target.c_str(), F_OK) == 0 && ::access(target.c_str(), W_OK) != 0) return errno;
    RemoveStaleTemporaries(target);
    std::string temporary = target + std::string(TemporaryInfix) + std::string(TemporaryPlaceholder);
    FileDescriptor file(::mkstemp(temporary.data()));
    if (!file.IsOpen()) return errno;
    // Marks the temporary as in use for RemoveStaleTemporaries; the lock goes with the descriptor.
    ::flock(file.Get(), LOCK_EX);
    int error = FillTemporary(file, content, FinalMode(target, newFileMode));
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error;
    }
    SyncFolder(FolderOf(target));
    return 0;
}

int CreateNewFile(const std::string& path, std::string_view content)
{
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!file.IsOpen()) return errno;
    int error = WriteAll(file, content);
    if (error == 0) error = file.Close();
    if (error != 0) ::unlink(path.c_str());
    return error;
}

int LockFileExclusively(const std::string& path, int timeoutMs, int& fd)
{
    FileDescriptor file(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!file.IsOpen()) return errno;
    constexpr int PauseMs = 5;
    for (int waited = 0; ::flock(file.Get(), LOCK_EX | LOCK_NB) != 0; waited += PauseMs) {
        const int error = errno;
        if ((error != EWOULDBLOCK && error != EINTR) || waited >= timeoutMs) return error;
        ::usleep(PauseMs * 1000);
    }
    fd = file.Release();
    return 0;
}

void ReleaseLockFile(int fd)
{
    if (fd >= 0) ::close(fd);
}

int CreateFolder(const std::string& path, NewFileMode mode)
{
    if (::mkdir(path.c_str(), mode == NewFileMode::OwnerOnly ? 0700 : 0777) == 0 || errno == EEXIST) return 0;
    return errno;
}

bool FolderExists(const std::string& path)
{
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool PathExists(const std::string& path)
{
    struct stat status;
    return ::stat(path.c_str(), &status) == 0;
}

bool NameTaken(const std::string& path)
{
    struct stat status;
    return ::lstat(path.c_str(), &status) == 0;
}

std::string FolderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

int ExecutablePath(std::string& path)
{
    char buffer[PATH_MAX];
    ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length < 0) return errno;
    if (static_cast<size_t>(length) == sizeof buffer) return ENAMETOOLONG;
    path.assign(buffer, static_cast<size_t>(length));
    return 0;
}

std::string UserDatabaseHomeFolder()
{
    const passwd* entry = ::getpwuid(::getuid());
    return entry && entry->pw_dir ? entry->pw_dir : "";
}
