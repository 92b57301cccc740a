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
#include <vector>

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

// The send button's work: read the recipient and the message, find the recipient (a contact of the
// address book or a typed number) and check the addresses, all before anything connects; then log
// in to POP3 first when so set, connect to the SMTP server, mail one message per SMS part with the
// part in the Subject, count the parts, archive the text and record the send in user.ini. Ports,
// encryption and SMTP AUTH come from the settings at every click; unusable connection keys end the
// click before anything else happens.
//
// An error ends the click where it happens and propagates; parts sent stay sent and counted in
// memory, the text stays, and an SMTP connection opened by the click stays open. The next click
// sends over that connection and leaves it open too, until it is found closed. A send that fails
// after some of its parts went out says which (ESmsPartlySent), and the next click with the same
// text to the same address sends only the others. Once every part went out, nothing fails the
// click any more: a record that cannot be written is reported in the status bar.
class TSendWorkflow
{
public:
    // Installs the SMTP client's status handlers, which report progress in the window's status bar.
    TSendWorkflow(SendComponents components, SendWindow& window);

    void BSendSMSClick();

private:
    // A send that ended part-way: its address, its text and parts, and which parts went out.
    struct PartialSend
    {
        std::string Address;
        std::string Text;
        std::vector<SmsPartRange> Parts;
        std::vector<bool> Sent;
    };

    void IdSMTPOnConnected();
    void IdSMTPOnWorkBegin();
    void IdSMTPOnWork();
    void IdSMTPOnWorkEnd();

    void CheckMonth();
    void AskForPasswordWhenNotStored();
    void LookUpContactByNumber(const std::string& typed);
    RecipientAddress CheckAddresses(const std::string& typed);
    void LogInAndOutOfPop3();
    bool ConnectSmtp();
    void PrepareMessage(const std::string& gatewayAddress);
    void SendParts(const std::string& text, const std::string& gatewayAddress);
    PartialSend& PartsToSend(const std::string& text, const std::string& gatewayAddress);
    void SendPart(const std::string& text, const SmsPartRange& part);
    void RecordSentSms(const RecipientAddress& recipient, const std::string& text, IniFile& userIni);
    void CloseAfterSend();

    SendComponents components_;
    SendWindow& window_;
    // When parts were counted since the last recorded send: the time of the last one. The count in
    // memory then belongs to that month, whatever month LastSentSMS still names.
    std::optional<DateTime> lastCountedPart_;
    std::optional<PartialSend> partialSend_;
};
