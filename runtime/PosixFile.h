#pragma once

#include <string>
#include <string_view>

// Small POSIX file helpers shared by the INI store and the text files. Failures return false with
// errno telling why; interrupted calls are repeated.

// Appends everything up to the end of the file to `content`.
bool ReadAll(int fd, std::string& content);

bool WriteAll(int fd, std::string_view data);

// The folder part of a path: "." for a bare file name, "/" for a file in the root.
std::string FolderOf(const std::string& path);
