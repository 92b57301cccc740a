#pragma once

#include "mail/IdMessageClient.h"

// The POP3 client (RFC 1939), used only to log in and out again (POP before SMTP).
class TIdPOP3 : public TIdMessageClient
{
public:
    TIdPOP3();

    // Connects, reads the "+OK" greeting, with StartTls sends "STLS" and runs the handshake (RFC
    // 2595 4), and logs in with "USER " and "PASS ". A refusal raises EIdProtocolReplyError with
    // the server's line after "Quit" and the close; on a connection meant to be encrypted no
    // "Quit" is sent.
    void OpenConnection() override;
    // Writes "Quit" (its reply is never read) and releases the socket; on a closed connection
    // this raises EIdConnClosedGracefully.
    void CloseConnection() override;
};
