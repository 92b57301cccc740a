#pragma once

#include "mail/MailMessages.h"
#include "runtime/Exception.h"

#include <string>

// The errors of the mail transport, their German messages in MailMessages. Every class derives
// from EIdException; the application's error guard shows the message unchanged.

class EIdException : public Exception
{
public:
    using Exception::Exception;
};

// An error that needs no attention of its own, such as the peer closing the connection.
class EIdSilentException : public EIdException
{
public:
    using EIdException::EIdException;
};

// ---- Socket layer ----

// The message is MailMessages::SocketErrorText of the error number.
class EIdSocketError : public EIdException
{
public:
    explicit EIdSocketError(int errorNumber)
        : EIdException(MailMessages::SocketErrorText(errorNumber)), number_(errorNumber)
    {
    }
    int ErrorNumber() const { return number_; }

private:
    int number_;
};

class EIdInvalidSocket : public EIdException
{
public:
    EIdInvalidSocket() : EIdException(MailMessages::InvalidSocket) {}
};

class EIdSocketHandleError : public EIdException
{
public:
    using EIdException::EIdException;
};

class EIdCouldNotBindSocket : public EIdSocketHandleError
{
public:
    EIdCouldNotBindSocket() : EIdSocketHandleError(MailMessages::CouldNotBindSocket) {}
};

class EIdStackError : public EIdException
{
public:
    using EIdException::EIdException;
};

// A wait for readability is asked for more sockets than one wait can hold (64).
class EIdStackSetSizeExceeded : public EIdStackError
{
public:
    EIdStackSetSizeExceeded() : EIdStackError(MailMessages::StackSetSizeExceeded) {}
};

// ---- Line connection ----

// The peer closed the connection, or an operation needs an open socket and there is none.
class EIdConnClosedGracefully : public EIdSilentException
{
public:
    EIdConnClosedGracefully() : EIdSilentException(MailMessages::ConnClosedGracefully) {}
};

class EIdAlreadyConnected : public EIdException
{
public:
    EIdAlreadyConnected() : EIdException(MailMessages::AlreadyConnected) {}
};

// A reply code that is not among the expected ones. The message is the server's last reply line,
// trimmed, as it came (code-page text, shown as UTF-8).
class EIdProtocolReplyError : public EIdException
{
public:
    EIdProtocolReplyError(int replyCode, const std::string& replyText);
    int ReplyCode() const { return replyCode_; }

private:
    int replyCode_;
};

class EIdTCPConnectionError : public EIdException
{
public:
    using EIdException::EIdException;
};

class EIdNotEnoughDataInBuffer : public EIdTCPConnectionError
{
public:
    EIdNotEnoughDataInBuffer() : EIdTCPConnectionError(MailMessages::NotEnoughDataInBuffer) {}
};

class EIdNoDataToRead : public EIdTCPConnectionError
{
public:
    EIdNoDataToRead() : EIdTCPConnectionError(MailMessages::NoDataToRead) {}
};

// A line to be written holds CR or LF, which would let it smuggle a further command onto the wire.
class EIdLineBreakInLine : public EIdTCPConnectionError
{
public:
    EIdLineBreakInLine() : EIdTCPConnectionError(MailMessages::LineBreakInLine) {}
};

// The server sent a line longer than the connection accepts; the connection has been closed.
class EIdReplyLineTooLong : public EIdTCPConnectionError
{
public:
    explicit EIdReplyLineTooLong(std::size_t maxLineLength);
};

// ---- SMTP AUTH ----

// AUTH is configured on a connection that is not meant to be encrypted; nothing was connected
// or sent.
class EIdAuthNeedsTls : public EIdException
{
public:
    EIdAuthNeedsTls() : EIdException(MailMessages::AuthNeedsTls) {}
};

// AUTH is configured and the server lists neither PLAIN nor LOGIN (code-page host name, shown as
// UTF-8).
class EIdAuthNotOffered : public EIdException
{
public:
    explicit EIdAuthNotOffered(const std::string& server);
};

// ---- Message writer and header text ----

// The local zone's offset from UTC cannot be read, so no "Date" line can be written.
class EIdFailedToRetreiveTimeZoneInfo : public EIdException
{
public:
    EIdFailedToRetreiveTimeZoneInfo() : EIdException(MailMessages::FailedToRetreiveTimeZoneInfo) {}
};

class EIdMessageException : public EIdException
{
public:
    using EIdException::EIdException;
};

class EIdTextInvalidCount : public EIdMessageException
{
public:
    EIdTextInvalidCount() : EIdMessageException(MailMessages::TextInvalidCount) {}
};

// Messages with attachments or several text parts are not written: the program never builds one,
// and a message without its parts must not leave as if it were complete.
class EIdMessagePartsNotSupported : public EIdMessageException
{
public:
    EIdMessagePartsNotSupported() : EIdMessageException(MailMessages::MessagePartsNotSupported) {}
};
