#include "core/Stringparser.h"

#include <climits>
#include <gtest/gtest.h>

TEST(StringparserTest, IsOneOf)
{
    EXPECT_TRUE(IsOneOf("0", {"+", "0"}));
    EXPECT_TRUE(IsOneOf("+", {"+", "0"}));
    EXPECT_FALSE(IsOneOf("00", {"0"}));
    EXPECT_FALSE(IsOneOf("", {""}));
    EXPECT_FALSE(IsOneOf("0", {}));
    EXPECT_FALSE(IsOneOf("a", {"A"}));
}

TEST(StringparserTest, CopyAndDeleteRanges)
{
    struct Case
    {
        const char* label;
        int first, last;
        const char* copied;
        const char* left;
    };
    for (auto c : {Case{"middle", 2, 4, "bcd", "aef"}, Case{"reversed", 4, 2, "", "abcdef"},
                   Case{"first two", 1, 2, "ab", "cdef"}, Case{"empty range", 3, 2, "", "abcdef"},
                   Case{"past the end", 5, 9, "ef", "abcd"}, Case{"before the start", -3, 2, "ab", "cdef"},
                   Case{"all outside", 7, 9, "", "abcdef"},
                   Case{"extreme positions", INT_MIN, INT_MAX, "abcdef", ""}}) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(CopyRange("abcdef", c.first, c.last), c.copied);
        EXPECT_EQ(DeleteRange("abcdef", c.first, c.last), c.left);
    }
    EXPECT_EQ(CopyRange("", 1, 3), "");
    EXPECT_EQ(DeleteRange("", 1, 3), "");
}

TEST(StringparserTest, RemoveString)
{
    struct Case
    {
        const char* text;
        const char* sub;
        const char* result;
    };
    for (auto c : {Case{" 0171", " ", "0171"}, Case{"0171 ", " ", "0171"}, Case{"01  71", " ", "0171"},
                   Case{" ", " ", ""}, Case{"aaa", "aa", "a"}, Case{"aabb", "ab", "ab"},
                   Case{"abc", "", "abc"}, Case{"ab", "abc", "ab"}, Case{"", " ", ""}}) {
        SCOPED_TRACE(std::string(c.text) + "|" + c.sub);
        EXPECT_EQ(RemoveString(c.text, c.sub), c.result);
    }
}

TEST(StringparserTest, ConsistsOf)
{
    const char* number = "+0123456789";
    EXPECT_TRUE(ConsistsOf("+491711234567", number));
    EXPECT_FALSE(ConsistsOf("a0171", number));
    EXPECT_FALSE(ConsistsOf("0171 123", number));
    EXPECT_FALSE(ConsistsOf("0171x", number));
    EXPECT_TRUE(ConsistsOf("", number));
}

TEST(StringparserTest, ReplaceCharKeepsTheLength)
{
    EXPECT_EQ(ReplaceChar("Max von Mustermann", ' ', '_'), "Max_von_Mustermann");
    EXPECT_EQ(ReplaceChar("", ' ', '_'), "");
}

TEST(StringparserTest, InsertAtNeverAppends)
{
    EXPECT_EQ(InsertAt("491711234567", " ", 3), "49 1711234567");
    EXPECT_EQ(InsertAt("491711234567", " ", 1), " 491711234567");
    EXPECT_EQ(InsertAt("491711234567", " ", 12), "49171123456 7");
    EXPECT_EQ(InsertAt("491711234567", " ", 13), "491711234567");
    EXPECT_EQ(InsertAt("491711234567", " ", 0), "491711234567");
    EXPECT_EQ(InsertAt("", " ", 1), "");
}
