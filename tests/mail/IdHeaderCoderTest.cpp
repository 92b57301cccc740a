#include "mail/IdHeaderCoder.h"
#include "mail/IdBase64.h"
#include "mail/IdHeaderList.h"
#include "tests/mail/MailTestText.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const TMailCharset Latin1{TransferKind::transferEightBit, 'Q', "ISO-8859-1"};

int HexValue(char c)
{
    return c <= '9' ? c - '0' : c - 'A' + 10;
}

std::string DecodeBase64(std::string_view text)
{
    static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned group = 0;
    int bits = 0;
    for (char c : text) {
        if (c == '=') break;
        group = (group << 6) | static_cast<unsigned>(alphabet.find(c));
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((group >> bits) & 0xFF);
        }
    }
    return out;
}

std::string DecodeQ(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '_') {
            out += ' ';
        } else if (text[i] == '=') {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string Opening(const TMailCharset& charset)
{
    return "=?" + charset.Charset + "?" + charset.Letter + "?";
}

// An RFC 2047 reader for the tests: unfolds the field (RFC 5322 2.2.3), decodes every encoded word
// of the charset and drops the whitespace between two adjacent encoded words (RFC 2047 6.2).
std::string DecodeHeaderValue(const std::vector<std::string>& lines, const TMailCharset& charset)
{
    std::string unfolded;
    for (const std::string& line : lines) unfolded += line;
    std::string value = unfolded.substr(unfolded.find(':') + 1);
    std::string out, pendingBlank;
    bool lastWasEncoded = false;
    size_t pos = 0;
    while (pos < value.size()) {
        size_t wordStart = value.find_first_not_of(" \t", pos);
        std::string blank = value.substr(pos, wordStart - pos);
        if (wordStart == std::string::npos) break;
        size_t wordEnd = value.find_first_of(" \t", wordStart);
        std::string word = value.substr(wordStart, wordEnd - wordStart);
        bool encoded = word.starts_with(Opening(charset)) && word.ends_with("?=");
        if (!(encoded && lastWasEncoded)) out += blank;
        if (encoded) {
            std::string payload =
                word.substr(Opening(charset).size(), word.size() - Opening(charset).size() - 2);
            out += charset.Letter == 'B' ? DecodeBase64(payload) : DecodeQ(payload);
        } else {
            out += word;
        }
        lastWasEncoded = encoded;
        pos = wordEnd == std::string::npos ? value.size() : wordEnd;
    }
    return out;
}

// Folding may turn a run of blanks into one space; it never touches other bytes.
std::string BlanksCollapsed(std::string_view text)
{
    std::string out;
    for (char c : text) {
        bool blank = c == ' ' || c == '\t';
        if (blank && (out.empty() || out.back() == ' ')) continue;
        out += blank ? ' ' : c;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::string RandomHeaderText(std::mt19937& random)
{
    // Bytes a subject may hold: letters, umlauts, blanks, line breaks, specials, control bytes.
    static const std::string pool = Cp("abcXYZ019 äöüß€") + "\t\r\n=?_.,:;<>@()\x01\x7F\xFF";
    std::uniform_int_distribution<int> length(0, 200), pick(0, static_cast<int>(pool.size()) - 1);
    std::string text;
    int n = length(random);
    for (int i = 0; i < n; ++i) text += pool[pick(random)];
    return text;
}

} // namespace

TEST(IdHeaderCoderTest, CharsetFollowsTheLocaleLanguage)
{
    using enum TransferKind;
    struct Case
    {
        const char* label;
        LocaleLanguage language;
        TMailCharset expected;
    };
    const Case cases[] = {
        {"German", {LangGerman, 1}, {transferEightBit, 'Q', "ISO-8859-1"}},
        {"C locale", {0, 0}, {transferEightBit, 'Q', "ISO-8859-1"}},
        {"simplified Chinese", {LangChinese, SubLangChineseSimplified}, {transferEightBit, 'B', "GB2312"}},
        {"traditional Chinese", {LangChinese, SubLangChineseTraditional}, {transferEightBit, 'B', "Big5"}},
        {"Japanese", {LangJapanese, 1}, {transferIso2022Jp, 'B', "ISO-2022-JP"}},
        {"Korean", {LangKorean, 1}, {transferEightBit, 'B', "EUC-KR"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(MailCharsetForLanguage(c.language), c.expected);
    }
}

TEST(IdHeaderCoderTest, Base64OfTheStandardVectors)
{
    // RFC 4648 10.
    const std::pair<const char*, const char*> vectors[] = {{"", ""},
                                                           {"f", "Zg=="},
                                                           {"fo", "Zm8="},
                                                           {"foo", "Zm9v"},
                                                           {"foob", "Zm9vYg=="},
                                                           {"fooba", "Zm9vYmE="},
                                                           {"foobar", "Zm9vYmFy"}};
    for (auto [plain, encoded] : vectors) EXPECT_EQ(EncodeBase64(plain), encoded) << plain;
}

TEST(IdHeaderCoderTest, BWordsCarryGroupsOfThreeBytes)
{
    const TMailCharset big5{TransferKind::transferEightBit, 'B', "Big5"};
    EXPECT_EQ(EncodeHeaderText("ok \xA4\xA4\xA4\xE5 ok", TByteSet(), big5), "ok =?Big5?B?pKSk5Q==?= ok");
    // Opening and closing take 11 characters, leaving room for 16 groups of four per word.
    std::string encoded = EncodeHeaderText(std::string(51, '\xA4'), TByteSet(), big5);
    EXPECT_EQ(encoded.find("\r\n\t"), 75u);
    EXPECT_EQ(encoded.size(), 75u + 3u + 9u + 4u + 2u);
}

TEST(IdHeaderCoderTest, JapaneseTextIsConvertedBeforeEncoding)
{
    const TMailCharset japanese{TransferKind::transferIso2022Jp, 'B', "ISO-2022-JP"};
    // "日本" in Shift_JIS is 93 FA 96 7B; in ISO-2022-JP ESC $ B 46 7C 4B 5C ESC ( B.
    EXPECT_EQ(EncodeHeaderText("\x93\xFA\x96\x7B", TByteSet(), japanese),
              "=?ISO-2022-JP?B?GyRCRnxLXBsoQg==?=");
}

TEST(IdHeaderCoderTest, EncodedFieldsKeepTheRulesAndDecodeBack)
{
    std::mt19937 random(20261207);
    const TMailCharset charsets[] = {Latin1, {TransferKind::transferEightBit, 'B', "GB2312"}};
    for (int round = 0; round < 2000; ++round) {
        const TMailCharset& charset = charsets[round % 2];
        std::string text = RandomHeaderText(random);
        TIdHeaderList header;
        header.SetValue("Subject", EncodeHeaderText(text, TByteSet(), charset));
        SCOPED_TRACE(testing::PrintToString(text));
        for (const std::string& line : header.Lines()) {
            EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
            EXPECT_LE(line.size(), 998u); // RFC 5322 2.1.1
            for (size_t open = line.find(Opening(charset)); open != std::string::npos;
                 open = line.find(Opening(charset), open + 1))
                EXPECT_LE(line.find("?=", open + Opening(charset).size()) + 2 - open, 75u)
                    << line; // RFC 2047 2
            EXPECT_NE(line, ".");
        }
        for (size_t i = 1; i < header.Lines().size(); ++i)
            EXPECT_TRUE(header[i][0] == ' ' || header[i][0] == '\t');
        EXPECT_EQ(BlanksCollapsed(DecodeHeaderValue(header.Lines(), charset)), BlanksCollapsed(text));
    }
}
