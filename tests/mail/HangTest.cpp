#include "mail/IdExceptions.h"
#include "mail/IdPOP3.h"
#include "mail/IdSMTP.h"
#include "tests/mail/support/ExpectThrowMessage.h"
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
    client.SetUserId("ich");
    client.SetConnectTimeout(100);
    client.SetReplyTimeout(4 * TrickleGapMs);
    const auto error = ThrownBy<EIdSocketError>([&] { ConnectTo(client, peer); });
    EXPECT_EQ(error ? error->ErrorNumber() : 0, 10060);
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
