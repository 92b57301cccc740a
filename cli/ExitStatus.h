#pragma once

#include <exception>

// The exit statuses of tickerpost-send.
enum ExitStatus {
    ExitSent = 0,
    ExitUsage = 1,
    ExitRecipientRefused = 2,
    ExitNoConnection = 3,  // name lookup, refused, time-out, TLS, a connection that broke off
    ExitServerRefused = 4, // an unexpected reply, a refused log-in or AUTH
    ExitFileError = 5,     // user.ini, its lock, the address book, the archive, the password
};

// The status for an error a send raised; a send that failed part-way counts by the error that
// ended it.
ExitStatus ExitStatusFor(const std::exception_ptr& error);
