#include "mail/IdTCPClient.h"
#include "mail/IdExceptions.h"
#include "tests/mail/support/ExpectThrowMessage.h"
#include "tests/mail/support/ScriptedServer.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <stdexcept>

namespace {

// Records the status reports and the connection events of a client in order.
struct ConnectionLog
{
    explicit ConnectionLog(TIdTCPClient& client)
    {
        client.OnStatus = [this](TIdComponent&, TIdStatus, const std::string& text) {
            events.push_back(text);
        };
        client.OnConnected = [this](TIdComponent&) { events.push_back("OnConnected"); };
        client.OnDisconnected = [this](TIdComponent&) { events.push_back("OnDisconnected"); };
        client.OnWorkBegin = [this](TIdComponent&, TWorkMode, int) { events.push_back("OnWorkBegin"); };
        client.OnWork = [this](TIdComponent&, TWorkMode, int) { events.push_back("OnWork"); };
        client.OnWorkEnd = [this](TIdComponent&, TWorkMode) { events.push_back("OnWorkEnd"); };
    }
    std::vector<std::string> events;
};

bool NoDelayIsOn(TIdTCPClient& client)
{
    int value = 0;
    socklen_t length = sizeof value;
    ::getsockopt(static_cast<int>(client.SocketHandle().Handle()), IPPROTO_TCP, TCP_NODELAY, &value, &length);
    return value != 0;
}

} // namespace

TEST(IdTCPClientTest, ConnectAndCloseReportInOrder)
{
    ScriptedServer server({"220 gw", "250 ok"});
    TIdTCPClient client;
    ConnectionLog log(client);
    client.SetHost("127.0.0.1");
    client.SetPort(server.Port());
    EXPECT_FALSE(client.IsConnected());
    client.OpenConnection();
    EXPECT_TRUE(client.IsConnected());
    client.ReadReply({220});
    client.SendCommand("Rset", 250);
    client.CloseConnection();
    EXPECT_FALSE(client.IsConnected());
    EXPECT_EQ(log.events, (std::vector<std::string>{"Verbinden mit 127.0.0.1.", "Verbunden.", "OnConnected",
                                                    "Verbindung zu 127.0.0.1 wird getrennt.",
                                                    "Nicht verbunden.", "OnDisconnected"}));
}

TEST(IdTCPClientTest, LocalhostConnectsWithoutLookupAndRecordsBothEnds)
{
    for (const char* host : {"localhost", "LocalHost", "LOCALHOST"}) {
        SCOPED_TRACE(host);
        ScriptedServer server({});
        TIdTCPClient client;
        ConnectionLog log(client);
        client.SetHost(host);
        client.SetPort(server.Port());
        client.OpenConnection();
        EXPECT_EQ(log.events.front(), "Verbinden mit 127.0.0.1.");
        const TIdSocketHandle& handle = client.SocketHandle();
        EXPECT_EQ(handle.PeerAddress(), "127.0.0.1");
        EXPECT_EQ(handle.PeerPort(), server.Port());
        EXPECT_EQ(handle.LocalAddress(), "127.0.0.1");
        EXPECT_NE(handle.LocalPort(), 0);
    }
}

TEST(IdTCPClientTest, OpenOnAnOpenConnectionIsRefusedAndLeavesItOpen)
{
    ScriptedServer server({"220 gw"});
    TIdTCPClient client;
    client.SetHost("127.0.0.1");
    client.SetPort(server.Port());
    client.OpenConnection();
    const int localPort = client.SocketHandle().LocalPort();
    EXPECT_THROW_MESSAGE(client.OpenConnection(), EIdAlreadyConnected, "Verbindung besteht bereits.");
    EXPECT_TRUE(client.IsConnected());
    EXPECT_EQ(client.SocketHandle().LocalPort(), localPort);
    EXPECT_EQ(client.ReadReply({220}), 220);
}

TEST(IdTCPClientTest, RefusedConnectionIs10061AndLeavesTheClientClosed)
{
    RefusingPort port;
    TIdTCPClient client;
    ConnectionLog log(client);
    client.SetHost("127.0.0.1");
    client.SetPort(port.Port());
    EXPECT_THROW_MESSAGE(client.OpenConnection(), EIdSocketError,
                         "Socket-Fehler # 10061\r\nVerbindung abgelehnt.");
    EXPECT_FALSE(client.IsConnected());
    EXPECT_EQ(std::count(log.events.begin(), log.events.end(), "OnConnected"), 0);
}

TEST(IdTCPClientTest, UnknownHostIsReportedAsResolvingAndFailsWith11001)
{
    TIdTCPClient client;
    ConnectionLog log(client);
    client.SetHost("kein host"); // a blank makes it no host name; nothing is asked of a name server
    client.SetPort(25);
    EXPECT_THROW_MESSAGE(client.OpenConnection(), EIdSocketError, "Socket-Fehler # 11001\r\n");
    EXPECT_EQ(log.events.front(), "Host-Name kein host wird aufgelöst.");
    EXPECT_FALSE(client.IsConnected());
}

TEST(IdTCPClientTest, FailurePathUsesTheMostDerivedCloseAndKeepsTheFirstError)
{
    struct QuittingClient : TIdTCPClient
    {
        void CloseConnection() override
        {
            ++closes;
            throw std::runtime_error("Quit failed");
        }
        int closes = 0;
    };
    RefusingPort port;
    QuittingClient client;
    client.SetHost("127.0.0.1");
    client.SetPort(port.Port());
    EXPECT_THROW_MESSAGE(client.OpenConnection(), EIdSocketError,
                         "Socket-Fehler # 10061\r\nVerbindung abgelehnt.");
    EXPECT_EQ(client.closes, 1);
    EXPECT_FALSE(client.SocketHandle().IsOpen());
}

TEST(IdTCPClientTest, ErrorOfTheConnectedHandlerLeavesTheSocketOpen)
{
    ScriptedServer server({});
    TIdTCPClient client;
    client.OnConnected = [](TIdComponent&) { throw std::runtime_error("handler"); };
    client.SetHost("127.0.0.1");
    client.SetPort(server.Port());
    EXPECT_THROW(client.OpenConnection(), std::runtime_error);
    EXPECT_TRUE(client.IsConnected());
}

TEST(IdTCPClientTest, ReconnectsAfterAClose)
{
    ScriptedServer first({"220 first"});
    ScriptedServer second({"220 second"});
    TIdTCPClient client;
    client.SetHost("127.0.0.1");
    client.SetPort(first.Port());
    client.OpenConnection();
    client.ReadReply({220});
    client.CloseConnection();
    client.SetPort(second.Port());
    client.OpenConnection();
    EXPECT_EQ(client.ReplyText(), "220 first") << "the last reply survives until the next one";
    client.ReadReply({220});
    EXPECT_EQ(client.ReplyText(), "220 second");
}

TEST(IdTCPClientTest, NagleIsOffUnlessAskedFor)
{
    ScriptedServer server({});
    ScriptedServer server2({});
    TIdTCPClient client;
    client.SetHost("127.0.0.1");
    client.SetPort(server.Port());
    client.OpenConnection();
    EXPECT_TRUE(NoDelayIsOn(client));
    client.CloseConnection();
    client.SetUseNagle(true);
    client.SetPort(server2.Port());
    client.OpenConnection();
    EXPECT_FALSE(NoDelayIsOn(client));
}

TEST(IdTCPClientTest, ConnectingTimesOutWith10060)
{
    UnansweredListener listener;
    TIdTCPClient client;
    client.SetHost("127.0.0.1");
    client.SetPort(listener.Port());
    client.SetConnectTimeout(200);
    EXPECT_THROW_MESSAGE(client.OpenConnection(), EIdSocketError,
                         "Socket-Fehler # 10060\r\nZeitüberschreitung bei Verbindung.");
    EXPECT_FALSE(client.IsConnected());
}
