#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The program's one door to the file system: every file and folder call below the user interface
// goes through here, so a port replaces this file alone. A failure gives the error number (errno)
// of the call that failed, 0 stands for success; interrupted calls are repeated.

// A version of a file on disk: two stamps are equal when nothing changed, replaced or removed the
// file in between. A missing file has the default stamp. Compared for equality only.
class FileStamp
{
public:
    FileStamp() = default;
    bool operator==(const FileStamp&) const = default;

private:
    friend struct FileStampMaker; // in FileSystem.cpp
    bool exists_ = false;
    std::uint64_t device_ = 0;
    std::uint64_t inode_ = 0;
    std::int64_t size_ = 0;
    std::int64_t modifiedNs_ = 0;
    std::int64_t changedNs_ = 0;
};

FileStamp StampOf(const std::string& path);

// Reads the whole file at `path` into `content`: 0, or the error number of the failing open or
// read (ENOENT for a missing file).
int ReadWholeFile(const std::string& path, std::string& content);

// A regular file read as a whole by ReadRegularFile, and the stamp of the version read.
struct FileSnapshot
{
    int Error = 0;           // 0, or the error number of the failing open, status query or read
    bool NotRegular = false; // a folder, a device or a pipe: left unread
    bool TooLarge = false;   // more than the size limit: left unread
    FileStamp Stamp;
    std::string Content;
};

FileSnapshot ReadRegularFile(const std::string& path, std::uint64_t maxSize);

// Creates the file (mode 0666 less the umask) or empties it, writes `content` and closes it: 0, or
// the error number of the failing open, write or close.
int WriteWholeFile(const std::string& path, std::string_view content);

// The mode of a new file or folder: OwnerOnly 0600 (a folder 0700), for what may hold a password,
// contacts or texts sent; FromUmask 0666 (a folder 0777) less the process's umask.
enum class NewFileMode { OwnerOnly, FromUmask };

// Replaces the file at `path` (or, for a symbolic link, the file it points to) by `content`
// through a temporary file "<name>.tickerpost-XXXXXX" in the same folder, so a crash or a full
// disk never leaves it half written. The temporary is readable by its owner only until the
// content is on disk; then it takes the existing file's mode, or `newFileMode` for a new file, and
// is renamed over the old one. A write-protected file stays protected (the rename alone would not
// ask for its permission). Temporaries of the same file left by a killed write are removed first.
// Returns 0 or the error number of the failure, the old file then left as it was.
int ReplaceFileAtomically(const std::string& path, std::string_view content,
                          NewFileMode newFileMode = NewFileMode::OwnerOnly);

// Creates the file at `path` only when nothing, not even a dangling link, has that name (O_EXCL),
// with the mode the umask allows, and writes `content`: 0, or the error number (EEXIST when the
// name is taken); a file created but not fully written is removed again.
int CreateNewFile(const std::string& path, std::string_view content);

// Exclusion between processes, and between threads that each open the file for themselves: an
// exclusive lock (flock) on a lock file, created with mode 0600 when missing. Waits at most
// `timeoutMs`, trying again every few milliseconds. 0 with the descriptor that holds the lock in
// `fd`, or the error number (EWOULDBLOCK when others held it all that time). ReleaseLockFile gives
// the lock back.
int LockFileExclusively(const std::string& path, int timeoutMs, int& fd);
void ReleaseLockFile(int fd);

// Creates the folder `path` (its parent must exist): 0 also when anything of that name exists
// already, else the error number.
int CreateFolder(const std::string& path, NewFileMode mode);

bool FolderExists(const std::string& path);
// True when `path` names an existing file or folder (a symbolic link: when its target exists).
bool PathExists(const std::string& path);
// True when anything stands at `path`, a dangling symbolic link included.
bool NameTaken(const std::string& path);

// The folder part of a path: "." for a bare file name, "/" for a file in the root.
std::string FolderOf(const std::string& path);

// The full path of the running executable into `path`: 0, or the error number.
int ExecutablePath(std::string& path);

// The home folder that the system's user database names for the user running the program; empty
// when it names none.
std::string UserDatabaseHomeFolder();
