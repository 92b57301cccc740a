#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

// What identifies a version of the contact file on disk; another program's save changes it.
struct FileStamp
{
    bool Exists = false;
    dev_t Device = 0;
    ino_t Inode = 0;
    off_t Size = 0;
    long long ModifiedNs = 0;
    long long ChangedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const std::string& path);

struct FileSnapshot
{
    FileStamp Stamp;
    std::string Content;
};

// The file's bytes and the stamp of what was read. A missing file gives an empty snapshot that
// does not exist; a file that cannot be read, or one over 256 MB, raises EContactFileError.
FileSnapshot ReadFileSnapshot(const std::string& path);

// Replaces the file at `path` by `content` atomically (ReplaceFileAtomically: a new file gets mode
// 0600, the address book is private). Raises EContactFileError; `path` is then unchanged.
void ReplaceContactFile(const std::string& path, std::string_view content);
