#pragma once

#include "mail/IdExceptions.h"

#include <string>

// The errors of the TLS layer, their German messages in MailMessages. Each names the server as the
// user typed it (code-page text, shown as UTF-8); where the server's certificate was seen, the
// message ends with its SHA-256 fingerprint, which the user may pin.
class EIdTlsError : public EIdException
{
public:
    // The certificate failed the check with the X509_V_ERR_* code verifyError.
    static EIdTlsError UntrustedCertificate(const std::string& server, long verifyError,
                                            const std::string& fingerprint);
    // The handshake or the encrypted connection failed; sslError is the first code of OpenSSL's
    // error queue (0 when it is empty).
    static EIdTlsError Failed(const std::string& server, unsigned long sslError);
    // The server closed the connection before the handshake was complete.
    static EIdTlsError ClosedDuringHandshake(const std::string& server);
    // STARTTLS is configured and the server does not list it; nothing was sent.
    static EIdTlsError StartTlsNotOffered(const std::string& server);
    // The server sent bytes after agreeing to STARTTLS and before the handshake.
    static EIdTlsError PlainBytesAfterStartTls(const std::string& server);

private:
    using EIdException::EIdException;
};
