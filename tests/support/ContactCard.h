#pragma once

#include <string>

// A vCard 3.0 card with a full name and, when not empty, a mobile number, as an address book
// program exports it.
inline std::string ContactCard(const std::string& fullName, const std::string& number)
{
    std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + fullName + "\r\n";
    if (!number.empty()) card += "TEL;TYPE=CELL:" + number + "\r\n";
    return card + "END:VCARD\r\n";
}
