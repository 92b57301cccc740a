#include "mail/IdMessage.h"

#include "mail/IdGlobal.h"

namespace {

std::string Joined(const std::vector<std::string>& entries, std::string_view separator)
{
    std::string out;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) out += separator;
        out += entries[i];
    }
    return out;
}

} // namespace

void TIdMessage::Clear()
{
    ccList_.Clear();
    bccList_.Clear();
    date_.reset();
    from_ = {};
    newsGroups_.clear();
    organization_.clear();
    references_.clear();
    replyTo_.Clear();
    subject_.clear();
    recipients_.Clear();
    priority_ = TIdMessagePriority::mpNormal;
    receiptRecipient_ = {};
    contentType_.clear();
    charSet_.clear();
    contentTransferEncoding_.clear();
    sender_ = {};
    extraHeaders_.Clear();
    parts_.clear();
    body_.clear();
}

// The type and the charset joined by ";"; either alone when the other is empty, so that a type
// without a charset is not followed by a bare ";".
std::string TIdMessage::ContentTypeValue() const
{
    if (contentType_.empty() || charSet_.empty()) return contentType_ + charSet_;
    return contentType_ + ";" + charSet_;
}

TIdHeaderList TIdMessage::BuildHeader() const
{
    const TMailCharset charset = MailCharsetForLocale();
    const TByteSet noSpecials;
    TIdHeaderList header;
    header.SetValue("From", FormatAddressItem(from_, charset));
    header.SetValue("Subject", EncodeHeaderText(subject_, noSpecials, charset));
    header.SetValue("To", FormatAddressList(recipients_, charset));
    header.SetValue("Cc", FormatAddressList(ccList_, charset));
    header.SetValue("Newsgroups", Joined(newsGroups_, ","));
    header.SetValue("Content-Type", ContentTypeValue());
    if (!parts_.empty()) header.SetValue("MIME-Version", "1.0");
    header.SetValue("Content-Transfer-Encoding", contentTransferEncoding_);
    header.SetValue("Sender", sender_.Text());
    header.SetValue("Reply-To", FormatAddressList(replyTo_, charset));
    header.SetValue("Organization", EncodeHeaderText(organization_, noSpecials, charset));
    header.SetValue("Disposition-Notification-To", FormatAddressItem(receiptRecipient_, charset));
    header.SetValue("References", references_);
    header.SetValue("Date", DateTimeToMailDate(date_.value_or(clock_.Now()), clock_));
    header.SetValue("X-Priority", std::to_string(static_cast<int>(priority_) + 1));
    header.SetValue("X-Library", "Tickerpost 2.0");
    for (const std::string& line : extraHeaders_.Lines()) header.Add(line);
    return header;
}
