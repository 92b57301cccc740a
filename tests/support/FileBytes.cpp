#include "tests/support/FileBytes.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

std::string ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!(file << bytes)) throw std::runtime_error("cannot write " + path);
}
