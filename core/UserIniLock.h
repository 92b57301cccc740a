#pragma once

#include "runtime/Exception.h"

#include <string>

// The lock was not to be had: another send held it all the time.
class EUserIniLockError : public Exception
{
public:
    using Exception::Exception;
};

// Holds the lock file "user.ini.lock" beside user.ini for one read-modify-write of the file, so
// that the window and any number of command-line sends never lose each other's count. Waits at
// most `waitMs` for it; EUserIniLockError when it is not to be had, EIniFileError (user.ini cannot be
// written) when the lock file cannot be created.
class UserIniLock
{
public:
    static constexpr int LockWaitMs = 10'000;

    explicit UserIniLock(const std::string& userIniPath, int waitMs = LockWaitMs);
    ~UserIniLock();
    UserIniLock(const UserIniLock&) = delete;
    UserIniLock& operator=(const UserIniLock&) = delete;

private:
    int fd_ = -1;
};
