#pragma once

#include "addressbook/AddressBookMessages.h"
#include "addressbook/ContactDisplay.h"
#include "tests/mail/support/ExpectThrowMessage.h"
#include "tests/support/ContactCard.h"
#include "tests/support/TempFolder.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>

// The bytes of an exported address book in tests/data/addressbook.
inline std::string DataFile(const std::string& name)
{
    return ReadBytes(std::string(TP_ADDRESSBOOK_TEST_DATA) + "/" + name);
}

// Stands in for the Qt contact form: runs `onShow` with the contact while "shown".
class ScriptedContactForm : public ContactDisplay
{
public:
    std::function<void(TContactItem&)> onShow = [](TContactItem&) {};
    int shown = 0;
    void ShowModal(TContactItem& contact) override
    {
        ++shown;
        onShow(contact);
    }
};
