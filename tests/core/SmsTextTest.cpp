#include "core/SmsText.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>

TEST(SmsTextTest, CountsAndCharactersLeft)
{
    struct Case
    {
        const char* label;
        int length, max, count, left;
    };
    for (auto c : {Case{"empty", 0, 160, 1, 160}, Case{"one character", 1, 160, 1, 159},
                   Case{"one part full", 160, 160, 1, 160}, Case{"one over", 161, 160, 2, 159},
                   Case{"two parts full", 320, 160, 2, 160}, Case{"three parts", 321, 160, 3, 159},
                   Case{"empty with parts of 1", 0, 1, 1, 1}, Case{"parts of 1", 5, 1, 5, 1},
                   Case{"huge part length", 100000, INT_MAX, 1, INT_MAX - 100000},
                   Case{"refused part length 0 taken as 1", 3, 0, 3, 1}}) {
        SCOPED_TRACE(c.label);
        SmsMetrics metrics = MeasureSms(c.length, c.max);
        EXPECT_EQ(metrics.SMSLength, c.length);
        EXPECT_EQ(metrics.SMSCount, c.count);
        EXPECT_EQ(metrics.LastingChars, c.left);
    }
}

TEST(SmsTextTest, PartsCoverTheTextInOrder)
{
    struct Case
    {
        const char* label;
        int length, max;
        std::vector<SmsPartRange> parts;
    };
    for (const auto& c : {Case{"350 characters", 350, 160, {{0, 160}, {160, 160}, {320, 30}}},
                          Case{"two lines of two with CR LF", 6, 4, {{0, 4}, {4, 2}}},
                          Case{"25 characters in parts of 10", 25, 10, {{0, 10}, {10, 10}, {20, 5}}},
                          Case{"empty text is one empty part", 0, 160, {{0, 0}}},
                          Case{"huge part length", 1000, INT_MAX, {{0, 1000}}}}) {
        SCOPED_TRACE(c.label);
        int count = MeasureSms(c.length, c.max).SMSCount;
        std::vector<SmsPartRange> parts;
        for (int k = 0; k < count; ++k) parts.push_back(SmsPart(k, c.length, c.max));
        EXPECT_EQ(parts, c.parts);
    }
}

TEST(SmsTextTest, PartBeyondTheTextIsEmpty)
{
    EXPECT_EQ(SmsPart(5, 350, 160), (SmsPartRange{350, 0}));
    EXPECT_EQ(SmsPart(3, 100, INT_MAX), (SmsPartRange{100, 0}));
}
