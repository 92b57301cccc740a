#include "core/UserIniLock.h"

#include "core/CoreMessages.h"
#include "runtime/FileSystem.h"
#include "runtime/IniFile.h"

#include <cerrno>

UserIniLock::UserIniLock(const std::string& userIniPath, int waitMs)
{
    const std::string path = userIniPath + ".lock";
    const int error = LockFileExclusively(path, waitMs, fd_);
    if (error == 0) return;
    if (error == EWOULDBLOCK) throw EUserIniLockError(UserIniLockedMessage(path));
    throw EIniFileError(userIniPath); // the folder takes no file: user.ini could not be written either
}

UserIniLock::~UserIniLock()
{
    ReleaseLockFile(fd_);
}
