#include "runtime/AsciiText.h"

#include <gtest/gtest.h>

#include <vector>

TEST(AsciiTextTest, CaseFoldsOnlyAsciiLetters)
{
    struct Case
    {
        std::string_view A, B;
        bool Equal;
    };
    // 0xC4/0xE4 are "Ä"/"ä" in Latin-1: a locale-dependent fold would take them as equal.
    for (auto c : {Case{"LocalHost", "LOCALHOST", true}, Case{"a", "b", false}, Case{"ab", "a", false},
                   Case{"\xC4", "\xE4", false}, Case{"@[", "`{", false}, Case{"", "", true}})
        EXPECT_EQ(EqualsIgnoreCase(c.A, c.B), c.Equal) << c.A << " / " << c.B;
    EXPECT_TRUE(StartsWithIgnoreCase("+ok ready", "+OK"));
    EXPECT_FALSE(StartsWithIgnoreCase("+O", "+OK"));
    EXPECT_EQ(AsciiUpperCase("8bitmime \xE4z"), "8BITMIME \xE4Z");
}

TEST(AsciiTextTest, TrimsTheSelectedBytes)
{
    EXPECT_EQ(Trim(" \tvalue x \t"), "value x");
    EXPECT_EQ(Trim("\r value\r\n"), "\r value\r\n");
    EXPECT_EQ(Trim("\r\x01 value\r\n", IsSpaceOrBelow), "value");
    EXPECT_EQ(TrimLeft("  a  "), "a  ");
    EXPECT_EQ(TrimRight("  a  "), "  a");
    EXPECT_EQ(Trim(" \t "), "");
    EXPECT_FALSE(IsSpaceOrBelow('\x80'));
    EXPECT_TRUE(IsControl('\x7F'));
    EXPECT_FALSE(IsControl(' '));
    EXPECT_FALSE(IsControl('\xA0'));
}

TEST(AsciiTextTest, DigitsLettersAndHexDigitValues)
{
    for (char c : {'0', '9', 'a', 'z', 'A', 'Z'}) EXPECT_TRUE(IsAsciiLetterOrDigit(c)) << c;
    for (char c : {'/', ':', '@', '[', '`', '{', '\xE4', ' '}) EXPECT_FALSE(IsAsciiLetterOrDigit(c)) << c;
    EXPECT_TRUE(IsAsciiDigit('7'));
    EXPECT_FALSE(IsAsciiDigit('a'));
    EXPECT_EQ(HexDigitValue('0'), 0);
    EXPECT_EQ(HexDigitValue('9'), 9);
    EXPECT_EQ(HexDigitValue('a'), 10);
    EXPECT_EQ(HexDigitValue('F'), 15);
    for (char c : {'g', 'G', '/', ':', '@', '`', ' '}) EXPECT_EQ(HexDigitValue(c), -1) << c;
}

TEST(AsciiTextTest, NextLineEndsAtCrLfLfOrCr)
{
    std::string_view text = "a\r\nb\nc\rd\r\r\ne";
    std::vector<std::string_view> lines;
    for (size_t pos = 0, next = 0; pos < text.size(); pos = next) lines.push_back(NextLine(text, pos, next));
    EXPECT_EQ(lines, (std::vector<std::string_view>{"a", "b", "c", "d", "", "e"}));
    size_t next = 0;
    EXPECT_EQ(NextLine("x\n", 0, next), "x");
    EXPECT_EQ(next, 2u);
}

TEST(AsciiTextTest, Utf8SequencesAndDecoding)
{
    struct Case
    {
        std::string_view Bytes;
        size_t Length;
    };
    for (auto c : {Case{"a", 1}, Case{"\xC3\xA4", 2}, Case{"\xE2\x82\xAC", 3}, Case{"\xF0\x9F\x98\x80", 4},
                   Case{"\xC3", 0}, Case{"\xC3\x41", 0}, Case{"\x80", 0}, Case{"\xFF", 0}})
        EXPECT_EQ(Utf8SequenceLength(c.Bytes, 0), c.Length) << testing::PrintToString(c.Bytes);
    EXPECT_TRUE(IsUtf8Continuation('\xBF'));
    EXPECT_FALSE(IsUtf8Continuation('\xC3') || IsUtf8Continuation('a'));
    EXPECT_TRUE(IsValidUtf8("gr\xC3\xBC\xC3\x9F"));
    EXPECT_FALSE(IsValidUtf8("gr\xFC\xDF"));
    std::string_view text = "\xE2\x82\xAC\xC3x";
    size_t pos = 0;
    EXPECT_EQ(NextUtf8(text, pos), U'\u20AC');
    EXPECT_EQ(NextUtf8(text, pos), U'\uFFFD');
    EXPECT_EQ(NextUtf8(text, pos), U'x');
    EXPECT_EQ(pos, text.size());
}
