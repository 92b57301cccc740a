#include "core/SmsDraft.h"

#include "runtime/TextFile.h"
#include "tests/support/FileSizeLimit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

namespace {

class SmsDraftTest : public testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tp_draft_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

    void WriteBytes(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(PathOf(name), std::ios::binary) << bytes;
    }

    std::string ReadBytes(const std::string& name) const
    {
        std::ifstream in(PathOf(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    std::filesystem::path folder_;
};

TEST_F(SmsDraftTest, SavedTextComesBackExactly)
{
    const std::string text = "Treffen um 8 im Caf\xE9, bis gleich!";
    WriteSmsDraft(PathOf("a.sms"), text);
    EXPECT_EQ(ReadBytes("a.sms"), text + "\r\n");
    EXPECT_EQ(ReadSmsDraft(PathOf("a.sms")), text);
}

TEST_F(SmsDraftTest, SaveReplacesTheWholeContent)
{
    WriteBytes("a.sms", "eine viel laengere alte Nachricht\r\nmit zwei Zeilen\r\n");
    WriteSmsDraft(PathOf("a.sms"), "neu");
    EXPECT_EQ(ReadBytes("a.sms"), "neu\r\n");
}

TEST_F(SmsDraftTest, SaveOnAFullDiskKeepsTheOldDraft)
{
    WriteBytes("a.sms", "alt\r\n");
    {
        FileSizeLimit fullDisk(4096);
        EXPECT_THROW(WriteSmsDraft(PathOf("a.sms"), std::string(10000, 'x')), EInOutError);
    }
    EXPECT_EQ(ReadBytes("a.sms"), "alt\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1);
}

TEST_F(SmsDraftTest, NewDraftGetsTheModeTheUmaskAllows)
{
    mode_t saved = umask(027);
    WriteSmsDraft(PathOf("a.sms"), "neu");
    umask(saved);
    EXPECT_EQ(std::filesystem::status(PathOf("a.sms")).permissions(),
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
        WriteBytes("d.txt", c.bytes);
        EXPECT_EQ(ReadSmsDraft(PathOf("d.txt")), c.text);
    }
}

TEST_F(SmsDraftTest, LineBreakInTextBecomesABlankAfterRoundTrip)
{
    WriteSmsDraft(PathOf("b.sms"), "Hallo\r\nWelt");
    const std::string back = ReadSmsDraft(PathOf("b.sms"));
    EXPECT_EQ(back, "Hallo Welt");
    EXPECT_EQ(back.size(), std::string("Hallo\r\nWelt").size() - 1);
}

TEST_F(SmsDraftTest, FileErrorsCarryTheirGermanText)
{
    struct Case
    {
        const char* label;
        std::string path;
        const char* message;
    };
    for (const Case& c : {
             Case{"missing file", PathOf("fehlt.sms"), "Datei nicht gefunden"},
             Case{"missing folder", PathOf("fehlt/a.sms"), "Ungültiger Dateiname"},
         }) {
        SCOPED_TRACE(c.label);
        try {
            ReadSmsDraft(c.path);
            ADD_FAILURE() << "no error raised";
        } catch (const EInOutError& error) {
            EXPECT_EQ(error.Message(), c.message);
        }
    }
}

TEST_F(SmsDraftTest, SaveIntoMissingFolderFails)
{
    try {
        WriteSmsDraft(PathOf("fehlt/a.sms"), "Hallo");
        ADD_FAILURE() << "no error raised";
    } catch (const EInOutError& error) {
        EXPECT_EQ(error.Message(), "Ungültiger Dateiname");
    }
}

} // namespace
