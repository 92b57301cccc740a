#include "addressbook/ContactItem.h"

#include "addressbook/VCardText.h"

ContactItem::ContactItem(VCardContact saved)
    : state_(ContactState::Stored), saved_(std::move(saved)), fullName_(saved_.FullName),
      mobileTelephoneNumber_(saved_.MobileTelephoneNumber)
{
}

ContactItem::ContactItem(std::string emptyCard)
    : state_(ContactState::New), card_(std::move(emptyCard)), saved_(ReadVCard(card_)),
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

VCardChange ContactItem::PendingChange() const
{
    VCardChange change;
    if (fullName_ != saved_.FullName) change.FullName = fullName_;
    if (mobileTelephoneNumber_ != saved_.MobileTelephoneNumber)
        change.MobileTelephoneNumber = mobileTelephoneNumber_;
    return change;
}

void ContactItem::MarkStored(VCardContact saved)
{
    state_ = ContactState::Stored;
    card_.clear();
    saved_ = std::move(saved);
    fullName_ = saved_.FullName;
    mobileTelephoneNumber_ = saved_.MobileTelephoneNumber;
}

void ContactItem::MarkDeleted(std::string card)
{
    state_ = ContactState::Deleted;
    card_ = std::move(card);
}

void ContactItem::MarkVanished()
{
    state_ = ContactState::Vanished;
}
