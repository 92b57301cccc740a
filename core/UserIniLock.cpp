#include "core/UserIniLock.h"

#include "core/CoreMessages.h"
#include "runtime/PosixFile.h"
#include "runtime/TextFile.h"

#include <cerrno>

UserIniLock::UserIniLock(const std::string& userIniPath, int waitMs)
{
    const std::string path = userIniPath + ".lock";
    fd_ = LockFileExclusively(path, waitMs);
    if (fd_ >= 0) return;
    if (errno == EWOULDBLOCK) throw EUserIniLockError(UserIniLockedMessage(path));
    throw EUserIniLockError(UserIniLockNotOpenedMessage(path, InOutErrorForPath(errno, path).Message()));
}

UserIniLock::~UserIniLock()
{
    ReleaseLockFile(fd_);
}
