#pragma once

#include <ostream>
#include <string>

// A received message as Python's email package reads it (policy default, as a modern mail program
// reads it): the header fields decoded to UTF-8, the body, and the number of defects it found.
struct ReceivedMail
{
    std::string From;
    std::string To;
    std::string Subject;
    std::string Body;
    int Defects = 0;

    bool operator==(const ReceivedMail&) const = default;
};

std::ostream& operator<<(std::ostream& out, const ReceivedMail& mail);

// Reads the bytes of one message (as the SMTP server received them after DATA). Throws
// std::runtime_error when Python fails.
ReceivedMail ReadAsPythonDoes(const std::string& messageBytes);
