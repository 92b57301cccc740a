#include "mail/IdExceptions.h"
#include "mail/IdTCPClient.h"
#include "tests/mail/support/ExpectThrowMessage.h"
#include "tests/mail/support/ScriptedServer.h"

#include <gtest/gtest.h>

namespace {

using Step = ScriptedServer::Step;

void ConnectTo(TIdTCPClient& client, const ScriptedServer& server)
{
    client.SetHost("127.0.0.1");
    client.SetPort(server.Port());
    client.OpenConnection();
}

} // namespace

TEST(IdTCPConnectionTest, DialogueIsWrittenAndAnswered)
{
    ScriptedServer server({"220 gw ready", "250 ok"});
    TIdTCPClient client;
    ConnectTo(client, server);
    EXPECT_EQ(client.ReadReply({220}), 220);
    EXPECT_EQ(client.SendCommand("Rset", 250), 250);
    client.CloseConnection();
    EXPECT_EQ(server.Received(), Lines({"Rset"}));
}
