#pragma once

#include "addressbook/AddressBookErrors.h"
#include "addressbook/ContactForm.h"
#include "tests/mail/support/ExpectThrowMessage.h"
#include "tests/support/TempFolder.h"

#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

// Whole files as bytes.
inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string DataFile(const std::string& name)
{
    return ReadBytes(std::string(TP_ADDRESSBOOK_TEST_DATA) + "/" + name);
}

// A vCard 3.0 card with a full name and, when not empty, a mobile number.
inline std::string ContactCard(const std::string& fullName, const std::string& number)
{
    std::string card = "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:" + fullName + "\r\n";
    if (!number.empty()) card += "TEL;TYPE=CELL:" + number + "\r\n";
    return card + "END:VCARD\r\n";
}

// Stands in for the Qt contact form: runs `onShow` with the contact while "shown".
class ScriptedContactForm : public ContactForm
{
public:
    std::function<void(ContactItem&)> onShow = [](ContactItem&) {};
    int shown = 0;
    void ShowModal(ContactItem& contact) override
    {
        ++shown;
        onShow(contact);
    }
};
