#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Byte-text routines that give the same result under every locale: letters, blanks, digits and
// control characters are ASCII only (bytes 0x80 and above are none of them), plus the UTF-8
// sequence rules.

char AsciiLower(char c);
std::string AsciiUpperCase(std::string text);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix);

// A blank or a tab.
bool IsBlankOrTab(char c);
// A byte of code 32 or less: a blank or a control character below it.
bool IsSpaceOrBelow(char c);
// A byte below 0x20 or 0x7F (DEL).
bool IsControl(char c);
bool IsAsciiDigit(char c);
bool IsAsciiLetterOrDigit(char c);

// `text` without the leading, trailing or both bytes that `trimmed` selects (blanks and tabs by
// default).
std::string_view TrimLeft(std::string_view text, bool (*trimmed)(char) = IsBlankOrTab);
std::string_view TrimRight(std::string_view text, bool (*trimmed)(char) = IsBlankOrTab);
std::string_view Trim(std::string_view text, bool (*trimmed)(char) = IsBlankOrTab);

// The value of a hexadecimal digit (either case), -1 for any other byte.
int HexDigitValue(char c);

// The line at `begin`, ended by CR LF, LF or CR: its content without the line break, and in `next`
// where the following line starts (text.size() after the last).
std::string_view NextLine(std::string_view text, size_t begin, size_t& next);

// A byte that continues a UTF-8 sequence (10xxxxxx).
bool IsUtf8Continuation(char c);
// Length of the well-formed UTF-8 sequence at `pos` (1 to 4), 0 when it is malformed or cut off.
size_t Utf8SequenceLength(std::string_view s, size_t pos);
bool IsValidUtf8(std::string_view s);
// Decodes the UTF-8 character at `pos` and advances past it; a malformed sequence gives U+FFFD for
// one byte.
char32_t NextUtf8(std::string_view s, size_t& pos);
