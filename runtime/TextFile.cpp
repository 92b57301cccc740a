#include "runtime/TextFile.h"

#include "runtime/AsciiText.h"
#include "runtime/PosixFile.h"
#include "runtime/RuntimeMessages.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool FolderExists(const std::string& path)
{
    struct stat status;
    return ::stat(FolderOf(path).c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// Closes the descriptor when the scope ends on an error; Close() reports the close's own failure.
class FileDescriptor
{
public:
    FileDescriptor(int fd, const std::string& path) : fd_(fd), path_(path)
    {
        if (fd_ < 0) throw InOutErrorForPath(errno, path_);
    }
    ~FileDescriptor()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return fd_; }
    void Fail() const { throw InOutErrorForPath(errno, path_); }
    void Close()
    {
        int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0) Fail();
    }

private:
    int fd_;
    const std::string& path_;
};

void SplitLines(std::string_view text, std::vector<std::string>& lines)
{
    for (size_t pos = 0, next = 0; pos < text.size(); pos = next)
        lines.emplace_back(NextLine(text, pos, next));
}

} // namespace

EInOutError::EInOutError(int errorCode) : Exception(InOutErrorMessage(errorCode)), errorCode_(errorCode) {}

int InOutErrorCodeForErrno(int errnoValue)
{
    switch (errnoValue) {
    case ENOENT:
        return 2;
    case ENOTDIR:
        return 3;
    case EMFILE:
        return 4;
    case EACCES:
    case EPERM:
    case EROFS:
        return 5;
    case ENOSPC:
        return 101;
    default:
        return errnoValue;
    }
}

EInOutError InOutErrorForPath(int errnoValue, const std::string& path)
{
    if (errnoValue == ENOENT && !FolderExists(path)) return EInOutError(3);
    return EInOutError(InOutErrorCodeForErrno(errnoValue));
}

std::vector<std::string> ReadTextLines(const std::string& path)
{
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC), path);
    std::string content;
    if (!ReadAll(file.Get(), content)) file.Fail();
    file.Close();
    std::vector<std::string> lines;
    SplitLines(content, lines);
    return lines;
}

void WriteTextFile(const std::string& path, std::string_view content)
{
    FileDescriptor file(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666), path);
    if (!WriteAll(file.Get(), content)) file.Fail();
    file.Close();
}

void ReplaceTextFile(const std::string& path, std::string_view content)
{
    if (!ReplaceFileAtomically(path, content, NewFileMode::FromUmask)) throw InOutErrorForPath(errno, path);
}

void CreateFolderIfMissing(const std::string& path)
{
    if (::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST) return;
    throw InOutErrorForPath(errno, path);
}
