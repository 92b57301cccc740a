#include "addressbook/ContactEditing.h"

#include "addressbook/AddressBookMessages.h"
#include "addressbook/ContactList.h"
#include "core/RecipientNumber.h"

namespace {

namespace M = AddressBookMessages;

// A number text in the box names the contact stored with that number in the "+49 ..." form.
void OpenByNumber(AddressBookLink& link, ContactWindow& window)
{
    const std::string text = window.RecipientText();
    if (!IsNumberText(text)) return;
    if (link.ChooseByMobileNumber(StoredMobileNumberForm(text)))
        window.SetRecipientText(link.Contact().FullName());
}

// Whether a contact of that name or number is in the address book. An empty value identifies no
// contact: several may lack a name or a number, and any of them would match.
bool ContactWithNameExists(const AddressBookLink& link, const std::string& fullName)
{
    return !fullName.empty() && link.FindByFullName(fullName);
}

bool ContactWithNumberExists(const AddressBookLink& link, const std::string& number)
{
    return !number.empty() && link.FindByMobileNumber(number);
}

// Shows the chosen contact; afterwards only tests whether a contact with the old number or the old
// name still exists, and compares the old name with the attached contact's name, which shows the
// user's edits.
void OpenChosenContact(AddressBookLink& link, ContactWindow& window)
{
    const std::string oldName = link.Contact().FullName();
    const std::string oldNumber = link.Contact().MobileTelephoneNumber();
    link.DisplayContact();
    if (!ContactWithNumberExists(link, oldNumber) && !ContactWithNameExists(link, oldName)) {
        window.DeleteSelectedRecipientEntry();
        window.SetRecipientText("");
        window.ShowStatusText(M::ContactGoneStatus(oldName));
        return;
    }
    const std::string newName = link.Contact().FullName();
    if (newName == oldName) return;
    window.DeleteSelectedRecipientEntry();
    window.AddRecipientEntries({newName});
    window.SetRecipientText(newName);
    window.ShowStatusText(M::ContactRenamedStatus(oldName, newName));
}

// A number text becomes the new contact's mobile number ("+" and the normalised number), any other
// text of at least two characters its full name.
void Prefill(TContactItem& contact, const std::string& text)
{
    if (text.size() < 2) return;
    if (IsNumberText(text))
        contact.SetMobileTelephoneNumber(std::string("+").append(NormalizeNumber(text)));
    else
        contact.SetFullName(text);
}

void CreateContact(AddressBookLink& link, ContactWindow& window)
{
    TContactItem created = link.CreateContact();
    Prefill(created, window.RecipientText());
    created.Display(ModalDisplay);
    const std::string createdName = created.FullName();
    // A contact saved without a name cannot be told from others without one.
    if (createdName.empty() || !link.ChooseByFullName(createdName)) return;
    const std::string name = link.Contact().FullName();
    window.AddRecipientEntries({name});
    window.SetRecipientText(name);
    window.ShowStatusText(M::ContactCreatedStatus(name));
}

} // namespace

void OpenOrCreateContact(AddressBookLink& link, ContactWindow& window)
{
    if (!window.UseOutlookAdressbook()) {
        window.ShowStatusText(M::NoAddressBookStatus);
        return;
    }
    // Without a folder (the address book could not be read) nothing could be found afterwards.
    if (!link.ContactsFolder()) throw EAddressBookError(M::NotConnected());
    if (!link.RecipientIsContact()) OpenByNumber(link, window);
    if (link.RecipientIsContact())
        OpenChosenContact(link, window);
    else
        CreateContact(link, window);
}
