#include "runtime/IniFile.h"

#include "tests/mail/support/ExpectThrowMessage.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/OrdinaryUser.h"
#include "tests/support/TempFolder.h"

#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const char* const Profile = "orphan=before any section\r\n"
                            "[eMailAccount]\r\n"
                            "LoginName =  \"Max Mustermann\"  \r\n"
                            "Single='quoted'\r\n"
                            "Unbalanced=\"abc\r\n"
                            "Empty=\r\n"
                            "EmptyQuotes=\"\"\r\n"
                            "Inner=a \"b\" c\r\n"
                            "Equals=a=b\r\n"
                            "Tabs=\t x \t\r\n"
                            "a line without equals sign\r\n"
                            "[ SMS ]\r\n"
                            "maxsmslength=70\r\n"
                            "[sms]\r\n"
                            "MaxSMSLength=99\r\n"
                            "Later=only in the second SMS section\r\n";

mode_t ModeOf(const std::string& path)
{
    struct stat status
    {
    };
    stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

ino_t InodeOf(const std::string& path)
{
    struct stat status
    {
    };
    stat(path.c_str(), &status);
    return status.st_ino;
}

size_t FilesIn(const TempFolder& folder)
{
    size_t count = 0;
    for ([[maybe_unused]] auto& entry : std::filesystem::directory_iterator(folder.Folder())) ++count;
    return count;
}

} // namespace

TEST(IniFileTest, ReadsValuesByTheProfileRules)
{
    TempFolder folder;
    folder.Write("user.ini", Profile);
    IniFile ini(folder.File("user.ini"));
    struct Case
    {
        const char* label;
        const char* section;
        const char* key;
        const char* expected;
    };
    for (auto c :
         {Case{"names ignore case, blanks and quotes go", "EMAILACCOUNT", "loginname", "Max Mustermann"},
          Case{"single quotes", "eMailAccount", "Single", "quoted"},
          Case{"one quote alone stays", "eMailAccount", "Unbalanced", "\"abc"},
          Case{"empty value is empty text", "eMailAccount", "Empty", ""},
          Case{"empty quotes", "eMailAccount", "EmptyQuotes", ""},
          Case{"inner quotes stay", "eMailAccount", "Inner", "a \"b\" c"},
          Case{"value after the first equals sign", "eMailAccount", "Equals", "a=b"},
          Case{"tabs trimmed", "eMailAccount", "Tabs", "x"},
          Case{"blanks inside brackets", "SMS", "MaxSMSLength", "70"},
          Case{"first of two equal sections", "SMS", "Later", "default"},
          Case{"key before any section", "", "orphan", "default"},
          Case{"missing section", "Adressbook", "LoginName", "default"},
          Case{"missing key", "eMailAccount", "Nothing", "default"}}) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(ini.ReadString(c.section, c.key, "default"), c.expected);
    }
}

TEST(IniFileTest, ReadsAtMost2047Characters)
{
    TempFolder folder;
    std::string value(3000, 'x');
    value[2046] = 'y';
    folder.Write("user.ini", "[SMS]\r\nFormatToken=" + value + "\r\n");
    std::string read = IniFile(folder.File("user.ini")).ReadString("SMS", "FormatToken", "");
    EXPECT_EQ(read, value.substr(0, 2047));
}

TEST(IniFileTest, ReadsIntegersAndBooleansByTheProfileRules)
{
    TempFolder folder;
    IniFile ini(folder.File("user.ini"));
    struct Case
    {
        const char* value;
        int integer;
    };
    for (auto c :
         {Case{"0x1F", 31}, Case{"0X1f", 31}, Case{"12", 12}, Case{"-5", -5}, Case{"+7", 7}, Case{" 42 ", 42},
          Case{"\"12\"", 12}, Case{"0x", -1}, Case{"abc", -1}, Case{"12abc", -1}, Case{"", -1},
          Case{"$1F", -1}, Case{"-0x1F", -1}, Case{"0x-1", -1}, Case{"--5", -1}, Case{"+-5", -1},
          Case{"-", -1}, Case{"2147483648", -1}, Case{"-2147483648", -2147483647 - 1}}) {
        SCOPED_TRACE(c.value);
        folder.Write("user.ini", std::string("[SMS]\nSMSThisMonth=") + c.value + "\n");
        EXPECT_EQ(ini.ReadInteger("SMS", "SMSThisMonth", -1), c.integer);
    }
    struct BoolCase
    {
        const char* value;
        bool expected;
    };
    for (auto c : {BoolCase{"0", false}, BoolCase{"1", true}, BoolCase{"2", true}, BoolCase{"yes", true},
                   BoolCase{"", true}}) {
        SCOPED_TRACE(c.value);
        folder.Write("user.ini", std::string("[SMS]\nAutoSave=") + c.value + "\n");
        EXPECT_EQ(ini.ReadBool("SMS", "AutoSave", true), c.expected);
    }
}

TEST(IniFileTest, UnreadableFilesGiveTheDefaults)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.File("folder.ini"));
    for (std::string name : {"missing.ini", "folder.ini", "no/such/folder/user.ini"}) {
        SCOPED_TRACE(name);
        IniFile ini(folder.File(name));
        EXPECT_EQ(ini.ReadString("SMS", "SMSServer", "gw"), "gw");
        EXPECT_EQ(ini.ReadInteger("SMS", "SMSThisMonth", 3), 3);
    }
}

TEST(IniFileTest, JunkNeverBreaksReading)
{
    TempFolder folder;
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 37) % 256);
    struct Case
    {
        const char* label;
        std::string content;
        std::string expected;
    };
    for (const auto& c :
         {Case{"binary junk around the section", binary + "\n[SMS]\nSMSServer=gw\n" + binary, "gw"},
          Case{"NUL bytes in the value", std::string("[SMS]\nSMSServer=g\0w\n", 20), std::string("g\0w", 3)},
          Case{"very long line before", std::string(5'000'000, 'a') + "\n[SMS]\nSMSServer=gw\n", "gw"},
          Case{"no sections", "SMSServer=gw\nAutoSave=0\n", "default"},
          Case{"LF only, no final line end", "[SMS]\nSMSServer=gw", "gw"},
          Case{"lone CR between lines", "[SMS]\rSMSServer=gw\n", "default"},
          Case{"unclosed bracket", "[SMS\nSMSServer=gw\n", "gw"}, Case{"empty file", "", "default"}}) {
        SCOPED_TRACE(c.label);
        folder.Write("user.ini", c.content);
        std::string read = IniFile(folder.File("user.ini")).ReadString("SMS", "SMSServer", "default");
        EXPECT_EQ(read, c.expected);
    }
}

TEST(IniFileTest, WritesKeysInPlaceBehindTheirSectionOrInANewSection)
{
    TempFolder folder;
    folder.Write("user.ini", "; Tickerpost\r\n"
                             "[eMailAccount]\r\n"
                             "LoginName=alt\r\n"
                             "UserName=Max\r\n"
                             "\r\n"
                             "[SMS]\r\n"
                             "SMSServer=gw.example\r\n");
    IniFile ini(folder.File("user.ini"));
    ini.WriteString("EMAILACCOUNT", "loginname", "neu");
    ini.WriteBool("eMailAccount", "Pop3First", false);
    ini.WriteInteger("SMS", "SMSThisMonth", 12);
    ini.WriteString("Adressbook", "UseOutlookAdressbook", "1");
    EXPECT_EQ(folder.Read("user.ini"), "; Tickerpost\r\n"
                                       "[eMailAccount]\r\n"
                                       "loginname=neu\r\n"
                                       "UserName=Max\r\n"
                                       "Pop3First=0\r\n"
                                       "\r\n"
                                       "[SMS]\r\n"
                                       "SMSServer=gw.example\r\n"
                                       "SMSThisMonth=12\r\n"
                                       "[Adressbook]\r\n"
                                       "UseOutlookAdressbook=1\r\n");
}

TEST(IniFileTest, WriteKeepsLfLineEndsAndRemovesLineBreaksFromValues)
{
    TempFolder folder;
    folder.Write("user.ini", "[SMS]\nSMSServer=gw\n");
    IniFile ini(folder.File("user.ini"));
    ini.WriteString("SMS", "FormatToken", "a\r\n[eMailAccount]\nb");
    EXPECT_EQ(folder.Read("user.ini"), "[SMS]\nSMSServer=gw\nFormatToken=a  [eMailAccount] b\n");
}

// A value that reading would change is stored in double quotes; any other keeps its bytes.
TEST(IniFileTest, ValuesComeBackAsWritten)
{
    TempFolder folder;
    IniFile ini(folder.File("user.ini"));
    struct Case
    {
        const char* label;
        std::string value;
        std::string stored;
    };
    for (const auto& c :
         {Case{"plain", "Max Mustermann", "Max Mustermann"}, Case{"empty", "", ""},
          Case{"umlauts", "gr\xF6\xDF", "gr\xF6\xDF"}, Case{"equals sign", "a=b", "a=b"},
          Case{"semicolon", "x;y", "x;y"},
          Case{"longest read", std::string(2047, 'z'), std::string(2047, 'z')},
          Case{"inner quotes", "a \"b\" c", "a \"b\" c"}, Case{"quote at one end only", "\"abc", "\"abc"},
          Case{"one quote", "'", "'"}, Case{"two different quotes", "'x\"", "'x\""},
          Case{"leading blank", " geheim", "\" geheim\""}, Case{"trailing blank", "geheim ", "\"geheim \""},
          Case{"tabs", "\tx\t", "\"\tx\t\""}, Case{"blanks only", "  ", "\"  \""},
          Case{"in double quotes", "\"#pw#\"", "\"\"#pw#\"\""},
          Case{"in single quotes", "'Max'", "\"'Max'\""},
          Case{"quoted with blanks", " \"x\" ", "\" \"x\" \""}}) {
        SCOPED_TRACE(c.label);
        ini.WriteString("eMailAccount", "UserName", c.value);
        EXPECT_EQ(ini.ReadString("eMailAccount", "UserName", "default"), c.value);
        EXPECT_EQ(folder.Read("user.ini"), "[eMailAccount]\r\nUserName=" + c.stored + "\r\n");
    }
}

// Each file is written one key; every other line keeps its bytes and every key its value.
TEST(IniFileTest, WriteKeepsEveryOtherLineByteForByte)
{
    const std::string Bom = "\xEF\xBB\xBF";
    struct Case
    {
        const char* label;
        std::string before;
        const char* key;
        std::string after;
    };
    for (const auto& c : {
             Case{"byte order mark", Bom + "[SMS]\r\nA=1\r\n", "B", Bom + "[SMS]\r\nA=1\r\nB=neu\r\n"},
             Case{"two byte order marks", Bom + Bom + "[SMS]\r\nA=1\r\n", "A",
                  Bom + Bom + "[SMS]\r\nA=1\r\n[SMS]\r\nA=neu\r\n"},
             Case{"CR run ends the last line", "[SMS]\nA=1\r\r", "B", "[SMS]\nA=1\r\r\nB=neu\n"},
             Case{"CR run before a line end", "[SMS]\r\nA=1\r\r\nC=3\n", "C", "[SMS]\r\nA=1\r\r\nC=neu\n"},
             Case{"replaced line keeps its line end", "[SMS]\nA=1\r\nC=3\n", "A", "[SMS]\nA=neu\r\nC=3\n"},
             Case{"last line without line end", "[SMS]\r\nA=1", "B", "[SMS]\r\nA=1\r\nB=neu\r\n"},
             Case{"last line ends in CR", "[SMS]\nA=1\r", "B", "[SMS]\nA=1\r\nB=neu\n"},
         }) {
        SCOPED_TRACE(c.label);
        TempFolder folder;
        folder.Write("user.ini", c.before);
        IniFile ini(folder.File("user.ini"));
        std::string otherValue = ini.ReadString("SMS", c.key == std::string("A") ? "C" : "A", "");
        ini.WriteString("SMS", c.key, "neu");
        EXPECT_EQ(folder.Read("user.ini"), c.after);
        EXPECT_EQ(ini.ReadString("SMS", c.key, ""), "neu");
        EXPECT_EQ(ini.ReadString("SMS", c.key == std::string("A") ? "C" : "A", ""), otherValue);
    }
}

TEST(IniFileTest, WriteOfSeveralKeysChangesOnlyTheirLines)
{
    TempFolder folder;
    folder.Write("user.ini", "[SMS]\nLastSentSMS=01.12.2026 08:00:00\nSMSThisMonth=4\n[Adressbook]\n");
    IniFile ini(folder.File("user.ini"));
    ini.Write(IniChanges()
                  .SetString("SMS", "LastSentSMS", "07.12.2026 05:13:07")
                  .SetInteger("SMS", "SMSThisMonth", 7)
                  .SetBool("Adressbook", "UseOutlookAdressbook", false)
                  .SetString("eMailAccount", "LoginName", "max"));
    EXPECT_EQ(folder.Read("user.ini"),
              "[SMS]\nLastSentSMS=07.12.2026 05:13:07\nSMSThisMonth=7\n"
              "[Adressbook]\nUseOutlookAdressbook=0\n[eMailAccount]\nLoginName=max\n");
}

TEST(IniFileTest, NewFileGetsMode0600AndAnExistingOneKeepsItsMode)
{
    TempFolder folder;
    IniFile created(folder.File("user.ini"));
    created.WriteString("SMS", "SMSServer", "gw");
    EXPECT_EQ(folder.Read("user.ini"), "[SMS]\r\nSMSServer=gw\r\n");
    EXPECT_EQ(ModeOf(created.Path()), 0600u);

    folder.Write("shared.ini", "[SMS]\r\n");
    chmod(folder.File("shared.ini").c_str(), 0640);
    IniFile existing(folder.File("shared.ini"));
    existing.WriteString("SMS", "SMSServer", "gw");
    EXPECT_EQ(ModeOf(existing.Path()), 0640u);
}

TEST(IniFileTest, WriteReplacesTheFileAsAWholeAndLeavesNoTemporaryFile)
{
    TempFolder folder;
    folder.Write("user.ini", "[SMS]\r\nSMSServer=gw\r\n");
    ino_t before = InodeOf(folder.File("user.ini"));
    IniFile(folder.File("user.ini")).WriteString("SMS", "SMSServer", "neu");
    EXPECT_NE(InodeOf(folder.File("user.ini")), before);
    EXPECT_EQ(FilesIn(folder), 1u);
}

TEST(IniFileTest, WriteThroughASymbolicLinkKeepsTheLink)
{
    TempFolder folder;
    folder.Write("real.ini", "[SMS]\r\n");
    std::filesystem::create_symlink(folder.File("real.ini"), folder.File("user.ini"));
    IniFile(folder.File("user.ini")).WriteString("SMS", "SMSServer", "gw");
    EXPECT_TRUE(std::filesystem::is_symlink(folder.File("user.ini")));
    EXPECT_EQ(folder.Read("real.ini"), "[SMS]\r\nSMSServer=gw\r\n");
}

TEST(IniFileTest, RefusedWriteRaisesTheMessageWithTheFullPath)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.File("folder.ini"));
    for (std::string name : {"missing/user.ini", "folder.ini"}) {
        SCOPED_TRACE(name);
        IniFile ini(folder.File(name));
        EXPECT_THROW_MESSAGE(ini.WriteString("SMS", "SMSServer", "gw"), EIniFileError,
                             "In " + folder.File(name) + " kann nicht geschrieben werden");
    }
}

TEST(IniFileTest, WriteProtectedFileIsRefusedAndKept)
{
    TempFolder folder;
    folder.Write("user.ini", "[SMS]\r\n");
    chmod(folder.Folder().c_str(), 0777);
    chmod(folder.File("user.ini").c_str(), 0444);
    auto write = [&] {
        try {
            IniFile(folder.File("user.ini")).WriteString("SMS", "SMSServer", "gw");
        } catch (const EIniFileError&) {
            return 5;
        }
        return 0;
    };
    EXPECT_EXIT(ExitAsOrdinaryUser(write), testing::ExitedWithCode(5), "");
    EXPECT_EQ(folder.Read("user.ini"), "[SMS]\r\n");
}

// A full disk while the new content is written (simulated by a file size limit) leaves the old
// file whole, without either of the two keys, and no temporary file behind.
TEST(IniFileTest, FailedWriteLeavesTheOldFileUntouched)
{
    TempFolder folder;
    std::string old = "[SMS]\r\nSMSServer=gw\r\nSMSThisMonth=12\r\n";
    folder.Write("user.ini", old);
    {
        FileSizeLimit fullDisk(4096);
        EXPECT_THROW(IniFile(folder.File("user.ini"))
                         .Write(IniChanges()
                                    .SetInteger("SMS", "SMSThisMonth", 13)
                                    .SetString("SMS", "FormatToken", std::string(10000, 'x'))),
                     EIniFileError);
    }
    EXPECT_EQ(folder.Read("user.ini"), old);
    EXPECT_EQ(FilesIn(folder), 1u);
}

// A write killed while it writes (here by the file size limit's signal) leaves a temporary that
// only its owner can read; the next write removes it, and only temporaries of its own naming that
// no running write holds.
TEST(IniFileTest, KilledWriteLeavesAPrivateTemporaryThatTheNextWriteRemoves)
{
    TempFolder folder;
    folder.Write("user.ini", "[eMailAccount]\r\nLoginPassword=geheim\r\n");
    chmod(folder.File("user.ini").c_str(), 0644);
    IniFile ini(folder.File("user.ini"));
    auto killedWrite = [&] {
        rlimit small{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &small);
        std::signal(SIGXFSZ, SIG_DFL);
        ini.WriteString("SMS", "FormatToken", std::string(10000, 'x'));
    };
    EXPECT_EXIT(killedWrite(), testing::KilledBySignal(SIGXFSZ), "");
    std::vector<std::string> left;
    for (auto& entry : std::filesystem::directory_iterator(folder.Path()))
        if (entry.path().filename() != "user.ini") left.push_back(entry.path().string());
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(ModeOf(left[0]), 0600u);

    for (const char* name : {"user.ini.backup", "user.ini.tickerpost-abc", "Kontakte.vcf.tickerpost-a1B2c3",
                             "user.ini.tickerpost-inUse1"})
        folder.Write(name, "");
    int inUse = open(folder.File("user.ini.tickerpost-inUse1").c_str(), O_RDONLY);
    flock(inUse, LOCK_EX);
    ini.WriteString("SMS", "SMSServer", "gw");
    close(inUse);
    EXPECT_FALSE(std::filesystem::exists(left[0]));
    for (const char* name : {"user.ini.backup", "user.ini.tickerpost-abc", "Kontakte.vcf.tickerpost-a1B2c3",
                             "user.ini.tickerpost-inUse1"})
        EXPECT_TRUE(std::filesystem::exists(folder.File(name))) << name;
    EXPECT_EQ(ModeOf(ini.Path()), 0644u);
}
