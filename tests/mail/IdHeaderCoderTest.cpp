#include "mail/IdHeaderCoder.h"
#include "mail/IdBase64.h"
#include "mail/IdHeaderList.h"
#include "tests/mail/MailTestText.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

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

// A header value as an RFC 2047 reader sees it: unfolded (RFC 5322 2.2.3), every encoded word
// decoded to UTF-8 (its bytes as Windows-1252 for ISO-8859-1, as they are for any other charset),
// the whitespace between two adjacent encoded words dropped (RFC 2047 6.2). Runs holds the decoded
// bytes of each group of adjacent encoded words, word by word, and Charsets every charset named.
struct DecodedValue
{
    std::string Text;
    std::vector<std::vector<std::string>> Runs;
    std::set<std::string> Charsets;
};

DecodedValue DecodeHeaderValue(const std::vector<std::string>& lines)
{
    std::string unfolded;
    for (const std::string& line : lines) unfolded += line;
    const std::string value = unfolded.substr(unfolded.find(':') + 1);
    DecodedValue decoded;
    bool lastWasEncoded = false;
    for (size_t pos = 0; pos < value.size();) {
        size_t wordStart = value.find_first_not_of(" \t", pos);
        if (wordStart == std::string::npos) break;
        std::string blank = value.substr(pos, wordStart - pos);
        size_t wordEnd = std::min(value.find_first_of(" \t", wordStart), value.size());
        std::string word = value.substr(wordStart, wordEnd - wordStart);
        size_t letter = word.find('?', 2) + 1;
        bool encoded =
            word.starts_with("=?") && word.ends_with("?=") && letter > 2 && letter + 1 < word.size();
        if (!(encoded && lastWasEncoded)) decoded.Text += blank;
        if (encoded) {
            std::string charset = word.substr(2, letter - 3);
            std::string payload = word.substr(letter + 2, word.size() - letter - 4);
            std::string bytes = word[letter] == 'B' ? DecodeBase64(payload) : DecodeQ(payload);
            if (!lastWasEncoded) decoded.Runs.emplace_back();
            decoded.Runs.back().push_back(bytes);
            decoded.Charsets.insert(charset);
            decoded.Text += charset == "ISO-8859-1" ? CodePageToUtf8(bytes, CodePage::Windows1252) : bytes;
        } else {
            decoded.Text += word;
        }
        lastWasEncoded = encoded;
        pos = wordEnd;
    }
    return decoded;
}

// True when every encoded word of the run ends between two characters of the code page: a lead
// byte and the trail byte after it stay together.
bool CutBetweenCharacters(const std::vector<std::string>& run, CodePage codePage)
{
    std::string bytes;
    std::set<size_t> cuts;
    for (const std::string& word : run) cuts.insert(bytes.append(word).size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        bool pair = IsLeadByte(bytes[i], codePage) && i + 1 < bytes.size() &&
                    static_cast<unsigned char>(bytes[i + 1]) >= 0x40;
        if (pair && cuts.count(++i)) return false;
    }
    return true;
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
        {"German", {LangGerman, 1}, {transferEightBit, 'Q', "ISO-8859-1", CodePage::Windows1252}},
        {"C locale", {0, 0}, {transferEightBit, 'Q', "ISO-8859-1", CodePage::Windows1252}},
        {"simplified Chinese",
         {LangChinese, SubLangChineseSimplified},
         {transferEightBit, 'B', "GB2312", CodePage::Gbk936}},
        {"traditional Chinese",
         {LangChinese, SubLangChineseTraditional},
         {transferEightBit, 'B', "Big5", CodePage::Big5950}},
        {"Japanese", {LangJapanese, 1}, {transferIso2022Jp, 'B', "ISO-2022-JP", CodePage::ShiftJis932}},
        {"Korean", {LangKorean, 1}, {transferEightBit, 'B', "EUC-KR", CodePage::Uhc949}},
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
    // A long text is cut between characters, and every word starts and ends in ASCII.
    std::string text, jis;
    for (int i = 0; i < 40; ++i) {
        text += "\x93\xFA";
        jis += "\x46\x7C";
    }
    TIdHeaderList header;
    header.SetValue("Subject", EncodeHeaderText(text, TByteSet(), japanese));
    const DecodedValue decoded = DecodeHeaderValue(header.Lines());
    ASSERT_EQ(decoded.Runs.size(), 1u);
    EXPECT_GT(decoded.Runs[0].size(), 1u);
    std::string characters;
    for (const std::string& word : decoded.Runs[0]) {
        EXPECT_TRUE(word.starts_with("\x1B$B") && word.ends_with("\x1B(B") && word.size() % 2 == 0) << word;
        characters += word.substr(3, word.size() - 6);
    }
    EXPECT_EQ(characters, jis);
}

TEST(IdHeaderCoderTest, EncodedFieldsKeepTheRulesAndDecodeBack)
{
    std::mt19937 random(20261207);
    const TMailCharset gb2312{TransferKind::transferEightBit, 'B', "GB2312", CodePage::Gbk936};
    for (int round = 0; round < 2000; ++round) {
        const TMailCharset& charset = round % 2 ? gb2312 : Latin1;
        std::string text = RandomHeaderText(random);
        TIdHeaderList header;
        header.SetValue("Subject", EncodeHeaderText(text, TByteSet(), charset));
        SCOPED_TRACE(testing::PrintToString(text));
        for (const std::string& line : header.Lines()) {
            EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
            EXPECT_LE(line.size(), 998u); // RFC 5322 2.1.1
            for (size_t open = line.find("=?"), end; open != std::string::npos; open = line.find("=?", end)) {
                end = line.find("?=", line.find('?', open + 2) + 3) + 2;
                EXPECT_LE(end - open, 75u) << line; // RFC 2047 2
            }
            EXPECT_NE(line, ".");
        }
        for (size_t i = 1; i < header.Lines().size(); ++i)
            EXPECT_TRUE(header[i][0] == ' ' || header[i][0] == '\t');
        const DecodedValue decoded = DecodeHeaderValue(header.Lines());
        if (&charset == &gb2312) {
            EXPECT_EQ(BlanksCollapsed(decoded.Text), BlanksCollapsed(text));
            for (const auto& run : decoded.Runs) EXPECT_TRUE(CutBetweenCharacters(run, CodePage::Gbk936));
            continue;
        }
        const std::string utf8 = CodePageToUtf8(text, CodePage::Windows1252);
        EXPECT_EQ(BlanksCollapsed(decoded.Text), BlanksCollapsed(utf8));
        const bool beyondLatin1 = utf8.find("\u20AC") != std::string::npos; // the pool's only such character
        if (!decoded.Charsets.empty()) {
            EXPECT_EQ(decoded.Charsets, std::set<std::string>({beyondLatin1 ? "UTF-8" : "ISO-8859-1"}));
        }
    }
}
