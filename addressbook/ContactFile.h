#pragma once

#include "runtime/FileSystem.h"

#include <string>
#include <string_view>

// The file's bytes and the stamp of what was read. A missing file gives an empty snapshot with the
// stamp of a missing file; a file that cannot be read, or one over 256 MB, raises EContactFileError.
FileSnapshot ReadFileSnapshot(const std::string& path);

// Replaces the file at `path` by `content` atomically (ReplaceFileAtomically: a new file gets mode
// 0600, the address book is private). Raises EContactFileError; `path` is then unchanged.
void ReplaceContactFile(const std::string& path, std::string_view content);
