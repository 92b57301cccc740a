#include "addressbook/AddressBookLink.h"

#include "addressbook/ContactFilter.h"

AddressBookLink::AddressBookLink(std::string contactsFilePath, ContactDisplay& form)
    : outlook_(std::move(contactsFilePath), form)
{
}

void AddressBookLink::Open()
{
    ForgetRecipient();
    outlook_.Connect();
    nameSpace_ = outlook_.GetNamespace("MAPI");
    nameSpace_->Logon();
    contactsFolder_ = nameSpace_->GetDefaultFolder(olFolderContacts);
}

void AddressBookLink::Release()
{
    ForgetRecipient();
    contact_.Disconnect();
    contactsFolder_.reset();
    if (nameSpace_) {
        nameSpace_->Logoff();
        nameSpace_.reset();
    }
    outlook_.Disconnect();
}

ContactItemPtr AddressBookLink::FindByFullName(std::string_view fullName) const
{
    if (!contactsFolder_) return nullptr;
    return contactsFolder_->Items().Find(FullNameFilter(fullName));
}

ContactItemPtr AddressBookLink::FindByMobileNumber(std::string_view storedNumber) const
{
    if (!contactsFolder_) return nullptr;
    return contactsFolder_->Items().Find(MobileTelephoneNumberFilter(storedNumber));
}

bool AddressBookLink::Choose(ContactItemPtr contact)
{
    if (!contact) return false;
    contact_.ConnectTo(std::move(contact));
    recipientIsContact_ = true;
    return true;
}

TContactItem AddressBookLink::CreateContact()
{
    TContactItem created(outlook_);
    created.ConnectTo(outlook_.CreateItem(olContactItem));
    return created;
}
