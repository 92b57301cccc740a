#include "core/Settings.h"

#include "runtime/Exception.h"
#include "tests/mail/support/ExpectThrowMessage.h"
#include "tests/support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

const DateTime December2002{2002, 12, 28, 10, 0, 0};

std::string GoldenUserIni()
{
    return ReadBytes(std::string(TP_TEST_DATA) + "/user.ini");
}

class SettingsTest : public testing::Test
{
protected:
    TSettings Load(const std::string& content, DateTime now = December2002)
    {
        folder.Write("user.ini", content);
        TSettings settings;
        LoadSettings(settings, ini, FixedClock(now));
        return settings;
    }

    TempFolder folder;
    IniFile ini{SettingsFilePath(folder.Folder())};
};

} // namespace

TEST_F(SettingsTest, FilePathIsUserIniInTheProgramFolder)
{
    EXPECT_EQ(SettingsFilePath("/opt/tickerpost/"), "/opt/tickerpost/user.ini");
}

TEST_F(SettingsTest, MissingFileGivesTheDefaults)
{
    TSettings settings;
    settings.LoginName = "left over";
    LoadSettings(settings, ini, FixedClock(December2002));
    EXPECT_EQ(settings, TSettings{});
    EXPECT_EQ(settings.LoginPassword, "nicht gespeichert");
    EXPECT_EQ(settings.MaxSMSLength, 160);
}

TEST_F(SettingsTest, ReadsARealUserIni)
{
    TSettings settings = Load(GoldenUserIni());
    EXPECT_EQ(settings.LoginName, "max.mustermann");
    EXPECT_TRUE(settings.SavePassword);
    EXPECT_EQ(settings.LoginPassword, "geheim");
    EXPECT_EQ(settings.POP3Server, "pop.gmx.example");
    EXPECT_EQ(settings.SMTPServer, "mail.gmx.example");
    EXPECT_FALSE(settings.Pop3First);
    EXPECT_EQ(settings.UserName, "Max M\xFCller");
    EXPECT_EQ(settings.eMailAdress, "max@gmx.example");
    EXPECT_EQ(settings.SMSServer, "sms.gateway.example");
    EXPECT_EQ(settings.FormatToken, "#pw#");
    EXPECT_EQ(settings.MaxSMSLength, 150);
    EXPECT_TRUE(settings.AutoSave);
    EXPECT_FALSE(settings.LastSMSFirst);
    EXPECT_EQ(settings.LastSentSMS, "24.12.2002 18:05:09");
    EXPECT_EQ(settings.SMSThisMonth, 12);
    EXPECT_FALSE(settings.UseOutlookAdressbook);
}

TEST_F(SettingsTest, ValueRulesOfSingleKeys)
{
    EXPECT_FALSE(Load("[SMS]\r\nAutoSave=0\r\n").AutoSave);
    EXPECT_TRUE(Load("[SMS]\r\nAutoSave=2\r\n").AutoSave);
    EXPECT_TRUE(Load("[SMS]\r\nAutoSave=yes\r\n").AutoSave);
    EXPECT_TRUE(Load("[SMS]\r\nAutoSave=\r\n").AutoSave);
    EXPECT_EQ(Load("[SMS]\r\nSMSThisMonth=0x1F\r\nLastSentSMS=01.12.2002 00:00:00\r\n").SMSThisMonth, 31);
    EXPECT_EQ(Load("[SMS]\r\nSMSThisMonth=abc\r\nLastSentSMS=01.12.2002 00:00:00\r\n").SMSThisMonth, 0);
    EXPECT_EQ(Load("[SMS]\r\nFormatToken=\r\n").FormatToken, "");
    EXPECT_EQ(Load("[eMailAccount]\r\nLoginPassword=\r\n").LoginPassword, "");
    EXPECT_EQ(Load("[eMailAccount]\r\nLoginName=\"Max\"\r\n").LoginName, "Max");
    EXPECT_EQ(Load("[sms]\r\nmaxsmslength= 70 \r\n").MaxSMSLength, 70);
}

TEST_F(SettingsTest, JunkFilesGiveTheDefaults)
{
    std::string binary;
    for (int i = 0; i < 2048; ++i) binary += static_cast<char>((i * 91 + 7) % 256);
    EXPECT_EQ(Load(binary), TSettings{});
    EXPECT_EQ(Load(std::string(1'000'000, '=') + "\r\n"), TSettings{});
    EXPECT_EQ(Load("MaxSMSLength=abc\r\nAutoSave=0\r\n"), TSettings{});
}

TEST_F(SettingsTest, RefusedMaxSmsLengthStopsLoadingWithItsMessage)
{
    struct Case
    {
        const char* value;
        const char* message;
    };
    for (auto c :
         {Case{"abc", "'abc' ist kein gültiger Integerwert"}, Case{"", "'' ist kein gültiger Integerwert"},
          Case{"1.5", "'1.5' ist kein gültiger Integerwert"},
          Case{"0", "'0' ist keine gültige SMS-Länge (mindestens 1)"},
          Case{"-160", "'-160' ist keine gültige SMS-Länge (mindestens 1)"}}) {
        SCOPED_TRACE(c.value);
        folder.Write("user.ini", std::string("[eMailAccount]\r\nLoginName=max\r\n[SMS]\r\nFormatToken=#\r\n"
                                             "MaxSMSLength=") +
                                     c.value +
                                     "\r\nAutoSave=0\r\nSMSThisMonth=5\r\n[Adressbook]\r\n"
                                     "UseOutlookAdressbook=0\r\n");
        TSettings settings;
        EXPECT_THROW_MESSAGE(LoadSettings(settings, ini, FixedClock(December2002)), EConvertError, c.message);
        EXPECT_EQ(settings.LoginName, "max");
        EXPECT_EQ(settings.FormatToken, "#");
        EXPECT_EQ(settings.MaxSMSLength, 160);
        EXPECT_TRUE(settings.AutoSave);
        EXPECT_EQ(settings.SMSThisMonth, 0);
        EXPECT_TRUE(settings.UseOutlookAdressbook);
    }
}

TEST_F(SettingsTest, ParseMaxSmsLengthAcceptsEveryPositiveInteger)
{
    EXPECT_EQ(ParseMaxSmsLength("1"), 1);
    EXPECT_EQ(ParseMaxSmsLength("0160"), 160);
    EXPECT_EQ(ParseMaxSmsLength("2147483647"), 2147483647);
    EXPECT_THROW_MESSAGE(ParseMaxSmsLength("gro\xDF"), EConvertError, "'groß' ist kein gültiger Integerwert");
}

TEST_F(SettingsTest, GetMonthReadsCharactersFourAndFive)
{
    EXPECT_EQ(GetMonth("24.12.2002 18:05:09"), 12);
    EXPECT_EQ(GetMonth("01.01.2002 00:00:00"), 1);
    struct Case
    {
        const char* text;
        const char* message;
    };
    for (auto c :
         {Case{"01.ab.2002 00:00:00", "'ab' ist kein gültiger Integerwert"},
          Case{"01.1", "'1' ist kein gültiger Integerwert"}, Case{"01.", "'' ist kein gültiger Integerwert"},
          Case{"", "'' ist kein gültiger Integerwert"}}) {
        SCOPED_TRACE(c.text);
        EXPECT_THROW_MESSAGE(GetMonth(c.text), EConvertError, c.message);
    }
}

TEST_F(SettingsTest, MonthChangesWithTheMonthTheYearOrATimeOfAnotherForm)
{
    struct Case
    {
        const char* label;
        const char* lastSent;
        DateTime now;
        bool changed;
    };
    for (auto c :
         {Case{"same month", "01.01.2002 00:00:00", {2002, 1, 31, 23, 59, 59}, false},
          Case{"next month", "01.01.2002 00:00:00", {2002, 2, 1, 0, 0, 0}, true},
          Case{"same month a year later", "15.03.2002 12:00:00", {2003, 3, 15, 12, 0, 0}, true},
          Case{"new year", "31.12.2002 23:59:59", {2003, 1, 1, 0, 0, 0}, true},
          Case{"earlier month (clock set back)", "10.05.2002 00:00:00", {2002, 4, 1, 0, 0, 0}, true},
          Case{"locale text of an older version", "5/1/2024 1:00:00 PM", {2024, 5, 2, 0, 0, 0}, true},
          Case{"day where the month stands", "12/05/2024 01:00:00", {2024, 5, 2, 0, 0, 0}, true},
          Case{"date only", "01.05.2024", {2024, 5, 2, 0, 0, 0}, true},
          Case{"one digit too few", "1.05.2024 00:00:00", {2024, 5, 2, 0, 0, 0}, true},
          Case{"letters", "kaputt", {2024, 5, 2, 0, 0, 0}, true},
          Case{"empty", "", {2024, 5, 2, 0, 0, 0}, true}}) {
        SCOPED_TRACE(c.label);
        TSettings settings;
        settings.LastSentSMS = c.lastSent;
        settings.SMSThisMonth = 12;
        EXPECT_EQ(MonthChanged(settings, FixedClock(c.now)), c.changed);
        MonthCheck(settings, FixedClock(c.now));
        EXPECT_EQ(settings.SMSThisMonth, c.changed ? 0 : 12);
        EXPECT_EQ(settings.LastSentSMS, c.lastSent);
    }
}

TEST_F(SettingsTest, LoadingInANewMonthResetsTheCountInMemoryOnly)
{
    std::string content = "[SMS]\r\nLastSentSMS=24.12.2002 18:05:09\r\nSMSThisMonth=12\r\n";
    EXPECT_EQ(Load(content, December2002).SMSThisMonth, 12);
    EXPECT_EQ(Load(content, {2003, 1, 2, 8, 0, 0}).SMSThisMonth, 0);
    EXPECT_EQ(ini.ReadInteger("SMS", "SMSThisMonth", -1), 12);
}

TEST_F(SettingsTest, UnreadableLastSentSmsResetsTheCountAndLoadingGoesOn)
{
    TSettings settings = Load("[SMS]\r\nLastSentSMS=5/1/2024 1:00:00 PM\r\nSMSThisMonth=7\r\n[Adressbook]\r\n"
                              "UseOutlookAdressbook=0\r\n");
    EXPECT_EQ(settings.SMSThisMonth, 0);
    EXPECT_FALSE(settings.UseOutlookAdressbook);
}

TEST_F(SettingsTest, WriteSettingWritesEachTypeAndReadsBackTheSameRecord)
{
    TSettings written = Load(GoldenUserIni());
    written.LoginPassword = " geheim ";
    written.SavePassword = false;
    written.MaxSMSLength = 70;
    written.SMSThisMonth = 3;
    written.LastSentSMS = "02.12.2002 09:00:00";
    written.FormatToken = "\"#pw#\"";
    written.UserName = "'Max' ";
    std::filesystem::remove(ini.Path());
    for (const SettingDefinition& entry : SettingsTable) WriteSetting(ini, written, entry.Field);
    EXPECT_EQ(Load(folder.Read("user.ini")), written);
    EXPECT_EQ(ini.ReadString("eMailAccount", "SavePassword", ""), "0");
    EXPECT_EQ(ini.ReadString("SMS", "MaxSMSLength", ""), "70");
}

TEST_F(SettingsTest, RecordOfASendChangesOnlyItsTwoLines)
{
    folder.Write("user.ini", GoldenUserIni());
    TSettings settings;
    settings.LastSentSMS = "03.01.2003 07:30:00";
    settings.SMSThisMonth = 2;
    WriteSettings(ini, settings, {&TSettings::LastSentSMS, &TSettings::SMSThisMonth});
    std::string expected = GoldenUserIni();
    expected.replace(expected.find("24.12.2002 18:05:09"), 19, "03.01.2003 07:30:00");
    expected.replace(expected.find("SMSThisMonth=12"), 15, "SMSThisMonth=2");
    EXPECT_EQ(folder.Read("user.ini"), expected);
}
