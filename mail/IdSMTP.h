#pragma once

#include "mail/IdMessageClient.h"

#include <string>
#include <vector>

// atLogin: AUTH LOGIN; atAutoSelect: AUTH PLAIN when the server lists it, else AUTH LOGIN.
enum class TAuthenticationType { atNone = 0, atLogin = 1, atAutoSelect = 2 };

// The SMTP client (RFC 5321): greets the server when it connects, sends one message per Send in
// one transaction, and says "Quit" when it closes. With the default atNone it never authenticates.
class TIdSMTP : public TIdMessageClient
{
public:
    TIdSMTP();

    // Connects, reads the 220 greeting and greets with "ehlo", falling back to "Helo". A wrong
    // reply raises EIdProtocolReplyError after "Quit" and the close.
    void OpenConnection() override;
    // Writes "Quit" when connected (its reply is never read), then releases the socket.
    void CloseConnection() override;

    virtual bool IsAuthSchemeAvailable(TAuthenticationType kind) const;
    // AUTH LOGIN for atLogin (true); nothing for atNone (false).
    virtual bool Authenticate();
    // Rset, Mail from, one RCPT to per recipient (To, Cc, Bcc), Data, the message and ".".
    // Raises EIdProtocolReplyError for the first unexpected reply, with nothing caught.
    virtual void Send(TIdMessage& message);

    TAuthenticationType AuthenticationType() const { return authenticationType_; }
    void SetAuthenticationType(TAuthenticationType type) { authenticationType_ = type; }
    const std::string& MailAgent() const { return mailAgent_; }
    void SetMailAgent(std::string mailAgent) { mailAgent_ = std::move(mailAgent); }
    // The scheme names the server announced in its "ehlo" reply, upper case, each once.
    const std::vector<std::string>& AuthSchemes() const { return authSchemes_; }
    // The mechanism of the last successful Authenticate ("PLAIN", "LOGIN"); empty before.
    const std::string& AuthMechanism() const { return authMechanism_; }

private:
    void Greet();
    void CollectAuthSchemes();

    TAuthenticationType authenticationType_ = TAuthenticationType::atNone;
    std::string mailAgent_;
    std::vector<std::string> authSchemes_;
    bool authenticated_ = false;
    std::string authMechanism_;
};
