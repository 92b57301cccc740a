#include "runtime/Clock.h"

#include <gtest/gtest.h>

TEST(ClockTest, DateTimeTextHasLeadingZerosAndTheMonthAtFourAndFive)
{
    EXPECT_EQ(DateTimeText({}), "01.01.2002 00:00:00");
    std::string text = DateTimeText({2002, 12, 24, 18, 5, 9});
    EXPECT_EQ(text, "24.12.2002 18:05:09");
    EXPECT_EQ(text.substr(3, 2), "12");
}

TEST(ClockTest, DayOfWeekAcrossLeapYearsAndCenturies)
{
    EXPECT_EQ(DayOfWeek({2002, 12, 24}), 2); // Tuesday
    EXPECT_EQ(DayOfWeek({2000, 2, 29}), 2);
    EXPECT_EQ(DayOfWeek({1900, 3, 1}), 4);
    EXPECT_EQ(DayOfWeek({2026, 12, 6}), 0);
}

TEST(ClockTest, SystemClockGivesAPlausibleLocalTime)
{
    SystemClock clock;
    DateTime now = clock.Now();
    EXPECT_GE(now.Year, 2024);
    EXPECT_TRUE(clock.UtcOffsetMinutes().has_value());
}
