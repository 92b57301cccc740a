#include "runtime/CodePage.h"

#include <gtest/gtest.h>

TEST(CodePageTest, LanguageAndCodePageFollowTheLocaleName)
{
    struct Case
    {
        const char* name;
        uint16_t primary;
        CodePage codePage;
    };
    for (auto c :
         {Case{"de_DE.UTF-8", LangGerman, CodePage::Windows1252}, Case{"C", 0, CodePage::Windows1252},
          Case{"POSIX", 0, CodePage::Windows1252}, Case{"ja_JP.UTF-8", LangJapanese, CodePage::ShiftJis932},
          Case{"ko_KR", LangKorean, CodePage::Uhc949}, Case{"zh_CN.GB2312", LangChinese, CodePage::Gbk936},
          Case{"zh_SG", LangChinese, CodePage::Gbk936}, Case{"zh_TW.UTF-8", LangChinese, CodePage::Big5950},
          Case{"zh_HK", LangChinese, CodePage::Big5950}}) {
        SCOPED_TRACE(c.name);
        LocaleLanguage language = LocaleLanguageFromName(c.name);
        EXPECT_EQ(language.Primary, c.primary);
        EXPECT_EQ(CodePageForLanguage(language), c.codePage);
    }
    EXPECT_EQ(LocaleLanguageFromName("zh_CN").Sub, SubLangChineseSimplified);
}

TEST(CodePageTest, Windows1252RoundTripsEveryByte)
{
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    std::string utf8 = CodePageToUtf8(all, CodePage::Windows1252);
    std::string unmappable;
    EXPECT_EQ(Utf8ToCodePage(utf8, unmappable, CodePage::Windows1252), all);
    EXPECT_EQ(unmappable, "");
    EXPECT_EQ(CodePageToUtf8("\x80 \xE4\xF6\xFC\xDF", CodePage::Windows1252), "€ äöüß");
}

TEST(CodePageTest, UnmappableCharactersAreReportedNotDropped)
{
    std::string unmappable;
    EXPECT_EQ(Utf8ToCodePage("a€b😀c日", unmappable, CodePage::Windows1252), "a\x80"
                                                                            "b?c?");
    EXPECT_EQ(unmappable, "😀日");
}

TEST(CodePageTest, DoubleByteCodePagesConvertBothWays)
{
    std::string unmappable;
    std::string sjis = Utf8ToCodePage("日本ｱ", unmappable, CodePage::ShiftJis932);
    EXPECT_EQ(sjis, "\x93\xFA\x96\x7B\xB1");
    EXPECT_TRUE(IsLeadByte(0x93, CodePage::ShiftJis932));
    EXPECT_FALSE(IsLeadByte(0xB1, CodePage::ShiftJis932));
    EXPECT_EQ(CodePageToUtf8(sjis, CodePage::ShiftJis932), "日本ｱ");
    EXPECT_EQ(CodePageToUtf8("a\x93", CodePage::ShiftJis932), "a\uFFFD");
    EXPECT_EQ(Utf8ToCodePage("한", unmappable, CodePage::Uhc949), "\xC7\xD1");
    EXPECT_EQ(unmappable, "");
}

TEST(CodePageTest, NamedCharsetsConvertOnlyWhenKnownAndFitting)
{
    EXPECT_EQ(NamedCharsetToUtf8("Gr\xFC\xDF", "ISO-8859-1"), "Gr\xC3\xBC\xC3\x9F");
    EXPECT_EQ(NamedCharsetToUtf8(std::string_view("A\0\xE4\0", 4), "UTF-16LE"), "A\xC3\xA4");
    EXPECT_EQ(NamedCharsetToUtf8("", "ISO-8859-1"), "");
    EXPECT_EQ(NamedCharsetToUtf8("abc", "NO-SUCH-CHARSET"), std::nullopt);
    EXPECT_EQ(NamedCharsetToUtf8("a\xFF", "UTF-8"), std::nullopt);
    EXPECT_EQ(NamedCharsetToUtf8("\xE4\xB8", "UTF-8"), std::nullopt); // cut off
}
