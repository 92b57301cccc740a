#pragma once

#include <optional>
#include <string>

// The terminal calls of tickerpost-send (POSIX termios), kept in this one file.

bool StandardInputIsTerminal();

// Writes `prompt` to standard error and reads one line from the terminal on standard input without
// echoing it; the line without its line end, or nullopt at the end of input.
std::optional<std::string> ReadLineWithoutEcho(const std::string& prompt);
