#include "runtime/TextFile.h"

#include "runtime/RuntimeMessages.h"
#include "tests/support/OrdinaryUser.h"
#include "tests/support/TempFolder.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The error number and message a call raises, or 0 when it raises nothing.
template <class F> std::pair<int, std::string> InOutErrorOf(F&& call)
{
    try {
        call();
    } catch (const EInOutError& e) {
        return {e.ErrorCode(), e.Message()};
    }
    return {0, ""};
}

} // namespace

TEST(TextFileTest, ErrorNumbersHaveTheirGermanTexts)
{
    struct Case
    {
        int code;
        const char* text;
    };
    for (auto c : {Case{2, "Datei nicht gefunden"}, Case{3, "Ungültiger Dateiname"},
                   Case{4, "Zu viele geöffnete Dateien"}, Case{5, "Dateizugriff verweigert"},
                   Case{100, "Versuch hinter dem Dateiende zu lesen"}, Case{101, "Zu wenig Speicherplatz"},
                   Case{106, "Ungültige numerische Eingabe"}, Case{21, "E/A-Fehler 21"}}) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(EInOutError(c.code).Message(), c.text);
        EXPECT_EQ(EInOutError(c.code).ErrorCode(), c.code);
    }
}

TEST(TextFileTest, ErrnoMapsToTheFileErrorNumbers)
{
    struct Case
    {
        int errnoValue;
        int code;
    };
    for (auto c : {Case{ENOENT, 2}, Case{ENOTDIR, 3}, Case{EMFILE, 4}, Case{EACCES, 5}, Case{EPERM, 5},
                   Case{EROFS, 5}, Case{ENOSPC, 101}, Case{EISDIR, EISDIR}, Case{EIO, EIO}}) {
        SCOPED_TRACE(c.errnoValue);
        EXPECT_EQ(InOutErrorCodeForErrno(c.errnoValue), c.code);
    }
}

TEST(TextFileTest, FailuresRaiseTheirFileErrors)
{
    TempFolder folder;
    folder.Write("file.txt", "x");
    struct Case
    {
        const char* label;
        std::pair<int, std::string> error;
        int code;
        const char* text;
    };
    for (const auto& c : {
             Case{"read a missing file", InOutErrorOf([&] { ReadTextLines(folder.File("missing.sms")); }), 2,
                  "Datei nicht gefunden"},
             Case{"read in a missing folder", InOutErrorOf([&] { ReadTextLines(folder.File("Sent/a.SMS")); }),
                  3, "Ungültiger Dateiname"},
             Case{"write in a missing folder",
                  InOutErrorOf([&] { WriteTextFile(folder.File("Sent/a.SMS"), "x"); }), 3,
                  "Ungültiger Dateiname"},
             Case{"a file used as folder",
                  InOutErrorOf([&] { WriteTextFile(folder.File("file.txt/a.SMS"), "x"); }), 3,
                  "Ungültiger Dateiname"},
             Case{"disk full", InOutErrorOf([] { WriteTextFile("/dev/full", "x"); }), 101,
                  "Zu wenig Speicherplatz"},
         }) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(c.error.first, c.code);
        EXPECT_EQ(c.error.second, c.text);
    }
}

TEST(TextFileTest, WriteProtectedFileIsAccessDenied)
{
    TempFolder folder;
    folder.Write("draft.sms", "alt");
    chmod(folder.Folder().c_str(), 0755);
    chmod(folder.File("draft.sms").c_str(), 0444);
    auto write = [&] {
        auto error = InOutErrorOf([&] { WriteTextFile(folder.File("draft.sms"), "neu"); });
        return error.second == "Dateizugriff verweigert" ? error.first : 98;
    };
    EXPECT_EXIT(ExitAsOrdinaryUser(write), testing::ExitedWithCode(5), "");
    EXPECT_EQ(folder.Read("draft.sms"), "alt");
}

TEST(TextFileTest, ReadsLinesWithAnyLineEnd)
{
    TempFolder folder;
    struct Case
    {
        const char* label;
        std::string content;
        std::vector<std::string> lines;
    };
    for (const auto& c :
         {Case{"CR LF", "a\r\nb\r\n", {"a", "b"}}, Case{"LF", "a\nb", {"a", "b"}},
          Case{"CR", "a\rb\r", {"a", "b"}}, Case{"empty lines", "a\r\n\r\n\nb", {"a", "", "", "b"}},
          Case{"one line without line end", "Hallo Welt", {"Hallo Welt"}},
          Case{"a line end only", "\r\n", {""}}, Case{"empty file", "", {}},
          Case{"NUL byte", std::string("a\0b\n", 4), {std::string("a\0b", 3)}}}) {
        SCOPED_TRACE(c.label);
        folder.Write("draft.sms", c.content);
        EXPECT_EQ(ReadTextLines(folder.File("draft.sms")), c.lines);
    }
}

TEST(TextFileTest, WriteReplacesTheWholeContent)
{
    TempFolder folder;
    folder.Write("draft.sms", std::string(1000, 'a'));
    WriteTextFile(folder.File("draft.sms"), "gr\xF6\xDF\r\n");
    EXPECT_EQ(folder.Read("draft.sms"), "gr\xF6\xDF\r\n");
}
