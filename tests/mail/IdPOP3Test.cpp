#include "mail/IdPOP3.h"
#include "mail/IdExceptions.h"
#include "tests/mail/support/ExpectThrowMessage.h"
#include "tests/mail/support/ScriptedServer.h"

#include <gtest/gtest.h>

namespace {

using Step = ScriptedServer::Step;

void LogIn(TIdPOP3& pop3, const ScriptedServer& server, std::string user = "ich")
{
    pop3.SetUserId(std::move(user));
    pop3.SetPassword("geheim");
    ConnectTo(pop3, server);
}

} // namespace

TEST(IdPOP3Test, AcceptedLogInAndQuit)
{
    struct Case
    {
        const char* label;
        std::vector<std::string> replies;
        std::string user;
        std::vector<std::string> written;
    };
    const Case cases[] = {
        {"+OK lines",
         {"+OK POP3 bereit", "+OK", "+OK angemeldet"},
         "ich",
         {"USER ich", "PASS geheim", "Quit"}},
        {"small letters", {"+ok bereit", "+ok", "+ok"}, "ich", {"USER ich", "PASS geheim", "Quit"}},
        {"code 001 counts as +OK", {"001 bereit", "+OK", "+OK"}, "ich", {"USER ich", "PASS geheim", "Quit"}},
        {"empty user keeps the space", {"+OK", "+OK", "+OK"}, "", {"USER ", "PASS geheim", "Quit"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScriptedServer server(c.replies);
        TIdPOP3 pop3;
        LogIn(pop3, server, c.user);
        EXPECT_TRUE(pop3.IsConnected());
        pop3.CloseConnection();
        EXPECT_FALSE(pop3.IsConnected());
        EXPECT_EQ(server.Received(), c.written);
    }
}

TEST(IdPOP3Test, RefusalsSendQuitCloseAndShowTheServersLine)
{
    struct Case
    {
        const char* label;
        std::vector<std::string> replies;
        std::string message;
        int replyCode;
        std::vector<std::string> written;
    };
    const Case cases[] = {
        {"greeting refused", {"-ERR zu viele Verbindungen"}, "-ERR zu viele Verbindungen", 0, {"Quit"}},
        {"user refused", {"+OK", "-ERR unbekannt"}, "-ERR unbekannt", 0, {"USER ich", "Quit"}},
        {"password refused",
         {"+OK", "+OK", "-ERR [AUTH] Authentication failed."},
         "-ERR [AUTH] Authentication failed.",
         0,
         {"USER ich", "PASS geheim", "Quit"}},
        {"a numbered reply",
         {"+OK", "+OK", "535 nein"},
         "535 nein",
         535,
         {"USER ich", "PASS geheim", "Quit"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScriptedServer server(c.replies);
        TIdPOP3 pop3;
        const auto refusal = ThrownBy<EIdProtocolReplyError>([&] { LogIn(pop3, server); });
        ASSERT_TRUE(refusal);
        EXPECT_EQ(refusal->Message(), c.message);
        EXPECT_EQ(refusal->ReplyCode(), c.replyCode);
        EXPECT_FALSE(pop3.IsConnected());
        EXPECT_EQ(server.Received(), c.written);
    }
}

TEST(IdPOP3Test, ServerClosingDuringTheLogIn)
{
    ScriptedServer server({Step::Reply("+OK"), Step::ReadLine(), Step::Close()});
    TIdPOP3 pop3;
    EXPECT_THROW_MESSAGE(LogIn(pop3, server), EIdConnClosedGracefully,
                         "Die Verbindung wurde erfolgreich geschlossen.");
    EXPECT_FALSE(pop3.IsConnected());
}

TEST(IdPOP3Test, RefusedConnection)
{
    RefusingPort port;
    TIdPOP3 pop3;
    EXPECT_THROW_MESSAGE(ConnectTo(pop3, port), EIdSocketError,
                         "Socket-Fehler # 10061\r\nVerbindung abgelehnt.");
    EXPECT_FALSE(pop3.IsConnected());
}

TEST(IdPOP3Test, CloseOnAClosedClientRaises)
{
    TIdPOP3 pop3;
    EXPECT_EQ(pop3.Port(), 110);
    EXPECT_THROW(pop3.CloseConnection(), EIdConnClosedGracefully);
}
