#include "core/SentArchive.h"

#include "core/UserIniLock.h"
#include "runtime/TextFile.h"
#include "tests/core/FakeSendWindow.h"
#include "tests/mail/MailTestText.h"
#include "tests/mail/support/ExpectThrowMessage.h"
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
    IniFile userIni{folder.File("user.ini")};
    TSettings settings;
    FakeSendWindow window;
};

} // namespace

TEST(SentArchiveNameTest, FileNamesOfContactsAndNumbers)
{
    const std::string stamp = "_24-12-2002_18-05-09";
    std::string longUmlauts;
    for (int i = 0; i < 150; ++i) longUmlauts += "ü";
    struct Case
    {
        const char* label;
        std::string recipientName;
        DateTime sentAt;
        int copy;
        std::string fileName;
    };
    const Case cases[] = {
        {"contact with two blanks", ContactArchiveName("Hans Peter Muster"), ChristmasEve, 1,
         "Hans_Peter_Muster" + stamp + ".SMS"},
        {"slash and backslash stay inside Sent", ContactArchiveName("AC/DC \\ ../Fan"), ChristmasEve, 1,
         "AC_DC___.._Fan" + stamp + ".SMS"},
        {"other characters unchanged, in UTF-8", ContactArchiveName(Cp("Jürgen (Büro): 1.")), ChristmasEve, 1,
         "Jürgen_(Büro):_1." + stamp + ".SMS"},
        {"typed number", NumberArchiveName("491711234567"), ChristmasEve, 1,
         "00491711234567" + stamp + ".SMS"},
        {"single digits get their zero", NumberArchiveName("49171"), DateTime{2003, 2, 1, 3, 4, 5}, 1,
         "0049171_01-02-2003_03-04-05.SMS"},
        {"a second copy", NumberArchiveName("49171"), ChristmasEve, 2, "0049171" + stamp + "_2.SMS"},
        // 255 bytes less the 24 of the ending leave 231, and an umlaut is never cut in half.
        {"a long name is shortened between characters", Cp(longUmlauts), ChristmasEve, 1,
         longUmlauts.substr(0, 230) + stamp + ".SMS"},
        {"a long name with a copy", Cp(longUmlauts), ChristmasEve, 12,
         longUmlauts.substr(0, 228) + stamp + "_12.SMS"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(ArchiveFileName(c.recipientName, c.sentAt, c.copy), c.fileName);
        EXPECT_LE(c.fileName.size(), MaxFileNameBytes);
    }
}

TEST_F(SentArchiveTest, WritesNewFilesWithTheTextAndALineBreakAndNeverReplacesOne)
{
    WriteArchiveFile(ProgramFolder(), {"0049171", "Hallo\r\nWelt", ChristmasEve});
    WriteArchiveFile(ProgramFolder(), {"0049171", "Zweite", ChristmasEve});
    std::filesystem::create_symlink("nirgendwo", SentFile("0049171_24-12-2002_18-05-09_3.SMS"));
    WriteArchiveFile(ProgramFolder(), {"0049171", "Vierte", ChristmasEve});

    EXPECT_EQ(ReadBytes(SentFile("0049171_24-12-2002_18-05-09.SMS")), "Hallo\r\nWelt\r\n");
    EXPECT_EQ(ReadBytes(SentFile("0049171_24-12-2002_18-05-09_2.SMS")), "Zweite\r\n");
    EXPECT_EQ(ReadBytes(SentFile("0049171_24-12-2002_18-05-09_4.SMS")), "Vierte\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder.File("nirgendwo")));
}

TEST_F(SentArchiveTest, CodePageNamesBecomeUtf8OnDiskWhileTheTextStaysInTheCodePage)
{
    WriteArchiveFile(ProgramFolder(), {Cp("Jürgen"), Cp("Grüße"), ChristmasEve});
    EXPECT_EQ(ReadBytes(SentFile("Jürgen_24-12-2002_18-05-09.SMS")), Cp("Grüße") + "\r\n");
}

TEST_F(SentArchiveTest, AFileInThePlaceOfTheFolderIsAnInvalidFileName)
{
    WriteBytes(folder.File("Sent"), "");
    const auto error = ThrownBy<EInOutError>([&] {
        WriteArchiveFile(ProgramFolder(), {"0049171", "x", ChristmasEve});
    });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->ErrorCode(), 3);
    EXPECT_EQ(error->Message(), "Ungültiger Dateiname");
}

// The count is the file's, as another copy of the program may have written it since this one read
// it, plus the parts of this send; a count of an earlier month starts afresh.
TEST_F(SentArchiveTest, RecordWritesArchiveStatusTimeLabelAndAddsThePartsToTheFilesCount)
{
    struct Case
    {
        const char* label;
        const char* lastSent;
        const char* countAfter;
    };
    for (const Case& c : {Case{"same month", "01.12.2002 09:00:00", "8"},
                          Case{"earlier month", "01.11.2002 09:00:00", "3"}}) {
        SCOPED_TRACE(c.label);
        WriteBytes(folder.File("user.ini"),
                   "[SMS]\r\nLastSentSMS=" + std::string(c.lastSent) + "\r\nSMSThisMonth=5\r\n");
        std::filesystem::remove_all(folder.File("Sent"));
        settings = TSettings{};
        settings.SMSThisMonth = 1;
        window = FakeSendWindow{};

        RecordSend({ContactArchiveName(Cp("Eva Krüger")), "Text", ChristmasEve}, 3, ProgramFolder(), settings,
                   userIni, window);

        EXPECT_EQ(ReadBytes(SentFile("Eva_Krüger_24-12-2002_18-05-09.SMS")), "Text\r\n");
        EXPECT_EQ(window.StatusTexts, std::vector<std::string>({"SMS gesendet und gespeichert."}));
        EXPECT_EQ(settings.LastSentSMS, "24.12.2002 18:05:09");
        EXPECT_EQ(window.SMSThisMonthLabel, c.countAfter);
        EXPECT_EQ(ReadBytes(folder.File("user.ini")),
                  "[SMS]\r\nLastSentSMS=24.12.2002 18:05:09\r\nSMSThisMonth=" + std::string(c.countAfter) +
                      "\r\n");
    }
}

// A lock that another send holds is waited for only so long, then refused with a German error.
TEST_F(SentArchiveTest, TheLockBesideUserIniExcludesASecondHolder)
{
    const std::string userIniPath = folder.File("user.ini");
    {
        const UserIniLock held(userIniPath);
        try {
            UserIniLock(userIniPath, 20);
            FAIL() << "no error";
        } catch (const EUserIniLockError& e) {
            EXPECT_EQ(e.Message(),
                      "Der Zähler in user.ini ist gesperrt: ein anderer Versand gibt die Sperre " +
                          userIniPath + ".lock nicht frei");
        }
    }
    EXPECT_NO_THROW(UserIniLock(userIniPath, 0));
    const std::string nowhere = folder.File("fehlt/user.ini");
    EXPECT_THROW_MESSAGE(UserIniLock{nowhere}, EIniFileError,
                         "In " + nowhere + " kann nicht geschrieben werden");
}

TEST_F(SentArchiveTest, RecordWithoutAutoSaveWritesNoFileAndNoStatus)
{
    settings.AutoSave = false;
    settings.SMSThisMonth = 1;

    RecordSend({"0049171", "Text", ChristmasEve}, 1, ProgramFolder(), settings, userIni, window);

    EXPECT_FALSE(std::filesystem::exists(folder.File("Sent")));
    EXPECT_TRUE(window.StatusTexts.empty());
    EXPECT_EQ(window.SMSThisMonthLabel, "1");
    EXPECT_EQ(ReadBytes(folder.File("user.ini")),
              "[SMS]\r\nLastSentSMS=24.12.2002 18:05:09\r\nSMSThisMonth=1\r\n");
}

// The SMS went out: the missing copy is reported, and the time and count are recorded all the same.
TEST_F(SentArchiveTest, AnArchiveThatCannotBeWrittenIsReportedAndTheRecordGoesOn)
{
    WriteBytes(folder.File("Sent"), "");
    settings.SMSThisMonth = 3;

    RecordSend({"0049171", "Text", ChristmasEve}, 3, ProgramFolder(), settings, userIni, window);

    EXPECT_EQ(window.StatusTexts,
              std::vector<std::string>({"SMS gesendet, aber nicht gespeichert: Ungültiger Dateiname"}));
    EXPECT_EQ(settings.LastSentSMS, "24.12.2002 18:05:09");
    EXPECT_EQ(window.SMSThisMonthLabel, "3");
    EXPECT_EQ(ReadBytes(folder.File("user.ini")),
              "[SMS]\r\nLastSentSMS=24.12.2002 18:05:09\r\nSMSThisMonth=3\r\n");
}
