#pragma once

#include "addressbook/ContactWindow.h"
#include "core/SendWindow.h"
#include "core/Settings.h"

#include <ostream>
#include <string>

// The window parts a send and the contact list use, for the command line: the message is the
// given text, the recipient box holds nothing of its own, and status texts are kept for the
// outcome of each recipient (and printed as they come with `verbose`).
class ConsoleSendWindow : public SendWindow, public ContactWindow
{
public:
    ConsoleSendWindow(TSettings& settings, std::string message, std::ostream& log, bool verbose);

    const std::string& LastStatusText() const { return lastStatus_; }

    void ShowStatusText(const std::string& text) override;
    SendTexts TextsToSend() const override { return {{}, message_}; }
    void SetRecipientText(const std::string&) override {}
    void SelectMessagePart(const SmsPartRange&) override {}
    void ClearMessage() override {}
    void ShowSMSThisMonth(int) override {}
    // Asks on the terminal without echo; Exception when the input ends instead.
    void ShowPasswordPrompt() override;

    bool UseOutlookAdressbook() const override { return settings_.UseOutlookAdressbook; }
    std::string RecipientText() const override { return {}; }
    void AddRecipientEntries(const std::vector<std::string>&) override {}
    void DeleteSelectedRecipientEntry() override {}
    void SelectRecipientEntry(int) override {}
    void ClearRecipientBox() override {}

private:
    TSettings& settings_;
    std::string message_;
    std::ostream& log_;
    bool verbose_;
    std::string lastStatus_;
};
