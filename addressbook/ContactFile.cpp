#include "addressbook/ContactFile.h"

#include "addressbook/AddressBookErrors.h"
#include "runtime/PosixFile.h"
#include "runtime/TextFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr off_t MaxFileSize = 256 * 1024 * 1024;

long long Nanoseconds(const timespec& time)
{
    return static_cast<long long>(time.tv_sec) * 1000000000LL + time.tv_nsec;
}

FileStamp StampFromStat(const struct stat& info)
{
    return {
        true, info.st_dev, info.st_ino, info.st_size, Nanoseconds(info.st_mtim), Nanoseconds(info.st_ctim)};
}

// The German text of the file error in errno, as the text files report it.
std::string Reason(const std::string& path)
{
    return InOutErrorForPath(errno, path).Message();
}

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
    int Get() const { return fd_; }

private:
    int fd_;
};

} // namespace

FileStamp StampOf(const std::string& path)
{
    struct stat info
    {
    };
    if (::stat(path.c_str(), &info) != 0) return {};
    return StampFromStat(info);
}

FileSnapshot ReadFileSnapshot(const std::string& path)
{
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) {
        if (errno == ENOENT) return {};
        throw EContactFileError(AddressBookMessages::Unreadable(path, Reason(path)));
    }
    struct stat info
    {
    };
    if (::fstat(file.Get(), &info) != 0)
        throw EContactFileError(AddressBookMessages::Unreadable(path, Reason(path)));
    if (!S_ISREG(info.st_mode)) throw EContactFileError(AddressBookMessages::Unreadable(path, "keine Datei"));
    if (info.st_size > MaxFileSize) throw EContactFileError(AddressBookMessages::TooLarge(path));
    FileSnapshot snapshot{StampFromStat(info), {}};
    snapshot.Content.reserve(static_cast<size_t>(info.st_size));
    if (!ReadAll(file.Get(), snapshot.Content))
        throw EContactFileError(AddressBookMessages::Unreadable(path, Reason(path)));
    return snapshot;
}

void ReplaceContactFile(const std::string& path, std::string_view content)
{
    if (!ReplaceFileAtomically(path, content))
        throw EContactFileError(AddressBookMessages::Unwritable(path, Reason(path)));
}
