#include "addressbook/ContactList.h"

#include "addressbook/ContactFilter.h"

#include <vector>

namespace {

// The full names of the folder's contacts in folder order; on a failure the names read so far are
// added to the list before the error goes on.
void AddFullNames(const TMAPIFolder& folder, ContactWindow& window)
{
    std::vector<std::string> names;
    try {
        const int count = folder.Items().Count();
        names.reserve(static_cast<size_t>(count));
        for (int i = 1; i <= count; ++i) names.push_back(folder.Items().Item(i)->FullName());
    } catch (...) {
        window.AddRecipientEntries(names);
        throw;
    }
    window.AddRecipientEntries(names);
}

} // namespace

void FillContactList(AddressBookLink& link, ContactWindow& window)
{
    window.AddRecipientEntries({""});
    link.ContactFromAddressBook = false;
    link.Outlook.Connect();
    link.OutlookNameSpace = link.Outlook.GetNamespace("MAPI");
    link.OutlookNameSpace->Logon();
    link.ContactsFolder = link.OutlookNameSpace->GetDefaultFolder(olFolderContacts);
    AddFullNames(*link.ContactsFolder, window);
    window.SelectRecipientEntry(0);
    LookUpRecipient(link, window.UseOutlookAdressbook(), window.RecipientText());
}

void LookUpRecipient(AddressBookLink& link, bool useOutlookAdressbook, std::string_view text)
{
    link.ContactFromAddressBook = false;
    if (!useOutlookAdressbook) return;
    ChooseContact(link, FullNameFilter(text));
}

void AddressBookSwitched(AddressBookLink& link, ContactWindow& window, bool wasOn)
{
    const bool isOn = window.UseOutlookAdressbook();
    if (isOn == wasOn) return;
    if (isOn) {
        FillContactList(link, window);
        return;
    }
    link.ContactFromAddressBook = false;
    window.ClearRecipientBox();
    ReleaseAddressBook(link);
}

void ReleaseAddressBook(AddressBookLink& link)
{
    link.Contact.Disconnect();
    link.ContactsFolder.reset();
    if (link.OutlookNameSpace) {
        link.OutlookNameSpace->Logoff();
        link.OutlookNameSpace.reset();
    }
    link.Outlook.Disconnect();
}

ContactItemPtr FindContact(const AddressBookLink& link, std::string_view filter)
{
    if (!link.ContactsFolder) return nullptr;
    return link.ContactsFolder->Items().Find(filter);
}

bool ChooseContact(AddressBookLink& link, std::string_view filter)
{
    ContactItemPtr found = FindContact(link, filter);
    if (!found) return false;
    link.ContactFromAddressBook = true;
    link.Contact.ConnectTo(std::move(found));
    return true;
}
