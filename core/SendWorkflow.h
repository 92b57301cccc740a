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

#include <exception>
#include <functional>
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

// A recipient as a send finds it before anything connects: its gateway address and the recipient
// part of its archive file's name (ContactArchiveName or NumberArchiveName), or why nothing goes to it.
struct SendRecipient
{
    RecipientAddress Address;
    std::string ArchiveName;
};

// What became of one recipient of TSendWorkflow::SendToEach: refused before sending (Refusal holds
// the status text), failed (Error holds the error), or sent; a send whose archive file or count
// could not be written is not Recorded (the status bar said why).
struct SendOutcome
{
    std::string Refusal;
    std::exception_ptr Error;
    bool Recorded = true;

    bool Sent() const { return Refusal.empty() && !Error; }
};

// The header lines of the mails a send would write, each mail's as on the wire, in sending order.
struct PlannedSend
{
    SendRecipient Recipient;
    std::vector<std::vector<std::string>> Mails;
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

    // One click of "SMS Senden": the message box's text to the recipient box's number.
    void Send();

    // The message box's text to several recipients in one session, as the command line sends it:
    // the month check and the password as a click; each recipient text looked up as the recipient
    // box's text (a contact's full name) and then as a click looks it up; then, when one is
    // accepted, one POP3 log-in and one SMTP connection for all, each accepted recipient sent and
    // recorded as a click records it. `report` hears of each recipient, by its index, as soon as its
    // outcome is known (refusals before anything connects). Errors of the month check, user.ini
    // and the password propagate; a failure to connect fails every accepted recipient, a failed
    // send only its own recipient while the SMTP connection stands, and every later one with it
    // when the connection is gone.
    void SendToEach(const std::vector<std::string>& recipients,
                    const std::function<void(std::size_t, const SendOutcome&)>& report);

    // What SendToEach would send, connecting to nothing and changing no file: the recipients found
    // as it finds them and, for each accepted one, the header lines of its mails.
    std::vector<PlannedSend> PlanSendToEach(const std::vector<std::string>& recipients);

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
    SendRecipient ResolveRecipient(const std::string& text);
    SendRecipient CheckRecipient(const std::string& typed);
    RecipientAddress CheckAddresses(const std::string& typed);
    bool Connect();
    void LogInAndOutOfPop3();
    bool ConnectSmtp();
    bool SendTo(const SendRecipient& recipient, const std::string& text, IniFile& userIni);
    void PrepareMessage(const std::string& gatewayAddress);
    std::vector<int> SendingOrder(int partCount) const;
    void SendParts(const std::string& text, const std::string& gatewayAddress);
    PartialSend& PartsToSend(const std::string& text, const std::string& gatewayAddress);
    void SetSubject(const std::string& text, const SmsPartRange& part);
    void SendPart(const std::string& text, const SmsPartRange& part);
    bool RecordSentSms(const SendRecipient& recipient, const std::string& text, IniFile& userIni);
    void CloseAfterSend();

    SendComponents components_;
    SendWindow& window_;
    // Parts counted since the last recorded send, which the next record adds to the file's count,
    // and the time of the last one: they belong to that month, whatever month LastSentSMS names.
    struct UnrecordedParts
    {
        DateTime LastAt;
        int Count = 0;
    };
    std::optional<UnrecordedParts> unrecordedParts_;
    std::optional<PartialSend> partialSend_;
};
