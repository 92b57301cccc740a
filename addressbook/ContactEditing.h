#pragma once

#include "addressbook/AddressBookLink.h"
#include "addressbook/ContactWindow.h"

// The contact button: opens the contact the recipient box names (chosen, or found by its mobile
// number) in the contact form, or creates a new contact prefilled from the box and opens that.
// After the form is closed it tells in the status bar what became of the contact and brings the
// list and the box up to date.
void OpenOrCreateContact(AddressBookLink& link, ContactWindow& window);
