#include "mail/IdSMTP.h"
#include "mail/IdExceptions.h"
#include "tests/mail/MailTestText.h"
#include "tests/mail/support/ExpectThrowMessage.h"
#include "tests/mail/support/ScriptedServer.h"

#include <gtest/gtest.h>

namespace {

using Step = ScriptedServer::Step;
const Step R = Step::ReadLine();

// The header lines the program's message gets on a system whose mail charset is ISO-8859-1.
const std::vector<std::string> HeaderLines = {
    "From: \"Dein Name\" <ich@example.de>", "Subject: SMS: Hallo", "To: 49171@sms.example",
    "Date: Mon, 7 Dec 2026 05:13:07 +0100", "X-Priority: 3",       "X-Library: Tickerpost 2.0"};

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

void ConnectTo(TIdSMTP& client, const ScriptedServer& server)
{
    client.SetHost("127.0.0.1");
    client.SetPort(server.Port());
    client.OpenConnection();
}

class IdSMTPTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (MailCharsetForLocale().Letter != 'Q')
            GTEST_SKIP() << "needs a locale with the ISO-8859-1 charset";
        message.From().SetAddress("ich@example.de");
        message.From().SetName("Dein Name");
        message.Recipients().Add().SetAddress("49171@sms.example");
        message.SetSubject("SMS: Hallo");
    }

    void Connect(const ScriptedServer& server) { ConnectTo(smtp, server); }

    std::string Ehlo() { return "ehlo " + smtp.LocalHostName(); }

    FixedClock clock{{2026, 12, 7, 5, 13, 7}, 60};
    TIdMessage message{clock};
    TIdSMTP smtp;
};

} // namespace

TEST_F(IdSMTPTest, OneMessageFromGreetingToQuit)
{
    ScriptedServer server({Step::Reply("220 gw ESMTP"),
                           R,
                           Step::Send("250-gw hello\r\n250-AUTH LOGIN PLAIN\r\n250 8BITMIME\r\n"),
                           R,
                           Step::Reply("250 reset"),
                           R,
                           Step::Reply("250 sender ok"),
                           R,
                           Step::Reply("250 recipient ok"),
                           R,
                           Step::Reply("354 go ahead"),
                           R,
                           R,
                           R,
                           R,
                           R,
                           R,
                           R,
                           R,
                           Step::Reply("250 queued")});
    std::vector<std::string> events;
    smtp.OnWorkBegin = [&](TIdComponent&, TWorkMode mode, int max) {
        events.push_back("begin " + std::to_string(mode) + " " + std::to_string(max));
    };
    smtp.OnWork = [&](TIdComponent&, TWorkMode, int count) {
        events.push_back("work " + std::to_string(count));
    };
    smtp.OnWorkEnd = [&](TIdComponent&, TWorkMode mode) { events.push_back("end " + std::to_string(mode)); };
    smtp.OnStatus = [&](TIdComponent&, TIdStatus status, const std::string& text) {
        if (status == statusText) events.push_back(text);
    };

    Connect(server);
    EXPECT_EQ(smtp.AuthSchemes(), std::vector<std::string>({"LOGIN", "PLAIN"}));
    smtp.Send(message);
    smtp.CloseConnection();

    EXPECT_FALSE(smtp.IsConnected());
    EXPECT_EQ(events, std::vector<std::string>({"begin 1 0", "Text wird codiert", "end 1"}));
    EXPECT_EQ(server.Received(),
              Concat({{Ehlo(), "Rset", "Mail from:<ich@example.de>", "RCPT to:<49171@sms.example>", "Data"},
                      HeaderLines,
                      {"", ".", "Quit"}}));
}

TEST_F(IdSMTPTest, GreetingFailures)
{
    struct Case
    {
        const char* label;
        std::vector<std::string> replies;
        std::string message;
        std::vector<std::string> written;
    };
    const Case cases[] = {
        {"greeting refused", {"554 keine Annahme"}, "554 keine Annahme", {"Quit"}},
        {"plain greeting refused",
         {"220 gw", "500 unbekannt", "501 nein"},
         "501 nein",
         {"ehlo ", "Helo ", "Quit"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScriptedServer server(c.replies);
        TIdSMTP client;
        client.SetHost("127.0.0.1");
        client.SetPort(server.Port());
        EXPECT_THROW_MESSAGE(client.OpenConnection(), EIdProtocolReplyError, c.message);
        EXPECT_FALSE(client.IsConnected());
        std::vector<std::string> expected = c.written;
        for (std::string& line : expected)
            if (line.ends_with(' ')) line += client.LocalHostName();
        EXPECT_EQ(server.Received(), expected);
    }
}

TEST_F(IdSMTPTest, HeloFallbackLeavesNoSchemes)
{
    ScriptedServer server({"220 gw", "500 Befehl unbekannt", "250 gw"});
    Connect(server);
    EXPECT_TRUE(smtp.AuthSchemes().empty());
    smtp.CloseConnection();
    EXPECT_EQ(server.Received(), Lines({Ehlo(), "Helo " + smtp.LocalHostName(), "Quit"}));
}

TEST_F(IdSMTPTest, AuthSchemesFromTheEhloReply)
{
    struct Case
    {
        const char* label;
        std::string reply;
        std::vector<std::string> schemes;
    };
    const Case cases[] = {
        {"names after a space", "250-gw\r\n250-AUTH LOGIN PLAIN\r\n250 HELP\r\n", {"LOGIN", "PLAIN"}},
        {"old form with =", "250-gw\r\n250-AUTH=LOGIN\r\n250 HELP\r\n", {"LOGIN"}},
        {"lower case, repeated",
         "250-gw\r\n250-auth login\r\n250 AUTH=LOGIN CRAM-MD5\r\n",
         {"LOGIN", "CRAM-MD5"}},
        {"XAUTH is another keyword", "250-gw\r\n250 XAUTH LOGIN\r\n", {}},
        {"the first line is the server's name", "250-AUTH LOGIN\r\n250 HELP\r\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScriptedServer server({Step::Reply("220 gw"), R, Step::Send(c.reply)});
        TIdSMTP client;
        ConnectTo(client, server);
        EXPECT_EQ(client.AuthSchemes(), c.schemes);
        client.CloseConnection();
    }
}

TEST_F(IdSMTPTest, NoLoginByDefaultAlthoughAnnounced)
{
    ScriptedServer server({Step::Reply("220 gw"), R, Step::Send("250-gw\r\n250 AUTH LOGIN\r\n"), R,
                           Step::Reply("250 reset"), R, Step::Reply("550 stop")});
    Connect(server);
    EXPECT_THROW(smtp.Send(message), EIdProtocolReplyError);
    smtp.CloseConnection();
    EXPECT_EQ(server.Received(), Lines({Ehlo(), "Rset", "Mail from:<ich@example.de>", "Quit"}));
}

TEST_F(IdSMTPTest, RecipientReplies)
{
    struct Case
    {
        const char* label;
        std::string reply;
        bool accepted;
    };
    const Case cases[] = {
        {"250 accepted", "250 ok", true},
        {"251 will forward", "251 wird weitergeleitet", true},
        {"550 refused", "550 unbekannt", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScriptedServer server({Step::Reply("220 gw"),
                               R,
                               Step::Reply("250 gw"),
                               R,
                               Step::Reply("250 reset"),
                               R,
                               Step::Reply("250 ok"),
                               R,
                               Step::Reply(c.reply),
                               R,
                               Step::Reply("354 go"),
                               R,
                               R,
                               R,
                               R,
                               R,
                               R,
                               R,
                               R,
                               Step::Reply("250 queued")});
        TIdSMTP client;
        ConnectTo(client, server);
        if (c.accepted) {
            client.Send(message);
        } else {
            EXPECT_THROW_MESSAGE(client.Send(message), EIdProtocolReplyError, c.reply);
        }
        client.CloseConnection();
        std::vector<std::string> received = server.Received();
        ASSERT_GE(received.size(), 5u);
        EXPECT_EQ(received[4], c.accepted ? "Data" : "Quit");
    }
}

TEST_F(IdSMTPTest, EveryRecipientListInOrderAndNoNameInTheEnvelope)
{
    message.From().SetAddress("");
    message.Recipients().Add().SetAddress("zwei@example.de");
    message.CCList().Add().SetAddress("kopie@example.de");
    message.BccList().Add().SetAddress("blind@example.de");
    ScriptedServer server(
        {"220 gw", "250 gw", "250 reset", "250 ok", "250 ok", "251 ok", "250 ok", "250 ok", "550 genug"});
    Connect(server);
    EXPECT_THROW(smtp.Send(message), EIdProtocolReplyError);
    smtp.CloseConnection();
    EXPECT_EQ(server.Received(), Lines({Ehlo(), "Rset", "Mail from:<>", "RCPT to:<49171@sms.example>",
                                        "RCPT to:<zwei@example.de>", "RCPT to:<kopie@example.de>",
                                        "RCPT to:<blind@example.de>", "Data", "Quit"}));
}

TEST_F(IdSMTPTest, LineBreaksInTheSubjectCannotEndTheData)
{
    message.SetSubject(Cp("Grüße\r\n.\r\nQuit"));
    message.ExtraHeaders().Add(".versteckt: x");
    message.Body() = {".", "..x", "Text"};
    ScriptedServer server({Step::Reply("220 gw"),
                           R,
                           Step::Reply("250 gw"),
                           R,
                           Step::Reply("250 reset"),
                           R,
                           Step::Reply("250 ok"),
                           R,
                           Step::Reply("250 ok"),
                           R,
                           Step::Reply("354 go"),
                           R,
                           R,
                           R,
                           R,
                           R,
                           R,
                           R,
                           R,
                           R,
                           R,
                           R,
                           R,
                           Step::Reply("250 queued")});
    smtp.SetMailAgent("Post 1.0");
    Connect(server);
    smtp.Send(message);
    smtp.CloseConnection();
    const std::string bytes = server.ReceivedBytes();
    const std::string data = bytes.substr(bytes.find("Data\r\n") + 6);
    EXPECT_EQ(data.find("\r\n.\r\n"), data.size() - 11) << data; // only the end of data, before "Quit"
    std::vector<std::string> lines = server.Received();
    EXPECT_EQ(lines[6], "Subject: =?ISO-8859-1?Q?Gr=FC=DFe=0D=0A.=0D=0AQuit?=");
    EXPECT_EQ(std::vector<std::string>(lines.end() - 8, lines.end()),
              Lines({"..versteckt: x", "X-Mailer: Post 1.0", "", "..", "...x", "Text", ".", "Quit"}));
}

TEST_F(IdSMTPTest, CloseOnAClosedConnectionWritesNothing)
{
    smtp.CloseConnection();
    EXPECT_FALSE(smtp.IsConnected());
}

TEST_F(IdSMTPTest, MessagesWithPartsStopTheData)
{
    struct Case
    {
        const char* label;
        int textParts, attachments;
        std::string error;
        std::vector<std::string> afterData;
    };
    const Case cases[] = {
        {"one text part: after the header", 1, 0, "Ungültige Anzahl für Text. TIdText muß größer als 1 sein",
         Concat({{HeaderLines[0], HeaderLines[1], HeaderLines[2], "MIME-Version: 1.0"},
                 {HeaderLines.begin() + 3, HeaderLines.end()},
                 {"Quit"}})},
        {"an attachment: nothing written",
         0,
         1,
         "Nachrichten mit Anlagen oder mehreren Textteilen können nicht gesendet werden.",
         {"Quit"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        message.MessageParts().clear();
        for (int i = 0; i < c.textParts; ++i) message.MessageParts().push_back(std::make_unique<TIdText>());
        for (int i = 0; i < c.attachments; ++i)
            message.MessageParts().push_back(std::make_unique<TIdAttachment>());
        ScriptedServer server({"220 gw", "250 gw", "250 reset", "250 ok", "250 ok", "354 go"});
        TIdSMTP client;
        ConnectTo(client, server);
        EXPECT_THROW_MESSAGE(client.Send(message), EIdMessageException, c.error);
        client.CloseConnection();
        std::vector<std::string> received = server.Received();
        ASSERT_GE(received.size(), 5u);
        EXPECT_EQ(std::vector<std::string>(received.begin() + 5, received.end()), c.afterData);
    }
}
