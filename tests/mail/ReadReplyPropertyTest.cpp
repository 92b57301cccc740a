#include "mail/IdExceptions.h"
#include "mail/IdTCPClient.h"
#include "tests/mail/support/ScriptedServer.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

namespace {

using Step = ScriptedServer::Step;

// What a reply should read as by the reply rules, or nothing when the bytes end before it does.
struct ExpectedReply
{
    std::vector<std::string> lines;
    std::int16_t code = 0;
};

std::string Trim(std::string_view text)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return std::string(text);
}

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::int16_t CodeOf(const std::string& line)
{
    if (SameIgnoringCase(line.substr(0, 3), "+OK")) return PositiveReply;
    if (SameIgnoringCase(line.substr(0, 4), "-ERR")) return NegativeReply;
    const std::string head = line.substr(0, 3);
    std::size_t digitsFrom = !head.empty() && (head[0] == '+' || head[0] == '-') ? 1 : 0;
    if (digitsFrom == head.size()) return 0;
    for (std::size_t i = digitsFrom; i < head.size(); ++i)
        if (!std::isdigit(static_cast<unsigned char>(head[i]))) return 0;
    return static_cast<std::int16_t>(std::stoi(head));
}

std::optional<ExpectedReply> ReadByTheRules(const std::string& bytes)
{
    std::vector<std::string> lines; // the non-blank complete lines, trimmed
    for (std::size_t start = 0, lf; (lf = bytes.find('\n', start)) != std::string::npos; start = lf + 1)
        if (std::string line = Trim(bytes.substr(start, lf - start)); !line.empty()) lines.push_back(line);
    if (lines.empty()) return std::nullopt;
    ExpectedReply reply{{lines[0]}, 0};
    if (lines[0].size() > 3 && lines[0][3] == '-') {
        const std::string end = lines[0].substr(0, 3) + " ";
        for (std::size_t i = 1;; ++i) {
            if (i == lines.size()) return std::nullopt;
            reply.lines.push_back(lines[i]);
            if (lines[i].size() < 4 || SameIgnoringCase(lines[i].substr(0, 4), end)) break;
        }
    }
    reply.code = CodeOf(reply.lines.back());
    return reply;
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

} // namespace

TEST(ReadReplyPropertyTest, RandomRepliesReadByTheRules)
{
    std::mt19937 random(20020101);
    int complete = 0, incomplete = 0;
    for (int round = 0; round < 300; ++round) {
        const std::string bytes = RandomReplyBytes(random);
        SCOPED_TRACE(testing::PrintToString(bytes));
        ScriptedServer server({Step::Send(bytes), Step::Close()});
        TIdTCPClient client;
        client.SetHost("127.0.0.1");
        client.SetPort(server.Port());
        client.OpenConnection();
        const std::optional<ExpectedReply> expected = ReadByTheRules(bytes);
        if (!expected) {
            EXPECT_THROW(client.ReadReply({}), EIdConnClosedGracefully);
            ++incomplete;
            continue;
        }
        EXPECT_EQ(client.ReadReply({}), expected->code);
        EXPECT_EQ(client.ReplyLines(), expected->lines);
        ++complete;
    }
    EXPECT_GT(complete, 100) << "the generator should mostly give whole replies";
    EXPECT_GT(incomplete, 10) << "and sometimes replies cut off by the close";
}
