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

// The MIME charset a message is labelled with, the letter of its encoded words ("Q" or "B") and
// the transfer rule that goes with it.
struct TMailCharset
{
    TransferKind Transfer = TransferKind::transferEightBit;
    char Letter = 'Q';
    std::string Charset = "ISO-8859-1";

    bool operator==(const TMailCharset&) const = default;
};

// The charset for a locale language: GB2312/Big5/ISO-2022-JP/EUC-KR with "B" for Chinese, Japanese
// and Korean, ISO-8859-1 with "Q" for every other language. The name is a label only.
TMailCharset MailCharsetForLanguage(LocaleLanguage language);

// MailCharsetForLanguage of the system locale's language.
TMailCharset MailCharsetForLocale();

using TByteSet = std::bitset<256>;

TByteSet MakeByteSet(std::string_view bytes);

// The specials a display name passes to EncodeHeaderText: " ( ) , . : ; < > @ [ \ ]
const TByteSet& AddressSpecials();

// Header text as RFC 2047 encoded words where needed. Words (runs of bytes other than space and
// TAB) that hold a control byte, a byte above 126 or one of `specials` are encoded; neighbouring
// such words share one encoded run, which is cut into encoded words of at most 75 characters
// joined by CR LF TAB. CR and LF never pass through: they are encoded (=0D, =0A with "Q"), so the
// only line breaks in the result are the ones written here. Other words stay as they are.
std::string EncodeHeaderText(std::string_view text, const TByteSet& specials, const TMailCharset& charset);
