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

void TSendWorkflow::Send()
{
    CheckConnectionKeysOfSend(components_.Settings);
    CheckMonth();
    IniFile userIni(SettingsFilePath(components_.Files.SettingsFolder));
    const SendTexts texts = window_.TextsToSend();
    AskForPasswordWhenNotStored();
    if (components_.Settings.UseOutlookAdressbook) LookUpContactByNumber(texts.Recipient);
    const SendRecipient recipient = CheckRecipient(texts.Recipient);
    if (!recipient.Address.Accepted()) {
        window_.ShowStatusText(recipient.Address.Rejection);
        return;
    }
    const bool connectedHere = Connect();
    SendTo(recipient, texts.Message, userIni);
    window_.ClearMessage();
    if (connectedHere) CloseAfterSend();
}

void TSendWorkflow::SendToEach(const std::vector<std::string>& recipients,
                               const std::function<void(std::size_t, const SendOutcome&)>& report)
{
    CheckMonth();
    IniFile userIni(SettingsFilePath(components_.Files.SettingsFolder));
    const std::string text = window_.TextsToSend().Message;
    AskForPasswordWhenNotStored();
    std::vector<std::pair<std::size_t, SendRecipient>> accepted;
    for (std::size_t i = 0; i < recipients.size(); ++i) {
        SendRecipient recipient = ResolveRecipient(recipients[i]);
        if (recipient.Address.Accepted())
            accepted.emplace_back(i, std::move(recipient));
        else
            report(i, {recipient.Address.Rejection, {}, false});
    }
    if (accepted.empty()) return;
    bool connectedHere = false;
    std::exception_ptr connectionLost;
    try {
        connectedHere = Connect();
    } catch (const Exception&) {
        connectionLost = std::current_exception();
    }
    for (const auto& [index, recipient] : accepted) {
        SendOutcome outcome{{}, connectionLost, false};
        if (!connectionLost) {
            try {
                outcome.Recorded = SendTo(recipient, text, userIni);
            } catch (const Exception&) {
                outcome.Error = std::current_exception();
                if (!components_.IdSMTP.IsConnected()) connectionLost = outcome.Error;
            }
        }
        report(index, outcome);
    }
    if (connectedHere && !connectionLost) CloseAfterSend();
}

std::vector<PlannedSend> TSendWorkflow::PlanSendToEach(const std::vector<std::string>& recipients)
{
    CheckMonth();
    const std::string text = window_.TextsToSend().Message;
    const std::vector<SmsPartRange> parts = SmsParts(text, components_.Settings.MaxSMSLength);
    std::vector<PlannedSend> plans;
    for (const std::string& typed : recipients) {
        PlannedSend plan{ResolveRecipient(typed), {}};
        if (plan.Recipient.Address.Accepted()) {
            PrepareMessage(plan.Recipient.Address.Address);
            for (int k : SendingOrder(static_cast<int>(parts.size()))) {
                SetSubject(text, parts[static_cast<std::size_t>(k)]);
                plan.Mails.push_back(components_.IdEmail.BuildHeader().Lines());
            }
        }
        plans.push_back(std::move(plan));
    }
    return plans;
}

// A new month starts the count again. Parts counted by a click that failed before recording its
// send belong to the month they were sent in, not to that of LastSentSMS.
void TSendWorkflow::CheckMonth()
{
    if (!unrecordedParts_) {
        MonthCheck(components_.Settings, components_.Time);
        return;
    }
    if (SameMonth(unrecordedParts_->LastAt, components_.Time.Now())) return;
    components_.Settings.SMSThisMonth = 0;
    unrecordedParts_.reset();
}

// Every send asks while the marker stands, whether or not a server gets the password (a user may
// rely on being asked at the first send). Closing the prompt without "OK" leaves the marker, which
// then serves as the password.
void TSendWorkflow::AskForPasswordWhenNotStored()
{
    if (components_.Settings.LoginPassword == PasswordMarker) window_.ShowPasswordPrompt();
}

// POP before SMTP when so set, then the SMTP connection; true when this opened it (and so closes
// it at the end).
bool TSendWorkflow::Connect()
{
    if (components_.Settings.Pop3First) LogInAndOutOfPop3();
    return ConnectSmtp();
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
    if (addressBook.ChooseByMobileNumber(StoredMobileNumberForm(typed)))
        window_.SetRecipientText(addressBook.Contact().FullName());
}

// A recipient text as the recipient box's change handler looks it up (a contact's full name), then
// as a click does.
SendRecipient TSendWorkflow::ResolveRecipient(const std::string& text)
{
    const bool useAddressBook = components_.Settings.UseOutlookAdressbook;
    LookUpRecipient(components_.AddressBook, useAddressBook, text);
    if (useAddressBook) LookUpContactByNumber(text);
    return CheckRecipient(text);
}

SendRecipient TSendWorkflow::CheckRecipient(const std::string& typed)
{
    SendRecipient recipient{CheckAddresses(typed), {}};
    const AddressBookLink& addressBook = components_.AddressBook;
    if (recipient.Address.Accepted())
        recipient.ArchiveName = addressBook.RecipientIsContact()
                                    ? ContactArchiveName(addressBook.Contact().FullName())
                                    : NumberArchiveName(recipient.Address.Number);
    return recipient;
}

// The gateway address of the send, or why nothing is sent: a sender address or gateway domain that
// a mail command cannot carry as it stands, or no usable number.
RecipientAddress TSendWorkflow::CheckAddresses(const std::string& typed)
{
    const TSettings& settings = components_.Settings;
    if (!FitsMailCommand(settings.eMailAdress)) return {{}, {}, SenderAddressUnusableStatus};
    if (!FitsMailCommand(settings.SMSServer)) return {{}, {}, GatewayDomainUnusableStatus};
    AddressBookLink& addressBook = components_.AddressBook;
    if (!addressBook.RecipientIsContact()) return AddressForTypedNumber(typed, settings.SMSServer);
    return AddressForContactNumber(addressBook.Contact().MobileTelephoneNumber(), settings.SMSServer);
}

// The mails, the parts' messages and the record of one recipient; false when the record could not
// be written in full.
bool TSendWorkflow::SendTo(const SendRecipient& recipient, const std::string& text, IniFile& userIni)
{
    PrepareMessage(recipient.Address.Address);
    SendParts(text, recipient.Address.Address);
    return RecordSentSms(recipient, text, userIni);
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
    try {
        for (int k : SendingOrder(static_cast<int>(send.Parts.size()))) {
            if (send.Sent[k]) continue;
            SendPart(text, send.Parts[k]);
            send.Sent[k] = true;
        }
    } catch (const Exception& error) {
        if (std::none_of(send.Sent.begin(), send.Sent.end(), [](bool sent) { return sent; })) throw;
        std::throw_with_nested(ESmsPartlySent(error.Message(), send.Sent)); // keeps the kind of error
    }
    partialSend_.reset();
}

// The indexes of the parts in the order they go out: the last part first when LastSMSFirst is on.
std::vector<int> TSendWorkflow::SendingOrder(int partCount) const
{
    std::vector<int> order;
    for (int i = 0; i < partCount; ++i)
        order.push_back(components_.Settings.LastSMSFirst ? partCount - 1 - i : i);
    return order;
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

void TSendWorkflow::SetSubject(const std::string& text, const SmsPartRange& part)
{
    components_.IdEmail.SetSubject(components_.Settings.FormatToken + text.substr(part.Start, part.Length));
}

void TSendWorkflow::SendPart(const std::string& text, const SmsPartRange& part)
{
    window_.SelectMessagePart(part);
    SetSubject(text, part);
    components_.IdSMTP.Send(components_.IdEmail);
    ++components_.Settings.SMSThisMonth;
    const int counted = unrecordedParts_ ? unrecordedParts_->Count : 0;
    unrecordedParts_ = UnrecordedParts{components_.Time.Now(), counted + 1};
}

// Every part went out, so a record that cannot be written ends nothing: the status bar says so.
bool TSendWorkflow::RecordSentSms(const SendRecipient& recipient, const std::string& text, IniFile& userIni)
{
    const SentSms sms{recipient.ArchiveName, text, components_.Time.Now()};
    const int partsCounted = unrecordedParts_ ? unrecordedParts_->Count : 0;
    try {
        const bool archived = RecordSend(sms, partsCounted, components_.Files.DataFolder,
                                         components_.Settings, userIni, window_);
        unrecordedParts_.reset();
        return archived;
    } catch (const Exception& error) { // the parts stay unrecorded: the next record adds them
        window_.ShowStatusText(SendNotRecordedStatus(error.Message()));
        return false;
    }
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
