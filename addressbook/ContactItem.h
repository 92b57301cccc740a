#pragma once

#include "addressbook/VCard.h"

#include <string>
#include <string_view>

// Where a contact stands with the file: New (never saved), Stored (a card of the file), Deleted
// (its card removed; a save adds it again) or Vanished (its card was changed or removed by another
// program, so it can be neither saved nor deleted).
enum class ContactState { New, Stored, Deleted, Vanished };

// One contact of the address book: its values as saved and as set since, and its state, which the
// store (ContactStore) moves on through the transitions below. Shared by everyone who found it (a
// found contact and the same contact found again are one object, so reads show what was saved
// through either). Texts are in the code page and never hold control characters.
class ContactItem
{
public:
    // A contact read from the file: Stored.
    explicit ContactItem(VCardContact saved);
    // A new contact, not yet in the file, that will be saved as `emptyCard` filled in: New.
    explicit ContactItem(std::string emptyCard);

    // The current values: as saved, or as set since.
    const std::string& FullName() const { return fullName_; }
    const std::string& MobileTelephoneNumber() const { return mobileTelephoneNumber_; }
    void SetFullName(std::string_view codePageText);
    void SetMobileTelephoneNumber(std::string_view codePageText);

    // The values as the file holds them (with the characters the code page cannot hold).
    const VCardContact& Saved() const { return saved_; }
    ContactState State() const { return state_; }
    // The fields set to other values than the saved ones.
    VCardChange PendingChange() const;
    // New and Deleted: the card a save adds (before the pending change is patched in).
    const std::string& CardToAdd() const { return card_; }

    // Stored: the file now holds the contact as `saved`, which become the current values too.
    void MarkStored(VCardContact saved);
    // Deleted: the file no longer holds `card`, the contact's card, which a save adds again.
    void MarkDeleted(std::string card);
    // Vanished: the file no longer holds the card the contact was read from.
    void MarkVanished();

private:
    ContactState state_;
    std::string card_;
    VCardContact saved_;
    std::string fullName_;
    std::string mobileTelephoneNumber_;
};
