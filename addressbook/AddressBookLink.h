#pragma once

#include "addressbook/Outlook.h"

#include <optional>
#include <string>

// What the main window holds of the address book while it runs: the two wrappers, the flag of the
// recipient box and, from the fill of the contact list until the address book is switched off or
// released, the namespace and the contacts folder.
struct AddressBookLink
{
    AddressBookLink(std::string contactsFilePath, ContactDisplay& form)
        : Outlook(std::move(contactsFilePath), form)
    {
    }

    TOutlookApplication Outlook;
    // Stays attached to the last contact found until attached to another one or detached; only the
    // flag says whether it belongs to the current recipient.
    TContactItem Contact{Outlook};
    // True while the recipient box names a contact of the address book and Contact is attached to it.
    bool ContactFromAddressBook = false;
    std::optional<TNameSpace> OutlookNameSpace;
    std::optional<TMAPIFolder> ContactsFolder;
};
