#include "mail/IdExceptions.h"
#include "mail/IdTCPClient.h"
#include "tests/mail/support/EventLog.h"
#include "tests/mail/support/ExpectThrowMessage.h"
#include "tests/mail/support/ScriptedServer.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace {

using Step = ScriptedServer::Step;

const std::string ClosedMessage = "Die Verbindung wurde erfolgreich geschlossen.";

} // namespace

TEST(IdTCPConnectionTest, ReplyGrammar)
{
    struct Case
    {
        const char* label;
        std::string bytes;
        std::vector<std::string> lines;
        std::int16_t code;
    };
    const Case cases[] = {
        {"three lines of one reply",
         "250-gw\r\n250-SIZE 1000\r\n250 HELP\r\n",
         {"250-gw", "250-SIZE 1000", "250 HELP"},
         250},
        {"another code does not end it, the bare code does",
         "250-a\r\n251 b\r\n250-c\r\n250\r\n",
         {"250-a", "251 b", "250-c", "250"},
         250},
        {"code and blank trimmed to the bare code", "250-a\r\n250 \r\n", {"250-a", "250"}, 250},
        {"fourth character blank: one line",
         "220 gw-ready 250-x\r\n250 later\r\n",
         {"220 gw-ready 250-x"},
         220},
        {"blank lines skipped, leading blanks removed",
         "\r\n  \r\n\t250-a\r\n\r\n   250 b  \r\n",
         {"250-a", "250 b"},
         250},
        {"end found without regard to case", "abc-x\r\nABC y\r\n", {"abc-x", "ABC y"}, NegativeReply},
        {"code from the last line only", "250-a\r\n551\r\n", {"250-a", "551"}, 551},
        {"+OK", "+OK POP3 ready\r\n", {"+OK POP3 ready"}, PositiveReply},
        {"+ok in small letters", "+ok\r\n", {"+ok"}, PositiveReply},
        {"-ERR", "-ERR falsches Passwort\r\n", {"-ERR falsches Passwort"}, NegativeReply},
        {"-err in small letters", "-err nein\r\n", {"-err nein"}, NegativeReply},
        {"three letters", "abc def\r\n", {"abc def"}, NegativeReply},
        {"two digits", "25\r\n", {"25"}, 25},
        {"500", "500 Syntaxfehler\r\n", {"500 Syntaxfehler"}, 500},
        {"LF alone ends a line", "220 gw\n", {"220 gw"}, 220},
        {"CR inside a line stays", "220 a\rb\r\n", {"220 a\rb"}, 220},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScriptedServer server({Step::Send(c.bytes)});
        TIdTCPClient client;
        ConnectTo(client, server);
        EXPECT_EQ(client.ReadReply({}), c.code);
        EXPECT_EQ(client.ReplyLines(), c.lines);
        EXPECT_EQ(client.ReplyText(), c.lines.back());
        EXPECT_EQ(client.ReplyCode(), c.code);
    }
}

TEST(IdTCPConnectionTest, ExpectedCodes)
{
    ScriptedServer server({"220 gw", "-ERR nein", "-ERR nein", "251 weiter", "550 unbekannt", "250 ok"});
    TIdTCPClient client;
    ConnectTo(client, server);
    EXPECT_EQ(client.ReadReply({220}), 220);
    EXPECT_EQ(client.SendCommand("a", AnyReply), NegativeReply);
    EXPECT_EQ(client.SendCommand("b", TIdReplyCodes{}), NegativeReply);
    EXPECT_EQ(client.SendCommand("c", {250, 251}), 251);
    const auto refusal = ThrownBy<EIdProtocolReplyError>([&] { client.SendCommand("d", 250); });
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->Message(), "550 unbekannt");
    EXPECT_EQ(refusal->ReplyCode(), 550);
    EXPECT_EQ(client.ReplyText(), "550 unbekannt");
    EXPECT_TRUE(client.IsConnected()) << "a reply code never closes the connection";
    EXPECT_EQ(client.SendCommand("e", 250), 250);
    client.CloseConnection();
    EXPECT_EQ(server.Received(), Lines({"a", "b", "c", "d", "e"}));
}

TEST(IdTCPConnectionTest, ReplyErrorQuotesTheServerTextAsUtf8)
{
    ScriptedServer server({Step::Send("550 Empf\xE4nger unbekannt\r\n")});
    TIdTCPClient client;
    ConnectTo(client, server);
    EXPECT_THROW_MESSAGE(client.ReadReply({250}), EIdProtocolReplyError, "550 Empfänger unbekannt");
}

TEST(IdTCPConnectionTest, NulTextOnlyReadsAReply)
{
    ScriptedServer server({"220 gw"});
    TIdTCPClient client;
    ConnectTo(client, server);
    EXPECT_EQ(client.SendCommand(std::string_view("\0", 1), 220), 220);
    client.CloseConnection();
    EXPECT_EQ(server.ReceivedBytes(), "");
}

TEST(IdTCPConnectionTest, CompleteReplyThenCloseIsReadAndTheCloseNoticedLater)
{
    ScriptedServer server({Step::Reply("221 bye"), Step::Close()});
    TIdTCPClient client;
    int disconnected = 0;
    client.OnDisconnected = [&](TIdComponent&) { ++disconnected; };
    ConnectTo(client, server);
    server.ReceivedBytes(); // the server has closed
    EXPECT_EQ(client.ReadReply({221}), 221);
    EXPECT_TRUE(client.IsConnected()) << "nothing has been read since the close";
    EXPECT_THROW_MESSAGE(client.ReadReply({}), EIdConnClosedGracefully, ClosedMessage);
    EXPECT_FALSE(client.IsConnected());
    EXPECT_EQ(disconnected, 1);
    EXPECT_THROW_MESSAGE(client.WriteLine("Quit"), EIdConnClosedGracefully, ClosedMessage);
}

TEST(IdTCPConnectionTest, CloseInTheMiddleOfALine)
{
    ScriptedServer server({Step::Send("250-first\r\n250 unfin"), Step::Close()});
    TIdTCPClient client;
    ConnectTo(client, server);
    EXPECT_THROW_MESSAGE(client.ReadReply({}), EIdConnClosedGracefully, ClosedMessage);
    EXPECT_FALSE(client.IsConnected());
}

TEST(IdTCPConnectionTest, LinesBufferedBeforeTheCloseCanStillBeRead)
{
    ScriptedServer server({Step::Send("one\r\ntwo\r\nthr"), Step::Close()});
    TIdTCPClient client;
    ConnectTo(client, server);
    server.ReceivedBytes();
    EXPECT_EQ(client.ReadLine(), "one");
    EXPECT_EQ(client.ReadLine(), "two");
    EXPECT_THROW(client.ReadReply({}), EIdConnClosedGracefully);
}

// A connection that fails raises its socket error and is released, so that the next command
// connects afresh and a late reply cannot answer it. A server that acts after the client's first
// line cannot race the connection's set-up.
TEST(IdTCPConnectionTest, FailedConnectionsRaiseTheirSocketErrorAndAreReleased)
{
    const std::string reset = "Socket-Fehler # 10054\r\nDie Verbindung wurde von Peer zurückgesetzt.";
    const std::string timedOut = "Socket-Fehler # 10060\r\nZeitüberschreitung bei Verbindung.";
    struct Case
    {
        const char* label;
        std::vector<Step> script;
        int replyTimeoutMs;
        std::function<void(TIdTCPClient&, ScriptedServer&)> use;
        std::string message;
    };
    const auto noopUntilTheServerEnded = [](TIdTCPClient& client, ScriptedServer& server) {
        client.WriteLine("Noop");
        server.ReceivedBytes();
    };
    const Case cases[] = {
        {"reset while the client reads",
         {Step::ReadLine(), Step::Reset()},
         DefaultReplyTimeout,
         [&](TIdTCPClient& client, ScriptedServer& server) {
             noopUntilTheServerEnded(client, server);
             client.ReadReply({250});
         },
         reset},
        {"closed while the client sends",
         {Step::ReadLine(), Step::Close()},
         DefaultReplyTimeout,
         [&](TIdTCPClient& client, ScriptedServer& server) {
             noopUntilTheServerEnded(client, server);
             for (int i = 0; i < 1000; ++i) client.WriteLine("Noop");
             client.ReadReply({250});
         },
         reset},
        {"a server that never answers",
         {Step::Stall()},
         100,
         [](TIdTCPClient& client, ScriptedServer&) { client.SendCommand("Rset", 250); },
         timedOut},
        {"a send that makes no headway",
         {Step::Stall()},
         100,
         [](TIdTCPClient& client, ScriptedServer&) {
             const std::string block(1 << 20, 'x');
             for (int i = 0; i < 256; ++i) client.WriteText(block);
         },
         timedOut},
        // Every send call makes headway; only the whole write takes far longer than the limit.
        {"a peer that reads slowly",
         {Step::ReadSlowly()},
         1000,
         [](TIdTCPClient& client, ScriptedServer&) { client.WriteText(std::string(4 << 20, 'x')); },
         timedOut},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto server = ScriptedServer::FromSteps(c.script);
        TIdTCPClient client;
        client.SetReplyTimeout(c.replyTimeoutMs);
        ConnectTo(client, *server);
        EXPECT_THROW_MESSAGE(c.use(client, *server), EIdSocketError, c.message);
        EXPECT_FALSE(client.IsConnected());
    }
}

TEST(IdTCPConnectionTest, ReadLineWithItsOwnTimeoutReturnsEmptyAndKeepsTheBuffer)
{
    ScriptedServer server({Step::Send("part"), Step::Stall()});
    TIdTCPClient client;
    ConnectTo(client, server);
    EXPECT_EQ(client.ReadLine({}, 100), "");
    EXPECT_TRUE(client.LineTimedOut());
    EXPECT_EQ(client.InputBufferSize(), 4u);
    EXPECT_TRUE(client.IsConnected());
}

TEST(IdTCPConnectionTest, EndlessLineFailsWithoutExhaustingMemory)
{
    ScriptedServer server({Step::Send("220-gw\r\n"), Step::Flood()});
    TIdTCPClient client;
    ConnectTo(client, server);
    EXPECT_THROW_MESSAGE(client.ReadReply({}), EIdReplyLineTooLong,
                         "Der Server hat eine Zeile von mehr als 65536 Bytes gesendet; "
                         "die Verbindung wurde getrennt.");
    EXPECT_FALSE(client.IsConnected());
    EXPECT_EQ(client.InputBufferSize(), 0u);
}

TEST(IdTCPConnectionTest, LineLimitCountsTheLineEnd)
{
    const std::string line(98, 'x');
    ScriptedServer server({Step::Reply(line), Step::Reply(line + "y")});
    TIdTCPClient client;
    client.SetMaxLineLength(100);
    ConnectTo(client, server);
    EXPECT_EQ(client.ReadLine(), line);
    EXPECT_THROW(client.ReadLine(), EIdReplyLineTooLong);
}

TEST(IdTCPConnectionTest, ReadLineWithTerminatorKeepsTheCr)
{
    ScriptedServer server({Step::Send("a\r.b\r\n.\r\nrest\n")});
    TIdTCPClient client;
    ConnectTo(client, server);
    EXPECT_EQ(client.ReadLine("\r\n.\r\n"), "a\r.b");
    EXPECT_EQ(client.ReadLine("\n"), "rest");
}

TEST(IdTCPConnectionTest, WritesGoOutExactly)
{
    ScriptedServer server({});
    TIdTCPClient client;
    ConnectTo(client, server);
    client.WriteText("");
    client.WriteLine("");
    client.WriteText("Rs");
    client.WriteLine("et");
    client.WriteLines({"Mail from:<a@b.de>", "", "x"});
    client.CloseConnection();
    EXPECT_EQ(server.ReceivedBytes(), "\r\nRset\r\nMail from:<a@b.de>\r\n\r\nx\r\n");
}

TEST(IdTCPConnectionTest, LineWithALineBreakIsRefusedAndNothingWritten)
{
    const std::string refused =
        "Eine Zeile an den Server darf keinen Zeilenumbruch enthalten; es wurde nichts gesendet.";
    ScriptedServer server({"220 gw"});
    TIdTCPClient client;
    ConnectTo(client, server);
    for (const char* line : {"RCPT to:<a@b.de>\r\nDATA", "a\nb", "a\rb", "\r\n", "Passwort\n"}) {
        SCOPED_TRACE(line);
        EXPECT_THROW_MESSAGE(client.WriteLine(line), EIdLineBreakInLine, refused);
        EXPECT_THROW_MESSAGE(client.SendCommand(line, AnyReply), EIdLineBreakInLine, refused);
    }
    EXPECT_TRUE(client.IsConnected());
    client.CloseConnection();
    EXPECT_EQ(server.ReceivedBytes(), "");
}

TEST(IdTCPConnectionTest, WriteFromStreamSendsChunksInsideOneBracket)
{
    ScriptedServer server({});
    TIdTCPClient client;
    client.SetSendBufferSize(4);
    ConnectTo(client, server);
    EventLog log(client);
    std::istringstream stream("0123456789");
    stream.seekg(3);
    client.WriteFromStream(stream, false, true);
    EXPECT_EQ(log.events, (std::vector<std::string>{"begin 1 7", "work 1 4", "work 1 7", "end 1"}));
    client.CloseConnection();
    EXPECT_EQ(server.ReceivedBytes(), std::string("\0\0\0\x07", 4) + "3456789");
}

TEST(IdTCPConnectionTest, WriteFromStreamClosesItsBracketWhenItFails)
{
    TIdTCPClient client;
    int ends = 0;
    client.OnWorkEnd = [&](TIdComponent&, TWorkMode) { ++ends; };
    std::istringstream stream("abc");
    EXPECT_THROW(client.WriteFromStream(stream), EIdConnClosedGracefully);
    EXPECT_EQ(ends, 1);
}

TEST(IdTCPConnectionTest, ReadingReportsProgressOnlyInsideABracket)
{
    ScriptedServer server({Step::Send("ab\r\ncd\r\n")});
    TIdTCPClient client;
    std::vector<int> counts;
    client.OnWork = [&](TIdComponent&, TWorkMode mode, int n) {
        if (mode == workReading) counts.push_back(n);
    };
    ConnectTo(client, server);
    EXPECT_EQ(client.ReadLine(), "ab");
    client.BeginProgress(workReading);
    EXPECT_EQ(client.ReadLine(), "cd");
    client.EndProgress(workReading);
    EXPECT_EQ(counts, std::vector<int>{4});
}

TEST(IdTCPConnectionTest, TakingMoreThanTheBufferHoldsIsRefused)
{
    TIdTCPClient client;
    EXPECT_THROW_MESSAGE(client.TakeFromInputBuffer(1), EIdNotEnoughDataInBuffer,
                         "Nicht genügend Daten im Puffer.");
    EXPECT_THROW(client.DiscardFromInputBuffer(1), EIdNotEnoughDataInBuffer);
    EXPECT_EQ(client.TakeFromInputBuffer(0), "");
}

TEST(IdTCPConnectionTest, ClosedConnectionRefusesReadsAndWrites)
{
    TIdTCPClient client;
    EXPECT_FALSE(client.IsConnected());
    EXPECT_THROW_MESSAGE(client.ReadReply({}), EIdConnClosedGracefully, ClosedMessage);
    EXPECT_THROW_MESSAGE(client.WriteLine("Quit"), EIdConnClosedGracefully, ClosedMessage);
    client.WriteText(""); // nothing to send, nothing to refuse
    client.CloseConnection();
}
