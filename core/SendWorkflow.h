#pragma once

#include "addressbook/AddressBookLink.h"
#include "core/RecipientNumber.h"
#include "core/SendWindow.h"
#include "core/Settings.h"
#include "mail/IdMessage.h"
#include "mail/IdPOP3.h"
#include "mail/IdSMTP.h"
#include "runtime/Clock.h"
#include "runtime/FileLocations.h"
#include "runtime/IniFile.h"

#include <optional>
#include <string>

// The components a send uses; the main window owns them for the whole run.
struct SendComponents
{
    TIdSMTP& IdSMTP;
    TIdPOP3& IdPOP3;
    TIdMessage& IdEmail;
    TSettings& Settings;
    AddressBookLink& AddressBook;
    const Clock& Time;
    FileLocations Files;
};

// The send button's work: log in to POP3 first when so set, connect to the SMTP server, find the
// recipient (a contact of the address book or a typed number), mail one message per SMS part with
// the part in the Subject, count the parts, archive the text and record the send in user.ini.
//
// An error ends the click where it happens and propagates; parts sent stay sent and counted in
// memory, the text stays, and an SMTP connection opened by the click stays open. The next click
// sends over that connection and leaves it open too, until it is found closed.
class TSendWorkflow
{
public:
    // Installs the SMTP client's status handlers, which report progress in the window's status bar.
    TSendWorkflow(SendComponents components, SendWindow& window);

    void BSendSMSClick();

private:
    struct Recipient
    {
        RecipientAddress Gateway;
        std::string Number; // normalised; names the archive file of a typed number
    };

    void IdSMTPOnConnected();
    void IdSMTPOnWorkBegin();
    void IdSMTPOnWork();
    void IdSMTPOnWorkEnd();

    void CheckMonth();
    void AskForPasswordWhenNotStored();
    void LogInAndOutOfPop3();
    bool ConnectSmtp();
    void LookUpContactByNumber();
    Recipient ResolveRecipient();
    void PrepareMessage(const std::string& gatewayAddress);
    void SendParts(const std::string& text);
    void SendPart(const std::string& text, int k);
    void RecordSentSms(const Recipient& recipient, const std::string& text, IniFile& userIni);

    SendComponents components_;
    SendWindow& window_;
    // When parts were counted since the last recorded send: the time of the last one. The count in
    // memory then belongs to that month, whatever month LastSentSMS still names.
    std::optional<DateTime> lastCountedPart_;
};
