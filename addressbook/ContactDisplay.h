#pragma once

class TContactItem;

// The modal contact form that shows a contact for editing (its Qt implementation lives in ui/).
// TContactItem::Display calls it; the form edits the contact's full name and mobile number and
// offers the address book's operations:
//   save:   contact.SetFullName(...), contact.SetMobileTelephoneNumber(...), contact.Save()
//   delete: contact.Delete()
//   close:  nothing; the contact stays as it was.
// Save and Delete raise EContactFileError when the file cannot be written or was changed by
// another program; the form shows that message and stays open (no exception leaves ShowModal
// through an event loop).
class ContactDisplay
{
public:
    virtual ~ContactDisplay() = default;

    // Returns when the user has closed the form.
    virtual void ShowModal(TContactItem& contact) = 0;
};
