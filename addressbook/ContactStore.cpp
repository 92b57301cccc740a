#include "addressbook/ContactStore.h"

#include "addressbook/AddressBookMessages.h"
#include "addressbook/ContactItem.h"
#include "addressbook/VCard.h"

#include <algorithm>
#include <unordered_map>

namespace {

// A contact whose card another program changed or removed is no longer the file's to change.
void RequireNotVanished(const ContactItem& contact)
{
    if (contact.State() == ContactState::Vanished)
        throw EContactFileError(AddressBookMessages::ChangedElsewhere(contact.Saved().FullName));
}

} // namespace

std::shared_ptr<ContactStore> ContactStore::Open(std::string path)
{
    std::shared_ptr<ContactStore> store(new ContactStore(std::move(path)));
    store->Refresh();
    return store;
}

ContactStore::ContactStore(std::string path) : path_(std::move(path)) {}

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
                contacts.push_back(std::make_shared<ContactItem>(ReadVCard(card)));
                continue;
            }
            contacts.push_back(contacts_[same->second]);
            unchanged.erase(same);
        }
        for (const auto& [card, index] : unchanged) contacts_[index]->MarkVanished();
    }
    file_ = std::move(next);
    contacts_ = std::move(contacts);
    stamp_ = snapshot.Stamp;
}

std::shared_ptr<ContactItem> ContactStore::Find(ContactField field, std::string_view value) const
{
    for (const auto& contact : contacts_) {
        const VCardContact& saved = contact->Saved();
        if ((field == ContactField::FullName ? saved.FullName : saved.MobileTelephoneNumber) == value)
            return contact;
    }
    return nullptr;
}

std::shared_ptr<ContactItem> ContactStore::CreateContact()
{
    return std::make_shared<ContactItem>(NewVCard(file_.Eol));
}

void ContactStore::Save(std::shared_ptr<ContactItem> contact)
{
    Refresh();
    RequireNotVanished(*contact);
    if (contact->State() == ContactState::Stored)
        SaveStored(*contact);
    else
        SaveAsNewCard(contact);
}

void ContactStore::Delete(std::shared_ptr<ContactItem> contact)
{
    Refresh();
    RequireNotVanished(*contact);
    if (contact->State() != ContactState::Stored) return;
    size_t index = IndexOf(*contact);
    VCardFileContent next = file_;
    std::string card = next.Cards[index];
    RemoveCard(next, index);
    Write(next);
    file_ = std::move(next);
    contacts_.erase(contacts_.begin() + static_cast<std::ptrdiff_t>(index));
    contact->MarkDeleted(std::move(card));
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
    contact.MarkStored(std::move(saved));
}

void ContactStore::SaveAsNewCard(const std::shared_ptr<ContactItem>& contact)
{
    std::string card = PatchVCard(contact->CardToAdd(), contact->PendingChange());
    VCardContact saved = ReadVCard(card);
    VCardFileContent next = file_;
    AppendCard(next, std::move(card));
    Write(next);
    file_ = std::move(next);
    contacts_.push_back(contact);
    contact->MarkStored(std::move(saved));
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
