#include "addressbook/Outlook.h"

#include "addressbook/AddressBookMessages.h"
#include "addressbook/ContactDisplay.h"
#include "addressbook/ContactFilter.h"
#include "addressbook/ContactStore.h"
#include "runtime/AsciiText.h"

std::string ContactsFilePath(const std::string& dataFolder)
{
    return dataFolder + "Kontakte.vcf";
}

TItems::TItems(std::shared_ptr<ContactStore> store) : store_(std::move(store)) {}

int TItems::Count() const
{
    return store_->Count();
}

ContactItemPtr TItems::Item(int index) const
{
    if (index < 1 || index > store_->Count())
        throw EAddressBookError(AddressBookMessages::IndexOutOfRange(index, store_->Count()));
    return store_->At(index - 1);
}

ContactItemPtr TItems::Find(std::string_view filter) const
{
    const std::optional<ContactCondition> condition = ParseContactFilter(filter);
    if (!condition) throw EAddressBookError(AddressBookMessages::UnsupportedFilter(filter));
    return store_->Find(condition->Field, condition->Value);
}

TMAPIFolder::TMAPIFolder(std::shared_ptr<ContactStore> store) : store_(std::move(store)) {}

TItems TMAPIFolder::Items() const
{
    if (!store_) throw EAddressBookError(AddressBookMessages::NotConnected());
    store_->Refresh();
    return TItems(store_);
}

TNameSpace::TNameSpace(std::shared_ptr<ContactStore> store) : store_(std::move(store)) {}

void TNameSpace::Logon()
{
    Store();
}

void TNameSpace::Logoff()
{
    Store();
}

TMAPIFolder TNameSpace::GetDefaultFolder(int folderType) const
{
    if (folderType != olFolderContacts)
        throw EAddressBookError(AddressBookMessages::UnsupportedFolder(folderType));
    return TMAPIFolder(Store());
}

const std::shared_ptr<ContactStore>& TNameSpace::Store() const
{
    if (!store_) throw EAddressBookError(AddressBookMessages::NotConnected());
    return store_;
}

TOutlookApplication::TOutlookApplication(std::string contactsFilePath, ContactDisplay& form)
    : path_(std::move(contactsFilePath)), form_(form)
{
}

void TOutlookApplication::Connect()
{
    if (!store_) store_ = ContactStore::Open(path_);
}

void TOutlookApplication::Disconnect()
{
    store_.reset();
}

TNameSpace TOutlookApplication::GetNamespace(std::string_view type) const
{
    if (!store_) throw EAddressBookError(AddressBookMessages::NotConnected());
    if (!EqualsIgnoreCase(type, "MAPI")) throw EAddressBookError(AddressBookMessages::UnknownNamespace(type));
    return TNameSpace(store_);
}

ContactItemPtr TOutlookApplication::CreateItem(int itemType)
{
    if (itemType != olContactItem)
        throw EAddressBookError(AddressBookMessages::UnsupportedItemType(itemType));
    Connect();
    return store_->CreateContact();
}

TContactItem::TContactItem(const TOutlookApplication& outlook) : outlook_(outlook) {}

void TContactItem::ConnectTo(ContactItemPtr item)
{
    item_ = std::move(item);
    store_ = outlook_.Store();
}

void TContactItem::Disconnect()
{
    item_.reset();
    store_.reset();
}

std::string TContactItem::FullName() const
{
    return Item()->FullName();
}

void TContactItem::SetFullName(std::string_view codePageText)
{
    Item()->SetFullName(codePageText);
}

std::string TContactItem::MobileTelephoneNumber() const
{
    return Item()->MobileTelephoneNumber();
}

void TContactItem::SetMobileTelephoneNumber(std::string_view codePageText)
{
    Item()->SetMobileTelephoneNumber(codePageText);
}

void TContactItem::Save()
{
    const ContactItemPtr& item = Item();
    Store()->Save(item);
}

void TContactItem::Delete()
{
    const ContactItemPtr& item = Item();
    Store()->Delete(item);
}

void TContactItem::Display(int modal)
{
    Item(); // a detached wrapper raises before a wrong argument
    if (modal == 0) throw EAddressBookError(AddressBookMessages::ModalOnly());
    Store(); // a contact of a released address book is not shown
    outlook_.Form().ShowModal(*this);
}

const ContactItemPtr& TContactItem::Item() const
{
    if (!item_) throw EAddressBookError(AddressBookMessages::NoContactAttached());
    return item_;
}

std::shared_ptr<ContactStore> TContactItem::Store() const
{
    std::shared_ptr<ContactStore> store = store_.lock();
    if (!store) throw EAddressBookError(AddressBookMessages::NotConnected());
    return store;
}
