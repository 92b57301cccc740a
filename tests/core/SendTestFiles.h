#pragma once

#include "tests/mail/MailTestText.h"

#include <fstream>
#include <iterator>
#include <string>

// Whole files as bytes, for the archive and user.ini a send leaves behind.

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}
