#include "mail/IdHeaderCoder.h"

#include "mail/IdBase64.h"
#include "mail/IdIso2022Jp.h"

#include <cstdio>
#include <vector>

TMailCharset MailCharsetForLanguage(LocaleLanguage language)
{
    using enum TransferKind;
    switch (language.Primary) {
    case LangChinese:
        if (language.Sub == SubLangChineseSimplified) return {transferEightBit, 'B', "GB2312"};
        return {transferEightBit, 'B', "Big5"};
    case LangJapanese:
        return {transferIso2022Jp, 'B', "ISO-2022-JP"};
    case LangKorean:
        return {transferEightBit, 'B', "EUC-KR"};
    default:
        return {transferEightBit, 'Q', "ISO-8859-1"};
    }
}

TMailCharset MailCharsetForLocale()
{
    return MailCharsetForLanguage(SystemLanguage());
}

TByteSet MakeByteSet(std::string_view bytes)
{
    TByteSet set;
    for (char c : bytes) set.set(static_cast<unsigned char>(c));
    return set;
}

const TByteSet& AddressSpecials()
{
    static const TByteSet specials = MakeByteSet("\"(),.:;<>@[\\]");
    return specials;
}

namespace {

bool IsWhitespace(char c)
{
    // CR and LF are deliberately not whitespace here: copied through, they would end the header
    // line and let the text start a header or an SMTP command of its own.
    return c == ' ' || c == '\t';
}

TByteSet NeedsEncodingSet(const TByteSet& specials)
{
    TByteSet set = specials;
    for (int b = 0; b < 32; ++b) set.set(b);
    for (int b = 127; b < 256; ++b) set.set(b);
    return set;
}

bool NeedsEncoding(std::string_view word, const TByteSet& needsEncoding)
{
    for (char c : word)
        if (needsEncoding.test(static_cast<unsigned char>(c))) return true;
    return false;
}

// The units of an encoded run: one byte each with "Q", groups of three bytes with "B".
std::vector<std::string> EncodedUnits(std::string_view run, const TByteSet& needsEncoding, char letter)
{
    std::vector<std::string> units;
    if (letter == 'B') {
        for (size_t i = 0; i < run.size(); i += 3) units.push_back(EncodeBase64(run.substr(i, 3)));
        return units;
    }
    TByteSet mustQuote = needsEncoding | MakeByteSet("=?_ ");
    for (char c : run) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (c == ' ') {
            units.emplace_back("_");
        } else if (mustQuote.test(byte)) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "=%02X", byte);
            units.emplace_back(hex);
        } else {
            units.emplace_back(1, c);
        }
    }
    return units;
}

// RFC 2047 2: an encoded word is at most 75 characters, its opening and closing included.
constexpr size_t MaxEncodedWord = 75;

std::string EncodedWords(std::string_view run, const TByteSet& needsEncoding, const TMailCharset& charset)
{
    const std::string opening = "=?" + charset.Charset + "?" + charset.Letter + "?";
    const std::string closing = "?=";
    std::string out = opening;
    size_t length = opening.size() + closing.size();
    for (const std::string& unit : EncodedUnits(run, needsEncoding, charset.Letter)) {
        if (length + unit.size() > MaxEncodedWord) {
            out += closing + "\r\n\t" + opening;
            length = opening.size() + closing.size();
        }
        out += unit;
        length += unit.size();
    }
    return out + closing;
}

} // namespace

std::string EncodeHeaderText(std::string_view text, const TByteSet& specials, const TMailCharset& charset)
{
    std::string converted;
    if (charset.Transfer == TransferKind::transferIso2022Jp) {
        converted = ShiftJisToIso2022Jp(text);
        text = converted;
    }
    const TByteSet needsEncoding = NeedsEncodingSet(specials);
    std::string out;
    size_t runStart = std::string_view::npos, runEnd = 0;
    auto closeRun = [&] {
        if (runStart == std::string_view::npos) return;
        out += EncodedWords(text.substr(runStart, runEnd - runStart), needsEncoding, charset);
        runStart = std::string_view::npos;
    };
    size_t pos = 0;
    while (pos < text.size()) {
        size_t wordStart = pos;
        while (wordStart < text.size() && IsWhitespace(text[wordStart])) ++wordStart;
        size_t wordEnd = wordStart;
        while (wordEnd < text.size() && !IsWhitespace(text[wordEnd])) ++wordEnd;
        std::string_view word = text.substr(wordStart, wordEnd - wordStart);
        if (!word.empty() && NeedsEncoding(word, needsEncoding)) {
            if (runStart == std::string_view::npos) {
                out += text.substr(pos, wordStart - pos);
                runStart = wordStart;
            }
            runEnd = wordEnd;
        } else {
            closeRun();
            out += text.substr(pos, wordEnd - pos);
        }
        pos = wordEnd;
    }
    closeRun();
    return out;
}
