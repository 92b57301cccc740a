#include "mail/IdExceptions.h"
#include "mail/IdSMTP.h"
#include "tests/mail/MailTestText.h"
#include "tests/mail/support/ExpectThrowMessage.h"
#include "tests/support/TlsTestServer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Step = TlsTestServer::Step;

// A server speaking TLS from the first byte: the first reply at once, each later one after
// reading one line ("" reads a line and answers nothing).
std::vector<Step> TlsDialogue(const std::vector<std::string>& replies)
{
    std::vector<Step> steps = {Step::StartTls()};
    for (std::size_t i = 0; i < replies.size(); ++i) {
        if (i > 0) steps.push_back(Step::ReadLine());
        if (!replies[i].empty()) steps.push_back(Step::Send(replies[i] + "\r\n"));
    }
    return steps;
}

std::vector<std::string> LinesOf(const std::string& bytes)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

// Each message's transaction, as a real server answers it: Rset, Mail, RCPT, Data, 8 lines.
std::vector<std::string> Transaction()
{
    std::vector<std::string> replies = {"250 reset", "250 ok", "250 ok", "354 go"};
    replies.insert(replies.end(), 7, "");
    replies.push_back("250 queued");
    return replies;
}

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

class IdSMTPAuthTest : public testing::Test
{
protected:
    void SetUp() override
    {
        message.From().SetAddress("ich@example.de");
        message.From().SetName("Dein Name");
        message.Recipients().Add().SetAddress("49171@sms.example");
        message.SetSubject("SMS: Hallo");
        smtp.SetSecurity(TIdSecurity::ImplicitTls);
        smtp.SetUserId("ich");
        smtp.SetPassword("geheim");
        smtp.SetHost("localhost");
    }

    void Connect(const TlsTestServer& server)
    {
        smtp.SetPort(server.Port());
        smtp.OpenConnection();
    }

    std::string Ehlo() { return "ehlo " + smtp.LocalHostName(); }

    const TestCertificates& pki = TestCertificates::Get();
    FixedClock clock{{2026, 12, 7, 5, 13, 7}, 60};
    TIdMessage message{clock};
    TIdSMTP smtp;
};

} // namespace

TEST_F(IdSMTPAuthTest, AutoSelectPrefersPlainThenLoginAndReportsTheMechanism)
{
    struct Case
    {
        const char* label;
        std::string schemes;
        std::vector<std::string> replies; // after the ehlo reply
        std::vector<std::string> written; // after the ehlo line
        std::string mechanism;
    };
    const Case cases[] = {
        {"PLAIN listed", "AUTH LOGIN PLAIN", {"235 ok"}, {"AUTH PLAIN AGljaABnZWhlaW0="}, "PLAIN"},
        {"LOGIN only",
         "AUTH=LOGIN",
         {"334 VXNlcm5hbWU6", "334 UGFzc3dvcmQ6", "235 ok"},
         {"auth LOGIN", "aWNo", "Z2VoZWlt"},
         "LOGIN"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TlsTestServer server(pki.Good,
                             TlsDialogue(Concat({{"220 gw", "250-gw\r\n250 " + c.schemes}, c.replies})));
        TIdSMTP client;
        client.SetSecurity(TIdSecurity::ImplicitTls);
        client.SetAuthenticationType(TAuthenticationType::atAutoSelect);
        client.SetUserId("ich");
        client.SetPassword("geheim");
        client.SetHost("localhost");
        client.SetPort(server.Port());
        client.OpenConnection();
        EXPECT_EQ(client.AuthMechanism(), c.mechanism);
        ASSERT_NE(client.TlsInfo(), nullptr);
        EXPECT_EQ(client.TlsInfo()->Fingerprint, pki.Good.Fingerprint);
        client.CloseConnection();
        EXPECT_EQ(client.TlsInfo(), nullptr);
        EXPECT_EQ(LinesOf(server.Received()),
                  Concat({{"ehlo " + client.LocalHostName()}, c.written, {"Quit"}}));
    }
}

TEST_F(IdSMTPAuthTest, LoginOncePerConnection)
{
    TlsTestServer server(
        pki.Good, TlsDialogue(Concat({{"220 gw", "250-gw\r\n250 AUTH LOGIN", "250 reset", "334 VXNlcm5hbWU6",
                                       "334 UGFzc3dvcmQ6", "235 ok", "250 ok", "250 ok", "354 go"},
                                      std::vector<std::string>(7, ""),
                                      {"250 queued"},
                                      Transaction()})));
    smtp.SetAuthenticationType(TAuthenticationType::atLogin);
    Connect(server);
    smtp.Send(message);
    smtp.Send(message);
    smtp.CloseConnection();
    const std::vector<std::string> written = LinesOf(server.Received());
    ASSERT_GE(written.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(written.begin(), written.begin() + 6),
              std::vector<std::string>(
                  {Ehlo(), "Rset", "auth LOGIN", "aWNo", "Z2VoZWlt", "Mail from:<ich@example.de>"}));
    EXPECT_EQ(std::count(written.begin(), written.end(), "auth LOGIN"), 1);
    EXPECT_EQ(std::count(written.begin(), written.end(), "Mail from:<ich@example.de>"), 2);
    EXPECT_EQ(written.back(), "Quit");
}

TEST_F(IdSMTPAuthTest, LoginOnlyWhenAnnounced)
{
    TlsTestServer server(pki.Good,
                         TlsDialogue({"220 gw", "250-gw\r\n250 AUTH PLAIN", "250 reset", "550 stop"}));
    smtp.SetAuthenticationType(TAuthenticationType::atLogin);
    Connect(server);
    EXPECT_THROW(smtp.Send(message), EIdProtocolReplyError);
    smtp.CloseConnection();
    EXPECT_EQ(LinesOf(server.Received()),
              std::vector<std::string>({Ehlo(), "Rset", "Mail from:<ich@example.de>", "Quit"}));
}

TEST_F(IdSMTPAuthTest, RefusedLoginIsAnError)
{
    TlsTestServer server(pki.Good,
                         TlsDialogue({"220 gw", "250-gw\r\n250 AUTH LOGIN", "250 reset", "334 VXNlcm5hbWU6",
                                      "334 UGFzc3dvcmQ6", "535 5.7.8 Anmeldung fehlgeschlagen"}));
    smtp.SetAuthenticationType(TAuthenticationType::atLogin);
    Connect(server);
    EXPECT_THROW_MESSAGE(smtp.Send(message), EIdProtocolReplyError, "535 5.7.8 Anmeldung fehlgeschlagen");
    EXPECT_TRUE(smtp.IsConnected());
}
