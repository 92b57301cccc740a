#include "core/MailClientSetup.h"
#include "mail/IdExceptions.h"
#include "runtime/Exception.h"
#include "tests/core/SendWorkflowFixture.h"
#include "tests/mail/support/ExpectThrowMessage.h"
#include "tests/mail/support/ScriptedServer.h"
#include "tests/support/FileBytes.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// What a client was given, gathered for comparing.
struct ClientSide
{
    std::string Host;
    int Port;
    TIdSecurity Security;
    std::string Pin;
    std::string UserId;
    std::string Password;

    bool operator==(const ClientSide&) const = default;
};

ClientSide SideOf(TIdTCPClient& client, const std::string& userId, const std::string& password)
{
    return {client.Host(), client.Port(), client.Security(), client.CertificatePin(), userId, password};
}

class SendConnectionKeysTest : public SendWorkflowFixture
{
};

} // namespace

// The record's connection keys as the clients get them; the defaults are the plain ports 25 and
// 110 without AUTH, exactly as before the keys existed.
TEST_F(SendConnectionKeysTest, TheClientsGetTheConnectionKeysOfTheRecord)
{
    struct Case
    {
        const char* label;
        std::function<void(TSettings&)> change;
        ClientSide smtp;
        TAuthenticationType auth;
        ClientSide pop3;
    };
    const Case cases[] = {
        {"keys missing",
         [](TSettings&) {},
         {"127.0.0.1", 25, TIdSecurity::None, "", "ich", "geheim"},
         TAuthenticationType::atNone,
         {"127.0.0.1", 110, TIdSecurity::None, "", "ich", "geheim"}},
        {"submission with STARTTLS and AUTH",
         [](TSettings& s) {
             s.SMTPPort = 587, s.SMTPSecurity = 1, s.SMTPAuth = true, s.POP3Security = 1;
             s.SMTPCertificateSHA256 = "AB:CD";
         },
         {"127.0.0.1", 587, TIdSecurity::StartTls, "AB:CD", "ich", "geheim"},
         TAuthenticationType::atAutoSelect,
         {"127.0.0.1", 110, TIdSecurity::StartTls, "", "ich", "geheim"}},
        {"TLS from the first byte",
         [](TSettings& s) {
             s.SMTPPort = 465, s.SMTPSecurity = 2, s.POP3Port = 995, s.POP3Security = 2;
             s.POP3CertificateSHA256 = "abcd";
         },
         {"127.0.0.1", 465, TIdSecurity::ImplicitTls, "", "ich", "geheim"},
         TAuthenticationType::atNone,
         {"127.0.0.1", 995, TIdSecurity::ImplicitTls, "abcd", "ich", "geheim"}},
        {"ports at the ends of the range",
         [](TSettings& s) { s.SMTPPort = 1, s.POP3Port = 65535; },
         {"127.0.0.1", 1, TIdSecurity::None, "", "ich", "geheim"},
         TAuthenticationType::atNone,
         {"127.0.0.1", 65535, TIdSecurity::None, "", "ich", "geheim"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TSettings changed = settings;
        c.change(changed);
        TIdSMTP smtp;
        TIdPOP3 pop3;
        SetUpSmtp(smtp, changed);
        SetUpPop3(pop3, changed);
        EXPECT_EQ(SideOf(smtp, smtp.UserId(), smtp.Password()), c.smtp);
        EXPECT_EQ(smtp.AuthenticationType(), c.auth);
        EXPECT_EQ(SideOf(pop3, pop3.UserId(), pop3.Password()), c.pop3);
    }
}

// Unusable keys in user.ini end the click with their message before the password prompt and
// before anything connects; POP3's keys count only when the send logs in there first.
TEST_F(SendConnectionKeysTest, UnusableKeysEndTheClickBeforeAnythingConnects)
{
    struct Case
    {
        const char* label;
        std::string keys;
        bool pop3First;
        std::string message;
    };
    const std::string portRange = "' ist ungültig; möglich sind ganze Zahlen von 1 bis 65535.";
    const std::string securities =
        " in den Einstellungen ist unbekannt; möglich sind Keine (0), STARTTLS (1) und SSL/TLS (2).";
    const Case cases[] = {
        {"SMTP port 0", "SMTPPort=0", false, "Der SMTP-Port '0" + portRange},
        {"SMTP port above the range", "SMTPPort=65536", false, "Der SMTP-Port '65536" + portRange},
        {"negative SMTP port", "SMTPPort=-25", false, "Der SMTP-Port '-25" + portRange},
        {"SMTP encryption 3", "SMTPSecurity=3", false, "Die SMTP-Verschlüsselung 3" + securities},
        {"SMTP encryption -1", "SMTPSecurity=-1", false, "Die SMTP-Verschlüsselung -1" + securities},
        {"POP3 port with POP3 first", "POP3Port=70000", true, "Der POP3-Port '70000" + portRange},
        {"POP3 encryption with POP3 first", "POP3Security=0x10", true,
         "Die POP3-Verschlüsselung 16" + securities},
    };
    // A connection tried before the check would end the click with the refusal's socket error.
    RefusingPort refusing;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        WriteBytes(folder.File("user.ini"),
                   "[eMailAccount]\r\nLoginPassword=nicht gespeichert\r\n" + c.keys + "\r\n");
        LoadSettings(settings, IniFile(folder.File("user.ini")), clock);
        settings.SMTPServer = settings.POP3Server = "127.0.0.1";
        settings.Pop3First = c.pop3First;
        settings.SMTPAuth = true;
        if (settings.SMTPPort == 25) settings.SMTPPort = refusing.Port();
        if (settings.POP3Port == 110) settings.POP3Port = refusing.Port();
        window = FakeSendWindow();
        window.Recipient = "01711234567";

        EXPECT_THROW_MESSAGE(workflow.Send(), EConvertError, c.message);

        EXPECT_EQ(window.PasswordPrompts, 0);
        EXPECT_EQ(window.TextReads, 0);
    }
}

// A plain connection that a failed click left open carries no mail once the settings want it
// encrypted: it is closed, and the click connects anew (here to a port that refuses).
TEST_F(SendConnectionKeysTest, APlainConnectionLeftOpenIsNotUsedOnceEncryptionIsSet)
{
    ScriptedServer server({"220 gw", "250 gw", "250 reset", "250 sender ok", "550 unbekannt"});
    settings.Pop3First = false;
    settings.SMTPPort = server.Port();
    window.Recipient = "01711234567";
    EXPECT_THROW(workflow.Send(), EIdProtocolReplyError);
    ASSERT_TRUE(smtp.IsConnected());

    RefusingPort refusing;
    settings.SMTPPort = refusing.Port();
    settings.SMTPSecurity = 1;
    EXPECT_THROW_MESSAGE(workflow.Send(), EIdSocketError, "Socket-Fehler # 10061\r\nVerbindung abgelehnt.");

    EXPECT_EQ(server.Received(),
              std::vector<std::string>({"ehlo " + smtp.LocalHostName(), "Rset", "Mail from:<ich@example.de>",
                                        "RCPT to:<491711234567@sms.example>", "Quit"}));
}
