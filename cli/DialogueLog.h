#pragma once

#include "mail/IdTCPConnection.h"

#include <ostream>
#include <string>

// The line a log shows for a line the client wrote: the password of "PASS", the payload of
// "AUTH <mechanism> <payload>" and every line that answers a "334" challenge become "********".
std::string MaskedLine(const std::string& line, bool answersChallenge);

// Writes the dialogue of `connection` to `out` as it happens, one line per line on the wire:
// "<protocol> > " before what the client wrote (masked) and "<protocol> < " before what it read.
void LogDialogue(TIdTCPConnection& connection, const std::string& protocol, std::ostream& out);
