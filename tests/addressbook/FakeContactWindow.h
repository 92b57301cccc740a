#pragma once

#include "addressbook/ContactWindow.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

// The recipient box and status bar as plain values. The list is kept sorted ignoring (ASCII) case,
// equal names in the order they came.
class FakeContactWindow : public ContactWindow
{
public:
    bool useOutlookAdressbook = true;
    std::string status;
    std::string text;
    std::vector<std::string> entries;
    int selected = -1;

    bool UseOutlookAdressbook() const override { return useOutlookAdressbook; }
    void ShowStatusText(const std::string& newStatus) override { status = newStatus; }
    std::string RecipientText() const override { return text; }
    void SetRecipientText(const std::string& newText) override
    {
        text = newText;
        auto equal = std::find(entries.begin(), entries.end(), newText);
        selected = equal == entries.end() ? -1 : static_cast<int>(equal - entries.begin());
    }
    void AddRecipientEntries(const std::vector<std::string>& names) override
    {
        for (const std::string& name : names)
            entries.insert(std::upper_bound(entries.begin(), entries.end(), name, LessIgnoringCase), name);
    }
    void DeleteSelectedRecipientEntry() override
    {
        if (selected < 0) return;
        entries.erase(entries.begin() + selected);
        selected = -1;
    }
    void SelectRecipientEntry(int index) override
    {
        selected = index;
        text = entries.at(static_cast<size_t>(index));
    }
    void ClearRecipientBox() override
    {
        entries.clear();
        text.clear();
        selected = -1;
    }

private:
    static bool LessIgnoringCase(const std::string& a, const std::string& b)
    {
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
        });
    }
};
