#pragma once

#include <cstdlib>
#include <unistd.h>

// Root may write any file. A test of what an ordinary user may not write gives up root for good,
// becoming "nobody"; false when that fails. Nothing changes for an ordinary user.
inline bool BecomeOrdinaryUser()
{
    return ::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0);
}

// For a test of a refused write, the child process of a death test gives up root and then runs
// `call`, leaving with the exit code it returns.
template <class F> [[noreturn]] void ExitAsOrdinaryUser(F&& call)
{
    if (!BecomeOrdinaryUser()) std::_Exit(99);
    std::_Exit(call());
}
