#pragma once

#include "addressbook/ContactItem.h"

#include <memory>
#include <string>
#include <string_view>

class ContactDisplay;
class ContactStore;

// The automation interface of the address book, over the program's own contact file: the
// application wrapper `TOutlookApplication` leads to the namespace "MAPI", its default contacts
// folder and the folder's items; `TContactItem` wraps one contact. Every misuse (a detached wrapper,
// an unsupported namespace, folder, item type or filter, an index out of range) raises
// EAddressBookError with a German message, as a failed automation call would.

using ContactItemPtr = std::shared_ptr<ContactItem>;

inline constexpr int olFolderContacts = 10;
inline constexpr int olContactItem = 2;
// The argument of TContactItem::Display: the contact form is always modal.
inline constexpr int ModalDisplay = 1;

// The address book in the data folder: `dataFolder` (ending in "/") and "Kontakte.vcf".
std::string ContactsFilePath(const std::string& dataFolder);

// The contacts of the folder as the file holds them now.
class TItems
{
public:
    explicit TItems(std::shared_ptr<ContactStore> store);

    int Count() const;
    // The contact at `index`, counted from 1.
    ContactItemPtr Item(int index) const;
    // The first contact in file order whose saved field equals the filter's value byte for byte
    // (the filters of addressbook/ContactFilter.h); null when none matches.
    ContactItemPtr Find(std::string_view filter) const;

private:
    std::shared_ptr<ContactStore> store_;
};

class TMAPIFolder
{
public:
    TMAPIFolder() = default; // holds no folder
    explicit TMAPIFolder(std::shared_ptr<ContactStore> store);

    // The items, fetched anew: the file is re-read first when it changed on disk.
    TItems Items() const;

private:
    std::shared_ptr<ContactStore> store_;
};

class TNameSpace
{
public:
    TNameSpace() = default; // holds no namespace
    explicit TNameSpace(std::shared_ptr<ContactStore> store);

    // The address book needs no profile; both only check that the namespace is held.
    void Logon();
    void Logoff();
    TMAPIFolder GetDefaultFolder(int folderType) const;

private:
    const std::shared_ptr<ContactStore>& Store() const;

    std::shared_ptr<ContactStore> store_;
};

class TOutlookApplication
{
public:
    // `form` shows contacts for Display; it must outlive the application and its contacts.
    TOutlookApplication(std::string contactsFilePath, ContactDisplay& form);

    // Reads the contact file (EContactFileError when it cannot be read or parsed); no-op when
    // connected.
    void Connect();
    void Disconnect();
    bool Connected() const { return store_ != nullptr; }

    TNameSpace GetNamespace(std::string_view type) const;
    // A new unsaved contact; connects first when needed.
    ContactItemPtr CreateItem(int itemType);

    // For the contact wrappers: the address book while connected (else null) and the contact form.
    const std::shared_ptr<ContactStore>& Store() const { return store_; }
    ContactDisplay& Form() const { return form_; }

private:
    std::string path_;
    ContactDisplay& form_;
    std::shared_ptr<ContactStore> store_;
};

// One contact of `outlook`'s address book, as the contact form and the window handle it.
class TContactItem
{
public:
    // Detached; `outlook` must outlive the wrapper.
    explicit TContactItem(const TOutlookApplication& outlook);

    // Attaches to `item`, a contact of the address book `outlook` is connected to now; a null item
    // leaves the wrapper detached.
    void ConnectTo(ContactItemPtr item);
    void Disconnect();
    bool Connected() const { return item_ != nullptr; }

    std::string FullName() const;
    void SetFullName(std::string_view codePageText);
    std::string MobileTelephoneNumber() const;
    void SetMobileTelephoneNumber(std::string_view codePageText);
    // Save and Delete go to the address book the wrapper was attached in: once that is released
    // (disconnected, and no folder or namespace holds it) they raise EAddressBookError; a file that
    // cannot be read or written raises EContactFileError.
    // Writes the changed fields into the file (a new or deleted contact is added at its end).
    void Save();
    // Removes the contact's card from the file; saving it later adds it again.
    void Delete();
    // Shows the contact in `outlook`'s contact form and returns when the user closed it; `modal`
    // must be true (ModalDisplay), the form is always modal.
    void Display(int modal);

private:
    const ContactItemPtr& Item() const;
    std::shared_ptr<ContactStore> Store() const;

    const TOutlookApplication& outlook_;
    std::weak_ptr<ContactStore> store_;
    ContactItemPtr item_;
};
