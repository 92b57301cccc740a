#include "core/UserIniLock.h"

#include "core/CoreMessages.h"
#include "runtime/IniFile.h"
#include "runtime/PosixFile.h"

#include <cerrno>

UserIniLock::UserIniLock(const std::string& userIniPath, int waitMs)
{
    const std::string path = userIniPath + ".lock";
    fd_ = LockFileExclusively(path, waitMs);
    if (fd_ >= 0) return;
    if (errno == EWOULDBLOCK) throw EUserIniLockError(UserIniLockedMessage(path));
    throw EIniFileError(userIniPath); // the folder takes no file: user.ini could not be written either
}

UserIniLock::~UserIniLock()
{
    ReleaseLockFile(fd_);
}
