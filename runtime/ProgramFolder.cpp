#include "runtime/ProgramFolder.h"

#include "runtime/TextFile.h"

#include <cerrno>
#include <climits>
#include <unistd.h>

std::string ProgramFolder()
{
    char path[PATH_MAX];
    ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    if (length < 0) throw EInOutError(InOutErrorCodeForErrno(errno));
    if (static_cast<size_t>(length) == sizeof path) throw EInOutError(InOutErrorCodeForErrno(ENAMETOOLONG));
    std::string executable(path, static_cast<size_t>(length));
    return executable.substr(0, executable.rfind('/') + 1);
}
