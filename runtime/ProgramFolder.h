#pragma once

#include <string>

// The folder that holds the running executable, ending in "/" (read from /proc/self/exe).
// Raises EInOutError when the executable's path cannot be read.
std::string ProgramFolder();
