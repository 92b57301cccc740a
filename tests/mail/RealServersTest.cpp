#include "tests/support/RealServers.h"
#include "mail/IdExceptions.h"
#include "mail/IdPOP3.h"
#include "mail/IdSMTP.h"
#include "tests/mail/MailTestText.h"
#include "tests/mail/support/ExpectThrowMessage.h"
#include "tests/support/ReceivedMail.h"

#include <gtest/gtest.h>

TEST(RealServersTest, SmtpServerReceivesUmlautsAndLineBreaksAsSent)
{
    RealSmtpServer server;
    FixedClock clock({2026, 12, 7, 5, 13, 7}, 60);
    TIdMessage message(clock);
    message.From().SetAddress("ich@example.de");
    message.From().SetName(Cp("Jürgen Müller"));
    message.Recipients().Add().SetAddress("49171@sms.example");
    const std::string subjects[] = {
        Cp("SMS: Schöne Grüße aus München!\r\nZweite Zeile: ÄÖÜ äöü ß"),
        Cp("Ende?\r\n.\r\nQuit\r\nRCPT to:<x@y.de>"),
        Cp("Bis später; die Sonne scheint über dem Bodensee, und morgen fahren wir gemeinsam nach "
           "Überlingen"),
        Cp("Preis: 5 €, „Angebot“ – nur heute…"),
        "=?ISO-8859-1?Q?x?= bleibt, wie es ist",
    };
    TIdSMTP smtp;
    smtp.SetHost("127.0.0.1");
    smtp.SetPort(server.Port());
    smtp.OpenConnection();
    for (const std::string& subject : subjects) {
        message.SetSubject(subject);
        smtp.Send(message);
    }
    smtp.CloseConnection();

    std::vector<std::string> received = server.WaitForMessages(std::size(subjects));
    ASSERT_EQ(received.size(), std::size(subjects));
    for (size_t i = 0; i < std::size(subjects); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ReadAsPythonDoes(received[i]),
                  (ReceivedMail{"Jürgen Müller <ich@example.de>", "49171@sms.example",
                                CodePageToUtf8(subjects[i], CodePage::Windows1252), "", 0}));
    }
}

TEST(RealServersTest, Pop3ServerAcceptsTheLogInAndRefusesAWrongPassword)
{
    RealPop3Server server("ich", "geheim");
    TIdPOP3 pop3;
    pop3.SetHost("127.0.0.1");
    pop3.SetPort(server.Port());
    pop3.SetUserId("ich");
    pop3.SetPassword("geheim");
    pop3.OpenConnection();
    EXPECT_TRUE(pop3.IsConnected());
    pop3.CloseConnection();
    EXPECT_FALSE(pop3.IsConnected());

    pop3.SetPassword("falsch");
    const auto refused = ThrownBy<EIdProtocolReplyError>([&] { pop3.OpenConnection(); });
    ASSERT_TRUE(refused);
    EXPECT_EQ(ErrorBoxText(refused->Message()), "-ERR [AUTH] Authentication failed.");
    EXPECT_EQ(refused->ReplyCode(), NegativeReply);
    EXPECT_FALSE(pop3.IsConnected());
}
