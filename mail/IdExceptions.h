#pragma once

#include "runtime/Exception.h"

#include <string>

// The errors of the mail transport with their German messages, all in one place. Every class
// derives from EIdException; the application's error guard shows the message unchanged.

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

// "Socket-Fehler # <number>", CR LF, then the German text for that Windows Sockets error number
// (nothing after the line break for numbers without a text, such as the name lookup errors).
std::string SocketErrorText(int errorNumber);

class EIdSocketError : public EIdException
{
public:
    explicit EIdSocketError(int errorNumber)
        : EIdException(SocketErrorText(errorNumber)), number_(errorNumber)
    {
    }
    int ErrorNumber() const { return number_; }

private:
    int number_;
};

class EIdInvalidSocket : public EIdException
{
public:
    EIdInvalidSocket() : EIdException("Socket kann nicht zugewiesen werden.") {}
};

class EIdSocketHandleError : public EIdException
{
public:
    using EIdException::EIdException;
};

class EIdCouldNotBindSocket : public EIdSocketHandleError
{
public:
    EIdCouldNotBindSocket()
        : EIdSocketHandleError(
              "Socket konnte nicht gebunden werden. Adresse und Port werden bereits benutzt.")
    {
    }
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
    EIdStackSetSizeExceeded() : EIdStackError("Mengengröße überschritten.") {}
};

// ---- Line connection ----

// The peer closed the connection, or an operation needs an open socket and there is none.
class EIdConnClosedGracefully : public EIdSilentException
{
public:
    EIdConnClosedGracefully() : EIdSilentException("Die Verbindung wurde erfolgreich geschlossen.") {}
};

class EIdAlreadyConnected : public EIdException
{
public:
    EIdAlreadyConnected() : EIdException("Verbindung besteht bereits.") {}
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
    EIdNotEnoughDataInBuffer() : EIdTCPConnectionError("Nicht genügend Daten im Puffer.") {}
};

class EIdNoDataToRead : public EIdTCPConnectionError
{
public:
    EIdNoDataToRead() : EIdTCPConnectionError("Keine Daten für den Lesezugriff.") {}
};

// A line to be written holds CR or LF, which would let it smuggle a further command onto the wire.
class EIdLineBreakInLine : public EIdTCPConnectionError
{
public:
    EIdLineBreakInLine()
        : EIdTCPConnectionError("Eine Zeile an den Server darf keinen Zeilenumbruch enthalten; "
                                "es wurde nichts gesendet.")
    {
    }
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
    EIdAuthNeedsTls()
        : EIdException("Die Anmeldung am Postausgangsserver (SMTP AUTH) ist nur über eine verschlüsselte "
                       "Verbindung möglich; es wurde nichts gesendet.")
    {
    }
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
    EIdFailedToRetreiveTimeZoneInfo()
        : EIdException("Einlesen der Zeitzonen-Informationen ist fehlgeschlagen.")
    {
    }
};

class EIdMessageException : public EIdException
{
public:
    using EIdException::EIdException;
};

class EIdTextInvalidCount : public EIdMessageException
{
public:
    EIdTextInvalidCount() : EIdMessageException("Ungültige Anzahl für Text. TIdText muß größer als 1 sein") {}
};

// Messages with attachments or several text parts are not written: the program never builds one,
// and a message without its parts must not leave as if it were complete.
class EIdMessagePartsNotSupported : public EIdMessageException
{
public:
    EIdMessagePartsNotSupported()
        : EIdMessageException(
              "Nachrichten mit Anlagen oder mehreren Textteilen können nicht gesendet werden.")
    {
    }
};
