#include "core/SentArchive.h"

#include "runtime/TextFile.h"
#include "tests/core/FakeSendWindow.h"
#include "tests/core/SendTestFiles.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const DateTime ChristmasEve{2002, 12, 24, 18, 5, 9};

class SentArchiveTest : public testing::Test
{
protected:
    std::string ProgramFolder() const { return folder.Path() + "/"; }
    std::string SentFile(const std::string& utf8Name) const { return folder.File("Sent/" + utf8Name); }

    TempFolder folder;
};

} // namespace

TEST(SentArchiveNameTest, FileNamesOfContactsAndNumbers)
{
    struct Case
    {
        const char* label;
        std::string recipientName;
        DateTime sentAt;
        std::string fileName;
    };
    const Case cases[] = {
        {"contact with two blanks", ContactArchiveName("Hans Peter Muster"), ChristmasEve,
         "Hans_Peter_Muster_24-12-2002_18-05-09.SMS"},
        {"slash and backslash stay inside Sent", ContactArchiveName("AC/DC \\ ../Fan"), ChristmasEve,
         "AC_DC___.._Fan_24-12-2002_18-05-09.SMS"},
        {"other characters unchanged", ContactArchiveName(Cp("Jürgen (Büro): 1.")), ChristmasEve,
         Cp("Jürgen_(Büro):_1._24-12-2002_18-05-09.SMS")},
        {"typed number", NumberArchiveName("491711234567"), ChristmasEve,
         "00491711234567_24-12-2002_18-05-09.SMS"},
        {"single digits get their zero", NumberArchiveName("49171"), DateTime{2003, 2, 1, 3, 4, 5},
         "0049171_01-02-2003_03-04-05.SMS"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(ArchiveFileName(c.recipientName, c.sentAt), c.fileName);
    }
}

TEST_F(SentArchiveTest, CreatesTheMissingFolderAndWritesTheTextWithALineBreak)
{
    WriteArchiveFile(ProgramFolder(), "0049171_24-12-2002_18-05-09.SMS", "Hallo\r\nWelt");
    EXPECT_EQ(ReadBytes(SentFile("0049171_24-12-2002_18-05-09.SMS")), "Hallo\r\nWelt\r\n");

    // The same recipient within the same second: the file is replaced.
    WriteArchiveFile(ProgramFolder(), "0049171_24-12-2002_18-05-09.SMS", "Zweite");
    EXPECT_EQ(ReadBytes(SentFile("0049171_24-12-2002_18-05-09.SMS")), "Zweite\r\n");
}

TEST_F(SentArchiveTest, CodePageNamesBecomeUtf8OnDiskWhileTheTextStaysInTheCodePage)
{
    WriteArchiveFile(ProgramFolder(), Cp("Jürgen_x.SMS"), Cp("Grüße"));
    EXPECT_EQ(ReadBytes(SentFile("Jürgen_x.SMS")), Cp("Grüße") + "\r\n");
}

TEST_F(SentArchiveTest, AFileInThePlaceOfTheFolderIsAnInvalidFileName)
{
    WriteBytes(folder.File("Sent"), "");
    try {
        WriteArchiveFile(ProgramFolder(), "a.SMS", "x");
        FAIL() << "no error";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.ErrorCode(), 3);
        EXPECT_EQ(e.Message(), "Ungültiger Dateiname");
    }
}

TEST_F(SentArchiveTest, RecordWritesArchiveStatusTimeLabelAndUserIni)
{
    WriteBytes(folder.File("user.ini"), "[SMS]\r\nLastSentSMS=01.11.2002 09:00:00\r\nSMSThisMonth=5\r\n");
    IniFile userIni(folder.File("user.ini"));
    TSettings settings;
    settings.SMSThisMonth = 8;
    FakeSendWindow window;

    RecordSend({ContactArchiveName(Cp("Eva Krüger")), "Text", ChristmasEve}, ProgramFolder(), settings,
               userIni, window);

    EXPECT_EQ(ReadBytes(SentFile("Eva_Krüger_24-12-2002_18-05-09.SMS")), "Text\r\n");
    EXPECT_EQ(window.StatusTexts, std::vector<std::string>({"SMS gesendet und gespeichert."}));
    EXPECT_EQ(settings.LastSentSMS, "24.12.2002 18:05:09");
    EXPECT_EQ(window.SMSThisMonthLabel, "8");
    EXPECT_EQ(ReadBytes(folder.File("user.ini")),
              "[SMS]\r\nLastSentSMS=24.12.2002 18:05:09\r\nSMSThisMonth=8\r\n");
}

TEST_F(SentArchiveTest, RecordWithoutAutoSaveWritesNoFileAndNoStatus)
{
    IniFile userIni(folder.File("user.ini"));
    TSettings settings;
    settings.AutoSave = false;
    settings.SMSThisMonth = 1;
    FakeSendWindow window;

    RecordSend({"0049171", "Text", ChristmasEve}, ProgramFolder(), settings, userIni, window);

    EXPECT_FALSE(std::filesystem::exists(folder.File("Sent")));
    EXPECT_TRUE(window.StatusTexts.empty());
    EXPECT_EQ(window.SMSThisMonthLabel, "1");
    EXPECT_EQ(ReadBytes(folder.File("user.ini")),
              "[SMS]\r\nLastSentSMS=24.12.2002 18:05:09\r\nSMSThisMonth=1\r\n");
}

TEST_F(SentArchiveTest, AFailedArchiveLeavesTimeLabelAndUserIniAsTheyWere)
{
    WriteBytes(folder.File("Sent"), "");
    IniFile userIni(folder.File("user.ini"));
    TSettings settings;
    settings.SMSThisMonth = 3;
    FakeSendWindow window;

    EXPECT_THROW(RecordSend({"0049171", "Text", ChristmasEve}, ProgramFolder(), settings, userIni, window),
                 EInOutError);

    EXPECT_EQ(settings.LastSentSMS, "01.01.2002 00:00:00");
    EXPECT_EQ(window.SMSThisMonthLabel, "0");
    EXPECT_TRUE(window.StatusTexts.empty());
    EXPECT_FALSE(std::filesystem::exists(folder.File("user.ini")));
}
