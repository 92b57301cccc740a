#include "mail/IdMessageClient.h"

#include "mail/IdExceptions.h"
#include "mail/IdIso2022Jp.h"
#include "mail/MailMessages.h"

namespace {

// RFC 5321 4.5.2: a line that begins with "." gets one more, so that no line of the message can
// read as the end of the data.
std::string DotStuffed(std::string line)
{
    if (!line.empty() && line.front() == '.') line.insert(0, 1, '.');
    return line;
}

TIdPartCounts CountParts(const TIdMessage& message)
{
    TIdPartCounts counts;
    for (const auto& part : message.MessageParts()) {
        if (dynamic_cast<const TIdText*>(part.get())) ++counts.TextParts;
        if (dynamic_cast<const TIdAttachment*>(part.get())) {
            ++counts.Attachments;
            if (part->ExtraHeaders().IndexOfName("Content-ID") >= 0) ++counts.RelatedAttachments;
        }
    }
    return counts;
}

bool IsMultipart(const TIdPartCounts& counts)
{
    return counts.Attachments > 0 || counts.TextParts > 1;
}

} // namespace

void TIdMessageClient::WriteMessage(const TIdMessage& message)
{
    TIdPartCounts counts = WriteHeader(message);
    if (counts.TextParts == 1) throw EIdTextInvalidCount();
    WriteLine("");
    WriteBody(message, counts);
}

TIdPartCounts TIdMessageClient::WriteHeader(const TIdMessage& message)
{
    TIdPartCounts counts = CountParts(message);
    if (IsMultipart(counts)) throw EIdMessagePartsNotSupported();
    const TIdHeaderList header = message.BuildHeader();
    for (const std::string& line : header.Lines()) WriteLine(DotStuffed(line));
    return counts;
}

void TIdMessageClient::WriteBody(const TIdMessage& message, const TIdPartCounts& counts)
{
    const TMailCharset charset = MailCharsetForLocale();
    BeginProgress(workWriting, 0);
    try {
        if (!IsMultipart(counts)) {
            ReportStatus(statusText, MailMessages::EncodingTextStatus);
            for (const std::string& line : message.Body()) {
                std::string stuffed = DotStuffed(line);
                if (charset.Transfer == TransferKind::transferIso2022Jp)
                    stuffed = ShiftJisToIso2022Jp(stuffed);
                WriteLine(stuffed);
            }
        }
    } catch (...) {
        EndProgress(workWriting);
        throw;
    }
    EndProgress(workWriting);
}

void TIdMessageClient::QuitAndRelease()
{
    try {
        WriteLine("Quit");
    } catch (...) {
        TIdTCPClient::CloseConnection();
        throw;
    }
    TIdTCPClient::CloseConnection();
}

void TIdMessageClient::CloseAfterFailure()
{
    if (Security() != TIdSecurity::None) return ReleaseSocket();
    try {
        CloseConnection();
    } catch (...) {
    }
}
