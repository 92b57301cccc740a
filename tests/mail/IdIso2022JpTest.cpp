#include "mail/IdIso2022Jp.h"

#include <gtest/gtest.h>

TEST(IdIso2022JpTest, ShiftJisToIso2022Jp)
{
    struct Case
    {
        const char* label;
        std::string shiftJis, expected;
    };
    const Case cases[] = {
        {"ASCII unchanged", "abc", "abc"},
        {"kanji between the escapes", "\x93\xFA\x96\x7B", "\x1B$BF|K\\\x1B(B"},
        {"back to ASCII in between",
         "a\x93\xFA"
         "b",
         "a\x1B$BF|\x1B(Bb"},
        {"lowest and highest lead bytes", "\x81\x40\xEF\xFC", "\x1B$B!!~~\x1B(B"},
        {"trail byte 0x80 skips 0x7F", "\x81\x80", "\x1B$B!`\x1B(B"},
        {"half-width katakana become full-width", "\xB1\xB6", "\x1B$B%\"%+\x1B(B"},
        {"voiced mark merges", "\xB6\xDE", "\x1B$B%,\x1B(B"},
        {"u with voiced mark", "\xB3\xDE", "\x1B$B%t\x1B(B"},
        {"semi-voiced mark on the ha row", "\xCA\xDF", "\x1B$B%Q\x1B(B"},
        {"semi-voiced mark elsewhere stays a mark", "\xB6\xDF", "\x1B$B%+!,\x1B(B"},
        {"voiced mark without a voiced form stays", "\xB1\xDE", "\x1B$B%\"!+\x1B(B"},
        {"invalid pair dropped", "\x81\x7Fx", "x"},
        {"lead byte at the end dropped", "x\x81", "x"},
        {"unmapped bytes dropped", "\x80\xA0\xFD\xFE\xFF\xF0\x40x", "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(ShiftJisToIso2022Jp(c.shiftJis), c.expected);
    }
}
