#pragma once

#include <cstdlib>
#include <unistd.h>

// Root may write any file. For a test of a refused write, the child process of a death test gives
// up root (becoming "nobody") and then runs `call`, leaving with the exit code it returns.
template <class F> [[noreturn]] void ExitAsOrdinaryUser(F&& call)
{
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) std::_Exit(99);
    std::_Exit(call());
}
