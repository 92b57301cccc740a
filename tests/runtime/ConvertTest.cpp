#include "runtime/Convert.h"
#include "runtime/Exception.h"
#include "tests/mail/support/ExpectThrowMessage.h"

#include <gtest/gtest.h>

TEST(ConvertTest, AcceptsDecimalHexSignsAndLeadingBlanks)
{
    struct Case
    {
        const char* text;
        int value;
    };
    for (auto c : {Case{"160", 160}, Case{"0160", 160}, Case{"-5", -5}, Case{"+7", 7}, Case{"  42", 42},
                   Case{"$1F", 31}, Case{"0x1F", 31}, Case{"0X1f", 31}, Case{"2147483647", 2147483647},
                   Case{"-2147483648", -2147483647 - 1}}) {
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(TryStrToInt(c.text).has_value());
        EXPECT_EQ(*TryStrToInt(c.text), c.value);
    }
}

TEST(ConvertTest, RefusesEverythingElse)
{
    for (const char* text :
         {"", " ", "abc", "12a", "42 ", "1.5", "0x", "$", "-", "2147483648", "99999999999999999999", "0xG"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(TryStrToInt(text).has_value());
    }
}

TEST(ConvertTest, StrToIntRaisesTheGermanMessageQuotingTheText)
{
    EXPECT_THROW_MESSAGE(StrToInt("gr\xF6\xDF"), EConvertError, "'größ' ist kein gültiger Integerwert");
}

TEST(ConvertTest, ErrorBoxAddsAPointOnlyAfterCharactersThatSortAfterIt)
{
    EXPECT_EQ(ErrorBoxText("Datei nicht gefunden"), "Datei nicht gefunden.");
    EXPECT_EQ(ErrorBoxText("Fertig."), "Fertig.");
    EXPECT_EQ(ErrorBoxText("Wirklich!"), "Wirklich!");
    EXPECT_EQ(ErrorBoxText("Nummer 5"), "Nummer 5.");
    EXPECT_EQ(ErrorBoxText(""), "");
}
