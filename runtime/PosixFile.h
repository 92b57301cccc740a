#pragma once

#include <string>
#include <string_view>

// Small POSIX file helpers shared by the INI store, the text files and the address book. Failures return
// false with errno telling why; interrupted calls are repeated.

// Appends everything up to the end of the file to `content`.
bool ReadAll(int fd, std::string& content);

bool WriteAll(int fd, std::string_view data);

// The folder part of a path: "." for a bare file name, "/" for a file in the root.
std::string FolderOf(const std::string& path);

// The mode a file created by ReplaceFileAtomically gets: OwnerOnly 0600, for files that may hold a
// password or contacts; FromUmask 0666 less the process's umask, as an ordinary new file.
enum class NewFileMode { OwnerOnly, FromUmask };

// Replaces the file at `path` (or, for a symbolic link, the file it points to) by `content`
// through a temporary file "<name>.tickerpost-XXXXXX" in the same folder, so a crash or a full
// disk never leaves it half written. The temporary is readable by its owner only until the
// content is on disk; then it takes the existing file's mode, or `newFileMode` for a new file, and
// is renamed over the old one. A write-protected file stays protected (the rename alone would not
// ask for its permission). Temporaries of the same file left by a killed write are removed first.
// Returns false on any failure, leaving the old file as it was.
bool ReplaceFileAtomically(const std::string& path, std::string_view content,
                           NewFileMode newFileMode = NewFileMode::OwnerOnly);

// Exclusion between processes, and between threads that each open the file for themselves: an
// exclusive lock (flock) on a lock file, created with mode 0600 when missing. Waits at most
// `timeoutMs`, trying again every few milliseconds. Returns the descriptor that holds the lock, or
// -1 with errno (EWOULDBLOCK when others held it all that time). ReleaseLockFile gives it back.
int LockFileExclusively(const std::string& path, int timeoutMs);
void ReleaseLockFile(int fd);

// Creates the file at `path` only when nothing, not even a dangling link, has that name (O_EXCL),
// with the mode the umask allows, and writes `content`. False with errno (EEXIST when the name is
// taken); a file created but not fully written is removed again.
bool CreateNewFile(const std::string& path, std::string_view content);
