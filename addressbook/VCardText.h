#pragma once

#include <string>
#include <string_view>
#include <vector>

// The encodings of vCard values (vCard 2.1, RFC 2426, RFC 6350): quoted-printable, charsets,
// backslash escapes and line folding, plus the rules that keep contact texts free of control
// characters.

enum class VCardVersion { V21, V30, V40 };

// A physical line that is `marker` ("BEGIN:VCARD", "END:VCARD") in any case, with trailing blanks.
bool IsCardMarker(std::string_view line, std::string_view marker);

// "=XX" becomes the byte 0xXX; an "=" not followed by two hex digits stays as it is.
std::string DecodeQuotedPrintable(std::string_view encoded);

// Every byte outside "!".."~", "=" and ":" become "=XX" (without a colon, no line of a soft-broken
// value can read as a BEGIN:VCARD, END:VCARD or VERSION line).
std::string EncodeQuotedPrintable(std::string_view bytes);

// Bytes in `charset` (a CHARSET parameter; empty when there is none) as UTF-8. Without a charset,
// or with one that is unknown or does not fit the bytes, valid UTF-8 stays as it is and anything
// else is read as Windows-1252, the charset of the exports that leave it out.
std::string CharsetToUtf8(std::string_view bytes, std::string_view charset);

// Backslash escapes of a text value: vCard 3.0 and 4.0 know "\\", "\n", "\N", "\,", "\;" (and
// "\:" written by some programs); vCard 2.1 only "\;". Unknown escapes stay as they are.
std::string UnescapeText(std::string_view text, VCardVersion version);
std::string EscapeText(std::string_view text, VCardVersion version);

// The components of a structured value (N) at every ";" not escaped by a backslash; the
// components keep their escapes.
std::vector<std::string> SplitComponents(std::string_view value);

// A content line cut into lines of at most 75 bytes, each continuation starting with a blank,
// without splitting a UTF-8 character (vCard 3.0 and 4.0).
std::string FoldLine(std::string_view line, std::string_view eol);

// A quoted-printable content line cut into lines of at most 76 bytes with "=" soft line breaks,
// without splitting an "=XX" and only within the value, which starts at `valueStart` (vCard 2.1).
std::string FoldQuotedPrintableLine(std::string_view line, size_t valueStart, std::string_view eol);

// Contact texts never carry control characters (a CR or LF would otherwise reach a mail command or
// a status line): in a full name each run of bytes below 0x20 or 0x7F becomes one blank, from a
// telephone number they are removed.
std::string CleanFullName(std::string_view codePageText);
std::string CleanTelephoneNumber(std::string_view codePageText);
