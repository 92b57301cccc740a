#include "mail/IdHeaderCoder.h"

#include "mail/IdBase64.h"
#include "mail/IdIso2022Jp.h"
#include "runtime/AsciiText.h"

#include <algorithm>
#include <cstdio>
#include <vector>

TMailCharset MailCharsetForLanguage(LocaleLanguage language)
{
    using enum TransferKind;
    const CodePage codePage = CodePageForLanguage(language);
    switch (language.Primary) {
    case LangChinese:
        if (language.Sub == SubLangChineseSimplified) return {transferEightBit, 'B', "GB2312", codePage};
        return {transferEightBit, 'B', "Big5", codePage};
    case LangJapanese:
        return {transferIso2022Jp, 'B', "ISO-2022-JP", codePage};
    case LangKorean:
        return {transferEightBit, 'B', "EUC-KR", codePage};
    default:
        return {transferEightBit, 'Q', "ISO-8859-1", codePage};
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

// RFC 2047 2: an encoded word is at most 75 characters, its opening and closing included.
constexpr size_t MaxEncodedWord = 75;
// RFC 5322 2.1.1: a line is at most 998 octets; a word on a folded line of its own follows a blank.
constexpr size_t MaxPlainWord = 997;

TByteSet NeedsEncodingSet(const TByteSet& specials)
{
    TByteSet set = specials;
    for (int b = 0; b < 32; ++b) set.set(b);
    for (int b = 127; b < 256; ++b) set.set(b);
    return set;
}

bool NeedsEncoding(std::string_view word, const TByteSet& needsEncoding)
{
    if (word.find("=?") != std::string_view::npos || word.size() > MaxPlainWord) return true;
    for (char c : word)
        if (needsEncoding.test(static_cast<unsigned char>(c))) return true;
    return false;
}

// The bytes a "Q" word writes as "=" and two hex digits: those that need encoding, those that
// would end or misread the word, and in a phrase all but the few RFC 2047 5 (3) allows there.
TByteSet MustQuoteSet(const TByteSet& needsEncoding, TEncodedWordPlace place)
{
    TByteSet set = needsEncoding | MakeByteSet("=?_ ");
    if (place == TEncodedWordPlace::Phrase)
        set |= ~MakeByteSet(" !*+-/0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return set;
}

// How the characters of a text are found and written in its encoded words.
struct TWordCoding
{
    std::string Opening; // "=?" charset "?" letter "?"
    char Letter = 'Q';
    bool Utf8 = false; // else characters by the code page's lead bytes
    CodePage TextCodePage = CodePage::Windows1252;
    bool ToIso2022Jp = false; // each word converted on its own
    TByteSet MustQuote;
};

// True when the Windows-1252 text holds a character beyond U+00FF, which ISO-8859-1 lacks: its
// UTF-8 form then holds a lead byte of 0xC4 or above.
bool NeedsMoreThanLatin1(std::string_view utf8)
{
    for (char c : utf8)
        if (static_cast<unsigned char>(c) >= 0xC4) return true;
    return false;
}

// The length of the character at the start of `rest` (not empty). A lead byte takes the next byte
// only when that can be a trail byte (0x40 and above), so no character holds a blank; a half-width
// katakana takes a (semi-)voiced mark after it, which may merge with it into one character.
size_t CharacterLength(std::string_view rest, const TWordCoding& coding)
{
    const auto byteAt = [&](size_t i) { return i < rest.size() ? static_cast<unsigned char>(rest[i]) : 0; };
    const unsigned char first = byteAt(0);
    if (coding.Utf8) return std::max<size_t>(1, Utf8SequenceLength(rest, 0));
    if (IsLeadByte(first, coding.TextCodePage)) return byteAt(1) >= 0x40 ? 2 : 1;
    const bool kana = coding.TextCodePage == CodePage::ShiftJis932 && first >= 0xA1 && first <= 0xDF;
    return kana && (byteAt(1) == 0xDE || byteAt(1) == 0xDF) ? 2 : 1;
}

std::string QuotedWord(std::string_view bytes, const TByteSet& mustQuote)
{
    std::string out;
    for (char c : bytes) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (c == ' ') {
            out += '_';
        } else if (mustQuote.test(byte)) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "=%02X", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

// The encoded text of one word holding these characters.
std::string Payload(std::string_view characters, const TWordCoding& coding)
{
    const std::string bytes = coding.ToIso2022Jp ? ShiftJisToIso2022Jp(characters) : std::string(characters);
    return coding.Letter == 'B' ? EncodeBase64(bytes) : QuotedWord(bytes, coding.MustQuote);
}

// The run as encoded words, each filled with as many whole characters as fit.
std::string EncodedWords(std::string_view run, const TWordCoding& coding)
{
    const size_t room = MaxEncodedWord - coding.Opening.size() - 2;
    std::vector<std::string> payloads;
    std::string payload;
    size_t start = 0, end = 0;
    while (end < run.size()) {
        const size_t next = end + CharacterLength(run.substr(end), coding);
        std::string longer = Payload(run.substr(start, next - start), coding);
        if (end > start && longer.size() > room) {
            payloads.push_back(std::move(payload));
            payload.clear();
            start = end;
            continue;
        }
        payload = std::move(longer);
        end = next;
    }
    payloads.push_back(std::move(payload));
    std::string out;
    for (const std::string& text : payloads) {
        if (text.empty()) continue; // characters that convert to nothing
        if (!out.empty()) out += "\r\n\t";
        out += coding.Opening + text + "?=";
    }
    return out;
}

// The coding of the text's encoded words, and the text they are made from (UTF-8 when the text
// needs more than ISO-8859-1 holds).
TWordCoding CodingFor(std::string_view text, const TMailCharset& charset, const TByteSet& needsEncoding,
                      TEncodedWordPlace place, std::string& utf8)
{
    TWordCoding coding;
    coding.Letter = charset.Letter;
    coding.ToIso2022Jp = charset.Transfer == TransferKind::transferIso2022Jp;
    coding.TextCodePage = coding.ToIso2022Jp ? CodePage::ShiftJis932 : charset.TextCodePage; // its source
    coding.MustQuote = MustQuoteSet(needsEncoding, place);
    std::string name = charset.Charset;
    if (charset.Charset == "ISO-8859-1" && charset.TextCodePage == CodePage::Windows1252) {
        std::string converted = CodePageToUtf8(text, CodePage::Windows1252);
        if (NeedsMoreThanLatin1(converted)) {
            utf8 = std::move(converted);
            coding.Utf8 = true;
            name = "UTF-8";
        }
    }
    coding.Opening = "=?" + name + "?" + coding.Letter + "?";
    return coding;
}

} // namespace

bool NeedsEncodedWords(std::string_view text, const TByteSet& specials)
{
    return EncodeHeaderText(text, specials, TMailCharset()) != text;
}

std::string EncodeHeaderText(std::string_view text, const TByteSet& specials, const TMailCharset& charset,
                             TEncodedWordPlace place)
{
    const TByteSet needsEncoding = NeedsEncodingSet(specials);
    std::string utf8;
    const TWordCoding coding = CodingFor(text, charset, needsEncoding, place, utf8);
    if (coding.Utf8) text = utf8;
    std::string out;
    size_t runStart = std::string_view::npos, runEnd = 0;
    auto closeRun = [&] {
        if (runStart == std::string_view::npos) return;
        out += EncodedWords(text.substr(runStart, runEnd - runStart), coding);
        runStart = std::string_view::npos;
    };
    size_t pos = 0;
    while (pos < text.size()) {
        // Words end at blanks and TABs only: a CR or LF copied through would end the header line and
        // let the text start a header or an SMTP command of its own.
        size_t wordStart = pos;
        while (wordStart < text.size() && IsBlankOrTab(text[wordStart])) ++wordStart;
        size_t wordEnd = wordStart;
        while (wordEnd < text.size() && !IsBlankOrTab(text[wordEnd])) ++wordEnd;
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
