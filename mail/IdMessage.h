#pragma once

#include "mail/IdEMailAddress.h"
#include "mail/IdHeaderList.h"
#include "mail/IdMessageParts.h"
#include "runtime/Clock.h"

#include <optional>
#include <string>
#include <vector>

enum class TIdMessagePriority { mpHighest = 0, mpHigh = 1, mpNormal = 2, mpLow = 3, mpLowest = 4 };

// An Internet message to be written: its addresses, subject and other header values, extra header
// lines and body lines. All text is in the system code page. The clock gives the "Date" line its
// time and zone while no date is set.
class TIdMessage
{
public:
    explicit TIdMessage(const Clock& clock) : clock_(clock) {}

    // Back to an empty message: no addresses, subject, headers, parts or body; normal priority;
    // the date taken from the clock.
    void Clear();

    // The header lines in their fixed order: From, Subject, To, Cc, Newsgroups, Content-Type,
    // MIME-Version, Content-Transfer-Encoding, Sender, Reply-To, Organization,
    // Disposition-Notification-To, References, Date, X-Priority, X-Library, then ExtraHeaders.
    // A field with an empty value is left out. Raises EIdFailedToRetreiveTimeZoneInfo.
    TIdHeaderList BuildHeader() const;

    std::vector<std::string>& Body() { return body_; }
    const std::vector<std::string>& Body() const { return body_; }
    TIdEMailAddressList& Recipients() { return recipients_; }
    const TIdEMailAddressList& Recipients() const { return recipients_; }
    TIdEMailAddressList& CCList() { return ccList_; }
    const TIdEMailAddressList& CCList() const { return ccList_; }
    TIdEMailAddressList& BccList() { return bccList_; }
    const TIdEMailAddressList& BccList() const { return bccList_; }
    TIdEMailAddressList& ReplyTo() { return replyTo_; }
    const TIdEMailAddressList& ReplyTo() const { return replyTo_; }
    TIdEMailAddressItem& From() { return from_; }
    const TIdEMailAddressItem& From() const { return from_; }
    TIdEMailAddressItem& Sender() { return sender_; }
    const TIdEMailAddressItem& Sender() const { return sender_; }
    TIdEMailAddressItem& ReceiptRecipient() { return receiptRecipient_; }
    const TIdEMailAddressItem& ReceiptRecipient() const { return receiptRecipient_; }
    TIdHeaderList& ExtraHeaders() { return extraHeaders_; }
    const TIdHeaderList& ExtraHeaders() const { return extraHeaders_; }
    std::vector<std::string>& NewsGroups() { return newsGroups_; }
    TIdMessageParts& MessageParts() { return parts_; }
    const TIdMessageParts& MessageParts() const { return parts_; }

    const std::string& Subject() const { return subject_; }
    void SetSubject(std::string subject) { subject_ = std::move(subject); }
    const std::string& Organization() const { return organization_; }
    void SetOrganization(std::string organization) { organization_ = std::move(organization); }
    const std::string& References() const { return references_; }
    void SetReferences(std::string references) { references_ = std::move(references); }
    const std::string& ContentType() const { return contentType_; }
    void SetContentType(std::string contentType) { contentType_ = std::move(contentType); }
    const std::string& CharSet() const { return charSet_; }
    void SetCharSet(std::string charSet) { charSet_ = std::move(charSet); }
    const std::string& ContentTransferEncoding() const { return contentTransferEncoding_; }
    void SetContentTransferEncoding(std::string encoding) { contentTransferEncoding_ = std::move(encoding); }
    TIdMessagePriority Priority() const { return priority_; }
    void SetPriority(TIdMessagePriority priority) { priority_ = priority; }

    // The date of the "Date" line; none means "now" (UseNowForDate).
    const std::optional<DateTime>& Date() const { return date_; }
    void SetDate(std::optional<DateTime> date) { date_ = date; }
    bool UseNowForDate() const { return !date_; }
    void SetUseNowForDate() { date_.reset(); }

private:
    std::string ContentTypeValue() const;

    const Clock& clock_;
    std::vector<std::string> body_;
    TIdEMailAddressList bccList_;
    std::string charSet_;
    TIdEMailAddressList ccList_;
    std::string contentType_;
    std::string contentTransferEncoding_;
    std::optional<DateTime> date_;
    TIdHeaderList extraHeaders_;
    TIdEMailAddressItem from_;
    std::vector<std::string> newsGroups_;
    std::string organization_;
    TIdMessagePriority priority_ = TIdMessagePriority::mpNormal;
    TIdEMailAddressItem receiptRecipient_;
    TIdEMailAddressList recipients_;
    std::string references_;
    TIdEMailAddressList replyTo_;
    std::string subject_;
    TIdEMailAddressItem sender_;
    TIdMessageParts parts_;
};
