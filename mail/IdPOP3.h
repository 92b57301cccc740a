#pragma once

#include "mail/IdMessageClient.h"

// The POP3 client (RFC 1939), used only to log in and out again (POP before SMTP).
class TIdPOP3 : public TIdMessageClient
{
public:
    TIdPOP3();

    // Connects, reads the "+OK" greeting and logs in with "USER " and "PASS ". A refusal raises
    // EIdProtocolReplyError with the server's line after "Quit" and the close.
    void OpenConnection() override;
    // Writes "Quit" (its reply is never read) and releases the socket; on a closed connection
    // this raises EIdConnClosedGracefully.
    void CloseConnection() override;
};
