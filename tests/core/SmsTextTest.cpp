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
                          Case{"huge part length", 1000, INT_MAX, {{0, 1000}}},
                          Case{"refused part length 0 taken as 1", 2, 0, {{0, 1}, {1, 1}}}}) {
        SCOPED_TRACE(c.label);
        const std::string text(static_cast<size_t>(c.length), 'x');
        EXPECT_EQ(SmsParts(text, c.max, CodePage::Windows1252), c.parts);
        EXPECT_EQ(MeasureSms(c.length, c.max).SMSCount, static_cast<int>(c.parts.size()));
    }
}

// "\x82\xA0" is one character on the Japanese code page ("あ"), "\xD6\xD0" on the Chinese one;
// on Windows-1252 every byte is a character of its own.
TEST(SmsTextTest, PartsAreCutBetweenDoubleByteCharacters)
{
    struct Case
    {
        const char* label;
        CodePage codePage;
        std::string text;
        int max;
        std::vector<SmsPartRange> parts;
    };
    const Case cases[] = {
        {"a character that would straddle the cut starts the next part",
         CodePage::ShiftJis932,
         "a\x82\xA0\x82\xA0",
         2,
         {{0, 1}, {1, 2}, {3, 2}}},
        {"whole characters fill a part",
         CodePage::ShiftJis932,
         "\x82\xA0\x82\xA0\x82\xA0",
         4,
         {{0, 4}, {4, 2}}},
        {"a part too small for one character takes it whole",
         CodePage::ShiftJis932,
         "\x82\xA0"
         "a",
         1,
         {{0, 2}, {2, 1}}},
        {"half-width katakana are single bytes", CodePage::ShiftJis932, "\xB1\xB1\xB1", 2, {{0, 2}, {2, 1}}},
        {"a lead byte that ends the text is a character of its own",
         CodePage::ShiftJis932,
         "ab\x82",
         2,
         {{0, 2}, {2, 1}}},
        {"Chinese", CodePage::Gbk936, "ab\xD6\xD0", 3, {{0, 2}, {2, 2}}},
        {"single bytes on Windows-1252", CodePage::Windows1252, "\x82\xA0\x82", 2, {{0, 2}, {2, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(SmsParts(c.text, c.max, c.codePage), c.parts);
    }
}
