#include "mail/IdExceptions.h"

#include "runtime/CodePage.h"

EIdProtocolReplyError::EIdProtocolReplyError(int replyCode, const std::string& replyText)
    : EIdException(CodePageToUtf8(replyText)), replyCode_(replyCode)
{
}

EIdReplyLineTooLong::EIdReplyLineTooLong(std::size_t maxLineLength)
    : EIdTCPConnectionError(MailMessages::ReplyLineTooLong(maxLineLength))
{
}

EIdAuthNotOffered::EIdAuthNotOffered(const std::string& server)
    : EIdException(MailMessages::AuthNotOffered(server))
{
}
