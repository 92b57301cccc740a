#include "addressbook/ContactList.h"

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
    link.Open();
    AddFullNames(*link.ContactsFolder(), window);
    window.SelectRecipientEntry(0);
    LookUpRecipient(link, window.UseOutlookAdressbook(), window.RecipientText());
}

void LookUpRecipient(AddressBookLink& link, bool useOutlookAdressbook, std::string_view text)
{
    link.ForgetRecipient();
    if (!useOutlookAdressbook) return;
    link.ChooseByFullName(text);
}

void AddressBookSwitched(AddressBookLink& link, ContactWindow& window, bool wasOn)
{
    const bool isOn = window.UseOutlookAdressbook();
    if (isOn == wasOn) return;
    if (isOn) {
        FillContactList(link, window);
        return;
    }
    window.ClearRecipientBox();
    link.Release();
}
