#include "core/SendWorkflow.h"

#include "addressbook/ContactList.h"
#include "core/CoreMessages.h"
#include "core/SentArchive.h"
#include "core/SmsText.h"

#include <algorithm>

namespace {

// Line breaks and other control characters, which would split or spoil a mail command.
bool HoldsControlCharacter(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

bool SameMonth(const DateTime& a, const DateTime& b)
{
    return a.Year == b.Year && a.Month == b.Month;
}

} // namespace

TSendWorkflow::TSendWorkflow(SendComponents components, SendWindow& window)
    : components_(std::move(components)), window_(window)
{
    TIdSMTP& smtp = components_.IdSMTP;
    smtp.OnConnected = [this](TIdComponent&) { IdSMTPOnConnected(); };
    smtp.OnWorkBegin = [this](TIdComponent&, TWorkMode, int) { IdSMTPOnWorkBegin(); };
    smtp.OnWork = [this](TIdComponent&, TWorkMode, int) { IdSMTPOnWork(); };
    smtp.OnWorkEnd = [this](TIdComponent&, TWorkMode) { IdSMTPOnWorkEnd(); };
}

void TSendWorkflow::IdSMTPOnConnected()
{
    window_.ShowStatusText(SmtpConnectedStatus);
}

void TSendWorkflow::IdSMTPOnWorkBegin()
{
    window_.ShowStatusText(SendingStatus);
}

void TSendWorkflow::IdSMTPOnWork()
{
    window_.ShowStatusText(SmsSendingStatus);
}

void TSendWorkflow::IdSMTPOnWorkEnd()
{
    window_.ShowStatusText(SmsSentStatus);
}

void TSendWorkflow::BSendSMSClick()
{
    CheckMonth();
    IniFile userIni(SettingsFilePath(components_.Files.SettingsFolder));
    AskForPasswordWhenNotStored();
    if (components_.Settings.Pop3First) LogInAndOutOfPop3();
    const bool connectedHere = ConnectSmtp();
    if (components_.Settings.UseOutlookAdressbook) LookUpContactByNumber();
    const Recipient recipient = ResolveRecipient();
    if (recipient.Gateway.Accepted()) {
        PrepareMessage(recipient.Gateway.Address);
        const std::string text = window_.MessageText();
        SendParts(text);
        RecordSentSms(recipient, text, userIni);
        window_.ClearMessage();
    } else {
        window_.ShowStatusText(recipient.Gateway.Rejection);
    }
    if (connectedHere) components_.IdSMTP.CloseConnection();
}

// A new month starts the count again. Parts counted by a click that failed before recording its
// send belong to the month they were sent in, not to that of LastSentSMS.
void TSendWorkflow::CheckMonth()
{
    if (!lastCountedPart_) {
        MonthCheck(components_.Settings, components_.Time);
        return;
    }
    if (SameMonth(*lastCountedPart_, components_.Time.Now())) return;
    components_.Settings.SMSThisMonth = 0;
    lastCountedPart_.reset();
}

// Closing the prompt without "OK" leaves the marker, which then serves as the password.
void TSendWorkflow::AskForPasswordWhenNotStored()
{
    if (components_.Settings.LoginPassword == PasswordMarker) window_.ShowPasswordPrompt();
}

// POP before SMTP: a log-in that opens the SMTP server to this client for a while.
void TSendWorkflow::LogInAndOutOfPop3()
{
    TIdPOP3& pop3 = components_.IdPOP3;
    pop3.SetHost(components_.Settings.POP3Server);
    pop3.SetUserId(components_.Settings.LoginName);
    pop3.SetPassword(components_.Settings.LoginPassword);
    if (pop3.IsConnected()) return;
    pop3.OpenConnection();
    pop3.CloseConnection();
}

// True when this click opened the connection (and so closes it at its end).
bool TSendWorkflow::ConnectSmtp()
{
    TIdSMTP& smtp = components_.IdSMTP;
    smtp.SetHost(components_.Settings.SMTPServer);
    smtp.SetUserId(components_.Settings.LoginName);
    smtp.SetPassword(components_.Settings.LoginPassword);
    if (smtp.IsConnected()) return false;
    smtp.OpenConnection();
    return true;
}

// A typed number that is the stored mobile number of a contact chooses that contact.
void TSendWorkflow::LookUpContactByNumber()
{
    AddressBookLink& addressBook = components_.AddressBook;
    if (ChooseContact(addressBook, MobileNumberFilter(window_.RecipientText())))
        window_.SetRecipientText(addressBook.Contact.FullName());
}

TSendWorkflow::Recipient TSendWorkflow::ResolveRecipient()
{
    const std::string& smsServer = components_.Settings.SMSServer;
    if (!components_.AddressBook.ContactFromAddressBook) {
        const std::string typed = window_.RecipientText();
        return {AddressForTypedNumber(typed, smsServer), NormalizeNumber(typed)};
    }
    const std::string mobile = components_.AddressBook.Contact.MobileTelephoneNumber();
    RecipientAddress gateway = AddressForContactNumber(mobile, smsServer);
    if (gateway.Accepted() && HoldsControlCharacter(mobile))
        gateway = {{}, ContactMobileWithControlCharactersStatus};
    return {gateway, NormalizeNumber(mobile)};
}

// The SMS travels in the Subject alone; the body stays empty.
void TSendWorkflow::PrepareMessage(const std::string& gatewayAddress)
{
    TIdMessage& email = components_.IdEmail;
    email.Clear();
    email.From().SetAddress(components_.Settings.eMailAdress);
    email.From().SetName(components_.Settings.UserName);
    email.Recipients().Add().SetAddress(gatewayAddress);
}

// One mail per part, the last part first when LastSMSFirst is on. The parts are those of the text
// being sent (an empty text is one empty part), whatever the counters showed before.
void TSendWorkflow::SendParts(const std::string& text)
{
    const int count = MeasureSms(static_cast<int>(text.size()), components_.Settings.MaxSMSLength).SMSCount;
    if (components_.Settings.LastSMSFirst) {
        for (int k = count - 1; k >= 0; --k) SendPart(text, k);
    } else {
        for (int k = 0; k < count; ++k) SendPart(text, k);
    }
}

void TSendWorkflow::SendPart(const std::string& text, int k)
{
    const SmsPartRange part = SmsPart(k, static_cast<int>(text.size()), components_.Settings.MaxSMSLength);
    window_.SelectMessagePart(part);
    components_.IdEmail.SetSubject(components_.Settings.FormatToken + text.substr(part.Start, part.Length));
    components_.IdSMTP.Send(components_.IdEmail);
    ++components_.Settings.SMSThisMonth;
    lastCountedPart_ = components_.Time.Now();
}

void TSendWorkflow::RecordSentSms(const Recipient& recipient, const std::string& text, IniFile& userIni)
{
    const AddressBookLink& addressBook = components_.AddressBook;
    SentSms sms{{}, text, components_.Time.Now()};
    if (components_.Settings.AutoSave)
        sms.RecipientName = addressBook.ContactFromAddressBook
                                ? ContactArchiveName(addressBook.Contact.FullName())
                                : NumberArchiveName(recipient.Number);
    RecordSend(sms, components_.Files.DataFolder, components_.Settings, userIni, window_);
    lastCountedPart_.reset();
}
