#pragma once

#include "runtime/CodePage.h"

#include <bitset>
#include <string>
#include <string_view>

// How header and body text of the system code page is put into a message.
enum class TransferKind {
    transferEightBit = 1,  // written unchanged
    transferIso2022Jp = 2, // converted from Shift_JIS to ISO-2022-JP first
};

// The MIME charset a message is labelled with, the letter of its encoded words ("Q" or "B"), the
// transfer rule that goes with it, and the code page its texts are in.
struct TMailCharset
{
    TransferKind Transfer = TransferKind::transferEightBit;
    char Letter = 'Q';
    std::string Charset = "ISO-8859-1";
    CodePage TextCodePage = CodePage::Windows1252;

    bool operator==(const TMailCharset&) const = default;
};

// The charset for a locale language: GB2312/Big5/ISO-2022-JP/EUC-KR with "B" for Chinese, Japanese
// and Korean, ISO-8859-1 with "Q" for every other language, with the language's code page. The
// name is a label only.
TMailCharset MailCharsetForLanguage(LocaleLanguage language);

// MailCharsetForLanguage of the system locale's language.
TMailCharset MailCharsetForLocale();

using TByteSet = std::bitset<256>;

TByteSet MakeByteSet(std::string_view bytes);

// The specials a display name passes to EncodeHeaderText: " ( ) , . : ; < > @ [ \ ]
const TByteSet& AddressSpecials();

// Where encoded words stand (RFC 2047 5): in unstructured text such as a Subject, or in a phrase
// such as a display name, where a "Q" word may hold fewer characters as they are.
enum class TEncodedWordPlace { Text, Phrase };

// True when EncodeHeaderText would encode a word of the text: a word (a run of bytes other than
// space and TAB) that holds a control byte, a byte above 126 or one of `specials`, that holds "=?"
// (sent as it stands, it could read as an encoded word) or that is too long for a header line.
bool NeedsEncodedWords(std::string_view text, const TByteSet& specials);

// Header text as RFC 2047 encoded words where needed. The words that need it are encoded;
// neighbouring such words share one encoded run, which is cut into encoded words of at most 75
// characters joined by CR LF TAB, only between characters (each ISO-2022-JP word starts and ends
// in ASCII). CR and LF never pass through: they are encoded (=0D, =0A with "Q"), so the only line
// breaks in the result are the ones written here. Other words stay as they are. An ISO-8859-1 text
// that holds a character of its code page that ISO-8859-1 lacks (such as the euro sign) gets its
// encoded words in UTF-8.
std::string EncodeHeaderText(std::string_view text, const TByteSet& specials, const TMailCharset& charset,
                             TEncodedWordPlace place = TEncodedWordPlace::Text);
