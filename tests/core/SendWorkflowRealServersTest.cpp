#include "mail/IdExceptions.h"
#include "tests/core/SendWorkflowFixture.h"
#include "tests/mail/MailTestText.h"
#include "tests/mail/support/ExpectThrowMessage.h"
#include "tests/support/RealServers.h"
#include "tests/support/ReceivedMail.h"

#include <gtest/gtest.h>

namespace {

// A message of 350 characters with umlauts: three parts of 160, 160 and 30 characters. No part
// ends in a blank, which the folding of the Subject line would trim away.
std::string LongMessage()
{
    std::string text;
    while (text.size() < 350)
        text += Cp("Schöne Grüße aus Köln, wo die Straßen nass sind; Übermorgen fahren wir. ");
    return text.substr(0, 350);
}

class SendWorkflowRealServersTest : public SendWorkflowFixture
{
protected:
    static void SetUpTestSuite()
    {
        smtpServer = new RealSmtpServer();
        pop3Server = new RealPop3Server("ich", "geheim");
    }
    static void TearDownTestSuite()
    {
        delete smtpServer;
        delete pop3Server;
    }

    void SetUp() override
    {
        SendWorkflowFixture::SetUp();
        if (IsSkipped()) return;
        settings.Pop3First = true;
        settings.UserName = Cp("Jürgen Müller");
        settings.FormatToken = "SMS:";
        settings.SMTPPort = smtpServer->Port();
        settings.POP3Port = pop3Server->Port();
        window.Recipient = "+491711234567";
        alreadyReceived = smtpServer->Messages().size();
    }

    // The messages that arrived since the test began, waiting for `count` of them.
    std::vector<std::string> NewMessages(size_t count) const
    {
        std::vector<std::string> all = smtpServer->WaitForMessages(alreadyReceived + count);
        return {all.begin() + static_cast<std::ptrdiff_t>(std::min(alreadyReceived, all.size())), all.end()};
    }

    static RealSmtpServer* smtpServer;
    static RealPop3Server* pop3Server;
    size_t alreadyReceived = 0;
};

RealSmtpServer* SendWorkflowRealServersTest::smtpServer = nullptr;
RealPop3Server* SendWorkflowRealServersTest::pop3Server = nullptr;

} // namespace

TEST_F(SendWorkflowRealServersTest, ThreeHundredFiftyCharactersArriveAsThreeMailsInEitherOrder)
{
    const std::string text = LongMessage();
    const std::string parts[] = {text.substr(0, 160), text.substr(160, 160), text.substr(320)};
    struct Case
    {
        const char* label;
        bool lastSmsFirst;
        std::vector<int> order;
    };
    for (const Case& c : {Case{"last part first", true, {2, 1, 0}}, Case{"text order", false, {0, 1, 2}}}) {
        SCOPED_TRACE(c.label);
        alreadyReceived = smtpServer->Messages().size();
        settings.LastSMSFirst = c.lastSmsFirst;
        settings.SMSThisMonth = 10;
        WriteBytes(folder.File("user.ini"),
                   "[SMS]\r\nLastSentSMS=01.12.2026 08:00:00\r\nSMSThisMonth=10\r\n");
        window.Message = text;

        workflow.Send();

        const std::vector<std::string> received = NewMessages(3);
        ASSERT_EQ(received.size(), 3u);
        for (size_t i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(
                ReadAsPythonDoes(received[i]),
                (ReceivedMail{"Jürgen Müller <ich@example.de>", "491711234567@sms.example",
                              "SMS:" + CodePageToUtf8(parts[c.order[i]], CodePage::Windows1252), "", 0}));
        }
        EXPECT_EQ(settings.SMSThisMonth, 13);
        EXPECT_EQ(window.SMSThisMonthLabel, "13");
        EXPECT_EQ(window.StatusTexts.back(), "SMS gesendet und gespeichert.");
        EXPECT_EQ(ReadBytes(folder.File("Sent/00491711234567_07-12-2026_05-13-07.SMS")), text + "\r\n");
        EXPECT_EQ(ReadBytes(folder.File("user.ini")),
                  "[SMS]\r\nLastSentSMS=07.12.2026 05:13:07\r\nSMSThisMonth=13\r\n");
        EXPECT_EQ(window.Message, "");
        EXPECT_FALSE(smtp.IsConnected());
    }
}

TEST_F(SendWorkflowRealServersTest, AnEmptyTextReachesTheServerByteForByte)
{
    settings.AutoSave = false;
    window.Message = "";

    workflow.Send();

    const std::vector<std::string> received = NewMessages(1);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], "From: =?ISO-8859-1?Q?J=FCrgen_M=FCller?= <ich@example.de>\r\n"
                           "Subject: SMS:\r\n"
                           "To: 491711234567@sms.example\r\n"
                           "Date: Mon, 7 Dec 2026 05:13:07 +0100\r\n"
                           "X-Priority: 3\r\n"
                           "X-Library: Tickerpost 2.0\r\n"
                           "\r\n");
    EXPECT_EQ(window.StatusTexts, std::vector<std::string>({"Verbunden", "sende...", "SMS gesendet"}));
    EXPECT_EQ(settings.SMSThisMonth, 1);
}

TEST_F(SendWorkflowRealServersTest, TheMarkerLogsInToPop3WhenThePromptIsClosed)
{
    RealPop3Server markerPop3("ich", PasswordMarker);
    settings.POP3Port = markerPop3.Port();
    settings.LoginPassword = PasswordMarker;
    window.Message = "Hallo";

    workflow.Send();

    EXPECT_EQ(window.PasswordPrompts, 1);
    EXPECT_EQ(NewMessages(1).size(), 1u);
}

TEST_F(SendWorkflowRealServersTest, AWrongPop3PasswordSendsNothing)
{
    settings.LoginPassword = "falsch";
    window.Message = "Hallo";

    EXPECT_THROW_MESSAGE(workflow.Send(), EIdProtocolReplyError, "-ERR [AUTH] Authentication failed.");

    EXPECT_FALSE(smtp.IsConnected());
    EXPECT_TRUE(window.StatusTexts.empty());
    EXPECT_EQ(window.Message, "Hallo");
    EXPECT_EQ(smtpServer->Messages().size(), alreadyReceived);
}
