#pragma once

#include "addressbook/VCard.h"

#include <memory>
#include <string>
#include <string_view>

class ContactStore;

// One contact of the address book, shared by everyone who found it (a found contact and the same
// contact found again are one object, so reads show what was saved through either). Texts are in
// the code page and never hold control characters. Made by ContactStore.
class ContactItem : public std::enable_shared_from_this<ContactItem>
{
public:
    // A contact read from the file.
    ContactItem(std::weak_ptr<ContactStore> store, VCardContact saved);
    // A new contact, not yet in the file, that will be saved as `emptyCard` filled in.
    ContactItem(std::weak_ptr<ContactStore> store, std::string emptyCard);

    // The current values: as saved, or as set since.
    const std::string& FullName() const { return fullName_; }
    const std::string& MobileTelephoneNumber() const { return mobileTelephoneNumber_; }
    void SetFullName(std::string_view codePageText);
    void SetMobileTelephoneNumber(std::string_view codePageText);

    // Characters of the saved name and number that the code page cannot hold (UTF-8); they read
    // as "?", and the file keeps them as long as the field is not changed.
    const std::string& UnmappableCharacters() const { return saved_.Unmappable; }

    // True while the contact is a card of the file (not new, not deleted).
    bool Stored() const { return state_ == State::Stored; }

    // Save, Delete and Display keep the contact alive while they run: the store may drop the last
    // reference to it (a delete, a re-read of a file changed elsewhere).
    // Writes the changed fields into the file (a new or deleted contact is added at its end).
    void Save();
    // Removes the contact's card from the file; saving it later adds it again.
    void Delete();
    // Shows the contact in the address book's contact form; returns when the form is closed.
    void Display();

private:
    friend class ContactStore;
    enum class State { New, Stored, Deleted, Vanished };

    VCardChange PendingChange() const;
    // Takes the values now in the file as saved and current.
    void TakeSaved(VCardContact saved);
    std::shared_ptr<ContactStore> Store() const;

    std::weak_ptr<ContactStore> store_;
    State state_;
    std::string card_; // New and Deleted: the card that Save adds (filled in)
    VCardContact saved_;
    std::string fullName_;
    std::string mobileTelephoneNumber_;
};
