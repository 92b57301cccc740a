#include "cli/Terminal.h"

#include <termios.h>
#include <unistd.h>

#include <iostream>

bool StandardInputIsTerminal()
{
    return ::isatty(STDIN_FILENO) == 1;
}

std::optional<std::string> ReadLineWithoutEcho(const std::string& prompt)
{
    std::cerr << prompt << std::flush;
    termios before{};
    const bool quiet = ::tcgetattr(STDIN_FILENO, &before) == 0;
    if (quiet) {
        termios silent = before;
        silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        silent.c_lflag |= ECHONL;
        ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &silent);
    }
    std::string line;
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    if (quiet) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &before);
    if (!read) return std::nullopt;
    return line;
}
