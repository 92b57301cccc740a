#include "addressbook/ContactItem.h"

#include "addressbook/AddressBookMessages.h"
#include "addressbook/ContactDisplay.h"
#include "addressbook/ContactStore.h"
#include "addressbook/VCardText.h"

ContactItem::ContactItem(std::weak_ptr<ContactStore> store, VCardContact saved)
    : store_(std::move(store)), state_(State::Stored), saved_(std::move(saved)), fullName_(saved_.FullName),
      mobileTelephoneNumber_(saved_.MobileTelephoneNumber)
{
}

ContactItem::ContactItem(std::weak_ptr<ContactStore> store, std::string emptyCard)
    : store_(std::move(store)), state_(State::New), card_(std::move(emptyCard)), saved_(ReadVCard(card_)),
      fullName_(saved_.FullName), mobileTelephoneNumber_(saved_.MobileTelephoneNumber)
{
}

void ContactItem::SetFullName(std::string_view codePageText)
{
    fullName_ = CleanFullName(codePageText);
}

void ContactItem::SetMobileTelephoneNumber(std::string_view codePageText)
{
    mobileTelephoneNumber_ = CleanTelephoneNumber(codePageText);
}

void ContactItem::Save()
{
    std::shared_ptr<ContactItem> keepAlive = shared_from_this();
    Store()->Save(*this);
}

void ContactItem::Delete()
{
    std::shared_ptr<ContactItem> keepAlive = shared_from_this();
    Store()->Delete(*this);
}

void ContactItem::Display()
{
    std::shared_ptr<ContactItem> keepAlive = shared_from_this();
    Store()->Form().ShowModal(*this);
}

VCardChange ContactItem::PendingChange() const
{
    VCardChange change;
    if (fullName_ != saved_.FullName) change.FullName = fullName_;
    if (mobileTelephoneNumber_ != saved_.MobileTelephoneNumber)
        change.MobileTelephoneNumber = mobileTelephoneNumber_;
    return change;
}

void ContactItem::TakeSaved(VCardContact saved)
{
    saved_ = std::move(saved);
    fullName_ = saved_.FullName;
    mobileTelephoneNumber_ = saved_.MobileTelephoneNumber;
}

std::shared_ptr<ContactStore> ContactItem::Store() const
{
    std::shared_ptr<ContactStore> store = store_.lock();
    if (!store) throw EAddressBookError(AddressBookMessages::NotConnected());
    return store;
}
