#include "runtime/ProgramFolder.h"

#include "runtime/FileSystem.h"
#include "runtime/TextFile.h"

std::string ProgramFolder()
{
    std::string executable;
    if (int error = ExecutablePath(executable)) throw EInOutError(InOutErrorCodeForErrno(error));
    return executable.substr(0, executable.rfind('/') + 1);
}
