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

// Replaces the file at `path` (or, for a symbolic link, the file it points to) by `content`
// through a temporary file in the same folder, so a crash or a full disk never leaves it half
// written. A new file gets mode 0600, since it may hold a password or contacts; an existing one
// keeps its mode, and a write-protected one stays protected (the rename alone would not ask for
// its permission). Returns false on any failure, leaving the old file as it was.
bool ReplaceFileAtomically(const std::string& path, std::string_view content);
