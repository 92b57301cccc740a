#include "core/SmsDraft.h"

#include "runtime/TextFile.h"
#include "tests/mail/support/ExpectThrowMessage.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sys/stat.h>

namespace {

class SmsDraftTest : public testing::Test
{
protected:
    TempFolder folder;
};

TEST_F(SmsDraftTest, SavedTextComesBackExactly)
{
    const std::string text = "Treffen um 8 im Caf\xE9, bis gleich!";
    WriteSmsDraft(folder.File("a.sms"), text);
    EXPECT_EQ(folder.Read("a.sms"), text + "\r\n");
    EXPECT_EQ(ReadSmsDraft(folder.File("a.sms")), text);
}

TEST_F(SmsDraftTest, SaveReplacesTheWholeContent)
{
    folder.Write("a.sms", "eine viel laengere alte Nachricht\r\nmit zwei Zeilen\r\n");
    WriteSmsDraft(folder.File("a.sms"), "neu");
    EXPECT_EQ(folder.Read("a.sms"), "neu\r\n");
}

TEST_F(SmsDraftTest, SaveOnAFullDiskKeepsTheOldDraft)
{
    folder.Write("a.sms", "alt\r\n");
    {
        FileSizeLimit fullDisk(4096);
        EXPECT_THROW(WriteSmsDraft(folder.File("a.sms"), std::string(10000, 'x')), EInOutError);
    }
    EXPECT_EQ(folder.Read("a.sms"), "alt\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1);
}

TEST_F(SmsDraftTest, NewDraftGetsTheModeTheUmaskAllows)
{
    mode_t saved = umask(027);
    WriteSmsDraft(folder.File("a.sms"), "neu");
    umask(saved);
    EXPECT_EQ(std::filesystem::status(folder.File("a.sms")).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
}

TEST_F(SmsDraftTest, LinesAreJoinedBySingleBlanks)
{
    struct Case
    {
        const char* label;
        std::string bytes;
        std::string text;
    };
    for (const Case& c : {
             Case{"empty file", "", ""},
             Case{"one line without line end", "Hallo", "Hallo"},
             Case{"saved line break comes back as a blank", "Hallo\r\nWelt\r\n", "Hallo Welt"},
             Case{"three lines", "eins\r\nzwei\r\ndrei\r\n", "eins zwei drei"},
             Case{"LF line ends", "eins\nzwei\n", "eins zwei"},
             Case{"empty line in between", "eins\r\n\r\ndrei", "eins  drei"},
         }) {
        SCOPED_TRACE(c.label);
        folder.Write("d.txt", c.bytes);
        EXPECT_EQ(ReadSmsDraft(folder.File("d.txt")), c.text);
    }
}

TEST_F(SmsDraftTest, LineBreakInTextBecomesABlankAfterRoundTrip)
{
    WriteSmsDraft(folder.File("b.sms"), "Hallo\r\nWelt");
    const std::string back = ReadSmsDraft(folder.File("b.sms"));
    EXPECT_EQ(back, "Hallo Welt");
    EXPECT_EQ(back.size(), std::string("Hallo\r\nWelt").size() - 1);
}

TEST_F(SmsDraftTest, FileErrorsCarryTheirGermanText)
{
    struct Case
    {
        const char* label;
        std::function<void()> call;
        const char* message;
    };
    for (const Case& c : {
             Case{"read a missing file", [&] { ReadSmsDraft(folder.File("fehlt.sms")); },
                  "Datei nicht gefunden"},
             Case{"read in a missing folder", [&] { ReadSmsDraft(folder.File("fehlt/a.sms")); },
                  "Ungültiger Dateiname"},
             Case{"save into a missing folder", [&] { WriteSmsDraft(folder.File("fehlt/a.sms"), "Hallo"); },
                  "Ungültiger Dateiname"},
         }) {
        SCOPED_TRACE(c.label);
        EXPECT_THROW_MESSAGE(c.call(), EInOutError, c.message);
    }
}

} // namespace
