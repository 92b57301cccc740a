#include "mail/IdExceptions.h"
#include "mail/IdPOP3.h"
#include "mail/IdSMTP.h"
#include "tests/mail/support/ScriptedServer.h"

#include <gtest/gtest.h>

// Every wait of a protocol client ends within its limits, with nothing written: a connection
// request that is never answered, and a greeting whose bytes come in time one by one while the
// whole takes several times the reply limit.
namespace {

using Step = ScriptedServer::Step;

template <class Client, class Peer> void ExpectTimeOutWithNothingWritten(Peer& peer)
{
    Client client;
    client.SetHost("127.0.0.1");
    client.SetPort(peer.Port());
    client.SetUserId("ich");
    client.SetConnectTimeout(100);
    client.SetReplyTimeout(4 * TrickleGapMs);
    try {
        client.OpenConnection();
        ADD_FAILURE() << "no exception";
    } catch (const EIdSocketError& e) {
        EXPECT_EQ(e.ErrorNumber(), 10060);
    }
    EXPECT_FALSE(client.IsConnected());
    EXPECT_EQ(peer.Received(), std::vector<std::string>{});
}

template <class Client> void ExpectEveryWaitBounded(const std::string& greeting)
{
    {
        SCOPED_TRACE("no answer to the connection request");
        UnansweredListener listener;
        ExpectTimeOutWithNothingWritten<Client>(listener);
    }
    {
        SCOPED_TRACE("a greeting that trickles in");
        ScriptedServer server({Step::Trickle(greeting + "\r\n")});
        ExpectTimeOutWithNothingWritten<Client>(server);
    }
}

} // namespace

TEST(HangTest, Smtp)
{
    ExpectEveryWaitBounded<TIdSMTP>("220 gw.example.de ESMTP");
}

TEST(HangTest, Pop3)
{
    ExpectEveryWaitBounded<TIdPOP3>("+OK POP3-Dienst bereit");
}
