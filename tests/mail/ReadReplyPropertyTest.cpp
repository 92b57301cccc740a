#include "mail/IdExceptions.h"
#include "mail/IdTCPClient.h"
#include "tests/mail/support/ScriptedServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

using Step = ScriptedServer::Step;

bool Blank(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

bool AllBlank(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), Blank);
}

// Whether `text` is `lines` in order with only blanks and line ends (at least one between two
// lines) around them: each line was read whole, trimmed, and none was skipped that held more.
bool JoinedByBlanksAndLineEnds(std::string_view text, const std::vector<std::string>& lines)
{
    std::size_t at = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t found = text.find(lines[i], at);
        if (found == std::string_view::npos) return false;
        const std::string_view between = text.substr(at, found - at);
        if (!AllBlank(between) || (i > 0 && between.find('\n') == std::string_view::npos)) return false;
        at = found + lines[i].size();
    }
    return AllBlank(text.substr(at));
}

// Reply-like lines: codes, POP3 words and near misses, separators, text with blanks, CRs and NULs.
std::string RandomReplyBytes(std::mt19937& random)
{
    static const char* const heads[] = {"250",  "251", "220", "25",  "2",   "",   "+OK", "+ok",   "-ERR",
                                        "-err", "-ER", "abc", "ABC", "+12", "-7", "9x9", "  250", "\t354"};
    static const char* const separators[] = {"-", " ", "", "\t", "x"};
    static const char text[] = "abc XYZ\t\r-+0129";
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    std::string bytes;
    for (int line = 0, lines = 1 + pick(6); line < lines; ++line) {
        bytes += heads[pick(std::size(heads))];
        bytes += separators[pick(std::size(separators))];
        for (int i = pick(8); i > 0; --i) bytes += pick(10) == 0 ? '\0' : text[pick(sizeof text - 1)];
        bytes += pick(3) == 0 ? "\n" : "\r\n";
    }
    if (pick(4) == 0) bytes += "250 unfinished";
    return bytes;
}

// Everything the server sent that the reply left for later reads.
std::string Unread(TIdTCPClient& client)
{
    while (client.FillInputBuffer(false, 1000) > 0) {
    }
    return client.TakeFromInputBuffer(static_cast<int>(client.InputBufferSize()));
}

} // namespace

// Whatever the server sends, a reply is either read or the close is reported, and a reply read
// consists of the whole lines the client took, trimmed and in order, with a code of its last line.
TEST(ReadReplyPropertyTest, RandomRepliesKeepTheReplyRules)
{
    std::mt19937 random(20020101);
    int complete = 0, incomplete = 0;
    for (int round = 0; round < 300; ++round) {
        const std::string bytes = RandomReplyBytes(random);
        SCOPED_TRACE(testing::PrintToString(bytes));
        ScriptedServer server({Step::Send(bytes), Step::Close()});
        TIdTCPClient client;
        ConnectTo(client, server);
        std::int16_t code = 0;
        try {
            code = client.ReadReply({});
        } catch (const EIdConnClosedGracefully&) {
            ++incomplete;
            continue;
        }
        ++complete;
        const std::vector<std::string>& lines = client.ReplyLines();
        ASSERT_FALSE(lines.empty());
        for (const std::string& line : lines) {
            EXPECT_FALSE(Blank(line.front()) || Blank(line.back())) << line;
            EXPECT_EQ(line.find('\n'), std::string::npos) << line;
        }
        if (lines.size() > 1) {
            EXPECT_TRUE(lines[0].size() > 3 && lines[0][3] == '-') << "only a continued line goes on";
        }
        EXPECT_EQ(client.ReplyText(), lines.back());
        EXPECT_EQ(client.ReplyCode(), code);
        EXPECT_TRUE(code >= -99 && code <= 999) << code;

        const std::string unread = Unread(client);
        ASSERT_TRUE(bytes.ends_with(unread));
        const std::string consumed = bytes.substr(0, bytes.size() - unread.size());
        EXPECT_TRUE(consumed.ends_with('\n')) << "the client takes whole lines";
        EXPECT_TRUE(JoinedByBlanksAndLineEnds(consumed, lines));
    }
    EXPECT_GT(complete, 100) << "the generator should mostly give whole replies";
    EXPECT_GT(incomplete, 10) << "and sometimes replies cut off by the close";
}
