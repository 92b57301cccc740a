#include "addressbook/ContactStore.h"

#include "addressbook/AddressBookMessages.h"
#include "addressbook/ContactItem.h"
#include "addressbook/VCard.h"

#include <algorithm>
#include <unordered_map>

std::shared_ptr<ContactStore> ContactStore::Open(std::string path, ContactDisplay& form)
{
    std::shared_ptr<ContactStore> store(new ContactStore(std::move(path), form));
    store->Refresh();
    return store;
}

ContactStore::ContactStore(std::string path, ContactDisplay& form) : path_(std::move(path)), form_(form) {}

void ContactStore::Refresh()
{
    if (StampOf(path_) == stamp_) return;
    FileSnapshot snapshot = ReadFileSnapshot(path_);
    VCardFileContent next = SplitVCardFile(std::move(snapshot.Content), path_);
    std::vector<std::shared_ptr<ContactItem>> contacts;
    contacts.reserve(next.Cards.size());
    {
        std::unordered_multimap<std::string_view, size_t> unchanged;
        for (size_t i = 0; i < file_.Cards.size(); ++i) unchanged.emplace(file_.Cards[i], i);
        for (const auto& card : next.Cards) {
            auto same = unchanged.find(card);
            if (same == unchanged.end()) {
                contacts.push_back(std::make_shared<ContactItem>(weak_from_this(), ReadVCard(card)));
                continue;
            }
            contacts.push_back(contacts_[same->second]);
            unchanged.erase(same);
        }
        for (const auto& [card, index] : unchanged) contacts_[index]->state_ = ContactItem::State::Vanished;
    }
    file_ = std::move(next);
    contacts_ = std::move(contacts);
    stamp_ = snapshot.Stamp;
}

std::shared_ptr<ContactItem> ContactStore::Find(ContactField field, std::string_view value) const
{
    for (const auto& contact : contacts_) {
        const VCardContact& saved = contact->saved_;
        if ((field == ContactField::FullName ? saved.FullName : saved.MobileTelephoneNumber) == value)
            return contact;
    }
    return nullptr;
}

std::shared_ptr<ContactItem> ContactStore::CreateContact()
{
    return std::make_shared<ContactItem>(weak_from_this(), NewVCard(file_.Eol));
}

void ContactStore::Save(ContactItem& contact)
{
    Refresh();
    switch (contact.state_) {
    case ContactItem::State::Vanished:
        throw EContactFileError(AddressBookMessages::ChangedElsewhere(contact.saved_.FullName));
    case ContactItem::State::Stored:
        SaveStored(contact);
        break;
    case ContactItem::State::New:
    case ContactItem::State::Deleted:
        SaveAsNewCard(contact);
        break;
    }
}

void ContactStore::Delete(ContactItem& contact)
{
    Refresh();
    if (contact.state_ == ContactItem::State::Vanished)
        throw EContactFileError(AddressBookMessages::ChangedElsewhere(contact.saved_.FullName));
    if (contact.state_ != ContactItem::State::Stored) return;
    size_t index = IndexOf(contact);
    VCardFileContent next = file_;
    std::string card = next.Cards[index];
    RemoveCard(next, index);
    Write(next);
    file_ = std::move(next);
    contacts_.erase(contacts_.begin() + static_cast<std::ptrdiff_t>(index));
    contact.state_ = ContactItem::State::Deleted;
    contact.card_ = std::move(card);
}

void ContactStore::SaveStored(ContactItem& contact)
{
    VCardChange change = contact.PendingChange();
    if (!change.FullName && !change.MobileTelephoneNumber) return;
    size_t index = IndexOf(contact);
    VCardFileContent next = file_;
    next.Cards[index] = PatchVCard(next.Cards[index], change);
    VCardContact saved = ReadVCard(next.Cards[index]);
    Write(next);
    file_ = std::move(next);
    contact.TakeSaved(std::move(saved));
}

void ContactStore::SaveAsNewCard(ContactItem& contact)
{
    std::string card = PatchVCard(contact.card_, contact.PendingChange());
    VCardContact saved = ReadVCard(card);
    VCardFileContent next = file_;
    AppendCard(next, std::move(card));
    Write(next);
    file_ = std::move(next);
    contacts_.push_back(contact.shared_from_this());
    contact.state_ = ContactItem::State::Stored;
    contact.card_.clear();
    contact.TakeSaved(std::move(saved));
}

size_t ContactStore::IndexOf(const ContactItem& contact) const
{
    auto found =
        std::find_if(contacts_.begin(), contacts_.end(), [&](const std::shared_ptr<ContactItem>& candidate) {
            return candidate.get() == &contact;
        });
    return static_cast<size_t>(found - contacts_.begin());
}

void ContactStore::Write(const VCardFileContent& content)
{
    ReplaceContactFile(path_, JoinVCardFile(content));
    stamp_ = StampOf(path_);
}
