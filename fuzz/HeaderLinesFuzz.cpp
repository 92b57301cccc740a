// Arbitrary bytes as a Subject, a display name or a raw header value, in each mail charset, through
// the encoder and the folding. Checks that every header line is a line (not empty, no CR or LF, at
// most 998 octets, continuations begin with a blank), that every "=?" belongs to a well-formed
// encoded word of at most 75 characters, that every encoded word holds whole characters, and that
// a Subject decodes back to its text.
#include "mail/IdEMailAddress.h"
#include "mail/IdHeaderCoder.h"
#include "mail/IdHeaderList.h"
#include "runtime/AsciiText.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

namespace {

const TMailCharset Charsets[] = {
    {TransferKind::transferEightBit, 'Q', "ISO-8859-1", CodePage::Windows1252},
    {TransferKind::transferEightBit, 'B', "GB2312", CodePage::Gbk936},
    {TransferKind::transferEightBit, 'B', "Big5", CodePage::Big5950},
    {TransferKind::transferEightBit, 'B', "EUC-KR", CodePage::Uhc949},
    {TransferKind::transferIso2022Jp, 'B', "ISO-2022-JP", CodePage::ShiftJis932},
};

enum class Field { Subject, DisplayName, RawValue };

void Fail(const char* what, const std::string& detail)
{
    std::cerr << what << ": " << detail << "\n";
    std::abort();
}

void Check(bool holds, const char* what, const std::string& detail)
{
    if (!holds) Fail(what, detail);
}

int Base64Value(char c)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const char* found = c ? std::strchr(alphabet, c) : nullptr;
    return found ? static_cast<int>(found - alphabet) : -1;
}

std::string DecodeB(const std::string& payload)
{
    Check(payload.size() % 4 == 0, "B payload length", payload);
    std::string out;
    unsigned group = 0;
    int bits = 0;
    for (size_t i = 0; i < payload.size(); ++i) {
        if (payload[i] == '=') {
            Check(i + 2 >= payload.size() && payload.find_first_not_of('=', i) == std::string::npos,
                  "B padding", payload);
            break;
        }
        const int value = Base64Value(payload[i]);
        Check(value >= 0, "B character", payload);
        group = (group << 6) | static_cast<unsigned>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((group >> bits) & 0xFF);
        }
    }
    return out;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// RFC 2047 4.2, and 5 (3) in a phrase.
std::string DecodeQ(const std::string& payload, bool phrase)
{
    static const std::string phraseChars = "!*+-/=_";
    std::string out;
    for (size_t i = 0; i < payload.size(); ++i) {
        const char c = payload[i];
        Check(c > ' ' && c < 127 && c != '?', "Q character", payload);
        Check(!phrase || IsAsciiLetterOrDigit(c) || phraseChars.find(c) != std::string::npos,
              "Q character in a phrase", payload);
        if (c == '_') {
            out += ' ';
        } else if (c == '=') {
            Check(i + 2 < payload.size() && HexValue(payload[i + 1]) >= 0 && HexValue(payload[i + 2]) >= 0,
                  "Q escape", payload);
            out += static_cast<char>(HexValue(payload[i + 1]) * 16 + HexValue(payload[i + 2]));
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

// Starts and ends in ASCII, with complete escape sequences and whole JIS X 0208 pairs between them.
bool IsWholeIso2022Jp(const std::string& bytes)
{
    bool jis = false;
    size_t pairBytes = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\x1B') {
            const std::string escape = bytes.substr(i, 3);
            if (escape != "\x1B$B" && escape != "\x1B(B") return false;
            if (pairBytes % 2 != 0) return false;
            jis = escape == "\x1B$B";
            pairBytes = 0;
            i += 2;
        } else if (jis) {
            if (bytes[i] < 0x21 || bytes[i] > 0x7E) return false;
            ++pairBytes;
        }
    }
    return !jis;
}

// No word of the run ends between a lead byte and the trail byte after it.
bool CutBetweenCharacters(const std::vector<std::string>& run, CodePage codePage)
{
    std::string bytes;
    std::vector<size_t> cuts;
    for (const std::string& word : run) cuts.push_back(bytes.append(word).size());
    for (size_t i = 0; i + 1 < bytes.size(); ++i) {
        if (!IsLeadByte(static_cast<unsigned char>(bytes[i]), codePage)) continue;
        if (static_cast<unsigned char>(bytes[i + 1]) < 0x40) continue;
        for (size_t cut : cuts)
            if (cut == i + 1) return false;
        ++i;
    }
    return true;
}

struct Decoded
{
    std::string Text; // what a reader sees, encoded words as their bytes
    std::vector<std::vector<std::string>> Runs;
};

// Every token that holds "=?" must be one well-formed encoded word.
Decoded DecodeValue(const std::string& value, const TMailCharset& charset, bool phrase)
{
    Decoded decoded;
    bool lastEncoded = false;
    for (size_t pos = 0; pos < value.size();) {
        const size_t start = value.find_first_not_of(" \t", pos);
        if (start == std::string::npos) break;
        const std::string blank = value.substr(pos, start - pos);
        const size_t end = std::min(value.find_first_of(" \t", start), value.size());
        const std::string token = value.substr(start, end - start);
        pos = end;
        const bool encoded = token.find("=?") != std::string::npos;
        const bool adjacent = encoded && lastEncoded; // RFC 2047 6.2: the blank between goes
        if (!adjacent) decoded.Text += blank;
        lastEncoded = encoded;
        if (!encoded) {
            decoded.Text += token;
            continue;
        }
        Check(token.size() <= 75, "encoded word over 75 characters", token);
        const size_t letter = token.find('?', 2) + 1;
        Check(token.starts_with("=?") && token.ends_with("?=") && letter > 2 && letter + 4 <= token.size() &&
                  token[letter + 1] == '?',
              "malformed encoded word", token);
        const std::string name = token.substr(2, letter - 3);
        const std::string payload = token.substr(letter + 2, token.size() - letter - 4);
        Check(payload.find('?') == std::string::npos && !payload.empty(), "encoded word payload", token);
        Check(name == charset.Charset || name == "UTF-8", "charset", token);
        Check(token[letter] == charset.Letter, "letter", token);
        const std::string bytes = token[letter] == 'B' ? DecodeB(payload) : DecodeQ(payload, phrase);
        if (name == "UTF-8") Check(IsValidUtf8(bytes), "UTF-8 word cut inside a character", token);
        if (charset.Transfer == TransferKind::transferIso2022Jp)
            Check(IsWholeIso2022Jp(bytes), "ISO-2022-JP word not whole", token);
        if (!adjacent) decoded.Runs.emplace_back();
        decoded.Runs.back().push_back(bytes);
        decoded.Text += bytes;
    }
    return decoded;
}

std::string BlanksCollapsed(const std::string& text)
{
    std::string out;
    for (char c : text) {
        const bool blank = IsBlankOrTab(c);
        if (blank && (out.empty() || out.back() == ' ')) continue;
        out += blank ? ' ' : c;
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

void CheckLines(const std::vector<std::string>& lines)
{
    Check(!lines.empty(), "no line", "");
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        Check(!line.empty(), "empty line", std::to_string(i));
        Check(line.find_first_of("\r\n") == std::string::npos, "CR or LF in a line", line);
        Check(line.size() <= 998, "line over 998 octets", std::to_string(line.size()));
        Check(i == 0 || line[0] == ' ' || line[0] == '\t', "continuation without a blank", line);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const Field field = static_cast<Field>(data[0] % 3);
    const TMailCharset& charset = Charsets[(data[0] / 3) % std::size(Charsets)];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    TIdHeaderList header;
    switch (field) {
    case Field::Subject:
        header.SetValue("Subject", EncodeHeaderText(text, TByteSet(), charset));
        break;
    case Field::DisplayName:
        header.SetValue("From", FormatAddressItem(TIdEMailAddressItem("ich@example.de", text), charset));
        break;
    case Field::RawValue:
        header.SetValue("X-Test", text);
        break;
    }
    if (header.Count() == 0) return 0; // an empty value, or one that encodes to nothing
    CheckLines(header.Lines());
    if (field == Field::RawValue) return 0;

    std::string unfolded;
    for (const std::string& line : header.Lines()) unfolded += line;
    const bool phrase = field == Field::DisplayName && !unfolded.starts_with("From: \"");
    const Decoded decoded = DecodeValue(unfolded.substr(unfolded.find(':') + 1), charset, phrase);
    if (charset.Transfer != TransferKind::transferIso2022Jp)
        for (const auto& run : decoded.Runs)
            Check(CutBetweenCharacters(run, charset.TextCodePage), "word cut inside a character", text);
    if (field != Field::Subject || charset.Transfer == TransferKind::transferIso2022Jp) return 0;
    const bool utf8 = unfolded.find("=?UTF-8?") != std::string::npos;
    const std::string expected = utf8 ? CodePageToUtf8(text, CodePage::Windows1252) : text;
    Check(BlanksCollapsed(decoded.Text) == BlanksCollapsed(expected), "Subject does not decode back", text);
    return 0;
}
