#include "mail/IdSMTP.h"
#include "mail/IdExceptions.h"
#include "tests/mail/MailTestText.h"
#include "tests/mail/support/EventLog.h"
#include "tests/mail/support/ExpectThrowMessage.h"
#include "tests/mail/support/ScriptedServer.h"

#include <gtest/gtest.h>

namespace {

// The header lines the program's message gets on a system whose mail charset is ISO-8859-1.
const std::vector<std::string> HeaderLines = {
    "From: \"Dein Name\" <ich@example.de>", "Subject: SMS: Hallo", "To: 49171@sms.example",
    "Date: Mon, 7 Dec 2026 05:13:07 +0100", "X-Priority: 3",       "X-Library: Tickerpost 2.0"};

// What the client writes for the message after Rset (or auth): envelope, Data, header and end.
std::vector<std::string> Transaction()
{
    return Concat(
        {{"Mail from:<ich@example.de>", "RCPT to:<49171@sms.example>", "Data"}, HeaderLines, {"", "."}});
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
    ScriptedServer server({"220 gw ESMTP", "250-gw hello\r\n250-AUTH LOGIN PLAIN\r\n250 8BITMIME",
                           "250 reset", "250 sender ok", "250 recipient ok", "354 go ahead", "250 queued"});
    Connect(server);
    EXPECT_EQ(smtp.AuthSchemes(), std::vector<std::string>({"LOGIN", "PLAIN"}));
    EventLog log(smtp);
    smtp.Send(message);
    EXPECT_EQ(log.events, std::vector<std::string>({"begin 1 0", "5 Text wird codiert", "end 1"}));
    smtp.CloseConnection();

    EXPECT_FALSE(smtp.IsConnected());
    EXPECT_EQ(server.Received(), Concat({{Ehlo(), "Rset"}, Transaction(), {"Quit"}}));
}

// A greeting the server refuses ends the connection with Quit; a refused ehlo is followed by Helo.
TEST_F(IdSMTPTest, GreetingsAndTheHeloFallback)
{
    struct Case
    {
        const char* label;
        std::vector<std::string> replies;
        std::string error; // "" when the connection stands
        std::vector<std::string> written;
    };
    const Case cases[] = {
        {"greeting refused", {"554 keine Annahme"}, "554 keine Annahme", {"Quit"}},
        {"plain greeting refused",
         {"220 gw", "500 unbekannt", "501 nein"},
         "501 nein",
         {"ehlo ", "Helo ", "Quit"}},
        {"plain greeting accepted: no schemes",
         {"220 gw", "500 Befehl unbekannt", "250 gw"},
         "",
         {"ehlo ", "Helo ", "Quit"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScriptedServer server(c.replies);
        TIdSMTP client;
        if (c.error.empty()) {
            ConnectTo(client, server);
            EXPECT_TRUE(client.AuthSchemes().empty());
            client.CloseConnection();
        } else {
            EXPECT_THROW_MESSAGE(ConnectTo(client, server), EIdProtocolReplyError, c.error);
        }
        EXPECT_FALSE(client.IsConnected());
        std::vector<std::string> expected = c.written;
        for (std::string& line : expected)
            if (line.ends_with(' ')) line += client.LocalHostName();
        EXPECT_EQ(server.Received(), expected);
    }
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
        {"names after a space", "250-gw\r\n250-AUTH LOGIN PLAIN\r\n250 HELP", {"LOGIN", "PLAIN"}},
        {"old form with =", "250-gw\r\n250-AUTH=LOGIN\r\n250 HELP", {"LOGIN"}},
        {"lower case, repeated",
         "250-gw\r\n250-auth login\r\n250 AUTH=LOGIN CRAM-MD5",
         {"LOGIN", "CRAM-MD5"}},
        {"XAUTH is another keyword", "250-gw\r\n250 XAUTH LOGIN", {}},
        {"the first line is the server's name", "250-AUTH LOGIN\r\n250 HELP", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScriptedServer server({"220 gw", c.reply});
        TIdSMTP client;
        ConnectTo(client, server);
        EXPECT_EQ(client.AuthSchemes(), c.schemes);
        client.CloseConnection();
    }
}

// One send per case, as the server answers; a refused command raises its reply and leaves the
// connection standing.
TEST_F(IdSMTPTest, TransactionsAsTheServerAnswers)
{
    const std::vector<std::string> refusedSender = {"Rset", "Mail from:<ich@example.de>", "Quit"};
    struct Case
    {
        const char* label;
        std::vector<std::string> replies;
        std::string error;                // "" for a message sent
        std::vector<std::string> written; // after the ehlo
    };
    const Case cases[] = {
        {"accepted recipient",
         {"220 gw", "250 gw", "250 reset", "250 ok", "250 ok", "354 go", "250 queued"},
         "",
         Concat({{"Rset"}, Transaction(), {"Quit"}})},
        {"recipient to be forwarded",
         {"220 gw", "250 gw", "250 reset", "250 ok", "251 wird weitergeleitet", "354 go", "250 queued"},
         "",
         Concat({{"Rset"}, Transaction(), {"Quit"}})},
        {"refused recipient",
         {"220 gw", "250 gw", "250 reset", "250 ok", "550 unbekannt"},
         "550 unbekannt",
         {"Rset", "Mail from:<ich@example.de>", "RCPT to:<49171@sms.example>", "Quit"}},
        {"no login by default",
         {"220 gw", "250-gw\r\n250 AUTH LOGIN", "250 reset", "550 stop"},
         "550 stop",
         refusedSender},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ScriptedServer server(c.replies);
        TIdSMTP client;
        ConnectTo(client, server);
        if (c.error.empty()) {
            client.Send(message);
        } else {
            EXPECT_THROW_MESSAGE(client.Send(message), EIdProtocolReplyError, c.error);
        }
        EXPECT_TRUE(client.IsConnected());
        client.CloseConnection();
        EXPECT_EQ(server.Received(), Concat({{"ehlo " + client.LocalHostName()}, c.written}));
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
    ScriptedServer server({"220 gw", "250 gw", "250 reset", "250 ok", "250 ok", "354 go", "250 queued"});
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
