#pragma once

#include <string>
#include <vector>

// The parts of the main window that the contact list and the contact button read and change. Texts
// of the user's data are code-page text; status texts are UTF-8.
class ContactWindow
{
public:
    virtual ~ContactWindow() = default;

    virtual bool UseOutlookAdressbook() const = 0;

    // Replaces the status bar's text.
    virtual void ShowStatusText(const std::string& text) = 0;

    // The recipient box. Changes made through these run no lookup.
    virtual std::string RecipientText() const = 0;
    // Sets the box's text; the selected entry becomes the first entry equal to it, or none.
    virtual void SetRecipientText(const std::string& text) = 0;
    // Adds entries to the list, which stays sorted ignoring case with the empty entry first; equal
    // names give separate entries.
    virtual void AddRecipientEntries(const std::vector<std::string>& names) = 0;
    // Removes the selected entry from the list, when one is selected.
    virtual void DeleteSelectedRecipientEntry() = 0;
    virtual void SelectRecipientEntry(int index) = 0;
    // Removes every entry and the text.
    virtual void ClearRecipientBox() = 0;
};
