#include "mail/IdGlobal.h"
#include "mail/IdExceptions.h"
#include "tests/mail/support/ExpectThrowMessage.h"

#include <gtest/gtest.h>

TEST(IdGlobalTest, MailDateCarriesTheClocksOffset)
{
    const DateTime monday{2026, 12, 7, 5, 13, 7};
    struct Case
    {
        const char* label;
        int offsetMinutes;
        const char* expected;
    };
    const Case cases[] = {
        {"one hour east", 60, "Mon, 7 Dec 2026 05:13:07 +0100"},
        {"five hours west", -300, "Mon, 7 Dec 2026 05:13:07 -0500"},
        {"five and a half hours east", 330, "Mon, 7 Dec 2026 05:13:07 +0530"},
        {"UTC is +0000, never GMT", 0, "Mon, 7 Dec 2026 05:13:07 +0000"},
        {"half an hour west", -30, "Mon, 7 Dec 2026 05:13:07 -0030"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        FixedClock clock(monday, c.offsetMinutes);
        EXPECT_EQ(DateTimeToMailDate(monday, clock), c.expected);
    }
}

TEST(IdGlobalTest, MailDateUsesTheOffsetInForceNow)
{
    FixedClock summer({2026, 7, 1, 12, 0, 0}, 120);
    EXPECT_EQ(DateTimeToMailDate({2026, 1, 1, 23, 59, 59}, summer), "Thu, 1 Jan 2026 23:59:59 +0200");
}

TEST(IdGlobalTest, UtcOffsetTextSaysGmtOnlyWhenAsked)
{
    EXPECT_EQ(UtcOffsetText(0, true), "GMT");
    EXPECT_EQ(UtcOffsetText(60, true), "+0100");
    EXPECT_EQ(UtcOffsetText(-570, false), "-0930");
}

TEST(IdGlobalTest, UnreadableZoneRaises)
{
    FixedClock clock({}, std::nullopt);
    EXPECT_THROW_MESSAGE(DateTimeToMailDate({}, clock), EIdFailedToRetreiveTimeZoneInfo,
                         "Einlesen der Zeitzonen-Informationen ist fehlgeschlagen.");
}
