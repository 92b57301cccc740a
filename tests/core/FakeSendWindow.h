#pragma once

#include "addressbook/ContactDisplay.h"
#include "core/SendWindow.h"

#include <functional>
#include <string>
#include <vector>

// Stands in for the main window: records what a send shows and lets the test set what it reads.
class FakeSendWindow : public SendWindow
{
public:
    void ShowStatusText(const std::string& text) override { StatusTexts.push_back(text); }
    SendTexts TextsToSend() const override
    {
        ++TextReads;
        return {Recipient, Message};
    }
    void SetRecipientText(const std::string& text) override { Recipient = text; }
    void SelectMessagePart(const SmsPartRange& part) override { Selections.push_back(part); }
    void ClearMessage() override { Message.clear(); }
    void ShowSMSThisMonth(int count) override { SMSThisMonthLabel = std::to_string(count); }
    void ShowPasswordPrompt() override
    {
        ++PasswordPrompts;
        OnPasswordPrompt();
    }

    std::vector<std::string> StatusTexts;
    std::string Recipient;
    std::string Message;
    std::vector<SmsPartRange> Selections;
    std::string SMSThisMonthLabel = "0";
    mutable int TextReads = 0;
    int PasswordPrompts = 0;
    // What the prompt does before it is closed; by default it is closed without "OK".
    std::function<void()> OnPasswordPrompt = [] {};
};

// The contact form of the address book, which a send never shows.
class NoContactForm : public ContactDisplay
{
public:
    void ShowModal(TContactItem&) override {}
};
