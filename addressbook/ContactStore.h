#pragma once

#include "addressbook/ContactFile.h"
#include "addressbook/ContactFilter.h"
#include "addressbook/VCardFile.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class ContactItem;

// The address book: the contacts of one vCard file, in file order. It follows the file: Refresh
// re-reads it when another program changed it, and every save first takes in such a change, then
// patches only the card concerned and replaces the file atomically. A file that cannot be read or
// parsed raises EContactFileError and is never written.
class ContactStore
{
public:
    // Reads the file; a missing file is an empty address book (created by the first save).
    static std::shared_ptr<ContactStore> Open(std::string path);

    const std::string& Path() const { return path_; }

    // Re-reads the file when its stamp (inode, size, times) differs from what was last read or
    // written. Contacts whose card is unchanged keep their objects; those whose card changed or went
    // away no longer belong to the file, and saving them raises an error.
    void Refresh();

    int Count() const { return static_cast<int>(contacts_.size()); }
    // The contact at `index`, counted from 0; the caller checks the range.
    const std::shared_ptr<ContactItem>& At(int index) const { return contacts_[static_cast<size_t>(index)]; }
    // The first contact in file order whose saved field equals `value` byte for byte, or null.
    std::shared_ptr<ContactItem> Find(ContactField field, std::string_view value) const;
    // A new empty contact that is not in the file until it is saved.
    std::shared_ptr<ContactItem> CreateContact();

    // Both hold the contact while they run: the store may drop its own reference to it (a delete, a
    // re-read of a file changed elsewhere).
    // Writes the changed fields into the file (a new or deleted contact is added at its end).
    void Save(std::shared_ptr<ContactItem> contact);
    // Removes the contact's card from the file; saving it later adds it again.
    void Delete(std::shared_ptr<ContactItem> contact);

private:
    explicit ContactStore(std::string path);
    size_t IndexOf(const ContactItem& contact) const;
    void Write(const VCardFileContent& content);
    void SaveStored(ContactItem& contact);
    void SaveAsNewCard(const std::shared_ptr<ContactItem>& contact);

    std::string path_;
    FileStamp stamp_;
    VCardFileContent file_;
    std::vector<std::shared_ptr<ContactItem>> contacts_; // one per card of file_
};
