#include "core/SendWorkflow.h"

#include "addressbook/ContactList.h"
#include "core/CoreMessages.h"
#include "core/MailClientSetup.h"
#include "core/SentArchive.h"
#include "core/SmsText.h"

#include <algorithm>

namespace {

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
    CheckConnectionKeysOfSend(components_.Settings);
    CheckMonth();
    IniFile userIni(SettingsFilePath(components_.Files.SettingsFolder));
    const SendTexts texts = window_.TextsToSend();
    AskForPasswordWhenNotStored();
    if (components_.Settings.UseOutlookAdressbook) LookUpContactByNumber(texts.Recipient);
    const RecipientAddress recipient = CheckAddresses(texts.Recipient);
    if (!recipient.Accepted()) {
        window_.ShowStatusText(recipient.Rejection);
        return;
    }
    if (components_.Settings.Pop3First) LogInAndOutOfPop3();
    const bool connectedHere = ConnectSmtp();
    PrepareMessage(recipient.Address);
    SendParts(texts.Message, recipient.Address);
    RecordSentSms(recipient, texts.Message, userIni);
    window_.ClearMessage();
    if (connectedHere) CloseAfterSend();
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

// Only a send that hands the password to a server asks for it. Closing the prompt without "OK"
// leaves the marker, which then serves as the password.
void TSendWorkflow::AskForPasswordWhenNotStored()
{
    const TSettings& settings = components_.Settings;
    if (settings.LoginPassword == PasswordMarker && UsesPassword(settings)) window_.ShowPasswordPrompt();
}

// POP before SMTP: a log-in that opens the SMTP server to this client for a while.
void TSendWorkflow::LogInAndOutOfPop3()
{
    TIdPOP3& pop3 = components_.IdPOP3;
    SetUpPop3(pop3, components_.Settings);
    if (pop3.IsConnected()) return;
    pop3.OpenConnection();
    pop3.CloseConnection();
}

// True when this click opened the connection (and so closes it at its end). A connection left
// open by an earlier click serves only while it is encrypted as the settings now want it.
bool TSendWorkflow::ConnectSmtp()
{
    TIdSMTP& smtp = components_.IdSMTP;
    SetUpSmtp(smtp, components_.Settings);
    if (smtp.IsConnected() && smtp.Security() != TIdSecurity::None && !smtp.TlsInfo()) smtp.CloseConnection();
    if (smtp.IsConnected()) return false;
    smtp.OpenConnection();
    return true;
}

// A typed number that is the stored mobile number of a contact chooses that contact.
void TSendWorkflow::LookUpContactByNumber(const std::string& typed)
{
    AddressBookLink& addressBook = components_.AddressBook;
    if (ChooseContact(addressBook, MobileNumberFilter(typed)))
        window_.SetRecipientText(addressBook.Contact.FullName());
}

// The gateway address of the send, or why nothing is sent: a sender address or gateway domain that
// a mail command cannot carry as it stands, or no usable number.
RecipientAddress TSendWorkflow::CheckAddresses(const std::string& typed)
{
    const TSettings& settings = components_.Settings;
    if (!FitsMailCommand(settings.eMailAdress)) return {{}, {}, SenderAddressUnusableStatus};
    if (!FitsMailCommand(settings.SMSServer)) return {{}, {}, GatewayDomainUnusableStatus};
    AddressBookLink& addressBook = components_.AddressBook;
    if (!addressBook.ContactFromAddressBook) return AddressForTypedNumber(typed, settings.SMSServer);
    return AddressForContactNumber(addressBook.Contact.MobileTelephoneNumber(), settings.SMSServer);
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

// One mail per part not sent yet, the last part first when LastSMSFirst is on. The parts are those
// of the text being sent (an empty text is one empty part), whatever the counters showed before.
void TSendWorkflow::SendParts(const std::string& text, const std::string& gatewayAddress)
{
    PartialSend& send = PartsToSend(text, gatewayAddress);
    const int count = static_cast<int>(send.Parts.size());
    try {
        for (int i = 0; i < count; ++i) {
            const int k = components_.Settings.LastSMSFirst ? count - 1 - i : i;
            if (send.Sent[k]) continue;
            SendPart(text, send.Parts[k]);
            send.Sent[k] = true;
        }
    } catch (const Exception& error) {
        if (std::none_of(send.Sent.begin(), send.Sent.end(), [](bool sent) { return sent; })) throw;
        throw ESmsPartlySent(error.Message(), send.Sent);
    }
    partialSend_.reset();
}

// The send that ended part-way when this one has its address, text and parts; otherwise a fresh
// send of every part.
TSendWorkflow::PartialSend& TSendWorkflow::PartsToSend(const std::string& text,
                                                       const std::string& gatewayAddress)
{
    std::vector<SmsPartRange> parts = SmsParts(text, components_.Settings.MaxSMSLength);
    if (!partialSend_ || partialSend_->Address != gatewayAddress || partialSend_->Text != text ||
        partialSend_->Parts != parts) {
        const std::size_t count = parts.size();
        partialSend_ = PartialSend{gatewayAddress, text, std::move(parts), std::vector<bool>(count)};
    }
    return *partialSend_;
}

void TSendWorkflow::SendPart(const std::string& text, const SmsPartRange& part)
{
    window_.SelectMessagePart(part);
    components_.IdEmail.SetSubject(components_.Settings.FormatToken + text.substr(part.Start, part.Length));
    components_.IdSMTP.Send(components_.IdEmail);
    ++components_.Settings.SMSThisMonth;
    lastCountedPart_ = components_.Time.Now();
}

// Every part went out, so a record that cannot be written ends nothing: the status bar says so.
void TSendWorkflow::RecordSentSms(const RecipientAddress& recipient, const std::string& text,
                                  IniFile& userIni)
{
    const AddressBookLink& addressBook = components_.AddressBook;
    SentSms sms{{}, text, components_.Time.Now()};
    if (components_.Settings.AutoSave)
        sms.RecipientName = addressBook.ContactFromAddressBook
                                ? ContactArchiveName(addressBook.Contact.FullName())
                                : NumberArchiveName(recipient.Number);
    try {
        RecordSend(sms, components_.Files.DataFolder, components_.Settings, userIni, window_);
    } catch (const Exception& error) {
        window_.ShowStatusText(SendNotRecordedStatus(error.Message()));
    }
    lastCountedPart_.reset();
}

// The mails were accepted: a server that is gone by the goodbye changes nothing of the send, and
// the client releases the connection either way.
void TSendWorkflow::CloseAfterSend()
{
    try {
        components_.IdSMTP.CloseConnection();
    } catch (const Exception&) {
    }
}
