#pragma once

#include "addressbook/Outlook.h"

#include <optional>
#include <string>
#include <string_view>

// What the main window holds of the address book while it runs: the application, the contact last
// chosen and whether the recipient box names it, and, from Open until Release, the namespace and
// the contacts folder. Whether the box names the contact changes only here: it is true only while
// the attached contact is the one chosen for the box's text, until the box changes (ForgetRecipient).
class AddressBookLink
{
public:
    // `form` shows contacts for Display; it must outlive the link.
    AddressBookLink(std::string contactsFilePath, ContactDisplay& form);
    AddressBookLink(const AddressBookLink&) = delete;
    AddressBookLink& operator=(const AddressBookLink&) = delete;

    // Forgets the recipient, then connects, logs on and holds the namespace and the contacts folder.
    // Raises EContactFileError when the file cannot be read or parsed; nothing is held then.
    void Open();
    // Forgets the recipient, detaches the contact, logs off and disconnects: only what is held.
    void Release();
    bool Connected() const { return outlook_.Connected(); }
    // Held from Open until Release.
    const std::optional<TMAPIFolder>& ContactsFolder() const { return contactsFolder_; }

    // The first contact of that full name, or of that mobile number as stored ("+49 1711234567"),
    // in the held folder; null when none matches or no folder is held.
    ContactItemPtr FindByFullName(std::string_view fullName) const;
    ContactItemPtr FindByMobileNumber(std::string_view storedNumber) const;

    // Attaches `contact` as the one the recipient box names; a null contact changes nothing. True
    // when one was chosen.
    bool Choose(ContactItemPtr contact);
    bool ChooseByFullName(std::string_view fullName) { return Choose(FindByFullName(fullName)); }
    bool ChooseByMobileNumber(std::string_view storedNumber)
    {
        return Choose(FindByMobileNumber(storedNumber));
    }
    // The recipient box no longer names the contact, which stays attached.
    void ForgetRecipient() { recipientIsContact_ = false; }
    bool RecipientIsContact() const { return recipientIsContact_; }

    // The contact last chosen, attached until another is chosen or the address book is released.
    const TContactItem& Contact() const { return contact_; }
    // Shows that contact in the contact form; returns when the form is closed.
    void DisplayContact() { contact_.Display(ModalDisplay); }
    // A new unsaved contact, apart from the one chosen; connects first when needed.
    TContactItem CreateContact();

private:
    TOutlookApplication outlook_;
    TContactItem contact_{outlook_};
    bool recipientIsContact_ = false;
    std::optional<TNameSpace> nameSpace_;
    std::optional<TMAPIFolder> contactsFolder_;
};
