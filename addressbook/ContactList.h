#pragma once

#include "addressbook/AddressBookLink.h"
#include "addressbook/ContactWindow.h"

#include <string_view>

// The contact list of the recipient box and the lookup of its text as a contact's full name.

// Adds the empty entry, opens the address book (AddressBookLink::Open), adds the full name of every
// contact, selects the empty entry and runs the lookup once. When a step fails, the list keeps the
// names read so far and the error propagates.
void FillContactList(AddressBookLink& link, ContactWindow& window);

// The lookup of `text`, the recipient box's text: forgets the recipient, then, with the address book
// on and a folder held, chooses the first contact of that full name.
void LookUpRecipient(AddressBookLink& link, bool useOutlookAdressbook, std::string_view text);

// The reaction to the settings dialog: `wasOn` is UseOutlookAdressbook before it was shown.
// Switched on, the list is filled; switched off, the box is emptied and the address book released.
void AddressBookSwitched(AddressBookLink& link, ContactWindow& window, bool wasOn);
