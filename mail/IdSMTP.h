#pragma once

#include "mail/IdMessageClient.h"

#include <string>
#include <vector>

// atLogin: AUTH LOGIN; atAutoSelect: AUTH PLAIN when the server lists it, else AUTH LOGIN.
enum class TAuthenticationType { atNone = 0, atLogin = 1, atAutoSelect = 2 };

// The SMTP client (RFC 5321): greets the server when it connects, sends one message per Send in
// one transaction, and says "Quit" when it closes. With the default atNone it never authenticates.
// AUTH of any type goes only over TLS (ImplicitTls, or StartTls after the greeting).
class TIdSMTP : public TIdMessageClient
{
public:
    TIdSMTP();

    // Connects, reads the 220 greeting and greets with "ehlo", falling back to "Helo". With
    // StartTls: "ehlo" (no fallback), "STARTTLS" when the reply lists it, the handshake and "ehlo"
    // again, whose capabilities replace the first ones (RFC 3207 4.2). With atAutoSelect it then
    // authenticates. A wrong reply raises EIdProtocolReplyError after "Quit" and the close; on a
    // connection meant to be encrypted every failure releases the socket without "Quit"
    // (EIdTlsError when STARTTLS is not listed, nothing sent). AUTH configured without encryption
    // raises EIdAuthNeedsTls before anything is connected.
    void OpenConnection() override;
    // Writes "Quit" when connected (its reply is never read), then releases the socket.
    void CloseConnection() override;

    // atAutoSelect: PLAIN (RFC 4616, initial response as RFC 4954 4 allows) when listed, else
    // LOGIN; EIdAuthNotOffered when neither is. atLogin: LOGIN. A refusal (535) raises
    // EIdProtocolReplyError with the server's line. EIdAuthNeedsTls without TLS. Nothing for
    // atNone (false).
    virtual bool Authenticate();
    // Rset, Mail from, one RCPT to per recipient (To, Cc, Bcc), Data, the message and ".".
    // Raises EIdProtocolReplyError for the first unexpected reply, with nothing caught.
    virtual void Send(TIdMessage& message);

    void SetAuthenticationType(TAuthenticationType type) { authenticationType_ = type; }
    void SetMailAgent(std::string mailAgent) { mailAgent_ = std::move(mailAgent); }
    // The mechanism of the last successful Authenticate ("PLAIN", "LOGIN"); empty before.
    const std::string& AuthMechanism() const { return authMechanism_; }

    // Part of the component's interface that the program itself does not call (atLogin, too).
    TAuthenticationType AuthenticationType() const { return authenticationType_; }
    const std::string& MailAgent() const { return mailAgent_; }
    virtual bool IsAuthSchemeAvailable(TAuthenticationType kind) const;
    // The scheme names the server announced in its "ehlo" reply, upper case, each once.
    const std::vector<std::string>& AuthSchemes() const { return authSchemes_; }

private:
    void Greet();
    void Ehlo();
    void StartTlsAfterEhlo();
    bool Lists(const std::string& capability) const;
    void CollectAuthSchemes();
    bool HasAuthScheme(const std::string& name) const;
    void AuthLogin();

    TAuthenticationType authenticationType_ = TAuthenticationType::atNone;
    std::string mailAgent_;
    std::vector<std::string> authSchemes_;
    bool authenticated_ = false;
    std::string authMechanism_;
};
