#pragma once

#include "addressbook/ContactWindow.h"
#include "core/SendWindow.h"
#include "core/Settings.h"

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QString;
class QWidget;
class TRecipientBox;

// The main window's widgets as the logic sees them: the window parts the contact list, the contact
// button and the send read and change.
class TLogicWindowAdapter : public ContactWindow, public SendWindow
{
public:
    using StatusTextSetter = std::function<void(const QString&)>;

    // The widgets of the main window `window`, over which the password prompt opens.
    struct Widgets
    {
        QWidget& Window;
        QComboBox& RecipientCombo;
        TRecipientBox& Recipient;
        QPlainTextEdit& Message;
        QLabel& SMSThisMonth;
    };

    TLogicWindowAdapter(Widgets widgets, TSettings& settings, StatusTextSetter setStatusText);

    bool UseOutlookAdressbook() const override { return settings_.UseOutlookAdressbook; }
    void ShowStatusText(const std::string& text) override;
    std::string RecipientText() const override;
    void SetRecipientText(const std::string& text) override;
    void AddRecipientEntries(const std::vector<std::string>& names) override;
    void DeleteSelectedRecipientEntry() override;
    void SelectRecipientEntry(int index) override;
    void ClearRecipientBox() override;

    SendTexts TextsToSend() const override;
    void SelectMessagePart(const SmsPartRange& part) override;
    void ClearMessage() override;
    void ShowSMSThisMonth(int count) override;
    void ShowPasswordPrompt() override;

private:
    Widgets widgets_;
    TSettings& settings_;
    StatusTextSetter setStatusText_;
};
