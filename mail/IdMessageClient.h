#pragma once

#include "mail/IdMessage.h"
#include "mail/IdTCPClient.h"

#include <string>

// The part counts the header writer hands to the body writer.
struct TIdPartCounts
{
    int TextParts = 0;
    int Attachments = 0;
    int RelatedAttachments = 0; // attachments with a "Content-ID" line
};

// A TCP client that writes Internet messages on its connection, and holds the log-in of the
// protocol clients built on it.
class TIdMessageClient : public TIdTCPClient
{
public:
    // The header lines, a blank line and the body lines, each line dot-stuffed (RFC 5321 4.5.2).
    // Writes neither the end-of-data line nor any command. Raises what the connection raises,
    // EIdFailedToRetreiveTimeZoneInfo before any line is written, EIdTextInvalidCount after the
    // header of a message with exactly one text part, and EIdMessagePartsNotSupported (nothing
    // written) for attachments or several text parts.
    virtual void WriteMessage(const TIdMessage& message);
    virtual TIdPartCounts WriteHeader(const TIdMessage& message);
    // The body lines inside one workWriting progress bracket.
    virtual void WriteBody(const TIdMessage& message, const TIdPartCounts& counts);

    const std::string& UserId() const { return userId_; }
    void SetUserId(std::string userId) { userId_ = std::move(userId); }
    const std::string& Password() const { return password_; }
    void SetPassword(std::string password) { password_ = std::move(password); }

protected:
    // Writes "Quit" without reading a reply, then always releases the socket; an error of the
    // write propagates after the release.
    void QuitAndRelease();
    // Closes after a failed log-in, keeping the log-in's error for the caller: the most derived way
    // on a plain connection; on one meant to be encrypted it only releases the socket, so that
    // nothing more goes out (in plain text, should the encryption not stand).
    void CloseAfterFailure();

private:
    std::string userId_;
    std::string password_;
};
