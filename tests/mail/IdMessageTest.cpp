#include "mail/IdMessage.h"
#include "mail/IdExceptions.h"
#include "tests/mail/MailTestText.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

// The header texts below are those of a system whose mail charset is ISO-8859-1 with "Q".
class IdMessageTest : public testing::Test
{
protected:
    void SetUp() override
    {
        if (MailCharsetForLocale().Letter != 'Q')
            GTEST_SKIP() << "needs a locale with the ISO-8859-1 charset";
        message.Clear();
        message.From().SetAddress("ich@example.de");
        message.From().SetName("Dein Name");
        message.Recipients().Add().SetAddress("49171@sms.example");
        message.SetSubject("SMS: Hallo");
    }

    FixedClock clock{{2026, 12, 7, 5, 13, 7}, 60};
    TIdMessage message{clock};
};

} // namespace

TEST_F(IdMessageTest, TheProgramsMessageHasSixLinesInOrder)
{
    EXPECT_EQ(message.BuildHeader().Lines(),
              Lines({"From: \"Dein Name\" <ich@example.de>", "Subject: SMS: Hallo", "To: 49171@sms.example",
                     "Date: Mon, 7 Dec 2026 05:13:07 +0100", "X-Priority: 3", "X-Library: Tickerpost 2.0"}));
}

TEST_F(IdMessageTest, EmptyValuesLeaveTheirLinesOut)
{
    message.SetSubject("");
    message.From() = {};
    Lines lines = message.BuildHeader().Lines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "To: 49171@sms.example");
}

TEST_F(IdMessageTest, EveryFieldInItsPlace)
{
    message.CCList().Add().SetAddress("cc@example.de");
    message.BccList().Add().SetAddress("geheim@example.de");
    message.NewsGroups() = {"de.test", "de.alt"};
    message.SetContentType("text/plain");
    message.SetCharSet("charset=ISO-8859-1");
    message.MessageParts().push_back(std::make_unique<TIdText>());
    message.SetContentTransferEncoding("8bit");
    message.Sender().SetAddress("s@example.de");
    message.ReplyTo().Add().SetAddress("r@example.de");
    message.SetOrganization(Cp("Büro"));
    message.ReceiptRecipient().SetAddress("n@example.de");
    message.SetReferences("<1@x>");
    message.SetDate(DateTime{2026, 12, 8, 10, 0, 0});
    message.SetPriority(TIdMessagePriority::mpHighest);
    message.ExtraHeaders().SetValue("X-Mailer", "Post");
    EXPECT_EQ(message.BuildHeader().Lines(),
              Lines({"From: \"Dein Name\" <ich@example.de>", "Subject: SMS: Hallo", "To: 49171@sms.example",
                     "Cc: cc@example.de", "Newsgroups: de.test,de.alt",
                     "Content-Type: text/plain;charset=ISO-8859-1", "MIME-Version: 1.0",
                     "Content-Transfer-Encoding: 8bit", "Sender: s@example.de", "Reply-To: r@example.de",
                     "Organization: =?ISO-8859-1?Q?B=FCro?=", "Disposition-Notification-To: n@example.de",
                     "References: <1@x>", "Date: Tue, 8 Dec 2026 10:00:00 +0100", "X-Priority: 1",
                     "X-Library: Tickerpost 2.0", "X-Mailer: Post"}));
}

TEST_F(IdMessageTest, EachHeaderTakesTheTimeItIsBuilt)
{
    std::string first = message.BuildHeader().GetValue("Date");
    clock.Set({2026, 12, 7, 5, 13, 8});
    EXPECT_NE(message.BuildHeader().GetValue("Date"), first);
    EXPECT_TRUE(message.UseNowForDate());
}

TEST_F(IdMessageTest, ClearEmptiesEverything)
{
    message.BccList().Add().SetAddress("x@y.de");
    message.SetPriority(TIdMessagePriority::mpLow);
    message.SetDate(DateTime{});
    message.Body().push_back("Text");
    message.ExtraHeaders().SetValue("X-Mailer", "Post");
    message.Clear();
    EXPECT_EQ(message.BuildHeader().Lines(),
              Lines({"Date: Mon, 7 Dec 2026 05:13:07 +0100", "X-Priority: 3", "X-Library: Tickerpost 2.0"}));
    EXPECT_EQ(message.BccList().Count(), 0);
    EXPECT_TRUE(message.Body().empty());
}

TEST_F(IdMessageTest, UnreadableZoneFailsTheHeader)
{
    clock.SetUtcOffsetMinutes(std::nullopt);
    EXPECT_THROW(message.BuildHeader(), EIdFailedToRetreiveTimeZoneInfo);
}
